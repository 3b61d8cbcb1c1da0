// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings window "Настройка": four pages of options, opened modally from the "Настройки" menu on one
// of its pages. It has no confirm or cancel button: closing it (also by activating another window of the
// program) applies the settings.
//
// Its values live in a SettingsWindowValues struct that every control writes back to at once; other parts
// read them through Values() (or the controls, which are public under their design names).

#include "app/gui/app_context.h"
#include "app/gui/font_color_dialog.h"
#include "engine/settings.h"
#include "voice/sound_output.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace vb {

class RadioGroup;
class SpinEdit;

class TForm_Set : public QDialog
{
    Q_OBJECT
public:
    // What the settings window needs from the lesson window, which owns the pupil, the topmost state and
    // the flags of the secondary-window protocol. Any hook may be left empty.
    struct Hooks
    {
        // PupilKey of the current pupil.
        std::function<std::string()> pupilKey;
        // SetTopmost(flag).
        std::function<void(bool)> setTopmost;
        // DialogOpen := flag.
        std::function<void(bool)> setDialogOpen;
        // ModalClosed := true, after the window has closed.
        std::function<void()> modalClosed;
        // The menu item "Озвучивать задания" takes this state (CB_VoiceClick).
        std::function<void(bool)> voiceMenu;
        // End of every load: the open dictionary's fonts when SettingsLoaded is still false, then
        // SettingsLoaded := true.
        std::function<void()> settingsLoaded;
        // The sound library's indexes, after a load and on closing.
        std::function<void()> loadLibraryIndexes;
        // Closing: SaveLearningSettings(true), SaveCardSettings, PageControlChange.
        std::function<void()> saveLearningSettings;
        std::function<void()> saveCardSettings;
        std::function<void()> pageControlChange;
    };

    enum Page {
        kPageCommon = 0, // "Общие"
        kPageLearning = 1, // "Обучение"
        kPageCard = 2, // "Карточка"
        kPageVoice = 3, // "Озвучивание"
    };

    // Runs FormCreate: the settings of the current pupil are loaded (the pupil is read from the store, as
    // the lesson window has just done; the hooks come later).
    explicit TForm_Set(AppContext& ctx, QWidget* parent = nullptr);
    // Runs FormDestroy: SaveSettings.
    ~TForm_Set() override;

    // Sets the hooks and runs, once, the effects of the load at creation that needed them.
    void SetHooks(Hooks hooks);

    // The four "Настройки" menu items (m_set_commonClick ... m_set_voiceClick): selects the page and shows
    // the window modally. Returns at once; closing applies and then reports ModalClosed.
    void ShowPage(int index);

    const SettingsWindowValues& Values() const { return m_values; }
    // Takes new values (for instance the dictionary's fonts) and shows them; check boxes whose state
    // changes run their click handlers.
    void ApplyValues(const SettingsWindowValues& values);

    // LoadSettings and SaveSettings for the current pupil (pupil operations, lesson window shown or hidden).
    void LoadSettings();
    void SaveSettings();

    // m_lesson_voiceClick: the menu item's state goes into CB_Voice.
    void SetVoice(bool on);

    // The font dialog of the three font labels; replaceable so tests never block on it. Returns the chosen
    // font, or nothing when the dialog was cancelled.
    std::function<std::optional<QFont>(const QFont& current)> fontDialog;
    // The same dialog with the colour as well (the text page's font).
    std::function<std::optional<FontAndColor>(const QFont& font, const QColor& color)> fontColorDialog;
    // The folder picker of the sound folders: title and start folder in, the chosen folder out (nothing
    // when cancelled). Replaceable like the font dialog.
    std::function<std::optional<QString>(const QString& title, const QString& start)> folderDialog;
    // The open-file dialog of the library indexes: title, filter, start folder, file name.
    std::function<std::optional<QString>(const QString& title, const QString& filter, const QString& folder,
                                         const QString& file)>
        fileDialog;

    // SelectVoice for words and for translations: the side's engine takes the selected voice; nothing
    // happens while no item is selected.
    void SelectVoice(bool isWord);

    // ---- Controls, by page
    QTabWidget* PageControl = nullptr;

    // "Общие"
    QGroupBox* GBox_Params = nullptr;
    QCheckBox* CB_Start = nullptr;
    QCheckBox* CB_Top = nullptr;
    QCheckBox* CB_StartTray = nullptr;
    QCheckBox* CB_TrayEndEx = nullptr;
    QCheckBox* CB_Card = nullptr;
    QCheckBox* CB_PopUp = nullptr;
    SpinEdit* SE_TimeHide = nullptr;
    QCheckBox* CB_Voice = nullptr;
    QGroupBox* GBox_Fonts = nullptr;
    QLabel* LB_WordFont = nullptr;
    QLabel* LB_TrslFont = nullptr;
    QLabel* LB_TrscFont = nullptr;
    QComboBox* CBE_Word = nullptr;
    QComboBox* CBE_Trsl = nullptr;
    RadioGroup* RG_TesFontSH = nullptr;

