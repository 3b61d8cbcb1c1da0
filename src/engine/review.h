// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Spaced review: every word and method gets a memory state replayed from the answer history. A day's
// first answer rates the word (right at the first try Good, right with a hint Hard, wrong Again); the next
// review falls due when recall is expected to drop to the desired retention. The per-day answer counts and
// learned words that the statistics show come from the same replay.

#include "engine/fsrs.h"
#include "engine/history.h"
#include "engine/lesson_types.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vb {

struct WordMemory
{
    bool Known = false; // reviewed at least once
    fsrs::MemoryState State;
    std::int64_t LastDay = 0;
    bool Learned = false;
};

fsrs::Rating RatingOf(const AnswerRecord& r);
// The answer `r` given on `day`: only the first answer of a day moves the memory state.
void ApplyAnswer(WordMemory& m, std::int64_t day, const AnswerRecord& r);

// Answers and learned words of one day, per method.
struct DaySummary
{
    std::int64_t Day = 0;
    std::array<std::int32_t, kMethodCount> Right{};
    std::array<std::int32_t, kMethodCount> Wrong{};
    std::array<std::int32_t, kMethodCount> Learned{}; // at the day's end
};

class ReviewSchedule
{
public:
    // Replays the history onto the dictionary's words: an entry whose index still holds its word keeps its
    // index, else it goes to the first word of the same text; words no longer there are dropped.
    void Build(const HistoryData& history, const std::vector<TLessonWord>& words);
    // One more answer, for a word index of the current words.
    void Record(const AnswerRecord& r, std::int32_t wordIndex);

    const WordMemory* Memory(int method, std::int32_t wordIndex) const;
    // The day the next review is due, or -1 for a word never reviewed.
    std::int64_t DueDay(int method, std::int32_t wordIndex, double retention) const;
    // Due today: learned by its last answer, answered before today, and its next review today or earlier.
    bool IsDue(int method, std::int32_t wordIndex, std::int64_t today, double retention) const;
    std::int32_t DueCount(int method, std::int64_t today, double retention) const;

    // Per day, oldest first.
    const std::vector<DaySummary>& Days() const { return m_days; }
    std::int32_t LearnedCount(int method) const { return m_learned[static_cast<std::size_t>(method)]; }

private:
    void Apply(const AnswerRecord& r, std::int32_t wordIndex);
    DaySummary& DayEntry(std::int64_t day);
    std::vector<WordMemory>& MemoryOf(std::size_t method);

    std::size_t m_wordCount = 0;
    // Per method, empty or one state per word.
    std::array<std::vector<WordMemory>, kMethodCount> m_memory;
    std::array<std::int32_t, kMethodCount> m_learned{};
    std::vector<DaySummary> m_days;
};

// Folds the answers of years before `keepFromYear` into daily totals and one memory state per word and
// method. True when there was anything to fold.
bool FoldOldYears(HistoryData& data, int keepFromYear);

} // namespace vb
