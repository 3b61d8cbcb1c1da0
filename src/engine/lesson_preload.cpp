// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/lesson_preload.h"

#include <utility>

namespace vb {

LessonPreload::~LessonPreload()
{
    Join();
}

void LessonPreload::Start(std::string dictionaryPath, std::string progressPath)
{
    Join();
    m_dictionaryPath = std::move(dictionaryPath);
    m_progressPath = std::move(progressPath);
    m_started = true;
    try {
        m_thread = std::thread([this] { m_files = ReadLessonFiles(m_dictionaryPath, m_progressPath); });
    } catch (...) {
        // No thread to be had: the dictionary is read when it is opened, as without a head start.
        m_started = false;
    }
}

std::optional<LessonFiles> LessonPreload::Take(const std::string& dictionaryPath, const std::string& progressPath)
{
    if (!m_started) {
        return std::nullopt;
    }
    m_started = false;
    if (dictionaryPath != m_dictionaryPath || progressPath != m_progressPath) {
        return std::nullopt;
    }
    Join();
    return std::move(m_files);
}

void LessonPreload::Join()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

} // namespace vb
