// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/line_format.h"

#include "common/strings.h"

#include <gtest/gtest.h>

#include <random>

namespace vb {
namespace {

using namespace std::string_literals;

DictionaryRecord Rec(std::string w, std::string t = "", std::string tr = "", std::string th = "")
{
    return DictionaryRecord{std::move(w), std::move(t), std::move(tr), std::move(th)};
}

TEST(SplitTextLines, EveryKindOfLineEnd)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitTextLines(""), Lines{});
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"})); // no final line end needed
    EXPECT_EQ(SplitTextLines("a\r\n"), Lines{"a"}); // no empty last line
    EXPECT_EQ(SplitTextLines("a\n\r\nb\r\r"), (Lines{"a", "", "b", ""}));
    EXPECT_EQ(SplitTextLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitTextLines("\n\r"), (Lines{"", ""})); // LF then a lone CR
    EXPECT_EQ(SplitTextLines("a\r\nb\0c\r\nd"s), (Lines{"a", "b"})); // a NUL ends the text
    EXPECT_EQ(SplitTextLines("\0abc"s), Lines{});
}

TEST(LineToRecord, FieldsInOrderAndShortLines)
{
    EXPECT_EQ(LineToRecord("dog|собака|d0g|a pet"), Rec("dog", "собака", "d0g", "a pet"));
    EXPECT_EQ(LineToRecord("a|b"), Rec("a", "b"));
    EXPECT_EQ(LineToRecord(""), Rec(""));
    EXPECT_EQ(LineToRecord("||"), Rec(""));
    EXPECT_EQ(LineToRecord("|||x"), Rec("", "", "", "x"));
    EXPECT_EQ(LineToRecord("a|b|c|d|extra|more"), Rec("a", "b", "c", "d"));
    // Leading blanks of every field are lost, inner and trailing ones stay.
    EXPECT_EQ(LineToRecord("  dog|  \t собака  моя |"), Rec("dog", "собака  моя "));
    EXPECT_EQ(LineToRecord("a|   "), Rec("a"));
}

TEST(LineToRecord, Quoting)
{
    EXPECT_EQ(LineToRecord("`abc`"), Rec("abc"));
    EXPECT_EQ(LineToRecord("w|`x|y`|tr"), Rec("w", "x|y", "tr"));
    // No closing backtick: the field takes the rest of the line, "|" included.
    EXPECT_EQ(LineToRecord("`ab|cd"), Rec("`ab|cd"));
    // Only a backtick that ends the field closes it.
    EXPECT_EQ(LineToRecord("`a`b`|c"), Rec("a`b", "c"));
    // Bytes between the closing backtick and the next "|" are skipped.
    EXPECT_EQ(LineToRecord("`a`\r junk|b"), Rec("a", "b"));
    EXPECT_EQ(LineToRecord("``|x"), Rec("", "x"));
    EXPECT_EQ(LineToRecord("a|`"), Rec("a", "`"));
    // A NUL ends the line.
    EXPECT_EQ(LineToRecord("a|b\0|c"s), Rec("a", "b"));
}

TEST(RecordToLine, TrimsQuotesAndCutsTrailingSeparators)
{
    EXPECT_EQ(RecordToLine(Rec("a", "b")), "a|b");
    EXPECT_EQ(RecordToLine(Rec("cat")), "cat");
    EXPECT_EQ(RecordToLine(Rec("", "", "", "x")), "|||x");
    EXPECT_EQ(RecordToLine(Rec("")), "");
    EXPECT_EQ(RecordToLine(Rec("  dog\t", " собака ", "\r", " ")), "dog|собака");
    EXPECT_EQ(RecordToLine(Rec("w", "x|y")), "w|`x|y`");
    EXPECT_EQ(RecordToLine(Rec("|")), "`|`");
    // Bytes the line format cannot carry inside a value become spaces instead of breaking the file.
    EXPECT_EQ(RecordToLine(Rec("a\r\nb", "c\0d"s)), "a  b|c d");
}

// A value as it reads back: trimmed, and, when quoted, with a space after a backtick that precedes a "|"
// (the format has no escape for it, and unchanged it would end the quote and shift the later fields).
std::string Written(const std::string& value)
{
    std::string v = TrimControl(value);
    if (v.find('|') != std::string::npos || (!v.empty() && v.front() == '`')) {
        for (auto pos = v.find("`|"); pos != std::string::npos; pos = v.find("`|", pos + 2)) {
            v.insert(pos + 1, 1, ' ');
        }
    }
    return v;
}

