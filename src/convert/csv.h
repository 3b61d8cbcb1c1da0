// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Delimited tables as spreadsheets and flash-card programs export them: quoted fields (separators, doubled
// quotes and line breaks inside), a byte-order mark, "#separator:" / "#html:" header lines, HTML markup
// reduced to text, a column mapping, UTF-8 or Windows-1251.

#include "convert/vocabulary.h"

#include <string>
#include <string_view>
#include <vector>

namespace vb {

enum class CsvColumn { Skip, Word, Translation, Transcription, Note };

enum class CsvHtml { Auto, Yes, No };

struct CsvOptions
{
    char separator = 0; // 0: from a "#separator:" line, else guessed from the first row
    bool headerRow = false; // the first row names the columns
    std::vector<CsvColumn> columns{CsvColumn::Word, CsvColumn::Translation, CsvColumn::Transcription, CsvColumn::Note};
    CsvHtml html = CsvHtml::Auto; // Auto: a "#html:" line decides, else fields that hold markup
};

// "word,translation,-,note" -> the mapping; false on an unknown name.
bool ParseCsvColumns(std::string_view text, std::vector<CsvColumn>& columns);
// "tab", "comma", "semicolon", "pipe", "space", "colon" or one character.
bool ParseCsvSeparator(std::string_view text, char& separator);

struct CsvTable
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::size_t> rowLines; // the line each row starts on (1-based)
    char separator = ',';
    bool html = false; // a "#html:true" line
    bool htmlDeclared = false;
    std::string error;
};

// The rows of a table as they stand (no mapping, no markup removed), for the preview and the reader.
CsvTable ParseCsv(std::string_view bytes, char separator = 0);

// Markup to text: tags removed, <br> and block ends to spaces, character references decoded.
std::string HtmlToText(std::string_view html);

// Rows mapped to entries; rows without word and translation are left out.
ReadOutcome ReadCsv(std::string_view bytes, const CsvOptions& options = {}, const ConvertProgress& progress = {});

// UTF-8 with a byte-order mark, CR LF line ends; a field is quoted when it holds a separator character, a
// quote, a line break or spaces at its ends, or when it could be taken for a header line. A "#html:false"
// line comes first when some value looks like markup.
std::string CsvBytes(const std::vector<VocabEntry>& entries, char separator = ',');

} // namespace vb
