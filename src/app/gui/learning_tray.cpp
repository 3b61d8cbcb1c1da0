// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson window's side of the tray and of the word cards: hiding between exercises, every way back
// to the lessons, and the card cycle's timers.

#include "app/gui/form_learning.h"

#include "app/gui/color_menus.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QTimer>

#include <vector>

#include <QGuiApplication>

#if QT_CONFIG(dbus) && !defined(Q_OS_WIN)
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#endif

#if QT_CONFIG(xcb)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace vb {

namespace {

constexpr int kMinuteMs = 60 * 1000;

// Before the settings window exists (during start-up) the defaults hold.
const SettingsWindowValues& TrayValuesOf(const AppContext& ctx)
{
    static const SettingsWindowValues defaults;
    return ctx.settings ? ctx.settings->Values() : defaults;
}

#if QT_CONFIG(xcb)
// Asks the X11 window manager to leave the window out of the task bar, or to list it again.
void SetSkipTaskbar(QWidget* window, bool skip)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (display == nullptr) {
        return;
    }
    const auto id = static_cast<Window>(window->winId());
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom skipTaskbar = XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False);
    XWindowAttributes attributes{};
    const bool unmapped = XGetWindowAttributes(display, id, &attributes) == 0 || attributes.map_state == IsUnmapped;
    if (unmapped) {
        // An unmapped window carries the state into its mapping; Qt keeps the states it does not set itself.
        std::vector<Atom> states;
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, id, state, 0, 64, False, XA_ATOM, &type, &format, &count, &after, &data) ==
                Success &&
            data != nullptr) {
            if (type == XA_ATOM && format == 32) {
                const auto* atoms = reinterpret_cast<const Atom*>(data);
                states.assign(atoms, atoms + count);
            }
            XFree(data);
        }
        std::erase(states, skipTaskbar);
        if (skip) {
            states.push_back(skipTaskbar);
        }
        XChangeProperty(display, id, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
    }
    if (!unmapped || window->isVisible()) {
        // A window being shown may already be the window manager's, or become it before the manager reads the
        // property (it also erases the property of a window it has just seen hidden). A request queued behind
        // the map is applied after the manager has taken the window, whichever way the race went.
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = id;
        event.xclient.message_type = state;
        event.xclient.format = 32;
        event.xclient.data.l[0] = skip ? 1 : 0; // _NET_WM_STATE_ADD or _REMOVE
        event.xclient.data.l[1] = static_cast<long>(skipTaskbar);
        event.xclient.data.l[3] = 1; // from an application
        XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
    }
    XFlush(display);
}
#endif

// Whether the icon lives on a StatusNotifier host. Qt exports it over D-Bus as a StatusNotifierItem when a
// StatusNotifierWatcher is on the session bus, and embeds it in an XEmbed tray otherwise. Asked of the bus
// daemon, which answers at once whatever the watcher does.
bool IconExportedOverDBus()
{
#if QT_CONFIG(dbus) && !defined(Q_OS_WIN)
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr) {
        return false;
    }
    const QDBusReply<bool> registered =
        bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
    return registered.isValid() && registered.value();
#else
    return false;
#endif
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// Tray icon and menu

void TForm_Learning::RegisterTrayIcon()
{
    TrayPopupMenu = new QMenu(this);
    TrayPopupMenu->setObjectName(QStringLiteral("TrayPopupMenu"));
    const auto addItem = [this](QAction*& action, const char* name, const QString& caption,
                                void (TForm_Learning::*handler)()) {
        action = TrayPopupMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    addItem(pm_tray_show_card, "pm_tray_show_card", QStringLiteral("Просмотр карточек слов"),
            &TForm_Learning::m_cardClick);
    addItem(pm_tray_hide_card, "pm_tray_hide_card", QStringLiteral("Скрыть карточку слов"),
            &TForm_Learning::pm_tray_hide_cardClick);
    addItem(pm_tray_lesson, "pm_tray_lesson", QStringLiteral("Вернуться к урокам"),
            &TForm_Learning::TimerHideLearnFormTimer);
    pm_tray_sep = TrayPopupMenu->addSeparator();
    pm_tray_sep->setObjectName(QStringLiteral("pm_tray_sep"));
    addItem(pm_quit, "pm_quit", QStringLiteral("Выход"), &TForm_Learning::m_lesson_quitClick);
    connect(TrayPopupMenu, &QMenu::aboutToShow, this, &TForm_Learning::TrayPopupMenuPopup);

    QIcon icon = m_ctx.programIcon ? *m_ctx.programIcon : QApplication::windowIcon();
    if (icon.isNull()) {
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    }
    TrayIcon = new QSystemTrayIcon(icon, this);
    TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    TrayIcon->setToolTip(QStringLiteral("Verbanta"));
    TrayIcon->setContextMenu(TrayPopupMenu);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, &TForm_Learning::TrayIconActivated);
    // Platforms without a desktop (offscreen, minimal) have no notification area to register with.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
        TrayIcon->show();
    }
    TrayPopupMenuPopup();
}

