// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_encoding.h"

#include "common/codepage.h"
#include "common/files.h"
#include "common/unicode.h"

#include <cstdint>
#include <cstring>

namespace vb {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kGuessBytes = 4096;

// Valid UTF-8 sequences never hold an ASCII byte, so a text can be checked and converted run by run of
// non-ASCII bytes; the ASCII between them, most of a text, needs no decoding.
template <class Run>
void ForEachNonAsciiRun(std::string_view s, const Run& run)
{
    std::size_t i = 0;
    while (i < s.size()) {
        std::uint64_t eight = 0;
        if (i + sizeof eight <= s.size()) {
            std::memcpy(&eight, s.data() + i, sizeof eight);
            if ((eight & 0x8080808080808080ULL) == 0) {
                i += sizeof eight;
                continue;
            }
        }
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < s.size() && static_cast<unsigned char>(s[end]) >= 0x80) {
            ++end;
        }
        if (!run(i, end)) {
            return;
        }
        i = end;
    }
}

bool IsValidUtf8Text(std::string_view s)
{
    bool valid = true;
    ForEachNonAsciiRun(s, [&](std::size_t from, std::size_t to) {
        valid = IsValidUtf8(s.substr(from, to - from));
        return valid;
    });
    return valid;
}

bool HasNonAsciiByte(std::string_view s)
{
    bool found = false;
    ForEachNonAsciiRun(s, [&found](std::size_t, std::size_t) {
        found = true;
        return false;
    });
    return found;
}

// CR LF, CR and LF all become "\n".
std::string ToNewlines(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            out += '\n';
            if (i + 1 < s.size() && s[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string ToCrLf(std::string_view s)
{
    std::string out;
    out.reserve(s.size() + s.size() / 16);
    for (char c : s) {
        if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

TextEncoding GuessAnsiOrOem(std::string_view bytes)
{
    bytes = bytes.substr(0, kGuessBytes);
    int oem = 0;
    int ansi = 0;
    for (char c : bytes) {
        switch (static_cast<unsigned char>(c)) {
        case 0xA5:
        case 0xA8:
        case 0xAD:
        case 0xAE:
            ++oem;
            break;
        case 0xE5:
        case 0xE8:
        case 0xED:
        case 0xEE:
            ++ansi;
            break;
        default:
            break;
        }
    }
    return ansi > oem ? TextEncoding::Ansi : TextEncoding::Oem;
}

TextFileFormat DetectTextEncoding(std::string_view content)
{
    const bool bom = content.starts_with(kUtf8Bom);
    const std::string_view body = bom ? content.substr(kUtf8Bom.size()) : content;
    if ((bom || HasNonAsciiByte(body)) && IsValidUtf8Text(body)) {
        return {TextEncoding::Utf8, bom};
    }
    return {GuessAnsiOrOem(content), false};
}

TextFileFormat DetectTextEncodingOfFile(const std::string& path)
{
    std::string content;
    ReadWholeFile(path, content);
    return DetectTextEncoding(content);
}

std::string DecodeTextFile(std::string_view bytes, const TextFileFormat& format)
{
    switch (format.encoding) {
    case TextEncoding::Utf8:
        if (bytes.starts_with(kUtf8Bom)) {
            bytes.remove_prefix(kUtf8Bom.size());
        }
        // Bytes that are not UTF-8 after all (the file changed since it was detected) show as "?".
        return ToNewlines(IsValidUtf8(bytes) ? std::string(bytes) : Cp1251ToUtf8(Utf8ToCp1251(bytes)));
    case TextEncoding::Oem:
        return ToNewlines(Cp1251ToUtf8(Cp866ToCp1251(bytes)));
    case TextEncoding::Ansi:
        break;
    }
    return ToNewlines(Cp1251ToUtf8(bytes));
}

EncodedText EncodeTextFile(std::string_view text, const TextFileFormat& format)
{
    EncodedText out;
    const std::string crlf = ToCrLf(text);
    switch (format.encoding) {
    case TextEncoding::Utf8:
        out.bytes = format.bom ? std::string(kUtf8Bom) + crlf : crlf;
        out.shown = std::string(text);
        return out;
    case TextEncoding::Oem: {
        const std::string ansi = Utf8ToCp1251(crlf);
        out.bytes = Cp1251ToCp866(ansi);
        out.shown = ToNewlines(Cp1251ToUtf8(Cp866ToCp1251(out.bytes)));
        return out;
    }
    case TextEncoding::Ansi:
        break;
    }
    out.bytes = Utf8ToCp1251(crlf);
    out.shown = ToNewlines(Cp1251ToUtf8(out.bytes));
    return out;
}

std::string TextForCounting(std::string_view text)
{
    return ToCrLf(text);
}

std::string FileTextForCounting(std::string content)
{
    const TextFileFormat format = DetectTextEncoding(content);
    // ASCII reads alike in every one of them, and is handed on without a copy.
    if (format.encoding != TextEncoding::Utf8 && !HasNonAsciiByte(content)) {
        return content;
    }
    if (format.encoding == TextEncoding::Oem) {
        // The same guess the text page makes: a DOS text is counted in its letters.
        return Cp1251ToUtf8Exact(Cp866ToCp1251(content));
    }
    if (format.encoding != TextEncoding::Utf8) {
        return Cp1251ToUtf8Exact(content);
    }
    if (format.bom) {
        content.erase(0, kUtf8Bom.size());
    }
    // A UTF-8 text is handed on as it is, without a copy of what may be many megabytes.
    return content;
}

long long TextCharacterCount(std::string_view text)
{
    long long count = 0;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b & 0xC0) != 0x80) {
            ++count;
        }
        if (c == '\n') {
            ++count;
        }
    }
    return count;
}

std::string EncodingCaption(const TextFileFormat& format)
{
    switch (format.encoding) {
    case TextEncoding::Utf8:
        return format.bom ? "UTF-8 BOM" : "UTF-8";
    case TextEncoding::Oem:
        return "DOS 866";
    case TextEncoding::Ansi:
        break;
    }
    return "Windows-1251";
}

} // namespace vb
