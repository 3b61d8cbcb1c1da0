// SPDX-License-Identifier: GPL-3.0-or-later
// DICT dictionaries: a small index and data pair written here, plain and in its dictzip form, and the
// installed German-Russian FreeDict dictionary where it is present.

#include "common/files.h"
#include "convert/converter.h"
#include "convert/dict_reader.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>

namespace {

using vb::VocabEntry;

std::string DictNumber(std::uint64_t v)
{
    static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string s;
    do {
        s.insert(s.begin(), kDigits[v % 64]);
        v /= 64;
    } while (v > 0);
    return s;
}

// Articles and their index lines.
struct DictPair
{
    std::string index;
    std::string data;

    void Add(const std::string& headword, const std::string& article)
    {
        index += headword + "\t" + DictNumber(data.size()) + "\t" + DictNumber(article.size()) + "\n";
        data += article;
    }
};

DictPair SmallDictionary()
{
    DictPair d;
    d.Add("00-database-info", "This is a test dictionary.\n");
    d.Add("haus", "Haus /haʊ̯s/ <n, neut>\nдом 2.\nzu einem bestimmten Zweck erbautes Gebäude\n 3.\nGesamtheit\n");
    d.Add("ab", "ab /ap/ /ab/ <preposition>\n1. из, от\nmit Dativ: von etwas weg\n2. от, с\nvon einem Zeitpunkt\n"
                "3. с\nin Fahrplänen\n");
    d.Add("ohne", "ohne\nбез\n");
    d.Add("äpfel", "Äpfel <pl>\nяблоки\n");
    return d;
}

// gzip with the dictzip header field ("RA": chunk length and sizes), as dictzip writes it.
std::string Dictzip(const std::string& data)
{
    z_stream zs{};
    EXPECT_EQ(deflateInit2(&zs, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    unsigned char extra[] = {'R', 'A', 6, 0, 1, 0, 0xFF, 0xFF, 1, 0};
    gz_header header{};
    header.extra = extra;
    header.extra_len = sizeof extra;
    header.name = reinterpret_cast<Bytef*>(const_cast<char*>("test.dict"));
    deflateSetHeader(&zs, &header);
    std::string out(deflateBound(&zs, data.size()) + 64, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

TEST(DictReader, HeadwordIpaFirstSenseAndFurtherSenses)
{
    const DictPair d = SmallDictionary();
    const auto read = vb::ReadDict(d.index, d.data);
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.entries.size(), 4u); // the database entry is skipped
    EXPECT_EQ(read.entries[0], (VocabEntry{"Haus", "дом", "haʊ̯s", ""}));
    EXPECT_EQ(read.entries[1], (VocabEntry{"ab", "из, от", "ap", "2. от, с; 3. с"}));
    EXPECT_EQ(read.entries[2], (VocabEntry{"ohne", "без", "", ""}));
    EXPECT_EQ(read.entries[3], (VocabEntry{"Äpfel", "яблоки", "", ""})); // the head line's spelling
}

TEST(DictReader, PlainAndDictzipFilesBesideTheIndex)
{
    vbtest::TempHome home;
    const DictPair d = SmallDictionary();
    vbtest::WriteBytes(home.File("plain.index"), d.index);
    vbtest::WriteBytes(home.File("plain.dict"), d.data);
    vbtest::WriteBytes(home.File("zip.index"), d.index);
    vbtest::WriteBytes(home.File("zip.dict.dz"), Dictzip(d.data));

    const auto plain = vb::ReadVocabularyFile(home.File("plain.index"), vb::VocabFormat::Dict, {});
    const auto zipped = vb::ReadVocabularyFile(home.File("zip.dict.dz"), vb::VocabFormat::Dict, {});
    ASSERT_TRUE(plain.ok()) << plain.error;
    ASSERT_TRUE(zipped.ok()) << zipped.error;
    EXPECT_EQ(plain.entries, zipped.entries);
    EXPECT_EQ(plain.entries.size(), 4u);

    vb::ConvertOptions limited;
    limited.limit = 1;
    EXPECT_EQ(vb::ReadVocabularyFile(home.File("zip.index"), vb::VocabFormat::Dict, limited).entries.size(), 1u);
    const auto alone = vb::ReadVocabularyFile(home.File("alone.index"), vb::VocabFormat::Dict, {});
    EXPECT_NE(alone.error.find("alone.index"), std::string::npos) << alone.error;
}

TEST(DictReader, DamagedIndexAndDataAreRefused)
{
    const DictPair d = SmallDictionary();
    // An article past the end of the data names its index line.
    const auto shortData = vb::ReadDict(d.index, d.data.substr(0, 60));
    EXPECT_FALSE(shortData.ok());
    EXPECT_NE(shortData.error.find("строка 2"), std::string::npos) << shortData.error;
    EXPECT_NE(vb::ReadDict("a\tB\tB\n\nb\tB=\tC\n", "xxxx").error.find("строка 3"), std::string::npos);
    EXPECT_FALSE(vb::ReadDict("a\tB\n", "xx").ok()); // no length field
    EXPECT_FALSE(vb::ReadDict("a\tBBBBBBBBBBBB\tB\n", "xx").ok()); // offset beyond any file

    std::uint64_t v = 0;
    ASSERT_TRUE(vb::DecodeDictNumber("BR", v));
    EXPECT_EQ(v, 81u);
    ASSERT_TRUE(vb::DecodeDictNumber("+/", v));
    EXPECT_EQ(v, 62u * 64 + 63);

    const std::string zipped = Dictzip(d.data);
    std::string out;
    std::string error;
    EXPECT_FALSE(vb::InflateDictData(zipped.substr(0, zipped.size() / 2), out, error));
    EXPECT_TRUE(out.empty());
    std::string corrupt = zipped;
    corrupt[corrupt.size() / 2] ^= 0x55;
    corrupt[corrupt.size() / 2 + 1] ^= 0x55;
    EXPECT_FALSE(vb::InflateDictData(corrupt, out, error));
    EXPECT_FALSE(vb::InflateDictData(zipped, out, error, 100)); // more than allowed
    ASSERT_TRUE(vb::InflateDictData(zipped + zipped, out, error));
    EXPECT_EQ(out, d.data + d.data); // gzip members one after another
}

TEST(DictReader, InstalledGermanRussianDictionary)
{
    const std::string index = "/usr/share/dictd/freedict-deu-rus.index";
    if (!vb::FileExists(index)) {
        GTEST_SKIP() << "dict-freedict-deu-rus is not installed";
    }
    const auto start = std::chrono::steady_clock::now();
    const auto read = vb::ReadVocabularyFile(index, vb::VocabFormat::Dict, {});
    ASSERT_TRUE(read.ok()) << read.error;
    std::string lqd;
    std::string error;
    ASSERT_TRUE(vb::LqdBytes(read.entries, lqd, error)) << error;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(read.entries.size(), 22000u);
    std::size_t withIpa = 0;
    for (const auto& e : read.entries) {
        withIpa += !e.transcription.empty();
        EXPECT_FALSE(e.word.starts_with("00database")) << e.word;
    }
    EXPECT_GT(withIpa, read.entries.size() * 9 / 10);
    EXPECT_TRUE(lqd.starts_with("\xEF\xBB\xBF")); // IPA has no 1251 form
    RecordProperty("seconds", std::to_string(seconds));
    std::printf("deu-rus: %zu entries, %zu with IPA, %.2f s\n", read.entries.size(), withIpa, seconds);
}

} // namespace
