// SPDX-License-Identifier: GPL-3.0-or-later
// The generator, the sorts and the word selection decide what a pupil is asked, so they are pinned value
// for value. Expected values were worked out by hand from the rules.

#include "engine_fakes.h"

#include "common/clock.h"
#include "engine/selection.h"

#include <gtest/gtest.h>

#include <set>

using namespace vb;
using vbtest::Indexes;
using vbtest::Points;
using vbtest::Progress;

TEST(Generator, SequenceAndFullPeriod)
{
    RandomGenerator g;
    std::vector<int> states;
    for (int i = 0; i < 5; ++i) {
        g.NextRandom();
        states.push_back(g.RandomSeed);
    }
    EXPECT_EQ(states, (std::vector<int>{9834, 13455, 17133, 16107, 13694}));

    RandomGenerator h;
    std::vector<int> ints;
    for (int i = 0; i < 5; ++i) {
        ints.push_back(h.RandomInt(100));
    }
    EXPECT_EQ(ints, (std::vector<int>{56, 77, 98, 92, 78}));

    // Every state but the fixed point 12643 comes once before the sequence repeats.
    std::set<int> seen;
    RandomGenerator p;
    for (int i = 0; i < 17416; ++i) {
        ASSERT_LT(p.NextRandom(), 1.0);
        seen.insert(p.RandomSeed);
    }
    EXPECT_EQ(seen.size(), 17416u);
    EXPECT_EQ(seen.count(12643), 0u);
    EXPECT_EQ(p.RandomSeed, 203);
}

TEST(Generator, EveryRandomIntAdvancesAndStaysInRange)
{
    RandomGenerator g;
    EXPECT_EQ(g.RandomInt(0), 0);
    EXPECT_EQ(g.RandomInt(1), 0);
    EXPECT_EQ(g.RandomInt(-5), 0);
    EXPECT_EQ(g.RandomSeed, 17133); // three steps taken

    g.RandomSeed = 1644; // leads to the largest state, 17416
    EXPECT_EQ(g.RandomInt(2147483647), 2147360348);
    g.RandomSeed = -1; // set from outside: folded to 17416 first, no overflow
    g.NextRandom();
    EXPECT_EQ(g.RandomSeed, 7419);
}

TEST(Generator, StartUpSeedingByTickCount)
{
    struct FixedClock : Clock
    {
        std::uint32_t TickCount() override { return 19 * 1000 + 13; }
    } clock;
    Lesson lesson;
    lesson.SeedRandom(clock);
    EXPECT_EQ(lesson.Random.RandomSeed, 5488);

    // Tick count mod 19 -> state after the warm-up; the count is unsigned (2^32-1 mod 19 = 5).
    const std::vector<std::pair<std::uint32_t, int>> cases = {{0, 17133}, {2, 16107},  {8, 16097},          {9, 769},
                                                              {18, 7007}, {19, 17133}, {0xFFFFFFFFu, 13694}};
    for (auto [ticks, state] : cases) {
        RandomGenerator g;
        g.RandomSeed = 42;
        g.SeedAtStartup(ticks);
        EXPECT_EQ(g.RandomSeed, state) << ticks;
    }
    std::set<int> states;
    for (std::uint32_t t = 0; t < 19; ++t) {
        RandomGenerator g;
        g.SeedAtStartup(t);
        states.insert(g.RandomSeed);
    }
    EXPECT_EQ(states.size(), 11u);
}

TEST(SortByPoints, EqualKeysLandWhereTheQuicksortPutsThem)
{
    ProgressArray equal = Progress({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}});
    SortByPoints(equal, 0, 6);
    EXPECT_EQ(Indexes(equal), (std::vector<int>{4, 5, 6, 3, 0, 1, 2}));

    ProgressArray dups = Progress({{0, 3}, {1, 1}, {2, 3}, {3, 2}, {4, 1}, {5, 3}, {6, 2}, {7, 1}});
    SortByPoints(dups, 0, 7);
    EXPECT_EQ(Indexes(dups), (std::vector<int>{4, 1, 7, 6, 3, 0, 2, 5}));

    ProgressArray a = Progress({{0, 9}, {1, 5}, {2, 3}, {3, -2147483647 - 1}, {4, 2147483647}});
    SortByPoints(a, 1, 3);
    EXPECT_EQ(Indexes(a), (std::vector<int>{0, 3, 2, 1, 4}));
    SortByPoints(a, -3, 99); // clipped to the array
    EXPECT_EQ(Indexes(a), (std::vector<int>{3, 2, 1, 0, 4}));
}

