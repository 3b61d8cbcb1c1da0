// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/history.h"

#include "common/files.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vb {

namespace {

// No line the program writes comes near this; longer ones are junk and are not even split.
constexpr std::size_t kMaxLineLength = 4096;
constexpr std::int64_t kMinDay = -719162; // 0001-01-01
constexpr std::int64_t kMaxDay = 2932896; // 9999-12-31

class RealDateClock : public DateClock
{
public:
    std::int64_t LocalSeconds() override
    {
#ifdef _WIN32
        SYSTEMTIME st{};
        GetLocalTime(&st);
        return DaysFromCivil(st.wYear, st.wMonth, st.wDay) * 86400 + st.wHour * 3600 + st.wMinute * 60 + st.wSecond;
#else
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        return DaysFromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) * 86400 + tm.tm_hour * 3600 +
               tm.tm_min * 60 + tm.tm_sec;
#endif
    }
};

void AppendTwoDigits(std::string& out, int v)
{
    out.push_back(static_cast<char>('0' + v / 10 % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

void AppendDate(std::string& out, std::int64_t day)
{
    int y = 0, m = 0, d = 0;
    CivilFromDays(day, y, m, d);
    out += std::to_string(y / 1000 % 10) + std::to_string(y / 100 % 10);
    AppendTwoDigits(out, y % 100);
    out.push_back('-');
    AppendTwoDigits(out, m);
    out.push_back('-');
    AppendTwoDigits(out, d);
}

// Control bytes would break the line structure; the word is matched by its visible text anyway.
std::string CleanWord(std::string_view word)
{
    std::string out(word);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 32) {
            c = ' ';
        }
    }
    return out;
}

std::string FormatReal(double v)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
    return std::string(buf, res.ptr);
}

// Splits off `count` fields; the rest of the line after the last separator is the word (may be empty).
bool SplitFields(std::string_view line, std::size_t count, std::vector<std::string_view>& fields,
                 std::string_view& rest)
{
    fields.clear();
    std::size_t pos = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t bar = line.find('|', pos);
        if (bar == std::string_view::npos) {
            return false;
        }
        fields.push_back(line.substr(pos, bar - pos));
        pos = bar + 1;
    }
    rest = line.substr(pos);
    return true;
}

template <typename T>
bool ParseInt(std::string_view s, T& out, T lo, T hi)
{
    if (s.empty() || s.size() > 20) {
        return false;
    }
    const auto res = std::from_chars(s.data(), s.data() + s.size(), out);
    return res.ec == std::errc() && res.ptr == s.data() + s.size() && out >= lo && out <= hi;
}

bool ParseReal(std::string_view s, double& out, double lo, double hi)
{
    if (s.empty() || s.size() > 40) {
        return false;
    }
    const auto res = std::from_chars(s.data(), s.data() + s.size(), out);
    return res.ec == std::errc() && res.ptr == s.data() + s.size() && std::isfinite(out) && out >= lo && out <= hi;
}

bool ParseFlag(std::string_view s, bool& out)
{
    if (s == "0" || s == "1") {
        out = s == "1";
        return true;
    }
    return false;
}

bool Digits(std::string_view s)
{
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// YYYY-MM-DD, a real calendar date.
bool ParseDate(std::string_view s, std::int64_t& day)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') {
        return false;
    }
    int y = 0, m = 0, d = 0;
    if (!Digits(s.substr(0, 4)) || !Digits(s.substr(5, 2)) || !Digits(s.substr(8, 2)) ||
        !ParseInt(s.substr(0, 4), y, 1, 9999) || !ParseInt(s.substr(5, 2), m, 1, 12) ||
        !ParseInt(s.substr(8, 2), d, 1, 31)) {
        return false;
    }
    day = DaysFromCivil(y, m, d);
    int y2 = 0, m2 = 0, d2 = 0;
    CivilFromDays(day, y2, m2, d2);
    return y2 == y && m2 == m && d2 == d;
}

// YYYY-MM-DD HH:MM:SS
bool ParseDateTime(std::string_view s, std::int64_t& seconds)
{
    std::int64_t day = 0;
    if (s.size() != 19 || s[10] != ' ' || s[13] != ':' || s[16] != ':' || !ParseDate(s.substr(0, 10), day)) {
        return false;
    }
    int h = 0, mi = 0, se = 0;
    if (!Digits(s.substr(11, 2)) || !Digits(s.substr(14, 2)) || !Digits(s.substr(17, 2)) ||
        !ParseInt(s.substr(11, 2), h, 0, 23) || !ParseInt(s.substr(14, 2), mi, 0, 59) ||
        !ParseInt(s.substr(17, 2), se, 0, 59)) {
        return false;
    }
    seconds = day * 86400 + h * 3600 + mi * 60 + se;
    return true;
}

bool ParseMethod(std::string_view s, int& method)
{
    return ParseInt(s, method, 0, 2);
}

constexpr std::int32_t kIntMax = 2147483647;
constexpr std::int32_t kIntMin = -kIntMax - 1;

