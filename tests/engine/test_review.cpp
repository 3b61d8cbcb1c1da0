// SPDX-License-Identifier: GPL-3.0-or-later
// Spaced review: the FSRS-6 model against values worked out by hand from its formulas, and the lesson's
// working set with review on (a learned word comes back on its due day, ahead of new words) and off.

#include "engine_fakes.h"
#include "support/temp_home.h"

#include "common/files.h"
#include "common/registry.h"
#include "engine/fsrs.h"
#include "engine/history.h"
#include "engine/lesson.h"
#include "engine/lesson_control.h"
#include "engine/review.h"
#include "engine/settings.h"
#include "engine/statistics.h"
#include "engine/status_texts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vb;

namespace {

constexpr double kEps = 1e-6;

struct Expected
{
    double stability;
    double difficulty;
    double interval; // days at retention 0.9, unrounded
};

// Replays (days since the previous review, rating) and checks the state after every review.
void ExpectReplay(const std::vector<std::pair<int, fsrs::Rating>>& reviews, const std::vector<Expected>& expected)
{
    ASSERT_EQ(reviews.size(), expected.size());
    fsrs::MemoryState state;
    for (std::size_t i = 0; i < reviews.size(); ++i) {
        SCOPED_TRACE(i);
        state = i == 0 ? fsrs::InitialState(reviews[i].second)
                       : fsrs::NextState(state, reviews[i].first, reviews[i].second);
        EXPECT_NEAR(state.Stability, expected[i].stability, kEps);
        EXPECT_NEAR(state.Difficulty, expected[i].difficulty, kEps);
        EXPECT_NEAR(fsrs::IntervalDays(state.Stability, 0.9), expected[i].interval, kEps);
    }
}

using fsrs::Rating;

TEST(Fsrs, ReplaysRatingSequencesAsTheFormulasGive)
{
    // Good every time, each review on its due day.
    ExpectReplay({{0, Rating::Good}, {2, Rating::Good}, {8, Rating::Good}, {25, Rating::Good}},
                 {{2.306500000, 2.118103970, 2.306500000},
                  {10.964332336, 2.111214236, 10.964332336},
                  {38.866587212, 2.104331391, 38.866587212},
                  {111.579861512, 2.097455429, 111.579861512}});
    // A lapse: stability falls, difficulty jumps, then recovers slowly through Hard and Good.
    ExpectReplay({{0, Rating::Good}, {2, Rating::Good}, {8, Rating::Again}, {1, Rating::Hard}, {3, Rating::Good}},
                 {{2.306500000, 2.118103970, 2.306500000},
                  {10.964332336, 2.111214236, 10.964332336},
                  {1.487503554, 7.392238132, 1.487503554},
                  {2.697484168, 8.254074520, 2.697484168},
                  {6.343623829, 8.241048815, 6.343623829}});
    ExpectReplay({{0, Rating::Again}, {1, Rating::Good}},
                 {{0.212000000, 6.413300000, 0.212000000}, {1.886787620, 6.402115069, 1.886787620}});
    // Hard long after the due day still grows the stability.
    ExpectReplay({{0, Rating::Hard}, {10, Rating::Hard}},
                 {{1.293100000, 5.112170706, 1.293100000}, {8.475673732, 6.740459511, 8.475673732}});
}

TEST(Fsrs, RetentionSetsTheInterval)
{
    EXPECT_NEAR(fsrs::Retrievability(10, 10), 0.9, kEps);
    EXPECT_NEAR(fsrs::Retrievability(5, 10), 0.940344289, kEps);
    EXPECT_NEAR(fsrs::IntervalDays(10, 0.8), 33.159597862, kEps);
    EXPECT_EQ(fsrs::NextIntervalDays(10.964332336, 0.9), 11);
    EXPECT_EQ(fsrs::NextIntervalDays(0.212, 0.9), 1); // never the same day again
    EXPECT_EQ(fsrs::NextIntervalDays(1e9, 0.9), 36500);
}

struct FakeDate : DateClock
{
    std::int64_t seconds = DaysFromCivil(2026, 3, 2) * 86400 + 9 * 3600;
    std::int64_t LocalSeconds() override { return seconds; }
    void NextDay(int days = 1) { seconds += 86400LL * days; }
};

// A dictionary of 30 words with review on and one right Variant answer enough to learn a word.
class ReviewLesson : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string text;
        for (int i = 0; i < 30; ++i) {
            text += vbtest::Numbered("word", i) + "|" + vbtest::Numbered("слово", i) + "\r\n";
        }
        dictionary = home.File("d.lqd");
        vbtest::WriteBytes(dictionary, text);
        Open(lesson);
    }

    void Open(Lesson& l)
    {
        l.SetDateClock(&clock);
        ASSERT_TRUE(l.LoadLessonWords(dictionary, home.File("Users/Default/d.lqs")));
        l.Params.SE_CountWLs = 5;
        l.Params.SE_Var_Ball = 48;
        l.Params.CB_Review = true;
        l.ActiveMethod = kMethodVariant;
    }

    static int PositionOf(const Lesson& l, int word)
    {
        const auto& a = l.VarProgress;
        const auto it = std::find_if(a.begin(), a.end(), [&](const TWordProgress& p) { return p.WordIndex == word; });
        return static_cast<int>(it - a.begin());
    }

    // Learns the first word of the working set today and returns its index.
    int LearnOne()
    {
        lesson.UpdateWorkSet(kMethodVariant);
        const int word = lesson.VarProgress[0].WordIndex;
        lesson.AnswerRight(0);
        return word;
    }

    vbtest::TempHome home;
    std::string dictionary;
    FakeDate clock;
    Lesson lesson;
};

