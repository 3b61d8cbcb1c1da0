// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/gui/text_search_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace vb {

TextSearchDialog::TextSearchDialog(Mode mode, QPlainTextEdit* edit, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_edit(edit)
{
    setObjectName(mode == Find ? QStringLiteral("FindDialog") : QStringLiteral("ReplaceDialog"));
    setWindowTitle(mode == Find ? QStringLiteral("Найти") : QStringLiteral("Заменить"));
    setModal(false);

    auto* grid = new QGridLayout;
    ED_find = new QLineEdit(this);
    ED_find->setObjectName(QStringLiteral("ED_find"));
    grid->addWidget(new QLabel(QStringLiteral("Что:"), this), 0, 0);
    grid->addWidget(ED_find, 0, 1);
    if (mode == Replace) {
        ED_replace = new QLineEdit(this);
        ED_replace->setObjectName(QStringLiteral("ED_replace"));
        grid->addWidget(new QLabel(QStringLiteral("Чем:"), this), 1, 0);
        grid->addWidget(ED_replace, 1, 1);
    }
    CB_wholeword = new QCheckBox(QStringLiteral("Только слово целиком"), this);
    CB_matchcase = new QCheckBox(QStringLiteral("С учётом регистра"), this);
    grid->addWidget(CB_wholeword, 2, 0, 1, 2);
    grid->addWidget(CB_matchcase, 3, 0, 1, 2);
    if (mode == Find) {
        auto* direction = new QHBoxLayout;
        RB_up = new QRadioButton(QStringLiteral("Вверх"), this);
        RB_down = new QRadioButton(QStringLiteral("Вниз"), this);
        RB_down->setChecked(true);
        direction->addWidget(new QLabel(QStringLiteral("Направление:"), this));
        direction->addWidget(RB_up);
        direction->addWidget(RB_down);
        direction->addStretch(1);
        grid->addLayout(direction, 4, 0, 1, 2);
    }
    LB_result = new QLabel(this);
    LB_result->setObjectName(QStringLiteral("LB_result"));
    grid->addWidget(LB_result, 5, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    BT_findnext = new QPushButton(QStringLiteral("Найти далее"), this);
    BT_findnext->setDefault(true);
    buttons->addWidget(BT_findnext);
    connect(BT_findnext, &QPushButton::clicked, this, [this] { FindNext(); });
    if (mode == Replace) {
        BT_replace = new QPushButton(QStringLiteral("Заменить"), this);
        BT_replaceall = new QPushButton(QStringLiteral("Заменить все"), this);
        buttons->addWidget(BT_replace);
        buttons->addWidget(BT_replaceall);
        connect(BT_replace, &QPushButton::clicked, this, [this] { ReplaceOne(); });
        connect(BT_replaceall, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    }
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(cancel);
    buttons->addStretch(1);

    auto* row = new QHBoxLayout(this);
    row->addLayout(grid, 1);
    row->addLayout(buttons);
    connect(ED_find, &QLineEdit::textChanged, this, [this] {
        BT_findnext->setEnabled(!ED_find->text().isEmpty());
        LB_result->clear();
    });
    BT_findnext->setEnabled(false);
}

int TextSearchDialog::Flags() const
{
    QTextDocument::FindFlags flags;
    if (CB_wholeword->isChecked()) {
        flags |= QTextDocument::FindWholeWords;
    }
    if (CB_matchcase->isChecked()) {
        flags |= QTextDocument::FindCaseSensitively;
    }
    if (RB_up && RB_up->isChecked()) {
        flags |= QTextDocument::FindBackward;
    }
    return static_cast<int>(flags);
}

bool TextSearchDialog::FindNext()
{
    const QString what = ED_find->text();
    if (what.isEmpty()) {
        return false;
    }
    const bool found = m_edit->find(what, QTextDocument::FindFlags(Flags()));
    LB_result->setText(found ? QString() : QStringLiteral("Не найдено: «%1»").arg(what));
    return found;
}

bool TextSearchDialog::SelectionMatches() const
{
    const QString selected = m_edit->textCursor().selectedText();
    const Qt::CaseSensitivity cs = CB_matchcase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return !selected.isEmpty() && selected.compare(ED_find->text(), cs) == 0;
}

void TextSearchDialog::ReplaceOne()
{
    if (SelectionMatches()) {
        m_edit->textCursor().insertText(ED_replace->text());
    }
    FindNext();
}

int TextSearchDialog::ReplaceAll()
{
    const QString what = ED_find->text();
    if (what.isEmpty()) {
        return 0;
    }
    QTextDocument* doc = m_edit->document();
    QTextCursor edit(doc);
    edit.beginEditBlock();
    QTextCursor at(doc);
    int count = 0;
    const QTextDocument::FindFlags flags(Flags() & ~QTextDocument::FindBackward);
    while (true) {
        at = doc->find(what, at, flags);
        if (at.isNull()) {
            break;
        }
        at.insertText(ED_replace->text());
        ++count;
    }
    edit.endEditBlock();
    LB_result->setText(QStringLiteral("Заменено: %1").arg(count));
    return count;
}

void TextSearchDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (onShow) {
        onShow();
    }
}

void TextSearchDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (onClose) {
        onClose();
    }
}

} // namespace vb
