// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson side must see every entry of the default dictionary, with its fields in place.

#include "engine/lesson.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <string>

TEST(BasicDictionaryLesson, LessonReadsAllWordsWithBracketedTranscriptions)
{
    vbtest::TempHome home;
    vb::Lesson lesson;
    ASSERT_TRUE(lesson.LoadLessonWords(std::string(VB_SOURCE_DIR) + "/data/dict/dt_basic.lqd",
                                       home.File("Users/Default/dt_basic.lqs")));
    ASSERT_EQ(lesson.WordCount, 850);
    ASSERT_EQ(lesson.VarProgress.size(), 850u);
    for (const auto& w : lesson.LessonWords) {
        EXPECT_FALSE(w.Word.empty());
        EXPECT_FALSE(w.Translation.empty()) << w.Word;
        ASSERT_GE(w.Transcription.size(), 3u) << w.Word;
        EXPECT_EQ(w.Transcription.front(), '[') << w.Word;
        EXPECT_EQ(w.Transcription.back(), ']') << w.Word;
        EXPECT_FALSE(w.Thesaurus.empty()) << w.Word;
    }
}
