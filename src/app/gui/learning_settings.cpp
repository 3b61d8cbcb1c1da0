// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the lesson window's settings, and its side of the settings window.

#include "app/gui/form_learning.h"

#include "app/gui/learning_startup.h"
#include "engine/gui/mosaic_page.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

namespace vb {

void TForm_Learning::LoadLearningSettings()
{
    lesson.ExerciseLeft = 20;
    lesson.LearnedCount = 0;
    const LearningLoadResult result = vb::LoadLearningSettings(*m_ctx.registry, PupilKey, Settings);
    if (result.Read("SetSE_CountWEx")) {
        lesson.ExerciseLeft = Settings.SE_CountWEx;
    }

    // Geometry and page, each as far as the reading got; the minimum size still holds.
    ApplyTopPlacement(PlaceLearningTop(result, Settings, SettingsLoaded, WindowTop()));
    if (result.Read("LearningLeft")) {
        PlaceAt(Settings.Left, WindowTop());
    }
    if (result.Read("LearningHeight")) {
        resize(width(), Settings.Height);
    }
    if (result.Read("LearningWidth")) {
        resize(Settings.Width, height());
    }
    if (result.Read("LearningTab")) {
        ApplyStoredTab(Settings.ActiveMethod);
    }

    if (result.Read("LearningMozWidth")) {
        mosaicPage->SetLearningMozWidth(Settings.MozWidth);
    }

    // The lesson switches keep their state when nothing was read.
    m_lesson_visual->setChecked(Settings.m_lesson_visual);
    m_lesson_dictant->setChecked(Settings.m_lesson_dictant);
    pm_visual->setChecked(Settings.m_lesson_visual);
    pm_dictant->setChecked(Settings.m_lesson_dictant);
    ApplyWritingOptions();
    ApplyStoredColors();

    BuildPupilMenu();
    ResetTextPage();
    // Hidden until the first right answer: an empty coloured label would show as a stray patch.
    for (QLabel* label : {LastWord, LastTesaurus, LastTranscr, LastWordTransl}) {
        label->clear();
        label->hide();
    }

    // The command-line dictionary counts only at start-up, not on later pupil changes.
    const std::string path =
        ChooseDictionary(Settings.DictionaryPath, m_ctx.args, SettingsLoaded, m_ctx.paths.DefaultDictionary());
    const bool fromCommandLine = !SettingsLoaded && !m_ctx.args.empty() && path == m_ctx.args.front();
    if (!OpenDictionary(path) && fromCommandLine) {
        // Told once the program's windows exist; the message window is made after this one.
        QTimer::singleShot(0, this, [this, path] { TellDictionaryNotOpened(path); });
    }
}

void TForm_Learning::CollectLearningSettings()
{
    Settings.Top = StoredTop();
    Settings.Left = WindowLeft();
    Settings.Height = height();
    Settings.Width = width();
    // The method, not the page shown: the dictionary and text pages are never restored.
    Settings.ActiveMethod = lesson.ActiveMethod;
    Settings.m_lesson_visual = m_lesson_visual->isChecked();
    Settings.m_lesson_dictant = m_lesson_dictant->isChecked();
    Settings.MozWidth = mosaicPage->LearningMozWidth();
    CollectColors();
}

void TForm_Learning::SaveLearningSettings(bool withProgress)
{
    if (withProgress) {
        SaveProgress();
    } else {
        RecentDictionaries.clear();
    }
    CollectLearningSettings();
    vb::SaveLearningSettings(*m_ctx.registry, PupilName, PupilKey, Settings, RecentDictionaries);
}

// ---------------------------------------------------------------------------------------------------
// The settings window

void TForm_Learning::SaveSettings()
{
    if (m_ctx.settings) {
        m_ctx.settings->SaveSettings();
    }
}

bool TForm_Learning::TopmostSetting() const
{
    return m_ctx.settings && m_ctx.settings->Values().CB_Top;
}

TForm_Set::Hooks TForm_Learning::SettingsWindowHooks()
{
    TForm_Set::Hooks hooks;
    hooks.pupilKey = [this] { return PupilKey; };
    hooks.setTopmost = [this](bool topmost) { SetTopmost(topmost); };
    hooks.setDialogOpen = [this](bool open) { DialogOpen = open; };
    hooks.modalClosed = [this] { ModalWasClosed(); };
    hooks.voiceMenu = [this](bool on) { m_lesson_voice->setChecked(on); };
    hooks.settingsLoaded = [this] { SettingsWereLoaded(); };
    hooks.loadLibraryIndexes = [this] { LoadLibraryIndexes(); };
    hooks.saveLearningSettings = [this] { SaveLearningSettings(true); };
    hooks.saveCardSettings = [this] { SaveCardSettings(); };
    hooks.pageControlChange = [this] { PageControlChange(); };
    return hooks;
}

void TForm_Learning::SettingsWereLoaded()
{
    if (!SettingsLoaded) {
        LoadDictionaryFonts();
    }
    SettingsLoaded = true;
}

void TForm_Learning::m_set_commonClick()
{
    if (m_ctx.settings) {
        m_ctx.settings->ShowPage(TForm_Set::kPageCommon);
    }
}

void TForm_Learning::m_set_learningClick()
{
    if (m_ctx.settings) {
        m_ctx.settings->ShowPage(TForm_Set::kPageLearning);
    }
}

void TForm_Learning::m_set_cardClick()
{
    if (m_ctx.settings) {
        m_ctx.settings->ShowPage(TForm_Set::kPageCard);
    }
}

void TForm_Learning::m_set_voiceClick()
{
    if (m_ctx.settings) {
        m_ctx.settings->ShowPage(TForm_Set::kPageVoice);
    }
}

} // namespace vb
