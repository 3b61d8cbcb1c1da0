// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/sound_library.h"

#include "common/codepage.h"
#include "common/strings.h"
#include "common/unicode.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <limits>

namespace vb {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// Cuts the next field at the next space; past the last space the rest stays unread.
std::string_view NextField(std::string_view& rest)
{
    const auto space = rest.find(' ');
    if (space == std::string_view::npos) {
        const std::string_view field = rest;
        rest = {};
        return field;
    }
    const std::string_view field = rest.substr(0, space);
    rest.remove_prefix(space + 1);
    return field;
}

TLibraryEntry ParseLine(std::string_view line)
{
    TLibraryEntry entry;
    entry.Key = UpperCase1251(NextField(line));
    entry.Second = UpperCase1251(NextField(line));
    entry.Folder = std::string(NextField(line));
    entry.FileNo = std::string(NextField(line));
    if (!entry.Folder.empty() && entry.Folder.size() < 3) {
        entry.Folder.insert(0, 3 - entry.Folder.size(), '0');
    }
    return entry;
}

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualAsciiUpper(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

std::uint32_t LittleEndian32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The pack's bytes in memory.
class MemorySource
{
public:
    explicit MemorySource(std::string_view data) : m_data(data) { }
    std::uint64_t Size() const { return m_data.size(); }
    bool Read(void* out, std::size_t n)
    {
        if (n > m_data.size() - m_pos) {
            return false;
        }
        std::copy_n(m_data.data() + m_pos, n, static_cast<char*>(out));
        m_pos += n;
        return true;
    }
    bool Seek(std::uint64_t pos)
    {
        if (pos > m_data.size()) {
            return false;
        }
        m_pos = static_cast<std::size_t>(pos);
        return true;
    }

private:
    std::string_view m_data;
    std::size_t m_pos = 0;
};

// The pack on disk: the directory is read in order, then only the matching sound.
class FileSource
{
public:
    FileSource(std::ifstream& in, std::uint64_t size) : m_in(in), m_size(size) { }
    std::uint64_t Size() const { return m_size; }
    bool Read(void* out, std::size_t n)
    {
        m_in.read(static_cast<char*>(out), static_cast<std::streamsize>(n));
        return static_cast<std::size_t>(m_in.gcount()) == n;
    }
    bool Seek(std::uint64_t pos)
    {
        if (pos > m_size) {
            return false;
        }
        m_in.clear();
        m_in.seekg(static_cast<std::streamoff>(pos));
        return static_cast<bool>(m_in);
    }

private:
    std::ifstream& m_in;
    std::uint64_t m_size;
};

template <class Source>
bool FindSound(Source& pack, std::string_view name, std::string& sound)
{
    sound.clear();
    std::array<unsigned char, 16> header{};
    if (!pack.Read(header.data(), header.size())) {
        return false;
    }
    const std::uint32_t dataStart = LittleEndian32(header.data());
    const std::uint32_t entryCount = LittleEndian32(header.data() + 4);

    // Every entry takes at least 9 bytes, so a count beyond the file ends at the file's end.
    std::array<char, 255> entryName{};
    std::array<unsigned char, 8> numbers{};
    for (std::uint32_t i = 0; i < entryCount; ++i) {
        unsigned char length = 0;
        if (!pack.Read(&length, 1)) {
            return false;
        }
        // Names are at most 60 bytes: a longer one means the directory is not what it should be.
        if (length > 60) {
            return false;
        }
        if (!pack.Read(entryName.data(), length) || !pack.Read(numbers.data(), numbers.size())) {
            return false;
        }
        if (!EqualAsciiUpper(std::string_view(entryName.data(), length), name)) {
            continue;
        }
        const std::uint32_t size = LittleEndian32(numbers.data());
        const std::uint32_t offset = LittleEndian32(numbers.data() + 4);
        const std::uint64_t start = std::uint64_t{dataStart} + offset;
        if (size == 0 || size > kMaxPackSound || start > pack.Size() || size > pack.Size() - start) {
            return false;
        }
        std::string data(size, '\0');
        if (!pack.Seek(start) || !pack.Read(data.data(), size)) {
            return false;
        }
        sound = std::move(data);
        return true;
    }
    return false;
}

// A regular file's size; false for anything else (a folder, a pipe, a device).
bool RegularFileSize(const std::string& path, std::uint64_t& size)
{
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        return false;
    }
    size = std::filesystem::file_size(path, ec);
    return !ec;
}

} // namespace

void LibraryIndex::Clear()
{
    m_byKey.clear();
    m_next.clear();
    m_entries.clear();
}

void LibraryIndex::Load(const std::string& dicPath)
{
    Clear();
    std::uint64_t size = 0;
    if (!RegularFileSize(dicPath, size) || size > kMaxLibraryIndexBytes) {
        return;
    }
    std::ifstream in(dicPath, std::ios::binary);
    if (!in) {
        return;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    // A file that shrank while being read: what was read is used.
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    Parse(text);
}

void LibraryIndex::Parse(std::string_view text)
{
    Clear();
    m_entries.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !IsLineEnd(text[end])) {
            ++end;
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        // Leading blanks and blank lines are skipped.
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos) {
            continue;
        }
        line.remove_prefix(first);
        m_entries.push_back(ParseLine(line));
    }

    // The index, built once the entries no longer move: each key's first and last entry, and for each entry
    // the next one with the same key.
    m_next.assign(m_entries.size(), kNone);
    m_byKey.reserve(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        auto [it, added] = m_byKey.try_emplace(m_entries[i].Key, i, i);
        if (!added) {
            m_next[it->second.second] = i;
            it->second.second = i;
        }
    }
}

std::vector<std::size_t> LibraryIndex::Find(const std::string& key) const
{
    std::vector<std::size_t> found;
    const auto it = m_byKey.find(key);
    if (it == m_byKey.end()) {
        return found;
    }
    for (std::size_t i = it->second.first; i != kNone; i = m_next[i]) {
        found.push_back(i);
    }
    return found;
}

std::string LibraryKey(std::string_view text)
{
    const std::string key = ReplaceChar(CleanPunctuation(UpperCaseText(StripParens(text))), ' ', '_');
    // dic.txt is 1251: a word it cannot hold is not in it, and no key there holds a space.
    return FitsCp1251(key) ? Utf8ToCp1251Exact(key) : std::string(" ");
}

std::string LibraryWavPath(const std::string& dicPath, const TLibraryEntry& entry)
{
    const auto leavesFolder = [](const std::string& field) {
        return field.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos;
    };
    if (leavesFolder(entry.Folder) || leavesFolder(entry.FileNo)) {
        return {};
    }
    std::string path = ParentDir(dicPath, 2);
    path += kPathSeparator;
    path += "DIC";
    path += Cp1251ToUtf8(entry.Folder);
    path += kPathSeparator;
    path += "DIC";
    path += Cp1251ToUtf8(entry.FileNo);
    path += ".wav";
    return path;
}

bool FindPackSound(std::string_view pack, std::string_view name, std::string& sound)
{
    MemorySource source(pack);
    return FindSound(source, name, sound);
}

bool ReadPackSound(const std::string& packPath, std::string_view name, std::string& sound)
{
    sound.clear();
    std::uint64_t size = 0;
    if (!RegularFileSize(packPath, size)) {
        return false;
    }
    std::ifstream in(packPath, std::ios::binary);
    if (!in) {
        return false;
    }
    FileSource source(in, size);
    return FindSound(source, name, sound);
}

} // namespace vb
