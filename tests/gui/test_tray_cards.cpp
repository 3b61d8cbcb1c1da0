// SPDX-License-Identifier: GPL-3.0-or-later
// The tray cycle as a pupil lives it: the window parks at start, hides at the end of an exercise (to the tray,
// or minimised where there is none), comes back by every way there is with a task and fresh counters, and
// word cards run meanwhile.

#include "app/gui/app_context.h"
#include "app/gui/color_menus.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "cards/gui/form_card.h"
#include "common/codepage.h"
#include "common/registry.h"
#include "engine/gui/status_bar.h"
#include "engine/gui/variant_page.h"
#include "engine/variant.h"
#include "gui_input.h"
#include "support/temp_home.h"
#include "test_learning_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace vb;
using vbtest::WaitUntil;

namespace {

const char* const kWords[][4] = {
    {"apple", "yabloko", "[a]", "a round fruit"}, {"bread", "hleb", "[b]", ""},   {"cloud", "oblako", "[c]", "sky"},
    {"door", "dver", "[d]", "a way in"},          {"earth", "zemlya", "[e]", ""},
};

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

enum class Way {
    TrayDoubleClick,
    TrayMenu,
    PopUpTimer,
    SecondStart,
    Card,
    Taskbar,
};

struct ReturnCase
{
    Way way;
    bool tray;
    const char* name;
};

class TrayTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        TForm_Message::ResetTestHooks();
        ColorMenus::ResetTestHooks();
        Close();
    }

    // The windows as the program makes them, on a small dictionary; `tray` says whether a tray host is there
    // (left to the desktop when not given).
    void Start(std::optional<bool> tray)
    {
        if (dictionary.empty()) {
            std::string text;
            for (const auto& w : kWords) {
                text += std::string(w[0]) + "|" + w[1] + "|" + w[2] + "|" + w[3] + "\r\n";
            }
            dictionary = home.File("dict/small.lqd");
            vbtest::WriteBytes(dictionary, text);
        }
        ctx = std::make_unique<AppContext>(AppPaths(home.Path(), home.Path(), home.Path()),
                                           MakeSystemRegistry(home.File("registry.reg")),
                                           std::vector<std::string>{dictionary});
        learning = std::make_unique<TForm_Learning>(*ctx);
        ctx->learning = learning.get();
        if (tray) {
            learning->trayAvailable = [tray] { return *tray; };
        }
        settings = std::make_unique<TForm_Set>(*ctx);
        ctx->settings = settings.get();
        card = std::make_unique<TForm_Card>(*ctx);
        ctx->card = card.get();
        message = std::make_unique<TForm_Message>(*ctx);
        ctx->message = message.get();
        settings->SetHooks(learning->SettingsWindowHooks());
        message->SetHooks(learning->SecondaryHooks());
        card->SetHooks(learning->CardWindowHooks());
        learning->show();
    }

    void Close()
    {
        if (!ctx) {
            return;
        }
        message.reset();
        ctx->message = nullptr;
        card.reset();
        ctx->card = nullptr;
        settings.reset();
        ctx->settings = nullptr;
        learning.reset();
        ctx->learning = nullptr;
        ctx.reset();
    }

    void ChangeSettings(const std::function<void(SettingsWindowValues&)>& change)
    {
        SettingsWindowValues values = settings->Values();
        change(values);
        settings->ApplyValues(values);
    }

    Lesson& L() { return learning->lesson; }
    VariantPage& Variant() { return *learning->variantPage; }
    int RightRow() { return VariantHintSlot(Variant().Options(), L().TaskPos) + 1; }
    std::string Panel(int n) { return learning->StatusBar->PanelText(n).toStdString(); }

    // One right Variant answer, its echo run out.
    void AnswerRight()
    {
        ASSERT_TRUE(Variant().View().ready);
        vbtest::MouseClick(Variant().var(RightRow()));
        // The echo's pause, cut short.
        ASSERT_TRUE(learning->TimerPronounceWord->isActive());
        learning->TimerPronounceWordTimer();
        ASSERT_TRUE(learning->PageControl->isEnabled());
    }

    // Brings the put-away window back the given way.
    void Return(Way way)
    {
        switch (way) {
        case Way::TrayDoubleClick:
            // A single click does not bring a put-away window back.
            emit learning->TrayIcon->activated(QSystemTrayIcon::Trigger);
            ASSERT_TRUE(learning->InTray());
            emit learning->TrayIcon->activated(QSystemTrayIcon::DoubleClick);
            break;
        case Way::TrayMenu:
            emit learning->TrayPopupMenu->aboutToShow();
            ASSERT_TRUE(learning->pm_tray_lesson->isVisible());
            learning->pm_tray_lesson->trigger();
            break;
        case Way::PopUpTimer:
            // Armed for the set minutes; made short here.
            ASSERT_TRUE(learning->TimerHideLearnForm->isActive());
            EXPECT_EQ(learning->TimerHideLearnForm->interval(), 50 * 60000);
            learning->TimerHideLearnForm->start(1);
            ASSERT_TRUE(WaitUntil([&] { return !learning->InTray(); }, 5000));
            break;
        case Way::SecondStart:
            ctx->registry->WriteString("Software\\Verbanta", "", "startup");
            learning->TimerStartupTimer();
            break;
        case Way::Card:
            ASSERT_TRUE(card->isVisible());
            vbtest::Mouse(card->Card_Word, QEvent::MouseButtonDblClick, QPoint(2, 2), Qt::LeftButton);
            break;
        case Way::Taskbar:
            // The desktop un-minimises the window (no tray to click).
            ASSERT_TRUE(learning->isMinimized());
            learning->windowHandle()->setWindowState(Qt::WindowNoState);
            ASSERT_TRUE(WaitUntil([&] { return !learning->InTray(); }, 5000));
            break;
        }
    }

    // Back with a task on the lesson page, fresh counters, the pop-up timer and the cards stopped.
    void ExpectBackWithATask(const char* how)
    {
        SCOPED_TRACE(how);
        EXPECT_FALSE(learning->InTray());
        EXPECT_TRUE(learning->isVisible());
        EXPECT_FALSE(learning->isMinimized());
        EXPECT_EQ(learning->PageControl->currentIndex(), 0);
        EXPECT_TRUE(Variant().View().ready);
        EXPECT_FALSE(learning->word->text().isEmpty());
        EXPECT_TRUE(learning->word->isVisible());
        EXPECT_EQ(Panel(0), "правильно: 0");
        EXPECT_EQ(Panel(1), "осталось: 20");
        EXPECT_EQ(Panel(2), "ошибок: 0");
        EXPECT_EQ(L().ExerciseLeft, 20);
        EXPECT_FALSE(learning->TimerHideLearnForm->isActive());
        EXPECT_FALSE(card->isVisible());
        for (QTimer* t : {learning->TimerCard, learning->TimerTesaurus, learning->TimerTranslate}) {
            EXPECT_FALSE(t->isActive()) << t->objectName().toStdString();
        }
    }

    vbtest::TempHome home;
    std::string dictionary;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Card> card;
    std::unique_ptr<TForm_Message> message;
};

