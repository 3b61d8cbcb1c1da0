// SPDX-License-Identifier: GPL-3.0-or-later
// Handlers and operations of the lesson window that belong to no single area.

#include "app/gui/form_learning.h"

#include "app/gui/form_about.h"
#include "app/gui/help.h"
#include "common/clock.h"
#include "engine/gui/mosaic_page.h"
#include "engine/gui/statistics_window.h"
#include "engine/gui/variant_page.h"
#include "engine/progress_file.h"

#include <QTabWidget>
#include <QTimer>

namespace vb {

// ---------------------------------------------------------------------------------------------------
// Random generator

void TForm_Learning::SeedRandomGenerator()
{
    lesson.SeedRandom(m_ctx.seedClock ? *m_ctx.seedClock : SystemClock());
}

// ---------------------------------------------------------------------------------------------------
// Lesson words and progress

void TForm_Learning::SaveProgress()
{
    lesson.SaveProgress();
}

// ---------------------------------------------------------------------------------------------------
// Help

void TForm_Learning::m_contentClick()
{
    if (m_ctx.message) {
        OpenHelpPage(m_ctx.paths.HelpPage(), *m_ctx.message);
    }
}

void TForm_Learning::m_lesson_statClick()
{
    TForm_Stat window(lesson, this, &m_ctx);
    window.SetHooks(SecondaryHooks());
    window.ShowModalStat();
}

void TForm_Learning::m_aboutClick()
{
    if (m_ctx.about) {
        m_ctx.about->ShowModalAbout();
    }
}

} // namespace vb
