// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Milliseconds since system start (GetTickCount). An interface, so tests can drive time by hand.

#include <cstdint>

namespace vb {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::uint32_t TickCount() = 0;
};

// The real monotonic clock.
Clock& SystemClock();

} // namespace vb
