// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/dictionary_files.h"

#include "common/codepage.h"
#include "common/files.h"
#include "dictionary/sdf_data.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

using vbtest::ReadBytes;
using vbtest::WriteBytes;

TEST(RecentDictionaries, OpenFirstNoDuplicatesAtMostTen)
{
    auto list = BuildRecentList("/d/B.lqd;/d/c.lqd;/d/a.LQD;trailing", "/d/a.lqd");
    EXPECT_EQ(list.text, "/d/a.lqd;/d/B.lqd;/d/c.lqd;");
    EXPECT_EQ(list.paths, (std::vector<std::string>{"/d/a.lqd", "/d/B.lqd", "/d/c.lqd"}));
    // Cyrillic letters fold too.
    EXPECT_EQ(BuildRecentList("/д/СЛОВА.lqd;", "/д/слова.LQD").paths.size(), 1u);
    EXPECT_EQ(BuildRecentList("/и.lqd;", "/Ш.lqd").paths.size(), 2u); // bytes of other letters do not fold

    std::string ten;
    for (int i = 0; i < 10; ++i) {
        ten += "/p" + std::to_string(i) + ";";
    }
    list = BuildRecentList(ten, "/new");
    ASSERT_EQ(list.paths.size(), 10u);
    EXPECT_EQ(list.paths.back(), "/p8"); // the oldest is dropped
    EXPECT_EQ(BuildRecentList(ten, "/p9").paths[1], "/p0"); // reopening one keeps all ten
    EXPECT_EQ(BuildRecentList("", "/x").text, "/x;");
}

TEST(FontsFile, PathRoundTripAndShortOrBadFiles)
{
    EXPECT_EQ(FontsFilePath(vbtest::NativePath("/a.b/dict.lqd")), vbtest::NativePath("/a.b/dict.lqf"));
    EXPECT_EQ(FontsFilePath(vbtest::NativePath("/a.b/dict")), vbtest::NativePath("/a.b/dict.lqf"));

    DictionaryFonts saved{"MS Sans Serif", 0, "Times New Roman", 204, "PhoneticTM", 2, 1, 3, 1};
    const std::string text = FontsText(saved);
    EXPECT_EQ(text, "MS Sans Serif\r\n0\r\nTimes New Roman\r\n204\r\nPhoneticTM\r\n2\r\n1\r\n3\r\n1");
    DictionaryFonts loaded;
    EXPECT_EQ(ApplyFontsText(text, loaded), 9);
    EXPECT_EQ(FontsText(loaded), text);

    DictionaryFonts six; // the defaults stay past line 6
    six.wordFont = "Arial";
    EXPECT_EQ(ApplyFontsText("A\r\n1\r\nB\r\n2\r\nC\r\n3\r\n", six), 6);
    EXPECT_EQ(six.trscFont, "C");
    EXPECT_EQ(six.trscCharset, 3);
    EXPECT_EQ(six.tesFontSH, 0);
    EXPECT_EQ(six.layoutTrsl, 1);

    DictionaryFonts bad;
    EXPECT_EQ(ApplyFontsText("A\r\n1\r\nB\r\nx7\r\nC\r\n3", bad), 3);
    EXPECT_EQ(bad.trslFont, "B"); // applied before the bad line
    EXPECT_EQ(bad.trslCharset, 204);
    EXPECT_EQ(bad.trscFont, "");
    EXPECT_EQ(ApplyFontsText("A\r\n300", bad), 1); // no character set
    EXPECT_EQ(ApplyFontsText("", bad), 1); // an empty name keeps the font, the empty number stops
    EXPECT_EQ(bad.wordFont, "A");
}

TEST(FontsFile, NamesAreCp1251OnDiskAndNumbersTakeOneSign)
{
    // Names are native text inside and 1251 in the file, both ways.
    DictionaryFonts cyrillic{"Времена Нью", 204, "Arial", 204, "Шрифт", 1, 0, 1, 1};
    const std::string text = FontsText(cyrillic);
    EXPECT_EQ(text, Utf8ToCp1251("Времена Нью\r\n204\r\nArial\r\n204\r\nШрифт\r\n1\r\n0\r\n1\r\n1"));
    DictionaryFonts loaded;
    EXPECT_EQ(ApplyFontsText(text, loaded), 9);
    EXPECT_EQ(loaded.wordFont, "Времена Нью");
    EXPECT_EQ(loaded.trscFont, "Шрифт");

    // A name 1251 cannot hold keeps its characters rather than turning into question marks.
    DictionaryFonts other;
    other.wordFont = "文泉驿 Ω";
    DictionaryFonts back;
    EXPECT_EQ(ApplyFontsText(FontsText(other), back), 9);
    EXPECT_EQ(back.wordFont, "文泉驿 Ω");

    // One sign at most: "+-1" and "-+1" are no numbers and end the reading; "+5" and " 7" are numbers.
    DictionaryFonts signs;
    EXPECT_EQ(ApplyFontsText("A\r\n+5\r\nB\r\n 7\r\nC\r\n9\r\n1\r\n+-1\r\n2", signs), 7);
    EXPECT_EQ(signs.wordCharset, 5);
    EXPECT_EQ(signs.trslCharset, 7);
    EXPECT_EQ(signs.tesFontSH, 1);
    EXPECT_EQ(signs.layoutWord, 0); // unchanged
    EXPECT_EQ(ApplyFontsText("A\r\n1\r\nB\r\n2\r\nC\r\n3\r\n0\r\n-+1", signs), 7);
    EXPECT_EQ(ApplyFontsText("A\r\n1\r\nB\r\n2\r\nC\r\n3\r\n0\r\n-2\r\n99999999999999999999", signs), 8);
    EXPECT_EQ(signs.layoutWord, -2);
    EXPECT_EQ(ApplyFontsText("A\r\n-\r\n", signs), 1);
}

