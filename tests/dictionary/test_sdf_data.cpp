// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/sdf_data.h"

#include "common/codepage.h"
#include "common/files.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

using vbtest::ReadBytes;
using vbtest::WriteBytes;

// The dictionary table as the program sets it up, on a file with the given bytes.
class SdfTable : public ::testing::Test
{
protected:
    void OpenOn(const std::string& bytes)
    {
        WriteBytes(path, bytes);
        table.SetFileName(path);
        table.SetFileMustExist(false);
        table.SetDelimiter('|');
        table.SetSchema({"word", "translate", "transcription", "tesaurus"});
        ASSERT_TRUE(table.Open()) << table.LastError();
    }
    std::string Word() { return table.FieldValue(0).value_or("<null>"); }
    std::string Cell(int row, int field) { return table.RowFieldValue(row, field); }

    vbtest::TempHome home;
    std::string path = home.File("tmp.tmp");
    TSdfDataSet table;
};

TEST_F(SdfTable, FieldWidthIsTheLongestLineOr250)
{
    OpenOn("cat|kot\r\ndog|sobaka|dg|xy\r\n"); // the second line is 16 bytes
    ASSERT_EQ(table.FieldCount(), 4);
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(table.Field(f).width, 16);
    }
    EXPECT_EQ(table.RecordWidth(), 64);
    table.Close();

    OpenOn("");
    EXPECT_EQ(table.Field(0).width, TFixedFormatDataSet::kDefaultFieldWidth);
    table.Close();
    OpenOn("\r\n\n\r\n"); // only empty lines
    EXPECT_EQ(table.Field(3).width, 250);
    EXPECT_EQ(table.RecordCount(), 3);
}

TEST_F(SdfTable, LongerValueIsCutToTheWidthAndLinesEndInCrLf)
{
    OpenOn("abcdefghijkl|x\r\nb|y"); // 14 bytes, no final line end
    table.First();
    ASSERT_TRUE(table.Edit());
    EXPECT_TRUE(table.SetFieldValue(1, "0123456789abcdefXYZ"));
    EXPECT_EQ(table.FieldValue(1), "0123456789abcd");
    ASSERT_TRUE(table.Post());
    EXPECT_TRUE(table.ChangesPending());
    ASSERT_TRUE(table.Close());
    EXPECT_EQ(ReadBytes(path), "abcdefghijkl|0123456789abcd\r\nb|y\r\n");
}

TEST_F(SdfTable, UnchangedTableIsNotWrittenAndBlankLinesAreRows)
{
    OpenOn("a|1\n\n  \nb|2");
    EXPECT_EQ(table.RecordCount(), 4);
    EXPECT_EQ(Cell(1, 0), "");
    EXPECT_EQ(Cell(2, 0), "");
    EXPECT_EQ(Cell(3, 1), "2");
    ASSERT_TRUE(table.Close());
    EXPECT_EQ(ReadBytes(path), "a|1\n\n  \nb|2"); // untouched: nothing was posted
}

TEST_F(SdfTable, QuotingSurvivesAnEditOfAnotherField)
{
    OpenOn("`x|y`|b\r\nnext\r\n");
    EXPECT_EQ(Cell(0, 0), "x|y");
    table.First();
    table.Edit();
    table.SetFieldValue(2, "tr");
    table.Post();
    table.Close();
    EXPECT_EQ(ReadBytes(path), "`x|y`|b|tr\r\nnext\r\n");
}

TEST_F(SdfTable, DeletingTheLastAndTheOnlyLine)
{
    OpenOn("a\r\nb\r\nc\r\n");
    table.Last();
    ASSERT_TRUE(table.Delete());
    EXPECT_EQ(table.CurrentLine(), 1);
    EXPECT_EQ(Word(), "b");
    table.First();
    ASSERT_TRUE(table.Delete()); // not the last: the next line becomes current
    EXPECT_EQ(Word(), "b");
    ASSERT_TRUE(table.Delete());
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_FALSE(table.HasCurrentRecord());
    EXPECT_FALSE(table.FieldValue(0));
    EXPECT_EQ(table.LastError(), "No Records");
    EXPECT_FALSE(table.Delete());
    ASSERT_TRUE(table.Close());
    EXPECT_EQ(ReadBytes(path), "");
}

