// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What "Статистика…" shows, computed from the lesson and its replayed history: per method how many words
// are learned, in the working set, due and not started; right and wrong answers and learned words over a
// period; and, with review on, the reviews falling due in the next 30 days.

#include "engine/lesson.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vb {

enum class StatsPeriod { Days30 = 0, Months12 = 1, All = 2 };

struct MethodStatistics
{
    std::int32_t Learned = 0; // learned and not due
    std::int32_t WorkingSet = 0;
    std::int32_t Due = 0; // due for review today (review on only)
    std::int32_t NotStarted = 0;

    bool operator==(const MethodStatistics&) const = default;
};

// One bar of the charts: a day, or a month for the longer periods.
struct StatsBucket
{
    std::string Label;
    std::int32_t Right = 0;
    std::int32_t Wrong = 0;
    std::array<std::int32_t, kMethodCount> Learned{}; // at the bucket's end
};

struct StatisticsView
{
    std::array<MethodStatistics, kMethodCount> Methods;
    std::vector<StatsBucket> Buckets;
    bool Monthly = false;
    bool ShowForecast = false;
    std::vector<std::string> ForecastLabels; // the next 30 days, today first
    std::array<std::vector<std::int32_t>, kMethodCount> Forecast; // reviews due per day and method
};

StatisticsView BuildStatistics(const Lesson& lesson, StatsPeriod period, std::int64_t today);

} // namespace vb
