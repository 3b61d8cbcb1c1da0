// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/first_frame.h"

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace vb {

namespace {

class FirstFrameWatcher : public QObject
{
public:
    FirstFrameWatcher(QObject* parent, std::function<void()> work) : QObject(parent), m_work(std::move(work)) { }

    void Run()
    {
        if (m_work) {
            const std::function<void()> work = std::move(m_work);
            m_work = nullptr;
            work();
        }
        deleteLater();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_work && !m_queued) {
            // Once the paint is done and on its way to the screen.
            m_queued = true;
            QTimer::singleShot(0, this, &FirstFrameWatcher::Run);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_work;
    bool m_queued = false;
};

} // namespace

void AfterFirstFrame(QWidget* window, std::function<void()> work, int latestMs)
{
    auto* watcher = new FirstFrameWatcher(window, std::move(work));
    window->installEventFilter(watcher);
    QTimer::singleShot(latestMs, watcher, &FirstFrameWatcher::Run);
}

} // namespace vb
