// SPDX-License-Identifier: GPL-3.0-or-later
// The readers and writers of the converter: dictionary files, CSV and KVTML.

#include "convert/converter.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

namespace {

using vb::VocabEntry;

const std::string kBom = "\xEF\xBB\xBF";

TEST(LqdText, SingleByteWhenEveryCharacterFitsElseUnicodeWithTheMark)
{
    EXPECT_EQ(vb::EncodeLqdText("dog|собака\r\n"), "dog|\xF1\xEE\xE1\xE0\xEA\xE0\r\n");
    EXPECT_EQ(vb::EncodeLqdText("Straße|улица\r\n"), kBom + "Straße|улица\r\n");
    // U+FFFD has no 1251 form even though 1251's hole 0x98 reads as it.
    EXPECT_EQ(vb::EncodeLqdText("\xEF\xBF\xBD"), kBom + "\xEF\xBF\xBD");

    EXPECT_EQ(vb::DecodeLqdText("\xF1\xEE\xE1\xE0\xEA\xE0"), "собака");
    EXPECT_EQ(vb::DecodeLqdText("собака"), "собака");
    EXPECT_EQ(vb::DecodeLqdText(kBom + "dog"), "dog");
    EXPECT_EQ(vb::DecodeLqdText(kBom + "a\xFF"), "a\xEF\xBF\xBD"); // a marked file stays UTF-8, repaired
}

TEST(LqdText, ReadsAsTheTableAndRefusesWhatItCannotReadBack)
{
    const auto read = vb::ReadLqd("dog|собака\r\n\r\n  cat|`a|b`|kæt\r\n");
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read.entries.size(), 2u); // the blank line is no entry
    EXPECT_EQ(read.entries[1], (VocabEntry{"cat", "a|b", "kæt", ""}));

    std::string out;
    std::string error;
    ASSERT_TRUE(vb::LqdBytes({{"a|b", "x\ny", "", ""}, {"", "", "", ""}, {"w", "", "", "n"}}, out, error));
    EXPECT_EQ(out, "`a|b`|x y\r\nw|||n\r\n");

    EXPECT_FALSE(vb::LqdBytes({{"ok", "", "", ""}, {"a`|b", "", "", ""}}, out, error));
    EXPECT_NE(error.find("запись 2"), std::string::npos) << error;
    // A value in backticks is quoted once more, and comes back.
    ASSERT_TRUE(vb::LqdBytes({{"`quoted`", "", "", ""}}, out, error));
    EXPECT_EQ(vb::ReadLqd(out).entries[0].word, "`quoted`");
}

class DefaultDictionary : public ::testing::Test
{
protected:
    void SetUp() override { original = vbtest::ReadBytes(std::string(VB_SOURCE_DIR) + "/data/dict/dt_basic.lqd"); }

    // Writes the entries as the format, reads them back and writes the dictionary file again.
    std::string Through(vb::VocabFormat format)
    {
        const auto read = vb::ReadLqd(original);
        EXPECT_TRUE(read.ok());
        EXPECT_GT(read.entries.size(), 800u);
        std::string bytes;
        std::string error;
        EXPECT_TRUE(vb::VocabularyBytes(read.entries, format, {}, "dt_basic", bytes, error)) << error;
        const auto back = format == vb::VocabFormat::Kvtml ? vb::ReadKvtml(bytes) : vb::ReadCsv(bytes);
        EXPECT_TRUE(back.ok()) << back.error;
        std::string lqd;
        EXPECT_TRUE(vb::LqdBytes(back.entries, lqd, error)) << error;
        return lqd;
    }

    std::string original;
};

TEST_F(DefaultDictionary, ComesBackByteForByteThroughKvtmlAndCsv)
{
    ASSERT_FALSE(original.empty());
    EXPECT_TRUE(Through(vb::VocabFormat::Kvtml) == original);
    EXPECT_TRUE(Through(vb::VocabFormat::Csv) == original);
    EXPECT_TRUE(Through(vb::VocabFormat::Tsv) == original);
}

TEST(Csv, QuotedFieldsMarkAndHeaderLines)
{
    const std::string text = kBom + "#separator:tab\n#html:false\n#deck:Deutsch\n"
                                    "\"Haus, das\"\t\"дом\nздание\"\t\t\"он сказал \"\"да\"\"\"\r\n"
                                    "\n"
                                    "a <b> c\tx\n";
    const auto read = vb::ReadCsv(text);
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(read.entries[0], (VocabEntry{"Haus, das", "дом здание", "", "он сказал \"да\""}));
    EXPECT_EQ(read.entries[1].word, "a <b> c"); // "#html:false": markup stays text

    const auto table = vb::ParseCsv(text);
    EXPECT_EQ(table.separator, '\t');
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rowLines[1], 7u); // the quoted line break and the blank line count
}

