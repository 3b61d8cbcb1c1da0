// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_user.h"
#include "common/gui/accessible_names.h"

#include "common/pupils.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace vb {

TForm_User::TForm_User(AppContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Form_User"));
    setWindowTitle(QStringLiteral("Новый ученик"));
    setFixedSize(217, 62);

    ED_User = new QLineEdit(this);
    ED_User->setObjectName(QStringLiteral("ED_User"));
    ED_User->setToolTip(QStringLiteral("Введите имя нового ученика"));
    ED_User->setMaxLength(kMaxNameLength);
    ED_User->setGeometry(8, 6, 201, 23);
    ED_User->installEventFilter(this);

    BT_Save = new QPushButton(QStringLiteral("Сохранить"), this);
    BT_Save->setObjectName(QStringLiteral("BT_Save"));
    BT_Save->setGeometry(8, 34, 97, 23);
    connect(BT_Save, &QPushButton::clicked, this, &TForm_User::BT_SaveClick);

    BT_Close = new QPushButton(QStringLiteral("отмена"), this);
    BT_Close->setObjectName(QStringLiteral("BT_Close"));
    BT_Close->setGeometry(112, 34, 97, 23);
    connect(BT_Close, &QPushButton::clicked, this, &TForm_User::BT_CloseClick);
    NameForScreenReaders(this);
}

void TForm_User::ShowModalUser()
{
    exec();
}

void TForm_User::FormShow()
{
    if (m_hooks.window.shown) {
        m_hooks.window.shown();
    }
    ED_User->clear();
    ED_User->setFocus();
}

void TForm_User::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    CenterOnLessonWindow(*this, m_ctx);
    FormShow();
}

void TForm_User::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous() && m_hooks.window.hidden) {
        m_hooks.window.hidden();
    }
}

bool TForm_User::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ED_User && event->type() == QEvent::KeyPress &&
        ED_UserKeyPress(static_cast<QKeyEvent*>(event)->key())) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm_User::ED_UserKeyPress(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        return false;
    }
    // Taken here, so the dialog's default button does not run on the same key.
    ED_User->setText(QString::fromStdString(CleanPupilName(ED_User->text().toStdString())));
    BT_Save->setFocus();
    return true;
}

void TForm_User::BT_CloseClick()
{
    ED_User->clear();
    close();
}

void TForm_User::BT_SaveClick()
{
    const std::string name = CleanPupilName(ED_User->text().toStdString());
    ED_User->setText(QString::fromStdString(name));
    if (m_hooks.savePupil) {
        m_hooks.savePupil(name);
    }
    BT_CloseClick();
    if (m_hooks.restartLesson) {
        m_hooks.restartLesson();
    }
}

} // namespace vb
