// SPDX-License-Identifier: GPL-3.0-or-later
// verbanta-convert: vocabularies from and to other programs' formats.
//   verbanta-convert IN OUT [--from F] [--to F] [--columns LIST] [--separator C] [--header]
//                    [--pair I,J] [--limit N]

#include "convert/converter.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Использование: verbanta-convert ВХОД ВЫХОД [--from ФОРМАТ] [--to ФОРМАТ] [--columns СПИСОК]\n"
    "                                [--separator ЗНАК] [--header] [--pair I,J] [--limit N]\n"
    "Переводит словарь из одного формата в другой. Форматы: lqd, kvtml, csv, tsv и (только чтение) dict\n"
    "(файлы .index и .dict.dz или .dict словарей DICT); по умолчанию берутся из расширений файлов.\n"
    "  --from, --to ФОРМАТ    формат входного и выходного файла\n"
    "  --columns СПИСОК       столбцы CSV: word,translation,transcription,note или - (пропустить)\n"
    "  --separator ЗНАК       разделитель CSV: один знак или tab, comma, semicolon, pipe\n"
    "  --header               первая строка CSV - заголовок, а не запись\n"
    "  --pair I,J             номера языков KVTML для слова и перевода (по умолчанию первые два)\n"
    "  --limit N              взять только первые N записей\n";

int Fail(const std::string& message, int code)
{
    std::fprintf(stderr, "verbanta-convert: %s\n", message.c_str());
    return code;
}

int Usage(const std::string& message)
{
    std::fprintf(stderr, "verbanta-convert: %s\n%s", message.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    vb::ConvertOptions options;
    vb::VocabFormat from = vb::VocabFormat::Unknown;
    vb::VocabFormat to = vb::VocabFormat::Unknown;
    std::string in;
    std::string out;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&]() -> std::string_view { return i + 1 < argc ? argv[++i] : std::string_view(); };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--from" || arg == "--to") {
            const vb::VocabFormat f = vb::FormatFromName(value());
            if (f == vb::VocabFormat::Unknown) {
                return Usage("после " + std::string(arg) + " нужно lqd, kvtml, csv, tsv или dict");
            }
            (arg == "--from" ? from : to) = f;
        } else if (arg == "--columns") {
            if (!vb::ParseCsvColumns(value(), options.csv.columns)) {
                return Usage("после --columns нужен список из word, translation, transcription, note и -");
            }
        } else if (arg == "--separator") {
            char sep = 0;
            if (!vb::ParseCsvSeparator(value(), sep)) {
                return Usage("после --separator нужен один знак или tab, comma, semicolon, pipe");
            }
            options.csv.separator = sep;
            options.outputSeparator = sep;
        } else if (arg == "--header") {
            options.csv.headerRow = true;
        } else if (arg == "--pair") {
            const std::string_view v = value();
            const auto comma = v.find(',');
            if (comma == std::string_view::npos || comma == 0 || comma + 1 == v.size()) {
                return Usage("после --pair нужны два номера языков: I,J");
            }
            options.kvtml.wordId = std::string(v.substr(0, comma));
            options.kvtml.translationId = std::string(v.substr(comma + 1));
        } else if (arg == "--limit") {
            const std::string_view v = value();
            unsigned long long n = 0;
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (v.empty() || ec != std::errc() || end != v.data() + v.size() || n < 1) {
                return Usage("после --limit нужно число больше нуля");
            }
            options.limit = static_cast<std::size_t>(n);
        } else if (arg.starts_with("--")) {
            return Usage("неизвестный параметр " + std::string(arg));
        } else if (positional == 0) {
            in = arg;
            ++positional;
        } else if (positional == 1) {
            out = arg;
            ++positional;
        } else {
            return Usage("лишний аргумент " + std::string(arg));
        }
    }
    if (positional < 2) {
        return Usage("нужны входной и выходной файлы");
    }
    if (from == vb::VocabFormat::Unknown) {
        from = vb::FormatFromPath(in);
    }
    if (to == vb::VocabFormat::Unknown) {
        to = vb::FormatFromPath(out);
    }
    if (from == vb::VocabFormat::Unknown) {
        return Usage("формат файла " + in + " не понятен по расширению: укажите --from");
    }
    if (to == vb::VocabFormat::Unknown || to == vb::VocabFormat::Dict) {
        return Usage("формат файла " + out + " не понятен по расширению: укажите --to (lqd, kvtml, csv, tsv)");
    }

    const vb::ReadOutcome read = vb::ReadVocabularyFile(in, from, options);
    if (!read.ok()) {
        return Fail(read.error, 1);
    }
    if (read.entries.empty()) {
        return Fail(in + ": в файле нет ни одной записи, ничего не записано", 1);
    }
    std::string error;
    if (!vb::WriteVocabularyFile(out, to, read.entries, options, error)) {
        return Fail(error, 1);
    }
    return 0;
}
