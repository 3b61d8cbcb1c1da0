// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/codepage.h"

#include "common/unicode.h"

#include <array>
#include <cstdint>

namespace vb {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Unicode code points of the bytes 0x80..0xFF of Windows-1251; 0x98 is not assigned.
constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Code page 866 bytes 0x80..0xFF in 1251; "?" where 1251 has no such character (box drawing and the like).
constexpr std::array<unsigned char, 128> kCp866To1251 = {
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, //
    0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF, //
    0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, //
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, //
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, //
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, //
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF, //
    0xA8, 0xB8, 0xAA, 0xBA, 0xAF, 0xBF, 0xA1, 0xA2, 0xB0, 0x3F, 0xB7, 0x3F, 0xB9, 0xA4, 0x3F, 0xA0, //
};

// Windows-1251 bytes 0x80..0xFF in 866.
constexpr std::array<unsigned char, 128> kCp1251To866 = {
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, //
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, //
    0xFF, 0xF6, 0xF7, 0x3F, 0xFD, 0x3F, 0x3F, 0x3F, 0xF0, 0x3F, 0xF2, 0x3F, 0x3F, 0x3F, 0x3F, 0xF4, //
    0xF8, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0xFA, 0xF1, 0xFC, 0xF3, 0x3F, 0x3F, 0x3F, 0x3F, 0xF5, //
    0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, //
    0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F, //
    0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF, //
    0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, //
};

struct CaseTables
{
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
};

constexpr CaseTables MakeCaseTables()
{
    CaseTables t;
    for (int i = 0; i < 256; ++i) {
        t.upper[i] = static_cast<unsigned char>(i);
        t.lower[i] = static_cast<unsigned char>(i);
    }
    auto pair = [&t](int upper, int lower) {
        t.upper[lower] = static_cast<unsigned char>(upper);
        t.lower[upper] = static_cast<unsigned char>(lower);
    };
    for (int c = 'A'; c <= 'Z'; ++c) {
        pair(c, c + 0x20);
    }
    for (int c = 0xC0; c <= 0xDF; ++c) {
        pair(c, c + 0x20); // А..Я and а..я
    }
    pair(0x80, 0x90); // Ђ ђ
    pair(0x81, 0x83); // Ѓ ѓ
    pair(0x8A, 0x9A); // Љ љ
    pair(0x8C, 0x9C); // Њ њ
    pair(0x8D, 0x9D); // Ќ ќ
    pair(0x8E, 0x9E); // Ћ ћ
    pair(0x8F, 0x9F); // Џ џ
    pair(0xA1, 0xA2); // Ў ў
    pair(0xA3, 0xBC); // Ј ј
    pair(0xA5, 0xB4); // Ґ ґ
    pair(0xA8, 0xB8); // Ё ё
    pair(0xAA, 0xBA); // Є є
    pair(0xAF, 0xBF); // Ї ї
    pair(0xB2, 0xB3); // І і
    pair(0xBD, 0xBE); // Ѕ ѕ
    return t;
}

constexpr CaseTables kCase = MakeCaseTables();

// The 1251 byte of a code point; 0 when the code page lacks it (NUL itself maps to 0 too, which is right).
unsigned char CodePointToCp1251(char32_t cp)
{
    if (cp < 0x80) {
        return static_cast<unsigned char>(cp);
    }
    if (cp >= 0x0410 && cp <= 0x044F) {
        return static_cast<unsigned char>(cp - 0x0410 + 0xC0);
    }
    if (cp == kReplacement) {
        return 0;
    }
    for (std::size_t i = 0; i < kCp1251High.size(); ++i) {
        if (kCp1251High[i] == cp) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return 0;
}

// Decodes one UTF-8 sequence at `pos`. Returns its length, or 0 when it is malformed (overlong forms,
// surrogates and code points above U+10FFFF included).
std::size_t DecodeUtf8(std::string_view s, std::size_t pos, char32_t& cp)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - pos < len) {
        return 0;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

} // namespace

char32_t Cp1251ToCodePoint(unsigned char c)
{
    return c < 0x80 ? c : kCp1251High[c - 0x80];
}

unsigned char UpperCase1251(unsigned char c)
{
    return kCase.upper[c];
}

std::string UpperCase1251(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        c = static_cast<char>(kCase.upper[static_cast<unsigned char>(c)]);
    }
    return out;
}

unsigned char LowerCase1251(unsigned char c)
{
    return kCase.lower[c];
}

std::string LowerCase1251(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        c = static_cast<char>(kCase.lower[static_cast<unsigned char>(c)]);
    }
    return out;
}

std::string LowerCaseUtf8(std::string_view s)
{
    std::string out(s);
    std::size_t pos = 0;
    while (pos < out.size()) {
        const auto b0 = static_cast<unsigned char>(out[pos]);
        if (b0 < 0x80) {
            out[pos] = static_cast<char>(kCase.lower[b0]);
            ++pos;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(out, pos, cp);
        if (len == 0) {
            ++pos;
            continue;
        }
        const unsigned char c = CodePointToCp1251(cp);
        if (c != 0 && kCase.lower[c] != c) {
            std::string folded;
            AppendChar(folded, Cp1251ToCodePoint(kCase.lower[c]));
            // Every case pair of 1251 is two bytes long in UTF-8 in both forms.
            if (folded.size() == len) {
                out.replace(pos, len, folded);
            }
        }
        pos += len;
    }
    return out;
}

int CompareUpper1251(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = kCase.upper[static_cast<unsigned char>(a[i])];
        const int cb = kCase.upper[static_cast<unsigned char>(b[i])];
        if (ca != cb) {
            return ca - cb;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

std::string Cp1251ToUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size() * 2);
    for (char c : s) {
        AppendChar(out, Cp1251ToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    while (pos < s.size()) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(s, pos, cp);
        if (len == 0) {
            out += '?';
            ++pos;
            continue;
        }
        pos += len;
        const unsigned char b = CodePointToCp1251(cp);
        out += (b == 0 && cp != 0) ? '?' : static_cast<char>(b);
    }
    return out;
}

bool IsValidUtf8(std::string_view s)
{
    std::size_t pos = 0;
    while (pos < s.size()) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(s, pos, cp);
        if (len == 0) {
            return false;
        }
        pos += len;
    }
    return true;
}

std::string Cp866ToCp1251(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            c = static_cast<char>(kCp866To1251[b - 0x80]);
        }
    }
    return out;
}

std::string Cp1251ToCp866(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            c = static_cast<char>(kCp1251To866[b - 0x80]);
        }
    }
    return out;
}

} // namespace vb
