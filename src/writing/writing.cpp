// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/writing.h"

#include "common/codepage.h"
#include "common/strings.h"
#include "common/unicode.h"
#include "engine/lesson_control.h"
#include "engine/settings.h"

#include <algorithm>

namespace vb {

WritingSettings MakeWritingSettings(const SettingsWindowValues& values, bool visual, bool dictation)
{
    WritingSettings s;
    s.RG_WordShow = values.RG_WordShow;
    s.RG_Transc = values.RG_Transc;
    s.visual = visual;
    s.dictation = dictation;
    return s;
}

bool CompareTyped(std::string_view a, std::string_view b, bool caseSensitive)
{
    if (caseSensitive) {
        return a == b;
    }
    return EqualIgnoringCase(a, b);
}

std::string ExpectedAnswer(const Lesson& lesson)
{
    return WritingHintText(lesson);
}

EnterHint ComputeEnterHint(EnterHintState& state, std::string_view expected, std::string_view typed,
                           const WritingOptions& options)
{
    char mask = '\0';
    if (options.CB_Len) {
        mask = '+';
        state.HintLength = true;
    }
    std::int32_t reveal = 0;
    if (options.CB_First) {
        reveal = 1;
        // The first letter is paid for once per task.
        if (state.HintLetters == 0) {
            state.HintLetters = 1;
        }
    }

    const auto n = static_cast<int>(std::min<std::size_t>(CharCount(typed), 0x7FFFFFFF));
    EnterHint hint;
    hint.correctPrefix = CompareTyped(SubStr0(expected, 0, n), typed, options.CB_Case);
    if (!hint.correctPrefix) {
        if (options.CB_Letter) {
            ++state.HintLetters;
            reveal = n;
        }
        if (options.CB_Word) {
            // To the end of the word being typed: the next space, else the next comma, else the end.
            reveal = FindCharN(expected, ' ', n, 1);
            if (reveal == -1) {
                reveal = FindCharN(expected, ',', n, 1);
            }
            if (reveal == -1) {
                reveal = static_cast<std::int32_t>(std::min<std::size_t>(CharCount(expected), 0x7FFFFFFF));
            }
            if (reveal > state.RevealedLength) {
                ++state.HintWords;
            }
        }
    }
    state.RevealedLength = std::max(state.RevealedLength, reveal);
    hint.line = MaskLetters(expected, state.RevealedLength, mask);
    return hint;
}

WritingExercise::WritingExercise(Lesson& lesson, Clock& clock) : Meter(clock), m_lesson(lesson) { }

const EnterTaskView& WritingExercise::SetEnterTask(const WritingSettings& settings)
{
    RevealedLength = 0;
    m_lesson.HintLetters = 0;
    m_lesson.HintWords = 0;
    m_lesson.HintLength = false;
    Meter.CloseTask();
    return BuildEnterTask(settings, m_lesson.DrawTaskDirection(settings.RG_WordShow));
}

const EnterTaskView& WritingExercise::BuildEnterTask(const WritingSettings& settings, int direction)
{
    m_view = EnterTaskView{};
    m_answered = false;
    m_view.direction = direction == 1 ? 1 : 0;
    m_view.answerIsWord = m_view.direction == 1;
    m_view.taskIsWord = TaskShowsWord(m_view.direction, settings.dictation);
    m_lesson.TaskDirection = m_view.direction;
    m_lesson.ActiveMethod = kMethodWriting;

    m_lesson.PickEnterTask();
    if (m_lesson.WorkSetSize <= 0 || m_lesson.TaskPos < 0 ||
        static_cast<std::size_t>(m_lesson.TaskPos) >= m_lesson.EnterProgress.size()) {
        return m_view;
    }
    const std::int32_t w = m_lesson.EnterProgress[static_cast<std::size_t>(m_lesson.TaskPos)].WordIndex;
    if (w < 0 || static_cast<std::size_t>(w) >= m_lesson.LessonWords.size()) {
        return m_view;
    }
    const TLessonWord& task = m_lesson.LessonWords[static_cast<std::size_t>(w)];
    m_view.ready = true;
    m_view.pronounceText = m_view.taskIsWord ? task.Word : task.Translation;
    m_view.taskText = StripParens(m_view.pronounceText);
    m_view.taskTranscription = task.Transcription;
    m_view.showTask = settings.visual;
    m_view.showTaskTranscription =
        TaskTranscriptionVisible(settings.visual, m_view.taskIsWord, settings.RG_Transc, false);
    return m_view;
}

std::optional<std::string> WritingExercise::UpdateEnterHint(std::string_view typed)
{
    if (!Open()) {
        return std::nullopt;
    }
    EnterHintState state{RevealedLength, m_lesson.HintLetters, m_lesson.HintWords, m_lesson.HintLength};
    EnterHint hint = ComputeEnterHint(state, ExpectedAnswer(m_lesson), typed, Options);
    RevealedLength = state.RevealedLength;
    m_lesson.HintLetters = state.HintLetters;
    m_lesson.HintWords = state.HintWords;
    m_lesson.HintLength = state.HintLength;
    if (hint.correctPrefix && !typed.empty() && Options.CB_Speed) {
        Meter.MeasureKeystroke();
    }
    return std::move(hint.line);
}

EnterAnswer WritingExercise::Enter_AreaChange(std::string_view typed, std::optional<std::string>& hint)
{
    hint.reset();
    if (!Open()) {
        return EnterAnswer::None;
    }
    hint = UpdateEnterHint(typed);
    if (Options.CB_Auto && !typed.empty() && CheckEnterAnswer(typed)) {
        m_answered = true;
        m_lesson.AnswerRight(m_lesson.TaskPos);
        return EnterAnswer::Right;
    }
    return EnterAnswer::None;
}

EnterAnswer WritingExercise::Enter_AreaKeyPress(std::string_view typed)
{
    if (!Open() || typed.empty()) {
        return EnterAnswer::None;
    }
    if (CheckEnterAnswer(typed)) {
        m_answered = true;
        m_lesson.AnswerRight(m_lesson.TaskPos);
        return EnterAnswer::Right;
    }
    m_lesson.AnswerWrong(m_lesson.TaskPos, m_lesson.TaskPos);
    return EnterAnswer::Wrong;
}

bool WritingExercise::CheckEnterAnswer(std::string_view typed) const
{
    // Not trimmed: a stray space makes the answer wrong.
    return CompareTyped(typed, ExpectedAnswer(m_lesson), Options.CB_Case);
}

} // namespace vb
