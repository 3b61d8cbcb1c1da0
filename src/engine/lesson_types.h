// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The lesson engine's view of a dictionary: its entries and, per lesson method, each word's place in the
// learning order with its score.

#include <cstdint>
#include <string>
#include <vector>

namespace vb {

// One dictionary entry as the lessons use it (UTF-8): underscores already turned into spaces,
// the transcription already bracketed.
struct TLessonWord
{
    std::string Word;
    std::string Translation;
    std::string Transcription;
    std::string Thesaurus;

    bool operator==(const TLessonWord&) const = default;
};

// The progress of one word in one method. WordIndex is an index into LessonWords; Points is unbounded.
struct TWordProgress
{
    std::int32_t WordIndex = 0;
    std::int32_t Points = 0;

    bool operator==(const TWordProgress&) const = default;
};

// A method's learning order: the first WorkSetSize entries are the working set.
using ProgressArray = std::vector<TWordProgress>;

// Lesson methods, numbered as their pages.
inline constexpr int kMethodVariant = 0;
inline constexpr int kMethodMosaic = 1;
inline constexpr int kMethodWriting = 2;
inline constexpr int kMethodCount = 3;

} // namespace vb
