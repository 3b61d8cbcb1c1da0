// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The frequency dictionary builder: every distinct word of a text becomes one dictionary entry with
// its count, enriched from a basic dictionary, filtered by a minimum count and sorted alphabetically or
// by frequency.
//
// Texts are UTF-8. Words are compared upper-cased, character by character; they sort in the system's
// order (common/unicode.h). Of several spellings of one word the one
// that survives is the one the system's quicksort over all words of the text puts first. That sort is
// run on integer ranks of the upper-cased words instead of the words themselves: the comparisons come
// out the same, so the order does too, at a fraction of the cost.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

struct TFrequencyEntry
{
    std::string Word;
    std::string Translation;
    std::string Transcription;
    std::string Thesaurus;
    std::int64_t Count = 0;

    bool operator==(const TFrequencyEntry&) const = default;
};

// The builder's settings, as on the text page's panel.
struct FrequencyOptions
{
    std::string BasicDictionaryPath; // empty: none
    bool OnlyBasic = true; // "только базовые слова"
    bool ShowStat = false; // "отображать частоту в словаре"
    int SortText = 0; // 0 "алфавиту", 1 "частоте"
    std::int64_t MinCount = 1; // "с частотой слов от"
    std::int64_t TopCount = 0; // "только N самых частых слов"; 0: every word
};

// Called with the progress, 0 to 100, only when it changes. May be called from the builder's threads
// one at a time, never concurrently.
using FrequencyProgress = std::function<void(int percent)>;

// True for the 1251 bytes that end a word whatever follows them. Characters 1251 lacks end a word unless
// they are letters or combining marks.
bool IsWordSeparator(unsigned char b);

// The words of a UTF-8 text in text order, as written. The apostrophe and the hyphen belong to a word
// unless a line end, a space, another apostrophe or hyphen, or the end of the text follows.
std::vector<std::string_view> SplitWords(std::string_view text);

// The system's quicksort of entries: by the upper-cased word, not stable.
void SortEntriesByWord(std::vector<TFrequencyEntry>& entries);
// Count descending, then the upper-cased word ascending.
void SortEntriesByFrequency(std::vector<TFrequencyEntry>& entries);

// The basic dictionary's entries sorted by word; empty for an empty path or a file that cannot be read.
std::vector<TFrequencyEntry> LoadBasicDictionary(const std::string& path);

// Counting, enriching and ordering: the entries in the order they are written, before the filters of
// writing. `basicHadEntries` tells whether "только базовые слова" applies. Empty when the text has no
// word.
struct FrequencyList
{
    std::vector<TFrequencyEntry> entries;
    bool basicHadEntries = false;
};
FrequencyList CountFrequencies(std::string_view text, const std::vector<TFrequencyEntry>& basic,
                               const FrequencyOptions& options, const FrequencyProgress& progress = {});

// The dictionary file's text (UTF-8): the entries that pass the minimum count and "только базовые слова" (of
// them only the TopCount most frequent, ties going to the earlier entry, in the list's order), one
// "word|translation|transcription|thesaurus" line each with CR LF.
std::string FrequencyDictionaryText(const FrequencyList& list, const FrequencyOptions& options,
                                    const FrequencyProgress& progress = {});

enum class FrequencyBuildResult {
    Written,
    NoWords, // nothing written
    WriteFailed, // the target could not be written; it is left as it was
};

// The whole builder over a UTF-8 text: counts, writes `path` (a read-only target is overwritten)
// atomically and copies the basic dictionary's fonts file beside it. The dictionary is 1251 when every
// character fits, else UTF-8 with the byte-order mark (`unicode` then tells true).
FrequencyBuildResult BuildFrequencyDictionary(std::string_view text, const std::string& path,
                                              const FrequencyOptions& options, const FrequencyProgress& progress = {},
                                              bool* unicode = nullptr);

// The fonts file that belongs to a dictionary: the same name with the extension ".lqf".
std::string FontsFilePathOf(const std::string& dictionaryPath);

} // namespace vb
