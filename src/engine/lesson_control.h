// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules of lesson control that the lesson window renders: what each page shows around it, which
// commands the task-word menu offers, how the presentation modes decide the task label, where
// "Подсказать ответ" points, and "Учить словарь заново".

#include "engine/lesson.h"

#include <cstdint>
#include <string>

namespace vb {

class MessageDialog;
struct SettingsWindowValues;

// The settings the lesson rules read, taken from the settings window's values.
LessonParams MakeLessonParams(const SettingsWindowValues& values);

// The panel below the page control.
enum class BottomPanel {
    LastWord, // PanelLastWord: the lesson pages
    FindWord, // PanelFindWord: "Словарь"
    Text, // PanelText: "Текст"
};

// What PageControlChange arranges for a page (0 "Вариант" .. 4 "Текст").
struct PageArrangement
{
    bool lessonPage = false; // pages 0-2: ActiveMethod follows the page
    bool taskStrip = false; // GBox_Word shown, the page control below it (pages 0 and 2)
    BottomPanel panel = BottomPanel::LastWord;
    int checkedMethod = -1; // the method item to check; -1: none of the three
    bool lessonNewEnabled = false; // "Учить словарь заново"
    bool dictionaryFonts = false; // the grid columns and the search field take the dictionary fonts
};

PageArrangement ArrangePage(int page);

// Items of the task-word menu (also the context menu of the Mosaic lists) that are visible.
struct WordMenuItems
{
    bool pm_word_next = false; // "Следующее задание"
    bool pm_hint = false; // "Подсказать ответ"
    bool pm_word_off = false; // "Выучено !"
    bool pm_word_on = false; // "Учить задание заново"
    bool pm_word_voice = false; // "Произнести задание"
    bool pm_visual = false; // "Показывать написание"
    bool pm_dictant = false; // "Режим диктанта"
    bool pm_word_color = true; // "Изменить цвет"

    bool operator==(const WordMenuItems&) const = default;
};

// WordPopupMenuPopup: on any page but Mosaic there is no list item to aim at, so `listTargetIndex` becomes
// 0; on Mosaic it stays the item the menu was opened over (-1: none). `voice` is CB_Voice.
WordMenuItems WordPopupMenuPopup(int page, std::int32_t workSetSize, int& listTargetIndex, bool voice);

// The presentation modes. The task label holds the foreign word when the answers are translations
// (direction 0) without dictation, or when they are foreign words (direction 1) with dictation; it is
// then pronounced as a word, and in the word font.
bool TaskShowsWord(int direction, bool dictation);
// Whether `wordtrsc` is shown: "Показывать" with the foreign word in view; "Динамически" the same but only
// while the pointer is over the task label or its transcription; "Не показывать" never. The label itself
// is shown only in visual mode.
bool TaskTranscriptionVisible(bool visual, bool taskShowsWord, int rgTransc, bool pointerOver);

// "Подсказать ответ" on the Writing page: the expected answer of the task (EnterProgress at TaskPos),
// its parenthesised parts left out.
std::string WritingHintText(const Lesson& lesson);

// "Учить словарь заново?": on "да" every score of the active method goes back to 0. True when the scores
// were reset; the window then sets a new task.
bool RelearnDictionary(Lesson& lesson, MessageDialog* dialog);

} // namespace vb
