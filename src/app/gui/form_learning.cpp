// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_learning.h"
#include "common/gui/accessible_names.h"

#include "app/gui/first_frame.h"
#include "app/gui/learning_startup.h"
#include "engine/gui/status_bar.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace vb {

namespace {

constexpr int kTaskStripHeight = 39;
constexpr int kBottomStripHeight = 47;
constexpr int kStartupPollMs = 1500;
constexpr int kStartTrayMs = 500;

QLabel* MakeLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QFrame* MakePanel(QWidget* parent, const char* name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

} // namespace

TForm_Learning::TForm_Learning(AppContext& ctx, QWidget* parent) : QMainWindow(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Form_Learning"));
    setWindowTitle(QStringLiteral("Verbanta"));
    CreateLayout();
    CreateMainMenu();
    CreateTimers();
    CreateLessonPages();
    SetUpDictionaryTable();
    WatchPronunciationClicks();
    if (m_ctx.deferredStart) {
        AfterFirstFrame(this, [this] { CreateHiddenPages(); });
    } else {
        CreateHiddenPages();
    }

    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kLearningDesignedWidth, kLearningDesignedHeight);
    PlaceAt(kLearningDesignedLeft, kLearningDesignedTop);

    FormCreate();
    NameForScreenReaders(this);
}