bool ParseLine(std::string_view line, HistoryData& out, std::vector<std::string_view>& f)
{
    std::string_view word;
    if (line.starts_with("T|")) {
        if (!SplitFields(line, 5, f, word)) {
            return false;
        }
        DayTotal t;
        if (!ParseDate(f[1], t.Day) || !ParseMethod(f[2], t.Method) || !ParseInt(f[3], t.Right, 0, kIntMax) ||
            !ParseInt(f[4], t.Wrong, 0, kIntMax) || !ParseInt(word, t.Learned, 0, kIntMax)) {
            return false;
        }
        out.Totals.push_back(t);
        return true;
    }
    if (line.starts_with("S|")) {
        if (!SplitFields(line, 7, f, word)) {
            return false;
        }
        StateRecord s;
        if (!ParseDate(f[1], s.Day) || !ParseMethod(f[2], s.Method) || !ParseInt(f[3], s.WordIndex, 0, kIntMax) ||
            !ParseReal(f[4], s.Stability, 0.0001, 1e6) || !ParseReal(f[5], s.Difficulty, 1, 10) ||
            !ParseFlag(f[6], s.Learned)) {
            return false;
        }
        s.Word = std::string(word);
        out.States.push_back(std::move(s));
        return true;
    }
    if (!SplitFields(line, 7, f, word)) {
        return false;
    }
    AnswerRecord a;
    if (!ParseDateTime(f[0], a.Time) || !ParseMethod(f[1], a.Method) || !ParseInt(f[2], a.WordIndex, 0, kIntMax) ||
        !ParseFlag(f[3], a.Right) || !ParseInt(f[4], a.Hints, 0, kIntMax) ||
        !ParseInt(f[5], a.PointsChange, kIntMin, kIntMax) || !ParseFlag(f[6], a.Learned)) {
        return false;
    }
    a.Word = std::string(word);
    out.Answers.push_back(std::move(a));
    return true;
}

} // namespace

DateClock& SystemDateClock()
{
    static RealDateClock clock;
    return clock;
}

// Howard Hinnant's civil calendar conversions (proleptic Gregorian).
std::int64_t DaysFromCivil(int year, int month, int day)
{
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day)
{
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::string FormatDate(std::int64_t day)
{
    std::string out;
    AppendDate(out, std::clamp(day, kMinDay, kMaxDay));
    return out;
}

std::string FormatAnswerLine(const AnswerRecord& r)
{
    std::string out;
    const std::int64_t day = DayOf(r.Time);
    AppendDate(out, std::clamp(day, kMinDay, kMaxDay));
    const std::int64_t sec = r.Time - day * 86400;
    out.push_back(' ');
    AppendTwoDigits(out, static_cast<int>(sec / 3600));
    out.push_back(':');
    AppendTwoDigits(out, static_cast<int>(sec / 60 % 60));
    out.push_back(':');
    AppendTwoDigits(out, static_cast<int>(sec % 60));
    out += '|' + std::to_string(r.Method) + '|' + std::to_string(r.WordIndex) + '|' + (r.Right ? "1" : "0") + '|' +
           std::to_string(r.Hints) + '|' + std::to_string(r.PointsChange) + '|' + (r.Learned ? "1" : "0") + '|' +
           CleanWord(r.Word) + "\r\n";
    return out;
}

std::string FormatTotalLine(const DayTotal& t)
{
    return "T|" + FormatDate(t.Day) + '|' + std::to_string(t.Method) + '|' + std::to_string(t.Right) + '|' +
           std::to_string(t.Wrong) + '|' + std::to_string(t.Learned) + "\r\n";
}

std::string FormatStateLine(const StateRecord& s)
{
    return "S|" + FormatDate(s.Day) + '|' + std::to_string(s.Method) + '|' + std::to_string(s.WordIndex) + '|' +
           FormatReal(s.Stability) + '|' + FormatReal(s.Difficulty) + '|' + (s.Learned ? "1" : "0") + '|' +
           CleanWord(s.Word) + "\r\n";
}

HistoryData ParseHistory(std::string_view text)
{
    HistoryData out;
    out.Answers.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::vector<std::string_view> fields;
    fields.reserve(8);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        // A line cut by a crash or a full disk has lost its line break; the next line starts afresh.
        if (end == text.size() || line.size() > kMaxLineLength || !ParseLine(line, out, fields)) {
            ++out.DamagedLines;
        }
    }
    return out;
}

std::string FormatHistory(const HistoryData& data)
{
    std::string out;
    out.reserve(data.Answers.size() * 48 + data.Totals.size() * 24 + data.States.size() * 60);
    for (const StateRecord& s : data.States) {
        out += FormatStateLine(s);
    }
    for (const DayTotal& t : data.Totals) {
        out += FormatTotalLine(t);
    }
    for (const AnswerRecord& a : data.Answers) {
        out += FormatAnswerLine(a);
    }
    return out;
}

std::string HistoryFilePath(const std::string& progressFilePath)
{
    if (progressFilePath.empty()) {
        return std::string();
    }
    std::string path = progressFilePath;
    const std::size_t dot = path.rfind('.');
    const std::size_t sep = path.find_last_of("/\\");
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep)) {
        path.resize(dot);
    }
    return path + ".lqh";
}

bool AppendAnswer(const std::string& path, const AnswerRecord& r)
{
    return !path.empty() && AppendFileLine(path, FormatAnswerLine(r));
}

} // namespace vb
