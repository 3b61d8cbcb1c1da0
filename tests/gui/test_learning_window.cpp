// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson window's make-up, its start-up placement, closing and the second-start poll.

#include "test_learning_fixture.h"

#include "app/gui/form_set.h"
#include "engine/gui/status_bar.h"

#include <QActionGroup>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using vbtest::LearningFixture;
using vbtest::MenuOutline;
using vbtest::WaitUntil;
using Outline = std::vector<std::string>;

namespace {

std::vector<std::string> TabCaptions(const QTabWidget* tabs)
{
    std::vector<std::string> out;
    for (int i = 0; i < tabs->count(); ++i) {
        out.push_back(tabs->tabText(i).toStdString());
    }
    return out;
}

} // namespace

TEST(LearningWindow, LayoutPagesAndPanels)
{
    LearningFixture f;
    auto& form = f.Create();

    EXPECT_EQ(form.windowTitle().toStdString(), "Verbanta");
    EXPECT_EQ(form.minimumSize(), QSize(610, 376));
    EXPECT_EQ(form.PageControl->tabPosition(), QTabWidget::South);
    EXPECT_EQ(TabCaptions(form.PageControl), (Outline{"Вариант", "Мозаика", "Написание", "Словарь", "Текст"}));
    const QWidget* pages[] = {form.PageVariant, form.PageMosaic, form.PageWriting, form.PageDictionary, form.PageText};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.PageControl->widget(i), pages[i]) << i;
        EXPECT_NE(pages[i]->layout(), nullptr) << i;
    }

    EXPECT_EQ(form.GBox_Word->height(), 39);
    EXPECT_EQ(form.word->parentWidget(), form.GBox_Word);
    EXPECT_EQ(form.wordtrsc->parentWidget(), form.GBox_Word);
    EXPECT_EQ(form.BottomStrip->height(), 47);
    for (const QLabel* label : {form.LastWord, form.LastTranscr, form.LastWordTransl, form.LastTesaurus}) {
        EXPECT_EQ(label->parentWidget(), form.PanelLastWord);
    }
    EXPECT_EQ(form.StatusBar->height(), 19);
    EXPECT_EQ(form.ProgressBar->parentWidget(), form.StatusBar);

    form.show();
    EXPECT_FALSE(form.ProgressBar->isVisible());
    EXPECT_FALSE(form.LBW->isVisible());
    // The task strip above the pages, the panels below, all across the full width.
    EXPECT_LT(form.GBox_Word->geometry().bottom(), form.PageControl->geometry().top());
    EXPECT_LT(form.PageControl->geometry().bottom(), form.BottomStrip->geometry().top());
    EXPECT_EQ(form.BottomStrip->width(), form.centralWidget()->width());
}

