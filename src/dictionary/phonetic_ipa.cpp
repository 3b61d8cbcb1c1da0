// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/phonetic_ipa.h"

#include <algorithm>

namespace vb {

namespace {

struct CodeSign
{
    char code;
    std::string_view sign;
};

// The signs the font draws in place of ASCII characters. Lower-case letters other than "g" are drawn as
// themselves; "g" becomes the IPA script g, which is not the Latin letter.
constexpr CodeSign kSigns[] = {
    {'I', "\u026A"}, // ɪ  "gIv", "In"
    {'U', "\u028A"}, // ʊ  "pUt", "g@U"
    {'V', "\u028C"}, // ʌ  "kVm", "Vp"
    {'Q', "\u0252"}, // ɒ  "nQt", "Qn"
    {'O', "\u0254"}, // ɔ  "fO:", "dZOIn"
    {'A', "\u0251"}, // ɑ  "fA:", "A:t"
    {'{', "\u00E6"}, // æ  "h{v", "b{k"
    {'@', "\u0259"}, // ə  "@"baUt", "D@"
    {'3', "\u025C"}, // ɜ  "b3:T", "b3:n"
    {'S', "\u0283"}, // ʃ  "SIp", "tSeIndZ"
    {'Z', "\u0292"}, // ʒ  "dI"sIZn", "dZOIn"
    {'T', "\u03B8"}, // θ  "Tru:", "nO:T"
    {'D', "\u00F0"}, // ð  "D@", "wID"
    {'N', "\u014B"}, // ŋ  "drINk", "mO:nIN"
    {'g', "\u0261"}, // ɡ  "get", "gIv"
    {':', "\u02D0"}, // ː  "ki:p"
    {'"', "\u02C8"}, // ˈ  primary stress, before its syllable
    {'%', "\u02CC"}, // ˌ  secondary stress
};

} // namespace

std::string_view PhoneticCodeSign(char code)
{
    const auto* it =
        std::find_if(std::begin(kSigns), std::end(kSigns), [code](const CodeSign& s) { return s.code == code; });
    return it == std::end(kSigns) ? std::string_view() : it->sign;
}

std::string PhoneticCodeToIpa(std::string_view code)
{
    const bool ascii =
        std::all_of(code.begin(), code.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        return std::string(code);
    }
    std::string ipa;
    ipa.reserve(code.size() * 2);
    for (const char c : code) {
        const std::string_view sign = PhoneticCodeSign(c);
        if (sign.empty()) {
            ipa += c;
        } else {
            ipa += sign;
        }
    }
    return ipa;
}

} // namespace vb
