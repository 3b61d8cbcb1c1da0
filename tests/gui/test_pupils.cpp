// SPDX-License-Identifier: GPL-3.0-or-later
// Pupils in the real lesson window: the "Ученик" menu, the new-pupil dialog, switching and removing pupils.

#include "app/gui/app_context.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "app/gui/form_user.h"
#include "common/files.h"
#include "common/registry.h"
#include "gui/program_windows.h"
#include "gui_input.h"
#include "support/temp_home.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace vb;

namespace {

const std::string kRoot = "Software\\Verbanta";

std::string Key(const std::string& pupil)
{
    return kRoot + "\\" + pupil;
}

class PupilsTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        TForm_Message::ResetTestHooks();
        if (ctx) {
            user.reset();
            message.reset();
            settings.reset();
            learning.reset();
        }
    }

    // The windows as the program makes them, on a dictionary of five words.
    void Start()
    {
        dictionary = home.File("dict/small.lqd");
        vbtest::WriteBytes(dictionary, "apple|yabloko\r\nbread|hleb\r\ncloud|oblako\r\ndoor|dver\r\nearth|zemlya\r\n");
        vbtest::MakeProgramWindows(ctx, learning, settings, message, AppPaths(home.Path(), home.Path(), home.Path()),
                                   home.File("registry.reg"), {dictionary});
        user = std::make_unique<TForm_User>(*ctx);
        ctx->user = user.get();
        user->SetHooks(learning->UserWindowHooks());
        learning->show();
        ASSERT_EQ(learning->lesson.WordCount, 5);
    }

    Registry& Store() { return *ctx->registry; }

    // "Новенький", the name typed and "Сохранить" clicked.
    void NewPupil(const std::string& typed)
    {
        vbtest::WhenModal(user.get(), [this, typed] {
            user->ED_User->setText(QString::fromStdString(typed));
            vbtest::MouseClick(user->BT_Save);
        });
        learning->m_lesson_pupil_new->trigger();
        ASSERT_FALSE(user->isVisible());
    }

    // The pupil items as captions, the ticked one marked with "*".
    std::vector<std::string> PupilItems() const
    {
        std::vector<std::string> out;
        const QList<QAction*> items = learning->m_lesson_pupil->actions();
        EXPECT_EQ(items.mid(0, 3), (QList<QAction*>{learning->m_lesson_pupil_new, learning->m_lesson_pupil_delete,
                                                    learning->m_lesson_pupil_sep}));
        for (int i = 3; i < items.size(); ++i) {
            out.push_back(items[i]->text().toStdString() + (items[i]->isChecked() ? "*" : ""));
        }
        return out;
    }

    QAction* PupilItem(const std::string& name) const
    {
        for (QAction* item : learning->m_lesson_pupil->actions()) {
            if (item->text().toStdString() == name) {
                return item;
            }
        }
        return nullptr;
    }

    void SetCountVar(int count)
    {
        SettingsWindowValues values = settings->Values();
        values.SE_CountVar.Set(count);
        settings->ApplyValues(values);
    }

    // Variant points by word index.
    std::map<int, int> VarPoints() const
    {
        std::map<int, int> points;
        for (const TWordProgress& p : learning->lesson.VarProgress) {
            points[p.WordIndex] = p.Points;
        }
        return points;
    }

    std::string Title() const { return learning->windowTitle().toStdString(); }

    vbtest::TempHome home;
    std::string dictionary;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_User> user;
    std::unique_ptr<TForm_Message> message;
};

