// SPDX-License-Identifier: GPL-3.0-or-later
// The default dictionary is the first thing a new pupil sees, and both the lesson side and the
// dictionary table read it byte by byte. These checks look at the file exactly as it ships.

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBasicWordCount = 850;
constexpr std::size_t kFieldCount = 4;

const std::string& DictionaryPath()
{
    static const std::string path = std::string(VB_SOURCE_DIR) + "/data/dict/dt_basic.lqd";
    return path;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned char Byte(char c)
{
    return static_cast<unsigned char>(c);
}

// Russian letters of Windows-1251: А..я at 0xC0..0xFF, Ё at 0xA8, ё at 0xB8.
bool IsCp1251RussianLetter(unsigned char b)
{
    return b >= 0xC0 || b == 0xA8 || b == 0xB8;
}

struct Line
{
    std::size_t number = 0; // 1-based, for messages
    std::string text; // without its line end
};

// Splits the file at CR LF and records every line end that is not CR LF.
struct SplitFile
{
    std::vector<Line> lines;
    std::vector<std::string> lineEndFaults;
};

SplitFile SplitAtCrLf(const std::string& bytes)
{
    SplitFile result;
    std::string current;
    std::size_t number = 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            result.lines.push_back({number++, current});
            current.clear();
            ++i;
        } else if (c == '\r') {
            result.lineEndFaults.push_back("line " + std::to_string(number) + ": lone CR");
            current += c;
        } else if (c == '\n') {
            result.lineEndFaults.push_back("line " + std::to_string(number) + ": lone LF");
            current += c;
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        result.lineEndFaults.push_back("line " + std::to_string(number) + ": no CR LF at the end of the file");
        result.lines.push_back({number, current});
    }
    return result;
}

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '|')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The file is read once for all tests.
const std::string& Bytes()
{
    static const std::string bytes = ReadBytes(DictionaryPath());
    return bytes;
}

const SplitFile& Split()
{
    static const SplitFile split = SplitAtCrLf(Bytes());
    return split;
}

const std::vector<Line>& Lines()
{
    return Split().lines;
}

const std::vector<std::string>& LineEndFaults()
{
    return Split().lineEndFaults;
}

TEST(BasicDictionary, HoldsAllBasicEnglishWordsOnePerLineWithCrLfEnds)
{
    ASSERT_FALSE(Bytes().empty()) << "missing or empty: " << DictionaryPath();

    EXPECT_TRUE(LineEndFaults().empty()) << LineEndFaults().size() << " line ends are not CR LF, the first at "
                                         << (LineEndFaults().empty() ? std::string() : LineEndFaults().front());

    EXPECT_EQ(Lines().size(), kBasicWordCount);
    for (const Line& line : Lines())
        EXPECT_NE(line.text.find_first_not_of(" \t"), std::string::npos) << "blank line " << line.number;
}

TEST(BasicDictionary, UsesOnlyBytesThatWindows1251Defines)
{
    ASSERT_FALSE(Bytes().empty()) << "missing or empty: " << DictionaryPath();

    // A UTF-8 byte order mark would become part of the first word.
    EXPECT_FALSE(Bytes().starts_with("\xEF\xBB\xBF")) << "the file starts with a byte order mark";

    for (const Line& line : Lines()) {
        for (char c : line.text) {
            const unsigned char b = Byte(c);
            EXPECT_NE(b, 0x98) << "line " << line.number << ": byte 0x98 is undefined in Windows-1251";
            EXPECT_FALSE(b < 0x20 || b == 0x7F) << "line " << line.number << ": control byte " << int(b);
        }
    }
}

TEST(BasicDictionary, EveryEntryHasFourFilledFields)
{
    for (const Line& line : Lines()) {
        const std::vector<std::string> fields = SplitFields(line.text);
        // A "|" inside a value would show up here as a fifth field.
        ASSERT_EQ(fields.size(), kFieldCount) << "line " << line.number << ": " << line.text;
        for (const std::string& field : fields) {
            EXPECT_FALSE(field.empty()) << "line " << line.number << ": empty field";
            EXPECT_FALSE(!field.empty() && (field.front() == ' ' || field.back() == ' '))
                << "line " << line.number << ": spaces around \"" << field << "\"";
        }
        // The table reads a backtick as a quote and the lesson side would keep it.
        EXPECT_EQ(line.text.find('`'), std::string::npos) << "line " << line.number << ": backtick";
    }
}

TEST(BasicDictionary, FieldsAreInTheirExpectedScripts)
{
    for (const Line& line : Lines()) {
        const std::vector<std::string> fields = SplitFields(line.text);
        ASSERT_EQ(fields.size(), kFieldCount) << "line " << line.number;
        const std::string& word = fields[0];
        const std::string& translation = fields[1];
        const std::string& transcription = fields[2];
        const std::string& note = fields[3];

        // Word, transcription and note are plain ASCII; the translation is Russian in
        // Windows-1251. A file saved as UTF-8 fails here, since its Cyrillic letters turn into
        // byte pairs of which the second is no Russian letter.
        for (const std::string* ascii : {&word, &transcription, &note}) {
            for (char c : *ascii)
                EXPECT_LT(Byte(c), 0x80) << "line " << line.number << ": non-ASCII byte in \"" << *ascii << "\"";
        }

        bool hasRussianLetter = false;
        for (char c : translation) {
            const unsigned char b = Byte(c);
            if (b >= 0x80) {
                EXPECT_TRUE(IsCp1251RussianLetter(b))
                    << "line " << line.number << ": byte " << int(b) << " in translation of \"" << word << "\"";
            }
            hasRussianLetter = hasRussianLetter || IsCp1251RussianLetter(b);
        }
        EXPECT_TRUE(hasRussianLetter) << "line " << line.number << ": translation without Russian letters";

        // The lesson side puts the brackets around the transcription itself.
        EXPECT_EQ(transcription.find_first_of("[]"), std::string::npos) << "line " << line.number;
        // A "_" would turn into a space on the lesson side.
        EXPECT_EQ(word.find('_'), std::string::npos) << "line " << line.number;
        EXPECT_EQ(translation.find('_'), std::string::npos) << "line " << line.number;
    }
}

TEST(BasicDictionary, NoWordIsListedTwice)
{
    std::map<std::string, std::size_t> firstLine;
    for (const Line& line : Lines()) {
        const std::string word = SplitFields(line.text)[0];
        const auto [it, inserted] = firstLine.emplace(word, line.number);
        EXPECT_TRUE(inserted) << "\"" << word << "\" on lines " << it->second << " and " << line.number;
    }
}

} // namespace
