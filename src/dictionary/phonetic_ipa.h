// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The default dictionary keeps its transcriptions in the ASCII code of the "PhoneticTM" font: one ASCII
// character per phonetic sign ("h{v" is drawn as "hæv" in that font). Where the font is missing, the code
// is turned into the IPA signs it stands for.

#include <string>
#include <string_view>

namespace vb {

// The IPA sign (UTF-8) an ASCII code character stands for; a character that is drawn as itself (plain
// letters, brackets, spaces, anything the code does not use) gives an empty view.
std::string_view PhoneticCodeSign(char code);

// The whole transcription as IPA, UTF-8. A text holding any non-ASCII byte is already in phonetic signs
// (or in some other script) and comes back unchanged.
std::string PhoneticCodeToIpa(std::string_view code);

} // namespace vb
