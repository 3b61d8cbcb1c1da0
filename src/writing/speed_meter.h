// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The typing speed and arrhythmia meter of the Writing page. While "Показывать скорость набора слов" is on,
// every change of the answer that leaves a correct prefix is a measured keystroke. The meter keeps the speed
// (characters per minute) and the arrhythmia (how much the pace between keystrokes varies, in percent) of
// the task in hand and their averages over the finished tasks, and the caption that shows all four.

#include <cstdint>
#include <string>

namespace vb {

class Clock;

// "СКОРОСТЬ текущая: 300.00 зн/мин  средняя: ..." (UTF-8); each number with two decimals and `decimalPoint`.
std::string SpeedCaption(double speed, double averageSpeed, double arrhythmia, double averageArrhythmia,
                         char decimalPoint = '.');

class SpeedMeter
{
public:
    explicit SpeedMeter(Clock& clock) : m_clock(&clock) { }

    void SetClock(Clock& clock) { m_clock = &clock; }
    // The separator the caption's numbers are written with (the system's).
    char DecimalPoint = '.';

    // One measured keystroke: the first of a task only starts the clock.
    void MeasureKeystroke();
    // The next task starts: a task with a speed joins the averages, then the task's figures start again.
    void CloseTask();
    // The option was switched: the caption and the averages start again; the task's timing is kept.
    void ResetSpeedStats();

    // The caption of the options' group box, as last written.
    const std::string& Caption() const { return m_caption; }

    // Per task.
    std::int32_t KeyCount = 0;
    std::uint32_t FirstKeyTime = 0;
    std::uint32_t LastKeyTime = 0;
    double InstantRate = 0;
    double PrevInstantRate = 0;
    double RateDeviation = 0;
    double DeviationSum = 0;
    double TaskSpeed = 0;
    double TaskArrhythmia = 0;
    // Over the finished tasks that had a speed.
    std::int32_t SpeedTaskCount = 0;
    double SpeedSum = 0;
    double ArrhythmiaSum = 0;

private:
    void WriteCaption(double averageSpeed, double averageArrhythmia);

    Clock* m_clock;
    std::string m_caption;
};

} // namespace vb
