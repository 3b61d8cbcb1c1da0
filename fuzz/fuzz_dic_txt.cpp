// SPDX-License-Identifier: GPL-3.0-or-later
// The dic.txt reader on arbitrary bytes: every entry is found again by its key, first in file order, and the
// WAV path of an entry never leaves the library's folders.
#include "voice/sound_library.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    vb::LibraryIndex index;
    index.Parse(in);
    if (index.Count() > size)
        std::abort();
    for (std::size_t i = 0; i < index.Count(); ++i) {
        const vb::TLibraryEntry& e = index.Entries()[i];
        const auto found = index.Find(e.Key);
        if (found.empty() || found.front() > i || e.Key.find(' ') != std::string::npos)
            std::abort();
        if (!e.Folder.empty() && e.Folder.size() < 3)
            std::abort();
        const std::string path = vb::LibraryWavPath("/lib/base/dic.txt", e);
        // "/lib" + "/DIC<folder>" + "/DIC<file>.wav": no field adds a folder of its own.
        if (!path.empty() && (path.rfind("/lib/DIC", 0) != 0 || std::count(path.begin(), path.end(), '/') != 3))
            std::abort();
    }
    (void)index.Find(vb::LibraryKey(in));
    return 0;
}