TEST_F(PupilsTest, ANewPupilGetsACopyOfTheSettingsAndAnEmptyRecentList)
{
    Start();
    EXPECT_EQ(user->windowTitle().toStdString(), "Новый ученик");
    EXPECT_EQ(user->size(), QSize(217, 62));
    EXPECT_EQ(user->ED_User->toolTip().toStdString(), "Введите имя нового ученика");
    EXPECT_EQ(user->BT_Save->text().toStdString(), "Сохранить");
    EXPECT_EQ(user->BT_Close->text().toStdString(), "отмена");
    EXPECT_EQ(Title(), "Verbanta");
    EXPECT_FALSE(learning->m_lesson_pupil_delete->isEnabled());
    SetCountVar(5);
    learning->RecentDictionaries = "/old/one.lqd;";
    learning->SaveLearningSettings(true);

    // Enter cleans the name and moves on to "Сохранить" without saving yet; Enter there saves.
    std::string textAfterEnter;
    QWidget* focusAfterEnter = nullptr;
    vbtest::WhenModal(user.get(), [&] {
        EXPECT_TRUE(learning->DialogOpen);
        user->ED_User->setText(QStringLiteral(" (Иван). "));
        vbtest::KeyClick(user->ED_User, Qt::Key_Return);
        textAfterEnter = user->ED_User->text().toStdString();
        focusAfterEnter = QApplication::focusWidget();
        vbtest::KeyClick(user->BT_Save, Qt::Key_Return);
    });
    learning->m_lesson_pupil_new->trigger();
    EXPECT_EQ(textAfterEnter, "Иван");
    EXPECT_EQ(focusAfterEnter, user->BT_Save);
    EXPECT_FALSE(learning->DialogOpen);
    EXPECT_TRUE(learning->ModalClosed);

    EXPECT_EQ(learning->PupilName, "Иван");
    EXPECT_EQ(learning->PupilKey, Key("Иван"));
    EXPECT_EQ(Title(), "Verbanta [ Иван ]");
    EXPECT_EQ(PupilItems(), std::vector<std::string>{"Иван*"});
    EXPECT_TRUE(learning->m_lesson_pupil_delete->isEnabled());
    EXPECT_EQ(Store().ReadString(kRoot, "Application"), "Иван");
    EXPECT_EQ(Store().ReadInt(Key("Иван"), "SetSE_CountVar"), 5);
    EXPECT_EQ(Store().ReadString(Key("Иван"), "").value_or("?").find("/old/one.lqd"), std::string::npos);
    EXPECT_EQ(learning->RecentDictionaries.find("/old/one.lqd"), std::string::npos);
    EXPECT_NE(Store().ReadString(Key("Default"), "").value_or("").find("/old/one.lqd"), std::string::npos);
    // His progress starts afresh and nothing is written for him until he answers.
    for (const auto& [word, points] : VarPoints()) {
        EXPECT_EQ(points, 0) << word;
    }
    EXPECT_FALSE(DirectoryExists(home.File("Users/Иван")));

    // "отмена", a name of punctuation only and the same name in another case make nobody new.
    vbtest::WhenModal(user.get(), [&] {
        user->ED_User->setText(QStringLiteral("Петя"));
        vbtest::MouseClick(user->BT_Close);
    });
    learning->m_lesson_pupil_new->trigger();
    NewPupil("?!.,");
    EXPECT_EQ(learning->PupilName, "Иван");
    NewPupil("ИВАН");
    EXPECT_EQ(Store().ListSubkeys(kRoot), (std::vector<std::string>{"Default", "Иван"}));
    EXPECT_EQ(PupilItems(), std::vector<std::string>{"Иван*"});
}

TEST_F(PupilsTest, SwitchingBackRestoresThePupilsSettingsAndProgress)
{
    // Аня's progress lies in a folder spelled in another case.
    vbtest::WriteBytes(home.File("Users/АНЯ/small.lqs"),
                       "0|30|0|0|0|0\r\n1|12|1|0|1|0\r\n2|0|2|0|2|0\r\n3|0|3|0|3|0\r\n4|6|4|0|4|0\r\n");
    {
        auto store = MakeFileRegistry(home.File("registry.reg"));
        store->CreateKey(Key("Аня"));
        store->WriteString(kRoot, "Application", "Аня");
    }
    Start();
    EXPECT_EQ(learning->PupilName, "Аня");
    const std::map<int, int> anya = VarPoints();
    EXPECT_EQ(anya.at(0), 30);
    EXPECT_EQ(anya.at(4), 6);
    SetCountVar(4);

    NewPupil("Иван");
    EXPECT_EQ(VarPoints().at(0), 0);
    EXPECT_EQ(settings->Values().SE_CountVar, 4);
    SetCountVar(6);
    EXPECT_EQ(PupilItems(), (std::vector<std::string>{"Аня", "Иван*"}));

    PupilItem("Аня")->trigger();
    EXPECT_EQ(learning->PupilName, "Аня");
    EXPECT_EQ(Title(), "Verbanta [ Аня ]");
    EXPECT_EQ(PupilItems(), (std::vector<std::string>{"Аня*", "Иван"}));
    EXPECT_EQ(settings->Values().SE_CountVar, 4);
    EXPECT_EQ(VarPoints(), anya);
    EXPECT_EQ(Store().ReadInt(Key("Иван"), "SetSE_CountVar"), 6);
    // Her progress is still kept in her folder, and no second one was made.
    EXPECT_TRUE(FileExists(home.File("Users/АНЯ/small.lqs")));
    EXPECT_FALSE(DirectoryExists(home.File("Users/Аня")));

    PupilItem("Иван")->trigger();
    EXPECT_EQ(settings->Values().SE_CountVar, 6);
    EXPECT_EQ(VarPoints().at(0), 0);
}

