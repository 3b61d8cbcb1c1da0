// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The value of a spin edit: always inside its range.

#include <string_view>

namespace vb {

class BoundedInt
{
public:
    constexpr BoundedInt(int minValue, int maxValue, int defaultValue)
        : m_min(minValue), m_max(maxValue), m_default(defaultValue), m_value(Clamp(defaultValue))
    { }

    constexpr int Min() const { return m_min; }
    constexpr int Max() const { return m_max; }
    constexpr int Default() const { return m_default; }
    constexpr int Value() const { return m_value; }
    constexpr operator int() const { return m_value; }

    // Clamped to the range.
    constexpr void Set(long long v) { m_value = Clamp(v); }
    // A text that is not a whole number reads as the minimum; a number is clamped.
    void SetText(std::string_view text);

    constexpr int Clamp(long long v) const { return v < m_min ? m_min : (v > m_max ? m_max : static_cast<int>(v)); }

private:
    int m_min;
    int m_max;
    int m_default;
    int m_value;
};

} // namespace vb
