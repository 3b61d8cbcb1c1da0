// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/dict_reader.h"

#include "common/codepage.h"
#include "common/files.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>

namespace vb {

namespace {

std::string_view TrimSpaces(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) {
        s.remove_prefix(1);
    }
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) {
        s.remove_suffix(1);
    }
    return s;
}

std::vector<std::string_view> SplitOn(std::string_view s, char c)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto pos = s.find(c, start);
        if (pos == std::string_view::npos) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, pos - start));
        start = pos + 1;
    }
}

// A sense line starts with its number: "2. идти" or " 3." alone. Returns the number's text, or empty.
std::string_view SenseNumber(std::string_view line, std::string_view& rest)
{
    line = TrimSpaces(line);
    std::size_t i = 0;
    while (i < line.size() && i < 4 && std::isdigit(static_cast<unsigned char>(line[i]))) {
        ++i;
    }
    if (i == 0 || i >= line.size() || line[i] != '.') {
        return {};
    }
    if (i + 1 < line.size() && line[i + 1] != ' ' && line[i + 1] != '\t') {
        return {};
    }
    rest = TrimSpaces(line.substr(i + 1));
    return line.substr(0, i);
}

// Some data runs the next sense's number onto the translation ("дом 2."): it is no part of the text.
std::string_view StripTrailingSenseNumber(std::string_view s)
{
    s = TrimSpaces(s);
    if (s.empty() || s.back() != '.') {
        return s;
    }
    std::size_t i = s.size() - 1;
    std::size_t digits = 0;
    while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1]))) {
        --i;
        ++digits;
    }
    if (digits > 0 && i > 0 && s[i - 1] == ' ') {
        return TrimSpaces(s.substr(0, i));
    }
    return s;
}

// Letter case folded for comparing a headword with its head line: ASCII, Latin-1 and the Cyrillic of 1251.
std::string FoldCase(std::string_view s)
{
    std::string out = LowerCaseUtf8(s);
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i + 1]);
        if (static_cast<unsigned char>(out[i]) == 0xC3 && b >= 0x80 && b <= 0x9E && b != 0x97) {
            out[i + 1] = static_cast<char>(b + 0x20);
        }
    }
    return out;
}

bool IsDatabaseEntry(std::string_view headword)
{
    return headword.starts_with("00database") || headword.starts_with("00-database");
}

} // namespace

bool DecodeDictNumber(std::string_view text, std::uint64_t& value)
{
    // Ten digits reach 2^60: far beyond any dictionary, far from overflow.
    if (text.empty() || text.size() > 10) {
        return false;
    }
    std::uint64_t v = 0;
    for (const char c : text) {
        int d = 0;
        if (c >= 'A' && c <= 'Z') {
            d = c - 'A';
        } else if (c >= 'a' && c <= 'z') {
            d = c - 'a' + 26;
        } else if (c >= '0' && c <= '9') {
            d = c - '0' + 52;
        } else if (c == '+') {
            d = 62;
        } else if (c == '/') {
            d = 63;
        } else {
            return false;
        }
        v = v * 64 + static_cast<std::uint64_t>(d);
    }
    value = v;
    return true;
}

bool ReadDictIndex(std::string_view text, std::vector<DictIndexEntry>& entries, std::string& error)
{
    entries.clear();
    std::size_t lineNumber = 0;
    for (std::string_view line : SplitOn(text, '\n')) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (TrimSpaces(line).empty()) {
            continue;
        }
        const auto fields = SplitOn(line, '\t');
        DictIndexEntry e;
        e.line = lineNumber;
        if (fields.size() < 3 || !DecodeDictNumber(fields[1], e.offset) || !DecodeDictNumber(fields[2], e.length)) {
            error = "строка " + std::to_string(lineNumber) +
                    ": нужно «слово<TAB>смещение<TAB>длина» со смещением и длиной в base64";
            entries.clear();
            return false;
        }
        e.headword = ValidUtf8(fields[0]);
        entries.push_back(std::move(e));
    }
    return true;
}

bool InflateDictData(std::string_view bytes, std::string& out, std::string& error, std::size_t maxSize)
{
    out.clear();
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0x1F ||
        static_cast<unsigned char>(bytes[1]) != 0x8B) {
        out.assign(bytes);
        return true;
    }
    z_stream zs{};
    if (inflateInit2(&zs, 16 + MAX_WBITS) != Z_OK) {
        error = "zlib не запускается";
        return false;
    }
    std::size_t pos = 0;
    char buffer[1 << 16];
    bool ok = true;
    // zlib counts in 32 bits: the input is handed over in pieces.
    while (ok) {
        if (zs.avail_in == 0 && pos < bytes.size()) {
            const std::size_t piece = std::min<std::size_t>(bytes.size() - pos, 1u << 20);
            zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + pos));
            zs.avail_in = static_cast<uInt>(piece);
            pos += piece;
        }
        zs.next_out = reinterpret_cast<Bytef*>(buffer);
        zs.avail_out = sizeof buffer;
        const int rc = inflate(&zs, Z_NO_FLUSH);
        const std::size_t produced = sizeof buffer - zs.avail_out;
        if (out.size() + produced > maxSize) {
            error = "сжатые данные распаковываются больше чем в " + std::to_string(maxSize) + " байт";
            ok = false;
            break;
        }
        out.append(buffer, produced);
        if (rc == Z_STREAM_END) {
            // Concatenated gzip members continue the text; anything else after the end is ignored.
            const std::size_t next = pos - zs.avail_in;
            if (next + 1 < bytes.size() && static_cast<unsigned char>(bytes[next]) == 0x1F &&
                static_cast<unsigned char>(bytes[next + 1]) == 0x8B) {
                inflateReset(&zs);
                continue;
            }
            break;
        }
        if (rc != Z_OK && !(rc == Z_BUF_ERROR && produced > 0)) {
            error = (rc == Z_BUF_ERROR) ? "сжатые данные обрываются" : "сжатые данные повреждены";
            ok = false;
            break;
        }
        if (rc == Z_OK && produced == 0 && zs.avail_in == 0 && pos >= bytes.size()) {
            error = "сжатые данные обрываются";
            ok = false;
            break;
        }
    }
    inflateEnd(&zs);
    if (!ok) {
        out.clear();
    }
    return ok;
}