TEST_F(SdfTable, InsertAppendCancelAndRecordIds)
{
    int deletes = 0;
    int updates = 0;
    table.events.AfterDelete = [&] { ++deletes; };
    table.events.OnUpdateData = [&] { ++updates; };
    OpenOn("a\r\nb\r\n123\r\n");
    table.MoveTo(1);
    EXPECT_EQ(table.RecNo(), 2);
    ASSERT_TRUE(table.Insert()); // before "b"
    EXPECT_EQ(table.RowCount(), 4);
    EXPECT_EQ(table.CurrentRow(), 1);
    table.SetFieldValue(0, "new");
    EXPECT_EQ(Cell(1, 0), "new");
    EXPECT_EQ(Cell(2, 0), "b");
    ASSERT_TRUE(table.Post());
    EXPECT_EQ(table.RecNo(), 4); // LastRecordId + 1
    EXPECT_EQ(updates, 1);

    ASSERT_TRUE(table.Append());
    EXPECT_EQ(table.CurrentRow(), 4);
    table.Cancel();
    EXPECT_EQ(table.RowCount(), 4);
    EXPECT_EQ(table.State(), DataSetState::Browse);

    // An unchanged new record is dropped when the cursor moves on; a changed edit is posted.
    table.Append();
    table.First();
    EXPECT_EQ(table.RecordCount(), 4);
    table.Edit();
    table.SetFieldValue(1, "x");
    table.Next();
    EXPECT_EQ(updates, 2);
    table.First();
    EXPECT_EQ(table.FieldValue(1), "x");

    table.Delete();
    EXPECT_EQ(deletes, 1);
    ASSERT_TRUE(table.Close());
    EXPECT_EQ(ReadBytes(path), "new\r\nb\r\n123\r\n");
}

// Every move posts a changed new record first and then moves over the lines as they are then.
TEST_F(SdfTable, MovesFinishTheEditBeforeCountingTheLines)
{
    OpenOn("a\r\n");
    ASSERT_TRUE(table.Append());
    table.SetFieldValue(0, "b");
    table.Last();
    EXPECT_EQ(table.RecNo(), 2);
    EXPECT_EQ(Word(), "b");
    table.Close();

    OpenOn("a\r\nb\r\n");
    table.Last();
    ASSERT_TRUE(table.Insert()); // before "b"
    table.SetFieldValue(0, "x");
    table.Last();
    EXPECT_EQ(Word(), "b");
    EXPECT_EQ(table.RecNo(), 2);
    ASSERT_TRUE(table.Delete()); // the entry under the cursor, not the new one
    table.Close();
    EXPECT_EQ(ReadBytes(path), "a\r\nx\r\n");

    OpenOn("a\r\nb\r\n");
    table.First();
    ASSERT_TRUE(table.Insert());
    table.SetFieldValue(0, "x");
    table.Next(); // from the posted "x" to "a"
    EXPECT_EQ(Word(), "a");
    ASSERT_TRUE(table.Append());
    table.SetFieldValue(0, "z");
    table.Prior(); // from the posted "z" to "b"
    EXPECT_EQ(Word(), "b");
    ASSERT_TRUE(table.Append());
    table.SetFieldValue(0, "y");
    table.First();
    EXPECT_EQ(Word(), "x");
    EXPECT_EQ(table.RecordCount(), 5);
    table.Close();

    // Locate sees a changed new record even in a table that had no lines.
    OpenOn("");
    ASSERT_TRUE(table.Append());
    table.SetFieldValue(0, "only");
    EXPECT_TRUE(table.Locate("word", {"only"}, {}));
    EXPECT_EQ(table.RecordCount(), 1);
}

TEST_F(SdfTable, EditOnAnEmptyTableInsertsAndWritingNeedsEditState)
{
    OpenOn("");
    EXPECT_FALSE(table.SetFieldValue(0, "x"));
    EXPECT_EQ(table.LastError(), "Dataset not in edit or insert mode");
    ASSERT_TRUE(table.Edit());
    EXPECT_EQ(table.State(), DataSetState::Insert);
    ASSERT_TRUE(table.Post());
    ASSERT_TRUE(table.Close());
    EXPECT_EQ(ReadBytes(path), "\r\n"); // one empty entry
}

