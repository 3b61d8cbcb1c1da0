// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Mosaic exercise: up to 25 foreign words on the left and their translations, in another order, on the
// right; the pupil pairs them. These are its rules without the lists: building a set, judging a pair,
// taking matched pairs out, and the list commands of the word menu.
//
// Item i of the left list is the word at MozLeft[i] of MozProgress, item i of the right list the
// translation of the word at MozRight[i]. Texts are UTF-8.

#include "engine/lesson.h"

#include <array>
#include <cstdint>
#include <string>

namespace vb {

struct SettingsWindowValues;

inline constexpr int kMosaicMaxPairs = 25;

struct MosaicSettings
{
    int SE_CountMoz = 8; // pairs wanted, 1..25
    bool CB_Sort = true; // each list in alphabetical order
};

MosaicSettings MakeMosaicSettings(const SettingsWindowValues& values);

struct MosaicSet
{
    std::array<std::int32_t, kMosaicMaxPairs> MozLeft{};
    std::array<std::int32_t, kMosaicMaxPairs> MozRight{};
    // Pairs the set was built with; not lowered as pairs are matched.
    std::int32_t MozCount = 0;
    // Items still in each list.
    std::int32_t PairsLeft = 0;
};

enum class MosaicSide {
    Left, // LBox_Eng: foreign words
    Right, // LBox_Rus: translations
};

// A new set: refreshes the Mosaic working set (asking the all-words-learned question when nothing is left),
// draws the left words from the working set first and from the whole dictionary only when the set wants
// more, draws the right list as a permutation of the left one, and sorts both when asked. The active method
// becomes Mosaic. False when no set was built; the set is then empty.
bool BuildMosaic(Lesson& lesson, const MosaicSettings& settings, MosaicSet& set);

// Takes entry `left` out of MozLeft and entry `right` out of MozRight, moving the later ones down.
// Nothing happens unless both name an item still in the lists.
void RemoveMosaicPair(MosaicSet& set, int left, int right);

// The position in MozProgress of an item; -1 when there is no such item.
std::int32_t MosaicPosition(const MosaicSet& set, MosaicSide side, int index);
// The text of an item: the word on the left, the translation on the right.
std::string MosaicItemText(const Lesson& lesson, const MosaicSet& set, MosaicSide side, int index);
// The index, in the other list, of the item's partner; -1 when there is none.
int MosaicPartner(const MosaicSet& set, MosaicSide side, int index);

// An item was chosen by a click: its word's points go to the status bar.
void MosaicItemChosen(Lesson& lesson, const MosaicSet& set, MosaicSide side, int index);

enum class MosaicJudgement {
    None, // an item is missing on one side
    Wrong,
    Right, // scored; the pair is out of the set
};

// Judges the selected left item `left` against the selected right item `right` (-1: nothing selected).
// A wrong pair counts the left word as the task and the right word as the answer.
MosaicJudgement JudgeMosaicPair(Lesson& lesson, MosaicSet& set, int left, int right);

// "Выучено !" on a pair: the word's points become the Mosaic threshold and the pair leaves the set, without
// scoring. False (and nothing changes) unless the two items are partners.
bool MarkMosaicPairLearned(Lesson& lesson, MosaicSet& set, int left, int right);

// "Учить задание заново" on an item: its word starts again from 0 points.
void ResetMosaicItem(Lesson& lesson, const MosaicSet& set, MosaicSide side, int index);

} // namespace vb
