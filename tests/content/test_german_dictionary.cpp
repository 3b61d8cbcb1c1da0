// SPDX-License-Identifier: GPL-3.0-or-later
// The German–Russian dictionary is a Unicode dictionary: UTF-8 with the byte-order mark and CR LF line
// ends, nouns with their article and plural in the note, verbs with their past forms, adjectives with
// their degrees, and IPA transcriptions. These checks read the file as it ships.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Strict UTF-8 (no overlongs, no surrogates); nothing when the text is not UTF-8.
std::optional<std::u32string> DecodeUtf8(const std::string& s)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) {
            return std::nullopt;
        }
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return std::nullopt;
        }
        out += c;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

struct Entry
{
    std::size_t line = 0;
    std::u32string word, translation, transcription, note;
};

std::vector<std::u32string> Split(const std::u32string& text, const std::u32string& separator)
{
    std::vector<std::u32string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::u32string::npos; start = at + separator.size()) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string Utf8(const std::u32string& s)
{
    std::string out;
    for (const char32_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool IsRussianLetter(char32_t c)
{
    return (c >= U'А' && c <= U'я') || c == U'ё' || c == U'Ё';
}

bool IsGermanLetter(char32_t c)
{
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') ||
           std::u32string_view(U"äöüÄÖÜß").find(c) != std::u32string_view::npos;
}

class GermanDictionary : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        bytes = ReadBytes(std::string(VB_SOURCE_DIR) + "/data/dict/dt_german.lqd");
        if (!bytes.starts_with(kBom)) {
            return;
        }
        const std::optional<std::u32string> text = DecodeUtf8(bytes.substr(kBom.size()));
        if (!text) {
            return;
        }
        std::vector<std::u32string> lines = Split(*text, U"\r\n");
        lineEndsOk = lines.back().empty();
        lines.pop_back();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::vector<std::u32string> f = Split(lines[i], U"|");
            if (f.size() != 4) {
                malformed.push_back(i + 1);
                continue;
            }
            entries.push_back(Entry{i + 1, f[0], f[1], f[2], f[3]});
        }
    }

    static inline std::string bytes;
    static inline bool lineEndsOk = false;
    static inline std::vector<std::size_t> malformed;
    static inline std::vector<Entry> entries;
};

TEST_F(GermanDictionary, IsUtf8WithTheMarkAndCrLfLines)
{
    ASSERT_TRUE(bytes.starts_with(kBom)) << "missing, or without the byte-order mark";
    ASSERT_TRUE(DecodeUtf8(bytes.substr(kBom.size()))) << "not UTF-8";
    EXPECT_TRUE(lineEndsOk) << "the last line has no CR LF";
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "a line end other than CR LF";
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        ASSERT_EQ(bytes[i] == '\r', bytes[i + 1] == '\n') << "lone CR or LF at byte " << i;
    }
    EXPECT_TRUE(malformed.empty()) << "line " << malformed.front() << " has not four fields";
    EXPECT_GE(entries.size(), 190u);
    EXPECT_LE(entries.size(), 250u);
}

TEST_F(GermanDictionary, EveryFieldIsFilledInItsScript)
{
    for (const Entry& e : entries) {
        for (const std::u32string* field : {&e.word, &e.translation, &e.transcription, &e.note}) {
            ASSERT_FALSE(field->empty()) << "line " << e.line << ": empty field";
            EXPECT_TRUE(field->front() != U' ' && field->back() != U' ') << "line " << e.line << ": spaces around";
            // The table reads a backtick as a quote; the lesson side turns "_" into a space.
            EXPECT_EQ(field->find_first_of(U"`_[]"), std::u32string::npos) << "line " << e.line;
        }
        for (const char32_t c : e.word) {
            EXPECT_TRUE(IsGermanLetter(c)) << "line " << e.line << ": " << Utf8(e.word);
        }
        bool russian = false;
        for (const char32_t c : e.translation) {
            russian = russian || IsRussianLetter(c);
            EXPECT_TRUE(IsRussianLetter(c) || std::u32string_view(U" ,()-").find(c) != std::u32string_view::npos)
                << "line " << e.line << ": " << Utf8(e.translation);
        }
        EXPECT_TRUE(russian) << "line " << e.line;
    }
}

