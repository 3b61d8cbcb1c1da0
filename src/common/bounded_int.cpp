// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/bounded_int.h"

namespace vb {

void BoundedInt::SetText(std::string_view text)
{
    // Surrounding blanks are forgiven, as an edit field shows them invisibly.
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) {
        --end;
    }
    bool negative = false;
    if (begin < end && (text[begin] == '-' || text[begin] == '+')) {
        negative = text[begin] == '-';
        ++begin;
    }
    if (begin == end) {
        m_value = Clamp(m_min);
        return;
    }
    // Saturates instead of overflowing: any number beyond the range clamps to its end anyway.
    constexpr long long kLimit = 1LL << 40;
    long long magnitude = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            m_value = Clamp(m_min);
            return;
        }
        if (magnitude < kLimit) {
            magnitude = magnitude * 10 + (c - '0');
        }
    }
    Set(negative ? -magnitude : magnitude);
}

} // namespace vb
