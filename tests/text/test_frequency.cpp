// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/frequency.h"

#include "common/codepage.h"
#include "common/files.h"
#include "common/unicode.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <random>

namespace vb {
namespace {

using vbtest::ReadBytes;
using vbtest::TempHome;
using vbtest::WriteBytes;

std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> out;
    for (std::string_view w : SplitWords(text)) {
        out.emplace_back(w);
    }
    return out;
}

std::string Build(std::string_view text, const FrequencyOptions& options)
{
    return FrequencyDictionaryText(CountFrequencies(text, LoadBasicDictionary(options.BasicDictionaryPath), options),
                                   options);
}

FrequencyOptions AllWords()
{
    FrequencyOptions o;
    o.OnlyBasic = false;
    return o;
}

// The builder as first described: every word of the text an entry, the quicksort over all of them
// with upper-casing in every comparison, then one counting walk.
std::vector<TFrequencyEntry> Straightforward(std::string_view text)
{
    std::vector<TFrequencyEntry> list;
    for (std::string_view w : SplitWords(text)) {
        list.push_back(TFrequencyEntry{std::string(w), "", "", "", 0});
    }
    SortEntriesByWord(list);
    std::vector<TFrequencyEntry> out;
    for (TFrequencyEntry& e : list) {
        if (!out.empty() && CompareTextUpper(out.back().Word, e.Word) == 0) {
            ++out.back().Count;
        } else {
            e.Count = 1;
            out.push_back(std::move(e));
        }
    }
    return out;
}

TEST(FrequencyTokens, SeparatorRulesOfTheWorkedExamples)
{
    EXPECT_EQ(Words("rock-n-roll well-\r\nnext don't 'tis 1999 H2O"),
              (std::vector<std::string>{"rock-n-roll", "well", "next", "don't", "'tis", "H", "O"}));
    // Before a space, a line end, another joiner or the end of the text the joiner is dropped.
    EXPECT_EQ(Words("a--b c' d-\ne- -f well-"), (std::vector<std::string>{"a", "-b", "c", "d", "e", "-f", "well"}));
    // Before other punctuation it stays: "dogs'," keeps its apostrophe.
    EXPECT_EQ(Words("dogs', x-."), (std::vector<std::string>{"dogs'", "x-"}));
    // 1251: guillemets, em dash, bullet and numero separate; en dash, typographic quotes, ellipsis and
    // NUL belong to words.
    EXPECT_EQ(Words(std::string("«кот»—•№x–y “q” z… a\0b", 41)),
              (std::vector<std::string>{"кот", "x–y", "“q”", "z…", std::string("a\0b", 3)}));
    // Control bytes 17 and 20-31 are no separators; 1-16, 18 and 19 are.
    EXPECT_EQ(Words("a\x11"
                    "b\x14"
                    "c\x12"
                    "d\x10"
                    "e"),
              (std::vector<std::string>{"a\x11"
                                        "b\x14"
                                        "c",
                                        "d", "e"}));
    EXPECT_TRUE(Words("1999 ... -- ''").empty());
}

TEST(FrequencyCount, OneEntryPerWordWithTheSortsSpelling)
{
    const FrequencyList list = CountFrequencies("Dog, dog; DOG! cat", {}, AllWords());
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0], (TFrequencyEntry{"cat", "", "", "", 1}));
    // The quicksort leaves [cat, DOG, dog, Dog]: "DOG" comes first of its word.
    EXPECT_EQ(list.entries[1], (TFrequencyEntry{"DOG", "", "", "", 3}));

    FrequencyOptions byCount = AllWords();
    byCount.SortText = 1;
    EXPECT_EQ(Build("Dog, dog; DOG! cat", byCount), "DOG|||\r\ncat|||\r\n");
    // Equal counts in alphabetical order of the upper-cased words.
    EXPECT_EQ(Build("b a c b a", byCount), "a|||\r\nb|||\r\nc|||\r\n");
}

TEST(FrequencyCount, SameResultAsTheStraightforwardSortOnAnyMixOfSpellings)
{
    // Enough words for the sort to take its parallel path and the text to be counted in two halves; few
    // distinct words, many spellings each. The last round mixes in many words met in one spelling only,
    // some of them in the second half alone.
    std::mt19937 random(7);
    const char* stems[] = {"the", "and", "of", "\xE4\xEE\xEC", "x", "it's", "a-b", "zz", "Q"};
    for (int round = 0; round < 4; ++round) {
        std::string text;
        const int words = round == 0 ? 50 : 200000;
        for (int i = 0; i < words; ++i) {
            std::string w = stems[random() % std::size(stems)];
            const bool single = round == 3 && random() % 2 == 0;
            if (single) {
                w = "q";
                for (int k = 0; k < 3; ++k) {
                    w += static_cast<char>('a' + random() % (i < words / 2 ? 13 : 26));
                }
            }
            for (char& c : w) {
                if (!single && random() % 3 == 0) {
                    c = static_cast<char>(UpperCase1251(static_cast<unsigned char>(c)));
                }
            }
            text += w;
            text += (random() % 5 == 0) ? "\r\n" : " ";
        }
        text = Cp1251ToUtf8Exact(text);
        EXPECT_EQ(CountFrequencies(text, {}, AllWords()).entries, Straightforward(text)) << round;
    }
}

TEST(FrequencyCount, TextWithoutWordsGivesNothing)
{
    EXPECT_TRUE(CountFrequencies("", {}, AllWords()).entries.empty());
    EXPECT_TRUE(CountFrequencies("1999, -- 42!", {}, AllWords()).entries.empty());
}