TEST(WorkSet, LearnedWordsTradedForTheLowestUnlearned)
{
    Lesson lesson;
    vbtest::FillLesson(lesson, 6);
    lesson.Params.SE_CountWLs = 3;
    lesson.VarProgress = Progress({{0, 50}, {1, 10}, {2, 0}, {3, 0}, {4, 0}, {5, 49}});
    EXPECT_EQ(lesson.UpdateWorkSet(lesson.VarProgress, 48), 3);
    EXPECT_EQ(Points(lesson.VarProgress), (std::vector<int>{0, 0, 10, 0, 49, 50}));
    EXPECT_EQ(Indexes(lesson.VarProgress), (std::vector<int>{4, 2, 1, 3, 5, 0}));
    EXPECT_EQ(lesson.LearnedCount, 2);

    // The trade stops where the rest has no unlearned word left; learned words then form the tail.
    vbtest::FillLesson(lesson, 4);
    lesson.Params.SE_CountWLs = 2;
    lesson.VarProgress = Progress({{0, 50}, {1, 60}, {2, 0}, {3, 70}});
    EXPECT_EQ(lesson.UpdateWorkSet(lesson.VarProgress, 48), 1);
    EXPECT_EQ(Indexes(lesson.VarProgress), (std::vector<int>{2, 0, 1, 3}));
    EXPECT_EQ(lesson.LearnedCount, 3);
}

TEST(WorkSet, SmallDictionaryIsSortedWhole)
{
    vbtest::RecordingEvents events;
    Lesson lesson(&events);
    vbtest::FillLesson(lesson, 5);
    lesson.EnterProgress = Progress({{0, 60}, {1, 7}, {2, 48}, {3, -6}, {4, 0}});
    EXPECT_EQ(lesson.UpdateWorkSet(kMethodWriting), 3);
    EXPECT_EQ(Indexes(lesson.EnterProgress), (std::vector<int>{3, 4, 1, 2, 0}));
    EXPECT_EQ(lesson.LearnedCount, 2);
    EXPECT_EQ(events.calls, (std::vector<std::string>{"status"}));

    ProgressArray empty;
    EXPECT_EQ(lesson.UpdateWorkSet(empty, 48), 0);
}

TEST(PickTaskWord, NeverTheSameWordTwiceUnlessItIsTheOnlyOne)
{
    // From seed 203, RandomInt(4) gives 2 then 3: with word 2 asked last, the pick draws twice.
    Lesson lesson;
    vbtest::FillLesson(lesson, 4);
    lesson.WorkSetSize = 4;
    lesson.LastTaskWord = 2;
    EXPECT_EQ(lesson.PickTaskWord(lesson.VarProgress), 3);
    EXPECT_EQ(lesson.Random.RandomSeed, 13455);
    EXPECT_EQ(lesson.LastTaskWord, 3);

    lesson.WorkSetSize = 2;
    for (int i = 0; i < 50; ++i) {
        const int previous = lesson.LastTaskWord;
        const int pos = lesson.PickTaskWord(lesson.VarProgress);
        ASSERT_LT(pos, 2);
        ASSERT_NE(lesson.VarProgress[static_cast<std::size_t>(pos)].WordIndex, previous);
    }

    lesson.WorkSetSize = 1;
    lesson.LastTaskWord = 0;
    EXPECT_EQ(lesson.PickTaskWord(lesson.VarProgress), 0);
}

TEST(AllWordsLearned, UnderstoodEndsTheQuestionRepeatRaisesTheThreshold)
{
    vbtest::ScriptedDialog dialog;
    vbtest::RecordingEvents events;
    Lesson lesson(&events, &dialog);
    vbtest::FillLesson(lesson, 3);
    EXPECT_TRUE(lesson.AllWordsLearnedLoop(kMethodVariant));
    EXPECT_TRUE(dialog.calls.empty());

    lesson.VarProgress = Progress({{0, 54}, {1, 57}, {2, 60}});
    for (int answer : {1, 0, 2}) {
        dialog.answers = {answer};
        EXPECT_FALSE(lesson.AllWordsLearnedLoop(kMethodVariant));
    }
    EXPECT_EQ(dialog.calls.back(), (std::vector<std::string>{"Все слова выучены, переходите к другому словарю или "
                                                             "методу обучения",
                                                             "понятно", "", "повторить"}));
    EXPECT_EQ(lesson.WorkSetSize, 0);
    EXPECT_EQ(lesson.Params.SE_Var_Stop, 48);

    // 48 -> 54 -> 60: then two words are below the threshold again.
    dialog.answers = {3, 3};
    EXPECT_TRUE(lesson.AllWordsLearnedLoop(kMethodVariant));
    EXPECT_EQ(events.raisedThresholds, (std::vector<int>{54, 60}));
    EXPECT_EQ(lesson.WorkSetSize, 2);
    EXPECT_EQ(lesson.LearnedCount, 1);
}

