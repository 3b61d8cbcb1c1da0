// SPDX-License-Identifier: GPL-3.0-or-later
// The frequency builder on arbitrary bytes: the first byte chooses the options, the rest up to the first
// "\0\0" is the text and what follows it the basic dictionary. The counts must match the
// straightforward sort over all words, spellings included, and the file must hold only what passes.
#include "text/frequency.h"

#include "common/codepage.h"
#include "common/unicode.h"
#include "dictionary/dictionary_encoding.h"
#include "dictionary/line_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find(std::string_view("\0\0", 2));
    // Texts reach the builder as UTF-8: a UTF-8 text as it is, anything else read as 1251.
    const std::string_view textBytes = rest.substr(0, split);
    const std::string text = vb::IsValidUtf8(textBytes) ? std::string(textBytes) : vb::Cp1251ToUtf8Exact(textBytes);
    const std::string basicBytes =
        vb::DecodeDictionary(split == std::string_view::npos ? std::string_view() : rest.substr(split + 2));

    vb::FrequencyOptions options;
    options.OnlyBasic = flags & 1;
    options.ShowStat = flags & 2;
    options.SortText = (flags >> 2) & 1;
    options.MinCount = 1 + ((flags >> 3) & 3);

    std::vector<vb::TFrequencyEntry> basic;
    for (vb::DictionaryRecord& r : vb::ReadLessonEntries(basicBytes))
        basic.push_back({r.word, r.translate, r.transcription, r.tesaurus, 0});
    vb::SortEntriesByWord(basic);

    const std::vector<std::string_view> words = vb::SplitWords(text);
    const vb::FrequencyList list = vb::CountFrequencies(text, basic, options);

    // The straightforward way: every word an entry, sorted, counted in one walk.
    std::vector<vb::TFrequencyEntry> all;
    for (std::string_view w : words)
        all.push_back({std::string(w), "", "", "", 0});
    vb::SortEntriesByWord(all);
    std::vector<vb::TFrequencyEntry> expected;
    for (vb::TFrequencyEntry& e : all) {
        if (!expected.empty() && vb::CompareTextUpper(expected.back().Word, e.Word) == 0) {
            ++expected.back().Count;
        } else {
            e.Count = 1;
            expected.push_back(std::move(e));
        }
    }
    if (list.entries.size() != expected.size())
        std::abort();
    std::vector<vb::TFrequencyEntry> got = list.entries;
    if (options.SortText == 1)
        vb::SortEntriesByWord(got); // distinct words: the order is unique
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i].Count != expected[i].Count || vb::CompareTextUpper(got[i].Word, expected[i].Word) != 0)
            std::abort();
        // Without a basic entry the text's own spelling survives, the one the sort put first.
        if (got[i].Translation.empty() && got[i].Transcription.empty() && got[i].Thesaurus.empty() &&
            got[i].Word != expected[i].Word && basic.empty())
            std::abort();
    }

    const std::string file = vb::FrequencyDictionaryText(list, options);
    const std::size_t lines = static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n'));
    if (lines > list.entries.size() || (!file.empty() && !file.ends_with("\r\n")))
        std::abort();
    return 0;
}