TEST_F(SdfTable, LocateWithAndWithoutOptionsOnCyrillic)
{
    OpenOn(Utf8ToCp1251("cat|кошка\r\ndog|собака\r\nhouse|дом\r\nhome|  Домашний \r\n"));
    const auto find = [&](const char* utf8, bool caseless, bool partial) {
        return table.Locate("translate", {std::string(utf8)}, LocateOptions{caseless, partial});
    };
    EXPECT_TRUE(find("СОБАКА", true, false));
    EXPECT_EQ(Word(), "dog");
    EXPECT_TRUE(find("  соб ", true, true));
    EXPECT_FALSE(find("соб", false, false));
    EXPECT_EQ(table.CurrentLine(), 3); // no match: on the last record
    EXPECT_FALSE(find("СОБАКА", false, false));
    EXPECT_TRUE(find("дом", true, true));
    EXPECT_EQ(Word(), "house");
    EXPECT_TRUE(find("ДОМА", true, true));
    EXPECT_EQ(Word(), "home");
    EXPECT_TRUE(find("", false, true)); // an empty value begins every field
    EXPECT_EQ(Word(), "cat");
    EXPECT_TRUE(table.Locate("word, translate", {"dog", "собака"}, {}));
    EXPECT_FALSE(table.Locate("word,translate", {"dog", "cat"}, {}));
    EXPECT_FALSE(table.Locate("nofield", {"x"}, {}));
    EXPECT_FALSE(table.Locate("  ", {"x"}, {}));
}

TEST_F(SdfTable, BookmarksFollowTheirLines)
{
    OpenOn("a\r\nb\r\nc\r\n");
    table.MoveTo(2);
    const auto mark = table.GetBookmark();
    ASSERT_EQ(mark, 3);
    table.First();
    table.Insert();
    table.SetFieldValue(0, "z");
    table.Post();
    table.First();
    ASSERT_TRUE(table.GotoBookmark(*mark));
    EXPECT_EQ(Word(), "c");
    table.Delete();
    EXPECT_FALSE(table.GotoBookmark(*mark));
    EXPECT_EQ(table.LastError(), "Bookmark not found");
}

TEST_F(SdfTable, PropertiesAreRefusedWhileOpenAndMissingFiles)
{
    OpenOn("a");
    EXPECT_FALSE(table.SetFileName("other"));
    EXPECT_FALSE(table.SetDelimiter(','));
    EXPECT_FALSE(table.SetSchema({}));
    EXPECT_FALSE(table.SetTrimSpace(false));
    EXPECT_FALSE(table.SetFirstLineAsSchema(true));
    EXPECT_FALSE(table.SaveFileAs("x"));
    table.Close();

    TSdfDataSet strict;
    strict.SetSchema({"word"});
    strict.SetFileName(home.File("missing.lqd"));
    EXPECT_FALSE(strict.Open()); // FileMustExist by default
    EXPECT_FALSE(strict.Active());
    strict.SetFileMustExist(false);
    EXPECT_TRUE(strict.Open());
    EXPECT_TRUE(FileExists(home.File("missing.lqd")));
}

TEST_F(SdfTable, FailedWriteKeepsTheTableOpen)
{
    OpenOn("a\r\n");
    table.Edit();
    table.SetFieldValue(0, "b");
    table.Post();
    RemoveFile(path);
    ASSERT_TRUE(MakeDirectories(path)); // a folder in the way: the file cannot be replaced
    EXPECT_FALSE(table.Close());
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(Word(), "b");
}

TEST(FixedFormatTable, SlotsSchemaWidthsAndNulls)
{
    vbtest::TempHome home;
    const std::string path = home.File("fixed.txt");
    WriteBytes(path, "ab  cd\r\nxy\r\n");
    TFixedFormatDataSet table;
    table.SetFileName(path);
    table.SetSchema({"first=2", " ", "second=bad", "third=4"});
    ASSERT_TRUE(table.Open());
    ASSERT_EQ(table.FieldCount(), 3);
    EXPECT_EQ(table.Field(1).width, 6); // not a number: the longest line
    EXPECT_EQ(table.Field(2).offset, 8);
    table.Last();
    EXPECT_EQ(table.FieldValue(0), "xy");
    EXPECT_FALSE(table.FieldValue(1)); // its slot starts past the line's end
    table.First();
    EXPECT_EQ(table.FieldValue(1), "  cd");
}

} // namespace
} // namespace vb
