// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules about pupils: how a typed name becomes a pupil's name, when two names are the same pupil,
// the lesson window's caption, which settings keys are listed as pupils, and where a pupil's progress
// lives. Names are native (UTF-8) strings; they serve as settings keys and as folder names.

#include <string>
#include <string_view>
#include <vector>

namespace vb {

// The pupil who was never named.
inline constexpr const char* kDefaultPupil = "Default";

// A typed name as a pupil's name: punctuation cleaned (a run between two words becomes one space,
// punctuation before a space or at the end disappears), then spaces and control characters cut from both
// ends. Empty when nothing is left: such a name creates no pupil.
std::string CleanPupilName(std::string_view typed);

// Names are the same pupil whatever their letter case, Cyrillic letters included.
bool SamePupil(std::string_view a, std::string_view b);
bool IsDefaultPupil(std::string_view name);

// The lesson window's caption: the title alone for the default pupil, else title + " [ " + name + " ]".
std::string PupilCaption(std::string_view title, std::string_view pupil);

// The pupils of the menu from the subkeys of the program's key, in their order; the default pupil is
// never listed.
std::vector<std::string> ListedPupils(const std::vector<std::string>& subkeys);

// The folder of a pupil's progress files below `usersFolder`. An existing folder whose name differs only in
// letter case is his (the exact spelling wins when both exist), so a pupil typed in another case keeps his
// progress; otherwise usersFolder + separator + pupil.
std::string PupilFolder(const std::string& usersFolder, const std::string& pupil);

} // namespace vb
