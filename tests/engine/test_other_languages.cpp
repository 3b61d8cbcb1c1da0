// SPDX-License-Identifier: GPL-3.0-or-later
// German, French and Spanish dictionaries in the lessons: the Variant and Mosaic order and the words as
// read from a UTF-8 file.

#include "engine/lesson.h"
#include "engine/selection.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

std::vector<std::string> SortedWords(const std::vector<std::string>& words)
{
    std::vector<TLessonWord> lessonWords;
    ProgressArray progress;
    std::vector<std::int32_t> list;
    for (std::size_t i = 0; i < words.size(); ++i) {
        lessonWords.push_back({words[i], "x", "", ""});
        progress.push_back({static_cast<std::int32_t>(i), 0});
        list.push_back(static_cast<std::int32_t>(i));
    }
    SortOptionsByWord(list, 0, static_cast<int>(list.size()) - 1, progress, lessonWords);
    std::vector<std::string> out;
    for (std::int32_t p : list) {
        out.push_back(words[static_cast<std::size_t>(p)]);
    }
    return out;
}

TEST(OtherLanguages, VariantAndMosaicOrderPutsAccentedLettersAfterTheirBase)
{
    EXPECT_EQ(SortedWords({"Zug", "bär", "Äpfel", "baum", "Apfel", "Straße", "Strasse", "Stroh"}),
              (std::vector<std::string>{"Apfel", "Äpfel", "Strasse", "Straße", "Stroh", "Zug", "baum", "bär"}));
    EXPECT_EQ(SortedWords({"niño", "nube", "nada", "ñu", "oso"}),
              (std::vector<std::string>{"nada", "niño", "nube", "ñu", "oso"}));
    // "é" goes with "e"; Cyrillic keeps its 1251 place after Latin; a letter without a 1251 base comes
    // after all of them.
    EXPECT_EQ(SortedWords({"ßa", "яма", "été", "zèbre", "école"}),
              (std::vector<std::string>{"école", "été", "zèbre", "яма", "ßa"}));
}

TEST(OtherLanguages, LessonReadsUtf8AndBomDictionariesAsTheyAre)
{
    vbtest::TempHome home;
    const std::string dictionary = home.File("de.lqd");
    vbtest::WriteBytes(dictionary, "\xEF\xBB\xBFM\xC3\xA4"
                                   "dchen|девочка|[ˈmɛːtçən]|\r\ngro\xC3\x9F_sein|быть большим\r\n");
    Lesson lesson;
    ASSERT_TRUE(lesson.LoadLessonWords(dictionary, home.File("de.prg")));
    ASSERT_EQ(lesson.LessonWords.size(), 2u);
    EXPECT_EQ(lesson.LessonWords[0], (TLessonWord{"Mädchen", "девочка", "[ˈmɛːtçən]", ""}));
    EXPECT_EQ(lesson.LessonWords[1].Word, "groß sein");

    vbtest::WriteBytes(dictionary, "garçon|мальчик\r\ncanción|песня\r\n");
    ASSERT_TRUE(lesson.LoadLessonWords(dictionary, home.File("fr.prg")));
    EXPECT_EQ(lesson.LessonWords[0].Word, "garçon");
    EXPECT_EQ(lesson.LessonWords[1].Translation, "песня");
}

} // namespace
} // namespace vb
