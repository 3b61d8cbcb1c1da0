// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A vocabulary on its way between formats: entries of four UTF-8 values, as the dictionary file holds
// them (word, translation, transcription, note). Readers report failures as values naming the line or the
// entry, never by throwing; writers report a value their format cannot carry instead of corrupting a line.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

struct VocabEntry
{
    std::string word;
    std::string translation;
    std::string transcription;
    std::string note;

    bool operator==(const VocabEntry&) const = default;
};

// Called with 0..100 while a long file is read; from the reading thread.
using ConvertProgress = std::function<void(int percent)>;

struct ReadOutcome
{
    std::vector<VocabEntry> entries;
    std::string error; // empty on success; otherwise names the line or entry

    bool ok() const { return error.empty(); }
};

// A copy of `s` in which every malformed UTF-8 sequence is replaced by U+FFFD.
std::string ValidUtf8(std::string_view s);

// Control characters (line breaks, tabs, NUL, ...) become spaces and the ends are trimmed: what a value
// of a line-based table can hold.
std::string FlattenValue(std::string_view s);

// Text of a file whose encoding is not declared: a UTF-8 byte-order mark is dropped; valid UTF-8 stays;
// anything else is taken as Windows-1251.
std::string DecodeUtf8Or1251(std::string_view bytes);

// The encoding of a dictionary file. Writing: Windows-1251 when every character has a 1251 form, else
// UTF-8 with the byte-order mark. Reading: a mark, or valid UTF-8 holding non-ASCII bytes, is UTF-8;
// everything else is 1251.
std::string EncodeLqdText(std::string_view utf8);
std::string DecodeLqdText(std::string_view bytes);

// A dictionary file's entries, read as the dictionary table reads its lines; blank lines are no entries.
ReadOutcome ReadLqd(std::string_view bytes);

// The dictionary file's bytes (CR LF after every line). False, with `error` naming the entry, when a value
// cannot be written so that the table reads it back (a backtick next to "|").
bool LqdBytes(const std::vector<VocabEntry>& entries, std::string& out, std::string& error);

} // namespace vb
