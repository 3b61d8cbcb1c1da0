// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the lesson window's status bar shows on each page, and the last-right-word panel. Panel texts are
// UTF-8; paths are native strings and go in as they are.

#include "engine/lesson_types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vb {

inline constexpr int kPageDictionary = 3;
inline constexpr int kPageText = 4;

struct StatusBarView
{
    // Widths of panels 0-4; panel 5 takes the rest.
    std::array<int, 5> widths{};
    // New texts of panels 0-5; an empty optional leaves the panel's text as it is.
    std::array<std::optional<std::string>, 6> texts{};

    bool operator==(const StatusBarView&) const = default;
};

struct LessonStatus
{
    std::int32_t RightCount = 0;
    std::int32_t ExerciseLeft = 0;
    std::int32_t ErrorCount = 0;
    std::int32_t LearnedCount = 0;
    std::int32_t TaskPoints = 0;
    std::int32_t WordCount = 0;
    std::string DictionaryPath;
    // Words due for review today; negative while spaced review is off (nothing is shown then).
    std::int32_t DueToday = -1;
};

struct TextPageStatus
{
    std::string BasicDictionaryPath;
    long long CharacterCount = 0; // line breaks count as two
    std::string TextFilePath;
    // The text's encoding, shown in the third panel; empty leaves that panel without width.
    std::string Encoding;
};

// The lesson pages (0-2).
StatusBarView LessonStatusBar(const LessonStatus& s);
// "Словарь" (page 3): only the last panel, with the dictionary's full path.
StatusBarView DictionaryStatusBar(const std::string& dictionaryPath, std::int32_t wordCount);
// "Текст" (page 4).
StatusBarView TextStatusBar(const TextPageStatus& s);
// By page index.
StatusBarView StatusBarForPage(int page, const LessonStatus& lesson, const TextPageStatus& text);

// Panel 4 of the lesson pages: "Балл: " and a score.
std::string PointsPanelText(std::int32_t points);

// The last-right-word panel. Texts are UTF-8.
struct LastWordView
{
    std::string Word;
    std::string Transcription;
    std::string Translation;
    std::string Thesaurus;
    // "Транскрипция" 0 "Показывать" shows it at once; 2 "Динамически" only under the pointer.
    bool TranscriptionShown = false;
    // "Шрифт тезауруса как" 1 "Перевод" gives the thesaurus the translation font, else the word font.
    bool ThesaurusInTranslationFont = false;
};

LastWordView MakeLastWordView(const TLessonWord& word, int rgTransc, int rgTesFontSH);

// Panel 4 while the pointer is over the last right word (its own score) and after it left (the task's).
// Nothing changes while the panel is empty.
std::optional<std::string> LastWordHoverPanelText(bool pointerOver, bool lastWordShown, std::int32_t lastRightPoints,
                                                  std::int32_t taskPoints);

} // namespace vb