TEST(RecordToLine, WhatIsWrittenReadsBackTheSame)
{
    const std::vector<DictionaryRecord> records = {
        Rec("dog", "собака", "d0g", "a pet"),
        Rec("w", "x|y", "a|b|c", "|"),
        Rec("", "", "", "x"),
        Rec("`tick", "b"),
        Rec("`", "`"),
        Rec("a`", "`b`"),
        Rec("x|y`"),
        Rec(""),
    };
    for (const auto& r : records) {
        EXPECT_EQ(LineToRecord(RecordToLine(r)), r) << RecordToLine(r);
    }
    // A backtick before a "|" keeps the entry's fields in place.
    EXPECT_EQ(RecordToLine(Rec("a`|b", "c")), "`a` |b`|c");
    EXPECT_EQ(LineToRecord(RecordToLine(Rec("a`|b", "c"))), Rec("a` |b", "c"));

    // Random values of safe bytes survive the trip once trimmed as the writer trims them.
    std::mt19937 random(7);
    const std::string alphabet = "ab |`_[]\xE0\xFF";
    for (int round = 0; round < 2000; ++round) {
        DictionaryRecord r;
        for (std::string* f : {&r.word, &r.translate, &r.transcription, &r.tesaurus}) {
            for (int n = random() % 6; n > 0; --n) {
                *f += alphabet[random() % alphabet.size()];
            }
        }
        EXPECT_EQ(LineToRecord(RecordToLine(r)),
                  Rec(Written(r.word), Written(r.translate), Written(r.transcription), Written(r.tesaurus)))
            << RecordToLine(r);
    }
}

TEST(RecordsToText, EveryLineEndsInCrLf)
{
    EXPECT_EQ(RecordsToText({}), "");
    EXPECT_EQ(RecordsToText({Rec("a", "b"), Rec(""), Rec("c")}), "a|b\r\n\r\nc\r\n");

    // A file without a final line end, with a blank line, read and written by the table.
    std::vector<DictionaryRecord> table;
    for (const auto& line : SplitTextLines("a|b\n\nc|d")) {
        table.push_back(LineToRecord(line));
    }
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1], Rec("")); // a blank row in the grid
    EXPECT_EQ(RecordsToText(table), "a|b\r\n\r\nc|d\r\n");
}

TEST(SplitDictionaryLine, LessonSideReading)
{
    EXPECT_EQ(SplitDictionaryLine("to_be|быть|bi:|verb_form"), Rec("to be", "быть", "[bi:]", "verb_form"));
    EXPECT_EQ(SplitDictionaryLine("hi|привет|[[hi]"), Rec("hi", "привет", "[hi]"));
    EXPECT_EQ(SplitDictionaryLine("a"), Rec("a"));
    EXPECT_EQ(SplitDictionaryLine("a|"), Rec("a"));
    EXPECT_EQ(SplitDictionaryLine("a|b|c|d|e|f"), Rec("a", "b", "[c]", "d"));
    EXPECT_EQ(SplitDictionaryLine("|||x"), Rec("", "", "", "x"));
    // Backticks mean nothing here: the quoted "x|y" is split.
    EXPECT_EQ(SplitDictionaryLine("w|`x|y`"), Rec("w", "`x", "[y`]"));
    EXPECT_EQ(SplitDictionaryLine("a|b\0|c"s), Rec("a", "b"));
}

TEST(ReadLessonEntries, SkipsBlankLinesAndIndentation)
{
    const std::string file = "\r\n  dog|собака\r\n\r\n\t\tcat|кошка|k{t\rlone|cr\nlast|no end";
    const auto entries = ReadLessonEntries(file);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], Rec("dog", "собака"));
    EXPECT_EQ(entries[1], Rec("cat", "кошка", "[k{t]"));
    EXPECT_EQ(entries[2], Rec("lone", "cr"));
    EXPECT_EQ(entries[3], Rec("last", "no end"));

    EXPECT_TRUE(ReadLessonEntries("").empty());
    EXPECT_TRUE(ReadLessonEntries(" \r\n\t\r\n ").empty());
    EXPECT_EQ(ReadLessonEntries("a|b\r\nc|d\0e|f\r\n"s).size(), 2u);
    EXPECT_TRUE(ReadLessonEntries("\0a|b"s).empty());
    // The trailing blanks of a line are part of its last field.
    EXPECT_EQ(ReadLessonEntries("a|b  \r\n")[0], Rec("a", "b  "));
}

} // namespace
} // namespace vb
