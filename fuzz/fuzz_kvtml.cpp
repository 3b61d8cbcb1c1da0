// SPDX-License-Identifier: GPL-3.0-or-later
// The KVTML reader on any bytes, then the round trip: what it read, written as KVTML and read again, is the
// same.
#include "convert/kvtml.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vb::ReadOutcome read = vb::ReadKvtml(bytes);
    if (!read.ok()) {
        return 0;
    }
    const vb::ReadOutcome again = vb::ReadKvtml(vb::KvtmlBytes(read.entries));
    if (!again.ok() || again.entries != read.entries) {
        std::abort();
    }
    return 0;
}
