// SPDX-License-Identifier: GPL-3.0-or-later
// The fonts file on arbitrary bytes: whatever it applies, writing those fonts and reading them again gives
// the same fonts.
#include "dictionary/dictionary_files.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vb::DictionaryFonts fonts;
    const int applied = vb::ApplyFontsText(text, fonts);
    if (applied < 1 || applied > 9) {
        std::abort();
    }
    const std::string written = vb::FontsText(fonts);
    vb::DictionaryFonts back;
    if (vb::ApplyFontsText(written, back) != 9 || vb::FontsText(back) != written) {
        std::abort();
    }
    return 0;
}
