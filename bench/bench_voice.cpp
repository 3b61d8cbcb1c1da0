// SPDX-License-Identifier: GPL-3.0-or-later
// Timing of the sound library index on a dic.txt of 100,000 lines: loading it, and looking a dictionary
// text up in it.
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVB_BUILD_BENCH=ON
//   cmake --build build/bench --target bench_voice && build/bench/bin/bench_voice
//
// Targets: load <= 100 ms, lookup <= 10 us.

#include "voice/sound_library.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kLines = 100000;

std::string WordOf(int i)
{
    // Distinct keys of a realistic length, some of them joined words.
    std::string w = "word";
    for (int n = i; n > 0; n /= 26) {
        w += static_cast<char>('a' + n % 26);
    }
    if (i % 7 == 0) {
        w += "_phrase";
    }
    return w;
}

struct Fixture
{
    std::string folder;
    std::string dic;

    Fixture()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "verbanta-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::abort();
        }
        folder = pattern;
        dic = folder + "/Base/dic.txt";
        std::filesystem::create_directories(folder + "/Base");
        std::ofstream out(dic, std::ios::binary);
        for (int i = 0; i < kLines; ++i) {
            out << WordOf(i) << " X " << (i % 300) << ' ' << i << "\r\n";
        }
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& Data()
{
    static Fixture fixture;
    return fixture;
}

void BM_LoadLibraryIndex(benchmark::State& state)
{
    vb::LibraryIndex index;
    for (auto _ : state) {
        index.Load(Data().dic);
        benchmark::DoNotOptimize(index.Count());
    }
    if (index.Count() != kLines) {
        state.SkipWithError("wrong line count");
    }
}
BENCHMARK(BM_LoadLibraryIndex)->Unit(benchmark::kMillisecond);

void BM_LookUpText(benchmark::State& state)
{
    vb::LibraryIndex index;
    index.Load(Data().dic);
    int i = 0;
    for (auto _ : state) {
        // From the dictionary's text to the entries: the key is built as for every lookup.
        std::string text = WordOf(i);
        auto found = index.Find(vb::LibraryKey(text));
        benchmark::DoNotOptimize(found);
        i = (i + 7919) % kLines;
    }
}
BENCHMARK(BM_LookUpText)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
