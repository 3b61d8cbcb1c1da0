// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/variant.h"

#include "engine/settings.h"

#include <algorithm>

namespace vb {

namespace {

const TLessonWord* WordAt(const Lesson& lesson, std::int32_t position)
{
    if (position < 0 || static_cast<std::size_t>(position) >= lesson.VarProgress.size()) {
        return nullptr;
    }
    const std::int32_t w = lesson.VarProgress[static_cast<std::size_t>(position)].WordIndex;
    if (w < 0 || static_cast<std::size_t>(w) >= lesson.LessonWords.size()) {
        return nullptr;
    }
    return &lesson.LessonWords[static_cast<std::size_t>(w)];
}

} // namespace

VariantSettings MakeVariantSettings(const SettingsWindowValues& values, bool visual, bool dictation)
{
    VariantSettings s;
    s.SE_CountVar = values.SE_CountVar;
    s.CB_Sort = values.CB_Sort;
    s.RG_WordShow = values.RG_WordShow;
    s.RG_Transc = values.RG_Transc;
    s.visual = visual;
    s.dictation = dictation;
    return s;
}

bool PrepareVariantTask(Lesson& lesson, int SE_CountVar, bool CB_Sort, int direction, VariantOptions& options)
{
    if (lesson.WordCount <= 0) {
        return false;
    }
    if (!lesson.AllWordsLearnedLoop(kMethodVariant)) {
        return false;
    }
    // Answers are drawn from the whole learning order, so it bounds them together with the dictionary.
    const auto words = static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(lesson.WordCount), lesson.VarProgress.size()));
    const std::int32_t count = std::clamp(std::min(words, static_cast<std::int32_t>(SE_CountVar)), 0, kVariantRows);
    options.VarOptionCount = count;
    if (count <= 0) {
        return false;
    }

    lesson.TaskPos = lesson.PickTaskWord(lesson.VarProgress);
    lesson.TaskPoints = lesson.VarProgress[static_cast<std::size_t>(lesson.TaskPos)].Points;
    lesson.UpdateStatusBar();

    // Distinct positions, each drawn again until it differs from every earlier slot.
    auto& slots = options.VarOptions;
    slots[0] = lesson.RandomInt(words);
    for (std::int32_t i = 1; i < count; ++i) {
        std::int32_t candidate = 0;
        do {
            candidate = lesson.RandomInt(words);
        } while (std::find(slots.begin(), slots.begin() + i, candidate) != slots.begin() + i);
        slots[static_cast<std::size_t>(i)] = candidate;
    }
    if (std::find(slots.begin(), slots.begin() + count, lesson.TaskPos) == slots.begin() + count) {
        slots[static_cast<std::size_t>(lesson.RandomInt(count))] = lesson.TaskPos;
    }

    if (CB_Sort) {
        const std::span<std::int32_t> list(slots.data(), slots.size());
        if (direction == 1) {
            lesson.SortOptionsByWord(list, 0, count - 1, lesson.VarProgress);
        } else {
            lesson.SortOptionsByTranslation(list, 0, count - 1, lesson.VarProgress);
        }
    }
    return true;
}

VariantTaskView SetVariantTask(Lesson& lesson, const VariantSettings& settings, VariantOptions& options)
{
    return BuildVariantTask(lesson, settings, lesson.DrawTaskDirection(settings.RG_WordShow), options);
}

