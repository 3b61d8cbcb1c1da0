// SPDX-License-Identifier: GPL-3.0-or-later
// Lesson control: the task-word menu, the Writing hint and "Учить словарь заново".

#include "common/codepage.h"
#include "common/message_dialog.h"
#include "engine/lesson.h"
#include "engine/lesson_control.h"
#include "engine/settings.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

struct Dialog : MessageDialog
{
    int answer = 0;
    std::string text, caption1, caption2, caption3;
    int ShowMessageDialog(const std::string& t, const std::string& c1, const std::string& c2,
                          const std::string& c3) override
    {
        text = t;
        caption1 = c1;
        caption2 = c2;
        caption3 = c3;
        return answer;
    }
};

} // namespace

TEST(LessonControl, WordMenuOnTaskPages)
{
    // No list item to aim at: the target index becomes 0, so the task commands depend on the working set.
    int target = -1;
    WordMenuItems items = WordPopupMenuPopup(0, 5, target, false);
    EXPECT_EQ(target, 0);
    EXPECT_EQ(items, (WordMenuItems{true, true, true, true, false, true, true, true}));

    items = WordPopupMenuPopup(2, 1, target, true);
    EXPECT_EQ(items, (WordMenuItems{false, true, true, true, true, true, true, true}));

    // Nothing left to learn: only the modes and the colour.
    items = WordPopupMenuPopup(0, 0, target, true);
    EXPECT_EQ(items, (WordMenuItems{false, false, false, false, false, true, true, true}));
}

TEST(LessonControl, WordMenuOnMosaicLists)
{
    int target = 3;
    WordMenuItems items = WordPopupMenuPopup(1, 8, target, true);
    EXPECT_EQ(target, 3);
    EXPECT_EQ(items, (WordMenuItems{true, true, true, true, true, false, false, true}));

    // Opened beside the items: no item commands.
    target = -1;
    items = WordPopupMenuPopup(1, 8, target, true);
    EXPECT_EQ(target, -1);
    EXPECT_EQ(items, (WordMenuItems{true, false, false, false, false, false, false, true}));
}

TEST(LessonControl, WritingHintIsTheAnswerWithoutParentheses)
{
    Lesson lesson;
    lesson.LessonWords = {{"a", "x", "", ""}, {"ice-cream (dessert)", "мороженое (десерт)", "", ""}};
    lesson.WordCount = 2;
    lesson.EnterProgress = {{0, 0}, {1, 0}};
    lesson.TaskPos = 1;
    lesson.TaskDirection = 1;
    EXPECT_EQ(WritingHintText(lesson), "ice-cream");
    lesson.TaskDirection = 0;
    EXPECT_EQ(WritingHintText(lesson), "мороженое");
    lesson.TaskPos = 7;
    EXPECT_EQ(WritingHintText(lesson), "");
}

TEST(LessonControl, RelearnOnlyOnYesAndOnlyTheActiveMethod)
{
    Lesson lesson;
    lesson.WordCount = 2;
    lesson.VarProgress = {{1, 30}, {0, -5}};
    lesson.MozProgress = {{0, 12}, {1, 50}};
    lesson.ActiveMethod = kMethodVariant;
    Dialog dialog;

    for (int answer : {0, 3}) {
        dialog.answer = answer;
        EXPECT_FALSE(RelearnDictionary(lesson, &dialog));
        EXPECT_EQ(lesson.VarProgress[0].Points, 30);
    }
    EXPECT_EQ(dialog.text, "Учить словарь заново?");
    EXPECT_EQ(dialog.caption1, "да");
    EXPECT_EQ(dialog.caption2, "");
    EXPECT_EQ(dialog.caption3, "нет");

    dialog.answer = 1;
    EXPECT_TRUE(RelearnDictionary(lesson, &dialog));
    EXPECT_EQ(lesson.VarProgress, (ProgressArray{{1, 0}, {0, 0}}));
    EXPECT_EQ(lesson.MozProgress, (ProgressArray{{0, 12}, {1, 50}}));
}

// Every value the rules read comes from its own control: distinct values catch a crossed wire.
TEST(LessonControl, LessonParamsFromTheSettingsWindow)
{
    vb::SettingsWindowValues v;
    v.SE_CountWLs.Set(11);
    v.SE_CountWEx.Set(12);
    v.SE_Var_Stop.Set(13);
    v.SE_Moz_Stop.Set(14);
    v.SE_Enter_Stop.Set(15);
    v.SE_Var_Ball.Set(16);
    v.SE_Moz_Ball.Set(17);
    v.SE_Enter_Ball.Set(18);
    v.SE_Var_Straf.Set(19);
    v.SE_Moz_Straf.Set(20);
    v.SE_Enter_Straf.Set(21);
    v.SE_Ball_Len.Set(22);
    v.SE_Ball_Letter.Set(23);
    v.SE_Ball_Word.Set(24);
    v.RG_Shtraf.Set(2);
    v.CB_TrayEndEx = false;
    const vb::LessonParams p = vb::MakeLessonParams(v);
    const int got[] = {p.SE_CountWLs,    p.SE_CountWEx, p.SE_Var_Stop,    p.SE_Moz_Stop,  p.SE_Enter_Stop,
                       p.SE_Var_Ball,    p.SE_Moz_Ball, p.SE_Enter_Ball,  p.SE_Var_Straf, p.SE_Moz_Straf,
                       p.SE_Enter_Straf, p.SE_Ball_Len, p.SE_Ball_Letter, p.SE_Ball_Word};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(got[i], 11 + i) << i;
    }
    EXPECT_EQ(p.RG_Shtraf, 2);
    EXPECT_FALSE(p.CB_TrayEndEx);
}
