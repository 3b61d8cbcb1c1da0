// SPDX-License-Identifier: GPL-3.0-or-later
// Typed pupil names become settings keys and folder names: whatever is typed, the cleaned name holds no
// character a key or folder name cannot hold, keeps valid UTF-8 valid, and cleaning it again changes nothing.
#include "common/codepage.h"
#include "common/pupils.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::string name = vb::CleanPupilName(in);
    if (name.find_first_of("/\\:*?\"<>|") != std::string::npos || name.find("\xE2\x84\x96") != std::string::npos)
        std::abort();
    if (!name.empty() &&
        (static_cast<unsigned char>(name.front()) <= 32 || static_cast<unsigned char>(name.back()) <= 32))
        std::abort();
    if (vb::IsValidUtf8(in) && !vb::IsValidUtf8(name))
        std::abort();
    if (vb::CleanPupilName(name) != name)
        std::abort();
    return 0;
}
