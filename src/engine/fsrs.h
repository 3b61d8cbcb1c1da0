// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// FSRS-6, the Free Spaced Repetition Scheduler, with its published default weights. A memory state is a
// stability (days until recall falls to 90 %) and a difficulty (1..10); each review rates the recall and
// moves both. Only reviews on different days are modelled: the lessons rate a word by its first answer
// of a day.

#include <array>

namespace vb::fsrs {

enum class Rating { Again = 1, Hard = 2, Good = 3, Easy = 4 };

struct MemoryState
{
    double Stability = 0;
    double Difficulty = 0;
};

using Weights = std::array<double, 21>;
const Weights& DefaultWeights();

// Probability of recall after `elapsedDays` for a memory of `stability`.
double Retrievability(double elapsedDays, double stability, const Weights& w = DefaultWeights());
// The state after the first review.
MemoryState InitialState(Rating rating, const Weights& w = DefaultWeights());
// The state after a review `elapsedDays` (at least 1) after the previous one.
MemoryState NextState(const MemoryState& state, double elapsedDays, Rating rating, const Weights& w = DefaultWeights());
// Days until recall falls to `retention` (0 < retention < 1), unrounded.
double IntervalDays(double stability, double retention, const Weights& w = DefaultWeights());
// Whole days to the next review: rounded, at least 1, at most 36500.
int NextIntervalDays(double stability, double retention, const Weights& w = DefaultWeights());

} // namespace vb::fsrs
