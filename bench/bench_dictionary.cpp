// SPDX-License-Identifier: GPL-3.0-or-later
// Timing of the dictionary page on a generated dictionary of 100,000 words: opening the table into the grid,
// scrolling the grid from top to bottom a page at a time, searching for the last word, and the memory the
// open table holds.
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVB_BUILD_BENCH=ON
//   cmake --build build/bench --target bench_dictionary
//   QT_QPA_PLATFORM=offscreen build/bench/bin/bench_dictionary
//
// Targets: open <= 300 ms, every scroll frame <= 50 ms, search to the last row <= 50 ms, table memory <= 3x
// the file size. The program prints the figures (wall clock, and the thread's CPU time, which a busy machine
// does not inflate) and exits with 1 when a wall-clock figure misses its target.

#include "common/codepage.h"
#include "dictionary/dictionary_files.h"
#include "dictionary/gui/dictionary_grid.h"
#include "dictionary/gui/dictionary_page.h"
#include "dictionary/sdf_data.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <time.h>
#include <vector>

namespace {

constexpr int kWords = 100000;

// The CPU time of this thread: what the work costs, apart from waiting for a busy machine's processors.
double ThreadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

std::string MakeDictionary(const std::string& folder)
{
    const std::string path = folder + "/big.lqd";
    std::string text;
    text.reserve(static_cast<std::size_t>(kWords) * 64);
    const std::string slovo = vb::Utf8ToCp1251("слово_");
    for (int i = 0; i < kWords; ++i) {
        const std::string n = std::to_string(i);
        text += "word_" + n + "|" + slovo + n + "|[w3:d" + n + "]|a note on word " + n + "\r\n";
    }
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::string folder = (std::filesystem::temp_directory_path() / "verbanta-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        return 2;
    }
    const std::string path = MakeDictionary(folder);
    const auto fileSize = static_cast<double>(std::filesystem::file_size(path));

    vb::TSdfDataSet table;
    table.SetFileName(path);
    table.SetDelimiter('|');
    table.SetSchema({"word", "translate", "transcription", "tesaurus"});
    vb::DictionaryPage page(table);
    page.resize(960, 600);
    page.show();
    QApplication::processEvents();

    // Open: reading the file into the table and the grid's first full paint.
    const std::size_t heapBefore = HeapInUse();
    QElapsedTimer clock;
    clock.start();
    double cpu = ThreadCpuMs();
    if (!table.Open()) {
        return 2;
    }
    page.DBGridDict->viewport()->repaint();
    const double openMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const double openCpuMs = ThreadCpuMs() - cpu;
    const double memoryRatio = static_cast<double>(HeapInUse() - heapBefore) / fileSize;

    // Scrolling: one page per frame, each frame painted at once.
    QScrollBar* bar = page.DBGridDict->verticalScrollBar();
    std::vector<double> frameMs;
    double worstFrameCpuMs = 0;
    for (int value = 0; value <= bar->maximum(); value += std::max(1, bar->pageStep())) {
        clock.restart();
        cpu = ThreadCpuMs();
        bar->setValue(value);
        page.DBGridDict->viewport()->repaint();
        frameMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        worstFrameCpuMs = std::max(worstFrameCpuMs, ThreadCpuMs() - cpu);
    }
    std::sort(frameMs.begin(), frameMs.end());
    const double worstFrameMs = frameMs.empty() ? 0 : frameMs.back();
    const double medianFrameMs = frameMs.empty() ? 0 : frameMs[frameMs.size() / 2];
    const auto frames = static_cast<int>(frameMs.size());

    // Search for the last word (every record compared), the grid following.
    table.First();
    clock.restart();
    cpu = ThreadCpuMs();
    const bool found = vb::FindWord(table, "Слово", "word_" + std::to_string(kWords - 1), true, false);
    page.DBGridDict->viewport()->repaint();
    const double searchMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const double searchCpuMs = ThreadCpuMs() - cpu;

    table.Close();
    std::filesystem::remove_all(folder);

    const bool ok = openMs <= 300 && worstFrameMs <= 50 && found && searchMs <= 50 && memoryRatio <= 3.0;
    std::printf("file: %.1f MB, %d words\n", fileSize / 1e6, kWords);
    std::printf("open into the grid: %.1f ms, cpu %.1f ms (target 300)\n", openMs, openCpuMs);
    std::printf("scroll: %d frames, median %.2f ms, worst %.1f ms, worst cpu %.1f ms (target 50)\n", frames,
                medianFrameMs, worstFrameMs, worstFrameCpuMs);
    std::printf("search to the last row: %.1f ms, cpu %.1f ms%s (target 50)\n", searchMs, searchCpuMs,
                found ? "" : ", NOT FOUND");
    std::printf("table memory: %.2f x the file size (target 3)\n", memoryRatio);
    std::printf("%s\n", ok ? "all targets met" : "TARGET MISSED");
    return ok ? 0 : 1;
}
