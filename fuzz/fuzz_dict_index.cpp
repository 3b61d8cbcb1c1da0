// SPDX-License-Identifier: GPL-3.0-or-later
// The DICT index on any bytes against a small data text: every entry it accepts lies inside the data.
#include "convert/dict_reader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string_view kData = "Haus /haʊ̯s/ <n>\nдом 2.\nGebäude\n 3.\n1. a\n2. b\nohne\nбез\n";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<vb::DictIndexEntry> index;
    std::string error;
    if (vb::ReadDictIndex(bytes, index, error) == !error.empty()) {
        std::abort();
    }
    const vb::ReadOutcome read = vb::ReadDict(bytes, kData);
    if (!read.ok() && !read.entries.empty()) {
        std::abort();
    }
    return 0;
}
