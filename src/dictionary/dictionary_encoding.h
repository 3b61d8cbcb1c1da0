// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A dictionary file keeps its own encoding; inside, its text is UTF-8. A file that starts with the UTF-8
// byte-order mark, or is valid UTF-8 holding non-ASCII bytes, is a Unicode dictionary; any other is
// Windows-1251, which every byte sequence decodes from and encodes back to unchanged. A 1251 dictionary
// that receives a character 1251 cannot hold is written as UTF-8 with the mark from then on.

#include <string>
#include <string_view>

namespace vb {

enum class DictionaryEncoding {
    Cp1251,
    Utf8, // without the byte-order mark
    Utf8Bom,
};

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

DictionaryEncoding DetectDictionaryEncoding(std::string_view bytes);

// The file's bytes as UTF-8 text (the mark dropped); `encoding` tells how they were found.
std::string DecodeDictionary(std::string_view bytes, DictionaryEncoding& encoding);
std::string DecodeDictionary(std::string_view bytes);

// The text as the file's bytes in `encoding`. A 1251 encoding that cannot hold the text, or whose bytes
// would read back as UTF-8, becomes Utf8Bom.
std::string EncodeDictionary(std::string_view text, DictionaryEncoding& encoding);

} // namespace vb
