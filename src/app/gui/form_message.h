// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/gui/app_context.h"
#include "common/message_dialog.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QLabel;
class QPushButton;

namespace vb {

// What a secondary window tells the lesson window, which owns `DialogOpen`, `ModalClosed` and the
// topmost state. Any hook may be left empty.
struct SecondaryWindowHooks
{
    // The window became visible: the lesson window calls SetTopmost(false) and sets DialogOpen.
    std::function<void()> shown;
    // The window was hidden: SetTopmost(CB_Top) and DialogOpen := false.
    std::function<void()> hidden;
    // A modal run of the window has ended: ModalClosed := true.
    std::function<void()> modalClosed;
};

// Places a secondary window in the middle of the lesson window (of the screen while that is hidden).
void CenterOnLessonWindow(QWidget& window, const AppContext& ctx);

// The three-button message dialog through which every notice and question of the program goes.
class TForm_Message : public QDialog, public MessageDialog
{
    Q_OBJECT
public:
    explicit TForm_Message(AppContext& ctx, QWidget* parent = nullptr);

    void SetHooks(SecondaryWindowHooks hooks) { m_hooks = std::move(hooks); }

    // Shows the dialog modally. Returns 1, 2 or 3 for the pressed button, 0 when the dialog was
    // closed otherwise. An empty caption hides its button; the others keep their places.
    int ShowMessageDialog(const std::string& text, const std::string& caption1, const std::string& caption2,
                          const std::string& caption3) override;

    // Test hooks, so GUI tests never block on the modal loop: each queued answer is returned by one
    // later ShowMessageDialog call (of any instance) without showing anything.
    struct Record
    {
        std::string text, caption1, caption2, caption3;
    };
    static void SetNextAnswer(int answer);
    // Asked when no answer is queued: an answer, or nothing to show the dialog after all (a test then
    // presses one of its buttons).
    static void SetAnswerer(std::function<std::optional<int>(const Record&)> answerer);
    // The call recorded last, shown or answered from the queue.
    static const Record& LastMessage();
    static int MessageCount();
    static void ResetTestHooks();

    // Controls, named as in the design.
    QLabel* LB_Message = nullptr;
    QLabel* Image = nullptr;
    QPushButton* bt_1 = nullptr;
    QPushButton* bt_2 = nullptr;
    QPushButton* bt_3 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void ButtonClick(int number);

    AppContext& m_ctx;
    SecondaryWindowHooks m_hooks;
    // Fields set before the dialog is shown.
    int m_result = 0;
    QString m_text;
    QString m_captions[3];
};

} // namespace vb
