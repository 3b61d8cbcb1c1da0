// SPDX-License-Identifier: GPL-3.0-or-later
// The Mosaic exercise: the sets a generator state builds (worked out by hand from the drawing rules, start
// seed 203), judging pairs, taking pairs out and the list commands.

#include "common/codepage.h"
#include "common/message_dialog.h"
#include "engine/lesson.h"
#include "engine/mosaic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace vb;

namespace {

struct Events : LessonEvents
{
    int echoes = 0;
    void PronounceRightAnswer() override { ++echoes; }
};

struct Dialog : MessageDialog
{
    int asked = 0;
    int ShowMessageDialog(const std::string&, const std::string&, const std::string&, const std::string&) override
    {
        ++asked;
        return 1;
    }
};

const std::vector<const char*> kWords = {"oak",   "ash",   "Elm",   "yew",    "fir",   "bay",   "pine",
                                         "lime",  "rowan", "birch", "cedar",  "hazel", "larch", "maple",
                                         "alder", "holly", "thorn", "willow", "beech", "plum"};
const std::vector<const char*> kTranslations = {"дуб",   "ясень",  "вяз",    "тис",  "пихта",   "лавр",        "сосна",
                                                "липа",  "рябина", "берёза", "кедр", "орешник", "лиственница", "клён",
                                                "ольха", "падуб",  "терн",   "ива",  "бук",     "слива"};

class MosaicTest : public ::testing::Test
{
protected:
    Events events;
    Dialog dialog;
    Lesson lesson{&events, &dialog};
    MosaicSet set;

    // `n` words; position i holds word i with i points, or a learned score from `learnedFrom` on.
    void Fill(int n, int learnedFrom = 1000)
    {
        lesson.LessonWords.clear();
        lesson.MozProgress.clear();
        for (int i = 0; i < n; ++i) {
            const auto k = static_cast<std::size_t>(i);
            lesson.LessonWords.push_back({kWords[k], kTranslations[k], "", ""});
            lesson.MozProgress.push_back({i, i >= learnedFrom ? 48 + i : i});
        }
        lesson.WordCount = n;
        lesson.VarProgress = lesson.MozProgress;
        lesson.EnterProgress = lesson.MozProgress;
    }

    std::vector<int> Left() const { return {set.MozLeft.begin(), set.MozLeft.begin() + set.PairsLeft}; }
    std::vector<int> Right() const { return {set.MozRight.begin(), set.MozRight.begin() + set.PairsLeft}; }
};

} // namespace

TEST_F(MosaicTest, WholeWorkingSetGivesEightWordsAndTheirShuffle)
{
    Fill(20);
    ASSERT_TRUE(BuildMosaic(lesson, MosaicSettings{8, false}, set));
    EXPECT_EQ(set.MozCount, 8);
    EXPECT_EQ(Left(), (std::vector<int>{11, 15, 19, 18, 4, 0, 6, 5}));
    EXPECT_EQ(Right(), (std::vector<int>{0, 18, 19, 15, 6, 11, 4, 5}));
    EXPECT_EQ(lesson.ActiveMethod, kMethodMosaic);

    // Sorted, each list in its own language: bay beech fir hazel holly oak pine plum; бук дуб лавр ...
    lesson.Random = RandomGenerator{};
    ASSERT_TRUE(BuildMosaic(lesson, MosaicSettings{8, true}, set));
    EXPECT_EQ(Left(), (std::vector<int>{5, 18, 4, 11, 15, 0, 6, 19}));
    EXPECT_EQ(Right(), (std::vector<int>{18, 0, 5, 11, 15, 4, 19, 6}));
    EXPECT_EQ(MosaicItemText(lesson, set, MosaicSide::Left, 0), "bay");
    EXPECT_EQ(MosaicItemText(lesson, set, MosaicSide::Right, 0), "бук");
}

TEST_F(MosaicTest, SmallWorkingSetComesFirstThenAnyWords)
{
    // Three unlearned words: slots 0-2 hold them, the other five come from the whole order, learned or not.
    Fill(20, 3);
    ASSERT_TRUE(BuildMosaic(lesson, MosaicSettings{8, false}, set));
    EXPECT_EQ(lesson.WorkSetSize, 3);
    EXPECT_EQ(Left(), (std::vector<int>{1, 2, 0, 18, 11, 6, 5, 14}));
    EXPECT_EQ(Right(), (std::vector<int>{18, 0, 6, 2, 5, 1, 11, 14}));
}

