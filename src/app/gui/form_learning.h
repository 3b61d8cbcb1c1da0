// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The lesson window, the program's main window. It holds the lesson pages, the dictionary and text
// pages, the main menu and the timers of the whole program, and it coordinates the secondary windows.
//
// Components and the window's state are public members under their design names: the other windows
// and the later lesson, dictionary, tray and text code read and change them directly, as they read a
// setting from its control.
//
// The code is spread over several files:
//   form_learning.cpp      construction (layout, main menu, timers), life cycle, start-up request,
//                          topmost state, secondary-window protocol, page panels
//   learning_settings.cpp  loading and saving the window's settings, the settings window's hooks
//   learning_lesson.cpp    lesson control: PageControlChange, the lesson commands, the task-word menu,
//                          the window's side of the lesson events and the answer echo
//   learning_tray.cpp      tray icon, hiding and popping up, the word cards' timers
//   learning_writing.cpp   the Writing page and the keyboard layout switch
//   learning_voice.cpp     pronunciation
//   learning_dictionary.cpp dictionary files, the dictionary page and the fonts file
//   learning_pupils.cpp    pupils
//   learning_text.cpp      the text page and the frequency dictionary
//   learning_handlers.cpp  what belongs to no single area: the generator's seed, progress, help

#include "app/gui/app_context.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "app/gui/form_user.h"
#include "cards/card_cycle.h"
#include "cards/gui/form_card.h"
#include "common/message_dialog.h"
#include "dictionary/sdf_data.h"
#include "engine/lesson.h"
#include "engine/settings.h"
#include "engine/status_texts.h"
#include "voice/pronunciation.h"

#include <QMainWindow>
#include <QSystemTrayIcon>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QActionGroup;
class QCheckBox;
class QCloseEvent;
class QComboBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QShowEvent;
class QStackedWidget;
class QTabWidget;
class QTimer;
class QToolButton;

namespace vb {

class ColorMenus;
class DictionaryGrid;
class DictionaryNavigator;
class DictionaryPage;
class DictionarySearchPanel;
class MosaicPage;
class TMyStatusBar;
class TextOptionsPanel;
class TextPage;
class VariantPage;

class TForm_Learning : public QMainWindow, public LessonEvents
{
    Q_OBJECT
public:
    // Runs FormCreate.
    explicit TForm_Learning(AppContext& ctx, QWidget* parent = nullptr);
    // Runs FormDestroy.
    ~TForm_Learning() override;

    // Pages of PageControl by index.
    enum Page {
        kPageVariant = 0,
        kPageMosaic = 1,
        kPageWriting = 2,
        kPageDictionary = 3,
        kPageText = 4,
    };

    // The smallest size of the window (frame excluded).
    static constexpr int kMinimumWidth = 610;
    static constexpr int kMinimumHeight = 376;

    // ---- Life cycle
    // Runs whenever the window becomes visible; also called directly to refresh after a pupil or
    // dictionary change.
    void FormShow();

    // ---- Window placement
    // The window's place is that of its inside (menu bar included), not of its frame: frame sizes
    // differ between desktops and are unknown until the window is first shown, so a frame-based place
    // would drift with every save and load.
    int WindowLeft() const;
    int WindowTop() const;
    void PlaceAt(int left, int top);
    // True while the window sits off screen at start-up, waiting to go to the tray.
    bool IsParked() const { return m_parked; }
    // The top the settings store writes: the saved one while the window is parked.
    int StoredTop() const;

    // ---- Topmost state and secondary windows
    // Makes the window stay on top (or not) without moving, resizing or activating it.
    void SetTopmost(bool topmost);
    // Every secondary window calls these from its show and hide events, and the lesson window's own
    // standard dialogs around their call.
    void SecondaryShown();
    void SecondaryHidden();
    // After a modal window of the program has closed.
    void ModalWasClosed();
    // The three calls above, for a secondary window to keep.
    SecondaryWindowHooks SecondaryHooks();
    // What the settings window asks of the lesson window.
    TForm_Set::Hooks SettingsWindowHooks();
    // End of every load of the settings window: the first one completes the dictionary's fonts.
    void SettingsWereLoaded();

    // ---- Pages
    // Selects a page from code; unlike a click on a tab this does not run PageControlChange.
    void SelectPage(int page);
    // Shows the task strip and the bottom panel that belong to a page: pages 0-2 the last answer,
    // page 3 the search, page 4 the text options; the task strip only on pages 0 and 2.
    void ShowPagePanels(int page);

