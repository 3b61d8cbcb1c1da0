// SPDX-License-Identifier: GPL-3.0-or-later
// What a start puts off until the window is on the screen: the work after the first frame, the speech
// engines' thread and the audio output.

#include "app/gui/first_frame.h"
#include "test_learning_fixture.h"
#include "voice/gui/sound_player_qt.h"
#include "voice/gui/speech_engine_qt.h"

#include <QSoundEffect>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace vb;
using vbtest::WaitUntil;

TEST(StartupDeferred, WorkRunsOnceAfterTheFirstFrameOrAtTheLatest)
{
    // Shown: after its first paint, long before the latest time, and only once.
    {
        QWidget window;
        window.resize(200, 100);
        int runs = 0;
        bool paintedBefore = false;
        bool painted = false;
        struct PaintSpy : QObject
        {
            bool* flag;
            explicit PaintSpy(bool* f) : flag(f) { }
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Paint) {
                    *flag = true;
                }
                return false;
            }
        } spy(&painted);
        window.installEventFilter(&spy);
        AfterFirstFrame(
            &window,
            [&] {
                ++runs;
                paintedBefore = painted;
            },
            60000);
        window.show();
        EXPECT_EQ(runs, 0);
        ASSERT_TRUE(WaitUntil([&] { return runs > 0; }, 10000));
        EXPECT_TRUE(paintedBefore);
        window.update();
        QTest::qWait(50);
        EXPECT_EQ(runs, 1);
    }
    // Never painted (hidden, or parked off the screen): at the latest time.
    {
        QWidget window;
        int runs = 0;
        AfterFirstFrame(
            &window, [&] { ++runs; }, 20);
        EXPECT_EQ(runs, 0);
        ASSERT_TRUE(WaitUntil([&] { return runs > 0; }, 5000));
        QTest::qWait(50);
        EXPECT_EQ(runs, 1);
    }
    // The window gone first: nothing runs.
    {
        int runs = 0;
        {
            QWidget window;
            AfterFirstFrame(
                &window, [&] { ++runs; }, 10);
        }
        QTest::qWait(50);
        EXPECT_EQ(runs, 0);
    }
}

TEST(StartupDeferred, SpeechAndSoundWaitUntilStartedOrUsed)
{
    // No such engine: the listing comes back empty at once, without starting a speech server.
    auto speech = std::make_unique<QtSpeechEngine>(QStringList{QStringLiteral("no-such-engine")}, nullptr, false);
    bool listed = false;
    speech->ListVoices([&](const std::vector<SpeechVoice>& voices) {
        listed = true;
        EXPECT_TRUE(voices.empty());
    });
    QTest::qWait(200);
    EXPECT_FALSE(listed) << "the engines' thread ran before Start()";
    speech->Start();
    speech->Start();
    EXPECT_TRUE(WaitUntil([&] { return listed; }, 10000));
    speech.reset();

    // Never started: it still goes away cleanly.
    auto unused = std::make_unique<QtSpeechEngine>(QStringList{}, nullptr, false);
    unused->ListVoices([](const std::vector<SpeechVoice>&) { ADD_FAILURE() << "listed without a start"; });
    unused.reset();

    // The audio output is opened by the first sound, not by the player's making.
    QtSoundPlayer player;
    EXPECT_EQ(player.findChild<QSoundEffect*>(), nullptr);
    player.Play("/nonexistent/sound.wav");
    EXPECT_NE(player.findChild<QSoundEffect*>(), nullptr);
}
