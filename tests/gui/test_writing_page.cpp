// SPDX-License-Identifier: GPL-3.0-or-later
// The "Написание" page in the real lesson window: typing into Enter_Area with key events, auto-accept and the
// next task after the echo, Enter on a wrong answer, hints paid out of a right answer, the speed caption, the
// task-word menu and the options kept in the store.

#include "app/gui/app_context.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "common/clock.h"
#include "common/codepage.h"
#include "common/registry.h"
#include "gui/program_windows.h"
#include "support/temp_home.h"
#include "test_learning_fixture.h"
#include "writing/gui/platform_keyboard_layouts.h"
#include "writing/gui/writing_page.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace vb;
using vbtest::WaitUntil;

namespace {

struct HandClock : Clock
{
    std::uint32_t now = 5000;
    std::uint32_t TickCount() override { return now; }
};

// A private X server with two keyboard groups, us and ru; never the desktop the tests may run on.
class XServer
{
public:
    ~XServer()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            m_server.waitForFinished(5000);
        }
    }

    // Empty when it could not be started; the reason is in `why`.
    std::string Start(std::string& why)
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString setxkbmap = QStandardPaths::findExecutable(QStringLiteral("setxkbmap"));
        if (xvfb.isEmpty() || setxkbmap.isEmpty()) {
            why = "Xvfb or setxkbmap is not installed";
            return {};
        }
        // -noreset: the server would otherwise drop the keymap when setxkbmap disconnects.
        m_server.start(xvfb, {"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0", "320x240x24"});
        QByteArray number;
        while (!number.contains('\n') && m_server.waitForReadyRead(10000)) {
            number += m_server.readAllStandardOutput();
        }
        if (!number.contains('\n')) {
            why = "Xvfb did not start";
            return {};
        }
        const QString display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        if (QProcess::execute(setxkbmap, {"-display", display, "-layout", "us,ru"}) != 0) {
            why = "setxkbmap failed";
            return {};
        }
        return display.toStdString();
    }

private:
    QProcess m_server;
};

class WritingPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string text;
        for (const char* w : {"apple|yabloko", "bread|hleb", "cloud (sky)|oblako", "door|dver"}) {
            text += w;
            text += "|t|\r\n";
        }
        const std::string dictionary = home.File("dict/small.lqd");
        vbtest::WriteBytes(dictionary, text);
        vbtest::MakeProgramWindows(ctx, learning, settings, message, AppPaths(home.Path(), home.Path(), home.Path()),
                                   home.File("registry.reg"), {dictionary});
        learning->show();
        // The foreign word is typed.
        SettingsWindowValues values = settings->Values();
        values.RG_WordShow.Set(0);
        settings->ApplyValues(values);
        learning->m_lesson_enter->trigger();
    }

    void TearDown() override
    {
        TForm_Message::ResetTestHooks();
        Close();
    }

    void Close()
    {
        message.reset();
        settings.reset();
        learning.reset();
        ctx.reset();
    }

    WritingPage& Page() { return *learning->writingPage; }
    Lesson& L() { return learning->lesson; }
    std::string Expected() { return ExpectedAnswer(L()); }
    int TaskPoints() { return L().EnterProgress[static_cast<std::size_t>(L().TaskPos)].Points; }
    void Type(const std::string& text) { QTest::keyClicks(Page().Enter_Area, QString::fromStdString(text)); }

    vbtest::TempHome home;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Message> message;
};

} // namespace

TEST_F(WritingPageTest, AutoAcceptScoresAndTheNextTaskFollowsTheEcho)
{
    ASSERT_EQ(learning->PageControl->currentIndex(), TForm_Learning::kPageWriting);
    ASSERT_TRUE(Page().View().ready);
    EXPECT_TRUE(learning->word->isVisible());
    const int task = L().EnterProgress[static_cast<std::size_t>(L().TaskPos)].WordIndex;
    const std::string answer = Expected();
    // Parenthesised parts are never typed.
    EXPECT_EQ(answer.find('('), std::string::npos);

    Type(answer.substr(0, answer.size() - 1));
    EXPECT_EQ(L().RightCount, 0);
    Type(answer.substr(answer.size() - 1));
    EXPECT_EQ(L().RightCount, 1);
    EXPECT_EQ(L().EnterProgress[static_cast<std::size_t>(L().TaskPos)].Points, 18);
    EXPECT_EQ(learning->LastWord->text().toStdString(), L().LessonWords[static_cast<std::size_t>(task)].Word);
    EXPECT_FALSE(learning->PageControl->isEnabled());

    ASSERT_TRUE(WaitUntil([&] { return learning->PageControl->isEnabled(); }, 8000));
    ASSERT_TRUE(Page().View().ready);
    EXPECT_NE(L().EnterProgress[static_cast<std::size_t>(L().TaskPos)].WordIndex, task);
    EXPECT_TRUE(Page().Enter_Area->text().isEmpty());
}

TEST_F(WritingPageTest, EnterOnAWrongAnswerCostsThePenaltyAndTheTaskStays)
{
    QTest::mouseClick(Page().CB_Auto, Qt::LeftButton);
    ASSERT_FALSE(Page().Options().CB_Auto);
    const int position = L().TaskPos;
    Type("zz");
    QTest::keyClick(Page().Enter_Area, Qt::Key_Return);
    EXPECT_EQ(L().ErrorCount, 1);
    EXPECT_EQ(TaskPoints(), -10);
    EXPECT_EQ(L().TaskPos, position);
    EXPECT_EQ(Page().Enter_Area->text(), QStringLiteral("zz"));

    // Without auto-accept a right text waits for Enter.
    Page().Enter_Area->clear();
    Type(Expected());
    EXPECT_EQ(L().RightCount, 0);
    QTest::keyClick(Page().Enter_Area, Qt::Key_Enter);
    EXPECT_EQ(L().RightCount, 1);
    EXPECT_EQ(TaskPoints(), 8);
}

