// SPDX-License-Identifier: GPL-3.0-or-later
// Right and wrong answers: points by method and penalty mode, counters, the end of an exercise, and what
// the status bar and the last-word panel show.

#include "engine_fakes.h"
#include "support/temp_home.h"

#include "engine/progress_file.h"
#include "engine/status_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace vb;
using vbtest::Points;
using vbtest::Progress;

namespace {

class ScoringTest : public ::testing::Test
{
protected:
    vbtest::TempHome home;
    vbtest::RecordingEvents events;
    Lesson lesson{&events};
    std::string progress = ProgressFilePath(home.File("Users"), "Default", home.File("basic.lqd"));

    // Three words in the order 0, 1, 2 for every method, all at 0 points.
    void SetUp() override
    {
        vbtest::WriteBytes(home.File("basic.lqd"), "a|x\r\nb|y\r\nc|z\r\n");
        vbtest::WriteBytes(progress, "0|0|0|0|0|0\r\n1|0|1|0|1|0\r\n2|0|2|0|2|0\r\n");
        ASSERT_TRUE(lesson.LoadLessonWords(home.File("basic.lqd"), progress));
    }

    int AnswersUntilLearned(int method)
    {
        lesson.ActiveMethod = method;
        int answers = 0;
        while ((*lesson.MethodProgress(method))[1].Points < 48 && answers < 100) {
            lesson.AnswerRight(1);
            ++answers;
        }
        return answers;
    }

    int TrayCount() const { return static_cast<int>(std::count(events.calls.begin(), events.calls.end(), "tray")); }
};

} // namespace

TEST_F(ScoringTest, NewWordLearnedAfterEightTwelveAndThreeRightAnswers)
{
    EXPECT_EQ(AnswersUntilLearned(kMethodVariant), 8);
    EXPECT_EQ(AnswersUntilLearned(kMethodMosaic), 12);
    EXPECT_EQ(AnswersUntilLearned(kMethodWriting), 3);
    EXPECT_EQ(lesson.EnterProgress[1].Points, 54);
    EXPECT_EQ(Points(lesson.VarProgress), (std::vector<int>{0, 48, 0}));
}

TEST_F(ScoringTest, WritingHintsArePaidOutOfTheAnswer)
{
    lesson.ActiveMethod = kMethodWriting;
    struct Case
    {
        int letters, words;
        bool length;
        int gain;
    };
    for (const Case& c : {Case{1, 0, true, 6}, Case{3, 0, false, -6}, Case{0, 1, false, 6}, Case{2, 1, true, -14}}) {
        lesson.EnterProgress[0].Points = 10;
        lesson.HintLetters = c.letters;
        lesson.HintWords = c.words;
        lesson.HintLength = c.length;
        lesson.AnswerRight(0);
        EXPECT_EQ(lesson.EnterProgress[0].Points, 10 + c.gain) << c.letters << c.words << c.length;
    }
    lesson.ActiveMethod = kMethodVariant; // hints mean nothing elsewhere
    lesson.AnswerRight(0);
    EXPECT_EQ(lesson.VarProgress[0].Points, 6);
}

TEST_F(ScoringTest, RightAnswerCountsSavesAndEchoes)
{
    lesson.ActiveMethod = kMethodMosaic;
    lesson.MozProgress = Progress({{2, 5}, {0, 0}, {1, 0}});
    lesson.TaskPoints = 5;
    lesson.ExerciseLeft = 7;
    events.calls.clear();
    lesson.AnswerRight(0);
    EXPECT_EQ(lesson.LastRightPoints, 9);
    EXPECT_EQ(lesson.LastRightWord, 2);
    EXPECT_EQ(lesson.RightCount, 1);
    EXPECT_EQ(lesson.ExerciseLeft, 6);
    EXPECT_EQ(lesson.TaskPoints, 5); // the status bar keeps the task's score until the next task
    EXPECT_EQ(events.calls, (std::vector<std::string>{"last2", "echo", "status"}));
    EXPECT_EQ(vbtest::ReadBytes(progress), "0|0|2|9|0|0\r\n1|0|0|0|1|0\r\n2|0|1|0|2|0\r\n");

    // A position outside the order is no answer at all.
    events.calls.clear();
    lesson.AnswerRight(3);
    lesson.AnswerRight(-1);
    EXPECT_TRUE(events.calls.empty());
    EXPECT_EQ(lesson.RightCount, 1);
}