TEST(AllWordsLearned, ThresholdStopsAtHundredAndTheQuestionComesAgain)
{
    vbtest::ScriptedDialog dialog;
    Lesson lesson(nullptr, &dialog);
    vbtest::FillLesson(lesson, 2);
    lesson.ActiveMethod = kMethodMosaic;
    lesson.Params.SE_Moz_Stop = 98;
    lesson.MozProgress = Progress({{0, 150}, {1, 200}});
    dialog.answers = {3, 3, 3, 1};
    EXPECT_FALSE(lesson.AllWordsLearnedLoop(kMethodMosaic));
    EXPECT_EQ(lesson.Params.SE_Moz_Stop, 100);
    EXPECT_EQ(dialog.calls.size(), 4u);
}

TEST(PickEnterTask, TakesTheTaskFromTheWritingOrder)
{
    vbtest::ScriptedDialog dialog;
    Lesson lesson(nullptr, &dialog);
    lesson.PickEnterTask(); // no dictionary: no draw, no question
    EXPECT_EQ(lesson.Random.RandomSeed, 203);

    vbtest::FillLesson(lesson, 4);
    lesson.EnterProgress = Progress({{3, 12}, {2, 60}, {1, -6}, {0, 30}});
    lesson.PickEnterTask();
    // Sorted (1,-6) (3,12) (0,30) (2,60); working set of 3; RandomInt(3) from 203 gives 1.
    EXPECT_EQ(lesson.TaskPos, 1);
    EXPECT_EQ(lesson.TaskPoints, 12);

    lesson.EnterProgress = Progress({{3, 50}, {2, 60}, {1, 60}, {0, 70}});
    dialog.answers = {1};
    lesson.PickEnterTask();
    EXPECT_EQ(lesson.WorkSetSize, 0);
    EXPECT_EQ(lesson.TaskPos, 1);
    EXPECT_TRUE(dialog.calls.size() == 1 && dialog.answers.empty());
}

TEST(SortOptions, ByteOrderUpperCaseFirstAndEqualTextsStay)
{
    std::vector<TLessonWord> words;
    for (const char* w : {"b", "B", "a", "ab", "\xdf\xe1", "a", "A"}) {
        words.push_back({w, w, "", ""});
    }
    const ProgressArray progress = Progress({{6, 0}, {5, 0}, {4, 0}, {3, 0}, {2, 0}, {1, 0}, {0, 0}});
    std::vector<std::int32_t> byWord = {0, 1, 2, 3, 4, 5, 6};
    SortOptionsByWord(byWord, 0, 6, progress, words);
    EXPECT_EQ(byWord, (std::vector<std::int32_t>{0, 5, 1, 4, 3, 6, 2}));

    words[0].Translation = "z";
    std::vector<std::int32_t> byTranslation = {6, 0, 5, 1};
    SortOptionsByTranslation(byTranslation, 0, 2, progress, words); // slot 3 stays
    EXPECT_EQ(byTranslation, (std::vector<std::int32_t>{0, 5, 6, 1}));

    // Positions naming nothing sort as empty texts instead of reading outside the arrays.
    std::vector<std::int32_t> bad = {2, -1, 99};
    SortOptionsByWord(bad, 0, 5, progress, words);
    EXPECT_EQ(bad[2], 2);
}

TEST(TaskDirection, WordAndTranslationAreFixedAllDrawsACoin)
{
    Lesson lesson;
    EXPECT_EQ(lesson.DrawTaskDirection(0), 1);
    EXPECT_EQ(lesson.DrawTaskDirection(1), 0);
    EXPECT_EQ(lesson.Random.RandomSeed, 203);
    EXPECT_EQ(lesson.DrawTaskDirection(2), 1); // state 9834: 1.13
    lesson.Random.RandomSeed = 0; // next state 3: 0.0003
    EXPECT_EQ(lesson.DrawTaskDirection(2), 0);
}
