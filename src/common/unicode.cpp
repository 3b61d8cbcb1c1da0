// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/unicode.h"

#include "common/codepage.h"
#include "common/files.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vb {

namespace {

struct ClassRange
{
    char32_t first;
    char32_t last;
    unsigned char cls;
};

struct CodePair
{
    char32_t from;
    char32_t to;
};

#include "common/unicode_tables.inc"

template <std::size_t N>
char32_t LookUpPair(const CodePair (&table)[N], char32_t cp)
{
    const auto it = std::lower_bound(std::begin(table), std::end(table), cp,
                                     [](const CodePair& p, char32_t value) { return p.from < value; });
    return it != std::end(table) && it->from == cp ? it->to : cp;
}

CharClass LookUpClass(char32_t cp)
{
    const auto it = std::upper_bound(std::begin(kClassRanges), std::end(kClassRanges), cp,
                                     [](char32_t value, const ClassRange& r) { return value < r.first; });
    if (it == std::begin(kClassRanges)) {
        return CharClass::Other;
    }
    const ClassRange& r = *(it - 1);
    return cp <= r.last ? static_cast<CharClass>(r.cls) : CharClass::Other;
}

// The characters below U+0800 cover the alphabets most dictionaries use: they are looked up directly.
constexpr char32_t kDirect = 0x800;

struct DirectTables
{
    DirectTables()
    {
        for (char32_t cp = 0; cp < kDirect; ++cp) {
            cls[cp] = LookUpClass(cp);
            upper[cp] = static_cast<char16_t>(LookUpPair(kUpperPairs, cp));
            lower[cp] = static_cast<char16_t>(LookUpPair(kLowerPairs, cp));
            cp1251[cp] = -1;
        }
        for (int b = 0; b < 256; ++b) {
            const char32_t cp = Cp1251CharOf(static_cast<unsigned char>(b));
            if (cp < kDirect) {
                cp1251[cp] = static_cast<std::int16_t>(b);
            } else {
                high1251.push_back(CodePair{cp, static_cast<char32_t>(b)});
            }
        }
        std::sort(high1251.begin(), high1251.end(),
                  [](const CodePair& a, const CodePair& b) { return a.from < b.from; });
    }
    std::array<CharClass, kDirect> cls{};
    std::array<char16_t, kDirect> upper{};
    std::array<char16_t, kDirect> lower{};
    std::array<std::int16_t, kDirect> cp1251{};
    std::vector<CodePair> high1251;
};

const DirectTables& Direct()
{
    static const DirectTables tables;
    return tables;
}

template <class Map>
std::string MapText(std::string_view s, const Map& map)
{
    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    while (pos < s.size()) {
        const auto b = static_cast<unsigned char>(s[pos]);
        if (b < 0x80) {
            out += static_cast<char>(map(b));
            ++pos;
            continue;
        }
        const std::size_t len = WellFormedCharLength(s, pos);
        if (len == 0) {
            out += s[pos++];
            continue;
        }
        char32_t cp = 0;
        DecodeChar(s, pos, cp);
        AppendChar(out, map(cp));
        pos += len;
    }
    return out;
}

template <class Weight>
int CompareBy(std::string_view a, std::string_view b, const Weight& weight)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = 0;
        char32_t cb = 0;
        i += DecodeChar(a, i, ca);
        j += DecodeChar(b, j, cb);
        if (ca != cb) {
            const std::uint32_t wa = weight(ca);
            const std::uint32_t wb = weight(cb);
            if (wa != wb) {
                return wa < wb ? -1 : 1;
            }
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

} // namespace

CharClass UnicodeClass(char32_t cp)
{
    return cp < kDirect ? Direct().cls[cp] : LookUpClass(cp);
}

char32_t UnicodeUpper(char32_t cp)
{
    return cp < kDirect ? Direct().upper[cp] : LookUpPair(kUpperPairs, cp);
}

char32_t UnicodeLower(char32_t cp)
{
    return cp < kDirect ? Direct().lower[cp] : LookUpPair(kLowerPairs, cp);
}

char32_t UnicodeBase(char32_t cp)
{
    return LookUpPair(kBasePairs, cp);
}

std::size_t WellFormedCharLength(std::string_view s, std::size_t pos)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        return 1;
    }
    std::size_t len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
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

std::size_t DecodeChar(std::string_view s, std::size_t pos, char32_t& cp)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    const std::size_t len = WellFormedCharLength(s, pos);
    if (len == 0) {
        cp = kReplacementChar;
        return 1;
    }
    cp = len == 2 ? b0 & 0x1F : (len == 3 ? b0 & 0x0F : b0 & 0x07);
    for (std::size_t i = 1; i < len; ++i) {
        cp = (cp << 6) | (static_cast<unsigned char>(s[pos + i]) & 0x3F);
    }
    return len;
}

void AppendChar(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int Cp1251ByteOf(char32_t cp)
{
    if (cp < 0x80) {
        return static_cast<int>(cp);
    }
    const DirectTables& t = Direct();
    if (cp < kDirect) {
        return t.cp1251[cp];
    }
    const auto it = std::lower_bound(t.high1251.begin(), t.high1251.end(), cp,
                                     [](const CodePair& p, char32_t value) { return p.from < value; });
    return it != t.high1251.end() && it->from == cp ? static_cast<int>(it->to) : -1;
}

char32_t Cp1251CharOf(unsigned char b)
{
    return b == 0x98 ? 0x98 : Cp1251ToCodePoint(b);
}

bool FitsCp1251(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        if (WellFormedCharLength(text, pos) == 0) {
            return false;
        }
        char32_t cp = 0;
        pos += DecodeChar(text, pos, cp);
        if (Cp1251ByteOf(cp) < 0) {
            return false;
        }
    }
    return true;
}

