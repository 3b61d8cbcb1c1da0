// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/strings.h"

#include "common/unicode.h"

#include <climits>

namespace vb {

namespace {

bool IsPunctuation(unsigned char c)
{
    return (c >= 0x21 && c <= 0x26) || (c >= 0x28 && c <= 0x2C) || (c >= 0x2E && c <= 0x2F) ||
           (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E) || c == 0xB9;
}

// Characters that MaskLetters leaves visible: space, digits, punctuation and the numero sign.
bool IsUnmasked(unsigned char c)
{
    return (c >= 0x20 && c <= 0x40) || (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E) || c == 0xB9;
}

// The numero sign, 0xB9 in 1251.
constexpr std::string_view kNumeroUtf8 = "\xE2\x84\x96";

// The punctuation rule over characters that may be several bytes long: `punctuationAt(s, i)` is the
// length of the punctuation character starting at byte i, 0 when there is none.
template <class PunctuationAt>
std::string CleanPunctuationBy(std::string_view s, PunctuationAt punctuationAt)
{
    std::string result;
    result.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t length = punctuationAt(s, i);
        if (length == 0) {
            // The whole character: the bytes after its first are no characters of their own.
            const std::size_t whole = WellFormedCharLength(s, i);
            const std::size_t n = whole == 0 ? 1 : whole;
            result.append(s.substr(i, n));
            i += n;
            continue;
        }
        const std::size_t next = i + length;
        if (next < s.size() && s[next] != ' ' && punctuationAt(s, next) == 0) {
            result += ' ';
        }
        i = next;
    }
    return result;
}

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

std::string ParentDir(const std::string& path, int levels)
{
    std::string result = path;
    for (int i = 0; i < levels; ++i) {
        const auto pos = result.rfind(kPathSeparator);
        if (pos == std::string::npos) {
            break;
        }
        result.resize(pos);
    }
    return result;
}

std::string FileNameOnly(const std::string& path, bool withExtension)
{
    const auto sep = path.rfind(kPathSeparator);
    std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
    if (!withExtension) {
        const auto dot = name.find('.');
        if (dot != std::string::npos) {
            name.resize(dot);
        }
    }
    return name;
}

std::string SubStr0(std::string_view s, int start, int count)
{
    if (start < 0 || count < 0) {
        return {};
    }
    const std::size_t from = CharOffset(s, static_cast<std::size_t>(start));
    if (from >= s.size()) {
        return {};
    }
    const std::string_view rest = s.substr(from);
    return std::string(rest.substr(0, CharOffset(rest, static_cast<std::size_t>(count))));
}

std::string ReplaceChar(std::string s, char from, char to)
{
    for (char& c : s) {
        if (c == from) {
            c = to;
        }
    }
    return s;
}

int FindCharN(std::string_view s, char ch, int start, int n)
{
    if (n < 1 || s.size() > static_cast<std::size_t>(INT_MAX)) {
        return -1;
    }
    int found = 0;
    int index = 0;
    std::size_t pos = 0;
    while (pos < s.size()) {
        char32_t cp = 0;
        const std::size_t len = DecodeChar(s, pos, cp);
        if (index >= start && len == 1 && s[pos] == ch && ++found == n) {
            return index;
        }
        pos += len;
        ++index;
    }
    return -1;
}

std::string StripParens(std::string_view s)
{
    std::string kept;
    kept.reserve(s.size());
    std::size_t depth = 0;
    for (char c : s) {
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            // A ")" closes the innermost open part; a stray one is dropped as well.
            if (depth > 0) {
                --depth;
            }
        } else if (depth == 0) {
            kept += c;
        }
    }
    return TrimControl(kept);
}

std::string BracketTranscription(std::string_view s)
{
    if (s.empty()) {
        return {};
    }
    std::string result = "[";
    for (char c : s) {
        if (c != '[' && c != ']') {
            result += c;
        }
    }
    result += ']';
    return result;
}

std::string CleanPunctuation(std::string_view s)
{
    return CleanPunctuationBy(s, [](std::string_view text, std::size_t i) -> std::size_t {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            return IsPunctuation(c) ? 1 : 0;
        }
        char32_t cp = 0;
        const std::size_t length = DecodeChar(text, i, cp);
        const int b = Cp1251ByteOf(cp);
        const bool punctuation =
            b >= 0 ? IsPunctuation(static_cast<unsigned char>(b)) : UnicodeClass(cp) == CharClass::Punctuation;
        return punctuation ? length : 0;
    });
}

std::string CleanPunctuationUtf8(std::string_view s)
{
    return CleanPunctuationBy(s, [](std::string_view text, std::size_t i) -> std::size_t {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            return IsPunctuation(c) ? 1 : 0;
        }
        // Bytes of other characters are never punctuation: in UTF-8 they are all 0x80 and above.
        return text.substr(i, kNumeroUtf8.size()) == kNumeroUtf8 ? kNumeroUtf8.size() : 0;
    });
}

std::string MaskLetters(std::string_view s, int start, char mask)
{
    std::string result;
    result.reserve(s.size());
    const std::size_t from = CharOffset(s, start < 0 ? 0 : static_cast<std::size_t>(start));
    result.append(s.substr(0, from));
    std::size_t pos = from;
    while (pos < s.size()) {
        char32_t cp = 0;
        const std::size_t length = DecodeChar(s, pos, cp);
        const int b = Cp1251ByteOf(cp);
        const CharClass cls = b >= 0 ? CharClass::Other : UnicodeClass(cp);
        const bool kept = b >= 0 ? IsUnmasked(static_cast<unsigned char>(b))
                                 : cls == CharClass::Digit || cls == CharClass::Space || cls == CharClass::Punctuation;
        if (kept) {
            result.append(s.substr(pos, length));
        } else if (mask == '\0') {
            break;
        } else {
            result += mask;
        }
        pos += length;
    }
    return result;
}

std::string TrimControl(std::string_view s)
{
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlank(s[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(s[end - 1])) {
        --end;
    }
    return std::string(s.substr(begin, end - begin));
}

int SpeakingTimeMs(std::size_t chars, bool afterAnswer)
{
    const int pause = afterAnswer ? 1300 : 300;
    constexpr std::size_t kMaxChars = (INT_MAX - 1300) / 90;
    if (chars > kMaxChars) {
        return INT_MAX;
    }
    return static_cast<int>(chars) * 90 + pause;
}

} // namespace vb
