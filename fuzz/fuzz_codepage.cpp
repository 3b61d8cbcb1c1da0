// Code-page conversions on arbitrary bytes: 1251 <-> UTF-8 and 866 <-> 1251 must give back what
// they were given wherever the conversion is defined both ways.
#include "common/codepage.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view in(reinterpret_cast<const char*>(data), size);

    // Every 1251 byte has a Unicode form, so 1251 -> UTF-8 -> 1251 is the identity.
    const std::string utf8 = vb::Cp1251ToUtf8(in);
    if (!vb::IsValidUtf8(utf8) || vb::Utf8ToCp1251(utf8) != in)
        std::abort();

    // Arbitrary bytes as UTF-8: whatever comes out is 1251 again and converts to valid UTF-8.
    const std::string back = vb::Utf8ToCp1251(in);
    if (!vb::IsValidUtf8(vb::Cp1251ToUtf8(back)))
        std::abort();

    // Case folding keeps the length.
    if (vb::UpperCase1251(in).size() != size || vb::LowerCase1251(in).size() != size)
        std::abort();

    // Folding names as UTF-8 keeps the length and is done in one go; settings-store paths rely on both.
    const std::string folded = vb::LowerCaseUtf8(in);
    if (folded.size() != size || vb::LowerCaseUtf8(folded) != folded)
        std::abort();

    (void)vb::Cp866ToCp1251(in);
    (void)vb::Cp1251ToCp866(in);
    return 0;
}