TEST_F(WritingPageTest, HintsShowOnTheLineAndArePaidOutOfTheRightAnswer)
{
    QTest::mouseClick(Page().CB_Len, Qt::LeftButton);
    QTest::mouseClick(Page().CB_First, Qt::LeftButton);
    const std::string answer = Expected();
    std::string line = answer.substr(0, 1);
    line.append(answer.size() - 1, '+');
    EXPECT_EQ(Page().Enter_Error->text().toStdString(), line);

    // "Подсказать ответ" shows it all and costs nothing; typing brings the masked line back.
    learning->pm_hint->trigger();
    EXPECT_EQ(Page().Enter_Error->text().toStdString(), answer);
    Type(answer);
    EXPECT_EQ(TaskPoints(), 18 - 8 - 4);
}

TEST_F(WritingPageTest, SpeedCaptionFollowsTheTyping)
{
    HandClock clock;
    Page().Exercise().Meter.SetClock(clock);
    QTest::mouseClick(Page().CB_Speed, Qt::LeftButton);
    EXPECT_TRUE(Page().GBox_Enter_Set->title().isEmpty());
    const std::string answer = Expected();
    for (std::size_t i = 0; i + 1 < answer.size(); ++i) {
        Type(answer.substr(i, 1));
        clock.now += 200;
    }
    const char point = Page().Exercise().Meter.DecimalPoint;
    EXPECT_EQ(Page().GBox_Enter_Set->title().toStdString(), SpeedCaption(300, 300, 0, 0, point));

    // Switching the option off clears the caption.
    QTest::mouseClick(Page().CB_Speed, Qt::LeftButton);
    EXPECT_TRUE(Page().GBox_Enter_Set->title().isEmpty());
}

TEST_F(WritingPageTest, TaskWordMenuActsOnTheWritingTask)
{
    const int task = L().EnterProgress[static_cast<std::size_t>(L().TaskPos)].WordIndex;
    learning->pm_word_off->trigger();
    // The learned word has left the working set for the end of the order.
    EXPECT_EQ(L().EnterProgress.back().WordIndex, task);
    EXPECT_EQ(L().EnterProgress.back().Points, 48);
    ASSERT_TRUE(Page().View().ready);

    L().EnterProgress[static_cast<std::size_t>(L().TaskPos)].Points = 30;
    learning->pm_word_on->trigger();
    EXPECT_EQ(TaskPoints(), 0);
}

TEST_F(WritingPageTest, OptionsAreKeptInTheStore)
{
    QTest::mouseClick(Page().CB_Word, Qt::LeftButton);
    QTest::mouseClick(Page().CB_RusLat, Qt::LeftButton);
    learning->SaveLearningSettings(true);
    Registry& store = *ctx->registry;
    const std::string key = "Software\\Verbanta\\Default";
    EXPECT_EQ(store.ReadInt(key, "LearningEnterWord"), 1);
    EXPECT_EQ(store.ReadInt(key, "LearningEnterRusLat"), 0);
    EXPECT_EQ(store.ReadInt(key, "LearningEnterAuto"), 1);

    // A load sets the boxes; one whose state changes runs its handler.
    store.WriteInt(key, "LearningEnterSpeed", 1);
    store.WriteInt(key, "LearningEnterWord", 0);
    learning->LoadLearningSettings();
    EXPECT_TRUE(Page().CB_Speed->isChecked());
    EXPECT_FALSE(Page().CB_Word->isChecked());
    EXPECT_FALSE(Page().CB_RusLat->isChecked());
}

TEST_F(WritingPageTest, EachTaskLocksTheXkbGroupOfTheAnswersLanguage)
{
    XServer server;
    std::string why;
    const std::string display = server.Start(why);
    if (display.empty()) {
        GTEST_SKIP() << "No X server for the keyboard layout test: " << why;
    }
    auto xkb = XkbKeyboardLayouts::Open(display);
    ASSERT_NE(xkb, nullptr);
    ASSERT_EQ(xkb->Groups(), (std::vector<std::string>{"us", "ru"}));
    XkbKeyboardLayouts& groups = *xkb;
    learning->SetKeyboardLayouts(std::move(xkb));
    // The connection goes before the server does: a lost X connection ends the process.
    struct Release
    {
        TForm_Learning& window;
        ~Release() { window.SetKeyboardLayouts(nullptr); }
    } release{*learning};

    const auto task = [&](int rgWordShow) {
        SettingsWindowValues values = settings->Values();
        values.RG_WordShow.Set(rgWordShow);
        settings->ApplyValues(values);
        learning->PageControlChange();
        EXPECT_TRUE(Page().View().ready);
    };
    task(1); // the translation is typed
    EXPECT_EQ(groups.LockedGroup(), 1);
    task(0); // the foreign word
    EXPECT_EQ(groups.LockedGroup(), 0);

    // The grid and search callers go through the same switch.
    learning->SwitchKeyboardLayout(true);
    EXPECT_EQ(groups.LockedGroup(), 1);

    // With the option off no layout changes; a language without a group leaves the layout alone too.
    QTest::mouseClick(Page().CB_RusLat, Qt::LeftButton);
    task(0);
    EXPECT_EQ(groups.LockedGroup(), 1);
    QTest::mouseClick(Page().CB_RusLat, Qt::LeftButton);
    SettingsWindowValues values = settings->Values();
    values.CBE_Word.Set(2); // "Немецкая"
    settings->ApplyValues(values);
    task(0);
    EXPECT_EQ(groups.LockedGroup(), 1);
}
