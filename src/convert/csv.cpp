// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/csv.h"

#include "common/unicode.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace vb {

namespace {

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
    }
    AppendChar(out, cp);
}

// Markup that flash-card programs put into fields; a lone "<" of ordinary text is no markup.
bool LooksLikeHtml(std::string_view s)
{
    static constexpr std::array<std::string_view, 14> kTags = {
        "<br", "<b>", "<i>", "<u>", "<p>", "<p ", "<div", "<span", "<font", "<img", "<sup", "<sub", "</", "&nbsp;"};
    const std::string lower = Lower(s);
    return std::any_of(kTags.begin(), kTags.end(),
                       [&](std::string_view tag) { return lower.find(tag) != std::string::npos; });
}

// A header line of a flash-card export: "#key:value" before the first row.
bool HeaderLine(std::string_view line, std::string& key, std::string& value)
{
    if (!line.starts_with('#')) {
        return false;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || colon < 2) {
        return false;
    }
    const std::string_view k = line.substr(1, colon - 1);
    if (!std::all_of(k.begin(), k.end(),
                     [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == ' '; })) {
        return false;
    }
    key = Lower(k);
    value = std::string(Trim(line.substr(colon + 1)));
    return true;
}

char GuessSeparator(std::string_view text)
{
    // Count candidates on the first row, outside quotes.
    std::array<std::size_t, 4> counts{};
    constexpr std::array<char, 4> kCandidates{'\t', ';', ',', '|'};
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        // The ";" of a character reference ("&amp;", "&#1082;") is no separator.
        if (c == '&' && !quoted) {
            std::size_t k = i + 1;
            while (k < text.size() && k - i <= 10 &&
                   (std::isalnum(static_cast<unsigned char>(text[k])) || text[k] == '#')) {
                ++k;
            }
            if (k < text.size() && text[k] == ';' && k > i + 1) {
                i = k;
                continue;
            }
        }
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted) {
            for (std::size_t k = 0; k < kCandidates.size(); ++k) {
                counts[k] += c == kCandidates[k];
            }
        }
    }
    const auto best = std::max_element(counts.begin(), counts.end());
    return *best == 0 ? ',' : kCandidates[static_cast<std::size_t>(best - counts.begin())];
}

} // namespace

bool ParseCsvColumns(std::string_view text, std::vector<CsvColumn>& columns)
{
    std::vector<CsvColumn> out;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        const std::string name =
            Lower(Trim(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start)));
        if (name == "word") {
            out.push_back(CsvColumn::Word);
        } else if (name == "translation") {
            out.push_back(CsvColumn::Translation);
        } else if (name == "transcription") {
            out.push_back(CsvColumn::Transcription);
        } else if (name == "note") {
            out.push_back(CsvColumn::Note);
        } else if (name == "-" || name == "skip") {
            out.push_back(CsvColumn::Skip);
        } else {
            return false;
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    columns = std::move(out);
    return true;
}

bool ParseCsvSeparator(std::string_view text, char& separator)
{
    const std::string name = Lower(text);
    if (name == "tab" || name == "\\t") {
        separator = '\t';
    } else if (name == "comma") {
        separator = ',';
    } else if (name == "semicolon") {
        separator = ';';
    } else if (name == "pipe") {
        separator = '|';
    } else if (name == "space") {
        separator = ' ';
    } else if (name == "colon") {
        separator = ':';
    } else if (text.size() == 1 && text[0] != '"' && text[0] != '\r' && text[0] != '\n') {
        separator = text[0];
    } else {
        return false;
    }
    return true;
}

