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
std::string FieldText(const std::string& value)
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
    if (v.find(kSeparator) != std::string::npos || (!v.empty() && v.front() == kQuote)) {
        // A quoted value has no escape for a backtick, and one followed by "|" would end the quote there and
        // push the rest of the entry into the next fields; a space after it keeps the entry whole.
        for (auto pos = v.find("`|"); pos != std::string::npos; pos = v.find("`|", pos + 2)) {
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

DictionaryRecord LineToRecord(std::string_view line)
{
    line = UpToNul(line);
    DictionaryRecord record;
    std::string* fields[] = {&record.word, &record.translate, &record.transcription, &record.tesaurus};
    std::size_t pos = 0;
    for (std::string* field : fields) {
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
                if (line[i] == kQuote &&
                    (i + 1 == line.size() || line[i + 1] == kSeparator || IsLineEnd(line[i + 1]))) {
                    close = i;
                    break;
                }
            }
            if (close == std::string_view::npos) {
                *field = std::string(line.substr(pos));
                pos = line.size();
            } else {
                *field = std::string(line.substr(pos + 1, close - pos - 1));
                pos = close;
                while (pos < line.size() && line[pos] != kSeparator) {
                    ++pos;
                }
            }
        } else {
            const auto end = std::min(line.find(kSeparator, pos), line.size());
            *field = std::string(line.substr(pos, end - pos));
            pos = end;
        }
        if (pos < line.size() && line[pos] == kSeparator) {
            ++pos;
        }
    }
    return record;
}

std::string RecordToLine(const DictionaryRecord& record)
{
    std::string line;
    for (const std::string* value : {&record.word, &record.translate, &record.transcription, &record.tesaurus}) {
        line += FieldText(*value);
        line += kSeparator;
    }
    while (!line.empty() && line.back() == kSeparator) {
        line.pop_back();
    }
    return line;
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
