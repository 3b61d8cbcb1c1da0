// The Variant exercise: which answers a generator state draws and where the right one lands, the sorted
// rows, what the task label shows in each mode, judging a click, and the looks of a row. The expected
// positions were worked out by hand from the generator and the drawing rules (start seed 203).

#include "common/codepage.h"
#include "common/message_dialog.h"
#include "engine/lesson.h"
#include "engine/variant.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

using namespace vb;

namespace {

struct Events : LessonEvents
{
    int status = 0;
    int echoes = 0;
    void UpdateStatusBar() override { ++status; }
    void PronounceRightAnswer() override { ++echoes; }
};

struct Dialog : MessageDialog
{
    std::deque<int> answers;
    int asked = 0;
    int ShowMessageDialog(const std::string&, const std::string&, const std::string&, const std::string&) override
    {
        ++asked;
        if (answers.empty()) {
            return 0;
        }
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
};

const std::vector<const char*> kWords = {"pear",   "apple",  "Zebra", "mango", "kiwi",
                                         "banana", "cherry", "date",  "fig",   "grape"};
const std::vector<const char*> kTranslations = {"груша", "яблоко", "зебра", "манго", "киви",
                                                "банан", "вишня",  "финик", "инжир", "виноград"};

class VariantTest : public ::testing::Test
{
protected:
    Events events;
    Dialog dialog;
    Lesson lesson{&events, &dialog};
    VariantOptions options;

    // `n` words of the list; position i holds word i with i points (distinct, so the order stays as it is).
    void Fill(int n, int learnedFrom = 1000)
    {
        lesson.LessonWords.clear();
        lesson.VarProgress.clear();
        for (int i = 0; i < n; ++i) {
            const auto k = static_cast<std::size_t>(i);
            std::string transcription = "[";
            transcription += kWords[k];
            transcription += ']';
            lesson.LessonWords.push_back({kWords[k], Utf8ToCp1251(kTranslations[k]), transcription, ""});
            lesson.VarProgress.push_back({i, i >= learnedFrom ? 48 + i : i});
        }
        lesson.WordCount = n;
        lesson.MozProgress = lesson.VarProgress;
        lesson.EnterProgress = lesson.VarProgress;
    }