    // "Обучение"
    QGroupBox* GBox_Ball = nullptr;
    SpinEdit* SE_Var_Ball = nullptr;
    SpinEdit* SE_Var_Straf = nullptr;
    SpinEdit* SE_Var_Stop = nullptr;
    SpinEdit* SE_Moz_Ball = nullptr;
    SpinEdit* SE_Moz_Straf = nullptr;
    SpinEdit* SE_Moz_Stop = nullptr;
    SpinEdit* SE_Enter_Ball = nullptr;
    SpinEdit* SE_Enter_Straf = nullptr;
    SpinEdit* SE_Enter_Stop = nullptr;
    SpinEdit* SE_Ball_Len = nullptr;
    SpinEdit* SE_Ball_Letter = nullptr;
    SpinEdit* SE_Ball_Word = nullptr;
    RadioGroup* RG_Shtraf = nullptr;
    RadioGroup* RG_WordShow = nullptr;
    RadioGroup* RG_Transc = nullptr;
    QCheckBox* CB_Sort = nullptr;
    QGroupBox* GBox_Mode = nullptr;
    SpinEdit* SE_CountWLs = nullptr;
    QCheckBox* CB_Review = nullptr;
    SpinEdit* SE_Retention = nullptr;
    SpinEdit* SE_CountWEx = nullptr;
    SpinEdit* SE_CountVar = nullptr;
    SpinEdit* SE_CountMoz = nullptr;

    // "Карточка"
    QCheckBox* CB_CardShowTrsc = nullptr;
    QCheckBox* CB_CardShowTesaurus = nullptr;
    SpinEdit* SE_TimeWord = nullptr;
    SpinEdit* SE_TimeTransl = nullptr;
    QLabel* LB_TimeTrsc = nullptr;
    QGroupBox* GBox_CardVoice = nullptr;
    QCheckBox* CB_CardVoiceWord = nullptr;
    QCheckBox* CB_CardVoiceTransl = nullptr;
    QCheckBox* CB_CardVoiceTesaurus = nullptr;
    RadioGroup* RG_CardLW = nullptr;

    // "Озвучивание"
    QGroupBox* GBox_DirWAV = nullptr;
    QLineEdit* ED_DirWAVWord = nullptr;
    QLineEdit* ED_DirWAVTransl = nullptr;
    QToolButton* SB_DirWAVWord = nullptr;
    QToolButton* SB_DirWAVTransl = nullptr;
    QGroupBox* GBox_LibWAV = nullptr;
    QLineEdit* ED_LibWAVWord = nullptr;
    QLineEdit* ED_LibWAVTransl = nullptr;
    QToolButton* SB_LibWAVWord = nullptr;
    QToolButton* SB_LibWAVTransl = nullptr;
    QGroupBox* GBox_Synt = nullptr;
    QComboBox* CBx_SyntWord = nullptr;
    QComboBox* CBx_SyntTransl = nullptr;
    RadioGroup* RG_Voice = nullptr;
    QGroupBox* GBox_Pos = nullptr;
    SpinEdit* SE_PosDir = nullptr;
    SpinEdit* SE_PosLib = nullptr;
    SpinEdit* SE_PosSynt = nullptr;

public slots:
    void CB_VoiceClick();
    void LB_WordFontClick();
    void LB_TrslFontClick();
    void LB_TrscFontClick();
    void SB_DirWAVWordClick();
    void SB_DirWAVTranslClick();
    void SB_LibWAVWordClick();
    void SB_LibWAVTranslClick();
    void CBx_SyntWordChange();
    void CBx_SyntTranslChange();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreatePageCommon();
    void CreatePageLearning();
    void CreatePageCard();
    void CreatePageVoice();
    // Control factories that also bind the control to its field.
    QCheckBox* AddCheck(const char* name, const QString& caption, bool SettingsWindowValues::*field);
    SpinEdit* AddSpin(const char* name, BoundedInt SettingsWindowValues::*field);
    RadioGroup* AddRadio(const char* name, const QString& title, const QStringList& items, bool horizontal,
                         BoundedInt SettingsWindowValues::*field);
    QLineEdit* AddPathEdit(const char* name, std::string SettingsWindowValues::*field);
    QComboBox* AddVoiceList(const char* name, std::string SettingsWindowValues::*field);
    QComboBox* AddLayoutList(const char* name, BoundedInt SettingsWindowValues::*field);

    // Shows m_values in the controls.
    void ShowValues();
    // The load's effects on the lesson window and the voice and library parts.
    void RunLoadEffects();
    void EditFont(QLabel* label, std::string SettingsWindowValues::*name);
    void ChooseFolder(QLineEdit* edit);
    void ChooseLibraryIndex(QLineEdit* edit, const QString& title);
    // The voice lists, once the speech engines have listed their voices.
    void ShowVoiceLists(const std::vector<SpeechVoice>& voices);
    std::string PupilKey() const;

    void FormShow();
    void FormHide();

    AppContext& m_ctx;
    Hooks m_hooks;
    SettingsWindowValues m_values;
    SettingsLoadResult m_lastLoad;
    // The load at creation ran before the hooks existed; SetHooks runs its effects.
    bool m_loadEffectsPending = false;
    // Set while ShowValues fills the controls, so their write-back does not echo.
    bool m_showing = false;
    bool m_hooksSet = false;
};

} // namespace vb
