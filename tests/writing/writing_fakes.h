// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A clock the test moves by hand, and a lesson of a few words held in memory.

#include "common/clock.h"
#include "engine/lesson.h"

#include <string>
#include <utility>
#include <vector>

namespace vbtest {

struct FakeClock : vb::Clock
{
    std::uint32_t now = 1000;
    std::uint32_t TickCount() override { return now; }
};

// Words in dictionary order, every method in that order with 0 points.
inline void FillLesson(vb::Lesson& lesson, const std::vector<std::pair<std::string, std::string>>& words)
{
    for (const auto& [word, translation] : words) {
        lesson.LessonWords.push_back({word, translation, "[" + word + "]", ""});
    }
    lesson.WordCount = static_cast<std::int32_t>(words.size());
    for (std::int32_t i = 0; i < lesson.WordCount; ++i) {
        lesson.EnterProgress.push_back({i, 0});
    }
    lesson.VarProgress = lesson.MozProgress = lesson.EnterProgress;
}

} // namespace vbtest
