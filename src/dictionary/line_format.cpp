// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/line_format.h"

#include "common/strings.h"

namespace vb {

namespace {

constexpr char kSeparator = '|';
constexpr char kQuote = '`';

// A NUL byte ends any text read from a dictionary.
std::string_view UpToNul(std::string_view s)
{
    const auto nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// One field as the table writes it: trimmed, and quoted where reading it back would otherwise go wrong.
std::string FieldText(const std::string& value, char delimiter)
{
    std::string v = TrimControl(value);
    // A NUL would end the file on reading and a line break would split the entry; both become spaces.
    for (char& c : v) {
        if (c == '\0' || IsLineEnd(c)) {
            c = ' ';
        }
    }
    // A value that begins with a backtick is quoted too: unquoted, the reader would take it for an opening
    // quote and swallow the rest of the line into this field.
    if (v.find(delimiter) != std::string::npos || (!v.empty() && v.front() == kQuote)) {
        // A quoted value has no escape for a backtick, and one followed by the delimiter would end the quote
        // there and push the rest of the entry into the next fields; a space after it keeps the entry whole.
        const std::string closing{kQuote, delimiter};
        for (auto pos = v.find(closing); pos != std::string::npos; pos = v.find(closing, pos + 2)) {
            v.insert(pos + 1, 1, ' ');
        }
        return kQuote + v + kQuote;
    }
    return v;
}

} // namespace

std::vector<std::string> SplitTextLines(std::string_view text)
{
    text = UpToNul(text);
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !IsLineEnd(text[end])) {
            ++end;
        }
        lines.emplace_back(text.substr(pos, end - pos));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
            ++end;
        }
        pos = end + 1;
    }
    return lines;
}

void SplitQuotedLine(std::string_view line, char delimiter, std::span<std::string> fields)
{
    line = UpToNul(line);
    for (std::string& field : fields) {
        field.clear();
    }
    std::size_t pos = 0;
    for (std::string& field : fields) {
        while (pos < line.size() && static_cast<unsigned char>(line[pos]) <= 32) {
            ++pos;
        }
        if (pos >= line.size()) {
            break;
        }
        if (line[pos] == kQuote) {
            // The closing quote is the first later backtick that ends the field.
            std::size_t close = std::string_view::npos;
            for (std::size_t i = pos + 1; i < line.size(); ++i) {
                if (line[i] == kQuote && (i + 1 == line.size() || line[i + 1] == delimiter || IsLineEnd(line[i + 1]))) {
                    close = i;
                    break;
                }
            }
            if (close == std::string_view::npos) {
                field.assign(line.substr(pos));
                pos = line.size();
            } else {
                field.assign(line.substr(pos + 1, close - pos - 1));
                pos = close;
                while (pos < line.size() && line[pos] != delimiter) {
                    ++pos;
                }
            }
        } else {
            const auto end = std::min(line.find(delimiter, pos), line.size());
            field.assign(line.substr(pos, end - pos));
            pos = end;
        }
        if (pos < line.size() && line[pos] == delimiter) {
            ++pos;
        }
    }
}

std::string JoinQuotedLine(std::span<const std::string> values, char delimiter)
{
    std::string line;
    for (const std::string& value : values) {
        line += FieldText(value, delimiter);
        line += delimiter;
    }
    while (!line.empty() && line.back() == delimiter) {
        line.pop_back();
    }
    return line;
}

DictionaryRecord LineToRecord(std::string_view line)
{
    std::string fields[4];
    SplitQuotedLine(line, kSeparator, fields);
    return DictionaryRecord{std::move(fields[0]), std::move(fields[1]), std::move(fields[2]), std::move(fields[3])};
}

std::string RecordToLine(const DictionaryRecord& record)
{
    const std::string values[] = {record.word, record.translate, record.transcription, record.tesaurus};
    return JoinQuotedLine(values, kSeparator);
}

std::string RecordsToText(const std::vector<DictionaryRecord>& records)
{
    std::string text;
    for (const DictionaryRecord& record : records) {
        text += RecordToLine(record);
        text += "\r\n";
    }
    return text;
}

DictionaryRecord SplitDictionaryLine(std::string_view line)
{
    line = UpToNul(line);
    std::string parts[4];
    std::size_t pos = 0;
    for (std::string& part : parts) {
        if (pos > line.size()) {
            break; // a part that does not exist stays empty
        }
        const auto end = std::min(line.find(kSeparator, pos), line.size());
        part = std::string(line.substr(pos, end - pos));
        pos = end + 1;
    }
    DictionaryRecord record;
    record.word = ReplaceChar(parts[0], '_', ' ');
    record.translate = ReplaceChar(parts[1], '_', ' ');
    record.transcription = BracketTranscription(parts[2]);
    record.tesaurus = parts[3];
    return record;
}

std::vector<DictionaryRecord> ReadLessonEntries(std::string_view text)
{
    text = UpToNul(text);
    std::vector<DictionaryRecord> entries;
    std::size_t pos = 0;
    for (;;) {
        // Blank lines and indentation count for nothing.
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= 32) {
            ++pos;
        }
        if (pos >= text.size()) {
            break;
        }
        std::size_t end = pos;
        while (end < text.size() && !IsLineEnd(text[end])) {
            ++end;
        }
        entries.push_back(SplitDictionaryLine(text.substr(pos, end - pos)));
        pos = end;
    }
    return entries;
}

} // namespace vb