// Only the signs of German IPA: an ASCII stand-in (":" for "ː", "g" for "ɡ", "r" for "ʁ", "'" for "ˈ")
// is a typing slip.
TEST_F(GermanDictionary, TranscriptionsAreIpa)
{
    const std::u32string signs = U"abdefhijklmnopstuvxzçɡʁɐɛɪɔʊəʏœøyʃʒŋːˈˌ\u032F\u0329";
    for (const Entry& e : entries) {
        for (const char32_t c : e.transcription) {
            EXPECT_NE(signs.find(c), std::u32string::npos)
                << "line " << e.line << ": " << Utf8(e.word) << " [" << Utf8(e.transcription) << "]";
        }
        // Stress marks stand before a syllable, never at the end; words of more than one syllable carry one.
        EXPECT_NE(e.transcription.back(), U'ˈ') << "line " << e.line;
        const std::u32string vowels = U"aeiouyɐɛɪɔʊəʏœø";
        std::size_t nuclei = 0;
        for (std::size_t i = 0; i < e.transcription.size(); ++i) {
            const bool vowel = vowels.find(e.transcription[i]) != std::u32string::npos;
            const bool glide = i + 1 < e.transcription.size() && e.transcription[i + 1] == U'\u032F';
            const bool syllabic = e.transcription[i] == U'\u0329';
            if ((vowel && !glide &&
                 (i == 0 || vowels.find(e.transcription[i - 1]) == std::u32string::npos ||
                  e.transcription[i - 1] == U'ː')) ||
                syllabic) {
                ++nuclei;
            }
        }
        if (nuclei > 1) {
            EXPECT_NE(e.transcription.find(U'ˈ'), std::u32string::npos)
                << "line " << e.line << ": " << Utf8(e.word) << " [" << Utf8(e.transcription) << "] has no stress";
        }
    }
    const auto found =
        std::find_if(entries.begin(), entries.end(), [](const Entry& e) { return e.word == U"Mädchen"; });
    ASSERT_NE(found, entries.end());
    EXPECT_EQ(found->transcription, U"ˈmɛːtçən");
}

TEST_F(GermanDictionary, NoWordTwiceAndNotesFollowTheWordClass)
{
    std::set<std::u32string> seen;
    for (const Entry& e : entries) {
        std::u32string folded = e.word;
        for (char32_t& c : folded) {
            c = (c >= U'A' && c <= U'Z') ? c + 32 : c == U'Ä' ? U'ä' : c == U'Ö' ? U'ö' : c == U'Ü' ? U'ü' : c;
        }
        EXPECT_TRUE(seen.insert(folded).second) << "line " << e.line << ": " << Utf8(e.word) << " again";

        const bool noun = (e.word.front() >= U'A' && e.word.front() <= U'Z') || e.word.front() == U'Ä' ||
                          e.word.front() == U'Ö' || e.word.front() == U'Ü';
        const std::vector<std::u32string> parts = Split(e.note, U", ");
        ASSERT_EQ(parts.size(), 2u) << "line " << e.line << ": " << Utf8(e.note);
        if (noun) {
            // "der Tisch, die Tische": the article with the word itself, then the plural or its absence.
            const bool article =
                parts[0] == U"der " + e.word || parts[0] == U"die " + e.word || parts[0] == U"das " + e.word;
            EXPECT_TRUE(article) << "line " << e.line << ": " << Utf8(e.note);
            EXPECT_TRUE(parts[1].starts_with(U"die ") || parts[1] == U"kein Plural") << "line " << e.line;
        } else if (parts[1].starts_with(U"am ")) {
            // Adjectives: comparative and superlative.
            EXPECT_TRUE(parts[1].ends_with(U"ten")) << "line " << e.line << ": " << Utf8(e.note);
            EXPECT_TRUE(parts[0].ends_with(U"er")) << "line " << e.line << ": " << Utf8(e.note);
        } else {
            // Verbs: the past and the perfect with its auxiliary.
            EXPECT_TRUE(parts[1].starts_with(U"hat ") || parts[1].starts_with(U"ist ")) << "line " << e.line;
        }
    }
}

} // namespace