CsvTable ParseCsv(std::string_view bytes, char separator)
{
    CsvTable table;
    const std::string text = DecodeUtf8Or1251(bytes);
    std::size_t pos = 0;
    std::size_t line = 1;
    char declared = 0;
    // Header lines come first and only there.
    while (pos < text.size()) {
        const auto end = text.find_first_of("\r\n", pos);
        const std::string_view l = std::string_view(text).substr(pos, end == std::string::npos ? text.npos : end - pos);
        std::string key;
        std::string value;
        if (!HeaderLine(l, key, value)) {
            break;
        }
        if (key == "separator") {
            ParseCsvSeparator(value, declared);
        } else if (key == "html") {
            table.htmlDeclared = true;
            table.html = Lower(value) == "true";
        }
        pos = end == std::string::npos ? text.size() : end;
        if (pos < text.size() && text[pos] == '\r') {
            ++pos;
        }
        if (pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
        ++line;
    }
    table.separator = separator ? separator : declared ? declared : GuessSeparator(std::string_view(text).substr(pos));
    const char sep = table.separator;

    std::vector<std::string> row;
    std::string field;
    std::size_t rowLine = line;
    bool rowHasContent = false;
    const auto endRow = [&] {
        row.push_back(std::move(field));
        field.clear();
        if (rowHasContent || row.size() > 1 || !row[0].empty()) {
            table.rows.push_back(std::move(row));
            table.rowLines.push_back(rowLine);
        }
        row.clear();
        rowHasContent = false;
    };
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '"' && field.empty() && !rowHasContent) {
            // A quoted field: separators, line breaks and doubled quotes inside.
            const std::size_t openLine = line;
            ++pos;
            bool closed = false;
            while (pos < text.size()) {
                const char q = text[pos];
                if (q == '"') {
                    if (pos + 1 < text.size() && text[pos + 1] == '"') {
                        field += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    closed = true;
                    break;
                }
                if (q == '\n' || (q == '\r' && (pos + 1 >= text.size() || text[pos + 1] != '\n'))) {
                    ++line;
                }
                field += q;
                ++pos;
            }
            if (!closed) {
                table.error = "строка " + std::to_string(openLine) + ": кавычка не закрыта до конца файла";
                table.rows.clear();
                table.rowLines.clear();
                return table;
            }
            rowHasContent = true; // text after the closing quote is kept as it stands
            continue;
        }
        if (c == sep) {
            row.push_back(std::move(field));
            field.clear();
            rowHasContent = false;
            ++pos;
            continue;
        }
        if (c == '\r' || c == '\n') {
            endRow();
            pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
            ++line;
            rowLine = line;
            continue;
        }
        field += c;
        ++pos;
    }
    if (!field.empty() || !row.empty() || rowHasContent) {
        endRow();
    }
    return table;
}

