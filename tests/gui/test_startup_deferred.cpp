// SPDX-License-Identifier: GPL-3.0-or-later
// What a start puts off until the window is on the screen: the work after the first frame, the pages behind
// the lesson pages with the dictionary's table, the speech engines' thread and the audio output.

#include "app/gui/first_frame.h"
#include "common/files.h"
#include "engine/lesson_preload.h"
#include "engine/progress_file.h"
#include "program_windows.h"
#include "support/temp_home.h"
#include "support/voice_fakes.h"
#include "test_learning_fixture.h"
#include "voice/gui/media/sound_player_qt.h"
#include "voice/gui/media/speech_engine_qt.h"
#include "voice/gui/media_module.h"

#include <QSoundEffect>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
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

namespace {

// The program's start over a small dictionary given on the command line, its first files read ahead.
struct DeferredStart
{
    DeferredStart()
    {
        vbtest::WriteBytes(dictionary, "apple|yabloko\r\nbread|hleb\r\ncloud|oblako\r\n");
        preload.Start(dictionary, progress);
        vbtest::MakeProgramWindows(ctx, learning, settings, message, AppPaths(home.Path(), home.Path(), home.Path()),
                                   home.File("registry.reg"), {dictionary}, true, &preload);
    }
    ~DeferredStart()
    {
        message.reset();
        settings.reset();
        learning.reset();
    }

    vbtest::TempHome home;
    std::string dictionary = home.File("dict/small.lqd");
    std::string progress = ProgressFilePath(home.File("Users"), "Default", dictionary);
    LessonPreload preload;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Message> message;
};

} // namespace

TEST(StartupDeferred, TheFirstFrameHasItsTaskAndTheHiddenPagesFollow)
{
    DeferredStart start;
    // The words and the table are there for the first task; the pages behind and the saving wait.
    TForm_Learning& w = *start.learning;
    EXPECT_EQ(w.lesson.WordCount, 3);
    EXPECT_FALSE(w.HiddenPagesCreated());
    EXPECT_EQ(w.SdfDataSet.RecordCount(), 3);
    EXPECT_FALSE(w.DictionaryChanged());
    EXPECT_FALSE(w.m_dict_save->isEnabled());
    // Asked before the window exists, the dialog finds nothing to save.
    EXPECT_TRUE(w.AskSaveChanges());

    w.show();
    EXPECT_FALSE(vb::FileExists(start.progress)) << "saved before the first frame";
    ASSERT_TRUE(vbtest::WaitUntil([&] { return w.HiddenPagesCreated(); }, 10000));
    EXPECT_TRUE(w.SdfDataSet.Active());
    EXPECT_EQ(w.SdfDataSet.RecordCount(), 3);
    EXPECT_FALSE(w.BTsave->isEnabled());
    EXPECT_EQ(w.PageControl->currentIndex(), TForm_Learning::kPageVariant);
    EXPECT_TRUE(vbtest::WaitUntil([&] { return vb::FileExists(start.progress); }, 10000));
    // The dictionary's words came from the reading ahead, which is used up.
    EXPECT_FALSE(start.preload.Take(start.dictionary, start.progress).has_value());
}

TEST(StartupDeferred, AHiddenPageAskedForIsMadeAtOnce)
{
    DeferredStart start;
    TForm_Learning& w = *start.learning;
    ASSERT_FALSE(w.HiddenPagesCreated());
    w.PageControl->setCurrentIndex(TForm_Learning::kPageDictionary);
    ASSERT_TRUE(w.HiddenPagesCreated());
    EXPECT_TRUE(w.SdfDataSet.Active());
    EXPECT_EQ(w.SdfDataSet.RecordCount(), 3);
    // Made once: showing the window later changes nothing.
    DictionaryPage* page = w.dictionaryPage;
    w.show();
    QTest::qWait(200);
    EXPECT_EQ(w.dictionaryPage, page);

    // Another dictionary opened before the pages: the page shows the last one.
    DeferredStart other;
    const std::string second = other.home.File("dict/second.lqd");
    vbtest::WriteBytes(second, "one|odin\r\n");
    ASSERT_TRUE(other.learning->OpenDictionary(second));
    EXPECT_EQ(other.learning->lesson.WordCount, 1);
    other.learning->CreateHiddenPages();
    EXPECT_EQ(other.learning->SdfDataSet.RecordCount(), 1);
    EXPECT_FALSE(other.learning->OpenDictionary(other.home.File("dict/missing.lqd")));
}

TEST(StartupDeferred, SpeechRequestsWaitForTheEnginesInTheirOrder)
{
    auto log = std::make_shared<vbtest::SoundLog>();
    int made = 0;
    DeferredSpeechEngine speech([&]() -> std::unique_ptr<SpeechEngine> {
        ++made;
        return std::make_unique<vbtest::FakeSpeech>(log, std::vector<SpeechVoice>{{"anna", "ru", "Russian"}});
    });
    std::vector<std::string> heard;
    speech.ListVoices([&](const std::vector<SpeechVoice>& voices) { heard.push_back(voices.at(0).name); });
    speech.SelectVoice(false, 0);
    EXPECT_EQ(made, 0);
    EXPECT_FALSE(speech.HasVoice(false));
    EXPECT_TRUE(heard.empty());

    speech.Start();
    speech.Start();
    EXPECT_EQ(made, 1);
    EXPECT_EQ(heard, std::vector<std::string>{"anna"});
    EXPECT_TRUE(speech.HasVoice(false));
    speech.Speak(false, "слово");
    EXPECT_EQ(log->calls, (std::vector<std::string>{"list voices", "voice transl anna", "say transl слово"}));

    // Something to say starts the engines at once; without engines nothing is heard and nothing breaks.
    DeferredSpeechEngine early([&]() -> std::unique_ptr<SpeechEngine> { return nullptr; });
    early.Speak(true, "word");
    EXPECT_TRUE(early.Started());
    EXPECT_FALSE(early.HasVoice(true));
    bool listed = false;
    early.ListVoices([&](const std::vector<SpeechVoice>& voices) { listed = voices.empty(); });
    EXPECT_TRUE(listed);
}

TEST(StartupDeferred, TheProgramStartsWithoutSoundOrSpeechLibraries)
{
    // The module is looked for beside the program, then in the installed library folder.
    const auto folders = MediaModuleFolders("/opt/v/bin");
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0], "/opt/v/bin");
    EXPECT_EQ(folders[1].rfind("/opt/v/", 0), 0u) << folders[1];
    EXPECT_NE(folders[1].find("verbanta"), std::string::npos);
    // A copy without its module stays silent.
    MakeDeferredSoundPlayer({"/nonexistent"})->Play("/nonexistent/sound.wav");
}
