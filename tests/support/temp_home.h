// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A fresh, empty VERBANTA_HOME for one test, removed again afterwards.

#include <string>

namespace vbtest {

class TempHome
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& Path() const { return m_path; }
    // A path inside the folder, with the platform's separators ("a/b" is "a\\b" on Windows).
    std::string File(const std::string& name) const;

private:
    std::string m_path;
    std::string m_previous;
    bool m_hadPrevious = false;
};

// A path written with "/" in the platform's own separators ("\\" on Windows).
std::string NativePath(std::string path);

// Sets an environment variable, or removes it when `value` is null.
void SetEnv(const char* name, const char* value);

// Writes bytes to a file, creating its folder. For building test inputs.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

} // namespace vbtest
