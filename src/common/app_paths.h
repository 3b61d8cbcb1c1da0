// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the program finds and keeps its files. Nothing else builds such paths.

#include <string>

namespace vb {

class AppPaths
{
public:
    // `executablePath` is the running program's file. Reads VERBANTA_HOME and HOME from the environment.
    static AppPaths FromEnvironment(const std::string& executablePath);

    // For tests and special setups: every folder given explicitly.
    AppPaths(std::string programFolder, std::string configFolder, std::string installedDataFolder);

    // The data folder: tmp.tmp, tmp.wav, Users/, dict/. $VERBANTA_HOME when set; else the executable's
    // folder when it is writable and not a system folder (/usr, /opt); else $XDG_DATA_HOME/Verbanta
    // (~/.local/share/Verbanta).
    const std::string& ProgramFolder() const { return m_programFolder; }
    // The folder of the registry file and the instance lock: $VERBANTA_HOME, else $XDG_CONFIG_HOME/Verbanta
    // (~/.config/Verbanta).
    const std::string& ConfigFolder() const { return m_configFolder; }
    // The program's own read-only data: ../share/verbanta beside the executable; on Windows the
    // executable's folder itself.
    const std::string& InstalledDataFolder() const { return m_installedDataFolder; }

    std::string RegistryFile() const; // <config>/registry.reg
    std::string InstanceLockFile() const; // <config>/verbanta.lock
    std::string WorkingCopy() const; // <program>/tmp.tmp
    std::string SoundScratch() const; // <program>/tmp.wav
    std::string UsersFolder() const; // <program>/Users
    // <program>/dict/dt_basic.lqd when present there, else the installed copy.
    std::string DefaultDictionary() const;
    // The help page, from the installed data.
    std::string HelpPage() const;
    // The icon folder of the installed data.
    std::string IconFolder() const;
    // $XDG_CONFIG_HOME/autostart/verbanta.desktop (outside VERBANTA_HOME only when it is not set).
    std::string AutostartEntry() const;

private:
    std::string m_programFolder;
    std::string m_configFolder;
    std::string m_installedDataFolder;
};

} // namespace vb
