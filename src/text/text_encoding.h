// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text files of the text page: which code page a file is in, and the conversion between its bytes and
// the text the page shows. The page's text is UTF-8 with "\n" line breaks; files have CR LF.
//
// Texts come from Windows (1251), from DOS (866) or, on Linux mostly, in UTF-8. A file that is valid
// UTF-8 and holds any non-ASCII byte (or starts with a UTF-8 byte-order mark) is UTF-8 and is written
// back as UTF-8, the mark kept; only other files go through the DOS/Windows guess, which would garble
// a UTF-8 text.

#include <string>
#include <string_view>

namespace vb {

enum class TextEncoding {
    Ansi, // Windows-1251
    Oem, // DOS code page 866
    Utf8,
};

struct TextFileFormat
{
    TextEncoding encoding = TextEncoding::Ansi;
    // A UTF-8 file that began with EF BB BF; it keeps the mark when saved.
    bool bom = false;

    bool operator==(const TextFileFormat&) const = default;
};

// The DOS/Windows guess on the first 4096 bytes: the small letters е, и, н, о counted in both code
// pages; Windows only when its count is strictly greater (ties and texts without them are DOS).
TextEncoding GuessAnsiOrOem(std::string_view bytes);

// The format of a file's whole content.
TextFileFormat DetectTextEncoding(std::string_view content);
// The same for a file; one that cannot be read counts as empty.
TextFileFormat DetectTextEncodingOfFile(const std::string& path);

// File bytes -> the page's text: any of CR LF, CR and LF becomes "\n"; ANSI and DOS bytes are
// converted, a UTF-8 mark is dropped (the format remembers it).
std::string DecodeTextFile(std::string_view bytes, const TextFileFormat& format);

struct EncodedText
{
    // What goes into the file: CR LF line breaks, nothing added at the end.
    std::string bytes;
    // The page's text after saving: characters the code page lacks became "?".
    std::string shown;
};
EncodedText EncodeTextFile(std::string_view text, const TextFileFormat& format);

// The page's text as the frequency builder reads it: UTF-8, lines joined by CR LF.
std::string TextForCounting(std::string_view text);

// A text file's bytes as the command-line builder counts them, as UTF-8: a UTF-8 file as it is (without
// its mark); others through the DOS/Windows guess of DetectTextEncoding, converted from 866 or 1251.
std::string FileTextForCounting(std::string content);

// Characters of the page's text with every line break counted as two, as on the status bar.
long long TextCharacterCount(std::string_view text);

// Short name of a format for the status bar: "Windows-1251", "DOS 866", "UTF-8", "UTF-8 BOM".
std::string EncodingCaption(const TextFileFormat& format);

} // namespace vb