TForm_Learning::~TForm_Learning()
{
    FormDestroy();
    DropDictionaryPage();
    // Deleting the pages removes their tabs, which would run the handler on a half-destroyed window.
    disconnect(PageControl, nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------------------------------
// Construction

void TForm_Learning::CreateLayout()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Task strip.
    GBox_Word = new QGroupBox(client);
    GBox_Word->setObjectName(QStringLiteral("GBox_Word"));
    GBox_Word->setFixedHeight(kTaskStripHeight);
    word = MakeLabel(GBox_Word, "word");
    wordtrsc = MakeLabel(GBox_Word, "wordtrsc");
    auto* taskRow = new QHBoxLayout(GBox_Word);
    taskRow->setContentsMargins(8, 2, 8, 2);
    // The transcription follows the end of the task text.
    taskRow->setSpacing(5);
    taskRow->addWidget(word);
    taskRow->addWidget(wordtrsc);
    taskRow->addStretch(1);
    column->addWidget(GBox_Word);

    // Pages.
    PageControl = new QTabWidget(client);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setTabPosition(QTabWidget::South);
    const auto addPage = [this](QWidget*& page, const char* name, const QString& caption) {
        page = new QWidget(PageControl);
        page->setObjectName(QString::fromLatin1(name));
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(4, 4, 4, 4);
        PageControl->addTab(page, caption);
    };
    addPage(PageVariant, "PageVariant", QStringLiteral("Вариант"));
    addPage(PageMosaic, "PageMosaic", QStringLiteral("Мозаика"));
    addPage(PageWriting, "PageWriting", QStringLiteral("Написание"));
    addPage(PageDictionary, "PageDictionary", QStringLiteral("Словарь"));
    addPage(PageText, "PageText", QStringLiteral("Текст"));
    connect(PageControl, &QTabWidget::currentChanged, this, &TForm_Learning::PageControlChange);
    column->addWidget(PageControl, 1);

    // Bottom strip: the three panels share one place.
    BottomStrip = new QStackedWidget(client);
    BottomStrip->setObjectName(QStringLiteral("BottomStrip"));
    BottomStrip->setFixedHeight(kBottomStripHeight);

    PanelLastWord = MakePanel(BottomStrip, "PanelLastWord");
    LastWord = MakeLabel(PanelLastWord, "LastWord");
    LastWord->setToolTip(QStringLiteral("Последнее правильное слово"));
    LastTranscr = MakeLabel(PanelLastWord, "LastTranscr");
    LastWordTransl = MakeLabel(PanelLastWord, "LastWordTransl");
    LastTesaurus = MakeLabel(PanelLastWord, "LastTesaurus");
    LastTesaurus->setWordWrap(true);
    auto* lastGrid = new QGridLayout(PanelLastWord);
    lastGrid->setContentsMargins(6, 2, 6, 2);
    lastGrid->setHorizontalSpacing(8);
    lastGrid->setVerticalSpacing(1);
    auto* lastWordRow = new QHBoxLayout;
    lastWordRow->setSpacing(5);
    lastWordRow->addWidget(LastWord);
    lastWordRow->addWidget(LastTranscr);
    lastWordRow->addStretch(1);
    lastGrid->addLayout(lastWordRow, 0, 0);
    lastGrid->addWidget(LastWordTransl, 1, 0);
    lastGrid->addWidget(LastTesaurus, 0, 1, 2, 1);
    lastGrid->setColumnStretch(0, 1);
    lastGrid->setColumnStretch(1, 1);
    BottomStrip->addWidget(PanelLastWord);

    PanelFindWord = MakePanel(BottomStrip, "PanelFindWord");
    new QHBoxLayout(PanelFindWord);
    BottomStrip->addWidget(PanelFindWord);

    PanelText = MakePanel(BottomStrip, "PanelText");
    new QHBoxLayout(PanelText);
    BottomStrip->addWidget(PanelText);
    column->addWidget(BottomStrip);

    setCentralWidget(client);

    StatusBar = new TMyStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(StatusBar);
    ProgressBar = StatusBar->ProgressBar();

    // Measures texts; never shown and outside the layout.
    LBW = MakeLabel(client, "LBW");
    LBW->hide();
}

void TForm_Learning::CreateMainMenu()
{
    QMenuBar* bar = menuBar();
    const auto addMenu = [](auto* owner, QMenu*& menu, const char* name, const QString& caption) {
        menu = owner->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
    };
    const auto addItem = [this](QMenu* menu, QAction*& action, const char* name, const QString& caption,
                                void (TForm_Learning::*handler)()) {
        action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    const auto addCheckItem = [&addItem](QMenu* menu, QAction*& action, const char* name, const QString& caption,
                                         void (TForm_Learning::*handler)(), bool checked) {
        addItem(menu, action, name, caption, handler);
        action->setCheckable(true);
        action->setChecked(checked);
    };

    // "Урок"
    addMenu(bar, m_lesson, "m_lesson", QStringLiteral("Урок"));
    addMenu(m_lesson, m_lesson_pupil, "m_lesson_pupil", QStringLiteral("Ученик"));
    addItem(m_lesson_pupil, m_lesson_pupil_new, "m_lesson_pupil_new", QStringLiteral("Новенький"),
            &TForm_Learning::m_lesson_pupil_newClick);
    addItem(m_lesson_pupil, m_lesson_pupil_delete, "m_lesson_pupil_delete", QStringLiteral("Отучился"),
            &TForm_Learning::m_lesson_pupil_deleteClick);
    m_lesson_pupil_sep = m_lesson_pupil->addSeparator();
    m_lesson_pupil_sep->setObjectName(QStringLiteral("m_lesson_pupil_sep"));
    m_lesson->addSeparator();

    addMenu(m_lesson, m_lesson_method, "m_lesson_method", QStringLiteral("Выбрать метод"));
    m_lesson_method_group = new QActionGroup(this);
    m_lesson_method_group->setObjectName(QStringLiteral("m_lesson_method_group"));
    addCheckItem(m_lesson_method, m_lesson_variant, "m_lesson_variant", QStringLiteral("Вариант"),
                 &TForm_Learning::m_lesson_MethodClick, true);
    addCheckItem(m_lesson_method, m_lesson_moz, "m_lesson_moz", QStringLiteral("Мозаика"),
                 &TForm_Learning::m_lesson_MethodClick, false);
    addCheckItem(m_lesson_method, m_lesson_enter, "m_lesson_enter", QStringLiteral("Написание"),
                 &TForm_Learning::m_lesson_MethodClick, false);
    for (QAction* method : {m_lesson_variant, m_lesson_moz, m_lesson_enter}) {
        m_lesson_method_group->addAction(method);
    }
    addItem(m_lesson, m_card, "m_card", QStringLiteral("Просмотр карточек слов"), &TForm_Learning::m_cardClick);
    addItem(m_lesson, m_lesson_stat, "m_lesson_stat", QStringLiteral("Статистика…"),
            &TForm_Learning::m_lesson_statClick);
    m_lesson->addSeparator();

    addItem(m_lesson, m_lesson_new, "m_lesson_new", QStringLiteral("Учить словарь заново"),
            &TForm_Learning::m_lesson_newClick);
    m_lesson->addSeparator();

    addCheckItem(m_lesson, m_lesson_visual, "m_lesson_visual", QStringLiteral("Показывать написание"),
                 &TForm_Learning::m_lesson_visualClick, true);
    addCheckItem(m_lesson, m_lesson_voice, "m_lesson_voice", QStringLiteral("Озвучивать задания"),
                 &TForm_Learning::m_lesson_voiceClick, false);
    addCheckItem(m_lesson, m_lesson_dictant, "m_lesson_dictant", QStringLiteral("Режим диктанта"),
                 &TForm_Learning::m_lesson_dictantClick, false);
    m_lesson->addSeparator();

    addItem(m_lesson, m_lesson_quit, "m_lesson_quit", QStringLiteral("Выход"), &TForm_Learning::m_lesson_quitClick);

    // "Словарь"
    addMenu(bar, m_dict, "m_dict", QStringLiteral("Словарь"));
    addItem(m_dict, m_dict_open, "m_dict_open", QStringLiteral("Открыть существующий"),
            &TForm_Learning::m_dict_openClick);
    addMenu(m_dict, m_dict_open_list, "m_dict_open_list", QStringLiteral("Открыть словарь из списка"));
    m_dict->addSeparator();
    addItem(m_dict, m_dict_create, "m_dict_create", QStringLiteral("Создать новый"),
            &TForm_Learning::m_dict_createClick);
    addItem(m_dict, m_dict_saveas, "m_dict_saveas", QStringLiteral("Сохранить как ..."),
            &TForm_Learning::m_dict_saveasClick);
    m_dict->addSeparator();
    addItem(m_dict, m_dict_import, "m_dict_import", QStringLiteral("Импорт…"), &TForm_Learning::m_dict_importClick);
    addItem(m_dict, m_dict_export, "m_dict_export", QStringLiteral("Экспорт…"), &TForm_Learning::m_dict_exportClick);
    m_dict->addSeparator();
    addItem(m_dict, m_dict_savefonts, "m_dict_savefonts", QStringLiteral("Сохранить шрифты для словаря"),
            &TForm_Learning::BTfontClick);
    m_dict->addSeparator();
    addItem(m_dict, m_dict_save, "m_dict_save", QStringLiteral("Сохранить изменения"),
            &TForm_Learning::m_dict_saveClick);
    addItem(m_dict, m_dict_undo, "m_dict_undo", QStringLiteral("Отменить изменения"),
            &TForm_Learning::m_dict_undoClick);
    // Nothing is edited yet.
    m_dict_save->setEnabled(false);
    m_dict_undo->setEnabled(false);

    // "Настройки"
    addMenu(bar, m_set, "m_set", QStringLiteral("Настройки"));
    addItem(m_set, m_set_common, "m_set_common", QStringLiteral("Общие"), &TForm_Learning::m_set_commonClick);
    addItem(m_set, m_set_learning, "m_set_learning", QStringLiteral("Обучение"), &TForm_Learning::m_set_learningClick);
    addItem(m_set, m_set_card, "m_set_card", QStringLiteral("Карточка"), &TForm_Learning::m_set_cardClick);
    addItem(m_set, m_set_voice, "m_set_voice", QStringLiteral("Озвучивание"), &TForm_Learning::m_set_voiceClick);

    // "Помощь"
    addMenu(bar, m_help, "m_help", QStringLiteral("Помощь"));
    addItem(m_help, m_content, "m_content", QStringLiteral("Как заучивать слова"), &TForm_Learning::m_contentClick);
    addItem(m_help, m_about, "m_about", QStringLiteral("О программе"), &TForm_Learning::m_aboutClick);

    // The usual keys of a desktop program. None of them is a key that a page takes for itself: the
    // answer keys, typing in Writing, the grid's and the text editor's keys keep their meaning.
    m_dict_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_dict_save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_content->setShortcut(QKeySequence(Qt::Key_F1));
    m_set_common->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_lesson_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void TForm_Learning::CreateTimers()
{
    const auto addTimer = [this](QTimer*& timer, const char* name, int intervalMs, bool singleShot,
                                 void (TForm_Learning::*handler)()) {
        timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(name));
        timer->setInterval(intervalMs);
        timer->setSingleShot(singleShot);
        connect(timer, &QTimer::timeout, this, handler);
    };
    // The second-start poll runs for the whole life of the window; every other timer fires once per
    // arming, and the intervals of the last six are set when they are armed.
    addTimer(TimerStartup, "TimerStartup", kStartupPollMs, false, &TForm_Learning::TimerStartupTimer);
    addTimer(TimerStartTray, "TimerStartTray", kStartTrayMs, true, &TForm_Learning::TimerStartTrayTimer);
    addTimer(TimerHideLearnForm, "TimerHideLearnForm", 0, true, &TForm_Learning::TimerHideLearnFormTimer);
    addTimer(TimerCard, "TimerCard", 0, true, &TForm_Learning::TimerCardTimer);
    addTimer(TimerTesaurus, "TimerTesaurus", 0, true, &TForm_Learning::TimerTesaurusTimer);
    addTimer(TimerTranslate, "TimerTranslate", 0, true, &TForm_Learning::TimerTranslateTimer);
    addTimer(TimerPronounceWord, "TimerPronounceWord", 0, true, &TForm_Learning::TimerPronounceWordTimer);
    addTimer(TimerPronounceTrsl, "TimerPronounceTrsl", 0, true, &TForm_Learning::TimerPronounceTrslTimer);
    TimerStartup->start();
}

// ---------------------------------------------------------------------------------------------------
// Life cycle

void TForm_Learning::FormCreate()
{
    SeedRandomGenerator();
    RegisterTrayIcon();

    DialogOpen = false;
    QuitRequested = 'N';
    SettingsLoaded = false;

    PupilName = ReadPupilName(*m_ctx.registry);
    PupilKey = PupilKeyOf(PupilName);

    // Also resets the text page and opens the dictionary.
    LoadLearningSettings();
}

void TForm_Learning::FormShow()
{
    HiddenToTray = false;
    const auto save = [this] {
        SaveLearningSettings(true);
        SaveSettings();
        SaveCardSettings();
    };
    if (m_ctx.deferredStart) {
        // Nothing new to keep yet: the files are written once the window is painted.
        AfterFirstFrame(this, save);
    } else {
        save();
    }
    UpdateTaskbarEntry();
    // Once more when the show is through and the map request has gone out (see SetSkipTaskbar).
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) {
            UpdateTaskbarEntry();
        }
    });
    SetTopmost(TopmostSetting());
    PageControlChange();
}

