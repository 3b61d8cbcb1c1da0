// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/bounded_int.h"
#include "common/strings.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <climits>

namespace vb {
namespace {

TEST(PathHelpers, ParentDirStripsOneComponentPerLevel)
{
    EXPECT_EQ(ParentDir(vbtest::NativePath("/opt/vb/bin/verbanta")), vbtest::NativePath("/opt/vb/bin"));
    EXPECT_EQ(ParentDir(vbtest::NativePath("/opt/vb/bin/verbanta"), 2), vbtest::NativePath("/opt/vb"));
    EXPECT_EQ(ParentDir(vbtest::NativePath("/opt/vb/bin/"), 1), vbtest::NativePath("/opt/vb/bin"));
    EXPECT_EQ(ParentDir(vbtest::NativePath("/verbanta")), "");
    // Without a separator the path is returned as it is, at any level.
    EXPECT_EQ(ParentDir("verbanta"), "verbanta");
    EXPECT_EQ(ParentDir(vbtest::NativePath("a/b"), 5), "a");
    EXPECT_EQ(ParentDir(vbtest::NativePath("a/b"), 0), vbtest::NativePath("a/b"));
    EXPECT_EQ(ParentDir(""), "");
}

TEST(PathHelpers, FileNameOnlyStopsAtTheFirstDot)
{
    EXPECT_EQ(FileNameOnly(vbtest::NativePath("/x/y/dt_basic.lqd"), true), "dt_basic.lqd");
    EXPECT_EQ(FileNameOnly(vbtest::NativePath("/x/y/dt_basic.lqd"), false), "dt_basic");
    EXPECT_EQ(FileNameOnly(vbtest::NativePath("/x/a.b.c"), false), "a");
    EXPECT_EQ(FileNameOnly(vbtest::NativePath("/x.d/name"), false), "name");
    EXPECT_EQ(FileNameOnly("plain", false), "plain");
    EXPECT_EQ(FileNameOnly(vbtest::NativePath("/x/"), true), "");
    EXPECT_EQ(FileNameOnly(vbtest::NativePath("/x/.hidden"), false), "");
}

TEST(StringHelpers, SubStr0ClipsAndRefusesNegatives)
{
    EXPECT_EQ(SubStr0("abcdef", 1, 3), "bcd");
    EXPECT_EQ(SubStr0("abcdef", 4, 100), "ef");
    EXPECT_EQ(SubStr0("abcdef", 6, 1), "");
    EXPECT_EQ(SubStr0("abcdef", 60, 1), "");
    EXPECT_EQ(SubStr0("abcdef", -1, 3), "");
    EXPECT_EQ(SubStr0("abcdef", 0, -1), "");
    EXPECT_EQ(SubStr0("abcdef", INT_MAX, INT_MAX), "");
    EXPECT_EQ(SubStr0("abcdef", 2, INT_MAX), "cdef");
}

TEST(StringHelpers, ReplaceCharAndFindCharN)
{
    EXPECT_EQ(ReplaceChar("to_be_or", '_', ' '), "to be or");
    EXPECT_EQ(ReplaceChar(std::string("a\0b", 3), '\0', '.'), "a.b");

    const std::string s = "a|b|c|d";
    EXPECT_EQ(FindCharN(s, '|', 0, 1), 1);
    EXPECT_EQ(FindCharN(s, '|', 0, 3), 5);
    EXPECT_EQ(FindCharN(s, '|', 2, 1), 3);
    EXPECT_EQ(FindCharN(s, '|', 1, 1), 1); // "at or after"
    EXPECT_EQ(FindCharN(s, '|', 0, 4), -1);
    EXPECT_EQ(FindCharN(s, '|', 100, 1), -1);
    EXPECT_EQ(FindCharN(s, '|', -5, 1), 1);
    EXPECT_EQ(FindCharN(s, '|', 0, 0), -1);
}

TEST(StringHelpers, StripParens)
{
    EXPECT_EQ(StripParens("key (of a lock)"), "key");
    EXPECT_EQ(StripParens("a (b (c) d) e"), "a  e");
    EXPECT_EQ(StripParens("  (x) word  "), "word");
    // An unclosed "(" swallows the rest; stray ")" disappear.
    EXPECT_EQ(StripParens("word (note"), "word");
    EXPECT_EQ(StripParens("wo)rd)"), "word");
    EXPECT_EQ(StripParens("a)b(c)"), "ab");
    EXPECT_EQ(StripParens("\t\r\n"), "");
    EXPECT_EQ(StripParens(""), "");
}

TEST(StringHelpers, BracketTranscription)
{
    EXPECT_EQ(BracketTranscription("hi"), "[hi]");
    EXPECT_EQ(BracketTranscription("[[hi]"), "[hi]");
    EXPECT_EQ(BracketTranscription("h[i]x"), "[hix]");
    EXPECT_EQ(BracketTranscription(""), "");
}

TEST(StringHelpers, CleanPunctuation)
{
    EXPECT_EQ(CleanPunctuation("a,b"), "a b");
    EXPECT_EQ(CleanPunctuation("a, b"), "a b"); // dropped before a space
    EXPECT_EQ(CleanPunctuation("a?!b"), "a b"); // dropped before more punctuation
    EXPECT_EQ(CleanPunctuation("end."), "end"); // dropped at the end
    EXPECT_EQ(CleanPunctuation("o'clock well-known"), "o'clock well-known");
    EXPECT_EQ(CleanPunctuation("x\xB9y"), "x y"); // the numero sign of 1251
    EXPECT_EQ(CleanPunctuation("a[b]c{d}e@f`g"), "a b c d e f g");
    EXPECT_EQ(CleanPunctuation("!!!"), "");
    EXPECT_EQ(CleanPunctuation(""), "");
}

TEST(StringHelpers, MaskLetters)
{
    EXPECT_EQ(MaskLetters("to be", 0, '*'), "** **");
    EXPECT_EQ(MaskLetters("to be", 3, '*'), "to **");
    EXPECT_EQ(MaskLetters("a1-b", 0, '.'), ".1-.");
    EXPECT_EQ(MaskLetters("мир №", 0, '*'), "*** №");
    // A NUL mask cuts the text at the first masked position.
    EXPECT_EQ(MaskLetters("12 ab cd", 0, '\0'), "12 ");
    EXPECT_EQ(MaskLetters("ab", 5, '*'), "ab");
    EXPECT_EQ(MaskLetters("ab", -3, '*'), "**");
}

TEST(StringHelpers, TrimControlCutsEveryLowByte)
{
    EXPECT_EQ(TrimControl(std::string(" \t\x01\0word x\r\n", 12)), "word x");
    EXPECT_EQ(TrimControl("\xA0word"), "\xA0word"); // 1251 no-break space is not a control byte
    EXPECT_EQ(TrimControl("   "), "");
}

TEST(StringHelpers, SpeakingTime)
{
    EXPECT_EQ(SpeakingTimeMs(0, false), 300);
    EXPECT_EQ(SpeakingTimeMs(5, false), 750);
    EXPECT_EQ(SpeakingTimeMs(5, true), 1750);
    EXPECT_EQ(SpeakingTimeMs(static_cast<std::size_t>(-1), true), INT_MAX);
}

TEST(BoundedIntTest, ClampsAndReadsBadTextAsMinimum)
{
    BoundedInt v(1, 60, 20);
    EXPECT_EQ(v.Value(), 20);
    v.Set(100);
    EXPECT_EQ(v.Value(), 60);
    v.Set(-100);
    EXPECT_EQ(v.Value(), 1);

    v.SetText("42");
    EXPECT_EQ(v.Value(), 42);
    v.SetText(" +7 ");
    EXPECT_EQ(v.Value(), 7);
    v.SetText("30");
    v.SetText("");
    EXPECT_EQ(v.Value(), 1);
    v.SetText("30");
    v.SetText("12a");
    EXPECT_EQ(v.Value(), 1);
    v.SetText("30");
    v.SetText("-");
    EXPECT_EQ(v.Value(), 1);
    v.SetText("30");
    v.SetText(std::string("5\0", 2) + "9");
    EXPECT_EQ(v.Value(), 1);

    // Huge numbers clamp to the nearer end instead of overflowing.
    v.SetText("99999999999999999999999999999");
    EXPECT_EQ(v.Value(), 60);
    v.SetText("-99999999999999999999999999999");
    EXPECT_EQ(v.Value(), 1);

    BoundedInt wide(INT_MIN, INT_MAX, 0);
    wide.SetText("2147483648");
    EXPECT_EQ(wide.Value(), INT_MAX);
    wide.SetText("-2147483649");
    EXPECT_EQ(wide.Value(), INT_MIN);
}

} // namespace
} // namespace vb
