// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The dictionary file: one entry per line, "word|translate|transcription|tesaurus". The functions here
// take the file's text as UTF-8 (dictionary_encoding.h converts the file's bytes).
// The table reads and writes lines with quoting (LineToRecord, RecordToLine); the lesson side reads the
// file with the simpler SplitDictionaryLine and never writes it.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

struct DictionaryRecord
{
    std::string word;
    std::string translate;
    std::string transcription;
    std::string tesaurus;

    bool operator==(const DictionaryRecord&) const = default;
};

// Splits a text into lines: CR LF, a lone CR and a lone LF each end a line; the last line needs no end;
// a NUL byte ends the whole text. An empty text has no lines; a text ending in a line end has no empty
// last line.
std::vector<std::string> SplitTextLines(std::string_view text);

// The delimited reading of one line into as many fields as given (quoted fields in backticks, leading bytes
// 1..32 skipped, missing fields empty, bytes after the last field ignored), and the writing of values as one
// line (values trimmed, a value holding the delimiter quoted, trailing delimiters cut).
void SplitQuotedLine(std::string_view line, char delimiter, std::span<std::string> fields);
std::string JoinQuotedLine(std::span<const std::string> values, char delimiter);

// The table's reading of one line (quoted fields in backticks, leading bytes 1..32 skipped).
DictionaryRecord LineToRecord(std::string_view line);

// The table's writing of one entry (values trimmed, "|" quoted in backticks, trailing "|" cut).
std::string RecordToLine(const DictionaryRecord& record);

// The whole table as file bytes: every line followed by CR LF; an empty table is an empty file.
std::string RecordsToText(const std::vector<DictionaryRecord>& records);

// The lesson side's reading of one entry: "_" in word and translation become spaces, the transcription
// is bracketed, backticks mean nothing.
DictionaryRecord SplitDictionaryLine(std::string_view line);

// The lesson side's reading of a whole file's bytes: blank lines and indentation are skipped, a NUL ends
// the text; one entry per remaining line.
std::vector<DictionaryRecord> ReadLessonEntries(std::string_view text);

} // namespace vb
