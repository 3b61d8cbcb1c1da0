// SPDX-License-Identifier: GPL-3.0-or-later
// The X server's description of the keyboard groups (the _XKB_RULES_NAMES value and the keymap's
// symbols name) read from arbitrary bytes: at most four groups, and a group found is one that was read.
#include "writing/keyboard_layout.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    for (const auto& groups : {vb::XkbGroupsFromRulesNames(in), vb::XkbGroupsFromSymbols(in)}) {
        if (groups.size() > 4)
            std::abort();
        for (const char* layout : {"us", "ru", "de"}) {
            const int group = vb::XkbGroupOf(groups, layout);
            if (group != -1 &&
                (group < 0 || static_cast<std::size_t>(group) >= groups.size() || groups[group] != layout))
                std::abort();
        }
    }
    return 0;
}