TEST_F(ReviewLesson, LearnedWordComesBackOnItsDueDayAheadOfNewWords)
{
    const std::int64_t day0 = lesson.Today();
    const int word = LearnOne();
    EXPECT_EQ(lesson.Review.DueDay(kMethodVariant, word, 0.9), day0 + 2); // Good: S = 2.3065 days

    clock.NextDay();
    lesson.UpdateWorkSet(kMethodVariant);
    EXPECT_GE(PositionOf(lesson, word), lesson.WorkSetSize);
    EXPECT_EQ(lesson.LearnedCount, 1);
    EXPECT_EQ(lesson.DueToday(kMethodVariant), 0);

    clock.NextDay();
    EXPECT_EQ(lesson.DueToday(kMethodVariant), 1);
    lesson.UpdateWorkSet(kMethodVariant);
    const int pos = PositionOf(lesson, word);
    ASSERT_LT(pos, lesson.WorkSetSize);
    EXPECT_EQ(lesson.VarProgress[static_cast<std::size_t>(pos)].Points, 47);
    EXPECT_EQ(lesson.LearnedCount, 0); // "выучено" leaves the due word out
    EXPECT_EQ(lesson.WorkSetSize, 5);
    // It took the place of a new word: four new words and the review.
    for (int i = 0; i < lesson.WorkSetSize; ++i) {
        if (i != pos) {
            EXPECT_FALSE(
                lesson.Review.Memory(kMethodVariant, lesson.VarProgress[static_cast<std::size_t>(i)].WordIndex)->Known);
        }
    }

    // Right: Good two days on, S = 10.964 days, due in 11.
    lesson.AnswerRight(pos);
    EXPECT_EQ(lesson.Review.DueDay(kMethodVariant, word, 0.9), day0 + 2 + 11);
    EXPECT_EQ(lesson.DueToday(kMethodVariant), 0);
    lesson.UpdateWorkSet(kMethodVariant);
    EXPECT_GE(PositionOf(lesson, word), lesson.WorkSetSize); // learned again, it leaves

    // The next start replays the same schedule from the history file.
    Lesson again;
    Open(again);
    EXPECT_EQ(again.Review.DueDay(kMethodVariant, word, 0.9), day0 + 13);
    const WordMemory* m = again.Review.Memory(kMethodVariant, word);
    ASSERT_TRUE(m);
    EXPECT_NEAR(m->State.Stability, 10.964332336, kEps);
}

TEST_F(ReviewLesson, WrongReviewShortensTheNextInterval)
{
    const std::int64_t day0 = lesson.Today();
    const int word = LearnOne();
    clock.NextDay(2);
    lesson.UpdateWorkSet(kMethodVariant);
    const int pos = PositionOf(lesson, word);
    ASSERT_LT(pos, lesson.WorkSetSize);
    lesson.AnswerWrong(pos, pos == 0 ? 1 : 0);
    const WordMemory* m = lesson.Review.Memory(kMethodVariant, word);
    const fsrs::MemoryState expected = fsrs::NextState(fsrs::InitialState(Rating::Good), 2, Rating::Again);
    EXPECT_NEAR(m->State.Stability, expected.Stability, kEps);
    EXPECT_LT(lesson.Review.DueDay(kMethodVariant, word, 0.9) - (day0 + 2), 2);
    // The same day's right answer no longer rates it; the word stays until its points are back.
    lesson.AnswerRight(PositionOf(lesson, word));
    EXPECT_NEAR(lesson.Review.Memory(kMethodVariant, word)->State.Stability, expected.Stability, kEps);
}

