// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/case_insensitive_files.h"

#include "common/files.h"
#include "common/strings.h"
#include "common/unicode.h"

#include <chrono>
#include <filesystem>
#include <system_error>

namespace vb {

namespace {

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/' || folder.back() == kPathSeparator) {
        return folder + name;
    }
    return folder + kPathSeparator + name;
}

} // namespace

#ifdef _WIN32

// The file system ignores letter case itself: the name as written is all there is to try.
std::string CaseInsensitiveFiles::Find(const std::string& folder, const std::string& name)
{
    const std::string path = Join(folder, name);
    return FileExists(path) || DirectoryExists(path) ? path : std::string();
}

const CaseInsensitiveFiles::Listing* CaseInsensitiveFiles::ListingOf(const std::string& /*folder*/)
{
    return nullptr;
}

#else

std::string CaseInsensitiveFiles::Find(const std::string& folder, const std::string& name)
{
    if (name.empty()) {
        return {};
    }
    const std::string path = Join(folder, name);
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::path(path), ec)) {
        return path;
    }
    const Listing* listing = ListingOf(folder);
    if (!listing) {
        return {};
    }
    const auto it = listing->byFolded.find(LowerCaseText(name));
    return it == listing->byFolded.end() ? std::string() : Join(folder, it->second);
}

const CaseInsensitiveFiles::Listing* CaseInsensitiveFiles::ListingOf(const std::string& folder)
{
    namespace fs = std::filesystem;
    const fs::path dir(folder.empty() ? std::string(".") : folder);
    std::error_code ec;
    const auto written = fs::last_write_time(dir, ec);
    if (ec) {
        m_folders.erase(folder);
        return nullptr;
    }
    // A folder's time changes whenever an entry is added, removed or renamed. The clock behind it is
    // coarse, so a folder changed in the last moments may change again under the same time: such a
    // listing is not trusted and is made again at the next lookup.
    const std::int64_t stamp = written.time_since_epoch().count();
    auto found = m_folders.find(folder);
    if (found != m_folders.end() && found->second.settled && found->second.stamp == stamp) {
        return &found->second;
    }
    Listing listing;
    listing.stamp = stamp;
    listing.settled = written < fs::file_time_type::clock::now() - std::chrono::seconds(2);
    ++m_listings;
    for (fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string entry = it->path().filename().string();
        auto [slot, added] = listing.byFolded.try_emplace(LowerCaseText(entry), entry);
        if (!added && entry < slot->second) {
            slot->second = std::move(entry);
        }
    }
    return &(m_folders[folder] = std::move(listing));
}

#endif

} // namespace vb