class FrequencyFiles : public ::testing::Test
{
protected:
    TempHome home;
    std::string basic = home.File("basic.lqd");
};

TEST_F(FrequencyFiles, BasicDictionaryEnrichesAndFilters)
{
    WriteBytes(basic, "Noun|\xF1\xF3\xF9|nAUn|noun\r\n"
                      "\r\n"
                      "ice_cream|\xEC\xEE\xF0\xEE\xE6\xE5\xED\xEE\xE5\r\n"
                      "empty|||\r\n"
                      "noun|second|x|sorted first\r\n");
    std::string text;
    for (int i = 0; i < 12; ++i) {
        text += "NOUN verb ";
    }
    text += "ice cream empty";
    FrequencyOptions o;
    o.BasicDictionaryPath = basic;
    o.ShowStat = true;
    // Only words with content in the basic dictionary; the basic spelling and fields win. Of two basic
    // entries of one word the one the quicksort puts first is used: here the later line.
    EXPECT_EQ(Build(text, o), "noun|second|[x]|(12) sorted first\r\n");

    o.OnlyBasic = false;
    EXPECT_EQ(Build(text, o), "cream|||(1) \r\n"
                              "empty|||(1) \r\n"
                              "ice|||(1) \r\n"
                              "noun|second|[x]|(12) sorted first\r\n"
                              "verb|||(12) \r\n");

    o.MinCount = 3;
    o.ShowStat = false;
    EXPECT_EQ(Build(text, o), "noun|second|[x]|sorted first\r\nverb|||\r\n");
}

TEST(FrequencyTop, TheMostFrequentWordsInTheChosenOrder)
{
    // c 4, a 3, d 3, b 2, e 1: the top three are c, a and d (a before d at equal count, as in the list).
    const std::string text = "c a d b c a d e b c a d c";
    FrequencyOptions o = AllWords();
    o.TopCount = 3;
    EXPECT_EQ(Build(text, o), "a|||\r\nc|||\r\nd|||\r\n");
    o.SortText = 1;
    o.ShowStat = true;
    EXPECT_EQ(Build(text, o), "c|||(4) \r\na|||(3) \r\nd|||(3) \r\n");
    // Chosen among the words that pass the minimum count; more than there are writes them all.
    o.MinCount = 4;
    EXPECT_EQ(Build(text, o), "c|||(4) \r\n");
    o.MinCount = 1;
    o.TopCount = 100;
    o.ShowStat = false;
    EXPECT_EQ(Build(text, o), "c|||\r\na|||\r\nd|||\r\nb|||\r\ne|||\r\n");
}

TEST_F(FrequencyFiles, OnlyBasicWithoutABasicDictionaryWritesEveryWord)
{
    FrequencyOptions o;
    ASSERT_TRUE(o.OnlyBasic);
    EXPECT_EQ(Build("b a", o), "a|||\r\nb|||\r\n");
    o.BasicDictionaryPath = home.File("missing.lqd");
    EXPECT_EQ(Build("b a", o), "a|||\r\nb|||\r\n");
}

TEST_F(FrequencyFiles, BuildWritesOverReadOnlyTargetsAndTakesTheBasicFonts)
{
    const std::string out = home.File("out.lqd");
    WriteBytes(out, "old");
    ASSERT_TRUE(SetReadOnly(out, true));
    WriteBytes(home.File("out.lqf"), "old fonts");
    WriteBytes(basic, "cat|\xEA\xEE\xF8\xEA\xE0\r\n");
    WriteBytes(home.File("basic.lqf"), "fonts");
    ASSERT_TRUE(SetReadOnly(home.File("basic.lqf"), true));

    FrequencyOptions o;
    o.BasicDictionaryPath = basic;
    std::vector<int> progress;
    EXPECT_EQ(BuildFrequencyDictionary("cat dog Cat", out, o, [&](int p) { progress.push_back(p); }),
              FrequencyBuildResult::Written);
    EXPECT_EQ(ReadBytes(out), "cat|\xEA\xEE\xF8\xEA\xE0||\r\n");
    EXPECT_FALSE(IsReadOnly(out));
    EXPECT_EQ(ReadBytes(home.File("out.lqf")), "fonts");
    EXPECT_FALSE(IsReadOnly(home.File("out.lqf")));

    // The bar moves forward only, each value once, from 0 to 100.
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(std::adjacent_find(progress.begin(), progress.end()), progress.end());
}

TEST_F(FrequencyFiles, NothingIsWrittenForATextWithoutWordsOrAnUnwritableTarget)
{
    const std::string out = home.File("out.lqd");
    WriteBytes(out, "kept");
    EXPECT_EQ(BuildFrequencyDictionary(" 12 ", out, {}), FrequencyBuildResult::NoWords);
    EXPECT_EQ(ReadBytes(out), "kept");

    const std::string nowhere = home.File("no/such/folder/out.lqd");
    EXPECT_EQ(BuildFrequencyDictionary("word", nowhere, {}), FrequencyBuildResult::WriteFailed);
    EXPECT_FALSE(FileExists(nowhere));
    EXPECT_EQ(FontsFilePathOf("/a.b/c.lqd"), "/a.b/c.lqf");
    EXPECT_EQ(FontsFilePathOf("/a.b/c"), "/a.b/c.lqf");
}

} // namespace
} // namespace vb