TEST_F(ReviewLesson, RightAfterAWrongTryRatesHard)
{
    lesson.Params.RG_Shtraf = 1; // the wrong try costs the chosen word, not the task word
    lesson.UpdateWorkSet(kMethodVariant);
    const int word = lesson.VarProgress[0].WordIndex;
    lesson.AnswerWrong(0, 1);
    lesson.AnswerRight(0);
    EXPECT_NEAR(lesson.Review.Memory(kMethodVariant, word)->State.Stability, fsrs::InitialState(Rating::Hard).Stability,
                kEps);
}

TEST_F(ReviewLesson, ReviewOffLeavesTheWorkingSetAsBefore)
{
    const int word = LearnOne();
    clock.NextDay(5);
    lesson.Params.CB_Review = false;
    ProgressArray plain = lesson.VarProgress;
    Lesson reference;
    reference.Params = lesson.Params;
    reference.WordCount = lesson.WordCount;
    reference.UpdateWorkSet(plain, lesson.Params.SE_Var_Stop);

    lesson.UpdateWorkSet(kMethodVariant);
    EXPECT_EQ(lesson.VarProgress, plain);
    EXPECT_EQ(lesson.LearnedCount, 1);
    EXPECT_EQ(lesson.DueToday(kMethodVariant), 0);
    EXPECT_GE(PositionOf(lesson, word), lesson.WorkSetSize);
    // The history is written all the same.
    EXPECT_TRUE(FileExists(lesson.HistoryFile()));
}

TEST_F(ReviewLesson, OldYearsFoldIntoTotalsWithTheSameSchedule)
{
    clock.seconds = DaysFromCivil(2023, 5, 1) * 86400 + 8 * 3600;
    const int word = LearnOne();
    clock.NextDay(2);
    lesson.UpdateWorkSet(kMethodVariant);
    lesson.AnswerRight(PositionOf(lesson, word));
    const WordMemory before = *lesson.Review.Memory(kMethodVariant, word);
    const std::string unfolded = vbtest::ReadBytes(lesson.HistoryFile());

    clock.seconds = DaysFromCivil(2026, 1, 10) * 86400;
    Lesson later;
    Open(later);
    const std::string folded = vbtest::ReadBytes(later.HistoryFile());
    EXPECT_NE(folded, unfolded);
    const HistoryData data = ParseHistory(folded);
    EXPECT_TRUE(data.Answers.empty());
    EXPECT_EQ(data.Totals.size(), 2u);
    EXPECT_EQ(data.DamagedLines, 0u);
    const WordMemory* after = later.Review.Memory(kMethodVariant, word);
    EXPECT_EQ(after->LastDay, before.LastDay);
    EXPECT_NEAR(after->State.Stability, before.State.Stability, kEps);
    EXPECT_NEAR(after->State.Difficulty, before.State.Difficulty, kEps);
    EXPECT_EQ(later.Review.LearnedCount(kMethodVariant), 1);
    ASSERT_EQ(later.Review.Days().size(), 2u);
    EXPECT_EQ(later.Review.Days()[1].Right[kMethodVariant], 1);
}

TEST_F(ReviewLesson, EditedDictionaryIsMatchedByTheWordText)
{
    const int word = LearnOne();
    // A new first line shifts every index by one.
    std::string text = "new|новое\r\n" + vbtest::ReadBytes(dictionary);
    vbtest::WriteBytes(dictionary, text);
    Lesson edited;
    Open(edited);
    EXPECT_TRUE(edited.Review.Memory(kMethodVariant, word + 1)->Known);
    EXPECT_FALSE(edited.Review.Memory(kMethodVariant, word)->Known);
}

