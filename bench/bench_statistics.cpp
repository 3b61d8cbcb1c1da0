// SPDX-License-Identifier: GPL-3.0-or-later
// Timing of the answer history on two years of generated answers (200 a day, 146,000 lines) for a
// dictionary of 2,000 words: reading and replaying the history as a dictionary is opened, and opening the
// statistics window on it with review on (until its first paint).
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVB_BUILD_BENCH=ON
//   cmake --build build/bench --target bench_statistics
//   QT_QPA_PLATFORM=offscreen build/bench/bin/bench_statistics
//
// Targets: load < 100 ms, window < 200 ms (wall clock; best of five). Exits with 1 when one is missed.

#include "engine/gui/statistics_window.h"
#include "engine/history.h"
#include "engine/lesson.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <time.h>

namespace {

// The CPU time of this thread: what the work costs, apart from waiting for a busy machine's processors.
double ThreadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

constexpr int kWords = 2000;
constexpr int kDays = 730;
constexpr int kPerDay = 200;

struct FixedDate : vb::DateClock
{
    std::int64_t seconds = 0;
    std::int64_t LocalSeconds() override { return seconds; }
};

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "verbanta-bench-statistics";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Users" / "Default");
    const std::string dictionary = (folder / "big.lqd").string();
    const std::string progress = (folder / "Users" / "Default" / "big.lqs").string();

    std::string words;
    for (int i = 0; i < kWords; ++i) {
        words += "word";
        words += std::to_string(i);
        words += "|slovo";
        words += std::to_string(i);
        words += "\r\n";
    }
    WriteFile(dictionary, words);

    // Today is 2026-12-31; the history covers 2025 and 2026, so nothing is folded away.
    FixedDate clock;
    const std::int64_t today = vb::DaysFromCivil(2026, 12, 31);
    clock.seconds = today * 86400 + 20 * 3600;
    std::string history;
    history.reserve(static_cast<std::size_t>(kDays) * kPerDay * 48);
    unsigned state = 12345;
    for (int d = 0; d < kDays; ++d) {
        for (int a = 0; a < kPerDay; ++a) {
            state = state * 1103515245u + 12345u;
            vb::AnswerRecord r;
            r.Time = (today - kDays + 1 + d) * 86400 + 8 * 3600 + a * 60;
            r.Method = static_cast<int>(state >> 8) % 3;
            r.WordIndex = static_cast<std::int32_t>((state >> 12) % kWords);
            r.Right = (state >> 4) % 5 != 0;
            r.PointsChange = r.Right ? 6 : -6;
            r.Learned = (state >> 6) % 3 == 0;
            r.Word = "word";
            r.Word += std::to_string(r.WordIndex);
            history += vb::FormatAnswerLine(r);
        }
    }
    WriteFile(vb::HistoryFilePath(progress), history);

    vb::Lesson lesson;
    lesson.SetDateClock(&clock);
    lesson.LoadLessonWords(dictionary, progress);
    lesson.Params.CB_Review = true;

    double load = 1e9, loadCpu = 1e9;
    double window = 1e9, windowCpu = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        double cpu = ThreadCpuMs();
        lesson.LoadHistory();
        load = std::min(load, static_cast<double>(t.nsecsElapsed()) / 1e6);
        loadCpu = std::min(loadCpu, ThreadCpuMs() - cpu);

        t.restart();
        cpu = ThreadCpuMs();
        {
            vb::TForm_Stat stat(lesson);
            stat.show();
            stat.repaint();
            QApplication::processEvents();
            window = std::min(window, static_cast<double>(t.nsecsElapsed()) / 1e6);
            windowCpu = std::min(windowCpu, ThreadCpuMs() - cpu);
        }
        QApplication::processEvents();
    }
    std::printf("history of %d answers: load %.1f ms wall, %.1f ms CPU (target < 100); statistics window %.1f ms "
                "wall, %.1f ms CPU (target < 200)\n",
                kDays * kPerDay, load, loadCpu, window, windowCpu);
    std::filesystem::remove_all(folder);
    return load < 100 && window < 200 ? 0 : 1;
}
