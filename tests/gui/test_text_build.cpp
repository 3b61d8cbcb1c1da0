// SPDX-License-Identifier: GPL-3.0-or-later
// A frequency build runs on a thread while the window stays live: what its end would undo (the open
// dictionary and its edits, the pupil) is refused meanwhile, and unsaved edits are asked about first.

#include "app/gui/file_dialogs.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/learning_startup.h"
#include "dictionary/gui/dictionary_grid.h"
#include "dictionary/gui/dictionary_navigator.h"
#include "dictionary/gui/dictionary_page.h"
#include "gui/program_windows.h"
#include "support/temp_home.h"
#include "text/gui/text_page.h"

#include <QAction>
#include <QActionGroup>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

using namespace vb;
using vbtest::ReadBytes;
using vbtest::WriteBytes;

namespace {

class TextBuildTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TForm_Message::ResetTestHooks();
        FileDialogs::ResetTestHooks();
        dictionary = home.File("dict/small.lqd");
        other = home.File("dict/other.lqd");
        out = home.File("dict/built.lqd");
        WriteBytes(dictionary, "apple|yabloko\r\nbread|hleb\r\n");
        WriteBytes(other, "zebra|zebra\r\n");
        // A second pupil to switch to.
        auto store = MakeSystemRegistry(home.File("registry.reg"));
        store->CreateKey("Software\\Verbanta\\Ivan");
        store.reset();
        vbtest::MakeProgramWindows(ctx, learning, settings, message, AppPaths(home.Path(), home.Path(), home.Path()),
                                   home.File("registry.reg"), {dictionary});
        learning->show();
        page = learning->textPage;
        page->fileDialog = [this](const FileDialogRequest&) {
            ++textDialogs;
            return QString::fromStdString(out);
        };
        page->Memo->setPlainText(QStringLiteral("cat dog cat"));
    }

    void TearDown() override
    {
        message.reset();
        ctx->message = nullptr;
        settings.reset();
        ctx->settings = nullptr;
        learning.reset();
        TForm_Message::ResetTestHooks();
        FileDialogs::ResetTestHooks();
    }

    // Runs `during` while the build is held open on its thread, then lets it finish.
    void BuildWhile(const std::function<void()>& during)
    {
        bool ran = false;
        std::atomic<bool> release{false};
        page->builder = [&release](std::string_view text, const std::string& path, const FrequencyOptions& options,
                                   const FrequencyProgress& progress, bool* unicode) {
            while (!release) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            BuildFrequencyDictionary(text, path, options, progress, unicode);
        };
        QTimer::singleShot(0, learning.get(), [&] {
            ran = page->Building();
            during();
            release = true;
        });
        page->BTcreate->click();
        EXPECT_TRUE(ran);
    }

    void EditCell(const QString& text)
    {
        learning->PageControl->setCurrentIndex(TForm_Learning::kPageDictionary);
        DictionaryGrid* grid = learning->DBGridDict;
        grid->setFocus();
        const QModelIndex index = grid->model()->index(0, DictionaryPage::kColTranslate);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(learning->focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        grid->CommitEdit();
    }

    QAction* PupilItem(const QString& caption) const
    {
        for (QAction* item : learning->m_lesson_pupil->actions()) {
            if (item->text() == caption) {
                return item;
            }
        }
        return nullptr;
    }

    vbtest::TempHome home;
    std::string dictionary, other, out;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Message> message;
    TextPage* page = nullptr;
    int textDialogs = 0;
};

TEST_F(TextBuildTest, DuringTheBuildNothingIsOpenedEditedOrSwitchedAndTheBuiltDictionaryOpens)
{
    const std::string pupil = learning->PupilName;
    QAction* ivan = PupilItem(QStringLiteral("Ivan"));
    ASSERT_NE(ivan, nullptr);
    bool pendingDuring = false;
    BuildWhile([&] {
        EXPECT_TRUE(learning->BuildRunning());
        const int dialogs = FileDialogs::DialogCount();
        FileDialogs::SetNextFileName(QString::fromStdString(other));
        learning->m_dict_open->trigger();
        learning->m_dict_create->trigger();
        learning->m_dict_saveas->trigger();
        EXPECT_EQ(FileDialogs::DialogCount(), dialogs);
        // The recent list and a second start with a dictionary leave it open too; the request waits.
        ASSERT_FALSE(learning->m_dict_open_list->actions().isEmpty());
        learning->m_dict_open_list->actions().front()->trigger();
        PostStartRequest(*ctx->registry, {other});
        learning->TimerStartupTimer();
        pendingDuring = ctx->registry->ReadString(AppContext::kRootKey, "").value_or("") == other;
        // Neither the pupil nor the grid can be changed; the menus show it.
        ivan->setChecked(true);
        ivan->trigger();
        learning->m_lesson_pupil_new->trigger();
        EXPECT_EQ(learning->PupilName, pupil);
        EXPECT_EQ(learning->Settings.DictionaryPath, dictionary);
        EXPECT_FALSE(learning->DBGridDict->isEnabled());
        EXPECT_FALSE(learning->DBNavigator->isEnabled());
        EXPECT_FALSE(learning->m_dict_open->isEnabled());
        EXPECT_FALSE(learning->m_lesson_pupil->menuAction()->isEnabled());
    });
    EXPECT_TRUE(pendingDuring);
    EXPECT_EQ(learning->Settings.DictionaryPath, out);
    EXPECT_EQ(learning->PupilName, pupil);
    EXPECT_EQ(ReadBytes(out), "cat|||\r\ndog|||\r\n");
    EXPECT_FALSE(learning->BuildRunning());
    EXPECT_TRUE(learning->DBGridDict->isEnabled());
    EXPECT_TRUE(learning->m_dict_open->isEnabled());
    EXPECT_TRUE(learning->m_lesson_pupil->menuAction()->isEnabled());
    // The request handed over during the build is served by the next poll.
    learning->TimerStartupTimer();
    EXPECT_EQ(learning->Settings.DictionaryPath, other);
}

TEST_F(TextBuildTest, UnsavedEditsAreOfferedForSavingBeforeTheBuild)
{
    EditCell(QStringLiteral("frukt"));
    // "отменить": nothing is built, the edits stay.
    TForm_Message::SetNextAnswer(3);
    page->BTcreate->click();
    EXPECT_EQ(TForm_Message::LastMessage().text, "Словарь был Вами изменён. Сохранить изменения?");
    EXPECT_EQ(textDialogs, 0);
    EXPECT_FALSE(page->Building());
    EXPECT_TRUE(learning->DictionaryChanged());
    EXPECT_EQ(learning->Settings.DictionaryPath, dictionary);

    // "да": the edits reach their dictionary, then the build runs and opens its result.
    TForm_Message::SetNextAnswer(1);
    TForm_Message::SetNextAnswer(2); // the "saved" notice
    page->BTcreate->click();
    EXPECT_EQ(ReadBytes(dictionary), "apple|frukt\r\nbread|hleb\r\n");
    EXPECT_EQ(textDialogs, 1);
    EXPECT_EQ(learning->Settings.DictionaryPath, out);
}

} // namespace