TEST_F(ReviewLesson, StatisticsCountWordsAnswersAndComingReviews)
{
    const std::int64_t day0 = lesson.Today();
    const int word = LearnOne();
    lesson.UpdateWorkSet(kMethodVariant);
    lesson.AnswerWrong(0, 1); // a new word of the working set

    StatisticsView view = BuildStatistics(lesson, StatsPeriod::Days30, day0);
    EXPECT_EQ(view.Methods[kMethodVariant], (MethodStatistics{1, 5, 0, 24}));
    EXPECT_EQ(view.Methods[kMethodMosaic], (MethodStatistics{0, 5, 0, 25}));
    ASSERT_EQ(view.Buckets.size(), 30u);
    EXPECT_EQ(view.Buckets.back().Label, FormatDate(day0).substr(8, 2) + "." + FormatDate(day0).substr(5, 2));
    EXPECT_EQ(view.Buckets.back().Right, 1);
    EXPECT_EQ(view.Buckets.back().Wrong, 1);
    EXPECT_EQ(view.Buckets.back().Learned[kMethodVariant], 1);
    EXPECT_EQ(view.Buckets.front().Learned[kMethodVariant], 0);
    ASSERT_TRUE(view.ShowForecast);
    ASSERT_EQ(view.Forecast[kMethodVariant].size(), 30u);
    EXPECT_EQ(view.Forecast[kMethodVariant][2], 1); // due in two days

    // Two days on the word is due and no longer counts as learned.
    clock.NextDay(2);
    view = BuildStatistics(lesson, StatsPeriod::Days30, lesson.Today());
    EXPECT_EQ(view.Methods[kMethodVariant], (MethodStatistics{0, 5, 1, 24}));
    EXPECT_EQ(view.Forecast[kMethodVariant][0], 1);
    EXPECT_EQ(view.Buckets[27].Right, 1);
    EXPECT_EQ(view.Buckets.back().Learned[kMethodVariant], 1); // carried over days without answers

    view = BuildStatistics(lesson, StatsPeriod::Months12, lesson.Today());
    EXPECT_TRUE(view.Monthly);
    ASSERT_EQ(view.Buckets.size(), 12u);
    EXPECT_EQ(view.Buckets.back().Right, 1);
    view = BuildStatistics(lesson, StatsPeriod::All, lesson.Today());
    EXPECT_FALSE(view.Monthly);
    EXPECT_EQ(view.Buckets.size(), 3u); // from the first answer to today

    lesson.Params.CB_Review = false;
    view = BuildStatistics(lesson, StatsPeriod::Days30, lesson.Today());
    EXPECT_FALSE(view.ShowForecast);
    EXPECT_EQ(view.Methods[kMethodVariant], (MethodStatistics{1, 5, 0, 24}));
    (void)word;
}

TEST(ReviewSettings, StoredOnlyOnceUsedAndReadBack)
{
    const std::string key = "Software\\Verbanta\\Default";
    auto reg = MakeMemoryRegistry();
    SettingsWindowValues v;
    ASSERT_TRUE(SaveSettings(*reg, key, v, nullptr));
    EXPECT_FALSE(reg->ReadInt(key, "SetCB_Review"));
    EXPECT_FALSE(reg->ReadInt(key, "SetSE_Retention"));

    v.CB_Review = true;
    v.SE_Retention.Set(120); // clamped to 99
    ASSERT_TRUE(SaveSettings(*reg, key, v, nullptr));
    SettingsWindowValues loaded;
    EXPECT_EQ(LoadSettings(*reg, key, loaded).valuesRead, 55);
    EXPECT_TRUE(loaded.CB_Review);
    EXPECT_EQ(loaded.SE_Retention, 99);

    // Turned off again, the off is remembered.
    v.CB_Review = false;
    v.SE_Retention.Set(90);
    ASSERT_TRUE(SaveSettings(*reg, key, v, nullptr));
    EXPECT_EQ(reg->ReadInt(key, "SetCB_Review"), 0);

    const LessonParams p = MakeLessonParams(loaded);
    EXPECT_TRUE(p.CB_Review);
    EXPECT_NEAR(p.Retention(), 0.99, kEps);
}

TEST(ReviewStatusBar, DueWordsShownOnlyWithReviewOn)
{
    LessonStatus s;
    s.LearnedCount = 12;
    EXPECT_EQ(LessonStatusBar(s).texts[3], "выучено: 12");
    EXPECT_EQ(LessonStatusBar(s).widths[3], 100);
    s.DueToday = 3;
    EXPECT_EQ(LessonStatusBar(s).texts[3], "выучено: 12, повтор: 3");
}

} // namespace