    // ---- Lesson events
    void UpdateStatusBar() override;
    void ShowLastRightWord(int wordIndex) override;
    // The answer echo: no second answer until the next task (except on Mosaic), then the next task.
    void PronounceRightAnswer() override;
    void LearnedThresholdRaised(int method, int threshold) override;

    // ---- Lesson control (learning_lesson.cpp)
    // The lesson rules' settings from the settings window, after every change there.
    void ApplyLessonParams();
    // Pronounces a text as a foreign word or a translation.
    void Pronounce(const std::string& text, bool isWord);
    // Activates the keyboard layout for typing a translation or a foreign word (learning_writing.cpp).
    void SwitchKeyboardLayout(bool forTranslation);
    // Sets the visibility of the task-word menu's items before it opens.
    void WordPopupMenuPopup();
    // The colours of the labels and lists from Settings, and back.
    void ApplyStoredColors();
    void CollectColors();

    // ---- Area blocks: each area declares its own members in its block below.
    // ---- Tray and word cards
public:
    // The tray icon with its menu TrayPopupMenu; the icon exists for the life of the window.
    QSystemTrayIcon* TrayIcon = nullptr;
    QMenu* TrayPopupMenu = nullptr;
    QAction* pm_tray_show_card = nullptr;
    QAction* pm_tray_hide_card = nullptr;
    QAction* pm_tray_lesson = nullptr;
    QAction* pm_tray_sep = nullptr;
    QAction* pm_quit = nullptr;
    // Whether hiding can go to the tray: a tray is there to show the icon. Otherwise the window is minimised
    // and stays on the task bar. Tests may replace the question.
    std::function<bool()> trayAvailable;
    bool TrayUsable() const;
    // Whether the icon is shown by a StatusNotifier host (over D-Bus), whose activation is a single Trigger.
    // Tests may replace the question.
    std::function<bool()> statusNotifierHost;
    bool TrayOnStatusNotifierHost() const;
    // Put away by HideToTray and not back yet; the window may still be visible, minimised.
    bool HiddenToTray = false;
    // The state of the card cycle: the entry shown and the last index drawn; the card on show.
    CardCycle cardCycle;
    CardFace cardFace;

    // Left click: forward when shown (back from the tray on a StatusNotifier host); double click: back from
    // the tray; right click opens the menu.
    void TrayIconActivated(QSystemTrayIcon::ActivationReason reason);
    // The menu's items by what is hidden and shown now.
    void TrayPopupMenuPopup();
    void pm_tray_hide_cardClick();
    // FormShow: no task bar button while the tray icon is there to come back by.
    void UpdateTaskbarEntry();
    // The card cycle.
    void StartCardCycle();
    void ShowNextCard();
    void HideCard();
    void StopCardTimers();
    // The card window's part of the protocol with the lesson window.
    TForm_Card::Hooks CardWindowHooks();
    // Un-minimising from the task bar while put away is a return to the lessons.
    void changeEvent(QEvent* event) override;

    // ---- Writing
    // The "Написание" page (its controls Enter_Area, Enter_Error, GBox_Enter_Set and the options).
    class WritingPage* writingPage = nullptr;
    // Builds the page into PageWriting and wires it (from CreateLessonPages).
    void CreateWritingPage();
    // The next Writing task, from PageControlChange.
    void SetEnterTask();
    // The page's options from Settings after a load; a box whose state changes runs its click handler.
    void ApplyWritingOptions();
    // Replaces the platform's keyboard layout loader (tests use their own X display).
    void SetKeyboardLayouts(std::unique_ptr<class KeyboardLayouts> layouts);

