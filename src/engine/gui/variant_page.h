// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The content of the "Вариант" page: seven answer rows, each a label var01..var07 across the page with its
// transcription trscNN just after the answer text and its meaning trslNN at the right end of the row.
//
// The page works on the lesson window's Lesson: SetVariantTask draws a task and shows it, and a click on a
// row answers through the Lesson itself (AnswerRight / AnswerWrong, whose events reach the window as
// usual). The window only calls SetVariantTask from PageControlChange, passes the fonts and, if it wants
// the page to fill them, the task strip's labels.

#include "dictionary/gui/transcription_display.h"
#include "engine/variant.h"

#include <QString>
#include <QWidget>

#include <array>
#include <string>

class QKeyEvent;
class QLabel;

namespace vb {

class VariantPage : public QWidget
{
    Q_OBJECT
public:
    explicit VariantPage(Lesson& lesson, QWidget* parent = nullptr);

    // The families of the settings window's font samples: foreign words, translations, transcriptions.
    void SetFontFamilies(const QString& word, const QString& translation, const QString& transcription);
    // The task strip's `word` and `wordtrsc`; SetVariantTask then fills and shows them, ClearTask hides them.
    void SetTaskLabels(QLabel* word, QLabel* wordtrsc);

    // SetVariantTask: a new task with these settings, shown on the rows and, when given, the task labels;
    // then PronounceRequested for the task. Nothing happens while the window is hidden. Without a task
    // (empty dictionary, everything learned) the page stays empty.
    void SetVariantTask(const VariantSettings& settings);
    // Hides the rows and the task labels; clicks do nothing until the next task.
    void ClearTask();

    // "Подсказать ответ": the right row turns blue.
    void pm_hintClick();
    // The pointer enters or leaves the task label or its transcription: "Динамически" shows the
    // transcription of a foreign-word task only meanwhile.
    void wordMouseEnter();
    void wordMouseLeave();

    // Row n = 1..7 (nullptr outside).
    QLabel* var(int n) const;
    QLabel* trsl(int n) const;
    QLabel* trsc(int n) const;

    // The answer keys: 1..7 (main row or keypad) choose that row as a click does; Up and Down move the
    // highlight as the pointer entering and leaving the rows does; Enter and Space choose the highlighted
    // row. False for any other key, and for every key while the page is disabled or has no task.
    bool KeyPressed(const QKeyEvent& event);
    // The highlighted row, 1..7, 0 for none.
    int HighlightedRow() const { return m_highlight + 1; }

    const VariantTaskView& View() const { return m_view; }
    const VariantOptions& Options() const { return m_options; }
    VariantRowLook RowLook(int n) const;

signals:
    // Pronounce the task (the text as stored): isWord when it is the foreign word.
    void PronounceRequested(const std::string& text, bool isWord);
    // A click on a row was judged; a right answer has already been scored and its echo started.
    void Answered(bool right);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Row
    {
        QLabel* var = nullptr;
        QLabel* trsl = nullptr;
        QLabel* trsc = nullptr;
        VariantRowLook look;
    };

    int SlotOf(QObject* object) const;
    void varClick(int slot);
    void varMouseEnter(int slot);
    void varMouseLeave(int slot);
    void ApplyLook(int slot);
    void PlaceRow(int slot);
    QFont AnswerFont() const;
    QFont MeaningFont() const;

    Lesson& m_lesson;
    std::array<Row, kVariantRows> m_rows;
    QLabel* m_word = nullptr;
    QLabel* m_wordtrsc = nullptr;
    QFont m_wordFont;
    QFont m_translationFont;
    QFont m_transcriptionFont;
    TranscriptionDisplay m_transcription;

    VariantSettings m_settings;
    VariantOptions m_options;
    VariantTaskView m_view;
    // Set by a right answer: the task is over, the echo leads to the next one.
    bool m_answered = false;
    // The row pressed with the left button; a release over it is a click.
    int m_pressedSlot = -1;
    // The row under the pointer or chosen by Up and Down (0-based, -1: none).
    int m_highlight = -1;
    // Counts the tasks, so that a click can tell whether its answer already led to another one.
    unsigned m_taskSerial = 0;
};

} // namespace vb
