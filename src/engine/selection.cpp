// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/selection.h"

#include "common/unicode.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

namespace vb {

namespace {

void ClipRange(std::size_t size, int& lo, int& hi)
{
    lo = std::max(lo, 0);
    hi = static_cast<int>(std::min<long long>(hi, static_cast<long long>(size) - 1));
}

bool IsLearned(const TWordProgress& p, std::int32_t threshold)
{
    return p.Points >= threshold;
}

} // namespace

void SortByPoints(std::span<TWordProgress> a, int lo, int hi)
{
    ClipRange(a.size(), lo, hi);
    // The two parts left by a partition are disjoint, so sorting them in either order gives the same
    // result; recursing into the smaller one keeps the stack shallow on any input.
    while (lo < hi) {
        const std::int32_t pivot = a[static_cast<std::size_t>(lo + (hi - lo) / 2)].Points;
        int i = lo;
        int j = hi;
        do {
            while (a[static_cast<std::size_t>(i)].Points < pivot) {
                ++i;
            }
            while (a[static_cast<std::size_t>(j)].Points > pivot) {
                --j;
            }
            if (i <= j) {
                std::swap(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            SortByPoints(a, lo, j);
            lo = i;
        } else {
            SortByPoints(a, i, hi);
            hi = j;
        }
    }
}

void RefillWorkSet(std::span<TWordProgress> a, int k, std::int32_t threshold)
{
    const int high = static_cast<int>(a.size()) - 1;
    if (high < 0) {
        return;
    }
    if (k - 1 >= high) {
        SortByPoints(a, 0, high);
        return;
    }
    SortByPoints(a, 0, k - 1);
    SortByPoints(a, k, high);
    bool swapped = false;
    for (int m = 0; m < k && k + m <= high; ++m) {
        TWordProgress& inner = a[static_cast<std::size_t>(k - 1 - m)];
        TWordProgress& outer = a[static_cast<std::size_t>(k + m)];
        if (!IsLearned(inner, threshold) || IsLearned(outer, threshold)) {
            break;
        }
        std::swap(inner, outer);
        swapped = true;
    }
    if (swapped) {
        SortByPoints(a, 0, k - 1);
        SortByPoints(a, k, high);
    }
}

namespace {

template <typename Field>
void SortOptions(std::span<std::int32_t> list, int lo, int hi, const ProgressArray& progress,
                 const std::vector<TLessonWord>& words, Field field)
{
    auto text = [&](std::int32_t position) -> std::string_view {
        if (position < 0 || static_cast<std::size_t>(position) >= progress.size()) {
            return {};
        }
        const std::int32_t w = progress[static_cast<std::size_t>(position)].WordIndex;
        if (w < 0 || static_cast<std::size_t>(w) >= words.size()) {
            return {};
        }
        return words[static_cast<std::size_t>(w)].*field;
    };
    ClipRange(list.size(), lo, hi);
    for (int q = lo; q <= hi; ++q) {
        for (int r = hi; r > q; --r) {
            auto& a = list[static_cast<std::size_t>(q)];
            auto& b = list[static_cast<std::size_t>(r)];
            if (CompareText(text(a), text(b)) > 0) {
                std::swap(a, b);
            }
        }
    }
}

} // namespace

void SortOptionsByWord(std::span<std::int32_t> list, int lo, int hi, const ProgressArray& progress,
                       const std::vector<TLessonWord>& words)
{
    SortOptions(list, lo, hi, progress, words, &TLessonWord::Word);
}

void SortOptionsByTranslation(std::span<std::int32_t> list, int lo, int hi, const ProgressArray& progress,
                              const std::vector<TLessonWord>& words)
{
    SortOptions(list, lo, hi, progress, words, &TLessonWord::Translation);
}

} // namespace vb
