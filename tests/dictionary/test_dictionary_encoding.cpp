// SPDX-License-Identifier: GPL-3.0-or-later
// Dictionaries in their own encodings: 1251 kept byte for byte, Unicode dictionaries written back as
// found, and a 1251 dictionary given a character 1251 lacks becoming UTF-8 with the byte-order mark.

#include "common/codepage.h"
#include "dictionary/dictionary_encoding.h"
#include "dictionary/dictionary_files.h"
#include "dictionary/sdf_data.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

using vbtest::ReadBytes;
using vbtest::WriteBytes;

const std::string kBom = "\xEF\xBB\xBF";

TEST(DictionaryEncoding, DetectionDecodingAndWritingBack)
{
    EXPECT_EQ(DetectDictionaryEncoding(kBom + "cat|x"), DictionaryEncoding::Utf8Bom);
    EXPECT_EQ(DetectDictionaryEncoding(kBom), DictionaryEncoding::Utf8Bom);
    EXPECT_EQ(DetectDictionaryEncoding("Mädchen|девочка"), DictionaryEncoding::Utf8);
    EXPECT_EQ(DetectDictionaryEncoding("cat|kot"), DictionaryEncoding::Cp1251); // ASCII is both
    EXPECT_EQ(DetectDictionaryEncoding(Utf8ToCp1251("кот|cat")), DictionaryEncoding::Cp1251);

    // Every byte sequence that is not UTF-8 reads as 1251 and writes back unchanged.
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    DictionaryEncoding encoding = DictionaryEncoding::Utf8;
    const std::string text = DecodeDictionary(all, encoding);
    EXPECT_EQ(encoding, DictionaryEncoding::Cp1251);
    EXPECT_EQ(EncodeDictionary(text, encoding), all);
    EXPECT_EQ(encoding, DictionaryEncoding::Cp1251);

    // Unicode dictionaries keep or lack their mark as found, even with a malformed byte after the mark.
    for (const std::string& file : {kBom + "Straße|улица\r\n", std::string("garçon|мальчик\r\n"), kBom + "a\xFF"}) {
        const std::string decoded = DecodeDictionary(file, encoding);
        EXPECT_FALSE(decoded.starts_with(kBom));
        EXPECT_EQ(EncodeDictionary(decoded, encoding), file);
    }

    // 1251 cannot hold "ä": the file becomes UTF-8 with the mark.
    encoding = DictionaryEncoding::Cp1251;
    EXPECT_EQ(EncodeDictionary("Mädchen|девочка", encoding), kBom + "Mädchen|девочка");
    EXPECT_EQ(encoding, DictionaryEncoding::Utf8Bom);

    // "Р°" fits 1251, but its bytes D0 B0 would read back as UTF-8 "а": written as UTF-8 instead.
    encoding = DictionaryEncoding::Cp1251;
    EXPECT_EQ(EncodeDictionary("Р°|x", encoding), kBom + "Р°|x");
    EXPECT_EQ(DecodeDictionary(kBom + "Р°|x"), "Р°|x");
    // So does a text starting with "п»ї", the mark's bytes in 1251.
    encoding = DictionaryEncoding::Cp1251;
    EXPECT_EQ(EncodeDictionary("п»їx", encoding), kBom + "п»їx");
}

class UnicodeTable : public ::testing::Test
{
protected:
    void OpenOn(const std::string& bytes)
    {
        WriteBytes(path, bytes);
        table.SetFileName(path);
        table.SetDelimiter('|');
        table.SetSchema({"word", "translate", "transcription", "tesaurus"});
        ASSERT_TRUE(table.Open()) << table.LastError();
    }
    void SetWord(int line, const std::string& word)
    {
        table.MoveTo(line);
        ASSERT_TRUE(table.Edit());
        ASSERT_TRUE(table.SetFieldValue(0, word));
        ASSERT_TRUE(table.Post());
    }

    vbtest::TempHome home;
    std::string path = home.File("tmp.tmp");
    TSdfDataSet table;
};

TEST_F(UnicodeTable, GermanDictionaryIsSearchedEditedAndSavedWithItsMark)
{
    OpenOn(kBom + "Apfel|яблоко\r\nMädchen|девочка\r\nStraße|улица\r\n");
    EXPECT_EQ(table.Encoding(), DictionaryEncoding::Utf8Bom);
    // Widths count characters: "Mädchen|девочка" is the longest line, 15 characters.
    EXPECT_EQ(table.Field(0).width, 15);
    EXPECT_EQ(table.RowFieldValue(1, 1), "девочка");
    EXPECT_TRUE(FindWord(table, "Слово", "mäd", true, true));
    EXPECT_EQ(table.CurrentLine(), 1);
    EXPECT_TRUE(FindWord(table, "Слово", "STRASSE", true, false) == false);
    EXPECT_TRUE(FindWord(table, "Слово", "straße", true, false));
    EXPECT_EQ(table.CurrentLine(), 2);
    EXPECT_FALSE(FindWord(table, "Слово", "mäd", false, true)); // case-sensitive: "M" differs

    SetWord(0, "Äpfel und Birnen sind lecker"); // cut to 15 characters, not bytes
    ASSERT_TRUE(table.Close());
    EXPECT_FALSE(table.EncodingChanged());
    EXPECT_EQ(ReadBytes(path), kBom + "Äpfel und Birne|яблоко\r\nMädchen|девочка\r\nStraße|улица\r\n");
}

TEST_F(UnicodeTable, A1251DictionaryStays1251UntilItGetsACharacter1251Lacks)
{
    const std::string original = Utf8ToCp1251("house|дом\r\nhedgehog|ёж\r\n");
    OpenOn(original);
    EXPECT_EQ(table.Encoding(), DictionaryEncoding::Cp1251);
    EXPECT_EQ(table.RowFieldValue(1, 1), "ёж");
    SetWord(0, "house");
    ASSERT_TRUE(table.Close());
    EXPECT_FALSE(table.EncodingChanged());
    EXPECT_EQ(ReadBytes(path), original);

    ASSERT_TRUE(table.Open());
    SetWord(0, "Haus ä");
    ASSERT_TRUE(table.Close());
    EXPECT_TRUE(table.EncodingChanged());
    EXPECT_EQ(ReadBytes(path), kBom + "Haus ä|дом\r\nhedgehog|ёж\r\n");
    // Told once: the next open finds UTF-8 and nothing changes any more.
    ASSERT_TRUE(table.Open());
    EXPECT_FALSE(table.EncodingChanged());
    EXPECT_EQ(table.Encoding(), DictionaryEncoding::Utf8Bom);
}

} // namespace
} // namespace vb
