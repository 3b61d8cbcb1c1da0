// The lesson window's side of the tray and of the word cards.

#include "app/gui/form_learning.h"

namespace vb {

// ---------------------------------------------------------------------------------------------------
// Tray

void TForm_Learning::RegisterTrayIcon() { }

void TForm_Learning::RemoveTrayIcon() { }

void TForm_Learning::HideToTray()
{
    // Without an icon in the notification area a hidden window could only come back through a second
    // start, so it is minimised instead and stays on the task bar.
    showMinimized();
}

void TForm_Learning::ShowFromTray()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TForm_Learning::TimerHideLearnFormTimer() { }

void TForm_Learning::m_cardClick() { }

// ---------------------------------------------------------------------------------------------------
// Word cards

void TForm_Learning::TimerCardTimer() { }

void TForm_Learning::TimerTesaurusTimer() { }

void TForm_Learning::TimerTranslateTimer() { }

// ---------------------------------------------------------------------------------------------------
// Settings store

// The card window keeps these values and saves them.
void TForm_Learning::SaveCardSettings() { }

} // namespace vb