    // ---- Pronunciation
    // The three sources and the library indexes (learning_voice.cpp).
    Pronouncer& Voice();
    // LoadLibraryIndex for words and translations, from the settings window's paths.
    void LoadLibraryIndexes();

public slots:
    // Pronounce what was clicked: the task (also "Произнести задание"), the last right word, its
    // translation and its thesaurus note.
    void wordClick();
    void LastWordClick();
    void LastWordTranslClick();
    void LastTesaurusClick();

private:
    // Clicks on the task strip and the last-right-word labels.
    void WatchPronunciationClicks();
    std::unique_ptr<Pronouncer> m_pronouncer;

public:
    // ---- Dictionary page and files
    // The dictionary table on the working copy (WorkingCopyPath), shown in the grid of the "Словарь" page.
    TSdfDataSet SdfDataSet;
    std::string WorkingCopyPath;
    DictionaryPage* dictionaryPage = nullptr;
    DictionaryGrid* DBGridDict = nullptr;
    DictionaryNavigator* DBNavigator = nullptr;
    QToolButton* BTopen = nullptr;
    QToolButton* BTnew = nullptr;
    QToolButton* BTfont = nullptr;
    QToolButton* BTsave = nullptr;
    QToolButton* BTUndo = nullptr;
    // The search panel inside PanelFindWord.
    DictionarySearchPanel* searchPanel = nullptr;
    QComboBox* CBxFieldList = nullptr;
    QLineEdit* EdtValue = nullptr;
    QToolButton* BTfind = nullptr;
    QCheckBox* CB_FindCase = nullptr;
    QCheckBox* CB_FindPartial = nullptr;
    // Copies the working copy back over the open dictionary and tells the user how it went.
    void SaveDictionary();
    // The recent list with the open dictionary at its head, and its menu.
    void BuildRecentMenu();
    // Unsaved edits in the dictionary; the save and undo controls follow it.
    bool DictionaryChanged() const;
    void SetDictionaryChanged(bool changed);
    // The grid's column fonts and the search field's font from the settings window, as the page is shown.
    void ShowDictionaryPage();
    // Makes the dictionary and text pages, unless that is done already. Runs after the first frame of a
    // deferred start, and before anything that needs them.
    void CreateHiddenPages();
    bool HiddenPagesCreated() const { return dictionaryPage != nullptr; }

public slots:
    void dictClick();
    void DBGridDictColEnter();
    void DBGridDictCellClick();
    void EdtValueEnter();
    void BTFindClick();
    void CBxFieldListChange();
    void DataSourceUpdateData();
    void SdfDataSetAfterDelete();

private:
    // The table's file, delimiter and fields, and its hooks; the table itself opens with the dictionary.
    void SetUpDictionaryTable();
    void CreateDictionaryPage();
    // The table on a fresh working copy of the open dictionary: false when the copy cannot be made.
    bool OpenDictionaryTable();
    // Before the window's members go: the page shows SdfDataSet, which would go before the child widgets.
    void DropDictionaryPage();
    // Reads the open dictionary into the lessons again; the pages drop what pointed into the old words.
    // False when the dictionary could not be read.
    bool ReloadLessonWords();
    // The open or save dialog of the dictionary commands; empty when cancelled.
    QString AskDictionaryFile(bool save, const QString& title, const QString& fileName);
    void Notice(const char* text);

public:
    // ---- Pupils
    // What the new-pupil dialog asks of the lesson window.
    TForm_User::Hooks UserWindowHooks();
    // The pupil items of "Ученик" (radio items after m_lesson_pupil_sep).
    QActionGroup* m_lesson_pupil_group = nullptr;

public slots:
    // A pupil item of "Ученик".
    void usrClick();

public:
    // Makes a pupil current: his name, his settings key and his recent dictionaries.
    void SetPupil(const std::string& name);
    // The new-pupil dialog's "Сохранить" with the cleaned name (empty: no pupil is made).
    void NewPupilSaved(const std::string& name);
    // The current pupil's settings and card values, as every pupil operation saves them.
    void SavePupilSettings();
    // All three windows' settings from the current pupil's key.
    void LoadPupilSettings();

    // ---- Text page
    // The text page's content and the builder's options in PanelText.
    TextPage* textPage = nullptr;
    TextOptionsPanel* textOptions = nullptr;
    // What the status bar shows on the text page.
    TextPageStatus TextStatus() const;
    // From the start of a frequency build until its dictionary is open. The build's end replaces the open
    // dictionary, so meanwhile the window refuses to open, create or edit one and to change the pupil.
    bool BuildRunning() const { return m_buildRunning; }
    void ShowBuildRunning(bool running);

    // ---- Operations of other areas
    void HideToTray() override;
    void ShowFromTray();
    // Put away between exercises: hidden, or minimised while there is no tray icon to come back by.
    bool InTray() const { return HiddenToTray || !isVisible(); }
    // False when the file could not be copied (missing, a folder, unreadable): the path is kept and the
    // table stays closed.
    bool OpenDictionary(const std::string& path);
    // The notice for a dictionary the pupil asked for that could not be opened.
    void TellDictionaryNotOpened(const std::string& path);
    // False when the user cancels (the program then keeps running).
    bool AskSaveChanges();
    // The lesson window's settings (learning_settings.cpp).
    void LoadLearningSettings();
    void SaveLearningSettings(bool withProgress);
    // The settings window's and the card window's values.
    void SaveSettings();
    void SaveCardSettings();
    // The setting "Всплывать поверх всех окон".
    bool TopmostSetting() const;
    // The open dictionary's fonts file over the default fonts.
    void LoadDictionaryFonts();
    // The pupil's progress in the open dictionary.
    void SaveProgress();
    // The pupil items of "Ученик" and the caption.
    void BuildPupilMenu();
    // The text page back to an empty text.
    void ResetTextPage();

