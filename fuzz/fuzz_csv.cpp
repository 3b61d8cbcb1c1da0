// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV reader on any bytes, then the round trip: what it read, written as CSV and read again, is the same.
#include "convert/csv.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vb::ReadOutcome read = vb::ReadCsv(bytes);
    if (!read.ok()) {
        return 0;
    }
    for (const char sep : {',', '\t'}) {
        const vb::ReadOutcome again = vb::ReadCsv(vb::CsvBytes(read.entries, sep));
        if (!again.ok() || again.entries != read.entries) {
            std::abort();
        }
    }
    return 0;
}
