// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/progress_file.h"

#include "common/pupils.h"
#include "common/strings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <vector>

namespace vb {

std::string ProgressFilePath(const std::string& usersFolder, const std::string& pupilName,
                             const std::string& dictionaryPath)
{
    std::string path = PupilFolder(usersFolder, pupilName);
    path += kPathSeparator;
    path += FileNameOnly(dictionaryPath, false);
    path += ".lqs";
    return path;
}

std::string FormatProgressFile(const ProgressArray& var, const ProgressArray& moz, const ProgressArray& enter)
{
    const std::size_t count = std::min({var.size(), moz.size(), enter.size()});
    // Six numbers of at most 11 characters, five bars and CR LF: 73 bytes a line at most.
    constexpr std::size_t kMaxLine = 6 * 11 + 5 + 2;
    std::string out(count * kMaxLine, '\0');
    char* p = out.data();
    char* const end = p + out.size();
    auto put = [&](std::int32_t value, char after) {
        p = std::to_chars(p, end, value).ptr;
        *p++ = after;
    };
    for (std::size_t i = 0; i < count; ++i) {
        put(var[i].WordIndex, '|');
        put(var[i].Points, '|');
        put(moz[i].WordIndex, '|');
        put(moz[i].Points, '|');
        put(enter[i].WordIndex, '|');
        put(enter[i].Points, '\r');
        *p++ = '\n';
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

namespace {

bool IsSkipped(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// Calls `onLine` for every line that remains after skipping the bytes of 32 and below before it.
// A line ends at CR, LF or the end of the text. Returns false as soon as `onLine` does.
template <typename OnLine>
bool ForEachLine(std::string_view text, OnLine onLine)
{
    std::size_t pos = 0;
    const std::size_t n = text.size();
    while (true) {
        while (pos < n && IsSkipped(text[pos])) {
            ++pos;
        }
        if (pos == n) {
            return true;
        }
        const std::size_t start = pos;
        while (pos < n && text[pos] != '\r' && text[pos] != '\n') {
            ++pos;
        }
        if (!onLine(text.substr(start, pos - start))) {
            return false;
        }
    }
}

// A field is an optional minus sign and decimal digits, within int32. An empty field counts as missing.
bool ParseField(std::string_view field, std::int32_t& value)
{
    if (field.empty()) {
        value = 0;
        return true;
    }
    std::size_t pos = field[0] == '-' ? 1 : 0;
    if (pos == field.size()) {
        return false;
    }
    long long v = 0;
    for (; pos < field.size(); ++pos) {
        const char c = field[pos];
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + (c - '0');
        if (v > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1) {
            return false;
        }
    }
    if (field[0] == '-') {
        v = -v;
    }
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    value = static_cast<std::int32_t>(v);
    return true;
}

} // namespace

bool ParseProgressFile(std::string_view text, int wordCount, ProgressArray& var, ProgressArray& moz,
                       ProgressArray& enter)
{
    if (wordCount < 0) {
        return false;
    }
    long long lines = 0;
    ForEachLine(text, [&](std::string_view) {
        ++lines;
        return lines <= wordCount;
    });
    if (lines != wordCount) {
        return false;
    }

    const auto count = static_cast<std::size_t>(wordCount);
    std::array<ProgressArray, 3> read;
    for (auto& a : read) {
        a.assign(count, TWordProgress{});
    }
    std::size_t i = 0;
    const bool fieldsOk = ForEachLine(text, [&](std::string_view line) {
        std::array<std::int32_t, 6> fields{};
        std::size_t start = 0;
        for (std::size_t f = 0; f < fields.size() && start < line.size(); ++f) {
            // The line is read as if it ended in "|": the last field runs to the end of the line.
            std::size_t bar = line.find('|', start);
            if (bar == std::string_view::npos) {
                bar = line.size();
            }
            if (!ParseField(line.substr(start, bar - start), fields[f])) {
                return false;
            }
            start = bar + 1;
        }
        for (std::size_t m = 0; m < read.size(); ++m) {
            read[m][i] = TWordProgress{fields[2 * m], fields[2 * m + 1]};
        }
        ++i;
        return true;
    });
    if (!fieldsOk) {
        return false;
    }

    // Every method's order must hold each word exactly once; anything else would leave words out or let an
    // index point outside the dictionary.
    std::vector<unsigned char> seen(count);
    for (const auto& a : read) {
        std::fill(seen.begin(), seen.end(), 0);
        for (const TWordProgress& p : a) {
            if (p.WordIndex < 0 || p.WordIndex >= wordCount || seen[static_cast<std::size_t>(p.WordIndex)]) {
                return false;
            }
            seen[static_cast<std::size_t>(p.WordIndex)] = 1;
        }
    }
    var = std::move(read[0]);
    moz = std::move(read[1]);
    enter = std::move(read[2]);
    return true;
}

} // namespace vb
