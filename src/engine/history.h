// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The answer history of one pupil and one dictionary, beside the progress file (<name>.lqh): one text line
// per judged answer, appended as it is given. Lines, fields separated by "|", the word text last:
//   answer        YYYY-MM-DD HH:MM:SS|method|word index|right 1/0|hints|points change|learned 1/0|word
//   daily total   T|YYYY-MM-DD|method|right|wrong|learned words at the day's end
//   memory state  S|YYYY-MM-DD|method|word index|stability|difficulty|learned 1/0|word
// Answers of years before last year are folded into daily totals and one memory state per word, so the
// file stays small; the word text lets an edited dictionary be matched again. A damaged line is skipped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

// Local wall-clock time, as seconds since 1970-01-01 00:00 of the local calendar (so day boundaries are
// the pupil's midnights). An interface, so tests can set the date.
class DateClock
{
public:
    virtual ~DateClock() = default;
    virtual std::int64_t LocalSeconds() = 0;
};
DateClock& SystemDateClock();

// Days since 1970-01-01 of a civil date, and back.
std::int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(std::int64_t days, int& year, int& month, int& day);
inline std::int64_t DayOf(std::int64_t localSeconds)
{
    return localSeconds >= 0 ? localSeconds / 86400 : -((-localSeconds + 86399) / 86400);
}
std::string FormatDate(std::int64_t day);

struct AnswerRecord
{
    std::int64_t Time = 0; // local seconds
    int Method = 0;
    std::int32_t WordIndex = 0;
    bool Right = false;
    std::int32_t Hints = 0; // hints taken, and wrong tries at the word before this right answer
    std::int32_t PointsChange = 0;
    bool Learned = false; // the word's points reached the method's threshold with this answer
    std::string Word;

    bool operator==(const AnswerRecord&) const = default;
};

struct DayTotal
{
    std::int64_t Day = 0;
    int Method = 0;
    std::int32_t Right = 0;
    std::int32_t Wrong = 0;
    std::int32_t Learned = 0;

    bool operator==(const DayTotal&) const = default;
};

struct StateRecord
{
    std::int64_t Day = 0; // of the last review
    int Method = 0;
    std::int32_t WordIndex = 0;
    double Stability = 0;
    double Difficulty = 0;
    bool Learned = false;
    std::string Word;

    bool operator==(const StateRecord&) const = default;
};

struct HistoryData
{
    std::vector<StateRecord> States;
    std::vector<DayTotal> Totals;
    std::vector<AnswerRecord> Answers; // in file order
    std::size_t DamagedLines = 0;
};

std::string FormatAnswerLine(const AnswerRecord& r);
std::string FormatTotalLine(const DayTotal& t);
std::string FormatStateLine(const StateRecord& s);

// Reads any bytes: a line that is cut, too long, or has a field out of range is counted and skipped.
HistoryData ParseHistory(std::string_view text);
// The whole file again, states and totals first.
std::string FormatHistory(const HistoryData& data);

// <name>.lqh beside the progress file <name>.lqs.
std::string HistoryFilePath(const std::string& progressFilePath);

// Appends one answer. False (earlier lines untouched) when it could not be written.
bool AppendAnswer(const std::string& path, const AnswerRecord& r);

} // namespace vb
