// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Variant exercise: a task word and up to seven answers, one of them right. These are its rules
// without the page: drawing the task and its answers, what the task label and the answer rows show, the
// judging of a click and how a row looks as the pointer and the answers move over it.
//
// Texts are UTF-8.

#include "engine/lesson.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vb {

struct SettingsWindowValues;

// Answer rows on the page: var01..var07.
inline constexpr int kVariantRows = 7;

// What a Variant task reads from the settings window and the lesson window's switches.
struct VariantSettings
{
    int SE_CountVar = 7; // answers wanted, 1..7
    bool CB_Sort = true; // answers in alphabetical order
    int RG_WordShow = 2; // 0 "Слово", 1 "Перевод", 2 "Всё"
    int RG_Transc = 2; // 0 "Показывать", 1 "Не показывать", 2 "Динамически"
    bool visual = true; // "Показывать написание"
    bool dictation = false; // "Режим диктанта"
};

VariantSettings MakeVariantSettings(const SettingsWindowValues& values, bool visual, bool dictation);

// The answers of the task in hand: positions into VarProgress; slot i belongs to row i+1.
struct VariantOptions
{
    std::array<std::int32_t, kVariantRows> VarOptions{};
    std::int32_t VarOptionCount = 0;
};

// Picks the task word (TaskPos, TaskPoints) and draws the answers for `direction` (1: the answers are
// foreign words, 0: translations). Runs the all-words-learned question when nothing is left to learn.
// Every random draw is made in a fixed order, so a generator state always gives the same task. False when
// no task was set (empty dictionary, everything learned).
bool PrepareVariantTask(Lesson& lesson, int SE_CountVar, bool CB_Sort, int direction, VariantOptions& options);

// One answer row.
struct VariantRowView
{
    std::string answer; // varN: the answer side
    std::string meaning; // trslN: the other side, shown after a wrong choice
    std::string transcription; // trscN: only when the answers are foreign words
};

// Everything the page and the task strip show for a task.
struct VariantTaskView
{
    bool ready = false; // false: no task, the page stays empty
    int direction = 1; // TaskDirection
    std::string taskText; // the task label `word`
    bool taskIsWord = false; // the label holds the foreign word: word font, pronounced as a word
    std::string taskTranscription; // `wordtrsc`
    bool showTask = false; // visual mode: the label is shown, else the task is only heard
    bool showTaskTranscription = false; // "Показывать" with the foreign word in view
    bool answersAreWords = true; // rows in the word font, meanings in the translation font (else the reverse)
    bool showRowTranscriptions = false; // trscN shown at once
    bool dynamicRowTranscriptions = false; // trscN shown while the pointer is over the row
    std::vector<VariantRowView> rows; // VarOptionCount rows; the rest stay hidden
};

// A whole new task: the direction by RG_WordShow (a coin for "Всё"), then BuildVariantTask.
// The active method becomes Variant.
VariantTaskView SetVariantTask(Lesson& lesson, const VariantSettings& settings, VariantOptions& options);
// A new task in a given direction.
VariantTaskView BuildVariantTask(Lesson& lesson, const VariantSettings& settings, int direction,
                                 VariantOptions& options);

enum class VariantAnswer {
    None, // no such row
    Right,
    Wrong,
};

// A click on row `slot` (0-based): scores the task word, or penalises as RG_Shtraf says.
VariantAnswer AnswerVariant(Lesson& lesson, const VariantOptions& options, int slot);

// The row that holds the right answer ("Подсказать ответ"); -1 when there is none.
int VariantHintSlot(const VariantOptions& options, std::int32_t taskPos);

// How an answer row looks.
enum class RowColor {
    Black,
    Shadow, // the system's dark shadow colour
    Red, // a wrong answer
    Blue, // the hint
};

struct VariantRowLook
{
    RowColor color = RowColor::Black;
    bool bold = false;
    bool strikeOut = false;
    bool meaningShown = false; // trslN
    bool transcriptionShown = false; // trscN

    bool operator==(const VariantRowLook&) const = default;
};

// A freshly drawn row: black, plain; its transcription shown only in "Показывать" mode for word answers.
VariantRowLook InitialRowLook(int direction, int rgTransc);
// A wrong choice: struck out in red, its meaning shown.
void RowChosenWrongly(VariantRowLook& look);
// Pointer enters: black and bold, whatever it was; a dynamic transcription appears.
void RowPointerEntered(VariantRowLook& look, int direction, int rgTransc);
// Pointer leaves: the shadow colour without style unless the row is red; a dynamic transcription goes.
void RowPointerLeft(VariantRowLook& look, int direction, int rgTransc);
void RowHinted(VariantRowLook& look);

// Answering from the keyboard: the digit keys 1..7 stand for the rows, Up and Down move a highlight over
// the rows the way the pointer does, and Enter or Space chooses the highlighted row.
// The highlighted row (0-based, -1: none) after Up (step -1) or Down (step +1) among `count` rows. From
// nothing, Down starts at the first row and Up at the last; the highlight stops at either end.
int MoveVariantHighlight(int current, int count, int step);

// What a screen reader says for row `n` (1-based) holding `text` (UTF-8).
std::string VariantRowSpokenName(int n, const std::string& text);

} // namespace vb
