// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sound folders and libraries are often copied from Windows, where "HELLO.WAV", "hello.wav" and "DIC007"
// are one name with "dic007". On a case-sensitive file system a name that is not there as written is
// looked up again without regard to letter case. Each folder is listed once into an index and listed
// again only when it has changed (its modification time), so a lesson never scans a folder per word.

#include <cstdint>
#include <string>
#include <unordered_map>

namespace vb {

class CaseInsensitiveFiles
{
public:
    // `folder` + separator + `name` when that exists as written (a file or a folder); else the entry of
    // `folder` whose name matches `name` ignoring letter case (Latin and Cyrillic); else empty. Of several
    // matching entries the one first in byte order wins.
    std::string Find(const std::string& folder, const std::string& name);

    // Forgets every index (the next lookup lists its folder again).
    void Clear() { m_folders.clear(); }

    // How many times a folder was listed: the index is built once per folder, not once per lookup.
    std::uint64_t Listings() const { return m_listings; }

private:
    struct Listing
    {
        std::int64_t stamp = 0;
        bool settled = false;
        std::unordered_map<std::string, std::string> byFolded;
    };
    const Listing* ListingOf(const std::string& folder);

    std::unordered_map<std::string, Listing> m_folders;
    std::uint64_t m_listings = 0;
};

} // namespace vb
