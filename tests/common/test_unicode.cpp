// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/codepage.h"
#include "common/strings.h"
#include "common/unicode.h"

#include <gtest/gtest.h>

#include <random>

namespace vb {
namespace {

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

TEST(UnicodeText, CaseFollows1251ForItsCharactersAndUnicodeForTheRest)
{
    EXPECT_EQ(UpperCaseText("mädchen garçon canción città niño"), "MÄDCHEN GARÇON CANCIÓN CITTÀ NIÑO");
    EXPECT_EQ(LowerCaseText("MÄDCHEN ÉTÉ Ёлка"), "mädchen été ёлка");
    // "ß" has no one-character capital; "µ" is in 1251, whose rule leaves it alone.
    EXPECT_EQ(UpperCaseText("straße µ"), "STRAßE µ");
    EXPECT_EQ(UpperCaseText("αβγ"), "ΑΒΓ");
    // A malformed byte is kept as it is.
    EXPECT_EQ(UpperCaseText("a\xFF"
                            "b"),
              "A\xFF"
              "B");

    EXPECT_TRUE(EqualIgnoringCase("MÄDCHEN", "Mädchen"));
    EXPECT_TRUE(EqualIgnoringCase("GARÇON", "garçon"));
    EXPECT_TRUE(EqualIgnoringCase("ЁЛКА", "ёлка"));
    EXPECT_FALSE(EqualIgnoringCase("MADCHEN", "Mädchen"));
    EXPECT_FALSE(EqualIgnoringCase("Mädchen", "Mädche"));
    EXPECT_FALSE(EqualIgnoringCase("a\xFF", "a\xFE"));
}

TEST(UnicodeText, ClassesLengthsAndPositionsCountCharacters)
{
    EXPECT_EQ(UnicodeClass(U'ä'), CharClass::Letter);
    EXPECT_EQ(UnicodeClass(0x0308), CharClass::Letter); // combining diaeresis
    EXPECT_EQ(UnicodeClass(U'¿'), CharClass::Punctuation);
    EXPECT_EQ(UnicodeClass(U'♥'), CharClass::Punctuation);
    EXPECT_EQ(UnicodeClass(0x2003), CharClass::Space);
    EXPECT_EQ(UnicodeClass(U'٣'), CharClass::Digit);
    EXPECT_EQ(UnicodeClass(0x0378), CharClass::Other); // unassigned
    EXPECT_EQ(UnicodeBase(U'ǖ'), U'u');
    EXPECT_EQ(UnicodeBase(U'ß'), U'ß');

    EXPECT_EQ(CharCount("Mädchen"), 7u);
    EXPECT_EQ(CharCount("a\xC3"), 2u); // a cut sequence is one character
    EXPECT_EQ(CharOffset("Mädchen", 2), 3u);
    EXPECT_EQ(CharOffset("ab", 9), 2u);
    EXPECT_EQ(SubStr0("Mädchen", 1, 2), "äd");
    EXPECT_EQ(SubStr0("Mädchen", 7, 2), "");
    EXPECT_EQ(FindCharN("äb c, d", ' ', 0, 1), 2);
    EXPECT_EQ(FindCharN("äb c, d", ',', 3, 1), 4);
}

TEST(UnicodeText, Every1251ByteRoundTripsAndOthersDoNotFit)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string utf8 = Cp1251ToUtf8Exact(all);
    EXPECT_TRUE(FitsCp1251(utf8));
    EXPECT_EQ(Utf8ToCp1251Exact(utf8), all);
    EXPECT_EQ(CharCount(utf8), 256u);
    EXPECT_FALSE(FitsCp1251("Mädchen"));
    EXPECT_FALSE(FitsCp1251("a\xFF"));
    EXPECT_TRUE(FitsCp1251("Ёлка №5 «x»"));
}

TEST(UnicodeText, SortKeeps1251OrderAndPutsOtherLettersAfterTheirBase)
{
    // Right after the base letter, before the next one; with the letter case as written.
    EXPECT_LT(CompareText("a", "ä"), 0);
    EXPECT_LT(CompareText("ä", "b"), 0);
    EXPECT_LT(CompareText("ab", "äa"), 0);
    EXPECT_LT(CompareText("n", "ñ"), 0);
    EXPECT_LT(CompareText("ñ", "o"), 0);
    EXPECT_LT(CompareText("Ä", "a"), 0); // upper-case Latin sorts before lower-case, as in 1251
    EXPECT_EQ(CompareText("Mädchen", "Mädchen"), 0);
    // Without a base letter in 1251: after every 1251 character, by code point.
    EXPECT_GT(CompareText("ß", "я"), 0);
    EXPECT_LT(CompareText("ß", "ω"), 0);
    EXPECT_EQ(CompareTextUpper("mädchen", "MÄDCHEN"), 0);
    EXPECT_LT(CompareTextUpper("Baum", "bär"), 0);
    EXPECT_LT(UpperSortKey("Äpfel"), UpperSortKey("Baum"));

    // Between 1251 texts the order is exactly the byte order, upper-cased or not.
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        std::string a;
        std::string b;
        for (int k = static_cast<int>(random() % 4); k > 0; --k) {
            a += static_cast<char>(random() % 256);
        }
        b = a.substr(0, random() % (a.size() + 1));
        for (int k = static_cast<int>(random() % 3); k > 0; --k) {
            b += static_cast<char>(random() % 256);
        }
        const std::string ua = Cp1251ToUtf8Exact(a);
        const std::string ub = Cp1251ToUtf8Exact(b);
        const int bytes = Sign(std::string_view(a).compare(b));
        ASSERT_EQ(Sign(CompareText(ua, ub)), bytes) << round;
        ASSERT_EQ(Sign(CompareTextUpper(ua, ub)), Sign(CompareUpper1251(a, b))) << round;
        ASSERT_EQ(UpperSortKey(ua) < UpperSortKey(ub), CompareUpper1251(a, b) < 0) << round;
        ASSERT_EQ(Cp1251ToUtf8Exact(UpperCase1251(a)), UpperCaseText(ua)) << round;
    }
}

TEST(UnicodeText, HintMaskAndPunctuationOnOtherScripts)
{
    EXPECT_EQ(MaskLetters("Mädchen", 0, '+'), "+++++++");
    EXPECT_EQ(MaskLetters("Mädchen", 2, '+'), "Mä+++++");
    EXPECT_EQ(MaskLetters("¿qué? 3", 0, '*'), "¿***? 3");
    EXPECT_EQ(MaskLetters("naïve x", 0, '\0'), "");
    EXPECT_EQ(MaskLetters("x naïve", 3, '\0'), "x n");
    // A combining mark is a letter of its own.
    EXPECT_EQ(MaskLetters("a\xCC\x88", 0, '+'), "++");
    EXPECT_EQ(CleanPunctuation("¡hola!¿qué?"), " hola qué");
    EXPECT_EQ(CleanPunctuation("l’été"), "l’été"); // 1251's typographic apostrophe is no punctuation
    EXPECT_EQ(CleanPunctuation("a‽b"), "a b");
}

} // namespace
} // namespace vb