void TForm_Learning::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Coming back from the window manager (un-minimising) is not a new show.
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TForm_Learning::closeEvent(QCloseEvent* event)
{
    FormClose(event);
}

void TForm_Learning::FormClose(QCloseEvent* event)
{
    // Closing only hides; "Выход" alone ends the program.
    if (QuitRequested != 'Y') {
        event->ignore();
        HideToTray();
        return;
    }
    if (!AskSaveChanges()) {
        event->ignore();
        QuitRequested = 'N';
        return;
    }
    event->accept();
    // exit(), not quit(): quit() would first try to close every window again.
    QCoreApplication::exit(0);
}

void TForm_Learning::FormDestroy()
{
    SaveLearningSettings(true);
    RemoveTrayIcon();
}

void TForm_Learning::m_lesson_quitClick()
{
    QuitRequested = 'Y';
    close();
}

// ---------------------------------------------------------------------------------------------------
// Second start

void TForm_Learning::TimerStartupTimer()
{
    // A dictionary handed over now would be replaced by the build's: the request waits in the store for the
    // first poll after the build.
    if (BuildRunning()) {
        return;
    }
    const auto request = TakeStartRequest(*m_ctx.registry);
    if (!request) {
        return;
    }
    if (InTray()) {
        ShowFromTray();
    } else if (!DialogOpen) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        raise();
        activateWindow();
    }
    // "startup" and any other text only bring the window forward. Unsaved edits are offered for saving
    // first, and "отменить" keeps the open dictionary.
    if (IsDictionaryArgument(*request) && AskSaveChanges()) {
        if (!OpenDictionary(*request)) {
            TellDictionaryNotOpened(*request);
        }
        PageControlChange();
    }
}