std::string Utf8ToCp1251Exact(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        const bool wellFormed = WellFormedCharLength(text, pos) != 0;
        pos += DecodeChar(text, pos, cp);
        const int b = wellFormed ? Cp1251ByteOf(cp) : -1;
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

std::string Cp1251ToUtf8Exact(std::string_view bytes)
{
    // Each byte's UTF-8 form at hand; a whole dictionary goes through here as it opens.
    struct Forms
    {
        Forms()
        {
            for (int b = 0; b < 256; ++b) {
                std::string form;
                AppendChar(form, Cp1251CharOf(static_cast<unsigned char>(b)));
                length[static_cast<std::size_t>(b)] = static_cast<unsigned char>(form.size());
                std::copy(form.begin(), form.end(), bytes[static_cast<std::size_t>(b)].begin());
            }
        }
        std::array<std::array<char, 4>, 256> bytes{};
        std::array<unsigned char, 256> length{};
    };
    static const Forms forms;
    // ASCII, which most dictionaries are mostly made of, is taken eight bytes at a time.
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    const char* in = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t size = n;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t v = 0;
        std::memcpy(&v, in + i, 8);
        if ((v & kHigh) != 0) {
            for (std::size_t k = i; k < i + 8; ++k) {
                size += forms.length[static_cast<unsigned char>(in[k])] - 1U;
            }
        }
    }
    for (; i < n; ++i) {
        size += forms.length[static_cast<unsigned char>(in[i])] - 1U;
    }
    std::string out;
    out.reserve(size);
    PreferLargePages(out.data(), size);
    out.resize(size);
    char* at = out.data();
    i = 0;
    while (i < n) {
        if (i + 8 <= n) {
            std::uint64_t v = 0;
            std::memcpy(&v, in + i, 8);
            if ((v & kHigh) == 0) {
                std::memcpy(at, in + i, 8);
                at += 8;
                i += 8;
                continue;
            }
        }
        const auto b = static_cast<unsigned char>(in[i++]);
        if (b < 0x80) {
            *at++ = static_cast<char>(b);
        } else {
            const std::array<char, 4>& form = forms.bytes[b];
            for (unsigned char k = 0; k < forms.length[b]; ++k) {
                *at++ = form[k];
            }
        }
    }
    return out;
}

std::size_t CharCount(std::string_view s)
{
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const auto b = static_cast<unsigned char>(s[pos]);
        const std::size_t len = b < 0x80 ? 1 : WellFormedCharLength(s, pos);
        pos += len == 0 ? 1 : len;
        ++count;
    }
    return count;
}

std::size_t CharOffset(std::string_view s, std::size_t index)
{
    std::size_t pos = 0;
    for (std::size_t k = 0; k < index && pos < s.size(); ++k) {
        char32_t cp = 0;
        pos += DecodeChar(s, pos, cp);
    }
    return pos;
}

char32_t UpperChar(char32_t cp)
{
    if (cp < 0x80) {
        return UpperCase1251(static_cast<unsigned char>(cp));
    }
    const int b = Cp1251ByteOf(cp);
    return b >= 0 ? Cp1251CharOf(UpperCase1251(static_cast<unsigned char>(b))) : UnicodeUpper(cp);
}

char32_t LowerChar(char32_t cp)
{
    if (cp < 0x80) {
        return LowerCase1251(static_cast<unsigned char>(cp));
    }
    const int b = Cp1251ByteOf(cp);
    return b >= 0 ? Cp1251CharOf(LowerCase1251(static_cast<unsigned char>(b))) : UnicodeLower(cp);
}

std::string UpperCaseText(std::string_view s)
{
    return MapText(s, UpperChar);
}

std::string LowerCaseText(std::string_view s)
{
    return MapText(s, LowerChar);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = 0;
        char32_t cb = 0;
        const bool wa = WellFormedCharLength(a, i) != 0;
        const bool wb = WellFormedCharLength(b, j) != 0;
        const std::size_t la = DecodeChar(a, i, ca);
        const std::size_t lb = DecodeChar(b, j, cb);
        if (wa != wb || (wa ? UpperChar(ca) != UpperChar(cb) : a[i] != b[j])) {
            return false;
        }
        i += la;
        j += lb;
    }
    return i == a.size() && j == b.size();
}

std::uint32_t SortWeight(char32_t cp)
{
    constexpr unsigned kShift = 22;
    const int b = Cp1251ByteOf(cp);
    if (b >= 0) {
        return static_cast<std::uint32_t>(b) << kShift;
    }
    const char32_t base = UnicodeBase(cp);
    const int baseByte = base != cp ? Cp1251ByteOf(base) : -1;
    if (baseByte >= 0) {
        return (static_cast<std::uint32_t>(baseByte) << kShift) | (1u << 21) | cp;
    }
    return (256u << kShift) | cp;
}

int CompareText(std::string_view a, std::string_view b)
{
    return CompareBy(a, b, SortWeight);
}

int CompareTextUpper(std::string_view a, std::string_view b)
{
    return CompareBy(a, b, [](char32_t cp) { return SortWeight(UpperChar(cp)); });
}

std::u32string UpperSortKey(std::string_view s)
{
    std::u32string key;
    key.reserve(s.size());
    std::size_t pos = 0;
    while (pos < s.size()) {
        char32_t cp = 0;
        pos += DecodeChar(s, pos, cp);
        key += static_cast<char32_t>(SortWeight(UpperChar(cp)));
    }
    return key;
}

} // namespace vb
