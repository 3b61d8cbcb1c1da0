// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/speed_meter.h"

#include "common/clock.h"

#include <algorithm>
#include <charconv>

namespace vb {

namespace {

std::string TwoDecimals(double value, char decimalPoint)
{
    // to_chars ignores the C locale, which Qt sets from the environment; the separator is put in below.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, result.ec == std::errc{} ? result.ptr : buffer);
    std::replace(text.begin(), text.end(), '.', decimalPoint);
    return text;
}

} // namespace

std::string SpeedCaption(double speed, double averageSpeed, double arrhythmia, double averageArrhythmia,
                         char decimalPoint)
{
    return "СКОРОСТЬ текущая: " + TwoDecimals(speed, decimalPoint) + " зн/мин " +
           " средняя: " + TwoDecimals(averageSpeed, decimalPoint) + " зн/мин    " +
           "АРИТМИЧНОСТЬ текущая: " + TwoDecimals(arrhythmia, decimalPoint) + "%" +
           " средняя: " + TwoDecimals(averageArrhythmia, decimalPoint) + "%";
}

void SpeedMeter::MeasureKeystroke()
{
    if (KeyCount > 0) {
        const std::uint32_t now = m_clock->TickCount();
        // Unsigned differences survive a wrap of the tick counter.
        const std::uint32_t interval = now - LastKeyTime;
        // Two changes within one tick have no rate of their own; their characters still count for the speed.
        if (interval > 0) {
            InstantRate = 60000.0 / interval;
            if (PrevInstantRate == 0) {
                RateDeviation = 0;
            } else {
                const double hi = std::max(InstantRate, PrevInstantRate);
                const double lo = std::min(InstantRate, PrevInstantRate);
                RateDeviation = (hi - lo) / hi * 100;
            }
            PrevInstantRate = InstantRate;
            DeviationSum += RateDeviation;
        }
        const std::uint32_t taskTime = now - FirstKeyTime;
        if (taskTime > 0) {
            TaskSpeed = static_cast<double>(static_cast<std::int64_t>(KeyCount) * 60000) / taskTime;
            TaskArrhythmia = DeviationSum / KeyCount;
            if (SpeedTaskCount >= 1) {
                WriteCaption(SpeedSum / SpeedTaskCount, ArrhythmiaSum / SpeedTaskCount);
            } else {
                WriteCaption(TaskSpeed, TaskArrhythmia);
            }
        }
    }
    LastKeyTime = m_clock->TickCount();
    if (KeyCount == 0) {
        FirstKeyTime = LastKeyTime;
    }
    ++KeyCount;
}

void SpeedMeter::CloseTask()
{
    if (TaskSpeed > 0) {
        ++SpeedTaskCount;
        SpeedSum += TaskSpeed;
        ArrhythmiaSum += TaskArrhythmia;
        WriteCaption(SpeedSum / SpeedTaskCount, ArrhythmiaSum / SpeedTaskCount);
    }
    TaskSpeed = 0;
    TaskArrhythmia = 0;
    KeyCount = 0;
    PrevInstantRate = 0;
    DeviationSum = 0;
}

void SpeedMeter::ResetSpeedStats()
{
    m_caption.clear();
    TaskSpeed = 0;
    TaskArrhythmia = 0;
    SpeedTaskCount = 0;
    SpeedSum = 0;
    ArrhythmiaSum = 0;
}

void SpeedMeter::WriteCaption(double averageSpeed, double averageArrhythmia)
{
    m_caption = SpeedCaption(TaskSpeed, averageSpeed, TaskArrhythmia, averageArrhythmia, DecimalPoint);
}

} // namespace vb
