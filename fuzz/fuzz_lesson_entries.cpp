// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson side's reading of a dictionary: every entry comes from one non-blank line, no field holds a
// separator or a line break, "_" is gone from word and translation, the transcription is one bracketed
// text; and the lesson loads the very same entries from the file, with a fresh order over all of them.
#include "dictionary/dictionary_encoding.h"
#include "dictionary/line_format.h"
#include "engine/lesson.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// The dictionary file, in memory: the lesson reads it through its path like any other file.
struct MemoryFile
{
    int fd = ::memfd_create("dictionary", MFD_CLOEXEC);
    std::string path = "/proc/self/fd/" + std::to_string(fd);

    void Set(std::string_view bytes) const
    {
        if (::ftruncate(fd, 0) != 0 ||
            ::pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
            std::abort();
        }
    }
};

std::size_t CountLines(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::size_t lines = 0;
    std::size_t pos = 0;
    for (;;) {
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= 32) {
            ++pos;
        }
        if (pos == text.size()) {
            return lines;
        }
        ++lines;
        while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') {
            ++pos;
        }
    }
}

bool Holds(const std::string& s, std::string_view chars)
{
    return s.find_first_of(chars) != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const MemoryFile file;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The file in its own encoding; the entries are read from its text.
    const std::string text = vb::DecodeDictionary(bytes);

    const std::vector<vb::DictionaryRecord> entries = vb::ReadLessonEntries(text);
    if (entries.size() != CountLines(text)) {
        std::abort();
    }
    for (const vb::DictionaryRecord& e : entries) {
        for (const std::string* field : {&e.word, &e.translate, &e.transcription, &e.tesaurus}) {
            if (Holds(*field, std::string_view("|\r\n\0", 4))) {
                std::abort();
            }
        }
        if (Holds(e.word, "_") || Holds(e.translate, "_")) {
            std::abort();
        }
        const std::string& t = e.transcription;
        if (!t.empty() &&
            (t.size() < 2 || t.front() != '[' || t.back() != ']' || Holds(t.substr(1, t.size() - 2), "[]"))) {
            std::abort();
        }
    }

    file.Set(bytes);
    vb::Lesson lesson;
    if (!lesson.LoadLessonWords(file.path, std::string())) {
        std::abort();
    }
    if (lesson.WordCount != static_cast<std::int32_t>(entries.size()) || lesson.LessonWords.size() != entries.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const vb::TLessonWord& w = lesson.LessonWords[i];
        const vb::DictionaryRecord& e = entries[i];
        if (w.Word != e.word || w.Translation != e.translate || w.Transcription != e.transcription ||
            w.Thesaurus != e.tesaurus) {
            std::abort();
        }
    }
    // Without a progress file every method starts with the same order, each word once, all scores 0.
    std::vector<unsigned char> seen(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const vb::TWordProgress& p = lesson.VarProgress[i];
        if (p.WordIndex < 0 || static_cast<std::size_t>(p.WordIndex) >= entries.size() || seen[p.WordIndex] ||
            p.Points != 0 || !(lesson.MozProgress[i] == p) || !(lesson.EnterProgress[i] == p)) {
            std::abort();
        }
        seen[p.WordIndex] = 1;
    }
    return 0;
}