TEST(Csv, HtmlMarkupIsReducedToText)
{
    const auto declared = vb::ReadCsv("#html:true\nthe <b>cat</b>,кошка<br>кот &amp; &#1082;&#x43E;&nbsp;t\n");
    ASSERT_EQ(declared.entries.size(), 1u);
    EXPECT_EQ(declared.entries[0].word, "the cat");
    EXPECT_EQ(declared.entries[0].translation, "кошка кот & ко t");
    // Without a header line, fields holding markup are reduced and plain "<" stays.
    const auto guessed = vb::ReadCsv("<div>dog</div>,a < b\n");
    ASSERT_EQ(guessed.entries.size(), 1u);
    EXPECT_EQ(guessed.entries[0].word, "dog");
    EXPECT_EQ(guessed.entries[0].translation, "a < b");
    EXPECT_EQ(vb::HtmlToText("&#0;&#99999999;<unclosed"), "\xEF\xBF\xBD\xEF\xBF\xBD<unclosed");
}

TEST(Csv, ColumnsSeparatorsEncodingAndErrors)
{
    vb::CsvOptions options;
    ASSERT_TRUE(vb::ParseCsvColumns("note,-,word,translation,note", options.columns));
    options.headerRow = true;
    const auto mapped = vb::ReadCsv("n;id;w;t;m\nпример;7;dog;собака;ещё\n;;;;\n", options);
    ASSERT_TRUE(mapped.ok());
    ASSERT_EQ(mapped.entries.size(), 1u); // the empty row is no entry
    EXPECT_EQ(mapped.entries[0], (VocabEntry{"dog", "собака", "", "пример; ещё"}));
    EXPECT_FALSE(vb::ParseCsvColumns("word,meaning", options.columns));

    // Windows-1251 bytes that are not UTF-8.
    const auto cp1251 = vb::ReadCsv("dog,\xF1\xEE\xE1\xE0\xEA\xE0\n");
    ASSERT_EQ(cp1251.entries.size(), 1u);
    EXPECT_EQ(cp1251.entries[0].translation, "собака");

    const auto unclosed = vb::ReadCsv("a,b\nc,\"d\ne\n");
    EXPECT_FALSE(unclosed.ok());
    EXPECT_NE(unclosed.error.find("строка 2"), std::string::npos) << unclosed.error;

    char sep = 0;
    EXPECT_TRUE(vb::ParseCsvSeparator("semicolon", sep));
    EXPECT_EQ(sep, ';');
    EXPECT_FALSE(vb::ParseCsvSeparator("\"", sep));
}

TEST(Csv, WrittenValuesComeBackWhateverTheyHold)
{
    const std::vector<VocabEntry> entries{{"#separator:tab", "a,b", " lead", "say \"hi\""},
                                          {"line\nbreak", "", "", "x;y"}};
    for (const char sep : {',', '\t', ';'}) {
        const auto back = vb::ReadCsv(vb::CsvBytes(entries, sep));
        ASSERT_TRUE(back.ok()) << back.error;
        ASSERT_EQ(back.entries.size(), 2u) << sep;
        EXPECT_EQ(back.entries[0], (VocabEntry{"#separator:tab", "a,b", "lead", "say \"hi\""}));
        EXPECT_EQ(back.entries[1].word, "line break");
        EXPECT_EQ(back.entries[1].note, "x;y");
    }
}

std::string Kvtml(const std::string& identifiers, const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml version=\"2.0\">\n<identifiers>" + identifiers +
           "</identifiers>\n<entries>" + entries +
           "</entries>\n<lessons><container><entry id=\"0\"/></container></lessons></kvtml>\n";
}

TEST(KvtmlReader, OneIdentifierGivesWordAndNote)
{
    const auto read =
        vb::ReadKvtml(Kvtml("<identifier id=\"0\"><locale>de</locale></identifier>",
                            "<entry id=\"0\"><translation id=\"0\"><text>Katze</text>"
                            "<comment>schnurrt</comment></translation></entry>"
                            "<entry id=\"1\"><translation id=\"0\"><text> </text></translation></entry>"
                            "<entry id=\"2\"><translation id=\"0\"><text>B&#xE4;r</text></translation></entry>"));
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(read.entries[0], (VocabEntry{"Katze", "", "", "schnurrt"}));
    EXPECT_EQ(read.entries[1].word, "Bär");
}