const ReturnCase kReturnCases[] = {
    {Way::TrayDoubleClick, true, "tray double click"},
    {Way::TrayMenu, true, "tray menu"},
    {Way::PopUpTimer, true, "pop-up timer"},
    {Way::SecondStart, true, "second start"},
    {Way::Card, true, "card double click"},
    {Way::PopUpTimer, false, "pop-up timer without a tray"},
    {Way::SecondStart, false, "second start without a tray"},
    {Way::Taskbar, false, "task bar without a tray"},
};

Display* X11Display()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// The values of a 32-bit X11 property of the given type; empty when it is missing or of another type.
std::vector<unsigned long> PropertyValues(Display* display, Window window, const char* name, Atom wantedType)
{
    std::vector<unsigned long> values;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 64, False, wantedType, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        if (type == wantedType && format == 32) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            values.assign(items, items + count);
        }
        XFree(data);
    }
    return values;
}

// Whether the X11 window of `w` carries the given _NET_WM_STATE atom.
bool HasNetWmState(QWidget* w, const char* name)
{
    Display* display = X11Display();
    if (display == nullptr) {
        return false;
    }
    const auto states = PropertyValues(display, static_cast<Window>(w->winId()), "_NET_WM_STATE", XA_ATOM);
    return std::ranges::find(states, XInternAtom(display, name, False)) != states.end();
}

// Whether a window manager runs on the display: it names its check window on the root window.
bool WindowManagerRunning()
{
    Display* display = X11Display();
    return display != nullptr &&
           PropertyValues(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).size() == 1;
}

} // namespace

