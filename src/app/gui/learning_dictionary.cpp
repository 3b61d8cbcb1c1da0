// The lesson window's dictionary files and the dictionary fonts.

#include "app/gui/form_learning.h"

#include "engine/gui/mosaic_page.h"
#include "engine/gui/variant_page.h"
#include "engine/progress_file.h"
#include <QTimer>

namespace vb {

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

} // namespace vb
