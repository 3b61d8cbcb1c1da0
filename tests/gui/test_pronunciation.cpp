// SPDX-License-Identifier: GPL-3.0-or-later
// Pronunciation in the real windows with a recording player and speech engine: what is heard after a
// right answer and when, the click handlers, and the live "Озвучивание" page.

#include "app/gui/app_context.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_set.h"
#include "common/codepage.h"
#include "common/registry.h"
#include "common/strings.h"
#include "engine/gui/variant_page.h"
#include "engine/settings.h"
#include "engine/variant.h"
#include "gui_input.h"
#include "support/temp_home.h"
#include "support/voice_fakes.h"
#include "test_learning_fixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace vb;

namespace {

const char* const kWords[][2] = {{"apple", "yabloko"}, {"bread (loaf)", "hleb"}, {"cloud", "oblako"}};

class PronunciationTest : public ::testing::Test
{
protected:
    void TearDown() override { Close(); }

    // The windows as the program makes them, with the pupil's settings stored first.
    void Start(const std::function<void(SettingsWindowValues&)>& stored)
    {
        std::string text;
        for (const auto& w : kWords) {
            text += std::string(w[0]) + "|" + w[1] + "||note\r\n";
        }
        const std::string dictionary = home.File("dict/small.lqd");
        vbtest::WriteBytes(dictionary, text);
        ctx = std::make_unique<AppContext>(AppPaths(home.Path(), home.Path(), home.Path()),
                                           MakeSystemRegistry(home.File("registry.reg")),
                                           std::vector<std::string>{dictionary});
        SettingsWindowValues values;
        values.CB_StartTray = false; // the window comes up at once
        stored(values);
        ctx->registry->CreateKey(kPupilKey);
        SaveSettings(*ctx->registry, kPupilKey, values, nullptr);
        ctx->player = std::make_unique<vbtest::FakePlayer>(log);
        ctx->speech = std::make_unique<vbtest::FakeSpeech>(
            log,
            std::vector<SpeechVoice>{{"Anna", "de", "German"}, {"Irina", "ru", "Russian"}, {"kal", "en", "English"}});
        learning = std::make_unique<TForm_Learning>(*ctx);
        ctx->learning = learning.get();
        settings = std::make_unique<TForm_Set>(*ctx);
        ctx->settings = settings.get();
        settings->SetHooks(learning->SettingsWindowHooks());
        learning->show();
    }

    void Close()
    {
        settings.reset();
        if (ctx) {
            ctx->settings = nullptr;
        }
        learning.reset();
        ctx.reset();
    }

    std::string Folder(const std::string& name) const { return home.File(name); }
    VariantPage& Variant() { return *learning->variantPage; }
    int RightRow() { return VariantHintSlot(Variant().Options(), learning->lesson.TaskPos) + 1; }

    static constexpr const char* kPupilKey = "Software\\Verbanta\\Default";
    vbtest::TempHome home;
    std::shared_ptr<vbtest::SoundLog> log = std::make_shared<vbtest::SoundLog>();
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
};

} // namespace

TEST_F(PronunciationTest, RightAnswerEchoesWordThenTranslationOnTheirDelays)
{
    for (const auto& w : kWords) {
        vbtest::WriteBytes(Folder("en/") + SoundName(w[0]) + ".wav", "RIFF");
    }
    // Words from the folder, translations by the Russian voice; the task shows the word.
    Start([&](SettingsWindowValues& v) {
        v.CB_Voice = true;
        v.ED_DirWAVWord = Folder("en/");
        v.CBx_SyntTransl = "Irina";
    });
    EXPECT_TRUE(learning->m_lesson_voice->isChecked());
    learning->PageControlChange(); // the task, now that the voices are chosen
    ASSERT_TRUE(Variant().View().ready);
    const int word = learning->lesson.VarProgress[static_cast<std::size_t>(learning->lesson.TaskPos)].WordIndex;
    const std::string spoken = kWords[word][0];
    const std::string translation = kWords[word][1];
    const std::string file = Folder("en/") + SoundName(spoken) + ".wav";
    log->calls.clear();

    vbtest::ClickAt(Variant().var(RightRow()), Variant().var(RightRow())->rect().center());
    EXPECT_EQ(log->calls, (std::vector<std::string>{"play " + file}));
    EXPECT_FALSE(learning->PageControl->isEnabled());
    EXPECT_EQ(learning->TimerPronounceWord->interval(), static_cast<int>(spoken.size()) * 90 + 300);

    learning->TimerPronounceWordTimer();
    EXPECT_EQ(log->calls.back(), "say transl " + translation);
    EXPECT_TRUE(learning->TimerPronounceTrsl->isActive());
    EXPECT_EQ(learning->TimerPronounceTrsl->interval(), static_cast<int>(translation.size()) * 90 + 1300);
    EXPECT_FALSE(learning->PageControl->isEnabled());

    // The next task, pronounced in its turn.
    learning->TimerPronounceTrslTimer();
    EXPECT_TRUE(learning->PageControl->isEnabled());
    ASSERT_EQ(log->calls.size(), 3u);
    const VariantTaskView& next = Variant().View();
    EXPECT_EQ(log->calls[2], next.taskIsWord ? "play " + Folder("en/") + SoundName(next.taskText) + ".wav"
                                             : "say transl " + StripParens(next.taskText));

    // The last right word's labels speak when clicked: word from the folder, translation by the voice.
    log->calls.clear();
    vbtest::ClickAt(learning->LastWord, learning->LastWord->rect().center());
    vbtest::ClickAt(learning->LastWordTransl, learning->LastWordTransl->rect().center());
    EXPECT_EQ(log->calls, (std::vector<std::string>{"play " + file, "say transl " + translation}));
}