TEST_F(TrayTest, ParkedStartComesBackWithATaskEveryWay)
{
    // The first start shows the window and stores the defaults, "Сворачиваться при запуске" among them.
    Start(true);
    ASSERT_FALSE(learning->IsParked());
    Close();

    for (const ReturnCase& c : kReturnCases) {
        SCOPED_TRACE(c.name);
        Start(c.tray);
        ASSERT_TRUE(learning->IsParked());
        // Parked, the window sets no task; then it goes away by itself and the cards begin.
        EXPECT_FALSE(Variant().View().ready);
        ASSERT_TRUE(WaitUntil([&] { return learning->InTray() && !learning->IsParked(); }, 5000));
        EXPECT_EQ(learning->isMinimized(), !c.tray);
        EXPECT_EQ(learning->isVisible(), !c.tray);
        EXPECT_TRUE(card->isVisible());
        Return(c.way);
        ExpectBackWithATask(c.name);
        Close();
    }
}

TEST_F(TrayTest, EndOfExerciseHidesStartsCardsAndEveryReturnResetsTheExercise)
{
    for (const ReturnCase& c : kReturnCases) {
        SCOPED_TRACE(c.name);
        Start(c.tray);
        ChangeSettings([](SettingsWindowValues& v) { v.CB_StartTray = false; });
        ASSERT_FALSE(learning->IsParked());
        for (int i = 0; i < 19; ++i) {
            AnswerRight();
        }
        ASSERT_FALSE(learning->InTray());
        EXPECT_EQ(Panel(1), "осталось: 1");
        EXPECT_EQ(learning->LastWord->toolTip().toStdString(), "Последнее правильное слово");
        // A wrong answer on the way does not count towards the exercise.
        const int wrong = RightRow() == 1 ? 2 : 1;
        vbtest::MouseClick(Variant().var(wrong));
        EXPECT_EQ(Panel(2), "ошибок: 1");
        ASSERT_FALSE(learning->InTray());

        // The 20th right answer ends the exercise.
        vbtest::MouseClick(Variant().var(RightRow()));
        ASSERT_TRUE(learning->InTray());
        EXPECT_TRUE(learning->TimerHideLearnForm->isActive());
        EXPECT_TRUE(card->isVisible());
        EXPECT_TRUE(learning->TimerTranslate->isActive());
        // The echo runs out while away without setting a task or a question.
        learning->word->clear();
        ASSERT_TRUE(WaitUntil([&] { return !learning->TimerPronounceWord->isActive(); }, 5000));
        QApplication::processEvents();
        EXPECT_TRUE(learning->word->text().isEmpty());
        EXPECT_TRUE(learning->InTray());

        Return(c.way);
        ExpectBackWithATask(c.name);
        Close();
        // The next case starts afresh, with nothing learned yet.
        std::filesystem::remove(home.File("registry.reg"));
        std::filesystem::remove_all(home.File("Users"));
    }
}

TEST_F(TrayTest, TrayMenuItemsFollowWhatIsShownAndTheCardsMenuItemStartsThem)
{
    Start(true);
    ChangeSettings([](SettingsWindowValues& v) { v.CB_Card = false; });
    const auto visibleItems = [&] {
        emit learning->TrayPopupMenu->aboutToShow();
        std::vector<std::string> items;
        for (QAction* a : learning->TrayPopupMenu->actions()) {
            if (a->isVisible()) {
                items.push_back(a->isSeparator() ? "-" : a->text().toStdString());
            }
        }
        return items;
    };
    EXPECT_EQ(learning->TrayIcon->toolTip().toStdString(), "Verbanta");
    EXPECT_EQ(visibleItems(), (std::vector<std::string>{"Просмотр карточек слов", "-", "Выход"}));

    // Put away from the dictionary page with the cards off: back on the lesson page later, no card now.
    learning->PageControl->setCurrentIndex(3);
    learning->close();
    EXPECT_TRUE(learning->InTray());
    EXPECT_EQ(learning->PageControl->currentIndex(), 0);
    EXPECT_FALSE(card->isVisible());
    EXPECT_EQ(visibleItems(), (std::vector<std::string>{"Просмотр карточек слов", "Вернуться к урокам", "-", "Выход"}));

    // "Просмотр карточек слов" switches the cards on for good and starts them.
    learning->pm_tray_show_card->trigger();
    EXPECT_TRUE(settings->Values().CB_Card);
    EXPECT_TRUE(card->isVisible());
    EXPECT_EQ(visibleItems(), (std::vector<std::string>{"Скрыть карточку слов", "Вернуться к урокам", "-", "Выход"}));
    learning->pm_tray_hide_card->trigger();
    EXPECT_FALSE(card->isVisible());
    EXPECT_FALSE(learning->TimerTranslate->isActive());
    EXPECT_TRUE(learning->InTray());

    // A single click brings a shown window forward only; the pop-up minutes follow the setting.
    ChangeSettings([](SettingsWindowValues& v) { v.SE_TimeHide.Set(1440); });
    learning->TimerHideLearnFormTimer();
    emit learning->TrayIcon->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(learning->InTray());
    learning->m_card->trigger();
    EXPECT_EQ(learning->TimerHideLearnForm->interval(), 86400000);
    EXPECT_TRUE(card->isVisible());

    // With the pop-up off only the pupil brings the window back.
    learning->TimerHideLearnFormTimer();
    ChangeSettings([](SettingsWindowValues& v) { v.CB_PopUp = false; });
    learning->close();
    EXPECT_FALSE(learning->TimerHideLearnForm->isActive());
}

