// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/mosaic.h"

#include "engine/settings.h"

#include <algorithm>

namespace vb {

namespace {

bool ValidItem(const MosaicSet& set, int index)
{
    return index >= 0 && index < set.PairsLeft && index < kMosaicMaxPairs;
}

const TWordProgress* ProgressAt(const Lesson& lesson, std::int32_t position)
{
    if (position < 0 || static_cast<std::size_t>(position) >= lesson.MozProgress.size()) {
        return nullptr;
    }
    return &lesson.MozProgress[static_cast<std::size_t>(position)];
}

// Removes entry `index` of `a`, moving the entries up to `count`-1 down by one.
void RemoveEntry(std::array<std::int32_t, kMosaicMaxPairs>& a, int index, int count)
{
    for (int i = index; i + 1 < count; ++i) {
        a[static_cast<std::size_t>(i)] = a[static_cast<std::size_t>(i + 1)];
    }
}

} // namespace

MosaicSettings MakeMosaicSettings(const SettingsWindowValues& values)
{
    return MosaicSettings{values.SE_CountMoz, values.CB_Sort};
}

bool BuildMosaic(Lesson& lesson, const MosaicSettings& settings, MosaicSet& set)
{
    lesson.ActiveMethod = kMethodMosaic;
    set.PairsLeft = 0;
    const auto words = static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(std::max(lesson.WordCount, 0)), lesson.MozProgress.size()));
    const std::int32_t count =
        std::clamp(std::min(words, static_cast<std::int32_t>(settings.SE_CountMoz)), 0, kMosaicMaxPairs);
    set.MozCount = count;
    if (count < 1) {
        return false;
    }
    if (!lesson.AllWordsLearnedLoop(kMethodMosaic)) {
        return false;
    }
    const std::int32_t workSet = std::min(lesson.WorkSetSize, words);

    // The working set first; only a set larger than it takes words from anywhere in the learning order.
    auto& left = set.MozLeft;
    left[0] = lesson.RandomInt(workSet);
    for (std::int32_t i = 1; i < count; ++i) {
        std::int32_t candidate = 0;
        do {
            candidate = lesson.RandomInt(i < workSet ? workSet : words);
        } while (std::find(left.begin(), left.begin() + i, candidate) != left.begin() + i);
        left[static_cast<std::size_t>(i)] = candidate;
    }

    auto& right = set.MozRight;
    right[0] = left[static_cast<std::size_t>(lesson.RandomInt(count))];
    for (std::int32_t j = 1; j < count; ++j) {
        std::int32_t candidate = 0;
        do {
            candidate = left[static_cast<std::size_t>(lesson.RandomInt(count))];
        } while (std::find(right.begin(), right.begin() + j, candidate) != right.begin() + j);
        right[static_cast<std::size_t>(j)] = candidate;
    }

    if (settings.CB_Sort) {
        lesson.SortOptionsByWord(std::span<std::int32_t>(left.data(), left.size()), 0, count - 1, lesson.MozProgress);
        lesson.SortOptionsByTranslation(std::span<std::int32_t>(right.data(), right.size()), 0, count - 1,
                                        lesson.MozProgress);
    }
    set.PairsLeft = count;
    return true;
}

void RemoveMosaicPair(MosaicSet& set, int left, int right)
{
    if (!ValidItem(set, left) || !ValidItem(set, right)) {
        return;
    }
    const int count = std::clamp(set.MozCount, 0, kMosaicMaxPairs);
    RemoveEntry(set.MozLeft, left, count);
    RemoveEntry(set.MozRight, right, count);
    --set.PairsLeft;
}

std::int32_t MosaicPosition(const MosaicSet& set, MosaicSide side, int index)
{
    if (!ValidItem(set, index)) {
        return -1;
    }
    const auto& a = side == MosaicSide::Left ? set.MozLeft : set.MozRight;
    return a[static_cast<std::size_t>(index)];
}

std::string MosaicItemText(const Lesson& lesson, const MosaicSet& set, MosaicSide side, int index)
{
    const TWordProgress* p = ProgressAt(lesson, MosaicPosition(set, side, index));
    if (!p || p->WordIndex < 0 || static_cast<std::size_t>(p->WordIndex) >= lesson.LessonWords.size()) {
        return {};
    }
    const TLessonWord& w = lesson.LessonWords[static_cast<std::size_t>(p->WordIndex)];
    return side == MosaicSide::Left ? w.Word : w.Translation;
}

int MosaicPartner(const MosaicSet& set, MosaicSide side, int index)
{
    const std::int32_t position = MosaicPosition(set, side, index);
    if (position < 0) {
        return -1;
    }
    const auto& other = side == MosaicSide::Left ? set.MozRight : set.MozLeft;
    for (int i = 0; i < set.PairsLeft && i < kMosaicMaxPairs; ++i) {
        if (other[static_cast<std::size_t>(i)] == position) {
            return i;
        }
    }
    return -1;
}

void MosaicItemChosen(Lesson& lesson, const MosaicSet& set, MosaicSide side, int index)
{
    if (const TWordProgress* p = ProgressAt(lesson, MosaicPosition(set, side, index))) {
        lesson.TaskPoints = p->Points;
        lesson.UpdateStatusBar();
    }
}

MosaicJudgement JudgeMosaicPair(Lesson& lesson, MosaicSet& set, int left, int right)
{
    if (!ValidItem(set, left) || !ValidItem(set, right)) {
        return MosaicJudgement::None;
    }
    const std::int32_t e = set.MozLeft[static_cast<std::size_t>(left)];
    const std::int32_t r = set.MozRight[static_cast<std::size_t>(right)];
    if (e != r) {
        lesson.AnswerWrong(e, r);
        return MosaicJudgement::Wrong;
    }
    lesson.AnswerRight(e);
    RemoveMosaicPair(set, left, right);
    return MosaicJudgement::Right;
}

bool MarkMosaicPairLearned(Lesson& lesson, MosaicSet& set, int left, int right)
{
    if (!ValidItem(set, left) || !ValidItem(set, right) ||
        set.MozLeft[static_cast<std::size_t>(left)] != set.MozRight[static_cast<std::size_t>(right)]) {
        return false;
    }
    lesson.MarkLearned(set.MozLeft[static_cast<std::size_t>(left)]);
    RemoveMosaicPair(set, left, right);
    lesson.UpdateStatusBar();
    return true;
}

void ResetMosaicItem(Lesson& lesson, const MosaicSet& set, MosaicSide side, int index)
{
    const std::int32_t position = MosaicPosition(set, side, index);
    if (position < 0) {
        return;
    }
    lesson.ResetWordPoints(position);
    lesson.UpdateStatusBar();
}

} // namespace vb
