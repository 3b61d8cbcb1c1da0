// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fsrs.h"

#include <algorithm>
#include <cmath>

namespace vb::fsrs {

namespace {

constexpr double kMinStability = 0.001;
constexpr double kMaxStability = 36500;

double ClampDifficulty(double d)
{
    return std::clamp(d, 1.0, 10.0);
}

double ClampStability(double s)
{
    return std::clamp(s, kMinStability, kMaxStability);
}

double Decay(const Weights& w)
{
    return -w[20];
}

// Chosen so that recall is exactly 90 % after `stability` days whatever the decay.
double Factor(const Weights& w)
{
    return std::pow(0.9, 1.0 / Decay(w)) - 1.0;
}

double InitialDifficulty(Rating rating, const Weights& w)
{
    return w[4] - std::exp(w[5] * (static_cast<int>(rating) - 1)) + 1.0;
}

} // namespace

const Weights& DefaultWeights()
{
    static const Weights weights{0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
                                 1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
    return weights;
}

double Retrievability(double elapsedDays, double stability, const Weights& w)
{
    const double s = ClampStability(stability);
    return std::pow(1.0 + Factor(w) * std::max(0.0, elapsedDays) / s, Decay(w));
}

MemoryState InitialState(Rating rating, const Weights& w)
{
    const int g = std::clamp(static_cast<int>(rating), 1, 4);
    return {ClampStability(w[static_cast<std::size_t>(g - 1)]), ClampDifficulty(InitialDifficulty(rating, w))};
}

MemoryState NextState(const MemoryState& state, double elapsedDays, Rating rating, const Weights& w)
{
    const double s = ClampStability(state.Stability);
    const double d = ClampDifficulty(state.Difficulty);
    const int g = std::clamp(static_cast<int>(rating), 1, 4);
    const double r = Retrievability(elapsedDays, s, w);

    // Difficulty: a step by the rating, damped towards 10, then a little reversion to an easy start.
    const double delta = -w[6] * (g - 3);
    const double damped = d + delta * (10.0 - d) / 9.0;
    const double nextD = ClampDifficulty(w[7] * InitialDifficulty(Rating::Easy, w) + (1.0 - w[7]) * damped);

    double nextS = 0;
    if (g == 1) {
        const double forgot =
            w[11] * std::pow(d, -w[12]) * (std::pow(s + 1.0, w[13]) - 1.0) * std::exp(w[14] * (1.0 - r));
        nextS = std::min(forgot, s / std::exp(w[17] * w[18]));
    } else {
        const double hard = g == 2 ? w[15] : 1.0;
        const double easy = g == 4 ? w[16] : 1.0;
        nextS =
            s * (std::exp(w[8]) * (11.0 - d) * std::pow(s, -w[9]) * (std::exp(w[10] * (1.0 - r)) - 1.0) * hard * easy +
                 1.0);
    }
    return {ClampStability(nextS), nextD};
}

double IntervalDays(double stability, double retention, const Weights& w)
{
    const double r = std::clamp(retention, 0.01, 0.99);
    return ClampStability(stability) / Factor(w) * (std::pow(r, 1.0 / Decay(w)) - 1.0);
}

int NextIntervalDays(double stability, double retention, const Weights& w)
{
    const double days = std::round(IntervalDays(stability, retention, w));
    return static_cast<int>(std::clamp(days, 1.0, kMaxStability));
}

} // namespace vb::fsrs
