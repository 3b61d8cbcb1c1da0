// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding decision on saving a dictionary, on arbitrary file bytes: a 1251 file writes back byte for
// byte, a Unicode file writes back as found and reads back character for character, and a 1251 file that
// receives a character 1251 lacks becomes UTF-8 with the byte-order mark holding the very same text.
#include "common/unicode.h"
#include "dictionary/dictionary_encoding.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vb::DictionaryEncoding found = vb::DictionaryEncoding::Cp1251;
    const std::string text = vb::DecodeDictionary(bytes, found);
    if (found != vb::DetectDictionaryEncoding(bytes)) {
        std::abort();
    }

    // Written back unchanged, in the encoding it was found in.
    vb::DictionaryEncoding encoding = found;
    if (vb::EncodeDictionary(text, encoding) != bytes || encoding != found) {
        std::abort();
    }
    if (found == vb::DictionaryEncoding::Cp1251 && (!vb::FitsCp1251(text) || vb::CharCount(text) != size)) {
        std::abort();
    }

    // The same text given a character 1251 lacks.
    const std::string edited = text + "\xC3\xA4";
    encoding = found;
    const std::string saved = vb::EncodeDictionary(edited, encoding);
    if (encoding == vb::DictionaryEncoding::Cp1251 ||
        (found == vb::DictionaryEncoding::Cp1251 && encoding != vb::DictionaryEncoding::Utf8Bom)) {
        std::abort();
    }
    vb::DictionaryEncoding again = vb::DictionaryEncoding::Cp1251;
    if (vb::DecodeDictionary(saved, again) != edited) {
        // Only a Unicode file with malformed bytes and no mark may read back otherwise: it is 1251 then.
        if (found == vb::DictionaryEncoding::Cp1251 || again != vb::DictionaryEncoding::Cp1251) {
            std::abort();
        }
    }
    return 0;
}