TEST_F(PupilsTest, RemovingPupilsKeepsTheirProgressAndEndsWithTheDefaultPupil)
{
    Start();
    NewPupil("Аня");
    NewPupil("Иван");
    learning->SaveProgress();
    ASSERT_TRUE(FileExists(home.File("Users/Иван/small.lqs")));

    // "нет ещё" changes nothing.
    TForm_Message::SetNextAnswer(3);
    learning->m_lesson_pupil_delete->trigger();
    EXPECT_EQ(TForm_Message::LastMessage().text, "Ученик \"Иван\" отучился?");
    EXPECT_EQ(TForm_Message::LastMessage().caption1, "отучился");
    EXPECT_EQ(TForm_Message::LastMessage().caption2, "");
    EXPECT_EQ(TForm_Message::LastMessage().caption3, "нет ещё");
    EXPECT_EQ(learning->PupilName, "Иван");
    EXPECT_TRUE(Store().KeyExists(Key("Иван")));

    // The first pupil left takes his place.
    TForm_Message::SetNextAnswer(1);
    learning->m_lesson_pupil_delete->trigger();
    EXPECT_EQ(learning->PupilName, "Аня");
    EXPECT_EQ(learning->PupilKey, Key("Аня"));
    EXPECT_EQ(PupilItems(), std::vector<std::string>{"Аня*"});
    EXPECT_FALSE(Store().KeyExists(Key("Иван")));
    EXPECT_TRUE(FileExists(home.File("Users/Иван/small.lqs")));

    // Removing the only named pupil returns to "Default".
    TForm_Message::SetNextAnswer(1);
    learning->m_lesson_pupil_delete->trigger();
    EXPECT_EQ(learning->PupilName, "Default");
    EXPECT_EQ(learning->PupilKey, Key("Default"));
    EXPECT_EQ(Title(), "Verbanta");
    EXPECT_TRUE(PupilItems().empty());
    EXPECT_FALSE(learning->m_lesson_pupil_delete->isEnabled());
    EXPECT_EQ(Store().ReadString(kRoot, "Application"), "Default");

    // The default pupil is never removed, and nobody is asked.
    const int asked = TForm_Message::MessageCount();
    learning->m_lesson_pupil_deleteClick();
    EXPECT_EQ(TForm_Message::MessageCount(), asked);
    EXPECT_TRUE(Store().KeyExists(Key("Default")));
}

} // namespace

namespace {

TEST_F(PupilsTest, UnsavedDictionaryEditsAreAskedAboutFirstAndCancelKeepsEverything)
{
    Start();
    NewPupil("Аня");
    NewPupil("Иван");
    learning->SetDictionaryChanged(true);
    // The new-pupil dialog must not open; should it, it is closed again instead of blocking the test.
    bool dialogShown = false;
    auto* watch = new QTimer(user.get());
    QObject::connect(watch, &QTimer::timeout, [&] {
        if (user->isVisible()) {
            dialogShown = true;
            user->close();
        }
    });
    watch->start(10);
    for (QAction* command : {PupilItem("Аня"), learning->m_lesson_pupil_new, learning->m_lesson_pupil_delete}) {
        const int asked = TForm_Message::MessageCount();
        TForm_Message::SetNextAnswer(3);
        command->trigger();
        EXPECT_EQ(TForm_Message::MessageCount(), asked + 1);
        EXPECT_EQ(TForm_Message::LastMessage().text, "Словарь был Вами изменён. Сохранить изменения?");
        EXPECT_EQ(learning->PupilName, "Иван");
        EXPECT_EQ(PupilItems(), (std::vector<std::string>{"Аня", "Иван*"}));
        EXPECT_TRUE(learning->DictionaryChanged());
    }
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(Store().KeyExists(Key("Иван")));

    // "нет" drops the edits and switches.
    TForm_Message::SetNextAnswer(2);
    PupilItem("Аня")->trigger();
    EXPECT_EQ(learning->PupilName, "Аня");
    EXPECT_FALSE(learning->DictionaryChanged());
}

} // namespace