TEST_F(TrayTest, CardShowsTaskThesaurusAndAnswerInTurn)
{
    Start(true);
    ChangeSettings([](SettingsWindowValues& v) {
        v.CB_CardShowTesaurus = true;
        v.RG_WordShow.Set(1); // asks with the foreign word
        v.RG_CardLW.Set(0); // the whole dictionary
        v.SE_TimeWord.Set(0);
        v.SE_TimeTransl.Set(2);
    });
    learning->close();
    ASSERT_TRUE(card->isVisible());
    const TLessonWord& entry = learning->cardCycle.CardEntry;
    EXPECT_EQ(card->Card_Word->text().toStdString(), entry.Word);
    EXPECT_TRUE(card->Card_Word->isVisible());
    EXPECT_TRUE(card->Card_Transcr->isVisible());
    EXPECT_GT(card->Card_Transcr->x(), card->Card_Word->fontMetrics().horizontalAdvance(card->Card_Word->text()));
    EXPECT_FALSE(card->Card_Tesaurus->isVisible());
    EXPECT_FALSE(card->Card_Transl->isVisible());
    // Only one step is armed at a time: the task stays as long as reading it takes.
    EXPECT_TRUE(learning->TimerTesaurus->isActive());
    EXPECT_FALSE(learning->TimerTranslate->isActive());
    EXPECT_EQ(learning->TimerTesaurus->interval(), static_cast<int>(entry.Word.size()) * 90 + 300);

    learning->TimerTesaurus->start(1);
    ASSERT_TRUE(WaitUntil([&] { return learning->TimerTranslate->isActive(); }, 5000));
    EXPECT_EQ(card->Card_Tesaurus->isVisible(), !entry.Thesaurus.empty());
    EXPECT_EQ(learning->TimerTranslate->interval(),
              entry.Thesaurus.empty() ? 100 : static_cast<int>(entry.Thesaurus.size()) * 90 + 300);
    EXPECT_FALSE(card->Card_Transl->isVisible());

    learning->TimerTranslate->start(1);
    ASSERT_TRUE(WaitUntil([&] { return learning->TimerCard->isActive(); }, 5000));
    EXPECT_TRUE(card->Card_Transl->isVisible());
    EXPECT_EQ(card->Card_Transl->text().toStdString(), entry.Translation);
    EXPECT_EQ(learning->TimerCard->interval(), 2000);
    EXPECT_FALSE(learning->TimerTesaurus->isActive());

    // The next card is another word.
    const std::string previous = entry.Word;
    learning->TimerCard->start(1);
    ASSERT_TRUE(WaitUntil([&] { return learning->TimerTesaurus->isActive(); }, 5000));
    EXPECT_NE(learning->cardCycle.CardEntry.Word, previous);
    EXPECT_FALSE(card->Card_Transl->isVisible());

    // With nothing left to learn in "Заучиваемые" the cycle ends and the card goes.
    ChangeSettings([](SettingsWindowValues& v) { v.RG_CardLW.Set(1); });
    L().WorkSetSize = 0;
    learning->ShowNextCard();
    EXPECT_FALSE(card->isVisible());
    EXPECT_FALSE(learning->TimerTesaurus->isActive());
}