TEST(FontsFile, SavingRefusesAReadOnlyFile)
{
    vbtest::TempHome home;
    const std::string path = home.File("d.lqf");
    ASSERT_TRUE(SaveFontsFile(path, DictionaryFonts{}));
    WriteBytes(path, "old");
    SetReadOnly(path, true);
    EXPECT_FALSE(SaveFontsFile(path, DictionaryFonts{}));
    EXPECT_EQ(ReadBytes(path), "old");
    DictionaryFonts fonts;
    EXPECT_FALSE(LoadFontsFile(home.File("none.lqf"), fonts));
}

TEST(DictionaryFiles, WorkingCopyAndReadOnlySave)
{
    vbtest::TempHome home;
    const std::string dict = home.File("d.lqd");
    const std::string work = home.File("tmp.tmp");
    WriteBytes(dict, "a|b\r\n");
    SetReadOnly(dict, true);
    ASSERT_TRUE(LoadWorkingCopy(dict, work));
    EXPECT_FALSE(IsReadOnly(work)); // the copy of a protected dictionary is writable
    WriteBytes(work, "changed\r\n");
    EXPECT_FALSE(SaveWorkingCopy(work, dict)); // refused from the mark, also for root
    EXPECT_EQ(ReadBytes(dict), "a|b\r\n");
    SetReadOnly(dict, false);
    EXPECT_TRUE(SaveWorkingCopy(work, dict));
    EXPECT_EQ(ReadBytes(dict), "changed\r\n");
    EXPECT_FALSE(LoadWorkingCopy(home.File("missing.lqd"), work));
    EXPECT_EQ(ReadBytes(work), "changed\r\n");

    // The bytes handed over are the copy's, and a table opened on them is the table of the file.
    const std::string cp1251 = Utf8ToCp1251("house|Дом\r\nsun|солнце|[sʌn]\r\n");
    WriteBytes(dict, cp1251);
    std::string bytes = "stale";
    ASSERT_TRUE(LoadWorkingCopy(dict, work, bytes));
    EXPECT_EQ(bytes, cp1251);
    EXPECT_EQ(ReadBytes(work), cp1251);
    TSdfDataSet fromBytes;
    TSdfDataSet fromFile;
    for (TSdfDataSet* table : {&fromBytes, &fromFile}) {
        table->SetFileName(work);
        table->SetDelimiter('|');
        table->SetSchema({"word", "translate", "transcription", "tesaurus"});
    }
    ASSERT_TRUE(fromBytes.Open(bytes));
    ASSERT_TRUE(fromFile.Open());
    ASSERT_EQ(fromBytes.RecordCount(), 2);
    for (int row = 0; row < 2; ++row) {
        for (int field = 0; field < 4; ++field) {
            EXPECT_EQ(fromBytes.RowFieldValue(row, field), fromFile.RowFieldValue(row, field));
        }
    }
    EXPECT_EQ(fromBytes.RowFieldValue(1, 1), "солнце");
    EXPECT_EQ(fromBytes.Encoding(), fromFile.Encoding());
    EXPECT_FALSE(LoadWorkingCopy(home.File("missing.lqd"), work, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(DictionaryFiles, NewDictionaryInheritsTheFonts)
{
    vbtest::TempHome home;
    WriteBytes(home.File("old.lqf"), "fonts");
    WriteBytes(home.File("new.lqf"), "stale");
    SetReadOnly(home.File("new.lqf"), true);
    PrepareNewDictionary(home.File("old.lqd"), home.File("new.lqd"));
    EXPECT_EQ(ReadBytes(home.File("new.lqf")), "fonts");
    EXPECT_FALSE(IsReadOnly(home.File("new.lqf")));
    PrepareNewDictionary(home.File("none.lqd"), home.File("other.lqd")); // nothing to copy
    EXPECT_FALSE(FileExists(home.File("other.lqf")));
}

TEST(DictionarySearch, ColumnChoiceAndMatch)
{
    vbtest::TempHome home;
    WriteBytes(home.File("t"), Utf8ToCp1251("house|Дом\r\nhouses|дома\r\n"));
    TSdfDataSet table;
    table.SetFileName(home.File("t"));
    table.SetDelimiter('|');
    table.SetSchema({"word", "translate", "transcription", "tesaurus"});
    ASSERT_TRUE(table.Open());
    const std::string translation = "Перевод";
    EXPECT_TRUE(FindWord(table, translation, "дом", true, true));
    EXPECT_EQ(table.CurrentLine(), 0);
    EXPECT_TRUE(FindWord(table, translation, "дома", false, false));
    EXPECT_EQ(table.CurrentLine(), 1);
    table.First();
    EXPECT_FALSE(FindWord(table, "other", "house", true, true));
    EXPECT_EQ(table.CurrentLine(), 0); // no search took place
    EXPECT_TRUE(FindWord(table, "Слово", " houses ", false, false));
}

} // namespace
} // namespace vb