TEST(LearningWindow, MainMenuCaptionsSeparatorsAndStates)
{
    LearningFixture f;
    auto& form = f.Create();

    Outline bar;
    for (const QAction* action : form.menuBar()->actions()) {
        bar.push_back(action->text().toStdString());
    }
    EXPECT_EQ(bar, (Outline{"Урок", "Словарь", "Настройки", "Помощь"}));

    EXPECT_EQ(
        MenuOutline(form.m_lesson),
        (Outline{"Ученик>", "-", "Выбрать метод>", "Просмотр карточек слов", "Статистика…", "-", "Учить словарь заново",
                 "-", "Показывать написание", "Озвучивать задания", "Режим диктанта", "-", "Выход"}));
    EXPECT_EQ(MenuOutline(form.m_lesson_pupil), (Outline{"Новенький", "Отучился", "-"}));
    EXPECT_EQ(MenuOutline(form.m_lesson_method), (Outline{"Вариант", "Мозаика", "Написание"}));
    EXPECT_EQ(MenuOutline(form.m_dict),
              (Outline{"Открыть существующий", "Открыть словарь из списка>", "-", "Создать новый", "Сохранить как ...",
                       "-", "Импорт…", "Экспорт…", "-", "Сохранить шрифты для словаря", "-", "Сохранить изменения",
                       "Отменить изменения"}));
    EXPECT_EQ(MenuOutline(form.m_set), (Outline{"Общие", "Обучение", "Карточка", "Озвучивание"}));
    EXPECT_EQ(MenuOutline(form.m_help), (Outline{"Как заучивать слова", "О программе"}));

    // Every item is reachable by its component name.
    for (const char* name : {"m_lesson_pupil_new",
                             "m_lesson_pupil_delete",
                             "m_lesson_variant",
                             "m_lesson_moz",
                             "m_lesson_enter",
                             "m_card",
                             "m_lesson_new",
                             "m_lesson_visual",
                             "m_lesson_voice",
                             "m_lesson_dictant",
                             "m_lesson_quit",
                             "m_dict_open",
                             "m_dict_create",
                             "m_dict_saveas",
                             "m_dict_savefonts",
                             "m_dict_save",
                             "m_dict_undo",
                             "m_set_common",
                             "m_set_learning",
                             "m_set_card",
                             "m_set_voice",
                             "m_content",
                             "m_about"}) {
        EXPECT_NE(form.findChild<QAction*>(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_EQ(form.m_lesson_quit->objectName(), QStringLiteral("m_lesson_quit"));

    EXPECT_TRUE(form.m_lesson_variant->isChecked());
    EXPECT_FALSE(form.m_lesson_moz->isChecked());
    EXPECT_FALSE(form.m_lesson_enter->isChecked());
    EXPECT_TRUE(form.m_lesson_visual->isChecked());
    EXPECT_TRUE(form.m_lesson_voice->isCheckable());
    EXPECT_FALSE(form.m_lesson_voice->isChecked());
    EXPECT_FALSE(form.m_lesson_dictant->isChecked());
    EXPECT_FALSE(form.m_dict_save->isEnabled());
    EXPECT_FALSE(form.m_dict_undo->isEnabled());
    EXPECT_TRUE(form.m_dict_saveas->isEnabled());

    // The methods are radio items: choosing one clears the others; "Озвучивать задания" ticks on click.
    form.m_lesson_enter->trigger();
    EXPECT_TRUE(form.m_lesson_enter->isChecked());
    EXPECT_FALSE(form.m_lesson_variant->isChecked());
    form.m_lesson_voice->trigger();
    EXPECT_TRUE(form.m_lesson_voice->isChecked());
}

TEST(LearningWindow, TimersAndTheirIntervals)
{
    LearningFixture f;
    auto& form = f.Create();

    EXPECT_TRUE(form.TimerStartup->isActive());
    EXPECT_EQ(form.TimerStartup->interval(), 1500);
    EXPECT_FALSE(form.TimerStartup->isSingleShot());
    EXPECT_EQ(form.TimerStartTray->interval(), 500);

    for (QTimer* timer : {form.TimerStartTray, form.TimerHideLearnForm, form.TimerCard, form.TimerTesaurus,
                          form.TimerTranslate, form.TimerPronounceWord, form.TimerPronounceTrsl}) {
        EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
        EXPECT_TRUE(timer->isSingleShot()) << timer->objectName().toStdString();
        EXPECT_EQ(form.findChild<QTimer*>(timer->objectName()), timer);
    }
}

TEST(LearningWindow, FirstStartUsesTheDesignedPlacement)
{
    LearningFixture f;
    auto& form = f.Create();

    EXPECT_EQ(form.PupilName, "Default");
    EXPECT_EQ(form.lesson.ExerciseLeft, 20);
    EXPECT_EQ(form.PupilKey, "Software\\Verbanta\\Default");
    EXPECT_EQ(form.geometry().topLeft(), QPoint(115, 104));
    EXPECT_EQ(form.size(), QSize(610, 376));
    EXPECT_FALSE(form.IsParked());
    EXPECT_EQ(form.PageControl->currentIndex(), 0);
    EXPECT_FALSE(form.DialogOpen);
    EXPECT_EQ(form.QuitRequested, 'N');
    EXPECT_FALSE(form.SettingsLoaded);
    // Reading the settings never creates the pupil's key.
    EXPECT_FALSE(f.Store().KeyExists(LearningFixture::kPupilKey));
}

TEST(LearningWindow, StoredPlacementIsAppliedAsItIs)
{
    {
        LearningFixture f;
        f.Store().CreateKey("Software\\Verbanta");
        f.Store().WriteString("Software\\Verbanta", "Application", "Маша");
        auto& form = f.Create();
        EXPECT_EQ(form.PupilName, "Маша");
        EXPECT_EQ(form.PupilKey, "Software\\Verbanta\\Маша");
    }
    {
        // Off screen stays off screen; a size below the minimum opens at the minimum; the text page is
        // never restored.
        LearningFixture f;
        f.PupilInt("SetSE_CountWEx", 12);
        f.PupilInt("SetCB_StartTray", 0);
        f.PupilInt("LearningTop", -50);
        f.PupilInt("LearningLeft", 3000);
        f.PupilInt("LearningHeight", 100);
        f.PupilInt("LearningWidth", 200);
        f.PupilInt("LearningTab", 4);
        auto& form = f.Create();
        EXPECT_EQ(form.lesson.ExerciseLeft, 12);
        EXPECT_EQ(form.geometry().topLeft(), QPoint(3000, -50));
        EXPECT_EQ(form.size(), QSize(610, 376));
        EXPECT_EQ(form.PageControl->currentIndex(), 0);
        EXPECT_EQ(form.lesson.ActiveMethod, 0);
        EXPECT_FALSE(form.IsParked());
    }
    {
        LearningFixture f;
        f.PupilInt("SetSE_CountWEx", 20);
        f.PupilInt("SetCB_StartTray", 0);
        f.PupilInt("LearningTop", 20);
        f.PupilInt("LearningLeft", 30);
        f.PupilInt("LearningHeight", 500);
        f.PupilInt("LearningWidth", 800);
        f.PupilInt("LearningTab", 2);
        auto& form = f.Create();
        EXPECT_EQ(form.geometry().topLeft(), QPoint(30, 20));
        EXPECT_EQ(form.size(), QSize(800, 500));
        EXPECT_EQ(form.PageControl->currentIndex(), 2);
        EXPECT_EQ(form.lesson.ActiveMethod, 2);
    }
    {
        // The reading stops at the first missing value: the top alone is applied.
        LearningFixture f;
        f.PupilInt("SetSE_CountWEx", 20);
        f.PupilInt("SetCB_StartTray", 0);
        f.PupilInt("LearningTop", 7);
        f.PupilInt("LearningHeight", 500);
        auto& form = f.Create();
        EXPECT_EQ(form.geometry().topLeft(), QPoint(115, 7));
        EXPECT_EQ(form.size(), QSize(610, 376));
    }
}

TEST(LearningWindow, ParkedStartGoesToTheTrayAndRestoresTheTop)
{
    LearningFixture f;
    f.PupilInt("SetSE_CountWEx", 20);
    f.PupilInt("SetCB_StartTray", 1);
    f.PupilInt("LearningTop", 222);
    auto& form = f.Create();

    EXPECT_TRUE(form.IsParked());
    EXPECT_EQ(form.WindowTop(), -1000);
    EXPECT_EQ(form.SavedTop, 222);
    EXPECT_TRUE(form.TimerStartTray->isActive());

    form.show();
    // Saving while parked keeps the real top.
    EXPECT_EQ(f.Store().ReadInt(LearningFixture::kPupilKey, "LearningTop"), 222);

    EXPECT_TRUE(WaitUntil([&] { return form.InTray(); }, 5000));
    EXPECT_FALSE(form.IsParked());
    EXPECT_EQ(form.WindowTop(), 222);
    EXPECT_FALSE(form.TimerStartTray->isActive());
    EXPECT_EQ(form.QuitRequested, 'N');
}

TEST(LearningWindow, ShowingSavesTheSettings)
{
    LearningFixture f;
    auto& form = f.Create();
    form.PlaceAt(40, 50);
    form.show();

    // The root key now exists, so a second start can leave its request.
    EXPECT_EQ(f.Store().ReadString("Software\\Verbanta", "Application"), "Default");
    EXPECT_EQ(f.Store().ReadInt(LearningFixture::kPupilKey, "LearningTop"), 50);
    EXPECT_EQ(f.Store().ReadInt(LearningFixture::kPupilKey, "LearningLeft"), 40);
    EXPECT_EQ(f.Store().ReadInt(LearningFixture::kPupilKey, "LearningWidth"), 610);

    // The page shown is not stored, the lesson method is.
    form.PageControl->setCurrentIndex(1);
    form.PageControl->setCurrentIndex(4);
    form.FormShow();
    EXPECT_EQ(f.Store().ReadInt(LearningFixture::kPupilKey, "LearningTab"), 1);
}

TEST(LearningWindow, ClosingHidesAndOnlyQuitEnds)
{
    LearningFixture f;
    auto& form = f.Create();
    form.show();

    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.InTray());
    EXPECT_EQ(form.QuitRequested, 'N');

    // Inside the running loop the close must not end it.
    form.show();
    QTimer::singleShot(0, &form, [&form] { form.close(); });
    QTimer::singleShot(300, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QApplication::exec(), 7);
    EXPECT_TRUE(form.InTray());

    // "Выход" ends the loop with success.
    const bool quitOnLastWindow = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    form.show();
    QTimer::singleShot(0, &form, [&form] { form.m_lesson_quit->trigger(); });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    safety.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    safety.stop();
    QApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
    EXPECT_EQ(form.QuitRequested, 'Y');
    EXPECT_FALSE(form.isVisible());
}

TEST(LearningWindow, StartRequestBringsTheWindowBack)
{
    LearningFixture f;
    auto& form = f.Create();
    form.show();
    form.close();
    ASSERT_TRUE(form.InTray());

    // Nothing pending: nothing happens.
    form.TimerStartupTimer();
    EXPECT_TRUE(form.InTray());

    f.Store().WriteString("Software\\Verbanta", "", "startup");
    form.TimerStartupTimer();
    EXPECT_FALSE(form.InTray());
    EXPECT_EQ(f.Store().ReadString("Software\\Verbanta", ""), "");

    // A dictionary request is taken also while a dialog is open.
    form.DialogOpen = true;
    f.Store().WriteString("Software\\Verbanta", "", "/tmp/words.LQD");
    form.TimerStartupTimer();
    EXPECT_FALSE(form.InTray());
    EXPECT_EQ(f.Store().ReadString("Software\\Verbanta", ""), "");
}

TEST(LearningWindow, TopmostKeepsPlaceAndSecondaryWindowsTakeIt)
{
    LearningFixture f;
    auto& form = f.Create();
    form.show();
    ASSERT_TRUE(WaitUntil([&] { return form.windowHandle() && form.windowHandle()->isExposed(); }, 5000));
    const QRect before = form.geometry();

    form.SetTopmost(true);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.geometry(), before);

    // A secondary window must not be covered by the lesson window.
    form.SecondaryShown();
    EXPECT_TRUE(form.DialogOpen);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.geometry(), before);

    // Back to the setting, which is off by default.
    form.SetTopmost(true);
    form.SecondaryHidden();
    EXPECT_FALSE(form.DialogOpen);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(LearningWindow, PagesSwitchTaskStripAndBottomPanel)
{
    LearningFixture f;
    auto& form = f.Create();
    form.show();

    struct Expect
    {
        int page;
        bool taskStrip;
        QWidget* panel;
    };
    const Expect cases[] = {
        {0, true, form.PanelLastWord},  {1, false, form.PanelLastWord}, {2, true, form.PanelLastWord},
        {3, false, form.PanelFindWord}, {4, false, form.PanelText},
    };
    for (const auto& c : cases) {
        form.ShowPagePanels(c.page);
        EXPECT_EQ(form.GBox_Word->isVisible(), c.taskStrip) << c.page;
        EXPECT_EQ(form.BottomStrip->currentWidget(), c.panel) << c.page;
        EXPECT_TRUE(c.panel->isVisible()) << c.page;
    }

    // Choosing a page from code does not announce a change.
    int changes = 0;
    QObject::connect(form.PageControl, &QTabWidget::currentChanged, [&changes] { ++changes; });
    form.SelectPage(3);
    EXPECT_EQ(form.PageControl->currentIndex(), 3);
    EXPECT_EQ(changes, 0);
}

TEST(LearningWindow, SecondaryWindowHoldsTheLessonWindowBack)
{
    LearningFixture f;
    auto& form = f.Create();
    form.show();
    form.SetTopmost(true);

    vb::TForm_Message dialog(f.ctx);
    dialog.SetHooks(form.SecondaryHooks());
    dialog.show();
    EXPECT_TRUE(form.DialogOpen);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    dialog.hide();
    EXPECT_FALSE(form.DialogOpen);

    form.SecondaryHooks().modalClosed();
    EXPECT_TRUE(form.ModalClosed);
}

TEST(LearningWindow, SettingsSurviveARestart)
{
    LearningFixture f;
    {
        auto& form = f.Create();
        // Gone before the lesson window, as at the program's end: it still asks for the pupil then.
        vb::TForm_Set settings(f.ctx);
        f.ctx.settings = &settings;
        settings.SetHooks(form.SettingsWindowHooks());
        EXPECT_TRUE(form.SettingsLoaded);

        auto values = settings.Values();
        values.CB_Top = true;
        settings.ApplyValues(values);
        form.PlaceAt(60, 70);
        form.resize(700, 450);
        form.PageControl->setCurrentIndex(2);
        form.show();
        EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        form.hide();
        f.ctx.settings = nullptr;
    }
    f.form.reset();

    // Started again, the window parks ("Сворачиваться при запуске" is on by default) and keeps the rest.
    auto& again = f.Create();
    EXPECT_TRUE(again.IsParked());
    EXPECT_EQ(again.SavedTop, 70);
    EXPECT_EQ(again.WindowLeft(), 60);
    EXPECT_EQ(again.size(), QSize(700, 450));
    EXPECT_EQ(again.PageControl->currentIndex(), 2);
    EXPECT_EQ(again.lesson.ActiveMethod, 2);
}