    // ---- State
    // Words, progress, the task and the counters; ActiveMethod (0 Variant, 1 Mosaic, 2 Writing) is the
    // last lesson page.
    Lesson lesson;
    // The live values of the window's stored settings; the window's own geometry, page and lesson
    // switches are copied in before every save.
    LearningSettings Settings;
    std::string PupilName;
    // "Software\\Verbanta\\" + PupilName: the key of this pupil's settings.
    std::string PupilKey;
    // A secondary window of the program is open: the window does not come forward by itself then.
    bool DialogOpen = false;
    // The settings window has read its settings at least once.
    bool SettingsLoaded = false;
    // 'Y' after "Выход", 'N' otherwise.
    char QuitRequested = 'N';
    // The stored top while the window is parked off screen.
    std::int32_t SavedTop = 0;
    // Set after a modal window has closed; the dictionary grid clears it.
    bool ModalClosed = false;
    // The pupil's recent dictionaries, each followed by ";".
    std::string RecentDictionaries;

    // ---- Components
    QGroupBox* GBox_Word = nullptr;
    QLabel* word = nullptr;
    QLabel* wordtrsc = nullptr;

    QTabWidget* PageControl = nullptr;
    // The five pages; each has an empty layout for its content.
    QWidget* PageVariant = nullptr;
    QWidget* PageMosaic = nullptr;
    QWidget* PageWriting = nullptr;
    QWidget* PageDictionary = nullptr;
    QWidget* PageText = nullptr;

    // The content of the first two pages.
    VariantPage* variantPage = nullptr;
    MosaicPage* mosaicPage = nullptr;

    // The task-word menu: on the task strip and on the Mosaic lists.
    QMenu* WordPopupMenu = nullptr;
    QAction* pm_word_next = nullptr;
    QAction* pm_hint = nullptr;
    QAction* pm_visual = nullptr;
    QAction* pm_dictant = nullptr;
    QAction* pm_word_voice = nullptr;
    QAction* pm_word_off = nullptr;
    QAction* pm_word_on = nullptr;
    // "Изменить цвет" on the labels and lists; pm_word_color sits in WordPopupMenu.
    ColorMenus* colorMenus = nullptr;

    // The bottom strip: one of the three panels is shown.
    QStackedWidget* BottomStrip = nullptr;
    QFrame* PanelLastWord = nullptr;
    QLabel* LastWord = nullptr;
    QLabel* LastTranscr = nullptr;
    QLabel* LastWordTransl = nullptr;
    QLabel* LastTesaurus = nullptr;
    QFrame* PanelFindWord = nullptr;
    QFrame* PanelText = nullptr;

    TMyStatusBar* StatusBar = nullptr;
    // Owned by the status bar.
    QProgressBar* ProgressBar = nullptr;
    // Never shown: measures texts.
    QLabel* LBW = nullptr;

    // Main menu.
    QMenu* m_lesson = nullptr;
    QMenu* m_lesson_pupil = nullptr;
    QAction* m_lesson_pupil_new = nullptr;
    QAction* m_lesson_pupil_delete = nullptr;
    // The pupil items follow this separator.
    QAction* m_lesson_pupil_sep = nullptr;
    QMenu* m_lesson_method = nullptr;
    QActionGroup* m_lesson_method_group = nullptr;
    QAction* m_lesson_variant = nullptr;
    QAction* m_lesson_moz = nullptr;
    QAction* m_lesson_enter = nullptr;
    QAction* m_card = nullptr;
    QAction* m_lesson_stat = nullptr;
    QAction* m_lesson_new = nullptr;
    QAction* m_lesson_visual = nullptr;
    QAction* m_lesson_voice = nullptr;
    QAction* m_lesson_dictant = nullptr;
    QAction* m_lesson_quit = nullptr;

