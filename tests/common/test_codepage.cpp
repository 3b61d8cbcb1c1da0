// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/codepage.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

std::string AllBytes(int from, int to)
{
    std::string s;
    for (int b = from; b <= to; ++b) {
        s += static_cast<char>(b);
    }
    return s;
}

TEST(Codepage, UpperAndLowerCaseFoldLatinAndCyrillic)
{
    EXPECT_EQ(UpperCase1251("abc.lqd"), "ABC.LQD");
    // "ёжик" -> "ЁЖИК"
    EXPECT_EQ(UpperCase1251("\xB8\xE6\xE8\xEA"), "\xA8\xC6\xC8\xCA");
    EXPECT_EQ(LowerCase1251("\xA8\xC6\xC8\xCA"), "\xB8\xE6\xE8\xEA");
    // The other Cyrillic letters of the code page: ў ї є і ґ ђ ј ѕ.
    EXPECT_EQ(UpperCase1251("\xA2\xBF\xBA\xB3\xB4\x90\xBC\xBE"), "\xA1\xAF\xAA\xB2\xA5\x80\xA3\xBD");
    // Non-letters stay: µ has no capital in 1251, № and digits are no letters.
    EXPECT_EQ(UpperCase1251("\xB5\xB9\x31"), "\xB5\xB9\x31");

    // Every byte survives a lower -> upper trip of its upper form.
    for (int b = 0; b < 256; ++b) {
        const auto up = UpperCase1251(static_cast<unsigned char>(b));
        EXPECT_EQ(UpperCase1251(LowerCase1251(up)), up) << b;
    }
}

TEST(Codepage, LowerCaseUtf8FoldsTheLettersOf1251Only)
{
    EXPECT_EQ(LowerCaseUtf8("ИВАН Ёлкин ЇҐ Default"), "иван ёлкин їґ default");
    // Letters outside 1251 and malformed bytes stay as they are.
    EXPECT_EQ(LowerCaseUtf8("ÄΩ 名"), "ÄΩ 名");
    EXPECT_EQ(LowerCaseUtf8("A\xD0\xFF\xC0"
                            "B"),
              "a\xD0\xFF\xC0"
              "b");
}

TEST(Codepage, CompareUpperIsCaseInsensitiveAndUnsigned)
{
    EXPECT_EQ(CompareUpper1251("Dog", "dOG"), 0);
    EXPECT_EQ(CompareUpper1251("\xB8\xEB\xEA\xE0", "\xA8\xCB\xCA\xC0"), 0); // ёлка / ЁЛКА
    EXPECT_LT(CompareUpper1251("ab", "abc"), 0);
    EXPECT_GT(CompareUpper1251("b", "A"), 0);
    // Cyrillic bytes sort after Latin ones (unsigned comparison).
    EXPECT_GT(CompareUpper1251("\xE0", "z"), 0);
    EXPECT_EQ(CompareUpper1251("", ""), 0);
}

TEST(Codepage, Cp1251RoundTripsThroughUtf8)
{
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(Cp1251ToUtf8("\xA8\xB8\xB9"), "Ёё№");
    EXPECT_EQ(Utf8ToCp1251("Ёжик №5"), "\xA8\xE6\xE8\xEA \xB9\x35");

    std::string all = AllBytes(0, 255);
    all.erase(0x98, 1); // undefined in 1251
    const std::string utf8 = Cp1251ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToCp1251(utf8), all);

    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToCp1251("\xEF\xBF\xBD"), "?");
}

TEST(Codepage, Utf8ToCp1251ReplacesWhatItCannotMap)
{
    EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xAD"
                           "b"),
              "a?b"); // a CJK character
    EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80"), "?"); // outside the BMP
    EXPECT_EQ(Utf8ToCp1251("\xC3"), "?"); // truncated
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??"); // overlong "/"
    EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "???"); // a surrogate
    EXPECT_EQ(Utf8ToCp1251(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Codepage, IsValidUtf8)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("Слово \xF4\x8F\xBF\xBF"));
    EXPECT_FALSE(IsValidUtf8("\xCF\xF0\xE8")); // 1251 bytes
    EXPECT_FALSE(IsValidUtf8("\xE2\x82")); // truncated at the end
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\x80")); // overlong
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\x80"));
}

TEST(Codepage, Dos866AndWindows1251)
{
    // "Привет" in 866, "Ёё" and the box corner that 1251 lacks.
    EXPECT_EQ(Cp866ToCp1251("\x8F\xE0\xA8\xA2\xA5\xE2"), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(Cp866ToCp1251("\xF0\xF1\xC9"), "\xA8\xB8?");
    EXPECT_EQ(Cp1251ToCp866("\xA8\xB8\x88"), "\xF0\xF1?"); // € has no 866 form

    // Every Cyrillic letter of 1251 that 866 has survives the trip.
    const std::string letters = AllBytes(0xC0, 0xFF) + "\xA8\xB8\xAA\xBA\xAF\xBF\xA1\xA2";
    EXPECT_EQ(Cp866ToCp1251(Cp1251ToCp866(letters)), letters);
    const std::string ascii = AllBytes(0, 127);
    EXPECT_EQ(Cp866ToCp1251(ascii), ascii);
    EXPECT_EQ(Cp1251ToCp866(ascii), ascii);
}

} // namespace
} // namespace vb
