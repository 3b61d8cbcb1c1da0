// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/autostart.h"

#include "common/files.h"
#include "common/registry.h"
#include "common/strings.h"

namespace vb {

namespace {

// One argument of an Exec line: quoted when it holds anything the launcher would split or expand, with
// the quoting rules of the desktop entry format, then "\" and "%" escaped for the entry's string value.
std::string ExecArgument(const std::string& path)
{
    bool needsQuotes = path.empty();
    for (char c : path) {
        if (std::string_view(" \t\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) {
            needsQuotes = true;
        }
    }
    std::string arg;
    if (needsQuotes) {
        arg += '"';
        for (char c : path) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') {
                arg += '\\';
            }
            arg += c;
        }
        arg += '"';
    } else {
        arg = path;
    }
    std::string escaped;
    for (char c : arg) {
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '%') {
            escaped += "%%";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

std::string XdgAutostartEntryText(const std::string& executablePath)
{
    if (executablePath.empty() || executablePath.find_first_of("\r\n") != std::string::npos) {
        return {};
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Verbanta\n"
           "Exec=" +
           ExecArgument(executablePath) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool UpdateXdgAutostart(const std::string& entryPath, const std::string& executablePath, bool enabled)
{
    if (entryPath.empty()) {
        return false;
    }
    if (!enabled) {
        return !FileExists(entryPath) || RemoveFile(entryPath);
    }
    const std::string text = XdgAutostartEntryText(executablePath);
    if (text.empty()) {
        return false;
    }
    // Every settings save lands here; an entry that is already right is left alone.
    std::string current;
    if (ReadWholeFile(entryPath, current) && current == text) {
        return true;
    }
    const std::string folder = ParentDir(entryPath);
    if (folder != entryPath && !DirectoryExists(folder) && !MakeDirectories(folder)) {
        return false;
    }
    return WriteFileAtomic(entryPath, text);
}

bool UpdateRunValue(Registry& registry, const std::string& executablePath, bool enabled)
{
    if (!registry.KeyExists(kAutostartRunKey)) {
        return false;
    }
    if (enabled) {
        return registry.WriteString(kAutostartRunKey, kAutostartValueName, executablePath);
    }
    if (!registry.ReadString(kAutostartRunKey, kAutostartValueName) &&
        !registry.ReadInt(kAutostartRunKey, kAutostartValueName)) {
        return true;
    }
    return registry.DeleteValue(kAutostartRunKey, kAutostartValueName);
}

bool UpdateAutostart(const AutostartTarget& target, bool enabled)
{
#ifdef _WIN32
    return target.registry && UpdateRunValue(*target.registry, target.executablePath, enabled);
#else
    return UpdateXdgAutostart(target.entryPath, target.executablePath, enabled);
#endif
}

} // namespace vb
