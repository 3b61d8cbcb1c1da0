// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Writing exercise: the pupil types the other side of the task word. These are its rules without the
// page: the task, the expected answer, the comparison of what was typed, the hint line with the hint
// counters a right answer pays for, and the speed meter fed by the typing.
//
// Texts are UTF-8.

#include "engine/lesson.h"
#include "writing/speed_meter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

class Clock;
struct SettingsWindowValues;

// The eight options of the page, as their check boxes stand.
struct WritingOptions
{
    bool CB_Len = false; // "Показывать длину слова": hidden letters show as "+"
    bool CB_First = false; // "Показывать первую букву"
    bool CB_Letter = false; // "Подсказывать букву при ошибке"
    bool CB_Word = false; // "Подсказывать слово при ошибке"
    bool CB_RusLat = true; // "Автоматически переключать клавиатуру"
    bool CB_Auto = true; // "Автоввод правильного слова"
    bool CB_Case = false; // "Чувствительность к регистру букв"
    bool CB_Speed = false; // "Показывать скорость набора слов"

    bool operator==(const WritingOptions&) const = default;
};

// What a Writing task reads from the settings window and the lesson window's switches.
struct WritingSettings
{
    int RG_WordShow = 2; // 0 "Слово", 1 "Перевод", 2 "Всё"
    int RG_Transc = 2; // 0 "Показывать", 1 "Не показывать", 2 "Динамически"
    bool visual = true; // "Показывать написание"
    bool dictation = false; // "Режим диктанта"
};

WritingSettings MakeWritingSettings(const SettingsWindowValues& values, bool visual, bool dictation);

// Equality of two typed texts: byte for byte when case-sensitive, else character by character after
// upper-casing ("MÄDCHEN" equals "Mädchen").
bool CompareTyped(std::string_view a, std::string_view b, bool caseSensitive);

// What the task expects: the task word's foreign word (TaskDirection 1) or translation (0) without its
// parenthesised parts. Empty without a task.
std::string ExpectedAnswer(const Lesson& lesson);

// The hint state of one task. The counters are the Lesson's (AnswerRight reads them); RevealedLength is the
// number of leading characters of the answer shown in clear, and never shrinks during a task.
struct EnterHintState
{
    std::int32_t RevealedLength = 0;
    std::int32_t HintLetters = 0;
    std::int32_t HintWords = 0;
    bool HintLength = false;
};

struct EnterHint
{
    std::string line; // Enter_Error
    bool correctPrefix = false; // `typed` is a prefix of the answer (the empty text is one)
};

// UpdateEnterHint's rule for one change of the typed text or of the hint options: charges the hints and
// gives the hint line (the answer masked from RevealedLength on: "+" for letters with CB_Len, else cut at
// the first hidden letter).
EnterHint ComputeEnterHint(EnterHintState& state, std::string_view expected, std::string_view typed,
                           const WritingOptions& options);

// Everything the page and the task strip show for a task.
struct EnterTaskView
{
    bool ready = false; // false: no task; typing, Enter and the options do nothing
    int direction = 1; // TaskDirection: 1 the foreign word is typed, 0 the translation
    bool answerIsWord = true; // Enter_Area and Enter_Error in the word font (else the translation font)
    bool taskIsWord = false; // the task label holds the foreign word: word font, pronounced as a word
    std::string taskText; // `word`, without parenthesised parts
    std::string taskTranscription; // `wordtrsc`, as stored
    bool showTask = false; // visual mode
    bool showTaskTranscription = false; // "Показывать" with the foreign word in view
    std::string pronounceText; // the task side as stored (pronunciation strips parentheses itself)
};

// A typed answer judged.
enum class EnterAnswer {
    None, // nothing to judge (no task, empty text, not Enter, answered already, or not yet right)
    Right, // scored; the echo leads to the next task
    Wrong, // penalised; the task stays
};

class WritingExercise
{
public:
    WritingExercise(Lesson& lesson, Clock& clock);

    // The check boxes' states; the page keeps them current.
    WritingOptions Options;
    std::int32_t RevealedLength = 0;
    SpeedMeter Meter;

    // SetEnterTask (the window is visible): closes the speed figures of the last task, resets the hints,
    // chooses the direction by RG_WordShow (a coin for "Всё") and builds the task. The hint line then comes
    // from UpdateEnterHint.
    const EnterTaskView& SetEnterTask(const WritingSettings& settings);
    // A new task whose answer is the foreign word (direction 1) or the translation (0).
    const EnterTaskView& BuildEnterTask(const WritingSettings& settings, int direction);
    const EnterTaskView& View() const { return m_view; }

    // UpdateEnterHint for the text now in Enter_Area: nothing without a task. A correct non-empty prefix is
    // a measured keystroke while CB_Speed is on.
    std::optional<std::string> UpdateEnterHint(std::string_view typed);
    // Enter_AreaChange: the hint line is refreshed (into `hint`), and with CB_Auto a right text is accepted.
    EnterAnswer Enter_AreaChange(std::string_view typed, std::optional<std::string>& hint);
    // Enter_AreaKeyPress with Enter: a right text scores, a wrong one is penalised.
    EnterAnswer Enter_AreaKeyPress(std::string_view typed);
    bool CheckEnterAnswer(std::string_view typed) const;

    // The task can take answers: there is one and it has not been answered rightly yet.
    bool Open() const { return m_view.ready && !m_answered && m_lesson.WorkSetSize >= 1; }

private:
    Lesson& m_lesson;
    EnterTaskView m_view;
    // A right answer ends the task; nothing more counts until the next one.
    bool m_answered = false;
};

} // namespace vb
