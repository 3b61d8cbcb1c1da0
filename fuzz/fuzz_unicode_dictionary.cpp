// SPDX-License-Identifier: GPL-3.0-or-later
// A Unicode dictionary on arbitrary bytes (after the byte-order mark): reading its entries and its table
// rows stays inside the buffers and every rule on characters (case, sorting, masking, lengths) takes any
// text; the entries written as a table and saved read back the same, character for character.
#include "common/strings.h"
#include "common/unicode.h"
#include "dictionary/dictionary_encoding.h"
#include "dictionary/line_format.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes =
        std::string(vb::kUtf8ByteOrderMark) + std::string(reinterpret_cast<const char*>(data), size);
    vb::DictionaryEncoding encoding = vb::DictionaryEncoding::Cp1251;
    const std::string text = vb::DecodeDictionary(bytes, encoding);
    if (encoding != vb::DictionaryEncoding::Utf8Bom) {
        std::abort();
    }

    std::vector<vb::DictionaryRecord> records;
    for (const std::string& line : vb::SplitTextLines(text)) {
        records.push_back(vb::LineToRecord(line));
        const vb::DictionaryRecord& r = records.back();
        // The character rules on every field: no reading outside, consistent answers.
        for (const std::string* field : {&r.word, &r.translate}) {
            const std::string upper = vb::UpperCaseText(*field);
            if (!vb::EqualIgnoringCase(*field, upper) || vb::CompareTextUpper(*field, upper) != 0) {
                std::abort();
            }
            const std::size_t chars = vb::CharCount(*field);
            if (vb::CharCount(vb::MaskLetters(*field, 0, '+')) != chars ||
                vb::CharOffset(*field, chars) != field->size()) {
                std::abort();
            }
            vb::CleanPunctuation(*field);
            vb::SubStr0(*field, 1, 3);
        }
        if (Sign(vb::CompareText(r.word, r.translate)) != -Sign(vb::CompareText(r.translate, r.word))) {
            std::abort();
        }
    }

    // Written as the table writes it, saved, read again: the same values.
    std::vector<vb::DictionaryRecord> written;
    for (const vb::DictionaryRecord& r : records) {
        vb::DictionaryRecord w = r;
        for (std::string* field : {&w.word, &w.translate, &w.transcription, &w.tesaurus}) {
            // Values are kept trimmed and without a backtick, which has no escape.
            std::string clean;
            for (char c : *field) {
                if (c != '`') {
                    clean += c;
                }
            }
            *field = vb::TrimControl(clean);
        }
        written.push_back(w);
    }
    const std::string saved = vb::EncodeDictionary(vb::RecordsToText(written), encoding);
    const std::string back = vb::DecodeDictionary(saved);
    std::vector<vb::DictionaryRecord> reread;
    for (const std::string& line : vb::SplitTextLines(back)) {
        reread.push_back(vb::LineToRecord(line));
    }
    reread.resize(written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (!(reread[i] == written[i])) {
            std::abort();
        }
    }
    return 0;
}
