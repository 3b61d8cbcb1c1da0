// SPDX-License-Identifier: GPL-3.0-or-later
// A Writing task from start to answer: what it shows, what it expects, and what answers cost or earn.

#include "common/codepage.h"
#include "writing/writing.h"
#include "writing_fakes.h"

#include <gtest/gtest.h>

#include <optional>

using namespace vb;

namespace {

struct Counting : LessonEvents
{
    int echoes = 0;
    void PronounceRightAnswer() override { ++echoes; }
};

class WritingExerciseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        vbtest::FillLesson(lesson, {{"to run (about)", "бегать (вокруг)"}});
        lesson.ActiveMethod = kMethodWriting;
    }

    const EnterTaskView& Task(int rgWordShow, bool dictation = false)
    {
        WritingSettings s;
        s.RG_WordShow = rgWordShow;
        s.dictation = dictation;
        return exercise.SetEnterTask(s);
    }

    EnterAnswer Change(const std::string& typed)
    {
        std::optional<std::string> hint;
        return exercise.Enter_AreaChange(typed, hint);
    }

    int Points() const { return lesson.EnterProgress[0].Points; }

    Counting events;
    Lesson lesson{&events};
    vbtest::FakeClock clock;
    WritingExercise exercise{lesson, clock};
};

} // namespace

TEST_F(WritingExerciseTest, DirectionDecidesTaskAndAnswerAndParenthesesAreNeverTyped)
{
    const EnterTaskView& foreign = Task(0);
    ASSERT_TRUE(foreign.ready);
    EXPECT_EQ(lesson.TaskDirection, 1);
    EXPECT_EQ(foreign.taskText, "бегать");
    EXPECT_EQ(foreign.pronounceText, "бегать (вокруг)");
    EXPECT_FALSE(foreign.taskIsWord);
    EXPECT_TRUE(foreign.answerIsWord);
    EXPECT_EQ(ExpectedAnswer(lesson), "to run");

    const EnterTaskView& translation = Task(1);
    EXPECT_EQ(lesson.TaskDirection, 0);
    EXPECT_EQ(translation.taskText, "to run");
    EXPECT_TRUE(translation.taskIsWord);
    EXPECT_FALSE(translation.answerIsWord);
    EXPECT_EQ(ExpectedAnswer(lesson), "бегать");

    // Dictation shows and speaks the answer's own side.
    const EnterTaskView& dictation = Task(1, true);
    EXPECT_EQ(dictation.taskText, "бегать");
    EXPECT_FALSE(dictation.taskIsWord);
}

TEST_F(WritingExerciseTest, AutoAcceptScoresOnceAndTheTaskIsOver)
{
    Task(1);
    EXPECT_EQ(Change("бег"), EnterAnswer::None);
    EXPECT_EQ(Change("БЕГАТЬ"), EnterAnswer::Right);
    EXPECT_EQ(Points(), 18);
    EXPECT_EQ(events.echoes, 1);
    // Until the next task nothing more counts.
    EXPECT_EQ(exercise.Enter_AreaKeyPress("бегать"), EnterAnswer::None);
    EXPECT_EQ(lesson.RightCount, 1);
}

TEST_F(WritingExerciseTest, EnterJudgesOnlyWithoutAutoAcceptAndNeverAnEmptyText)
{
    exercise.Options.CB_Auto = false;
    Task(0);
    EXPECT_EQ(Change("to run"), EnterAnswer::None);
    EXPECT_EQ(exercise.Enter_AreaKeyPress(""), EnterAnswer::None);
    EXPECT_EQ(exercise.Enter_AreaKeyPress("to run "), EnterAnswer::Wrong);
    EXPECT_EQ(Points(), -10);
    EXPECT_EQ(lesson.ErrorCount, 1);
    EXPECT_EQ(exercise.Enter_AreaKeyPress("To Run"), EnterAnswer::Right);
    EXPECT_EQ(Points(), 8);

    exercise.Options.CB_Case = true;
    Task(0);
    EXPECT_EQ(exercise.Enter_AreaKeyPress("To Run"), EnterAnswer::Wrong);
}

TEST_F(WritingExerciseTest, HintsCanCostMoreThanTheAnswerEarnsAndTheNextTaskStartsAfresh)
{
    exercise.Options.CB_Letter = true;
    Task(0);
    Change("x");
    Change("xy");
    Change("x");
    Change("to run");
    EXPECT_EQ(Points(), 18 - 3 * 8);

    exercise.Options.CB_Len = true;
    Task(0);
    EXPECT_EQ(lesson.HintLetters, 0);
    EXPECT_EQ(exercise.UpdateEnterHint(""), "++ +++");
    EXPECT_TRUE(lesson.HintLength);
}

TEST_F(WritingExerciseTest, NoTaskWithoutWords)
{
    Lesson empty;
    WritingExercise none{empty, clock};
    EXPECT_FALSE(none.SetEnterTask(WritingSettings{}).ready);
    EXPECT_EQ(none.UpdateEnterHint("a"), std::nullopt);
    EXPECT_EQ(none.Enter_AreaKeyPress("a"), EnterAnswer::None);
}
