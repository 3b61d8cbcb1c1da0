// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Platinum 2002 sound library: the dic.txt index that maps words to numbered WAV files in numbered
// folders, and the sound.pak pack that holds many WAV files behind one directory.
//
// Both readers take any bytes: a damaged or hostile file makes a lookup fail, never read outside the
// file or the buffers.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vb {

// One line of dic.txt (Windows-1251 bytes).
struct TLibraryEntry
{
    std::string Key; // first field, upper-cased
    std::string Second; // second field, upper-cased; not used
    std::string Folder; // third field, "7" -> "007", "12" -> "012"
    std::string FileNo; // fourth field
};

// The entries of one dic.txt in file order, with an index by key.
class LibraryIndex
{
public:
    LibraryIndex() = default;
    // The index refers to the entries' own keys, which a copy would not carry along.
    LibraryIndex(const LibraryIndex&) = delete;
    LibraryIndex& operator=(const LibraryIndex&) = delete;

    // Reads dic.txt anew; an empty path or a file that cannot be read leaves the index empty.
    void Load(const std::string& dicPath);
    // From the file's bytes.
    void Parse(std::string_view text);
    void Clear();

    const std::vector<TLibraryEntry>& Entries() const { return m_entries; }
    std::size_t Count() const { return m_entries.size(); }
    // The positions of the entries whose Key equals `key`, in file order.
    std::vector<std::size_t> Find(const std::string& key) const;

private:
    std::vector<TLibraryEntry> m_entries;
    // Key (a view of the entry's own Key) -> its first and last entry; m_next chains the entries of one
    // key in file order.
    std::unordered_map<std::string_view, std::pair<std::size_t, std::size_t>> m_byKey;
    std::vector<std::size_t> m_next;
};

// The largest dic.txt read: far above any real index (a few megabytes), and it keeps a hostile file
// from taking the memory.
inline constexpr std::uint64_t kMaxLibraryIndexBytes = 256u << 20;

// The lookup key of a dictionary text: without parenthesised parts, upper-cased, without punctuation,
// spaces as "_" ("good morning" gives "GOOD_MORNING").
std::string LibraryKey(std::string_view text);

// The WAV file of an entry: the dic.txt path less its last two components, then "DIC" + Folder and
// "DIC" + FileNo + ".wav" (D:/Lib/Base/dic.txt and folder 007, file 1234: D:/Lib/DIC007/DIC1234.wav).
// Empty when the fields would leave the library's folders (a separator or a NUL byte in them).
std::string LibraryWavPath(const std::string& dicPath, const TLibraryEntry& entry);

// The largest sound taken from a pack: far above any spoken word, and it keeps a hostile size from
// taking the memory.
inline constexpr std::uint32_t kMaxPackSound = 64u << 20;

// The sound stored under `name` in a sound.pak (names compared after ASCII upper-casing on both
// sides). False when the pack cannot be read, has no such entry within its entry count, or the entry is
// damaged: a name longer than 60 bytes, a directory or a sound that does not lie wholly inside the file,
// an empty or oversized sound.
bool ReadPackSound(const std::string& packPath, std::string_view name, std::string& sound);
// The same on the pack's bytes.
bool FindPackSound(std::string_view pack, std::string_view name, std::string& sound);

} // namespace vb
