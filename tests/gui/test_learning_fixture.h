// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A lesson window over an in-memory settings store, in a fresh VERBANTA_HOME.

#include "app/gui/app_context.h"
#include "app/gui/form_learning.h"
#include "support/temp_home.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QThread>

#include <memory>
#include <string>
#include <vector>

namespace vbtest {

class LearningFixture
{
public:
    LearningFixture() : ctx(vb::AppPaths(home.Path(), home.Path(), home.Path()), vb::MakeMemoryRegistry(), {}) { }

    vb::Registry& Store() { return *ctx.registry; }

    // Writes values into the default pupil's key, creating it.
    void PupilInt(const std::string& name, int value)
    {
        Store().CreateKey(kPupilKey);
        Store().WriteInt(kPupilKey, name, value);
    }

    // Creates the window; the store must hold what the test wants it to find at start.
    vb::TForm_Learning& Create()
    {
        form = std::make_unique<vb::TForm_Learning>(ctx);
        ctx.learning = form.get();
        return *form;
    }

    static constexpr const char* kPupilKey = "Software\\Verbanta\\Default";

    TempHome home;
    vb::AppContext ctx;
    std::unique_ptr<vb::TForm_Learning> form;
};

// A menu as its captions, "-" for a separator, "<caption>>" for a submenu.
inline std::vector<std::string> MenuOutline(const QMenu* menu)
{
    std::vector<std::string> out;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            out.emplace_back("-");
        } else if (action->menu()) {
            out.push_back(action->text().toStdString() + ">");
        } else {
            out.push_back(action->text().toStdString());
        }
    }
    return out;
}

// Runs the event loop until `done` holds; false when `timeoutMs` passes first.
template <class F>
bool WaitUntil(F done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

} // namespace vbtest
