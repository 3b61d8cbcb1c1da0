// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/gui/app_context.h"
#include "app/gui/form_message.h"

#include <QDialog>

#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

namespace vb {

// The new-pupil dialog "Новый ученик": one name field, "Сохранить" and "отмена".
class TForm_User : public QDialog
{
    Q_OBJECT
public:
    // A name longer than this would not fit a folder name on every file system.
    static constexpr int kMaxNameLength = 80;

    // What the dialog asks of the lesson window, which owns the pupil.
    struct Hooks
    {
        // Show and hide protocol of a secondary window (the lesson window sets ModalClosed itself).
        SecondaryWindowHooks window;
        // "Сохранить" with the cleaned name, possibly empty: save the current pupil, make the named one
        // current with a copy of the settings, rebuild the pupil menu.
        std::function<void(const std::string& name)> savePupil;
        // After the dialog has closed: the settings and the dictionary for the (new) current pupil, a new task.
        std::function<void()> restartLesson;
    };

    explicit TForm_User(AppContext& ctx, QWidget* parent = nullptr);

    void SetHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Shows the dialog modally and returns when it has closed.
    void ShowModalUser();

    void BT_SaveClick();
    void BT_CloseClick();

    QLineEdit* ED_User = nullptr;
    QPushButton* BT_Save = nullptr;
    QPushButton* BT_Close = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    // Enter in the name field: the name cleaned, the focus on "Сохранить". Other keys are not filtered.
    bool ED_UserKeyPress(int key);

    AppContext& m_ctx;
    Hooks m_hooks;
};

} // namespace vb