TEST_F(TrayTest, CardRefusesToCloseMovesAndKeepsPlaceAndColours)
{
    Start(true);
    learning->close();
    ASSERT_TRUE(card->isVisible());
    EXPECT_TRUE(card->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(card->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(card->close());
    EXPECT_TRUE(card->isVisible());

    // Dragged by a line, as by a title bar.
    card->move(100, 100);
    const QPoint grip(20, 8);
    vbtest::Mouse(card->Card_Word, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip), card->Card_Word->mapToGlobal(QPointF(grip + QPoint(30, 40))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(card->Card_Word, &move);
    vbtest::Mouse(card->Card_Word, QEvent::MouseButtonRelease, grip, Qt::NoButton);
    EXPECT_EQ(card->pos(), QPoint(130, 140));

    // The colour goes to the answer line when the menu opened over it, else to the card.
    QContextMenuEvent overAnswer(QContextMenuEvent::Mouse, QPoint(3, 3), card->Card_Transl->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(card->Card_Transl, &overAnswer);
    card->PopupMenuCard->hide();
    ColorMenus::SetNextColor(QColor(10, 20, 30));
    card->pm_card_color->trigger();
    QContextMenuEvent overWord(QContextMenuEvent::Mouse, QPoint(3, 3), card->Card_Word->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(card->Card_Word, &overWord);
    card->PopupMenuCard->hide();
    ColorMenus::SetNextColor(QColor(40, 50, 60));
    card->pm_card_color->trigger();
    card->resize(300, 90);

    // "Скрыть карточку слов" stores it; the next start finds it as it was.
    card->pm_card->trigger();
    EXPECT_FALSE(card->isVisible());
    Close();
    Start(true);
    const CardSettings stored = card->Values();
    EXPECT_EQ(stored.Left, 130);
    EXPECT_EQ(stored.Top, 140);
    EXPECT_EQ(stored.Width, 300);
    EXPECT_EQ(stored.Height, 90);
    EXPECT_EQ(stored.ColorCard_Transl, 10 | 20 << 8 | 30 << 16);
    EXPECT_EQ(stored.ColorForm_Card, 40 | 50 << 8 | 60 << 16);
}

// Both lines of a card are whole with the fonts of this desktop (the tray host check runs it on a real X
// server as well); a height the pupil has stored is kept as it is.
TEST_F(TrayTest, TrayHostCardShowsBothLinesWhole)
{
    const auto expectWhole = [&](const char* when) {
        SCOPED_TRACE(when);
        for (QLabel* line : {card->Card_Word, card->Card_Transl}) {
            SCOPED_TRACE(line->objectName().toStdString());
            EXPECT_GE(line->height(), QFontMetrics(line->font()).height());
            EXPECT_LE(line->geometry().bottom(), card->height() - 1);
        }
    };
    Start(true);
    ChangeSettings([](SettingsWindowValues& v) {
        v.RG_WordShow.Set(1);
        v.RG_CardLW.Set(0);
    });
    EXPECT_EQ(card->width(), 237);
    learning->close();
    ASSERT_TRUE(card->isVisible());
    learning->TimerTranslate->start(1);
    ASSERT_TRUE(WaitUntil([&] { return card->Card_Transl->isVisible(); }, 5000));
    expectWhole("designed bounds");
    EXPECT_EQ(card->width(), 237);
    EXPECT_GE(card->height(), 44);

    // Dictionary fonts twice as tall: the card still grows while the pupil has not sized it.
    card->Card_Word->setFont([&] {
        QFont f = card->Card_Word->font();
        f.setPixelSize(38);
        return f;
    }());
    card->Card_Transl->setFont(card->Card_Word->font());
    learning->TimerCard->start(1);
    ASSERT_TRUE(WaitUntil([&] { return learning->TimerTranslate->isActive(); }, 5000));
    learning->TimerTranslate->start(1);
    ASSERT_TRUE(WaitUntil([&] { return card->Card_Transl->isVisible(); }, 5000));
    // A window manager answers the resize of a shown window in its own time.
    WaitUntil([&] { return card->height() >= card->Card_Word->height() + card->Card_Transl->height(); }, 3000);
    expectWhole("taller fonts");

    // Stored bounds stay, even where the lines do not fit.
    card->pm_card->trigger();
    Close();
    {
        auto registry = MakeSystemRegistry(home.File("registry.reg"));
        const std::string key = "Software\\Verbanta\\Default";
        registry->WriteInt(key, "CardHeight", 30);
        registry->WriteInt(key, "CardWidth", 200);
    }
    Start(true);
    EXPECT_EQ(card->height(), 30);
    EXPECT_EQ(card->width(), 200);
    learning->close();
    ASSERT_TRUE(card->isVisible());
    EXPECT_EQ(card->height(), 30);
}

// On a real desktop: an X server with a tray host (scripts/tray-host-check.sh runs one). Skipped elsewhere.
TEST_F(TrayTest, TrayHostShowsTheIconAndItsMenu)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X display";
    }
    // The window manager and the tray host may still be starting (a cold machine builds its font caches first).
    if (!WaitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 30000)) {
        GTEST_SKIP() << "no tray host on this display";
    }
    if (!WaitUntil(WindowManagerRunning, 30000)) {
        GTEST_SKIP() << "no window manager on this display";
    }
    Start(std::nullopt);
    ChangeSettings([](SettingsWindowValues& v) { v.CB_StartTray = false; });
    ASSERT_TRUE(WaitUntil([&] { return learning->TrayIcon->geometry().isValid(); }, 10000));
    EXPECT_TRUE(learning->TrayIcon->isVisible());
    EXPECT_TRUE(learning->TrayUsable());

    const auto visibleItems = [&] {
        emit learning->TrayPopupMenu->aboutToShow();
        std::vector<std::string> items;
        for (QAction* a : learning->TrayPopupMenu->actions()) {
            if (a->isVisible()) {
                items.push_back(a->isSeparator() ? "-" : a->text().toStdString());
            }
        }
        return items;
    };
    EXPECT_EQ(visibleItems(), (std::vector<std::string>{"Просмотр карточек слов", "-", "Выход"}));
    // With a tray the window hides for real, and the card shows over the desktop.
    learning->close();
    EXPECT_FALSE(learning->isVisible());
    EXPECT_TRUE(card->isVisible());
    EXPECT_EQ(visibleItems(), (std::vector<std::string>{"Скрыть карточку слов", "Вернуться к урокам", "-", "Выход"}));
    // An embedded icon reports a double click of its own: a single click leaves the window put away.
    EXPECT_FALSE(learning->TrayOnStatusNotifierHost());
    emit learning->TrayIcon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(learning->InTray());
    emit learning->TrayIcon->activated(QSystemTrayIcon::DoubleClick);
    ExpectBackWithATask("double click on the icon");
    // Reached through the icon, the window has no task bar button.
    EXPECT_TRUE(WaitUntil([&] { return HasNetWmState(learning.get(), "_NET_WM_STATE_SKIP_TASKBAR"); }, 5000));
}

// A StatusNotifier host (KDE Plasma, GNOME's tray extension, most panels) gets the icon over D-Bus and activates
// it with one call, which Qt reports as a single Trigger: that brings a put-away window back.
TEST_F(TrayTest, TrayHostStatusNotifierActivateBringsTheWindowBack)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X display";
    }
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcherService)) {
        GTEST_SKIP() << "no StatusNotifierWatcher on the session bus";
    }
    Start(std::nullopt);
    ChangeSettings([](SettingsWindowValues& v) { v.CB_StartTray = false; });
    // The item the program registered with the watcher (its connection's name), as a host learns of it.
    QString item;
    ASSERT_TRUE(WaitUntil(
        [&] {
            QDBusInterface watcher(kWatcherService, QStringLiteral("/StatusNotifierWatcher"), kWatcherService, bus);
            const QStringList items = watcher.property("RegisteredStatusNotifierItems").toStringList();
            item = items.isEmpty() ? QString() : items.constLast();
            return !item.isEmpty();
        },
        10000));
    EXPECT_TRUE(learning->TrayUsable());
    EXPECT_TRUE(learning->TrayOnStatusNotifierHost());

    // The host's click: Activate on the item, answered while the event loop runs.
    const auto activate = [&] {
        QDBusMessage call =
            QDBusMessage::createMethodCall(item, QStringLiteral("/StatusNotifierItem"),
                                           QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"));
        call << 0 << 0;
        QDBusPendingCall pending = bus.asyncCall(call);
        ASSERT_TRUE(WaitUntil([&] { return pending.isFinished(); }, 5000));
        EXPECT_FALSE(pending.isError()) << pending.error().message().toStdString();
    };

    // Shown: the click only brings the window forward.
    activate();
    EXPECT_TRUE(learning->isVisible());
    EXPECT_FALSE(learning->InTray());

    learning->close();
    ASSERT_TRUE(learning->InTray());
    EXPECT_FALSE(learning->isVisible());
    activate();
    ASSERT_TRUE(WaitUntil([&] { return learning->isVisible(); }, 5000));
    ExpectBackWithATask("Activate on the StatusNotifier item");
}