    std::vector<int> Slots() const
    {
        return {options.VarOptions.begin(), options.VarOptions.begin() + options.VarOptionCount};
    }
};

} // namespace

TEST_F(VariantTest, DrawsDistinctAnswersAndPlacesTheTaskWhereTheGeneratorSays)
{
    Fill(10);
    // TaskPos 5; answers 7, 9, then 9 and 7 again (drawn anew), 2; the task word was not drawn, so the
    // next draw (2) puts it into slot 2 over the 2.
    ASSERT_TRUE(PrepareVariantTask(lesson, 4, false, 1, options));
    EXPECT_EQ(lesson.TaskPos, 5);
    EXPECT_EQ(lesson.TaskPoints, 5);
    EXPECT_EQ(lesson.LastTaskWord, 5);
    EXPECT_EQ(Slots(), (std::vector<int>{7, 9, 5, 0}));
    EXPECT_EQ(VariantHintSlot(options, lesson.TaskPos), 2);
    EXPECT_EQ(lesson.WorkSetSize, 10);
    EXPECT_GT(events.status, 0);
}

TEST_F(VariantTest, SortsRowsInTheAnswersLanguage)
{
    Fill(10);
    ASSERT_TRUE(PrepareVariantTask(lesson, 4, true, 1, options));
    // banana, date, grape, pear
    EXPECT_EQ(Slots(), (std::vector<int>{5, 7, 9, 0}));
    EXPECT_EQ(VariantHintSlot(options, lesson.TaskPos), 0);

    lesson.Random = RandomGenerator{};
    lesson.LastTaskWord = 0;
    ASSERT_TRUE(PrepareVariantTask(lesson, 4, true, 0, options));
    // банан, виноград, груша, финик
    EXPECT_EQ(Slots(), (std::vector<int>{5, 9, 0, 7}));

    // Seven answers: the task word is among the draws and keeps its place until sorting;
    // upper case sorts before lower case.
    lesson.Random = RandomGenerator{};
    lesson.LastTaskWord = 0;
    ASSERT_TRUE(PrepareVariantTask(lesson, 7, false, 1, options));
    EXPECT_EQ(Slots(), (std::vector<int>{7, 9, 2, 0, 5, 3, 4}));
    lesson.Random = RandomGenerator{};
    lesson.LastTaskWord = 0;
    ASSERT_TRUE(PrepareVariantTask(lesson, 7, true, 1, options));
    EXPECT_EQ(Slots(), (std::vector<int>{2, 5, 7, 9, 4, 3, 0}));
}

TEST_F(VariantTest, SmallDictionariesGiveOneRowPerWord)
{
    Fill(3);
    ASSERT_TRUE(PrepareVariantTask(lesson, 7, false, 1, options));
    EXPECT_EQ(lesson.TaskPos, 1);
    EXPECT_EQ(Slots(), (std::vector<int>{2, 0, 1}));

    Fill(1);
    lesson.Random = RandomGenerator{};
    ASSERT_TRUE(PrepareVariantTask(lesson, 7, true, 0, options));
    EXPECT_EQ(Slots(), (std::vector<int>{0}));
    EXPECT_EQ(VariantHintSlot(options, lesson.TaskPos), 0);
}

TEST_F(VariantTest, NoTaskForAnEmptyDictionaryOrWhenThePupilStops)
{
    Fill(0);
    VariantTaskView view = SetVariantTask(lesson, VariantSettings{}, options);
    EXPECT_FALSE(view.ready);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(dialog.asked, 0);

    // Everything learned: "понятно" leaves the page empty ...
    Fill(3, 0);
    dialog.answers = {1};
    view = SetVariantTask(lesson, VariantSettings{}, options);
    EXPECT_FALSE(view.ready);
    EXPECT_EQ(dialog.asked, 1);

    // ... "повторить" raises the threshold by one right answer until a word is unlearned again.
    lesson.Params.SE_Var_Stop = 48;
    dialog.answers = {3};
    view = SetVariantTask(lesson, VariantSettings{}, options);
    EXPECT_TRUE(view.ready);
    EXPECT_EQ(lesson.Params.SE_Var_Stop, 54);
    EXPECT_EQ(view.rows.size(), 3u);
}

TEST_F(VariantTest, TaskLabelFollowsDirectionDictationAndVisualMode)
{
    Fill(10);
    VariantSettings s;
    s.SE_CountVar = 4;
    s.RG_Transc = 0;

    // Direction 1 without dictation: the translation is asked, foreign words answer.
    VariantTaskView v = BuildVariantTask(lesson, s, 1, options);
    ASSERT_TRUE(v.ready);
    EXPECT_EQ(lesson.TaskDirection, 1);
    EXPECT_EQ(v.taskText, Utf8ToCp1251("банан"));
    EXPECT_FALSE(v.taskIsWord);
    EXPECT_TRUE(v.showTask);
    EXPECT_FALSE(v.showTaskTranscription);
    EXPECT_TRUE(v.answersAreWords);
    EXPECT_TRUE(v.showRowTranscriptions);
    ASSERT_EQ(v.rows.size(), 4u);
    EXPECT_EQ(v.rows[1].answer, "date");
    EXPECT_EQ(v.rows[1].meaning, Utf8ToCp1251("финик"));
    EXPECT_EQ(v.rows[1].transcription, "[date]");

    // Direction 0 without dictation: the foreign word is asked with its transcription; rows have none.
    lesson.Random = RandomGenerator{};
    lesson.LastTaskWord = 0;
    v = BuildVariantTask(lesson, s, 0, options);
    EXPECT_EQ(v.taskText, "banana");
    EXPECT_TRUE(v.taskIsWord);
    EXPECT_TRUE(v.showTaskTranscription);
    EXPECT_EQ(v.taskTranscription, "[banana]");
    EXPECT_FALSE(v.showRowTranscriptions);
    EXPECT_FALSE(v.dynamicRowTranscriptions);
    EXPECT_EQ(v.rows[3].answer, Utf8ToCp1251("финик"));
    EXPECT_EQ(v.rows[3].meaning, "date");
    EXPECT_EQ(v.rows[3].transcription, "");

    // Dictation asks in the answers' language; without visual mode nothing is shown, only heard.
    s.dictation = true;
    s.visual = false;
    lesson.Random = RandomGenerator{};
    lesson.LastTaskWord = 0;
    v = BuildVariantTask(lesson, s, 1, options);
    EXPECT_EQ(v.taskText, "banana");
    EXPECT_TRUE(v.taskIsWord);
    EXPECT_FALSE(v.showTask);
    EXPECT_FALSE(v.showTaskTranscription);

    // "Динамически": row transcriptions wait for the pointer.
    s = VariantSettings{};
    v = BuildVariantTask(lesson, s, 1, options);
    EXPECT_FALSE(v.showRowTranscriptions);
    EXPECT_TRUE(v.dynamicRowTranscriptions);
}

TEST_F(VariantTest, SetVariantTaskDrawsTheDirectionFirstForAll)
{
    Fill(10);
    VariantSettings s;
    s.SE_CountVar = 7;
    s.CB_Sort = false;
    s.RG_WordShow = 2;
    // The coin (1: direction 1) takes the first draw; the task then comes from the second one.
    VariantTaskView v = SetVariantTask(lesson, s, options);
    EXPECT_EQ(v.direction, 1);
    EXPECT_EQ(lesson.TaskPos, 7);
    EXPECT_EQ(Slots(), (std::vector<int>{9, 7, 2, 0, 5, 3, 4}));

    s.RG_WordShow = 1;
    EXPECT_EQ(SetVariantTask(lesson, s, options).direction, 0);
    s.RG_WordShow = 0;
    EXPECT_EQ(SetVariantTask(lesson, s, options).direction, 1);
}

TEST_F(VariantTest, ClickScoresOrPenalises)
{
    Fill(10);
    lesson.ActiveMethod = kMethodMosaic;
    ASSERT_TRUE(BuildVariantTask(lesson, VariantSettings{}, 1, options).ready);
    EXPECT_EQ(lesson.ActiveMethod, kMethodVariant);
    const int right = VariantHintSlot(options, lesson.TaskPos);
    const int wrong = right == 0 ? 1 : 0;
    const auto wrongPos = static_cast<std::size_t>(options.VarOptions[static_cast<std::size_t>(wrong)]);
    const auto taskPos = static_cast<std::size_t>(lesson.TaskPos);
    const int before = lesson.VarProgress[taskPos].Points;
    const int wrongBefore = lesson.VarProgress[wrongPos].Points;

    // RG_Shtraf 2: a wrong click costs both words.
    lesson.Params.RG_Shtraf = 2;
    EXPECT_EQ(AnswerVariant(lesson, options, wrong), VariantAnswer::Wrong);
    EXPECT_EQ(lesson.VarProgress[taskPos].Points, before - 6);
    EXPECT_EQ(lesson.VarProgress[wrongPos].Points, wrongBefore - 6);
    EXPECT_EQ(lesson.ErrorCount, 1);
    EXPECT_EQ(events.echoes, 0);

    EXPECT_EQ(AnswerVariant(lesson, options, right), VariantAnswer::Right);
    EXPECT_EQ(lesson.VarProgress[taskPos].Points, before);
    EXPECT_EQ(lesson.RightCount, 1);
    EXPECT_EQ(events.echoes, 1);

    EXPECT_EQ(AnswerVariant(lesson, options, -1), VariantAnswer::None);
    EXPECT_EQ(AnswerVariant(lesson, options, options.VarOptionCount), VariantAnswer::None);
}

TEST(VariantRowLookTest, WrongRowKeepsItsMeaningThroughHover)
{
    VariantRowLook look = InitialRowLook(1, 2);
    EXPECT_EQ(look, VariantRowLook{});

    RowChosenWrongly(look);
    EXPECT_EQ(look, (VariantRowLook{RowColor::Red, false, true, true, false}));
    // Leaving a red row changes nothing but the dynamic transcription.
    RowPointerLeft(look, 1, 2);
    EXPECT_EQ(look, (VariantRowLook{RowColor::Red, false, true, true, false}));
    // Entering replaces the strike-out by bold black; leaving then gives the shadow colour.
    RowPointerEntered(look, 1, 2);
    EXPECT_EQ(look, (VariantRowLook{RowColor::Black, true, false, true, true}));
    RowPointerLeft(look, 1, 2);
    EXPECT_EQ(look, (VariantRowLook{RowColor::Shadow, false, false, true, false}));

    // The hint's blue goes like any colour but red.
    RowHinted(look);
    EXPECT_EQ(look.color, RowColor::Blue);
    RowPointerLeft(look, 1, 2);
    EXPECT_EQ(look.color, RowColor::Shadow);
}

TEST(VariantRowLookTest, TranscriptionsByModeAndDirection)
{
    EXPECT_TRUE(InitialRowLook(1, 0).transcriptionShown);
    EXPECT_FALSE(InitialRowLook(1, 1).transcriptionShown);
    EXPECT_FALSE(InitialRowLook(0, 0).transcriptionShown);

    // Translations as answers never show a transcription, whatever the mode.
    for (int mode = 0; mode < 3; ++mode) {
        VariantRowLook look = InitialRowLook(0, mode);
        RowPointerEntered(look, 0, mode);
        EXPECT_FALSE(look.transcriptionShown) << mode;
    }
    // "Показывать" keeps it when the pointer leaves; "Не показывать" never shows it.
    VariantRowLook shown = InitialRowLook(1, 0);
    RowPointerEntered(shown, 1, 0);
    RowPointerLeft(shown, 1, 0);
    EXPECT_TRUE(shown.transcriptionShown);
    VariantRowLook hidden = InitialRowLook(1, 1);
    RowPointerEntered(hidden, 1, 1);
    EXPECT_FALSE(hidden.transcriptionShown);
}
