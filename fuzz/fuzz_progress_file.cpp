// SPDX-License-Identifier: GPL-3.0-or-later
// The progress file against a dictionary of any size: a file is either refused (outputs untouched) or gives
// three orders that each hold every word once; written back it reads the same; and the lesson loading it
// for a dictionary of that size, then refreshing each method's working set, stays inside the words.
#include "engine/lesson.h"
#include "engine/progress_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

struct MemoryFile
{
    explicit MemoryFile(const char* name)
        : fd(::memfd_create(name, MFD_CLOEXEC)), path("/proc/self/fd/" + std::to_string(fd))
    { }

    void Set(std::string_view bytes) const
    {
        if (::ftruncate(fd, 0) != 0 ||
            ::pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
            std::abort();
        }
    }

    int fd;
    std::string path;
};

int CountLines(std::string_view text)
{
    int lines = 0;
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

bool IsOrder(const vb::ProgressArray& a, int wordCount)
{
    if (a.size() != static_cast<std::size_t>(wordCount)) {
        return false;
    }
    std::vector<unsigned char> seen(a.size());
    for (const vb::TWordProgress& p : a) {
        if (p.WordIndex < 0 || p.WordIndex >= wordCount || seen[static_cast<std::size_t>(p.WordIndex)]) {
            return false;
        }
        seen[static_cast<std::size_t>(p.WordIndex)] = 1;
    }
    return true;
}

// The lesson keeps to words that exist, whatever the scores.
void CheckLesson(vb::Lesson& lesson, std::uint8_t knob)
{
    lesson.Params.SE_CountWLs = 1 + knob % 100;
    lesson.Params.SE_Var_Stop = 1 + knob % 7 * 16;
    for (int method = 0; method < 3; ++method) {
        const std::int32_t size = lesson.UpdateWorkSet(method);
        vb::ProgressArray& progress = *lesson.MethodProgress(method);
        if (size < 0 || size > lesson.WordCount || !IsOrder(progress, lesson.WordCount)) {
            std::abort();
        }
        if (size > 0) {
            const std::int32_t pos = lesson.PickTaskWord(progress);
            if (pos < 0 || pos >= size) {
                std::abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const MemoryFile dictionaryFile("dictionary");
    static const MemoryFile progressFile("progress");
    if (size < 2) {
        return 0;
    }
    // The first byte picks the dictionary's size: mostly close to the file's line count, so that the file
    // is read through, sometimes anything up to 255 words.
    const std::uint8_t sizeByte = data[0];
    const std::uint8_t knob = data[1];
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const int lines = CountLines(text);
    const int wordCount = sizeByte < 200 ? lines + sizeByte % 5 - 2 : sizeByte - 200;

    const vb::ProgressArray untouched{{-7, 7}};
    vb::ProgressArray var = untouched;
    vb::ProgressArray moz = untouched;
    vb::ProgressArray enter = untouched;
    const bool accepted = vb::ParseProgressFile(text, wordCount, var, moz, enter);
    if (!accepted) {
        if (var != untouched || moz != untouched || enter != untouched) {
            std::abort();
        }
    } else {
        if (wordCount != lines || !IsOrder(var, wordCount) || !IsOrder(moz, wordCount) || !IsOrder(enter, wordCount)) {
            std::abort();
        }
        const std::string written = vb::FormatProgressFile(var, moz, enter);
        vb::ProgressArray var2, moz2, enter2;
        if (!vb::ParseProgressFile(written, wordCount, var2, moz2, enter2) || var2 != var || moz2 != moz ||
            enter2 != enter || vb::FormatProgressFile(var2, moz2, enter2) != written) {
            std::abort();
        }
    }

    if (wordCount < 0 || wordCount > 4096) {
        return 0;
    }
    std::string dictionary;
    for (int i = 0; i < wordCount; ++i) {
        dictionary += "w" + std::to_string(i) + "|t\r\n";
    }
    dictionaryFile.Set(dictionary);
    progressFile.Set(text);
    vb::Lesson lesson;
    lesson.LoadLessonWords(dictionaryFile.path, progressFile.path);
    if (lesson.WordCount != wordCount) {
        std::abort();
    }
    if (accepted && (lesson.VarProgress != var || lesson.MozProgress != moz || lesson.EnterProgress != enter)) {
        std::abort();
    }
    CheckLesson(lesson, knob);
    return 0;
}
