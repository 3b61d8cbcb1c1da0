// SPDX-License-Identifier: GPL-3.0-or-later
// The word cards' rules: step timings, the draw that never repeats a card, the two word sources and what
// each line of a card holds.

#include "cards/card_cycle.h"
#include "engine/lesson.h"
#include "engine/settings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace vb;

namespace {

// prefix + number, built by appending (gcc 12 misreports "literal + string" at -O3).
std::string Numbered(const char* prefix, int n)
{
    std::string s = prefix;
    s += std::to_string(n);
    return s;
}

void Fill(Lesson& lesson, int n)
{
    lesson.LessonWords.clear();
    ProgressArray order;
    for (int i = 0; i < n; ++i) {
        lesson.LessonWords.push_back({Numbered("w", i), Numbered("t", i), "[x]", "note"});
        order.push_back({i, 0});
    }
    lesson.WordCount = n;
    lesson.VarProgress = lesson.MozProgress = lesson.EnterProgress = order;
}

} // namespace

TEST(CardTimings, TaskThesaurusAndAnswerFollowTheSettingsOrTheReadingTime)
{
    // No minimum and a five-letter task: 5 x 90 + 300.
    EXPECT_EQ(CardTaskDelayMs(0, 5), 750);
    // The setting wins over a short text, a long text over the setting.
    EXPECT_EQ(CardTaskDelayMs(4, 5), 4000);
    EXPECT_EQ(CardTaskDelayMs(4, 50), 4800);
    // A 60-character answer outlasts the 6 s setting: 60 x 90 + 1300.
    EXPECT_EQ(CardAnswerDelayMs(6, 60), 6700);
    EXPECT_EQ(CardAnswerDelayMs(6, 3), 6000);
    EXPECT_EQ(CardAnswerDelayMs(0, 0), 1300);
    // The thesaurus has no setting of its own; none at all moves on after 100 ms.
    EXPECT_EQ(CardThesaurusDelayMs(10), 1200);
    EXPECT_EQ(CardThesaurusDelayMs(0), 100);
}

TEST(CardDraw, NeverTheSameIndexTwiceWhenThereIsAChoice)
{
    Lesson lesson;
    CardCycle cycle;
    for (int n : {2, 3, 7}) {
        std::set<int> seen;
        int previous = cycle.LastCardIndex;
        for (int i = 0; i < 300; ++i) {
            const int r = cycle.RandomCardIndex(lesson, n);
            ASSERT_GE(r, 0);
            ASSERT_LT(r, n);
            ASSERT_NE(r, previous) << "n=" << n;
            EXPECT_EQ(cycle.LastCardIndex, r);
            seen.insert(r);
            previous = r;
        }
        EXPECT_EQ(static_cast<int>(seen.size()), n);
    }
    // One word: it comes again and again, with no endless redraw.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(cycle.RandomCardIndex(lesson, 1), 0);
    }
}

TEST(CardSources, WorkingSetOfTheActiveMethodOrTheWholeDictionary)
{
    Lesson lesson;
    Fill(lesson, 10);
    // The Mosaic order puts words 7, 3 and 5 first; only they form its working set.
    lesson.MozProgress = {{7, 0}, {3, 0}, {5, 0}, {0, 0}, {1, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}, {9, 0}};
    lesson.ActiveMethod = kMethodMosaic;
    lesson.WorkSetSize = 3;

    SettingsWindowValues values;
    values.RG_CardLW.Set(kCardsWorkingSet);
    CardCycle cycle;
    std::set<std::string> shown;
    for (int i = 0; i < 60; ++i) {
        cycle.PickCardWord(lesson, values);
        shown.insert(cycle.CardEntry.Word);
    }
    EXPECT_EQ(shown, (std::set<std::string>{"w3", "w5", "w7"}));

    values.RG_CardLW.Set(kCardsWholeDictionary);
    shown.clear();
    for (int i = 0; i < 300; ++i) {
        cycle.PickCardWord(lesson, values);
        shown.insert(cycle.CardEntry.Word);
    }
    EXPECT_EQ(shown.size(), 10u);

    // Nothing left to learn stops only the working-set source; an empty dictionary stops both.
    lesson.WorkSetSize = 0;
    EXPECT_FALSE(CardCycle::CanShowCard(lesson, kCardsWorkingSet));
    EXPECT_TRUE(CardCycle::CanShowCard(lesson, kCardsWholeDictionary));
    Fill(lesson, 0);
    lesson.WorkSetSize = 3;
    EXPECT_FALSE(CardCycle::CanShowCard(lesson, kCardsWorkingSet));
    EXPECT_FALSE(CardCycle::CanShowCard(lesson, kCardsWholeDictionary));
}

