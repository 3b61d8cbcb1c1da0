// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/phonetic_ipa.h"

#include "dictionary/line_format.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace vb {
namespace {

using namespace std::string_literals;

TEST(PhoneticCodeSign, EveryCodeCharacterAndItsSign)
{
    const std::pair<char, const char*> signs[] = {
        {'I', "ɪ"}, {'U', "ʊ"}, {'V', "ʌ"}, {'Q', "ɒ"}, {'O', "ɔ"}, {'A', "ɑ"}, {'{', "æ"}, {'@', "ə"}, {'3', "ɜ"},
        {'S', "ʃ"}, {'Z', "ʒ"}, {'T', "θ"}, {'D', "ð"}, {'N', "ŋ"}, {'g', "ɡ"}, {':', "ː"}, {'"', "ˈ"}, {'%', "ˌ"},
    };
    for (const auto& [code, sign] : signs) {
        EXPECT_EQ(PhoneticCodeSign(code), sign) << code;
    }
    // The IPA g is its own character, not the Latin letter.
    EXPECT_EQ(PhoneticCodeSign('g'), "\xC9\xA1");
    // Drawn as themselves: the other letters the code uses, and what it does not use at all.
    for (const char c : "abdefhijklmnprstuvwz[] ()'-,.0"s) {
        EXPECT_TRUE(PhoneticCodeSign(c).empty()) << c;
    }
}

TEST(PhoneticCodeToIpa, WholeWords)
{
    EXPECT_EQ(PhoneticCodeToIpa("h{v"), "hæv");
    EXPECT_EQ(PhoneticCodeToIpa("g@U"), "ɡəʊ");
    EXPECT_EQ(PhoneticCodeToIpa("kVm"), "kʌm");
    EXPECT_EQ(PhoneticCodeToIpa("@\"baUt"), "əˈbaʊt");
    EXPECT_EQ(PhoneticCodeToIpa("\"A:ft@"), "ˈɑːftə");
    EXPECT_EQ(PhoneticCodeToIpa("Tru:"), "θruː");
    EXPECT_EQ(PhoneticCodeToIpa("wID"), "wɪð");
    EXPECT_EQ(PhoneticCodeToIpa("tSeIndZ"), "tʃeɪndʒ");
    EXPECT_EQ(PhoneticCodeToIpa("%edZu\"keISn"), "ˌedʒuˈkeɪʃn");
    EXPECT_EQ(PhoneticCodeToIpa("O:\"TQr@ti"), "ɔːˈθɒrəti");
    EXPECT_EQ(PhoneticCodeToIpa("\"l3:nIN"), "ˈlɜːnɪŋ");
    // The lesson side shows it in brackets; they stay.
    EXPECT_EQ(PhoneticCodeToIpa("[frQm]"), "[frɒm]");
    EXPECT_EQ(PhoneticCodeToIpa(""), "");
}

TEST(PhoneticCodeToIpa, TextsAlreadyInSignsOrOtherScriptsStayAsTheyAre)
{
    EXPECT_EQ(PhoneticCodeToIpa("[ˈmɛːtçən]"), "[ˈmɛːtçən]");
    // Even a stray code character beside a sign is left alone: the text is not in the code.
    EXPECT_EQ(PhoneticCodeToIpa("ˈDIs"), "ˈDIs");
    EXPECT_EQ(PhoneticCodeToIpa("\xE4\xE0"s), "\xE4\xE0"s); // 1251 bytes
    EXPECT_EQ(PhoneticCodeToIpa("a\0{"s), "a\0æ"s);
}

// Every transcription of the default dictionary comes out in phonetic signs: nothing of the code is left.
TEST(PhoneticCodeToIpa, CoversTheDefaultDictionary)
{
    std::ifstream in(std::string(VB_SOURCE_DIR) + "/data/dict/dt_basic.lqd", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<DictionaryRecord> entries = ReadLessonEntries(bytes);
    ASSERT_EQ(entries.size(), 850u);
    const std::string plain = "abdefhijklmnprstuvwz[]";
    std::set<char> leftovers;
    for (const DictionaryRecord& e : entries) {
        ASSERT_FALSE(e.transcription.empty()) << e.word;
        for (const char c : PhoneticCodeToIpa(e.transcription)) {
            if (static_cast<unsigned char>(c) < 0x80 && plain.find(c) == std::string::npos) {
                leftovers.insert(c);
            }
        }
    }
    EXPECT_EQ(std::string(leftovers.begin(), leftovers.end()), "");

    // Spot checks of words that use the rarer signs.
    const auto ipaOf = [&](const std::string& word) {
        for (const DictionaryRecord& e : entries) {
            if (e.word == word) {
                return PhoneticCodeToIpa(e.transcription);
            }
        }
        return "not found"s;
    };
    EXPECT_EQ(ipaOf("have"), "[hæv]");
    EXPECT_EQ(ipaOf("go"), "[ɡəʊ]");
    EXPECT_EQ(ipaOf("decision"), "[dɪˈsɪʒn]");
    EXPECT_EQ(ipaOf("apparatus"), "[ˌæpəˈreɪtəs]");
    EXPECT_EQ(ipaOf("language"), "[ˈlæŋɡwɪdʒ]");
    EXPECT_EQ(ipaOf("there"), "[ðeə]");
    EXPECT_EQ(ipaOf("theory"), "[ˈθɪəri]");
}

} // namespace
} // namespace vb
