// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Recording stand-ins for the lesson window and the message dialog, and builders for lesson data.

#include "common/message_dialog.h"
#include "engine/lesson.h"

#include <deque>
#include <string>
#include <vector>

namespace vbtest {

// prefix + number, built by appending (gcc 12 misreports "literal + string" at -O3).
inline std::string Numbered(const char* prefix, int n)
{
    std::string s = prefix;
    s += std::to_string(n);
    return s;
}

struct RecordingEvents : vb::LessonEvents
{
    std::vector<std::string> calls;
    std::vector<int> raisedThresholds;

    void UpdateStatusBar() override { calls.push_back("status"); }
    void ShowLastRightWord(int wordIndex) override { calls.push_back(Numbered("last", wordIndex)); }
    void PronounceRightAnswer() override { calls.push_back("echo"); }
    void HideToTray() override { calls.push_back("tray"); }
    void LearnedThresholdRaised(int, int threshold) override { raisedThresholds.push_back(threshold); }
};

struct ScriptedDialog : vb::MessageDialog
{
    std::deque<int> answers; // 0 (closed) once they run out
    std::vector<std::vector<std::string>> calls;

    int ShowMessageDialog(const std::string& text, const std::string& c1, const std::string& c2,
                          const std::string& c3) override
    {
        calls.push_back({text, c1, c2, c3});
        const int a = answers.empty() ? 0 : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return a;
    }
};

// A progress array from (WordIndex, Points) pairs.
inline vb::ProgressArray Progress(std::initializer_list<std::pair<int, int>> items)
{
    vb::ProgressArray a;
    for (auto [w, p] : items) {
        a.push_back(vb::TWordProgress{w, p});
    }
    return a;
}

inline std::vector<int> Indexes(const vb::ProgressArray& a)
{
    std::vector<int> v;
    for (const auto& p : a) {
        v.push_back(p.WordIndex);
    }
    return v;
}

inline std::vector<int> Points(const vb::ProgressArray& a)
{
    std::vector<int> v;
    for (const auto& p : a) {
        v.push_back(p.Points);
    }
    return v;
}

// A lesson of `n` words w0..w(n-1) in memory, every method in the order 0..n-1 at 0 points.
inline void FillLesson(vb::Lesson& lesson, int n)
{
    lesson.LessonWords.clear();
    vb::ProgressArray a;
    for (int i = 0; i < n; ++i) {
        lesson.LessonWords.push_back({Numbered("w", i), Numbered("t", i), "", ""});
        a.push_back({i, 0});
    }
    lesson.WordCount = n;
    lesson.VarProgress = lesson.MozProgress = lesson.EnterProgress = a;
}

} // namespace vbtest
