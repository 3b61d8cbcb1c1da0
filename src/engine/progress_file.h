// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The progress file of one pupil and one dictionary: one line per place i of the learning orders,
// "VarIndex|VarPoints|MozIndex|MozPoints|EnterIndex|EnterPoints" in decimal, each line ending in CR LF.
// Line i is the i-th place of each method's order, not the progress of word i.

#include "engine/lesson_types.h"

#include <string>
#include <string_view>

namespace vb {

// <users folder>/<pupil>/<dictionary file name up to its first dot>.lqs. Progress is keyed by the
// dictionary's name only, so equally named dictionaries in different folders share it. The pupil's folder
// is found whatever its letter case (see PupilFolder).
std::string ProgressFilePath(const std::string& usersFolder, const std::string& pupilName,
                             const std::string& dictionaryPath);

std::string FormatProgressFile(const ProgressArray& var, const ProgressArray& moz, const ProgressArray& enter);

// Reads a progress file for a dictionary of `wordCount` words. Before each line every byte of 32 and
// below is skipped, so blank lines do not count. A missing field reads as 0; fields after the sixth are
// ignored. The file is refused (false, outputs untouched) when its line count differs from `wordCount`,
// when a field is not a decimal int32, or when a method's WordIndex values are not exactly 0 .. wordCount-1
// in some order.
bool ParseProgressFile(std::string_view text, int wordCount, ProgressArray& var, ProgressArray& moz,
                       ProgressArray& enter);

} // namespace vb
