// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/statistics.h"

#include <algorithm>

namespace vb {

namespace {

constexpr int kForecastDays = 30;
// "Всё" counts by day while the history is shorter than this, by month beyond.
constexpr std::int64_t kLongestDaily = 62;

std::string TwoDigits(int v)
{
    return std::string{static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

std::string DayLabel(std::int64_t day)
{
    int y = 0, m = 0, d = 0;
    CivilFromDays(day, y, m, d);
    return TwoDigits(d) + "." + TwoDigits(m);
}

std::string MonthLabel(std::int64_t day)
{
    int y = 0, m = 0, d = 0;
    CivilFromDays(day, y, m, d);
    return TwoDigits(m) + "." + TwoDigits(y % 100);
}

std::int64_t MonthStart(std::int64_t day)
{
    int y = 0, m = 0, d = 0;
    CivilFromDays(day, y, m, d);
    return DaysFromCivil(y, m, 1);
}

std::int64_t NextMonth(std::int64_t monthStart)
{
    int y = 0, m = 0, d = 0;
    CivilFromDays(monthStart, y, m, d);
    return m == 12 ? DaysFromCivil(y + 1, 1, 1) : DaysFromCivil(y, m + 1, 1);
}

std::int32_t AddCapped(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(std::min<long long>(static_cast<long long>(a) + b, 2147483647));
}

// Buckets [starts[i], starts[i+1]) filled from the day summaries (sorted by day).
void FillBuckets(StatisticsView& view, const std::vector<std::int64_t>& starts, std::int64_t end,
                 const std::vector<DaySummary>& days, bool monthly)
{
    std::array<std::int32_t, kMethodCount> learned{};
    std::size_t d = 0;
    for (; d < days.size() && days[d].Day < starts.front(); ++d) {
        learned = days[d].Learned;
    }
    for (std::size_t b = 0; b < starts.size(); ++b) {
        const std::int64_t stop = b + 1 < starts.size() ? starts[b + 1] : end;
        StatsBucket bucket;
        bucket.Label = monthly ? MonthLabel(starts[b]) : DayLabel(starts[b]);
        for (; d < days.size() && days[d].Day < stop; ++d) {
            for (int m = 0; m < kMethodCount; ++m) {
                bucket.Right = AddCapped(bucket.Right, days[d].Right[static_cast<std::size_t>(m)]);
                bucket.Wrong = AddCapped(bucket.Wrong, days[d].Wrong[static_cast<std::size_t>(m)]);
            }
            learned = days[d].Learned;
        }
        bucket.Learned = learned;
        view.Buckets.push_back(std::move(bucket));
    }
}

} // namespace

StatisticsView BuildStatistics(const Lesson& lesson, StatsPeriod period, std::int64_t today)
{
    StatisticsView view;
    const ReviewSchedule& review = lesson.Review;
    const bool reviewOn = lesson.Params.CB_Review;
    const double retention = lesson.Params.Retention();

    view.ShowForecast = reviewOn;
    if (reviewOn) {
        for (int i = 0; i < kForecastDays; ++i) {
            view.ForecastLabels.push_back(DayLabel(today + i));
        }
    }
    for (int m = 0; m < kMethodCount; ++m) {
        const ProgressArray* progress = lesson.MethodProgress(m);
        const std::int32_t threshold = lesson.Params.Threshold(m);
        MethodStatistics& s = view.Methods[static_cast<std::size_t>(m)];
        std::vector<std::int32_t>& forecast = view.Forecast[static_cast<std::size_t>(m)];
        forecast.assign(reviewOn ? kForecastDays : 0, 0);
        std::int32_t unlearned = 0;
        for (const TWordProgress& p : *progress) {
            const bool due = reviewOn && review.IsDue(m, p.WordIndex, today, retention);
            if (due) {
                ++s.Due;
            } else if (p.Points >= threshold) {
                ++s.Learned;
            } else {
                ++unlearned;
            }
            if (reviewOn && (due || p.Points >= threshold)) {
                const std::int64_t at = due ? today : review.DueDay(m, p.WordIndex, retention);
                if (at >= today && at < today + kForecastDays) {
                    ++forecast[static_cast<std::size_t>(at - today)];
                }
            }
        }
        s.WorkingSet = std::min<std::int32_t>(unlearned, lesson.Params.SE_CountWLs);
        s.NotStarted = unlearned - s.WorkingSet;
    }

    const std::vector<DaySummary>& days = review.Days();
    std::vector<std::int64_t> starts;
    switch (period) {
    case StatsPeriod::Days30:
        for (std::int64_t d = today - 29; d <= today; ++d) {
            starts.push_back(d);
        }
        break;
    case StatsPeriod::Months12: {
        std::int64_t month = MonthStart(today);
        for (int i = 0; i < 11; ++i) {
            month = MonthStart(month - 1);
        }
        for (int i = 0; i < 12; ++i, month = NextMonth(month)) {
            starts.push_back(month);
        }
        view.Monthly = true;
        break;
    }
    case StatsPeriod::All: {
        const std::int64_t first = days.empty() ? today : std::min(days.front().Day, today);
        if (today - first < kLongestDaily) {
            for (std::int64_t d = first; d <= today; ++d) {
                starts.push_back(d);
            }
        } else {
            for (std::int64_t month = MonthStart(first); month <= today; month = NextMonth(month)) {
                starts.push_back(month);
            }
            view.Monthly = true;
        }
        break;
    }
    }
    FillBuckets(view, starts, today + 1, days, view.Monthly);
    return view;
}

} // namespace vb
