// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// KVTML 2.0, the vocabulary files of the KDE education programs: identifiers (the languages) and entries
// holding one translation per identifier. Read with expat, a maintained XML reader that keeps this
// library free of Qt, so the command-line tool and the fuzzers link it alone.

#include "convert/vocabulary.h"

#include <string>
#include <string_view>
#include <vector>

namespace vb {

struct KvtmlReadOptions
{
    // Identifier ids of the word and the translation; empty: the first two identifiers of the file.
    std::string wordId;
    std::string translationId;
};

struct KvtmlInfo
{
    std::vector<std::string> identifierIds; // in file order
    std::vector<std::string> identifierNames; // name, else locale, else the id
};

// The entries of the chosen pair: text to word and translation, the word's pronunciation to the
// transcription, comments and examples to the note. With one identifier the translation stays empty.
// Entries without word and translation are left out. Broken XML is refused with its line number.
ReadOutcome ReadKvtml(std::string_view bytes, const KvtmlReadOptions& options = {}, KvtmlInfo* info = nullptr,
                      const ConvertProgress& progress = {});

struct KvtmlWriteOptions
{
    std::string title;
    std::string wordName = "Слово";
    std::string translationName = "Перевод";
};

std::string KvtmlBytes(const std::vector<VocabEntry>& entries, const KvtmlWriteOptions& options = {});

} // namespace vb
