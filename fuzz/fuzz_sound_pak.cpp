// SPDX-License-Identifier: GPL-3.0-or-later
// The sound.pak reader on arbitrary bytes: the first bytes of the input choose the name looked up, the rest
// is the pack. A sound that is found lies wholly inside the pack.
#include "voice/sound_library.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    if (in.empty()) {
        return 0;
    }
    const std::size_t nameLength = static_cast<unsigned char>(in[0]) % 64;
    if (in.size() < 1 + nameLength) {
        return 0;
    }
    const std::string_view name = in.substr(1, nameLength);
    const std::string_view pack = in.substr(1 + nameLength);

    std::string sound;
    if (vb::FindPackSound(pack, name, sound)) {
        if (sound.empty() || sound.size() > pack.size() || pack.find(sound) == std::string_view::npos)
            std::abort();
    } else if (!sound.empty()) {
        std::abort();
    }
    return 0;
}