TEST(CardSources, DirectionFollowsWhatIsLearned)
{
    Lesson lesson;
    Fill(lesson, 4);
    lesson.WorkSetSize = 4;
    SettingsWindowValues values;
    CardCycle cycle;
    values.RG_WordShow.Set(0); // "Слово": asks with the translation
    cycle.PickCardWord(lesson, values);
    EXPECT_EQ(lesson.TaskDirection, 1);
    values.RG_WordShow.Set(1); // "Перевод": asks with the word
    cycle.PickCardWord(lesson, values);
    EXPECT_EQ(lesson.TaskDirection, 0);
    values.RG_WordShow.Set(2); // "Всё": both come up
    std::set<int> directions;
    for (int i = 0; i < 40; ++i) {
        cycle.PickCardWord(lesson, values);
        directions.insert(lesson.TaskDirection);
    }
    EXPECT_EQ(directions, (std::set<int>{0, 1}));
}

TEST(CardFace, LinesFontsAndVoicesByDirection)
{
    const TLessonWord entry{"apple", "yabloko (fruit)", "[aepl]", "a round fruit"};
    SettingsWindowValues values;
    values.CB_CardVoiceWord = true;
    values.CB_CardVoiceTransl = true;
    values.CB_CardVoiceTesaurus = true;
    values.CB_CardShowTesaurus = true;
    values.SE_TimeWord.Set(0);
    values.SE_TimeTransl.Set(0);

    // Asking with the foreign word: its transcription goes on the task line; texts stay as stored.
    CardFace byWord = MakeCardFace(entry, 0, values);
    EXPECT_EQ(byWord.task, "apple");
    EXPECT_EQ(byWord.taskFont, CardFont::Word);
    EXPECT_EQ(byWord.answer, "yabloko (fruit)");
    EXPECT_EQ(byWord.answerFont, CardFont::Translation);
    EXPECT_TRUE(byWord.transcriptionOnTaskLine);
    EXPECT_TRUE(byWord.taskIsWord);
    EXPECT_FALSE(byWord.answerIsWord);
    EXPECT_EQ(byWord.taskDelayMs, 5 * 90 + 300);
    EXPECT_EQ(byWord.answerDelayMs, 15 * 90 + 1300);
    EXPECT_TRUE(byWord.thesaurusStep);
    EXPECT_TRUE(byWord.pronounceThesaurus);
    EXPECT_EQ(byWord.thesaurusDelayMs, 13 * 90 + 300);

    // Asking with the translation: the foreign word and its transcription come with the answer.
    CardFace byTranslation = MakeCardFace(entry, 1, values);
    EXPECT_EQ(byTranslation.task, "yabloko (fruit)");
    EXPECT_EQ(byTranslation.taskFont, CardFont::Translation);
    EXPECT_EQ(byTranslation.answer, "apple");
    EXPECT_FALSE(byTranslation.transcriptionOnTaskLine);
    EXPECT_FALSE(byTranslation.taskIsWord);
    EXPECT_TRUE(byTranslation.answerIsWord);

    // The thesaurus takes the translation font when so set, and an empty one is neither shown nor said.
    values.RG_TesFontSH.Set(1);
    CardFace noNote = MakeCardFace({"a", "b", "", ""}, 0, values);
    EXPECT_EQ(noNote.thesaurusFont, CardFont::Translation);
    EXPECT_FALSE(noNote.thesaurusIsWord);
    EXPECT_FALSE(noNote.pronounceThesaurus);
    EXPECT_EQ(noNote.thesaurusDelayMs, 100);
}
