// SPDX-License-Identifier: GPL-3.0-or-later
#include "temp_home.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace vbtest {

namespace fs = std::filesystem;

namespace {

std::string MakeTempFolder()
{
#ifdef _WIN32
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder = fs::temp_directory_path() / ("verbanta-test-" + std::to_string(random() % 1000000000u));
        std::error_code ec;
        if (fs::create_directory(folder, ec)) {
            return folder.string();
        }
    }
#else
    std::string pattern = (fs::temp_directory_path() / "verbanta-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) {
        return pattern;
    }
#endif
    throw std::runtime_error("cannot create a temporary folder");
}

} // namespace

std::string NativePath(std::string path)
{
#ifdef _WIN32
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
#endif
    return path;
}

void SetEnv(const char* name, const char* value)
{
#ifdef _WIN32
    // An empty value removes the variable there.
    _putenv_s(name, value ? value : "");
#else
    if (value) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
#endif
}

TempHome::TempHome() : m_path(MakeTempFolder())
{
    if (const char* prev = std::getenv("VERBANTA_HOME")) {
        m_previous = prev;
        m_hadPrevious = true;
    }
    SetEnv("VERBANTA_HOME", m_path.c_str());
}

std::string TempHome::File(const std::string& name) const
{
    return m_path + NativePath("/" + name);
}

TempHome::~TempHome()
{
    SetEnv("VERBANTA_HOME", m_hadPrevious ? m_previous.c_str() : nullptr);
    std::error_code ec;
    // Read-only marks set by a test must not keep the folder alive.
    for (auto& entry : fs::recursive_directory_iterator(m_path, ec)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(m_path, ec);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace vbtest