VocabEntry ParseDictArticle(std::string_view headword, std::string_view article)
{
    VocabEntry e;
    e.word = FlattenValue(headword);
    std::vector<std::string_view> lines;
    for (std::string_view line : SplitOn(article, '\n')) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
    }
    std::size_t i = 0;
    while (i < lines.size() && TrimSpaces(lines[i]).empty()) {
        ++i;
    }
    // The head line repeats the headword, with its pronunciations and grammar.
    if (i < lines.size()) {
        const std::string_view head = TrimSpaces(lines[i]);
        const bool isHead = head.starts_with(TrimSpaces(headword)) || head.find('/') != std::string_view::npos ||
                            head.find('<') != std::string_view::npos;
        if (isHead) {
            // Indexes keep their headwords folded to lower case; the head line has the real spelling.
            const std::string_view spelled = TrimSpaces(head.substr(0, std::min(head.find(" /"), head.find(" <"))));
            if (!spelled.empty() && spelled != e.word && FoldCase(spelled) == FoldCase(e.word)) {
                e.word = FlattenValue(spelled);
            }
            const auto open = head.find('/');
            if (open != std::string_view::npos) {
                const auto close = head.find('/', open + 1);
                if (close != std::string_view::npos) {
                    e.transcription = FlattenValue(head.substr(open + 1, close - open - 1));
                }
            }
            ++i;
        }
    }
    std::vector<std::string> further;
    bool first = true;
    bool expectTranslation = true; // the first line after the head is the first sense
    for (; i < lines.size(); ++i) {
        std::string_view rest;
        const std::string_view number = SenseNumber(lines[i], rest);
        std::string_view text;
        if (!number.empty()) {
            text = StripTrailingSenseNumber(rest);
        } else if (expectTranslation && !TrimSpaces(lines[i]).empty()) {
            text = StripTrailingSenseNumber(lines[i]);
        } else {
            continue; // a definition of the sense above
        }
        expectTranslation = false;
        if (text.empty()) {
            continue;
        }
        if (first) {
            e.translation = FlattenValue(text);
            first = false;
        } else {
            further.push_back((number.empty() ? std::string() : std::string(number) + ". ") + FlattenValue(text));
        }
    }
    for (std::size_t k = 0; k < further.size(); ++k) {
        if (k > 0) {
            e.note += "; ";
        }
        e.note += further[k];
    }
    return e;
}

ReadOutcome ReadDict(std::string_view indexText, std::string_view data, const ConvertProgress& progress)
{
    ReadOutcome result;
    std::vector<DictIndexEntry> index;
    if (!ReadDictIndex(indexText, index, result.error)) {
        return result;
    }
    int lastPercent = -1;
    for (std::size_t k = 0; k < index.size(); ++k) {
        const DictIndexEntry& ie = index[k];
        if (IsDatabaseEntry(ie.headword)) {
            continue;
        }
        if (ie.offset > data.size() || ie.length > data.size() - ie.offset) {
            result.error =
                "строка " + std::to_string(ie.line) + " («" + ie.headword + "»): статья лежит за концом файла данных";
            result.entries.clear();
            return result;
        }
        VocabEntry e = ParseDictArticle(ie.headword, ValidUtf8(data.substr(ie.offset, ie.length)));
        if (!e.word.empty()) {
            result.entries.push_back(std::move(e));
        }
        const int percent = static_cast<int>((k + 1) * 100 / index.size());
        if (progress && percent != lastPercent) {
            lastPercent = percent;
            progress(percent);
        }
    }
    return result;
}

std::string DictDataPathFor(const std::string& indexPath)
{
    std::string base = indexPath;
    if (base.size() >= 6 && base.compare(base.size() - 6, 6, ".index") == 0) {
        base.resize(base.size() - 6);
    }
    for (const char* ext : {".dict.dz", ".dict"}) {
        if (FileExists(base + ext)) {
            return base + ext;
        }
    }
    return {};
}

std::string DictIndexPathFor(const std::string& dataPath)
{
    std::string base = dataPath;
    for (const std::string ext : {".dict.dz", ".dict"}) {
        if (base.size() >= ext.size() && base.compare(base.size() - ext.size(), ext.size(), ext) == 0) {
            base.resize(base.size() - ext.size());
            break;
        }
    }
    return FileExists(base + ".index") ? base + ".index" : std::string();
}

} // namespace vb
