// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/clock.h"

#include <chrono>

namespace vb {

namespace {

class SteadyClock final : public Clock
{
public:
    std::uint32_t TickCount() override
    {
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
        // Wraps after 49.7 days, as the system tick count does.
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms.count()));
    }
};

} // namespace

Clock& SystemClock()
{
    static SteadyClock clock;
    return clock;
}

} // namespace vb
