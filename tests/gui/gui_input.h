// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Real mouse and key events for the GUI tests, sent the way a user's input arrives, and a way to act
// inside a modal loop that the test itself has started.

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace vbtest {

// One mouse event at `pos`; presses, releases and double clicks come from the left button.
inline void Mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void ClickAt(QWidget* w, QPoint pos)
{
    Mouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

inline void MouseClick(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPoint pos = QPoint(-1, -1))
{
    if (pos == QPoint(-1, -1)) {
        pos = widget->rect().center();
    }
    const QPointF global = widget->mapToGlobal(QPointF(pos));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(pos), global, button, button, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

inline void KeyClick(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// Runs `action` once `dialog` runs modally. Gives up (and closes it, so the test fails instead of
// hanging) after a few seconds.
inline void WhenModal(QWidget* dialog, std::function<void()> action)
{
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, dialog, action = std::move(action)] {
        if (QApplication::activeModalWidget() == dialog && dialog->isVisible()) {
            timer->stop();
            action();
        } else if (clock->elapsed() > 5000) {
            timer->stop();
            dialog->close();
        } else {
            return;
        }
        timer->deleteLater();
        delete clock;
    });
    timer->start(10);
}

} // namespace vbtest
