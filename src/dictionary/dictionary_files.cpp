// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/dictionary_files.h"

#include "common/codepage.h"
#include "common/files.h"
#include "common/strings.h"
#include "dictionary/line_format.h"
#include "dictionary/sdf_data.h"

#include <charconv>

namespace vb {

namespace {

// A decimal number as the fonts file holds it (leading blanks and one sign tolerated: "+-1" is no number).
bool ParseNumber(std::string_view text, int minValue, int maxValue, int& out)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return false;
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    value = negative ? -value : value;
    if (value < minValue || value > maxValue) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

// Font names are native text inside and single-byte 1251 in the file. A name with characters 1251 lacks
// (a font chosen on a system with other scripts) is written in UTF-8 instead of losing them, and a line
// that only UTF-8 explains is read back as such.
bool FitsCp1251(std::string_view utf8)
{
    return IsValidUtf8(utf8) && Cp1251ToUtf8(Utf8ToCp1251(utf8)) == utf8;
}

std::string FontNameFromFile(std::string_view line)
{
    if (IsValidUtf8(line) && !FitsCp1251(line)) {
        return std::string(line);
    }
    return Cp1251ToUtf8(line);
}

std::string FontNameToFile(const std::string& name)
{
    return FitsCp1251(name) ? Utf8ToCp1251(name) : name;
}

} // namespace

bool SamePathIgnoringCase(std::string_view a, std::string_view b)
{
    if (a == b) {
        return true;
    }
    // Paths are native (UTF-8) text: letter case folds for what the Windows code page can hold; any
    // other path must match exactly.
    const std::string a1251 = Utf8ToCp1251(a);
    const std::string b1251 = Utf8ToCp1251(b);
    if (!IsValidUtf8(a) || !IsValidUtf8(b) || Cp1251ToUtf8(a1251) != a || Cp1251ToUtf8(b1251) != b) {
        return false;
    }
    return UpperCase1251(a1251) == UpperCase1251(b1251);
}

RecentDictionaryList BuildRecentList(std::string_view oldText, const std::string& dictionaryPath)
{
    RecentDictionaryList list;
    list.text = dictionaryPath + ";";
    list.paths.push_back(dictionaryPath);
    std::size_t pos = 0;
    int others = 0;
    for (;;) {
        const auto end = oldText.find(';', pos);
        if (end == std::string_view::npos) {
            break;
        }
        const std::string_view entry = oldText.substr(pos, end - pos);
        pos = end + 1;
        if (SamePathIgnoringCase(entry, dictionaryPath)) {
            continue;
        }
        if (++others < kMaxRecentDictionaries) {
            list.text.append(entry);
            list.text += ';';
            list.paths.emplace_back(entry);
        }
    }
    return list;
}

std::string FontsFilePath(const std::string& dictionaryPath)
{
    const auto sep = dictionaryPath.rfind(kPathSeparator);
    const auto dot = dictionaryPath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (sep == std::string::npos || dot > sep);
    return (hasExtension ? dictionaryPath.substr(0, dot) : dictionaryPath) + ".lqf";
}

int ApplyFontsText(std::string_view text, DictionaryFonts& fonts)
{
    const std::vector<std::string> lines = SplitTextLines(text);
    const auto line = [&lines](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    const auto name = [](const std::string& value, std::string& target) {
        if (!value.empty()) {
            target = FontNameFromFile(value);
        }
    };
    int* const numbers[] = {&fonts.wordCharset, &fonts.trslCharset, &fonts.trscCharset,
                            &fonts.tesFontSH,   &fonts.layoutWord,  &fonts.layoutTrsl};
    std::string* const names[] = {&fonts.wordFont, &fonts.trslFont, &fonts.trscFont};
    // Lines 1, 3, 5 name a font; 2, 4, 6 its character set; 7 the thesaurus choice; 8 and 9 the layouts.
    for (std::size_t i = 0; i < 3; ++i) {
        name(line(2 * i), *names[i]);
        if (!ParseNumber(line(2 * i + 1), 0, 255, *numbers[i])) {
            return static_cast<int>(2 * i + 1);
        }
    }
    for (std::size_t i = 3; i < 6; ++i) {
        if (!ParseNumber(line(i + 3), -1000000, 1000000, *numbers[i])) {
            return static_cast<int>(i + 3);
        }
    }
    return 9;
}

std::string FontsText(const DictionaryFonts& fonts)
{
    const auto byte = [](int value) { return std::to_string(static_cast<unsigned>(value) & 0xFFu); };
    const std::string lines[] = {
        FontNameToFile(fonts.wordFont),  byte(fonts.wordCharset),          FontNameToFile(fonts.trslFont),
        byte(fonts.trslCharset),         FontNameToFile(fonts.trscFont),   byte(fonts.trscCharset),
        std::to_string(fonts.tesFontSH), std::to_string(fonts.layoutWord), std::to_string(fonts.layoutTrsl)};
    std::string text;
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += lines[i];
    }
    return text;
}

bool LoadFontsFile(const std::string& path, DictionaryFonts& fonts)
{
    std::string text;
    if (!ReadWholeFile(path, text)) {
        return false;
    }
    ApplyFontsText(text, fonts);
    return true;
}

bool SaveFontsFile(const std::string& path, const DictionaryFonts& fonts)
{
    // Root could write anyway; the mark decides.
    if (IsReadOnly(path)) {
        return false;
    }
    return WriteFileAtomic(path, FontsText(fonts));
}

bool LoadWorkingCopy(const std::string& dictionaryPath, const std::string& workingCopy)
{
    std::string bytes;
    return LoadWorkingCopy(dictionaryPath, workingCopy, bytes);
}

bool LoadWorkingCopy(const std::string& dictionaryPath, const std::string& workingCopy, std::string& bytes)
{
    bytes.clear();
    if (!FileExists(dictionaryPath) || !ReadWholeFile(dictionaryPath, bytes) || !MakeWorkingCopy(bytes, workingCopy)) {
        bytes.clear();
        return false;
    }
    return true;
}

bool MakeWorkingCopy(std::string_view bytes, const std::string& workingCopy)
{
    // The working copy is always writable, whatever the dictionary's own mark. It is made again at every open,
    // so it need not wait for the disk; edits reach the disk when saved into the dictionary.
    SetAttributesNormal(workingCopy);
    if (!WriteScratchFileAtomic(workingCopy, bytes)) {
        return false;
    }
    SetAttributesNormal(workingCopy);
    return true;
}

bool SaveWorkingCopy(const std::string& workingCopy, const std::string& dictionaryPath)
{
    if (IsReadOnly(dictionaryPath)) {
        return false;
    }
    return CopyFileOverwrite(workingCopy, dictionaryPath);
}

void PrepareNewDictionary(const std::string& openDictionary, const std::string& newDictionary)
{
    const std::string newFonts = FontsFilePath(newDictionary);
    SetAttributesNormal(newDictionary);
    SetAttributesNormal(newFonts);
    const std::string oldFonts = FontsFilePath(openDictionary);
    if (oldFonts != newFonts && FileExists(oldFonts)) {
        CopyFileOverwrite(oldFonts, newFonts);
    }
    SetAttributesNormal(newFonts);
}

std::string SearchFieldName(std::string_view columnText)
{
    if (columnText == "Слово") {
        return "word";
    }
    if (columnText == "Перевод") {
        return "translate";
    }
    return {};
}

bool FindWord(TFixedFormatDataSet& table, std::string_view columnText, std::string_view value, bool caseInsensitive,
              bool partialKey)
{
    const std::string field = SearchFieldName(columnText);
    if (field.empty()) {
        return false;
    }
    LocateOptions options;
    options.caseInsensitive = caseInsensitive;
    options.partialKey = partialKey;
    return table.Locate(field, {std::string(value)}, options);
}

} // namespace vb
