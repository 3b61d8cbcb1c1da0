// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Bilingual dictionaries in the DICT format: an index ("headword TAB offset TAB length", the numbers in the
// format's base64) and the data, plain (.dict) or gzip/dictzip compressed (.dict.dz). The data is read as
// one stream: dictzip files are gzip files, and a whole dictionary is a few megabytes.

#include "convert/vocabulary.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

struct DictIndexEntry
{
    std::string headword;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::size_t line = 0; // 1-based line of the index
};

// The value of a DICT base64 number ("A".."Z", "a".."z", "0".."9", "+", "/"); false for an empty text, a
// character outside the alphabet or a number too large to be an offset.
bool DecodeDictNumber(std::string_view text, std::uint64_t& value);

// Parses an index. False with `error` naming the line of the first malformed entry.
bool ReadDictIndex(std::string_view text, std::vector<DictIndexEntry>& entries, std::string& error);

// The data file's text: gzip (and dictzip) data is inflated, anything else taken as it is. False when
// the compressed data is damaged or would grow beyond `maxSize` bytes.
bool InflateDictData(std::string_view bytes, std::string& out, std::string& error,
                     std::size_t maxSize = std::size_t{1} << 30);

// One article: the head line gives the first "/IPA/" as the transcription, the first sense the
// translation, the translations of further senses the note ("2. ...; 3. ...").
VocabEntry ParseDictArticle(std::string_view headword, std::string_view article);

// A whole dictionary from its index and its (inflated) data; the "00-database-*" entries are skipped.
ReadOutcome ReadDict(std::string_view indexText, std::string_view data, const ConvertProgress& progress = {});

// The data file that belongs to an index ("x.index" -> "x.dict.dz", else "x.dict") and the index of a data
// file; empty when there is none.
std::string DictDataPathFor(const std::string& indexPath);
std::string DictIndexPathFor(const std::string& dataPath);

} // namespace vb