void TForm_Learning::RemoveTrayIcon()
{
    if (TrayIcon) {
        TrayIcon->hide();
    }
}

bool TForm_Learning::TrayUsable() const
{
    if (trayAvailable) {
        return trayAvailable();
    }
    return TrayIcon && TrayIcon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

bool TForm_Learning::TrayOnStatusNotifierHost() const
{
    if (statusNotifierHost) {
        return statusNotifierHost();
    }
    return TrayIcon && TrayIcon->isVisible() && IconExportedOverDBus();
}

void TForm_Learning::TrayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        // A StatusNotifier host reports every activation as one Trigger and never a double click, so there
        // a hidden window comes back on it; elsewhere the double click stays the way back.
        if (InTray() && TrayOnStatusNotifierHost()) {
            ShowFromTray();
        } else if (!InTray() && !DialogOpen) {
            raise();
            activateWindow();
        }
        break;
    case QSystemTrayIcon::DoubleClick:
        if (InTray()) {
            ShowFromTray();
        }
        break;
    default:
        // The menu opens by itself on a right click.
        break;
    }
}

void TForm_Learning::TrayPopupMenuPopup()
{
    const bool cardShown = m_ctx.card && m_ctx.card->isVisible();
    pm_tray_show_card->setVisible(!cardShown);
    pm_tray_hide_card->setVisible(cardShown);
    pm_tray_lesson->setVisible(InTray());
}

void TForm_Learning::pm_tray_hide_cardClick()
{
    HideCard();
}

void TForm_Learning::UpdateTaskbarEntry()
{
#if QT_CONFIG(xcb)
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        SetSkipTaskbar(this, TrayUsable());
    }
#endif
}

// ---------------------------------------------------------------------------------------------------
// Hiding and coming back

void TForm_Learning::HideToTray()
{
    const SettingsWindowValues& values = TrayValuesOf(m_ctx);
    SaveLearningSettings(true);
    SaveSettings();
    SaveCardSettings();

    HiddenToTray = true;
    if (TrayUsable()) {
        hide();
    } else {
        // Without an icon in the notification area a hidden window could only come back through a second
        // start, so it waits minimised on the task bar instead (listed there again if the tray has gone).
        UpdateTaskbarEntry();
        showMinimized();
    }
    // Back on the lesson page even when put away from "Словарь" or "Текст".
    SelectPage(lesson.ActiveMethod);
    if (values.CB_PopUp) {
        TimerHideLearnForm->start(values.SE_TimeHide * kMinuteMs);
    }
    if (values.CB_Card) {
        StartCardCycle();
    }
    TrayPopupMenuPopup();
}

void TForm_Learning::ShowFromTray()
{
    if (IsParked()) {
        // Asked back before the start-up parking is over: finish it first, so the window is in its place.
        TimerStartTrayTimer();
    }
    TimerHideLearnForm->stop();
    HideCard();

    const bool minimisedInPlace = isVisible();
    HiddenToTray = false;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (minimisedInPlace) {
        // Un-minimising shows nothing new to the window itself, so it is refreshed here.
        FormShow();
    } else {
        // The show runs FormShow.
        show();
    }
    raise();
    activateWindow();

    // A new exercise.
    ApplyLessonParams();
    lesson.StartExercise();
    UpdateStatusBar();
    TrayPopupMenuPopup();
}

void TForm_Learning::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && HiddenToTray && isVisible() && !isMinimized()) {
        // Restored from the task bar where there is no tray: the same return as from the tray.
        ShowFromTray();
    }
}

