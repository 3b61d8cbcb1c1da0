// SPDX-License-Identifier: GPL-3.0-or-later
// The answer history reader on any bytes: it never reads outside the input; what it reads, written back and
// read again, gives the same file; folding its old years and replaying it onto a small dictionary stays
// inside the words.
#include "engine/history.h"
#include "engine/review.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vb::HistoryData first = vb::ParseHistory(text);
    const std::string written = vb::FormatHistory(first);
    const vb::HistoryData second = vb::ParseHistory(written);
    if (second.DamagedLines != 0 || second.Answers.size() != first.Answers.size() ||
        second.Totals.size() != first.Totals.size() || second.States.size() != first.States.size() ||
        vb::FormatHistory(second) != written) {
        std::abort();
    }

    std::vector<vb::TLessonWord> words(5);
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i].Word = "w" + std::to_string(i);
    }
    vb::ReviewSchedule schedule;
    schedule.Build(first, words);
    for (int m = 0; m < vb::kMethodCount; ++m) {
        schedule.DueCount(m, 20000, 0.9);
    }
    vb::FoldOldYears(first, 2026);
    schedule.Build(first, words);
    return 0;
}