std::string HtmlToText(std::string_view html)
{
    std::string out;
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        if (c == '<') {
            const auto close = html.find('>', i);
            if (close == std::string_view::npos) {
                out.append(html.substr(i));
                break;
            }
            const std::string tag = Lower(html.substr(i + 1, std::min<std::size_t>(close - i - 1, 4)));
            // Line breaks and block ends separate words.
            if (tag.starts_with("br") || tag.starts_with("/div") || tag.starts_with("/p") || tag.starts_with("/li") ||
                tag.starts_with("div") || tag.starts_with("p")) {
                out += ' ';
            }
            i = close + 1;
            continue;
        }
        if (c == '&') {
            const auto semi = html.find(';', i);
            if (semi != std::string_view::npos && semi - i <= 10) {
                const std::string name = Lower(html.substr(i + 1, semi - i - 1));
                static const std::array<std::pair<std::string_view, std::string_view>, 6> kNamed = {
                    {{"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}}};
                bool done = false;
                for (const auto& [n, v] : kNamed) {
                    if (name == n) {
                        out += v;
                        done = true;
                    }
                }
                if (!done && name.size() > 1 && name[0] == '#') {
                    std::uint32_t cp = 0;
                    const bool hex = name[1] == 'x';
                    bool valid = name.size() > (hex ? 2u : 1u);
                    for (std::size_t k = hex ? 2 : 1; k < name.size() && valid; ++k) {
                        const char d = name[k];
                        int v = -1;
                        if (d >= '0' && d <= '9') {
                            v = d - '0';
                        } else if (hex && d >= 'a' && d <= 'f') {
                            v = d - 'a' + 10;
                        }
                        if (v < 0) {
                            valid = false;
                        } else if (cp <= 0x10FFFF) {
                            // Beyond Unicode stays beyond it (and becomes U+FFFD) without overflowing.
                            cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
                        }
                    }
                    if (valid) {
                        AppendUtf8(out, cp);
                        done = true;
                    }
                }
                if (done) {
                    i = semi + 1;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    // Markup's own white space means one space.
    std::string collapsed;
    for (const char ch : out) {
        const bool space = ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
        if (space && (collapsed.empty() || collapsed.back() == ' ')) {
            continue;
        }
        collapsed += space ? ' ' : ch;
    }
    while (!collapsed.empty() && collapsed.back() == ' ') {
        collapsed.pop_back();
    }
    return collapsed;
}

ReadOutcome ReadCsv(std::string_view bytes, const CsvOptions& options, const ConvertProgress& progress)
{
    ReadOutcome result;
    CsvTable table = ParseCsv(bytes, options.separator);
    if (!table.error.empty()) {
        result.error = table.error;
        return result;
    }
    const bool declaredHtml = options.html == CsvHtml::Yes || (options.html == CsvHtml::Auto && table.html);
    const bool detectHtml = options.html == CsvHtml::Auto && !table.htmlDeclared;
    int lastPercent = -1;
    for (std::size_t r = options.headerRow ? 1 : 0; r < table.rows.size(); ++r) {
        VocabEntry e;
        const auto& row = table.rows[r];
        for (std::size_t c = 0; c < row.size() && c < options.columns.size(); ++c) {
            std::string value = (declaredHtml || (detectHtml && LooksLikeHtml(row[c]))) ? HtmlToText(row[c]) : row[c];
            value = FlattenValue(value);
            std::string* target = nullptr;
            switch (options.columns[c]) {
            case CsvColumn::Word:
                target = &e.word;
                break;
            case CsvColumn::Translation:
                target = &e.translation;
                break;
            case CsvColumn::Transcription:
                target = &e.transcription;
                break;
            case CsvColumn::Note:
                target = &e.note;
                break;
            case CsvColumn::Skip:
                break;
            }
            if (target && !value.empty()) {
                // Two columns mapped to one value are joined.
                if (!target->empty()) {
                    *target += "; ";
                }
                *target += value;
            }
        }
        if (!e.word.empty() || !e.translation.empty()) {
            result.entries.push_back(std::move(e));
        }
        const int percent = static_cast<int>((r + 1) * 100 / table.rows.size());
        if (progress && percent != lastPercent) {
            lastPercent = percent;
            progress(percent);
        }
    }
    return result;
}

std::string CsvBytes(const std::vector<VocabEntry>& entries, char separator)
{
    std::string out = "\xEF\xBB\xBF";
    // Text that looks like markup must not be taken for it when the file is read again.
    const bool markupLike = std::any_of(entries.begin(), entries.end(), [](const VocabEntry& e) {
        return LooksLikeHtml(e.word) || LooksLikeHtml(e.translation) || LooksLikeHtml(e.transcription) ||
               LooksLikeHtml(e.note);
    });
    if (markupLike) {
        out += "#html:false\r\n";
    }
    // Any character a reader might guess as the separator is quoted, so the guess finds the real one.
    const std::string special = std::string{separator, '"', '\r', '\n', '\t', ',', ';', '|'};
    bool firstRow = true;
    for (const VocabEntry& e : entries) {
        bool firstField = true;
        for (const std::string* value : {&e.word, &e.translation, &e.transcription, &e.note}) {
            const std::string v = ValidUtf8(*value);
            if (!firstField) {
                out += separator;
            }
            const bool needsQuotes =
                v.find_first_of(special) != std::string::npos ||
                (!v.empty() && (v.front() == ' ' || v.back() == ' ' || v.front() == '\t' || v.back() == '\t')) ||
                (firstRow && firstField && v.starts_with('#'));
            if (needsQuotes) {
                out += '"';
                for (const char c : v) {
                    out += c;
                    if (c == '"') {
                        out += '"';
                    }
                }
                out += '"';
            } else {
                out += v;
            }
            firstField = false;
        }
        out += "\r\n";
        firstRow = false;
    }
    return out;
}

} // namespace vb
