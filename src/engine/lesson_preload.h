// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/lesson.h"

#include <optional>
#include <string>
#include <thread>

namespace vb {

// Reads a lesson's files on a worker thread while the program builds its windows. The reading is only a
// head start: whoever opens a dictionary takes it when the paths are the same, and reads for himself
// otherwise.
class LessonPreload
{
public:
    LessonPreload() = default;
    LessonPreload(const LessonPreload&) = delete;
    LessonPreload& operator=(const LessonPreload&) = delete;
    // Waits for the reading, which is then dropped.
    ~LessonPreload();

    void Start(std::string dictionaryPath, std::string progressPath);
    // The files read for exactly these paths, waiting for the reading to end; empty for other paths, when
    // nothing was started, and after the first call.
    std::optional<LessonFiles> Take(const std::string& dictionaryPath, const std::string& progressPath);

private:
    void Join();

    std::thread m_thread;
    std::string m_dictionaryPath;
    std::string m_progressPath;
    LessonFiles m_files;
    bool m_started = false;
};

} // namespace vb
