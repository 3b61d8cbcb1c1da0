// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/app_paths.h"

#include "common/files.h"
#include "common/strings.h"

#include <cstdlib>
#include <utility>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace vb {

namespace {

// `name` may have folders in it, written with "/"; they get the platform's separator.
std::string Join(const std::string& folder, std::string name)
{
    for (char& c : name) {
        if (c == '/') {
            c = kPathSeparator;
        }
    }
    if (folder.empty() || folder.back() == kPathSeparator) {
        return folder + name;
    }
    return folder + kPathSeparator + name;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeFolder()
{
    std::string home = Environment("HOME");
#ifndef _WIN32
    if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
            home = pw->pw_dir;
        }
    }
#endif
    return home;
}

// The executable's folder. A bare name (no folder part) falls back to the running process's own file.
std::string ExecutableFolder(const std::string& executablePath)
{
    if (executablePath.find(kPathSeparator) != std::string::npos) {
        return ParentDir(executablePath);
    }
#ifndef _WIN32
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0) {
        return ParentDir(std::string(buffer, static_cast<std::size_t>(n)));
    }
#endif
    return ".";
}

bool IsWritableFolder(const std::string& folder)
{
#ifdef _WIN32
    return DirectoryExists(folder);
#else
    return DirectoryExists(folder) && ::access(folder.c_str(), W_OK) == 0;
#endif
}

// Folders the package manager owns. A program installed there keeps its data with the user even when it
// could write beside itself (run as root).
bool IsSystemFolder(const std::string& folder)
{
#ifdef _WIN32
    (void)folder;
    return false;
#else
    for (const char* root : {"/usr", "/bin", "/sbin", "/opt"}) {
        const std::string r = root;
        if (folder == r || folder.rfind(r + '/', 0) == 0) {
            return true;
        }
    }
    return false;
#endif
}

// An XDG base folder: the variable when it holds an absolute path (others are to be ignored), else the
// default below the home folder.
std::string XdgFolder(const char* variable, const std::string& home, const char* fallback)
{
    const std::string value = Environment(variable);
    if (!value.empty() && value.front() == '/') {
        return value;
    }
    return Join(home, fallback);
}

} // namespace

AppPaths::AppPaths(std::string programFolder, std::string configFolder, std::string installedDataFolder)
    : m_programFolder(std::move(programFolder))
    , m_configFolder(std::move(configFolder))
    , m_installedDataFolder(std::move(installedDataFolder))
{ }

AppPaths AppPaths::FromEnvironment(const std::string& executablePath)
{
    const std::string exeFolder = ExecutableFolder(executablePath);
#ifdef _WIN32
    // A Windows installation keeps dict\\, help\\ and icons\\ beside the executable.
    const std::string installed = exeFolder;
#else
    const std::string installed = Join(ParentDir(exeFolder), "share/verbanta");
#endif

    const std::string isolated = Environment("VERBANTA_HOME");
    if (!isolated.empty()) {
        return AppPaths(isolated, isolated, installed);
    }
    const std::string home = HomeFolder();
    const bool portable = IsWritableFolder(exeFolder) && !IsSystemFolder(exeFolder);
    const std::string program =
        portable ? exeFolder : Join(XdgFolder("XDG_DATA_HOME", home, ".local/share"), "Verbanta");
    return AppPaths(program, Join(XdgFolder("XDG_CONFIG_HOME", home, ".config"), "Verbanta"), installed);
}

std::string AppPaths::RegistryFile() const
{
    return Join(m_configFolder, "registry.reg");
}

std::string AppPaths::InstanceLockFile() const
{
    return Join(m_configFolder, "verbanta.lock");
}

std::string AppPaths::WorkingCopy() const
{
    return Join(m_programFolder, "tmp.tmp");
}

std::string AppPaths::SoundScratch() const
{
    return Join(m_programFolder, "tmp.wav");
}

std::string AppPaths::UsersFolder() const
{
    return Join(m_programFolder, "Users");
}

std::string AppPaths::DefaultDictionary() const
{
    const std::string own = Join(m_programFolder, "dict/dt_basic.lqd");
    if (FileExists(own)) {
        return own;
    }
    return Join(m_installedDataFolder, "dict/dt_basic.lqd");
}

std::string AppPaths::HelpPage() const
{
    return Join(m_installedDataFolder, "help/verbanta.html");
}

std::string AppPaths::IconFolder() const
{
    return Join(m_installedDataFolder, "icons");
}

std::string AppPaths::AutostartEntry() const
{
    // An isolated run keeps even its autostart entry inside its own folder.
    const std::string isolated = Environment("VERBANTA_HOME");
    if (!isolated.empty()) {
        return Join(isolated, "autostart/verbanta.desktop");
    }
    return Join(XdgFolder("XDG_CONFIG_HOME", HomeFolder(), ".config"), "autostart/verbanta.desktop");
}

} // namespace vb
