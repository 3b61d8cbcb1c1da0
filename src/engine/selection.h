// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Ordering a method's learning order into a working set and a rest, and the small sorts that put answers
// in alphabetical order. The exact algorithms matter: equal keys end up where these sorts put them, and
// that decides which word a pupil is asked next.

#include "engine/lesson_types.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vb {

// Quicksort of a[lo..hi] ascending by Points; whole elements move. Not stable, but fully determined by
// the input order. Indexes outside the array are clipped.
void SortByPoints(std::span<TWordProgress> a, int lo, int hi);

// Sorts the first k elements (the working set) and the rest separately, then trades the highest-scoring
// learned words of the working set for the lowest-scoring unlearned words of the rest. When the working
// set would cover the whole array, the array is simply sorted.
void RefillWorkSet(std::span<TWordProgress> a, int k, std::int32_t threshold);

// Exchange sorts of list[lo..hi], a list of positions into `progress`, ascending by the Word (or the
// Translation) of the word at each position. Byte order, unsigned: upper case before lower case, a prefix
// before its extensions; equal texts stay as they are. A position that names no word sorts as an empty text.
void SortOptionsByWord(std::span<std::int32_t> list, int lo, int hi, const ProgressArray& progress,
                       const std::vector<TLessonWord>& words);
void SortOptionsByTranslation(std::span<std::int32_t> list, int lo, int hi, const ProgressArray& progress,
                              const std::vector<TLessonWord>& words);

} // namespace vb