TEST_F(ScoringTest, TwentiethRightAnswerEndsTheExercise)
{
    lesson.StartExercise();
    EXPECT_EQ(lesson.ExerciseLeft, 20);
    for (int i = 1; i <= 19; ++i) {
        lesson.AnswerRight(i % 3);
        lesson.AnswerWrong(0, 1); // wrong answers neither shorten nor lengthen it
    }
    EXPECT_EQ(lesson.ExerciseLeft, 1);
    EXPECT_EQ(TrayCount(), 0);
    events.calls.clear();
    lesson.AnswerRight(0);
    EXPECT_EQ(lesson.ExerciseLeft, 0);
    EXPECT_EQ(events.calls, (std::vector<std::string>{"last0", "echo", "tray", "status"}));

    lesson.Params.CB_TrayEndEx = false; // lessons go on, the counter stays at 0
    lesson.AnswerRight(0);
    EXPECT_EQ(lesson.ExerciseLeft, 0);
    EXPECT_EQ(TrayCount(), 1);
    EXPECT_EQ(lesson.RightCount, 21);
    EXPECT_EQ(lesson.ErrorCount, 19);

    // A shorter exercise takes effect at once, a longer one at the next exercise.
    lesson.StartExercise();
    EXPECT_EQ(lesson.RightCount + lesson.ErrorCount, 0);
    lesson.Params.SE_CountWEx = 10;
    lesson.LimitExerciseLeft();
    EXPECT_EQ(lesson.ExerciseLeft, 10);
    lesson.Params.SE_CountWEx = 30;
    lesson.LimitExerciseLeft();
    EXPECT_EQ(lesson.ExerciseLeft, 10);
}

TEST_F(ScoringTest, WrongAnswerCostsWhomThePenaltyModeSays)
{
    struct Case
    {
        int method, shtraf, varStraf;
        std::vector<int> points;
    };
    const std::vector<Case> cases = {
        {kMethodVariant, 0, 6, {-6, 0, 0}},  {kMethodVariant, 1, 6, {0, 0, -6}}, {kMethodVariant, 2, 6, {-6, 0, -6}},
        {kMethodVariant, 2, 0, {0, 0, 0}},   {kMethodMosaic, 1, 6, {0, 0, -4}},  {kMethodMosaic, 2, 6, {-4, 0, -4}},
        {kMethodWriting, 1, 6, {-10, 0, 0}}, // Writing always costs the task word
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << " mode " << c.shtraf);
        vbtest::FillLesson(lesson, 3);
        lesson.ActiveMethod = c.method;
        lesson.Params.RG_Shtraf = c.shtraf;
        lesson.Params.SE_Var_Straf = c.varStraf;
        lesson.TaskPoints = 3;
        events.calls.clear();
        lesson.AnswerWrong(0, 2);
        EXPECT_EQ(Points(*lesson.MethodProgress(c.method)), c.points);
        EXPECT_EQ(lesson.TaskPoints, 3);
        EXPECT_EQ(events.calls, (std::vector<std::string>{"status"}));
    }
    EXPECT_EQ(lesson.ErrorCount, 7);
    EXPECT_EQ(vbtest::ReadBytes(progress).substr(0, 14), "0|0|0|0|0|-10\r");
}

TEST_F(ScoringTest, ScoresStopAtTheEndsOfInt32AndSurviveAFailedSave)
{
    std::filesystem::remove(progress);
    std::filesystem::create_directories(progress); // a folder where the file should be
    lesson.VarProgress[0].Points = 2147483645;
    lesson.AnswerRight(0);
    lesson.VarProgress[1].Points = -2147483647;
    lesson.AnswerWrong(1, 1);
    EXPECT_EQ(Points(lesson.VarProgress), (std::vector<int>{2147483647, -2147483647 - 1, 0}));
    EXPECT_EQ(lesson.RightCount, 1);
    EXPECT_EQ(lesson.ErrorCount, 1);
}