// The task strip's box and its labels share one click handler: a click on a label is one call.
TEST_F(PronunciationTest, OneClickOnTheTaskWordPronouncesItOnce)
{
    for (const auto& w : kWords) {
        vbtest::WriteBytes(Folder("en/") + SoundName(w[0]) + ".wav", "RIFF");
    }
    Start([&](SettingsWindowValues& v) {
        v.CB_Voice = true;
        v.ED_DirWAVWord = Folder("en/");
        v.CBx_SyntTransl = "Irina";
    });
    learning->PageControlChange();
    ASSERT_TRUE(Variant().View().ready);
    for (QWidget* target : {static_cast<QWidget*>(learning->word), static_cast<QWidget*>(learning->wordtrsc),
                            static_cast<QWidget*>(learning->GBox_Word)}) {
        log->calls.clear();
        vbtest::ClickAt(target, QPoint(1, 1));
        EXPECT_EQ(log->calls.size(), 1u) << target->objectName().toStdString();
    }
}

TEST_F(PronunciationTest, SilentSchemeWaits100MsAndTouchesNothing)
{
    vbtest::WriteBytes(Folder("en/apple.wav"), "RIFF");
    Start([&](SettingsWindowValues& v) { v.ED_DirWAVWord = Folder("en"); });
    log->calls.clear();
    vbtest::ClickAt(Variant().var(RightRow()), Variant().var(RightRow())->rect().center());
    EXPECT_EQ(learning->TimerPronounceWord->interval(), 100);
    learning->TimerPronounceWordTimer();
    EXPECT_FALSE(learning->TimerPronounceTrsl->isActive());
    EXPECT_TRUE(learning->PageControl->isEnabled());
    EXPECT_TRUE(log->calls.empty());
}

TEST_F(PronunciationTest, VoiceListsPutTheDictionaryLanguagesFirstAndSelectTheStoredNames)
{
    Start([](SettingsWindowValues& v) {
        v.CBx_SyntWord = "kal";
        v.CBx_SyntTransl = "gone";
    });
    const auto items = [](QComboBox* list) {
        std::vector<std::string> names;
        for (int i = 0; i < list->count(); ++i) {
            names.push_back(list->itemText(i).toStdString());
        }
        return names;
    };
    EXPECT_EQ(items(settings->CBx_SyntWord), (std::vector<std::string>{"kal", "Irina", "Anna"}));
    EXPECT_EQ(items(settings->CBx_SyntTransl), (std::vector<std::string>{"Irina", "kal", "Anna"}));
    EXPECT_EQ(settings->CBx_SyntWord->currentIndex(), 0);
    // A stored voice no longer installed stays as the text, with no engine.
    EXPECT_EQ(settings->CBx_SyntTransl->currentIndex(), -1);
    EXPECT_EQ(settings->CBx_SyntTransl->currentText().toStdString(), "gone");
    EXPECT_EQ(log->calls, (std::vector<std::string>{"list voices", "voice word kal", "voice word kal"}));

    // Choosing a voice gives its side an engine with that voice.
    log->calls.clear();
    settings->CBx_SyntTransl->setCurrentIndex(2);
    EXPECT_EQ(log->calls, (std::vector<std::string>{"voice transl Anna"}));
    EXPECT_EQ(settings->Values().CBx_SyntTransl, "Anna");
}

TEST_F(PronunciationTest, FolderAndLibraryChoosersFillTheirEditsAndClosingReloadsTheIndexes)
{
    Start([](SettingsWindowValues&) {});
    QString askedTitle, askedStart;
    settings->folderDialog = [&](const QString& title, const QString& start) -> std::optional<QString> {
        askedTitle = title;
        askedStart = start;
        return QString::fromStdString(Folder("ru"));
    };
    settings->ED_DirWAVTransl->setText(QStringLiteral("/old"));
    settings->SB_DirWAVTransl->click();
    EXPECT_EQ(askedTitle.toStdString(), "Выберите каталог с звуковыми файлами");
    EXPECT_EQ(askedStart.toStdString(), "/old");
    EXPECT_EQ(settings->Values().ED_DirWAVTransl, Folder("ru"));

    vbtest::WriteBytes(Folder("lib/base/dic.txt"), "APPLE x 1 1\r\nCLOUD x 1 2\r\n");
    QString title, filter, folder;
    settings->fileDialog = [&](const QString& t, const QString& f, const QString& dir,
                               const QString&) -> std::optional<QString> {
        title = t;
        filter = f;
        folder = dir;
        return QString::fromStdString(Folder("lib/base/dic.txt"));
    };
    settings->ShowPage(TForm_Set::kPageVoice);
    settings->SB_LibWAVTransl->click();
    EXPECT_EQ(title.toStdString(), "Открыть Библиотеку Переводов Platinum");
    EXPECT_EQ(filter.toStdString(), "Библиотека Platinum (dic.txt)");
    EXPECT_EQ(folder.toStdString(), "/");
    settings->SB_LibWAVTransl->click();
    EXPECT_EQ(folder.toStdString(), Folder("lib/base"));
    settings->SB_LibWAVWord->click();
    EXPECT_EQ(title.toStdString(), "Открыть Библиотеку Слов Platinum");
    EXPECT_EQ(learning->Voice().WordIndex().Count(), 0u);

    settings->close();
    EXPECT_EQ(learning->Voice().WordIndex().Count(), 2u);
    EXPECT_EQ(learning->Voice().TranslIndex().Count(), 2u);
}