VariantTaskView BuildVariantTask(Lesson& lesson, const VariantSettings& settings, int direction,
                                 VariantOptions& options)
{
    VariantTaskView view;
    view.direction = direction == 1 ? 1 : 0;
    lesson.TaskDirection = view.direction;
    lesson.ActiveMethod = kMethodVariant;

    const bool answersAreWords = view.direction == 1;
    view.answersAreWords = answersAreWords;
    // With dictation the task is in the answers' language; without, in the other one.
    view.taskIsWord = answersAreWords == settings.dictation;

    if (!PrepareVariantTask(lesson, settings.SE_CountVar, settings.CB_Sort, view.direction, options) ||
        lesson.WorkSetSize <= 0 || options.VarOptionCount < 1) {
        return view;
    }
    const TLessonWord* task = WordAt(lesson, lesson.TaskPos);
    if (!task) {
        return view;
    }

    view.ready = true;
    view.taskText = view.taskIsWord ? task->Word : task->Translation;
    view.taskTranscription = task->Transcription;
    view.showTask = settings.visual;
    view.showTaskTranscription = settings.visual && settings.RG_Transc == 0 && view.taskIsWord;
    view.showRowTranscriptions = answersAreWords && settings.RG_Transc == 0;
    view.dynamicRowTranscriptions = answersAreWords && settings.RG_Transc == 2;

    view.rows.reserve(static_cast<std::size_t>(options.VarOptionCount));
    for (std::int32_t i = 0; i < options.VarOptionCount; ++i) {
        VariantRowView row;
        if (const TLessonWord* w = WordAt(lesson, options.VarOptions[static_cast<std::size_t>(i)])) {
            row.answer = answersAreWords ? w->Word : w->Translation;
            row.meaning = answersAreWords ? w->Translation : w->Word;
            if (answersAreWords) {
                row.transcription = w->Transcription;
            }
        }
        view.rows.push_back(std::move(row));
    }
    return view;
}

VariantAnswer AnswerVariant(Lesson& lesson, const VariantOptions& options, int slot)
{
    if (slot < 0 || slot >= options.VarOptionCount || slot >= kVariantRows) {
        return VariantAnswer::None;
    }
    const std::int32_t chosen = options.VarOptions[static_cast<std::size_t>(slot)];
    if (chosen == lesson.TaskPos) {
        lesson.AnswerRight(lesson.TaskPos);
        return VariantAnswer::Right;
    }
    lesson.AnswerWrong(lesson.TaskPos, chosen);
    return VariantAnswer::Wrong;
}

int VariantHintSlot(const VariantOptions& options, std::int32_t taskPos)
{
    const int count = std::clamp(options.VarOptionCount, 0, kVariantRows);
    for (int i = 0; i < count; ++i) {
        if (options.VarOptions[static_cast<std::size_t>(i)] == taskPos) {
            return i;
        }
    }
    return -1;
}

VariantRowLook InitialRowLook(int direction, int rgTransc)
{
    VariantRowLook look;
    look.transcriptionShown = direction == 1 && rgTransc == 0;
    return look;
}

void RowChosenWrongly(VariantRowLook& look)
{
    look.color = RowColor::Red;
    look.bold = false;
    look.strikeOut = true;
    look.meaningShown = true;
}

void RowPointerEntered(VariantRowLook& look, int direction, int rgTransc)
{
    look.color = RowColor::Black;
    look.bold = true;
    look.strikeOut = false;
    if (direction == 1 && rgTransc == 2) {
        look.transcriptionShown = true;
    }
}

void RowPointerLeft(VariantRowLook& look, int direction, int rgTransc)
{
    if (look.color != RowColor::Red) {
        look.color = RowColor::Shadow;
        look.bold = false;
        look.strikeOut = false;
    }
    if (direction == 1 && rgTransc == 2) {
        look.transcriptionShown = false;
    }
}

void RowHinted(VariantRowLook& look)
{
    look.color = RowColor::Blue;
}

int MoveVariantHighlight(int current, int count, int step)
{
    if (count <= 0) {
        return -1;
    }
    count = std::min(count, kVariantRows);
    if (current < 0 || current >= count) {
        return step < 0 ? count - 1 : 0;
    }
    return std::clamp(current + (step < 0 ? -1 : (step > 0 ? 1 : 0)), 0, count - 1);
}

std::string VariantRowSpokenName(int n, const std::string& text)
{
    return "вариант " + std::to_string(n) + ": " + text;
}

} // namespace vb
