// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/vocabulary.h"

#include "common/codepage.h"
#include "dictionary/line_format.h"

namespace vb {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence at `i`, or 0 when it is malformed.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) {
        return 1;
    }
    std::size_t n = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) {
            lo = 0xA0;
        } else if (c == 0xED) {
            hi = 0x9F; // no surrogates
        }
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) {
            lo = 0x90;
        } else if (c == 0xF4) {
            hi = 0x8F;
        }
    } else {
        return 0;
    }
    if (i + n > s.size()) {
        return 0;
    }
    if (b(i + 1) < lo || b(i + 1) > hi) {
        return 0;
    }
    for (std::size_t k = 2; k < n; ++k) {
        if (b(i + k) < 0x80 || b(i + k) > 0xBF) {
            return 0;
        }
    }
    return n;
}

bool HasNonAscii(std::string_view s)
{
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string ValidUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8SequenceLength(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string FlattenValue(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 32 || c == 0x7F) {
            c = ' ';
        }
    }
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = out.find_last_not_of(' ');
    return out.substr(first, last - first + 1);
}

std::string DecodeUtf8Or1251(std::string_view bytes)
{
    if (bytes.starts_with(kBom)) {
        return ValidUtf8(bytes.substr(kBom.size()));
    }
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Cp1251ToUtf8(bytes);
}

std::string EncodeLqdText(std::string_view utf8)
{
    std::string single = Utf8ToCp1251(utf8);
    if (Cp1251ToUtf8(single) == utf8) {
        return single;
    }
    std::string out(kBom);
    out += utf8;
    return out;
}

std::string DecodeLqdText(std::string_view bytes)
{
    if (bytes.starts_with(kBom)) {
        return ValidUtf8(bytes.substr(kBom.size()));
    }
    if (HasNonAscii(bytes) && IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Cp1251ToUtf8(bytes);
}

ReadOutcome ReadLqd(std::string_view bytes)
{
    ReadOutcome result;
    const std::string text = DecodeLqdText(bytes);
    for (const std::string& line : SplitTextLines(text)) {
        const DictionaryRecord r = LineToRecord(line);
        VocabEntry e{r.word, r.translate, r.transcription, r.tesaurus};
        if (!(e == VocabEntry{})) {
            result.entries.push_back(std::move(e));
        }
    }
    return result;
}

bool LqdBytes(const std::vector<VocabEntry>& entries, std::string& out, std::string& error)
{
    std::string text;
    std::size_t number = 0;
    for (const VocabEntry& e : entries) {
        ++number;
        const DictionaryRecord record{FlattenValue(e.word), FlattenValue(e.translation), FlattenValue(e.transcription),
                                      FlattenValue(e.note)};
        if (record == DictionaryRecord{}) {
            continue; // an empty line would be a blank row, not an entry
        }
        const std::string line = RecordToLine(record);
        // The table's quoting has no escape: a value it would read back differently is refused.
        if (LineToRecord(line) != record) {
            error = "запись " + std::to_string(number) + " («" + record.word +
                    "»): значение с обратным апострофом рядом с «|» нельзя записать в словарь";
            return false;
        }
        text += line;
        text += "\r\n";
    }
    out = EncodeLqdText(text);
    return true;
}

} // namespace vb
