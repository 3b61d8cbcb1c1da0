// SPDX-License-Identifier: GPL-3.0-or-later
// The installed flite engine behind the program's windows: its voices fill the lists by name, and with
// "только синтез" a task reaches it (seen as a change of the engine's state; without a sound card it ends in
// an error, which stays silent). Skipped where flite is not installed.

#include "app/gui/app_context.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_set.h"
#include "common/registry.h"
#include "engine/settings.h"
#include "support/temp_home.h"
#include "test_learning_fixture.h"
#include "voice/gui/media/speech_engine_qt.h"

#include <QComboBox>
#include <QTextToSpeech>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace vb;

TEST(RealSpeech, FliteVoicesAreListedAndSpeakATask)
{
    if (!QTextToSpeech::availableEngines().contains(QStringLiteral("flite"))) {
        GTEST_SKIP() << "flite is not installed";
    }
    vbtest::TempHome home;
    vbtest::WriteBytes(home.File("dict/small.lqd"), "apple|yabloko||\r\nbread|hleb||\r\ncloud|oblako||\r\n");
    AppContext ctx(AppPaths(home.Path(), home.Path(), home.Path()), MakeSystemRegistry(home.File("registry.reg")),
                   {home.File("dict/small.lqd")});
    SettingsWindowValues values;
    values.CB_StartTray = false;
    values.CB_Voice = true;
    values.RG_Voice.Set(2); // "только синтез"
    values.CBx_SyntWord = "kal";
    values.CBx_SyntTransl = "kal";
    values.RG_WordShow.Set(0);
    ctx.registry->CreateKey("Software\\Verbanta\\Default");
    SaveSettings(*ctx.registry, "Software\\Verbanta\\Default", values, nullptr);

    auto* speech = new QtSpeechEngine({QStringLiteral("flite")});
    ctx.speech.reset(speech);
    std::vector<std::pair<bool, std::string>> states;
    QObject::connect(speech, &QtSpeechEngine::StateChanged,
                     [&](bool isWord, const QString& state) { states.emplace_back(isWord, state.toStdString()); });
    {
        TForm_Learning learning(ctx);
        ctx.learning = &learning;
        TForm_Set settings(ctx);
        ctx.settings = &settings;
        settings.SetHooks(learning.SettingsWindowHooks());
        learning.show();

        ASSERT_TRUE(vbtest::WaitUntil([&] { return settings.CBx_SyntWord->count() > 0; }, 20000));
        std::vector<std::string> names;
        for (int i = 0; i < settings.CBx_SyntWord->count(); ++i) {
            names.push_back(settings.CBx_SyntWord->itemText(i).toStdString());
        }
        for (const char* voice : {"awb", "kal", "kal16", "rms", "slt"}) {
            EXPECT_NE(std::find(names.begin(), names.end(), voice), names.end()) << voice;
        }
        EXPECT_EQ(settings.CBx_SyntWord->currentText().toStdString(), "kal");
        EXPECT_GE(settings.CBx_SyntWord->currentIndex(), 0);
        EXPECT_GE(settings.CBx_SyntTransl->currentIndex(), 0);

        // A new task is pronounced on its side; the engine takes the text.
        learning.PageControlChange();
        EXPECT_TRUE(vbtest::WaitUntil([&] { return !states.empty(); }, 20000));
        ctx.settings = nullptr;
        ctx.learning = nullptr;
    }
    ASSERT_FALSE(states.empty());
    RecordProperty("first_state", states.front().second);
}