TEST_F(ScoringTest, LessonCommandsChangeOnlyTheActiveMethodInMemory)
{
    lesson.ActiveMethod = kMethodWriting;
    lesson.Params.SE_Enter_Stop = 60;
    lesson.MarkLearned(2);
    lesson.EnterProgress[1].Points = 33;
    lesson.TaskPoints = 33;
    lesson.ResetWordPoints(1);
    EXPECT_EQ(Points(lesson.EnterProgress), (std::vector<int>{0, 0, 60}));
    EXPECT_EQ(lesson.TaskPoints, 0);

    lesson.VarProgress[0].Points = 5;
    lesson.ResetMethodPoints();
    EXPECT_EQ(Points(lesson.EnterProgress), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(lesson.VarProgress[0].Points, 5);
    EXPECT_EQ(vbtest::ReadBytes(progress), "0|0|0|0|0|0\r\n1|0|1|0|1|0\r\n2|0|2|0|2|0\r\n");
}

TEST(StatusTexts, LessonDictionaryAndTextPages)
{
    using vbtest::NativePath;
    const LessonStatus s{12, 8, 3, 140, -6, 850, NativePath("/home/pupil/dict/basic.lqd")};
    const StatusBarView v = StatusBarForPage(1, s, {});
    EXPECT_EQ(v.widths, (std::array<int, 5>{103, 89, 83, 100, 65}));
    const std::array<std::optional<std::string>, 6> lessonTexts = {
        "правильно: 12", "осталось: 8", "ошибок: 3", "выучено: 140", "Балл: -6", "словарь: basic [850] слов"};
    EXPECT_EQ(v.texts, lessonTexts);

    const StatusBarView d = StatusBarForPage(3, s, {});
    EXPECT_EQ(d.widths, (std::array<int, 5>{0, 0, 0, 0, 0}));
    EXPECT_FALSE(d.texts[0] || d.texts[1] || d.texts[2] || d.texts[3] || d.texts[4]);
    EXPECT_EQ(d.texts[5], "словарь: " + NativePath("/home/pupil/dict/basic.lqd") + " [850] слов");

    const StatusBarView t =
        StatusBarForPage(4, s, {NativePath("/data/freq.big.lqd"), 1234, NativePath("/texts/книга.txt"), ""});
    EXPECT_EQ(t.widths, (std::array<int, 5>{220, 140, 0, 0, 0}));
    EXPECT_EQ(t.texts[0], "Базовый словарь: freq");
    EXPECT_EQ(t.texts[1], "символов: 1234");
    EXPECT_FALSE(t.texts[2]);
    EXPECT_EQ(t.texts[5], "Файл: " + NativePath("/texts/книга.txt"));
    // The text's encoding, when given, takes the third panel.
    const StatusBarView e = StatusBarForPage(4, s, {"", 0, "", "UTF-8"});
    EXPECT_EQ(e.widths, (std::array<int, 5>{220, 140, 90, 0, 0}));
    EXPECT_EQ(e.texts[2], "UTF-8");
}

TEST(StatusTexts, LastWordPanel)
{
    const TLessonWord w{"to be", "быть", "[bi:]", "note"};
    const LastWordView shown = MakeLastWordView(w, 0, 1);
    EXPECT_EQ(shown.Translation, "быть");
    EXPECT_TRUE(shown.TranscriptionShown && shown.ThesaurusInTranslationFont);
    EXPECT_FALSE(MakeLastWordView(w, 2, 0).TranscriptionShown || MakeLastWordView(w, 2, 0).ThesaurusInTranslationFont);

    EXPECT_EQ(LastWordHoverPanelText(true, true, 54, 12), "Балл: 54");
    EXPECT_EQ(LastWordHoverPanelText(false, true, 54, 12), "Балл: 12");
    EXPECT_FALSE(LastWordHoverPanelText(true, false, 54, 12));
}
