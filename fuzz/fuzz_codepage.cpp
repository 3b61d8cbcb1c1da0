// SPDX-License-Identifier: GPL-3.0-or-later
// Code-page conversions on arbitrary bytes: 1251 <-> UTF-8 and 866 <-> 1251 give back what they were given
// wherever the conversion is defined both ways, and the case rules agree with each other.
#include "common/codepage.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view in(reinterpret_cast<const char*>(data), size);

    // Every 1251 byte but the unassigned 0x98 has a Unicode form, so 1251 -> UTF-8 -> 1251 gives the text
    // back with only 0x98 turned into "?".
    const std::string utf8 = vb::Cp1251ToUtf8(in);
    std::string expected(in);
    for (char& c : expected) {
        if (static_cast<unsigned char>(c) == 0x98) {
            c = '?';
        }
    }
    if (!vb::IsValidUtf8(utf8) || vb::Utf8ToCp1251(utf8) != expected) {
        std::abort();
    }

    // Arbitrary bytes as UTF-8: whatever comes out is 1251 again and never longer than what went in; valid
    // UTF-8 that came from 1251 converts back to the same UTF-8.
    const std::string back = vb::Utf8ToCp1251(in);
    if (back.size() > size || !vb::IsValidUtf8(vb::Cp1251ToUtf8(back))) {
        std::abort();
    }
    if (vb::IsValidUtf8(in) && back.find('?') == std::string::npos && vb::Cp1251ToUtf8(back) != in) {
        std::abort();
    }

    // Folding names as UTF-8 keeps the length and is done in one go; settings-store paths rely on both.
    const std::string folded = vb::LowerCaseUtf8(in);
    if (folded.size() != size || vb::LowerCaseUtf8(folded) != folded) {
        std::abort();
    }

    // Case folding keeps the length and is stable: upper-casing the lower case gives the upper case.
    const std::string upper = vb::UpperCase1251(in);
    const std::string lower = vb::LowerCase1251(in);
    if (upper.size() != size || lower.size() != size || vb::UpperCase1251(lower) != upper ||
        vb::UpperCase1251(upper) != upper) {
        std::abort();
    }

    // 866 <-> 1251: a byte that has a counterpart comes back as it was.
    const std::string dos = vb::Cp1251ToCp866(in);
    const std::string win = vb::Cp866ToCp1251(dos);
    const std::string fromDos = vb::Cp866ToCp1251(in);
    const std::string toDos = vb::Cp1251ToCp866(fromDos);
    if (dos.size() != size || win.size() != size || fromDos.size() != size || toDos.size() != size) {
        std::abort();
    }
    for (std::size_t i = 0; i < size; ++i) {
        if (dos[i] != '?' && win[i] != in[i]) {
            std::abort();
        }
        if (fromDos[i] != '?' && toDos[i] != in[i]) {
            std::abort();
        }
    }

    // The sort comparison is an order: antisymmetric, and equal exactly when the upper cases are equal.
    const std::string_view a = in.substr(0, size / 2);
    const std::string_view b = in.substr(size / 2);
    const int ab = vb::CompareUpper1251(a, b);
    if (Sign(ab) != -Sign(vb::CompareUpper1251(b, a)) || vb::CompareUpper1251(a, a) != 0 ||
        (ab == 0) != (vb::UpperCase1251(a) == vb::UpperCase1251(b))) {
        std::abort();
    }
    return 0;
}