// ---------------------------------------------------------------------------------------------------
// Placement and the parked start

int TForm_Learning::WindowLeft() const
{
    return geometry().x();
}

int TForm_Learning::WindowTop() const
{
    return geometry().y();
}

void TForm_Learning::PlaceAt(int left, int top)
{
    setGeometry(QRect(QPoint(left, top), size()));
}

void TForm_Learning::ApplyTopPlacement(const TopPlacement& placement)
{
    if (!placement.park) {
        PlaceAt(WindowLeft(), placement.top);
        return;
    }
    // Shown once off screen, then closed into the tray by TimerStartTray.
    SavedTop = placement.savedTop;
    m_parked = true;
    PlaceAt(WindowLeft(), kParkedTop);
    // Window managers may pull an off-screen window back into view; keep it invisible meanwhile.
    setWindowOpacity(0.0);
    TimerStartTray->start();
}

void TForm_Learning::ApplyStoredTab(int page)
{
    // Only a lesson page is restored; anything else would also index the method arrays out of range.
    if (page < kPageVariant || page > kPageWriting) {
        page = kPageVariant;
    }
    SelectPage(page);
    lesson.ActiveMethod = page;
}

int TForm_Learning::StoredTop() const
{
    // A window manager may have moved the parked window, so the flag decides, not the top itself.
    return m_parked ? SavedTop : WindowTop();
}