TEST_F(MosaicTest, SmallDictionariesAndEmptyOnes)
{
    Fill(5);
    ASSERT_TRUE(BuildMosaic(lesson, MosaicSettings{25, false}, set));
    EXPECT_EQ(set.MozCount, 5);
    EXPECT_EQ(Left(), (std::vector<int>{2, 3, 4, 1, 0}));
    EXPECT_EQ(Right(), (std::vector<int>{4, 3, 1, 2, 0}));

    Fill(1);
    ASSERT_TRUE(BuildMosaic(lesson, MosaicSettings{8, true}, set));
    EXPECT_EQ(Left(), std::vector<int>{0});
    EXPECT_EQ(Right(), std::vector<int>{0});

    // Nothing to build and nothing asked.
    Fill(0);
    EXPECT_FALSE(BuildMosaic(lesson, MosaicSettings{8, true}, set));
    EXPECT_EQ(set.PairsLeft, 0);
    EXPECT_EQ(dialog.asked, 0);

    // All learned and "понятно": an empty set.
    Fill(4, 0);
    EXPECT_FALSE(BuildMosaic(lesson, MosaicSettings{8, true}, set));
    EXPECT_EQ(set.PairsLeft, 0);
    EXPECT_EQ(dialog.asked, 1);
}

TEST_F(MosaicTest, PairsAreJudgedAndMatchedOnesLeave)
{
    Fill(20);
    ASSERT_TRUE(BuildMosaic(lesson, MosaicSettings{8, false}, set));
    // Left 11 15 19 18 4 0 6 5 / right 0 18 19 15 6 11 4 5.
    EXPECT_EQ(JudgeMosaicPair(lesson, set, 0, -1), MosaicJudgement::None);
    EXPECT_EQ(JudgeMosaicPair(lesson, set, 0, 8), MosaicJudgement::None);

    // Wrong: the left word is the task (RG_Shtraf 0 costs it only).
    EXPECT_EQ(JudgeMosaicPair(lesson, set, 0, 0), MosaicJudgement::Wrong);
    EXPECT_EQ(lesson.MozProgress[11].Points, 11 - 4);
    EXPECT_EQ(lesson.MozProgress[0].Points, 0);
    EXPECT_EQ(set.PairsLeft, 8);

    EXPECT_EQ(MosaicPartner(set, MosaicSide::Left, 0), 5);
    EXPECT_EQ(MosaicPartner(set, MosaicSide::Right, 5), 0);
    EXPECT_EQ(JudgeMosaicPair(lesson, set, 0, 5), MosaicJudgement::Right);
    EXPECT_EQ(lesson.MozProgress[11].Points, 11);
    EXPECT_EQ(events.echoes, 1);
    EXPECT_EQ(Left(), (std::vector<int>{15, 19, 18, 4, 0, 6, 5}));
    EXPECT_EQ(Right(), (std::vector<int>{0, 18, 19, 15, 6, 4, 5}));

    // A chosen item shows its word's points.
    MosaicItemChosen(lesson, set, MosaicSide::Right, 1);
    EXPECT_EQ(lesson.TaskPoints, 18);

    // Matching every remaining pair empties the set; each right pair counts down the exercise once.
    const int left = lesson.ExerciseLeft;
    while (set.PairsLeft > 0) {
        ASSERT_EQ(JudgeMosaicPair(lesson, set, 0, MosaicPartner(set, MosaicSide::Left, 0)), MosaicJudgement::Right);
    }
    EXPECT_EQ(lesson.ExerciseLeft, left - 7);
    EXPECT_EQ(lesson.RightCount, 8);
    EXPECT_EQ(set.MozCount, 8);
}

TEST_F(MosaicTest, ListCommands)
{
    Fill(20);
    ASSERT_TRUE(BuildMosaic(lesson, MosaicSettings{8, false}, set));

    // "Выучено !" needs a matching pair; it does not score.
    EXPECT_FALSE(MarkMosaicPairLearned(lesson, set, 0, 0));
    ASSERT_TRUE(MarkMosaicPairLearned(lesson, set, 1, 3)); // 15
    EXPECT_EQ(lesson.MozProgress[15].Points, 48);
    EXPECT_EQ(lesson.RightCount, 0);
    EXPECT_EQ(events.echoes, 0);
    EXPECT_EQ(set.PairsLeft, 7);
    EXPECT_EQ(Left(), (std::vector<int>{11, 19, 18, 4, 0, 6, 5}));
    EXPECT_EQ(Right(), (std::vector<int>{0, 18, 19, 6, 11, 4, 5}));

    // "Учить задание заново" from the right list resets the word behind that item.
    lesson.TaskPoints = 9;
    ResetMosaicItem(lesson, set, MosaicSide::Right, 1); // 18
    EXPECT_EQ(lesson.MozProgress[18].Points, 0);
    EXPECT_EQ(lesson.TaskPoints, 0);
    EXPECT_EQ(MosaicPosition(set, MosaicSide::Left, 7), -1);
}