void TForm_Learning::TimerHideLearnFormTimer()
{
    TimerHideLearnForm->stop();
    ShowFromTray();
}

void TForm_Learning::m_cardClick()
{
    if (m_ctx.settings && !m_ctx.settings->Values().CB_Card) {
        SettingsWindowValues values = m_ctx.settings->Values();
        values.CB_Card = true;
        m_ctx.settings->ApplyValues(values);
    }
    // Closing hides to the tray, which starts the cards; a window already away is put away anew.
    if (InTray()) {
        HideToTray();
    } else {
        close();
    }
}

// ---------------------------------------------------------------------------------------------------
// Word cards

TForm_Card::Hooks TForm_Learning::CardWindowHooks()
{
    TForm_Card::Hooks hooks;
    hooks.pupilKey = [this] { return PupilKey; };
    hooks.hideCard = [this] { HideCard(); };
    hooks.showFromTray = [this] { ShowFromTray(); };
    hooks.runColorDialog = [this](const QColor& initial) { return colorMenus->RunColorDialog(initial); };
    return hooks;
}

void TForm_Learning::StartCardCycle()
{
    ApplyLessonParams();
    lesson.UpdateWorkSet(lesson.ActiveMethod);
    ShowNextCard();
}

void TForm_Learning::StopCardTimers()
{
    TimerCard->stop();
    TimerTesaurus->stop();
    TimerTranslate->stop();
}

void TForm_Learning::HideCard()
{
    StopCardTimers();
    if (m_ctx.card) {
        m_ctx.card->hide();
    }
    TrayPopupMenuPopup();
}

void TForm_Learning::ShowNextCard()
{
    TForm_Card* card = m_ctx.card;
    const SettingsWindowValues& values = TrayValuesOf(m_ctx);
    if (card == nullptr || !CardCycle::CanShowCard(lesson, values.RG_CardLW)) {
        // Nothing (left) to show: the cycle ends.
        HideCard();
        return;
    }
    if (!card->isVisible()) {
        card->show();
    }
    card->HideLines();
    cardCycle.PickCardWord(lesson, values);
    cardFace = MakeCardFace(cardCycle.CardEntry, lesson.TaskDirection, values);
    const CardFace& face = cardFace;
    card->SetFace(face, QString::fromStdString(values.LB_WordFont), QString::fromStdString(values.LB_TrslFont),
                  QString::fromStdString(values.LB_TrscFont));

    card->Card_Word->show();
    if (face.pronounceTask) {
        Pronounce(face.task, face.taskIsWord);
    }
    if (face.transcriptionOnTaskLine && face.transcriptionShown) {
        card->Card_Transcr->show();
    }
    if (face.thesaurusStep) {
        TimerTesaurus->start(face.taskDelayMs);
    } else {
        TimerTranslate->start(face.taskDelayMs);
    }
    TrayPopupMenuPopup();
}

void TForm_Learning::TimerTesaurusTimer()
{
    TimerTesaurus->stop();
    TForm_Card* card = m_ctx.card;
    if (card == nullptr) {
        return;
    }
    const CardFace& face = cardFace;
    if (!face.thesaurus.empty()) {
        card->Card_Tesaurus->show();
        if (face.pronounceThesaurus) {
            Pronounce(face.thesaurus, face.thesaurusIsWord);
        }
    }
    TimerTranslate->start(face.thesaurusDelayMs);
}

void TForm_Learning::TimerTranslateTimer()
{
    TimerTranslate->stop();
    TForm_Card* card = m_ctx.card;
    if (card == nullptr) {
        return;
    }
    const CardFace& face = cardFace;
    card->Card_Transl->show();
    if (!face.transcriptionOnTaskLine && face.transcriptionShown) {
        card->Card_Transcr->show();
    }
    if (face.pronounceAnswer) {
        Pronounce(face.answer, face.answerIsWord);
    }
    TimerCard->start(face.answerDelayMs);
}

void TForm_Learning::TimerCardTimer()
{
    TimerCard->stop();
    ShowNextCard();
}

// ---------------------------------------------------------------------------------------------------
// Settings store

void TForm_Learning::SaveCardSettings()
{
    if (m_ctx.card) {
        m_ctx.card->SaveCardSettings();
    }
}

} // namespace vb
