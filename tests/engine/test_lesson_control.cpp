// Lesson control: the task-word menu, the Writing hint and "Учить словарь заново".

#include "common/codepage.h"
#include "common/message_dialog.h"
#include "engine/lesson.h"
#include "engine/lesson_control.h"

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
    lesson.LessonWords = {{"a", "x", "", ""}, {"ice-cream (dessert)", Utf8ToCp1251("мороженое (десерт)"), "", ""}};
    lesson.WordCount = 2;
    lesson.EnterProgress = {{0, 0}, {1, 0}};
    lesson.TaskPos = 1;
    lesson.TaskDirection = 1;
    EXPECT_EQ(WritingHintText(lesson), "ice-cream");
    lesson.TaskDirection = 0;
    EXPECT_EQ(WritingHintText(lesson), Utf8ToCp1251("мороженое"));
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
