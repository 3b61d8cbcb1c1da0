// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's own pseudo-random generator. Every random choice of the lessons and the word cards goes
// through it, so a given seed reproduces exactly what a pupil sees.

#include <cstdint>

namespace vb {

class Clock;

class RandomGenerator
{
public:
    static constexpr std::int32_t kStartSeed = 203;
    static constexpr std::int32_t kModulus = 17417;
    static constexpr std::int32_t kMultiplier = 10001;
    static constexpr std::int32_t kIncrement = 3;

    // The whole state; stays in 0 .. kModulus-1.
    std::int32_t RandomSeed = kStartSeed;

    // Advances the state and returns it scaled to [0, 1).
    double NextRandom();
    // 0 .. n-1; 0 when n is 0 or 1 (or negative). Always advances the state by one step.
    std::int32_t RandomInt(std::int32_t n);

    // Start-up seeding: back to the start seed, then a warm-up of 2 to 12 steps chosen by the tick count.
    void SeedAtStartup(std::uint32_t tickCount);
    void SeedAtStartup(Clock& clock);
};

} // namespace vb
