// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/random.h"

#include "common/clock.h"

namespace vb {

double RandomGenerator::NextRandom()
{
    // A seed set from outside the range is folded back first, so the product cannot overflow.
    std::int32_t seed = RandomSeed % kModulus;
    if (seed < 0) {
        seed += kModulus;
    }
    RandomSeed = (seed * kMultiplier + kIncrement) % kModulus;
    return static_cast<double>(RandomSeed) / static_cast<double>(kModulus);
}

std::int32_t RandomGenerator::RandomInt(std::int32_t n)
{
    const double r = NextRandom();
    if (n <= 0) {
        return 0;
    }
    // r < 1, so the product stays below n and truncation gives at most n-1.
    return static_cast<std::int32_t>(r * static_cast<double>(n));
}

void RandomGenerator::SeedAtStartup(std::uint32_t tickCount)
{
    RandomSeed = kStartSeed;
    const std::int32_t k = RandomInt(static_cast<std::int32_t>(tickCount % 19u));
    for (std::int32_t n = 1; n <= k + 2; ++n) {
        RandomInt(n);
    }
}

void RandomGenerator::SeedAtStartup(Clock& clock)
{
    SeedAtStartup(clock.TickCount());
}

} // namespace vb
