// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The content of the "Написание" page: the answer edit Enter_Area, the hint line Enter_Error under it and
// the options' group box GBox_Enter_Set, whose caption shows the typing speed.
//
// The page works on the lesson window's Lesson through a WritingExercise: SetEnterTask sets a task and
// shows it, typing and Enter answer through the Lesson itself (AnswerRight / AnswerWrong, whose events reach
// the window as usual). The window calls SetEnterTask from PageControlChange, passes the fonts and the task
// strip's labels, and does what the signals ask (pronounce, switch the keyboard layout).

#include "dictionary/gui/transcription_display.h"
#include "writing/keyboard_layout.h"
#include "writing/writing.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace vb {

class Clock;

class WritingPage : public QWidget
{
    Q_OBJECT
public:
    WritingPage(Lesson& lesson, Clock& clock, QWidget* parent = nullptr);

    // The families of the settings window's font samples: foreign words, translations, transcriptions.
    void SetFontFamilies(const QString& word, const QString& translation, const QString& transcription);
    // The task strip's `word` and `wordtrsc`.
    void SetTaskLabels(QLabel* word, QLabel* wordtrsc);

    // SetEnterTask: the next task. Nothing happens while the window is hidden.
    void SetEnterTask(const WritingSettings& settings);
    // The hint line for the text in Enter_Area and the options as they stand.
    void UpdateEnterHint();
    // "Подсказать ответ": the whole answer on the hint line, free of charge.
    void pm_hintClick();
    // "Динамически": the transcription of a foreign-word task shows only while the pointer is over the task.
    void wordMouseEnter();
    void wordMouseLeave();

    // The options as their check boxes stand, and set as loading sets them: a box whose state changes runs
    // its click handler, one loaded with its current state runs nothing.
    WritingOptions Options() const;
    void SetOptions(const WritingOptions& options);

    // The platform's keyboard layout loader, which the page and the lesson window's other callers share.
    KeyboardLayouts& Layouts() { return *m_layouts; }
    void SetKeyboardLayouts(std::unique_ptr<KeyboardLayouts> layouts);

    const EnterTaskView& View() const { return m_exercise.View(); }
    WritingExercise& Exercise() { return m_exercise; }

    QLineEdit* Enter_Area = nullptr;
    QLabel* Enter_Error = nullptr;
    QGroupBox* GBox_Enter_Set = nullptr;
    QCheckBox* CB_Len = nullptr;
    QCheckBox* CB_First = nullptr;
    QCheckBox* CB_Letter = nullptr;
    QCheckBox* CB_Word = nullptr;
    QCheckBox* CB_RusLat = nullptr;
    QCheckBox* CB_Auto = nullptr;
    QCheckBox* CB_Case = nullptr;
    QCheckBox* CB_Speed = nullptr;

signals:
    // Pronounce the task (the text as stored): isWord when it is the foreign word.
    void PronounceRequested(const std::string& text, bool isWord);
    // The pupil is about to type a translation (true) or a foreign word (false).
    void SwitchLayoutRequested(bool forTranslation);
    // An answer was judged; a right one has already been scored and its echo started.
    void Answered(bool right);
    // A check box changed; the window keeps its settings current.
    void OptionsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Enter_AreaChange();
    void Enter_AreaKeyPress();
    void CB_LenClick();
    void CB_SpeedClick();
    void OptionToggled();
    void ShowCaption();
    // The caption's font, as large as the group box's width lets it be.
    void FitCaption();
    std::string Typed() const;

    Lesson& m_lesson;
    WritingExercise m_exercise;
    QLabel* m_word = nullptr;
    QLabel* m_wordtrsc = nullptr;
    QString m_wordFamily;
    QString m_translationFamily;
    TranscriptionDisplay m_transcription;
    WritingSettings m_settings;
    std::unique_ptr<KeyboardLayouts> m_layouts;
};

} // namespace vb
