// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/dictionary_encoding.h"

#include "common/codepage.h"
#include "common/unicode.h"

namespace vb {

DictionaryEncoding DetectDictionaryEncoding(std::string_view bytes)
{
    if (bytes.starts_with(kUtf8ByteOrderMark)) {
        return DictionaryEncoding::Utf8Bom;
    }
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    return !ascii && IsValidUtf8(bytes) ? DictionaryEncoding::Utf8 : DictionaryEncoding::Cp1251;
}

std::string DecodeDictionary(std::string_view bytes, DictionaryEncoding& encoding)
{
    encoding = DetectDictionaryEncoding(bytes);
    switch (encoding) {
    case DictionaryEncoding::Utf8Bom:
        // Malformed bytes after the mark stay as they are, so the file still writes back unchanged.
        return std::string(bytes.substr(kUtf8ByteOrderMark.size()));
    case DictionaryEncoding::Utf8:
        return std::string(bytes);
    case DictionaryEncoding::Cp1251:
        break;
    }
    return Cp1251ToUtf8Exact(bytes);
}

std::string DecodeDictionary(std::string_view bytes)
{
    DictionaryEncoding encoding = DictionaryEncoding::Cp1251;
    return DecodeDictionary(bytes, encoding);
}

std::string EncodeDictionary(std::string_view text, DictionaryEncoding& encoding)
{
    if (encoding == DictionaryEncoding::Cp1251) {
        if (FitsCp1251(text)) {
            std::string bytes = Utf8ToCp1251Exact(text);
            // 1251 bytes that would read back as UTF-8 ("Р°" is D0 B0, an "а") would change the words.
            if (DetectDictionaryEncoding(bytes) == DictionaryEncoding::Cp1251) {
                return bytes;
            }
        }
        encoding = DictionaryEncoding::Utf8Bom;
    }
    // A text that itself starts with the mark's character would lose it when read back without a mark.
    if (encoding == DictionaryEncoding::Utf8 && text.starts_with(kUtf8ByteOrderMark)) {
        encoding = DictionaryEncoding::Utf8Bom;
    }
    if (encoding == DictionaryEncoding::Utf8Bom) {
        std::string out(kUtf8ByteOrderMark);
        out += text;
        return out;
    }
    return std::string(text);
}

} // namespace vb
