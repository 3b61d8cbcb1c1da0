// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The second-start handshake and the start-up reads of the lesson window. Plain functions over the
// settings store, so they can be checked without windows.

#include "common/app_paths.h"
#include "common/registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

// "Software\\Verbanta\\" + pupil.
std::string PupilKeyOf(const std::string& pupilName);

// The current pupil: the root key's "Application" value, "Default" when it is missing or empty.
std::string ReadPupilName(Registry& registry);

// What a second start leaves for the running instance: its first argument, or "startup" without one.
// Written only into an existing root key, never creating it; false when nothing was written.
bool PostStartRequest(Registry& registry, const std::vector<std::string>& args);

// The running instance's side: a pending request is read and cleared in one step, so a request written
// meanwhile is never lost. Empty when there is none.
std::optional<std::string> TakeStartRequest(Registry& registry);

// A path given relative to `folder` (the starting process's working folder) as an absolute one, so that it
// still names the same file for the running instance and when stored. An empty argument stays empty.
std::string AbsoluteArgument(const std::string& arg, const std::string& folder);

// True when the last four characters, upper-cased, are ".LQD".
bool IsDictionaryArgument(std::string_view arg);

// The dictionary opened with the settings: the stored one; at start-up (settings not loaded yet) a
// dictionary given as the first argument instead; the default dictionary when the result is empty.
// The dictionary and progress file a start opens as far as the settings store tells before any window exists:
// the current pupil's stored dictionary, the one on the command line, or the default one.
struct StartupLesson
{
    std::string dictionaryPath;
    std::string progressPath;
};
StartupLesson StartupLessonFiles(Registry& registry, const AppPaths& paths, const std::vector<std::string>& args);

std::string ChooseDictionary(const std::string& stored, const std::vector<std::string>& args, bool settingsLoaded,
                             const std::string& defaultDictionary);

} // namespace vb
