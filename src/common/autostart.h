// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Starting the program with the user's session. On Windows the string value "Verbanta" of
// HKCU\Software\Microsoft\Windows\CurrentVersion\Run holds the executable's path; elsewhere an XDG autostart
// entry (a .desktop file) does.

#include <string>

namespace vb {

class Registry;

struct AutostartTarget
{
    // The XDG entry file (AppPaths::AutostartEntry()).
    std::string entryPath;
    // The full path of the running executable, without quotes or arguments.
    std::string executablePath;
    // The store holding the Run key on Windows; unused elsewhere.
    Registry* registry = nullptr;
};

// The Run key and the name of the program's value in it.
inline constexpr const char* kAutostartRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kAutostartValueName = "Verbanta";

// Writes the entry when `enabled`, else removes it; the platform's layer (XDG file or Run value). Returns
// whether the entry now follows the setting; callers ignore failures.
bool UpdateAutostart(const AutostartTarget& target, bool enabled);

// The two layers, for both platforms' tests.
// The XDG entry: written atomically when missing or different, removed when disabled.
bool UpdateXdgAutostart(const std::string& entryPath, const std::string& executablePath, bool enabled);
// The Run value: the key is opened without creating it; a missing key is a failure.
bool UpdateRunValue(Registry& registry, const std::string& executablePath, bool enabled);

// The text of the XDG entry that starts `executablePath`; empty when the path cannot be written into an
// entry (a line break in it).
std::string XdgAutostartEntryText(const std::string& executablePath);

} // namespace vb
