// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The dictionary's companion files and file steps: the recent-dictionaries list, the fonts file (".lqf")
// beside a dictionary, the working copy the table edits, and the word search of the dictionary page.

#include <string>
#include <string_view>
#include <vector>

namespace vb {

class TFixedFormatDataSet;

// ---- Recent dictionaries: a text of paths, each followed by ";", the open dictionary first.
inline constexpr int kMaxRecentDictionaries = 10;

struct RecentDictionaryList
{
    std::string text;
    std::vector<std::string> paths;
};

// Paths compared as the system does, without regard to letter case (Cyrillic letters included).
bool SamePathIgnoringCase(std::string_view a, std::string_view b);

// The open dictionary at the head, then the other entries of the old text in their order (an entry equal
// to the open one without regard to letter case is dropped), at most kMaxRecentDictionaries in all. Text
// after the last ";" is no entry.
RecentDictionaryList BuildRecentList(std::string_view oldText, const std::string& dictionaryPath);

// ---- The fonts file: nine lines joined by CR LF, no line end after the last.
struct DictionaryFonts
{
    std::string wordFont;
    int wordCharset = 238;
    std::string trslFont;
    int trslCharset = 204;
    std::string trscFont;
    int trscCharset = 1;
    int tesFontSH = 0; // thesaurus font: 0 as the word, 1 as the translation
    int layoutWord = 0; // keyboard layouts, items of the layout list
    int layoutTrsl = 1;
};

// The dictionary's path with its extension replaced by ".lqf" (added when it has none).
std::string FontsFilePath(const std::string& dictionaryPath);

// Applies the lines of a fonts file onto `fonts` in order and stops at the first line that must be a
// number and is not (a missing line counts as empty); the values before it stay applied. An empty font
// name leaves that font as it is. Returns the number of lines applied.
int ApplyFontsText(std::string_view text, DictionaryFonts& fonts);
std::string FontsText(const DictionaryFonts& fonts);
// False, with nothing changed, when the file cannot be read.
bool LoadFontsFile(const std::string& path, DictionaryFonts& fonts);
// False, with nothing written, when an existing fonts file is read-only or the file cannot be written.
bool SaveFontsFile(const std::string& path, const DictionaryFonts& fonts);

// ---- Dictionary files
// The dictionary copied over the working copy, which is left writable. False when the dictionary cannot
// be read or the copy fails.
bool LoadWorkingCopy(const std::string& dictionaryPath, const std::string& workingCopy);
// The same, handing over the bytes copied (the working copy's content), so they need not be read again.
bool LoadWorkingCopy(const std::string& dictionaryPath, const std::string& workingCopy, std::string& bytes);
// The working copy made of a dictionary's bytes read already.
bool MakeWorkingCopy(std::string_view bytes, const std::string& workingCopy);
// The working copy copied back over the dictionary. Refused (false, nothing written) when the dictionary
// is read-only, whoever runs the program.
bool SaveWorkingCopy(const std::string& workingCopy, const std::string& dictionaryPath);
// For a new dictionary made from the open one (create, save as): the target and its fonts file lose their
// read-only marks and the open dictionary's fonts file is copied beside the target; a missing one copies
// nothing.
void PrepareNewDictionary(const std::string& openDictionary, const std::string& newDictionary);

// ---- Search
// The table field a column choice searches: "Слово" -> "word", "Перевод" ->
// "translate", anything else none (empty).
std::string SearchFieldName(std::string_view columnText);
// Moves the table to the first entry whose field begins with (partial) or equals `value`, both trimmed.
// False when nothing matches or the column has no field.
bool FindWord(TFixedFormatDataSet& table, std::string_view columnText, std::string_view value, bool caseInsensitive,
              bool partialKey);

} // namespace vb
