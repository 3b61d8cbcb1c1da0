// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson window's side of the text page.

#include "app/gui/form_learning.h"

#include "dictionary/gui/dictionary_grid.h"
#include "dictionary/gui/dictionary_navigator.h"
#include "engine/gui/status_bar.h"
#include "text/gui/text_page.h"

#include <QAction>
#include <QFrame>
#include <QLayout>
#include <QMenu>
#include <QToolButton>

#include <initializer_list>

namespace vb {

// ---------------------------------------------------------------------------------------------------
// Text page

void TForm_Learning::CreateTextPage()
{
    TextPageHooks hooks;
    hooks.dialogShown = [this] { SecondaryShown(); };
    hooks.dialogHidden = [this] { SecondaryHidden(); };
    hooks.updateStatusBar = [this] { UpdateStatusBar(); };
    hooks.notice = [this](const std::string& text) { m_dialog.ShowMessageDialog(text, "", "понятно", ""); };
    hooks.fontDialog = [this](const QFont& font, const QColor& color) -> std::optional<FontAndColor> {
        if (m_ctx.settings && m_ctx.settings->fontColorDialog) {
            return m_ctx.settings->fontColorDialog(font, color);
        }
        return std::nullopt;
    };
    hooks.saveLearningSettings = [this] { SaveLearningSettings(true); };
    hooks.askSaveChanges = [this] { return AskSaveChanges(); };
    hooks.dictionaryPath = [this] { return Settings.DictionaryPath; };
    hooks.openDictionary = [this](const std::string& path) {
        OpenDictionary(path);
        SelectPage(kPageDictionary);
        PageControlChange();
    };
    hooks.progress = [this](int percent) { StatusBar->SetProgress(percent); };
    hooks.hideProgress = [this] { StatusBar->HideProgress(); };
    hooks.buildRunning = [this](bool running) { ShowBuildRunning(running); };

    textPage = new TextPage(Settings, std::move(hooks), PageText);
    PageText->layout()->addWidget(textPage);
    textOptions = new TextOptionsPanel(Settings, PanelText);
    PanelText->layout()->setContentsMargins(0, 0, 0, 0);
    PanelText->layout()->addWidget(textOptions);
}

void TForm_Learning::ResetTextPage()
{
    // A page made later takes the settings as it is made.
    if (!textPage) {
        return;
    }
    textPage->ResetText();
    // Runs right after every load of the settings, so the page also takes the loaded font and options.
    textPage->ApplyStoredFont();
    textOptions->ShowSettings();
}

void TForm_Learning::ShowBuildRunning(bool running)
{
    m_buildRunning = running;
    // Save and undo keep their state: they follow the changed flag.
    for (QAction* action :
         {m_dict_open, m_dict_open_list->menuAction(), m_dict_create, m_dict_saveas, m_lesson_pupil->menuAction()}) {
        action->setEnabled(!running);
    }
    if (!HiddenPagesCreated()) {
        return;
    }
    for (QWidget* control : std::initializer_list<QWidget*>{BTopen, BTnew, DBGridDict, DBNavigator}) {
        control->setEnabled(!running);
    }
}

TextPageStatus TForm_Learning::TextStatus() const
{
    TextPageStatus status;
    status.BasicDictionaryPath = Settings.BasicDictionaryPath;
    if (textPage) {
        status.CharacterCount = textPage->CharacterCount();
        status.TextFilePath = textPage->TextFilePath();
        status.Encoding = EncodingCaption(textPage->TextFormat());
    }
    return status;
}

} // namespace vb
