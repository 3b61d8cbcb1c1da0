#include "common/strings.h"

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
    if (start < 0 || count < 0 || static_cast<std::size_t>(start) >= s.size()) {
        return {};
    }
    return std::string(s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
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
    for (std::size_t i = start < 0 ? 0 : static_cast<std::size_t>(start); i < s.size(); ++i) {
        if (s[i] == ch && ++found == n) {
            return static_cast<int>(i);
        }
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
    std::string result;
    result.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (!IsPunctuation(c)) {
            result += s[i];
            continue;
        }
        const bool last = i + 1 == s.size();
        if (last || s[i + 1] == ' ' || IsPunctuation(static_cast<unsigned char>(s[i + 1]))) {
            continue;
        }
        result += ' ';
    }
    return result;
}

std::string MaskLetters(std::string_view s, int start, char mask)
{
    std::string result(s);
    for (std::size_t i = start < 0 ? 0 : static_cast<std::size_t>(start); i < result.size(); ++i) {
        if (IsUnmasked(static_cast<unsigned char>(result[i]))) {
            continue;
        }
        if (mask == '\0') {
            result.resize(i);
            break;
        }
        result[i] = mask;
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
