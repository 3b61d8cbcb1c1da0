#include "temp_home.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vbtest {

namespace fs = std::filesystem;

TempHome::TempHome()
{
    std::string pattern = (fs::temp_directory_path() / "verbanta-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_path = pattern;
    if (const char* prev = std::getenv("VERBANTA_HOME")) {
        m_previous = prev;
        m_hadPrevious = true;
    }
    setenv("VERBANTA_HOME", m_path.c_str(), 1);
}

TempHome::~TempHome()
{
    if (m_hadPrevious) {
        setenv("VERBANTA_HOME", m_previous.c_str(), 1);
    } else {
        unsetenv("VERBANTA_HOME");
    }
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