void TForm_Learning::TimerStartTrayTimer()
{
    TimerStartTray->stop();
    // No quit is requested, so closing hides the window to the tray.
    close();
    m_parked = false;
    PlaceAt(WindowLeft(), SavedTop);
    setWindowOpacity(1.0);
}

// ---------------------------------------------------------------------------------------------------
// Topmost state and secondary windows

void TForm_Learning::SetTopmost(bool topmost)
{
    Qt::WindowFlags flags = windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == topmost) {
        return;
    }
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    // setWindowFlags() would re-create a shown window: it disappears, may come back elsewhere and
    // is activated. Telling the existing native window keeps its place and focus.
    overrideWindowFlags(flags);
    if (QWindow* native = windowHandle()) {
        native->setFlags(flags);
    }
}

void TForm_Learning::SecondaryShown()
{
    SetTopmost(false);
    DialogOpen = true;
}

void TForm_Learning::SecondaryHidden()
{
    SetTopmost(TopmostSetting());
    DialogOpen = false;
}

void TForm_Learning::ModalWasClosed()
{
    ModalClosed = true;
}

SecondaryWindowHooks TForm_Learning::SecondaryHooks()
{
    return SecondaryWindowHooks{[this] { SecondaryShown(); }, [this] { SecondaryHidden(); },
                                [this] { ModalWasClosed(); }};
}

// ---------------------------------------------------------------------------------------------------
// Pages

void TForm_Learning::SelectPage(int page)
{
    const QSignalBlocker quiet(PageControl);
    PageControl->setCurrentIndex(page);
}

void TForm_Learning::ShowPagePanels(int page)
{
    GBox_Word->setVisible(page == kPageVariant || page == kPageWriting);
    if (page == kPageDictionary) {
        BottomStrip->setCurrentWidget(PanelFindWord);
    } else if (page == kPageText) {
        BottomStrip->setCurrentWidget(PanelText);
    } else {
        BottomStrip->setCurrentWidget(PanelLastWord);
    }
}

} // namespace vb
