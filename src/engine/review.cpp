// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/review.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

namespace vb {

fsrs::Rating RatingOf(const AnswerRecord& r)
{
    if (!r.Right) {
        return fsrs::Rating::Again;
    }
    return r.Hints > 0 ? fsrs::Rating::Hard : fsrs::Rating::Good;
}

void ApplyAnswer(WordMemory& m, std::int64_t day, const AnswerRecord& r)
{
    if (m.Known && day <= m.LastDay) {
        return; // not the day's first answer (or a clock set back)
    }
    const fsrs::Rating rating = RatingOf(r);
    m.State =
        m.Known ? fsrs::NextState(m.State, static_cast<double>(day - m.LastDay), rating) : fsrs::InitialState(rating);
    m.Known = true;
    m.LastDay = day;
}

void ReviewSchedule::Build(const HistoryData& history, const std::vector<TLessonWord>& words)
{
    // The words' memory states are made on the first answer or state that needs them: a pupil without a
    // history then costs nothing at start, whatever the size of the dictionary.
    m_wordCount = words.size();
    for (auto& memory : m_memory) {
        memory.clear();
    }
    m_learned = {};
    m_days.clear();

    std::unordered_map<std::string_view, std::int32_t> byText;
    bool byTextBuilt = false;
    auto match = [&](std::int32_t index, const std::string& word) -> std::int32_t {
        if (index >= 0 && static_cast<std::size_t>(index) < words.size() &&
            words[static_cast<std::size_t>(index)].Word == word) {
            return index;
        }
        if (!byTextBuilt) {
            byTextBuilt = true;
            byText.reserve(words.size());
            for (std::size_t i = words.size(); i-- > 0;) {
                byText[words[i].Word] = static_cast<std::int32_t>(i);
            }
        }
        const auto it = byText.find(word);
        return it == byText.end() ? -1 : it->second;
    };

    // Totals first: they are the oldest days, and their learned counts carry on to the days without one.
    std::vector<DayTotal> totals = history.Totals;
    std::stable_sort(totals.begin(), totals.end(), [](const DayTotal& a, const DayTotal& b) { return a.Day < b.Day; });
    for (const DayTotal& t : totals) {
        DaySummary& d = DayEntry(t.Day);
        const auto m = static_cast<std::size_t>(t.Method);
        d.Right[m] =
            static_cast<std::int32_t>(std::min<long long>(static_cast<long long>(d.Right[m]) + t.Right, 2147483647));
        d.Wrong[m] =
            static_cast<std::int32_t>(std::min<long long>(static_cast<long long>(d.Wrong[m]) + t.Wrong, 2147483647));
        d.Learned[m] = t.Learned;
        m_learned[m] = t.Learned;
    }

    m_learned = {};
    for (const StateRecord& s : history.States) {
        const std::int32_t w = match(s.WordIndex, s.Word);
        if (w < 0) {
            continue;
        }
        WordMemory& mem = MemoryOf(static_cast<std::size_t>(s.Method))[static_cast<std::size_t>(w)];
        if (mem.Learned) {
            --m_learned[static_cast<std::size_t>(s.Method)];
        }
        mem.Known = true;
        mem.State = {s.Stability, s.Difficulty};
        mem.LastDay = s.Day;
        mem.Learned = s.Learned;
        if (mem.Learned) {
            ++m_learned[static_cast<std::size_t>(s.Method)];
        }
    }

    for (const AnswerRecord& a : history.Answers) {
        Apply(a, match(a.WordIndex, a.Word));
    }
}

void ReviewSchedule::Record(const AnswerRecord& r, std::int32_t wordIndex)
{
    Apply(r, wordIndex);
}

void ReviewSchedule::Apply(const AnswerRecord& r, std::int32_t wordIndex)
{
    if (r.Method < 0 || r.Method >= kMethodCount) {
        return;
    }
    const auto m = static_cast<std::size_t>(r.Method);
    const std::int64_t day = DayOf(r.Time);
    DaySummary& d = DayEntry(day);
    std::int32_t& count = r.Right ? d.Right[m] : d.Wrong[m];
    if (count < 2147483647) {
        ++count;
    }
    if (wordIndex < 0 || static_cast<std::size_t>(wordIndex) >= m_wordCount) {
        return;
    }
    std::vector<WordMemory>& memory = MemoryOf(m);
    WordMemory& mem = memory[static_cast<std::size_t>(wordIndex)];
    ApplyAnswer(mem, day, r);
    if (mem.Learned != r.Learned) {
        m_learned[m] += r.Learned ? 1 : -1;
        mem.Learned = r.Learned;
    }
    d.Learned[m] = m_learned[m];
}

std::vector<WordMemory>& ReviewSchedule::MemoryOf(std::size_t method)
{
    std::vector<WordMemory>& memory = m_memory[method];
    if (memory.size() != m_wordCount) {
        memory.assign(m_wordCount, WordMemory{});
    }
    return memory;
}

DaySummary& ReviewSchedule::DayEntry(std::int64_t day)
{
    if (!m_days.empty() && m_days.back().Day == day) {
        return m_days.back();
    }
    auto it = std::lower_bound(m_days.begin(), m_days.end(), day,
                               [](const DaySummary& d, std::int64_t v) { return d.Day < v; });
    if (it != m_days.end() && it->Day == day) {
        return *it;
    }
    DaySummary fresh;
    fresh.Day = day;
    fresh.Learned = it == m_days.begin() ? m_learned : std::prev(it)->Learned;
    if (it == m_days.end()) {
        fresh.Learned = m_learned;
    }
    return *m_days.insert(it, fresh);
}

const WordMemory* ReviewSchedule::Memory(int method, std::int32_t wordIndex) const
{
    if (method < 0 || method >= kMethodCount) {
        return nullptr;
    }
    if (wordIndex < 0 || static_cast<std::size_t>(wordIndex) >= m_wordCount) {
        return nullptr;
    }
    const auto& memory = m_memory[static_cast<std::size_t>(method)];
    // Not made yet: no answer or state has reached this method.
    static const WordMemory kUnknown{};
    return memory.empty() ? &kUnknown : &memory[static_cast<std::size_t>(wordIndex)];
}

std::int64_t ReviewSchedule::DueDay(int method, std::int32_t wordIndex, double retention) const
{
    const WordMemory* m = Memory(method, wordIndex);
    if (!m || !m->Known) {
        return -1;
    }
    return m->LastDay + fsrs::NextIntervalDays(m->State.Stability, retention);
}

bool ReviewSchedule::IsDue(int method, std::int32_t wordIndex, std::int64_t today, double retention) const
{
    const WordMemory* m = Memory(method, wordIndex);
    // Only a word whose last answer left it learned is reviewed; one still being learned is in the working set.
    return m && m->Known && m->Learned && m->LastDay < today && DueDay(method, wordIndex, retention) <= today;
}

std::int32_t ReviewSchedule::DueCount(int method, std::int64_t today, double retention) const
{
    if (method < 0 || method >= kMethodCount) {
        return 0;
    }
    std::int32_t n = 0;
    const auto size = static_cast<std::int32_t>(m_memory[static_cast<std::size_t>(method)].size());
    for (std::int32_t w = 0; w < size; ++w) {
        n += IsDue(method, w, today, retention) ? 1 : 0;
    }
    return n;
}

bool FoldOldYears(HistoryData& data, int keepFromYear)
{
    const std::int64_t keepFrom = DaysFromCivil(keepFromYear, 1, 1);
    const bool anyOld = std::any_of(data.Answers.begin(), data.Answers.end(),
                                    [&](const AnswerRecord& a) { return DayOf(a.Time) < keepFrom; });
    if (!anyOld) {
        return false;
    }
    using Key = std::tuple<int, std::int32_t, std::string>;
    std::map<Key, WordMemory> memory;
    std::array<std::int32_t, kMethodCount> learned{};
    for (const StateRecord& s : data.States) {
        WordMemory& m = memory[Key{s.Method, s.WordIndex, s.Word}];
        m.Known = true;
        m.State = {s.Stability, s.Difficulty};
        m.LastDay = s.Day;
        m.Learned = s.Learned;
    }
    for (const auto& [key, m] : memory) {
        learned[static_cast<std::size_t>(std::get<0>(key))] += m.Learned ? 1 : 0;
    }
    std::map<std::pair<std::int64_t, int>, DayTotal> totals;
    for (const DayTotal& t : data.Totals) {
        DayTotal& into = totals[{t.Day, t.Method}];
        into.Day = t.Day;
        into.Method = t.Method;
        // A damaged file may hold the same day twice with huge counts: the sums stop at the largest count.
        into.Right =
            static_cast<std::int32_t>(std::min<long long>(static_cast<long long>(into.Right) + t.Right, 2147483647));
        into.Wrong =
            static_cast<std::int32_t>(std::min<long long>(static_cast<long long>(into.Wrong) + t.Wrong, 2147483647));
        into.Learned = t.Learned;
    }

    std::vector<AnswerRecord> kept;
    for (AnswerRecord& a : data.Answers) {
        const std::int64_t day = DayOf(a.Time);
        if (day >= keepFrom) {
            kept.push_back(std::move(a));
            continue;
        }
        WordMemory& m = memory[Key{a.Method, a.WordIndex, a.Word}];
        ApplyAnswer(m, day, a);
        const auto method = static_cast<std::size_t>(a.Method);
        if (m.Learned != a.Learned) {
            learned[method] += a.Learned ? 1 : -1;
            m.Learned = a.Learned;
        }
        DayTotal& t = totals[{day, a.Method}];
        t.Day = day;
        t.Method = a.Method;
        std::int32_t& count = a.Right ? t.Right : t.Wrong;
        if (count < 2147483647) {
            ++count;
        }
        t.Learned = learned[method];
    }

    data.States.clear();
    for (const auto& [key, m] : memory) {
        if (m.Known) {
            data.States.push_back(StateRecord{m.LastDay, std::get<0>(key), std::get<1>(key), m.State.Stability,
                                              m.State.Difficulty, m.Learned, std::get<2>(key)});
        }
    }
    data.Totals.clear();
    for (const auto& [key, t] : totals) {
        data.Totals.push_back(t);
    }
    data.Answers = std::move(kept);
    return true;
}

} // namespace vb
