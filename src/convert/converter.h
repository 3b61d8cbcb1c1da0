// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading and writing vocabulary files by format, as the command-line tool and the import and export
// windows do it.

#include "convert/csv.h"
#include "convert/kvtml.h"
#include "convert/vocabulary.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vb {

enum class VocabFormat { Unknown, Lqd, Kvtml, Csv, Tsv, Dict };

// From the file name: ".lqd", ".kvtml", ".csv", ".tsv", ".index", ".dict", ".dict.dz" (any case).
VocabFormat FormatFromPath(const std::string& path);
// From a name given on the command line: "lqd", "kvtml", "csv", "tsv", "dict".
VocabFormat FormatFromName(std::string_view name);

struct ConvertOptions
{
    CsvOptions csv;
    KvtmlReadOptions kvtml;
    std::size_t limit = 0; // 0: every entry
    char outputSeparator = 0; // 0: "," for CSV, tab for TSV
};

// What a preview needs besides the entries: the languages of a KVTML file, the columns of a table.
struct ReadDetails
{
    KvtmlInfo kvtml;
    std::size_t columns = 0; // the widest of the table's first rows
    char separator = 0; // the separator the table was read with
};

// Reads a file of the given format (a DICT index or data file finds its partner beside it). Errors name
// the file and the line or entry.
ReadOutcome ReadVocabularyFile(const std::string& path, VocabFormat format, const ConvertOptions& options,
                               const ConvertProgress& progress = {}, ReadDetails* details = nullptr);

// The bytes of a file of the given format; false with `error` when an entry cannot be written.
bool VocabularyBytes(const std::vector<VocabEntry>& entries, VocabFormat format, const ConvertOptions& options,
                     const std::string& title, std::string& out, std::string& error);

// Writes the file whole or not at all (a temporary file renamed over the target).
bool WriteVocabularyFile(const std::string& path, VocabFormat format, const std::vector<VocabEntry>& entries,
                         const ConvertOptions& options, std::string& error);

} // namespace vb
