// SPDX-License-Identifier: GPL-3.0-or-later
// The typing speed and arrhythmia meter with a clock moved by hand.

#include "writing/speed_meter.h"
#include "writing/writing.h"
#include "writing_fakes.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace vb;

namespace {

// Keystrokes after the given pauses; the first one only starts the clock.
void Type(SpeedMeter& meter, vbtest::FakeClock& clock, std::initializer_list<std::uint32_t> pauses)
{
    meter.MeasureKeystroke();
    for (std::uint32_t pause : pauses) {
        clock.now += pause;
        meter.MeasureKeystroke();
    }
}

} // namespace

TEST(SpeedMeter, EvenPaceHasNoArrhythmia)
{
    vbtest::FakeClock clock;
    SpeedMeter meter(clock);
    Type(meter, clock, {200, 200, 200, 200});
    EXPECT_DOUBLE_EQ(meter.TaskSpeed, 300);
    EXPECT_DOUBLE_EQ(meter.TaskArrhythmia, 0);
    // Before the first finished task the averages are the current figures.
    EXPECT_EQ(meter.Caption(), "СКОРОСТЬ текущая: 300.00 зн/мин  средняя: 300.00 зн/мин    "
                               "АРИТМИЧНОСТЬ текущая: 0.00% средняя: 0.00%");
}

TEST(SpeedMeter, UnevenPaceAndTheAveragesOfClosedTasks)
{
    vbtest::FakeClock clock;
    SpeedMeter meter(clock);
    meter.DecimalPoint = ',';
    Type(meter, clock, {200, 400});
    EXPECT_DOUBLE_EQ(meter.TaskArrhythmia, 25);
    EXPECT_DOUBLE_EQ(meter.TaskSpeed, 200);

    meter.CloseTask();
    EXPECT_EQ(meter.SpeedTaskCount, 1);
    EXPECT_EQ(meter.KeyCount, 0);
    EXPECT_EQ(meter.Caption(), "СКОРОСТЬ текущая: 200,00 зн/мин  средняя: 200,00 зн/мин    "
                               "АРИТМИЧНОСТЬ текущая: 25,00% средняя: 25,00%");

    // The next task's figures are its own; the averages cover the closed tasks only.
    Type(meter, clock, {100});
    EXPECT_EQ(meter.Caption(), "СКОРОСТЬ текущая: 600,00 зн/мин  средняя: 200,00 зн/мин    "
                               "АРИТМИЧНОСТЬ текущая: 0,00% средняя: 25,00%");
    meter.CloseTask();
    EXPECT_DOUBLE_EQ(meter.SpeedSum / meter.SpeedTaskCount, 400);

    // A task of a single keystroke has no speed and stays out of the averages.
    Type(meter, clock, {});
    meter.CloseTask();
    EXPECT_EQ(meter.SpeedTaskCount, 2);

    meter.ResetSpeedStats();
    EXPECT_EQ(meter.Caption(), "");
    EXPECT_EQ(meter.SpeedTaskCount, 0);
}

TEST(SpeedMeter, ZeroIntervalsAndAWrappingClock)
{
    vbtest::FakeClock clock;
    SpeedMeter meter(clock);
    // Two changes in one tick: no rate of their own, no task time yet.
    Type(meter, clock, {0});
    EXPECT_DOUBLE_EQ(meter.TaskSpeed, 0);
    EXPECT_EQ(meter.Caption(), "");
    clock.now = 0xFFFFFFFFu - 99; // the tick counter wraps during the next interval
    meter.CloseTask();
    Type(meter, clock, {200, 200});
    EXPECT_DOUBLE_EQ(meter.TaskSpeed, 300);
    EXPECT_DOUBLE_EQ(meter.TaskArrhythmia, 0);
}

TEST(SpeedMeter, OnlyCorrectPrefixesAreMeasuredWhileTheOptionIsOn)
{
    Lesson lesson;
    vbtest::FillLesson(lesson, {{"cat", "kot"}});
    vbtest::FakeClock clock;
    WritingExercise exercise(lesson, clock);
    WritingSettings settings;
    settings.RG_WordShow = 0;
    exercise.SetEnterTask(settings);

    exercise.UpdateEnterHint("c");
    EXPECT_EQ(exercise.Meter.KeyCount, 0);

    exercise.Options.CB_Speed = true;
    exercise.UpdateEnterHint("");
    exercise.UpdateEnterHint("c");
    clock.now += 200;
    exercise.UpdateEnterHint("cx"); // wrong: its time goes into the next interval
    clock.now += 200;
    exercise.UpdateEnterHint("c"); // deleted back to a correct prefix: measured
    EXPECT_EQ(exercise.Meter.KeyCount, 2);
    EXPECT_DOUBLE_EQ(exercise.Meter.TaskSpeed, 150);
}
