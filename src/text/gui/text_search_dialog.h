// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The find and replace dialogs of the text page: modeless, working on one plain-text edit.

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace vb {

class TextSearchDialog : public QDialog
{
    Q_OBJECT
public:
    enum Mode { Find, Replace };

    TextSearchDialog(Mode mode, QPlainTextEdit* edit, QWidget* parent = nullptr);

    // Run when the dialog is shown and when it is closed (SearchDialogShow, SearchFindDialogClose).
    std::function<void()> onShow;
    std::function<void()> onClose;

    // Selects the next match from the cursor on; false (and a note in the dialog) when there is none.
    bool FindNext();
    // Replaces the selected match, if any, and selects the next one.
    void ReplaceOne();
    // Replaces every match in the text; returns how many.
    int ReplaceAll();

    QLineEdit* ED_find = nullptr;
    QLineEdit* ED_replace = nullptr;
    QCheckBox* CB_wholeword = nullptr;
    QCheckBox* CB_matchcase = nullptr;
    QRadioButton* RB_up = nullptr;
    QRadioButton* RB_down = nullptr;
    QPushButton* BT_findnext = nullptr;
    QPushButton* BT_replace = nullptr;
    QPushButton* BT_replaceall = nullptr;
    QLabel* LB_result = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool SelectionMatches() const;
    int Flags() const;

    Mode m_mode;
    QPlainTextEdit* m_edit;
};

} // namespace vb
