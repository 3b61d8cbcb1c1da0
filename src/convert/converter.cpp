// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/converter.h"

#include "common/files.h"
#include "common/strings.h"
#include "convert/dict_reader.h"

#include <algorithm>
#include <cctype>

namespace vb {

namespace {

bool EndsWithNoCase(const std::string& s, std::string_view suffix)
{
    if (s.size() < suffix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(s[s.size() - suffix.size() + i])) != suffix[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

VocabFormat FormatFromPath(const std::string& path)
{
    if (EndsWithNoCase(path, ".lqd")) {
        return VocabFormat::Lqd;
    }
    if (EndsWithNoCase(path, ".kvtml")) {
        return VocabFormat::Kvtml;
    }
    if (EndsWithNoCase(path, ".csv")) {
        return VocabFormat::Csv;
    }
    if (EndsWithNoCase(path, ".tsv")) {
        return VocabFormat::Tsv;
    }
    if (EndsWithNoCase(path, ".index") || EndsWithNoCase(path, ".dict") || EndsWithNoCase(path, ".dict.dz")) {
        return VocabFormat::Dict;
    }
    return VocabFormat::Unknown;
}

VocabFormat FormatFromName(std::string_view name)
{
    if (name == "lqd") {
        return VocabFormat::Lqd;
    }
    if (name == "kvtml") {
        return VocabFormat::Kvtml;
    }
    if (name == "csv") {
        return VocabFormat::Csv;
    }
    if (name == "tsv") {
        return VocabFormat::Tsv;
    }
    if (name == "dict") {
        return VocabFormat::Dict;
    }
    return VocabFormat::Unknown;
}

ReadOutcome ReadVocabularyFile(const std::string& path, VocabFormat format, const ConvertOptions& options,
                               const ConvertProgress& progress, ReadDetails* details)
{
    ReadOutcome result;
    const auto fail = [&](const std::string& file, const std::string& message) {
        result.entries.clear();
        result.error = file + ": " + message;
        return result;
    };
    std::string bytes;
    std::string indexPath = path;
    std::string dataPath;
    if (format == VocabFormat::Dict) {
        if (EndsWithNoCase(path, ".index")) {
            dataPath = DictDataPathFor(path);
            if (dataPath.empty()) {
                return fail(path, "рядом нет файла данных .dict.dz или .dict");
            }
        } else {
            dataPath = path;
            indexPath = DictIndexPathFor(path);
            if (indexPath.empty()) {
                return fail(path, "рядом нет файла .index");
            }
        }
    }
    if (DirectoryExists(indexPath) || !ReadWholeFile(indexPath, bytes)) {
        return fail(indexPath, "файл не читается");
    }
    switch (format) {
    case VocabFormat::Lqd:
        result = ReadLqd(bytes);
        break;
    case VocabFormat::Kvtml:
        result = ReadKvtml(bytes, options.kvtml, details ? &details->kvtml : nullptr, progress);
        break;
    case VocabFormat::Csv:
    case VocabFormat::Tsv: {
        CsvOptions csv = options.csv;
        if (format == VocabFormat::Tsv && csv.separator == 0) {
            csv.separator = '\t';
        }
        result = ReadCsv(bytes, csv, progress);
        if (details) {
            const CsvTable table = ParseCsv(bytes, csv.separator);
            details->separator = table.separator;
            for (std::size_t r = 0; r < table.rows.size() && r < 20; ++r) {
                details->columns = std::max(details->columns, table.rows[r].size());
            }
        }
        break;
    }
    case VocabFormat::Dict: {
        std::string packed;
        if (DirectoryExists(dataPath) || !ReadWholeFile(dataPath, packed)) {
            return fail(dataPath, "файл не читается");
        }
        std::string data;
        std::string error;
        if (!InflateDictData(packed, data, error)) {
            return fail(dataPath, error);
        }
        packed = std::string();
        result = ReadDict(bytes, data, progress);
        break;
    }
    case VocabFormat::Unknown:
        return fail(path, "неизвестный формат");
    }
    if (!result.ok()) {
        return fail(indexPath, result.error);
    }
    if (options.limit > 0 && result.entries.size() > options.limit) {
        result.entries.resize(options.limit);
    }
    return result;
}

bool VocabularyBytes(const std::vector<VocabEntry>& entries, VocabFormat format, const ConvertOptions& options,
                     const std::string& title, std::string& out, std::string& error)
{
    switch (format) {
    case VocabFormat::Lqd:
        return LqdBytes(entries, out, error);
    case VocabFormat::Kvtml: {
        KvtmlWriteOptions kvtml;
        kvtml.title = title;
        out = KvtmlBytes(entries, kvtml);
        return true;
    }
    case VocabFormat::Csv:
    case VocabFormat::Tsv:
        out = CsvBytes(entries, options.outputSeparator      ? options.outputSeparator
                                : format == VocabFormat::Tsv ? '\t'
                                                             : ',');
        return true;
    case VocabFormat::Dict:
    case VocabFormat::Unknown:
        break;
    }
    error = "в этот формат записывать нельзя";
    return false;
}

bool WriteVocabularyFile(const std::string& path, VocabFormat format, const std::vector<VocabEntry>& entries,
                         const ConvertOptions& options, std::string& error)
{
    std::string bytes;
    std::string message;
    if (!VocabularyBytes(entries, format, options, FileNameOnly(path, false), bytes, message)) {
        error = path + ": " + message;
        return false;
    }
    if (!WriteFileAtomic(path, bytes)) {
        error = path + ": файл не записывается";
        return false;
    }
    return true;
}

} // namespace vb
