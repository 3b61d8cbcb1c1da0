// SPDX-License-Identifier: GPL-3.0-or-later
// verbanta-freq: the text page's frequency dictionary builder on the command line.
//   verbanta-freq TEXT OUT.lqd [--basic DICT.lqd] [--only-basic | --all-words] [--show-stat]
//                 [--sort alpha|freq] [--min N] [--top N]
//   verbanta-freq --help | --version

#include "common/files.h"
#include "text/frequency.h"
#include "text/text_encoding.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr const char* kUsage =
    "Использование: verbanta-freq ТЕКСТ СЛОВАРЬ.lqd [--basic БАЗОВЫЙ.lqd] [--only-basic | --all-words]\n"
    "                             [--show-stat] [--sort alpha|freq] [--min N] [--top N]\n"
    "               verbanta-freq --help | --version\n"
    "Строит частотный словарь из текста (UTF-8, Windows-1251 или DOS 866) и записывает его в Windows-1251,\n"
    "а если в словах есть буквы, которых нет в Windows-1251, — в UTF-8 с меткой порядка байтов.\n"
    "  --basic БАЗОВЫЙ.lqd  базовый словарь: перевод, транскрипция и тезаурус берутся из него\n"
    "  --only-basic         только базовые слова (по умолчанию, действует при заданном базовом словаре)\n"
    "  --all-words          все слова текста, также отсутствующие в базовом словаре\n"
    "  --show-stat          частота слова в начале тезауруса: \"(12) ...\"\n"
    "  --sort alpha|freq    сортировать по алфавиту (по умолчанию) или по частоте\n"
    "  --min N              записывать слова с частотой от N (1..1000000, по умолчанию 1)\n"
    "  --top N              только N самых частых слов (1..1000000, по умолчанию все)\n"
    "  --help               эта справка\n"
    "  --version            версия программы\n";

int Fail(const std::string& message, int code)
{
    std::fprintf(stderr, "verbanta-freq: %s\n", message.c_str());
    return code;
}

int Usage(const std::string& message)
{
    std::fprintf(stderr, "verbanta-freq: %s\n%s", message.c_str(), kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    vb::FrequencyOptions options;
    std::string textPath;
    std::string outPath;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // The value after an option, or nothing at the end of the line.
        const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::fputs("verbanta-freq " VB_VERSION "\n", stdout);
            return 0;
        } else if (arg == "--basic") {
            const char* v = value();
            if (!v) {
                return Usage("после --basic нужен путь базового словаря");
            }
            options.BasicDictionaryPath = v;
        } else if (arg == "--only-basic") {
            options.OnlyBasic = true;
        } else if (arg == "--all-words") {
            options.OnlyBasic = false;
        } else if (arg == "--show-stat") {
            options.ShowStat = true;
        } else if (arg == "--sort") {
            const char* v = value();
            if (v && std::strcmp(v, "alpha") == 0) {
                options.SortText = 0;
            } else if (v && std::strcmp(v, "freq") == 0) {
                options.SortText = 1;
            } else {
                return Usage("после --sort нужно alpha или freq");
            }
        } else if (arg == "--min") {
            const char* v = value();
            long long n = 0;
            const std::string_view text = v ? v : "";
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (!v || ec != std::errc() || end != text.data() + text.size() || n < 1 || n > 1000000) {
                return Usage("после --min нужно число от 1 до 1000000");
            }
            options.MinCount = n;
        } else if (arg == "--top") {
            const char* v = value();
            long long n = 0;
            const std::string_view text = v ? v : "";
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (!v || ec != std::errc() || end != text.data() + text.size() || n < 1 || n > 1000000) {
                return Usage("после --top нужно число от 1 до 1000000");
            }
            options.TopCount = n;
        } else if (arg.starts_with("--")) {
            return Usage("неизвестный параметр " + std::string(arg));
        } else if (positional == 0) {
            textPath = arg;
            ++positional;
        } else if (positional == 1) {
            outPath = arg;
            ++positional;
        } else {
            return Usage("лишний аргумент " + std::string(arg));
        }
    }
    if (positional < 2) {
        return Usage("нужны файл текста и файл словаря");
    }

    std::string content;
    if (vb::DirectoryExists(textPath) || !vb::ReadWholeFile(textPath, content)) {
        return Fail("не удаётся прочитать текст " + textPath, 1);
    }
    std::string ignored;
    if (!options.BasicDictionaryPath.empty() && (vb::DirectoryExists(options.BasicDictionaryPath) ||
                                                 !vb::ReadWholeFile(options.BasicDictionaryPath, ignored))) {
        return Fail("не удаётся прочитать базовый словарь " + options.BasicDictionaryPath, 1);
    }
    ignored.clear();
    ignored.shrink_to_fit();

    const std::string text = vb::FileTextForCounting(std::move(content));
    switch (vb::BuildFrequencyDictionary(text, outPath, options)) {
    case vb::FrequencyBuildResult::Written: {
        // A dictionary without entries is still a result, but rarely the one meant.
        std::error_code ec;
        if (std::filesystem::file_size(outPath, ec) == 0 && !ec) {
            std::fprintf(stderr,
                         "verbanta-freq: ни одно слово текста не прошло отбор (--only-basic, --min), словарь %s "
                         "пуст\n",
                         outPath.c_str());
        }
        return 0;
    }
    case vb::FrequencyBuildResult::NoWords:
        return Fail("в тексте нет ни одного слова, словарь не записан", 1);
    case vb::FrequencyBuildResult::WriteFailed:
        break;
    }
    return Fail("не удаётся записать словарь " + outPath, 1);
}
