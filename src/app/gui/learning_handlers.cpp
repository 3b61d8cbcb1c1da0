// Handlers and operations of the lesson window that belong to other areas, grouped by area. A group
// forwards to its area's code, or keeps a minimal version while the area is still to come; it moves
// into its own file when it grows.

#include "app/gui/form_learning.h"

#include "app/gui/form_about.h"
#include "app/gui/help.h"
#include "common/clock.h"
#include "engine/gui/mosaic_page.h"
#include "engine/gui/variant_page.h"
#include "engine/progress_file.h"

#include <QTabWidget>
#include <QTimer>

namespace vb {

// ---------------------------------------------------------------------------------------------------
// Random generator

void TForm_Learning::SeedRandomGenerator()
{
    lesson.SeedRandom(SystemClock());
}

// ---------------------------------------------------------------------------------------------------
// Settings store

// The card window keeps these values and saves them.
void TForm_Learning::SaveCardSettings() { }

// ---------------------------------------------------------------------------------------------------
// Lesson words and progress

void TForm_Learning::SaveProgress()
{
    lesson.SaveProgress();
}

// ---------------------------------------------------------------------------------------------------
// Text page

void TForm_Learning::ResetTextPage() { }

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
// Pronunciation

void TForm_Learning::m_lesson_voiceClick()
{
    if (m_ctx.settings) {
        m_ctx.settings->SetVoice(m_lesson_voice->isChecked());
    }
}

// ---------------------------------------------------------------------------------------------------
// Word cards

void TForm_Learning::TimerCardTimer() { }

void TForm_Learning::TimerTesaurusTimer() { }

void TForm_Learning::TimerTranslateTimer() { }

// ---------------------------------------------------------------------------------------------------
// Pupils

void TForm_Learning::BuildPupilMenu() { }

void TForm_Learning::m_lesson_pupil_newClick() { }

void TForm_Learning::m_lesson_pupil_deleteClick() { }

// ---------------------------------------------------------------------------------------------------
// Dictionary files and fonts

void TForm_Learning::OpenDictionary(const std::string& path)
{
    Settings.DictionaryPath = path;
    // The pages and the answer echo point into the old words; the caller sets the next task.
    TimerPronounceWord->stop();
    TimerPronounceTrsl->stop();
    variantPage->ClearTask();
    mosaicPage->ClearLists();
    // An unreadable file leaves the lesson empty with DictionaryPath kept, as the dictionary grid will.
    lesson.LoadLessonWords(path, ProgressFilePath(m_ctx.paths.UsersFolder(), PupilName, path));
    if (SettingsLoaded) {
        LoadDictionaryFonts();
    }
}

bool TForm_Learning::AskSaveChanges()
{
    return true;
}

void TForm_Learning::m_dict_openClick() { }

void TForm_Learning::m_dict_createClick() { }

void TForm_Learning::m_dict_saveasClick() { }

void TForm_Learning::m_dict_saveClick() { }

void TForm_Learning::m_dict_undoClick() { }

void TForm_Learning::LoadDictionaryFonts() { }

void TForm_Learning::BTfontClick() { }

// ---------------------------------------------------------------------------------------------------
// Help

void TForm_Learning::m_contentClick()
{
    if (m_ctx.message) {
        OpenHelpPage(m_ctx.paths.HelpPage(), *m_ctx.message);
    }
}

void TForm_Learning::m_aboutClick()
{
    if (m_ctx.about) {
        m_ctx.about->ShowModalAbout();
    }
}

} // namespace vb
