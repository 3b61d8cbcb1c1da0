// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_message.h"
#include "common/gui/accessible_names.h"

#include "app/gui/form_learning.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

#include <deque>

namespace vb {

namespace {

std::deque<int>& NextAnswers()
{
    static std::deque<int> answers;
    return answers;
}

std::function<std::optional<int>(const TForm_Message::Record&)>& Answerer()
{
    static std::function<std::optional<int>(const TForm_Message::Record&)> answerer;
    return answerer;
}

TForm_Message::Record& LastRecord()
{
    static TForm_Message::Record record;
    return record;
}

int& RecordCount()
{
    static int count = 0;
    return count;
}

} // namespace

void CenterOnLessonWindow(QWidget& window, const AppContext& ctx)
{
    QWidget* anchor = ctx.learning;
    if (anchor == nullptr || !anchor->isVisible()) {
        QWidget* parent = window.parentWidget();
        anchor = parent != nullptr && parent->isVisible() ? parent->window() : nullptr;
    }
    QRect area;
    if (anchor != nullptr) {
        area = anchor->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    } else {
        return;
    }
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

TForm_Message::TForm_Message(AppContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint), m_ctx(ctx)
{
    setWindowTitle(QStringLiteral("Сообщение программы"));
    setFixedSize(317, 87);

    LB_Message = new QLabel(this);
    LB_Message->setObjectName(QStringLiteral("LB_Message"));
    LB_Message->setGeometry(36, 5, 279, 48);
    LB_Message->setAlignment(Qt::AlignCenter);
    LB_Message->setWordWrap(true);
    // Texts may carry pupil names and file names: never let them be read as markup.
    LB_Message->setTextFormat(Qt::PlainText);

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(6, 13, 32, 32);
    // The picture comes with the first show: looking it up in the icon theme is slow, and a start has no
    // message to show.

    QPushButton** buttons[3] = {&bt_1, &bt_2, &bt_3};
    const int lefts[3] = {41, 121, 201};
    for (int k = 0; k < 3; ++k) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("bt_%1").arg(k + 1));
        button->setGeometry(lefts[k], 56, 75, 25);
        connect(button, &QPushButton::clicked, this, [this, k] { ButtonClick(k + 1); });
        *buttons[k] = button;
    }
    setTabOrder(bt_1, bt_2);
    setTabOrder(bt_2, bt_3);
    NameForScreenReaders(this);
}

int TForm_Message::ShowMessageDialog(const std::string& text, const std::string& caption1, const std::string& caption2,
                                     const std::string& caption3)
{
    LastRecord() = Record{text, caption1, caption2, caption3};
    ++RecordCount();

    std::optional<int> queued;
    if (!NextAnswers().empty()) {
        queued = NextAnswers().front();
        NextAnswers().pop_front();
    } else if (Answerer()) {
        queued = Answerer()(LastRecord());
    }
    if (queued) {
        const int answer = *queued;
        if (m_hooks.modalClosed) {
            m_hooks.modalClosed();
        }
        return answer;
    }

    // A timer of the lesson window may ask while this dialog is still open (a second start
    // opening a dictionary with unsaved edits, say). The open dialog cannot run a second modal
    // loop, so a fresh one asks; the open one keeps DialogOpen set meanwhile.
    if (isVisible()) {
        TForm_Message nested(m_ctx, parentWidget());
        nested.SetHooks({{}, {}, m_hooks.modalClosed});
        return nested.ShowMessageDialog(text, caption1, caption2, caption3);
    }

    m_text = QString::fromStdString(text);
    m_captions[0] = QString::fromStdString(caption1);
    m_captions[1] = QString::fromStdString(caption2);
    m_captions[2] = QString::fromStdString(caption3);

    exec();

    if (m_hooks.modalClosed) {
        m_hooks.modalClosed();
    }
    return m_result;
}

void TForm_Message::SetNextAnswer(int answer)
{
    NextAnswers().push_back(answer);
}

void TForm_Message::SetAnswerer(std::function<std::optional<int>(const Record&)> answerer)
{
    Answerer() = std::move(answerer);
}

const TForm_Message::Record& TForm_Message::LastMessage()
{
    return LastRecord();
}

int TForm_Message::MessageCount()
{
    return RecordCount();
}

void TForm_Message::ResetTestHooks()
{
    NextAnswers().clear();
    Answerer() = nullptr;
    LastRecord() = Record{};
    RecordCount() = 0;
}

void TForm_Message::showEvent(QShowEvent* event)
{
    if (Image->pixmap().isNull()) {
        Image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    }
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TForm_Message::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous() && m_hooks.hidden) {
        m_hooks.hidden();
    }
}

void TForm_Message::keyPressEvent(QKeyEvent* event)
{
    // No button is the cancel button, so Esc must not answer a question.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm_Message::FormShow()
{
    if (m_hooks.shown) {
        m_hooks.shown();
    }
    m_result = 0;
    LB_Message->setText(m_text);
    // A text too long for the label shows its beginning rather than its middle.
    const bool fits = LB_Message->heightForWidth(LB_Message->width()) <= LB_Message->height();
    LB_Message->setAlignment(Qt::AlignHCenter | (fits ? Qt::AlignVCenter : Qt::AlignTop));
    QPushButton* buttons[3] = {bt_1, bt_2, bt_3};
    for (int k = 0; k < 3; ++k) {
        buttons[k]->setVisible(!m_captions[k].isEmpty());
        buttons[k]->setText(m_captions[k]);
    }
    // Focus the first shown button, as the design's tab order would.
    for (QPushButton* button : buttons) {
        if (button->isVisible()) {
            button->setFocus(Qt::OtherFocusReason);
            break;
        }
    }
    CenterOnLessonWindow(*this, m_ctx);
}

void TForm_Message::ButtonClick(int number)
{
    m_result = number;
    done(number);
}

} // namespace vb
