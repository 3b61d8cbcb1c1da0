// SPDX-License-Identifier: GPL-3.0-or-later
// The table's line reading and writing: a line read with LineToRecord, written with RecordToLine and read
// again gives the same record (up to the trimming the writer does), and writing is stable. Any four
// values written as a line read back as written.
#include "dictionary/line_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A value as the writer stores it: bytes of 32 and below cut from both ends, NUL and line breaks inside
// turned into spaces, and in a quoted value a space after every backtick that comes before a "|".
std::string Written(std::string_view v)
{
    while (!v.empty() && static_cast<unsigned char>(v.front()) <= 32) {
        v.remove_prefix(1);
    }
    while (!v.empty() && static_cast<unsigned char>(v.back()) <= 32) {
        v.remove_suffix(1);
    }
    std::string out(v);
    for (char& c : out) {
        if (c == '\0' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    if (out.find('|') != std::string::npos || (!out.empty() && out.front() == '`')) {
        for (auto pos = out.find("`|"); pos != std::string::npos; pos = out.find("`|", pos + 2)) {
            out.insert(pos + 1, 1, ' ');
        }
    }
    return out;
}

vb::DictionaryRecord Written(const vb::DictionaryRecord& r)
{
    return {Written(r.word), Written(r.translate), Written(r.transcription), Written(r.tesaurus)};
}

void CheckWritten(const vb::DictionaryRecord& record)
{
    const std::string line = vb::RecordToLine(record);
    // A line never breaks, never holds a NUL and never ends in a separator.
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos ||
        (!line.empty() && line.back() == '|')) {
        std::abort();
    }
    const vb::DictionaryRecord back = vb::LineToRecord(line);
    if (back != Written(record) || vb::RecordToLine(back) != line) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> lines = vb::SplitTextLines(text);
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n") != std::string::npos) {
            std::abort();
        }
        CheckWritten(vb::LineToRecord(line));
    }

    // The whole table written and split again gives as many lines as it has records.
    std::vector<vb::DictionaryRecord> records;
    for (const std::string& line : lines) {
        records.push_back(vb::LineToRecord(line));
    }
    if (vb::SplitTextLines(vb::RecordsToText(records)).size() != records.size()) {
        std::abort();
    }

    // Any four values, taken from consecutive raw pieces of the input so they hold every kind of byte.
    std::vector<std::string_view> pieces;
    std::size_t pos = 0;
    while (pos <= size && pieces.size() < 64) {
        const auto end = std::min(text.find('\x1f', pos), size);
        pieces.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    for (std::size_t i = 0; i + 4 <= pieces.size(); i += 4) {
        CheckWritten({std::string(pieces[i]), std::string(pieces[i + 1]), std::string(pieces[i + 2]),
                      std::string(pieces[i + 3])});
    }
    if (pieces.size() < 4) {
        CheckWritten({std::string(text), std::string(), std::string(text), std::string()});
    }
    return 0;
}
