// SPDX-License-Identifier: GPL-3.0-or-later
// The Variant exercise: which answers a generator state draws and where the right one lands, the sorted
// rows, what the task label shows, and the looks of a row. The expected positions were worked out by hand
// from the generator and the drawing rules (start seed 203).

#include "common/codepage.h"
#include "common/message_dialog.h"
#include "engine/lesson.h"
#include "engine/variant.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vb;

namespace {

struct Dialog : MessageDialog
{
    int answer = 0;
    int asked = 0;
    int ShowMessageDialog(const std::string&, const std::string&, const std::string&, const std::string&) override
    {
        ++asked;
        return answer;
    }
};

const char* const kWords[] = {"pear", "apple", "Zebra", "mango", "kiwi", "banana", "cherry", "date", "fig", "grape"};
const char* const kTranslations[] = {"груша", "яблоко", "зебра", "манго", "киви",
                                     "банан", "вишня",  "финик", "инжир", "виноград"};

class VariantTest : public ::testing::Test
{
protected:
    Dialog dialog;
    Lesson lesson{nullptr, &dialog};
    VariantOptions options;

    // `n` words; position i holds word i with i points (distinct, so sorting keeps the order), or a learned
    // score from `learnedFrom` on. The generator starts afresh.
    void Fill(int n, int learnedFrom = 1000)
    {
        lesson.LessonWords.clear();
        lesson.VarProgress.clear();
        for (int i = 0; i < n; ++i) {
            std::string transcription = "[";
            transcription.append(kWords[i]).append("]");
            lesson.LessonWords.push_back({kWords[i], kTranslations[i], transcription, ""});
            lesson.VarProgress.push_back({i, i >= learnedFrom ? 48 + i : i});
        }
        lesson.WordCount = n;
        Restart();
    }
    void Restart()
    {
        lesson.Random = RandomGenerator{};
        lesson.LastTaskWord = 0;
    }
    std::vector<int> Slots() const
    {
        return {options.VarOptions.begin(), options.VarOptions.begin() + options.VarOptionCount};
    }
};

} // namespace

TEST_F(VariantTest, DrawsDistinctAnswersPlacesTheTaskAndSorts)
{
    Fill(10);
    // TaskPos 5; answers 7, 9, then 9 and 7 again (drawn anew), 2; the task word was not drawn, so the
    // next draw (2) puts it into slot 2 over the 2.
    ASSERT_TRUE(PrepareVariantTask(lesson, 4, false, 1, options));
    EXPECT_EQ(lesson.TaskPos, 5);
    EXPECT_EQ(lesson.TaskPoints, 5);
    EXPECT_EQ(Slots(), (std::vector<int>{7, 9, 5, 0}));
    EXPECT_EQ(VariantHintSlot(options, lesson.TaskPos), 2);

    // The same draws sorted: banana date grape pear; банан виноград груша финик.
    Restart();
    ASSERT_TRUE(PrepareVariantTask(lesson, 4, true, 1, options));
    EXPECT_EQ(Slots(), (std::vector<int>{5, 7, 9, 0}));
    Restart();
    ASSERT_TRUE(PrepareVariantTask(lesson, 4, true, 0, options));
    EXPECT_EQ(Slots(), (std::vector<int>{5, 9, 0, 7}));

    // Seven answers: the task word is among the draws; upper case sorts before lower case.
    Restart();
    ASSERT_TRUE(PrepareVariantTask(lesson, 7, false, 1, options));
    EXPECT_EQ(Slots(), (std::vector<int>{7, 9, 2, 0, 5, 3, 4}));
    Restart();
    ASSERT_TRUE(PrepareVariantTask(lesson, 7, true, 1, options));
    EXPECT_EQ(Slots(), (std::vector<int>{2, 5, 7, 9, 4, 3, 0}));

    // "Всё" draws the direction first (1 here), the task then comes from the next draws.
    Restart();
    VariantSettings all;
    all.CB_Sort = false;
    EXPECT_EQ(SetVariantTask(lesson, all, options).direction, 1);
    EXPECT_EQ(lesson.TaskPos, 7);
    EXPECT_EQ(Slots(), (std::vector<int>{9, 7, 2, 0, 5, 3, 4}));
}

TEST_F(VariantTest, SmallAndEmptyDictionaries)
{
    Fill(3);
    ASSERT_TRUE(PrepareVariantTask(lesson, 7, false, 1, options));
    EXPECT_EQ(lesson.TaskPos, 1);
    EXPECT_EQ(Slots(), (std::vector<int>{2, 0, 1}));

    Fill(1);
    ASSERT_TRUE(PrepareVariantTask(lesson, 7, true, 0, options));
    EXPECT_EQ(Slots(), std::vector<int>{0});

    Fill(0);
    EXPECT_FALSE(SetVariantTask(lesson, VariantSettings{}, options).ready);
    EXPECT_EQ(dialog.asked, 0);

    // Everything learned: "понятно" leaves the page empty, "повторить" raises the threshold by one right
    // answer until words are unlearned again.
    Fill(3, 0);
    dialog.answer = 1;
    EXPECT_FALSE(SetVariantTask(lesson, VariantSettings{}, options).ready);
    EXPECT_EQ(dialog.asked, 1);
    dialog.answer = 3;
    EXPECT_EQ(SetVariantTask(lesson, VariantSettings{}, options).rows.size(), 3u);
    EXPECT_EQ(lesson.Params.SE_Var_Stop, 54);
}