TEST(KvtmlReader, TwoIdentifiersAndTheChosenPair)
{
    const std::string file =
        Kvtml("<identifier id=\"0\"><name>English</name></identifier><identifier id=\"1\"><name>Русский</name>"
              "</identifier><identifier id=\"2\"><locale>de</locale></identifier>",
              "<entry id=\"0\"><translation id=\"0\"><text>dog</text><pronunciation>dɒɡ</pronunciation>"
              "<example>a dog barks</example><conjugation><text>not this</text></conjugation></translation>"
              "<translation id=\"1\"><text>собака</text><comment>животное</comment></translation>"
              "<translation id=\"2\"><text>Hund</text></translation></entry>");
    vb::KvtmlInfo info;
    const auto first = vb::ReadKvtml(file, {}, &info);
    ASSERT_TRUE(first.ok()) << first.error;
    ASSERT_EQ(first.entries.size(), 1u);
    EXPECT_EQ(first.entries[0], (VocabEntry{"dog", "собака", "dɒɡ", "a dog barks; животное"}));
    EXPECT_EQ(info.identifierNames, (std::vector<std::string>{"English", "Русский", "de"}));

    const auto pair = vb::ReadKvtml(file, {"2", "1"});
    ASSERT_EQ(pair.entries.size(), 1u);
    EXPECT_EQ(pair.entries[0].word, "Hund");
    EXPECT_EQ(pair.entries[0].translation, "собака");
    EXPECT_FALSE(vb::ReadKvtml(file, {"0", "7"}).ok());
}

TEST(KvtmlReader, BrokenFilesAreRefusedWithTheLine)
{
    const auto broken = vb::ReadKvtml("<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\">\n<entries>\n</kvtml>\n");
    EXPECT_FALSE(broken.ok());
    EXPECT_NE(broken.error.find("строка 4"), std::string::npos) << broken.error;

    const auto badUtf8 = vb::ReadKvtml("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml>\n<x>\xFF</x></kvtml>");
    EXPECT_NE(badUtf8.error.find("строка 3"), std::string::npos) << badUtf8.error;

    EXPECT_FALSE(vb::ReadKvtml("<kvtml version=\"1.0\"><e><o>a</o></e></kvtml>").ok());
    EXPECT_FALSE(vb::ReadKvtml("<html/>").ok());
    EXPECT_FALSE(vb::ReadKvtml("").ok());

    // Windows-1251 declared in the file.
    const auto cp1251 = vb::ReadKvtml(
        "<?xml version=\"1.0\" encoding=\"windows-1251\"?><kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/>"
        "</identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>\xEA\xEE\xF2</text></translation>"
        "</entry></entries></kvtml>");
    ASSERT_EQ(cp1251.entries.size(), 1u) << cp1251.error;
    EXPECT_EQ(cp1251.entries[0].word, "кот");
}

TEST(KvtmlWriter, EscapesMarkupAndDropsControlCharacters)
{
    const std::vector<VocabEntry> entries{{"<a & b>", "\"q\"", "t\x01", "n"}, {"bad \xFF", "", "", ""}};
    const auto back = vb::ReadKvtml(vb::KvtmlBytes(entries));
    ASSERT_TRUE(back.ok()) << back.error;
    ASSERT_EQ(back.entries.size(), 2u);
    EXPECT_EQ(back.entries[0], (VocabEntry{"<a & b>", "\"q\"", "t", "n"}));
    EXPECT_EQ(back.entries[1].word, "bad \xEF\xBF\xBD");
}

TEST(Formats, FromFileNamesAndCommandLineNames)
{
    EXPECT_EQ(vb::FormatFromPath("a/B.LQD"), vb::VocabFormat::Lqd);
    EXPECT_EQ(vb::FormatFromPath("x.kvtml"), vb::VocabFormat::Kvtml);
    EXPECT_EQ(vb::FormatFromPath("x.tsv"), vb::VocabFormat::Tsv);
    EXPECT_EQ(vb::FormatFromPath("freedict-deu-rus.dict.dz"), vb::VocabFormat::Dict);
    EXPECT_EQ(vb::FormatFromPath("freedict-deu-rus.index"), vb::VocabFormat::Dict);
    EXPECT_EQ(vb::FormatFromPath("notes.txt"), vb::VocabFormat::Unknown);
    EXPECT_EQ(vb::FormatFromName("csv"), vb::VocabFormat::Csv);
    EXPECT_EQ(vb::FormatFromName("CSV"), vb::VocabFormat::Unknown);
}

} // namespace