    QMenu* m_dict = nullptr;
    QAction* m_dict_open = nullptr;
    QMenu* m_dict_open_list = nullptr;
    QAction* m_dict_create = nullptr;
    QAction* m_dict_saveas = nullptr;
    QAction* m_dict_import = nullptr;
    QAction* m_dict_export = nullptr;
    QAction* m_dict_savefonts = nullptr;
    QAction* m_dict_save = nullptr;
    QAction* m_dict_undo = nullptr;

    QMenu* m_set = nullptr;
    QAction* m_set_common = nullptr;
    QAction* m_set_learning = nullptr;
    QAction* m_set_card = nullptr;
    QAction* m_set_voice = nullptr;

    QMenu* m_help = nullptr;
    QAction* m_content = nullptr;
    QAction* m_about = nullptr;

    // Timers; all but TimerStartup start disabled, and all but TimerStartup fire once.
    QTimer* TimerStartup = nullptr;
    QTimer* TimerStartTray = nullptr;
    QTimer* TimerHideLearnForm = nullptr;
    QTimer* TimerCard = nullptr;
    QTimer* TimerTesaurus = nullptr;
    QTimer* TimerTranslate = nullptr;
    QTimer* TimerPronounceWord = nullptr;
    QTimer* TimerPronounceTrsl = nullptr;

public slots:
    // Page control and lesson commands.
    void PageControlChange();
    void m_lesson_MethodClick();
    void m_lesson_newClick();
    void m_lesson_visualClick();
    void m_lesson_voiceClick();
    void m_lesson_dictantClick();
    // The task-word menu.
    void pm_word_nextClick();
    void pm_hintClick();
    void pm_word_voiceClick();
    void pm_word_offClick();
    void pm_word_onClick();
    // Pupils.
    void m_lesson_pupil_newClick();
    void m_lesson_pupil_deleteClick();
    // Tray and cards.
    void m_cardClick();
    // "Статистика…": the statistics window, modal, made afresh each time from the lesson as it stands.
    void m_lesson_statClick();
    // Dictionary files and fonts.
    void m_dict_openClick();
    void m_dict_createClick();
    void m_dict_saveasClick();
    void m_dict_importClick();
    void m_dict_exportClick();
    void m_dict_saveClick();
    void m_dict_undoClick();
    void BTfontClick();
    // Settings window.
    void m_set_commonClick();
    void m_set_learningClick();
    void m_set_cardClick();
    void m_set_voiceClick();
    // Help.
    void m_contentClick();
    void m_aboutClick();
    // "Выход" of the main menu and of the tray menu.
    void m_lesson_quitClick();

    // Timers.
    void TimerStartupTimer();
    void TimerStartTrayTimer();
    void TimerHideLearnFormTimer();
    void TimerCardTimer();
    void TimerTesaurusTimer();
    void TimerTranslateTimer();
    void TimerPronounceWordTimer();
    void TimerPronounceTrslTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The task strip: double click, context menu and the pointer over the task.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The answer keys of the lesson pages when no control has taken them.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateLayout();
    void CreateMainMenu();
    void CreateTimers();
    // The Variant and Mosaic pages, the task-word menu and the colour menus.
    void CreateLessonPages();
    // The text page and its options (learning_text.cpp).
    void CreateTextPage();

    void FormCreate();
    void FormClose(QCloseEvent* event);
    void FormDestroy();

    // Start-up placement from the stored values.
    void ApplyTopPlacement(const TopPlacement& placement);
    void ApplyStoredTab(int page);
    // Copies what the window itself holds into Settings.
    void CollectLearningSettings();

    // Start-up seeding and warm-up of the random generator.
    void SeedRandomGenerator();
    // Tray icon registration for the life of the window.
    void RegisterTrayIcon();
    void RemoveTrayIcon();

    // The message dialog for the lesson rules: the message window, once it exists.
    class WindowMessageDialog : public MessageDialog
    {
    public:
        explicit WindowMessageDialog(AppContext& ctx) : m_ctx(ctx) { }
        int ShowMessageDialog(const std::string& text, const std::string& caption1, const std::string& caption2,
                              const std::string& caption3) override;

    private:
        AppContext& m_ctx;
    };

    AppContext& m_ctx;
    WindowMessageDialog m_dialog{m_ctx};
    bool m_parked = false;
    bool m_buildRunning = false;
    // Unsaved dictionary edits. Its own flag, not the save button's state: the button also reads as
    // disabled while the answer echo disables the pages around it.
    bool m_dictionaryChanged = false;
};

} // namespace vb