TEST_F(VariantTest, TaskLabelAndRowsByDirectionAndModes)
{
    Fill(10);
    VariantSettings s;
    s.SE_CountVar = 4;
    s.RG_Transc = 0;

    // Direction 1: the translation is asked, foreign words answer with their transcriptions.
    VariantTaskView v = BuildVariantTask(lesson, s, 1, options);
    ASSERT_TRUE(v.ready);
    EXPECT_EQ(lesson.TaskDirection, 1);
    EXPECT_EQ(lesson.ActiveMethod, kMethodVariant);
    EXPECT_EQ(v.taskText, "банан");
    EXPECT_FALSE(v.taskIsWord);
    EXPECT_FALSE(v.showTaskTranscription);
    EXPECT_TRUE(v.showRowTranscriptions);
    ASSERT_EQ(v.rows.size(), 4u);
    EXPECT_EQ(v.rows[1].answer, "date");
    EXPECT_EQ(v.rows[1].meaning, "финик");
    EXPECT_EQ(v.rows[1].transcription, "[date]");

    // Direction 0: the foreign word is asked with its transcription; the rows never have one.
    Restart();
    v = BuildVariantTask(lesson, s, 0, options);
    EXPECT_EQ(v.taskText, "banana");
    EXPECT_TRUE(v.taskIsWord);
    EXPECT_TRUE(v.showTaskTranscription);
    EXPECT_FALSE(v.showRowTranscriptions);
    EXPECT_EQ(v.rows[3].answer, "финик");
    EXPECT_EQ(v.rows[3].meaning, "date");
    EXPECT_EQ(v.rows[3].transcription, "");

    // Dictation asks in the answers' language; without visual mode the task is only heard.
    s.dictation = true;
    s.visual = false;
    Restart();
    v = BuildVariantTask(lesson, s, 1, options);
    EXPECT_EQ(v.taskText, "banana");
    EXPECT_TRUE(v.taskIsWord);
    EXPECT_FALSE(v.showTask);
    EXPECT_FALSE(v.showTaskTranscription);
}

TEST(VariantRowLookTest, WrongRowKeepsItsMeaningThroughHover)
{
    VariantRowLook look = InitialRowLook(1, 2);
    EXPECT_EQ(look, VariantRowLook{});
    RowChosenWrongly(look);
    EXPECT_EQ(look, (VariantRowLook{RowColor::Red, false, true, true, false}));
    // Leaving a red row changes nothing; entering makes it bold black with the dynamic transcription;
    // leaving then gives the shadow colour.
    RowPointerLeft(look, 1, 2);
    EXPECT_EQ(look, (VariantRowLook{RowColor::Red, false, true, true, false}));
    RowPointerEntered(look, 1, 2);
    EXPECT_EQ(look, (VariantRowLook{RowColor::Black, true, false, true, true}));
    RowPointerLeft(look, 1, 2);
    EXPECT_EQ(look, (VariantRowLook{RowColor::Shadow, false, false, true, false}));

    // Translations as answers never show a transcription.
    RowPointerEntered(look, 0, 2);
    EXPECT_FALSE(look.transcriptionShown);
    EXPECT_FALSE(InitialRowLook(0, 0).transcriptionShown);
}

TEST(VariantKeys, HighlightStartsAtTheEndTheKeyPointsToAndStopsThere)
{
    // From nothing: Down to the first row, Up to the last.
    EXPECT_EQ(MoveVariantHighlight(-1, 5, 1), 0);
    EXPECT_EQ(MoveVariantHighlight(-1, 5, -1), 4);
    EXPECT_EQ(MoveVariantHighlight(2, 5, 1), 3);
    EXPECT_EQ(MoveVariantHighlight(2, 5, -1), 1);
    EXPECT_EQ(MoveVariantHighlight(4, 5, 1), 4);
    EXPECT_EQ(MoveVariantHighlight(0, 5, -1), 0);
    // A highlight left over from a longer task starts again; no rows, no highlight; never past row 7.
    EXPECT_EQ(MoveVariantHighlight(6, 3, 1), 0);
    EXPECT_EQ(MoveVariantHighlight(6, 3, -1), 2);
    EXPECT_EQ(MoveVariantHighlight(0, 0, 1), -1);
    EXPECT_EQ(MoveVariantHighlight(-1, 12, -1), kVariantRows - 1);
    EXPECT_EQ(VariantRowSpokenName(3, "собака"), "вариант 3: собака");
}
