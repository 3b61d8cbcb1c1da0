// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_message.h"
#include "gui_input.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using vb::TForm_Message;

namespace {

class MessageDialogTest : public ::testing::Test
{
protected:
    MessageDialogTest() : ctx(vb::AppPaths("/nonexistent", "/nonexistent", "/nonexistent"), nullptr, {})
    {
        TForm_Message::ResetTestHooks();
        dialog.SetHooks({[this] { events.push_back("shown"); }, [this] { events.push_back("hidden"); },
                         [this] { events.push_back("modalClosed"); }});
    }
    ~MessageDialogTest() override { TForm_Message::ResetTestHooks(); }

    QPushButton* Button(int k) const
    {
        QPushButton* buttons[3] = {dialog.bt_1, dialog.bt_2, dialog.bt_3};
        return buttons[k - 1];
    }

    vb::AppContext ctx;
    TForm_Message dialog{ctx};
    std::vector<std::string> events;
};

TEST_F(MessageDialogTest, EachButtonReturnsItsNumber)
{
    for (int k = 1; k <= 3; ++k) {
        bool seen = false;
        vbtest::WhenModal(&dialog, [&] {
            seen = true;
            EXPECT_EQ(dialog.LB_Message->text(), QStringLiteral("Словарь был Вами изменён. Сохранить изменения?"));
            EXPECT_EQ(dialog.bt_1->text(), QStringLiteral("да"));
            EXPECT_EQ(dialog.bt_2->text(), QStringLiteral("нет"));
            EXPECT_EQ(dialog.bt_3->text(), QStringLiteral("отменить"));
            for (int b = 1; b <= 3; ++b) {
                EXPECT_TRUE(Button(b)->isVisible());
            }
            vbtest::MouseClick(Button(k));
        });
        EXPECT_EQ(dialog.ShowMessageDialog("Словарь был Вами изменён. Сохранить изменения?", "да", "нет", "отменить"),
                  k);
        EXPECT_TRUE(seen);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(TForm_Message::MessageCount(), 3);
}

TEST_F(MessageDialogTest, NoticeShowsOnlyTheMiddleButtonInItsPlace)
{
    vbtest::WhenModal(&dialog, [&] {
        EXPECT_FALSE(dialog.bt_1->isVisible());
        EXPECT_TRUE(dialog.bt_2->isVisible());
        EXPECT_FALSE(dialog.bt_3->isVisible());
        EXPECT_EQ(dialog.bt_2->geometry(), QRect(121, 56, 75, 25));
        // The window may not be active on every platform; its own focus is what Enter answers.
        EXPECT_EQ(dialog.focusWidget(), dialog.bt_2);
        vbtest::MouseClick(dialog.bt_2);
    });
    EXPECT_EQ(dialog.ShowMessageDialog("Слово не найдено!", "", "понятно", ""), 2);

    // A question with two answers leaves the middle place empty.
    vbtest::WhenModal(&dialog, [&] {
        EXPECT_TRUE(dialog.bt_1->isVisible());
        EXPECT_FALSE(dialog.bt_2->isVisible());
        EXPECT_TRUE(dialog.bt_3->isVisible());
        EXPECT_EQ(dialog.bt_3->text(), QStringLiteral("нет"));
        vbtest::MouseClick(dialog.bt_3);
    });
    EXPECT_EQ(dialog.ShowMessageDialog("Учить словарь заново?", "да", "", "нет"), 3);
}

TEST_F(MessageDialogTest, ClosingOtherwiseReturnsZero)
{
    // A button pressed before must not leak into the next run.
    vbtest::WhenModal(&dialog, [&] { vbtest::MouseClick(dialog.bt_3); });
    EXPECT_EQ(dialog.ShowMessageDialog("Учить словарь заново?", "да", "", "нет"), 3);

    vbtest::WhenModal(&dialog, [&] { dialog.close(); });
    EXPECT_EQ(dialog.ShowMessageDialog("Все слова выучены, переходите к другому словарю или методу обучения", "понятно",
                                       "", "повторить"),
              0);
}

TEST_F(MessageDialogTest, LayoutIsFixedAndLongTextsWrapInside)
{
    const std::string longText(400, 'x');
    vbtest::WhenModal(&dialog, [&] {
        EXPECT_EQ(dialog.size(), QSize(317, 87));
        EXPECT_EQ(dialog.LB_Message->geometry(), QRect(36, 5, 279, 48));
        EXPECT_TRUE(dialog.LB_Message->wordWrap());
        EXPECT_EQ(dialog.Image->geometry(), QRect(6, 13, 32, 32));
        EXPECT_FALSE(dialog.Image->pixmap().isNull());
        EXPECT_EQ(dialog.bt_1->geometry(), QRect(41, 56, 75, 25));
        EXPECT_EQ(dialog.bt_3->geometry(), QRect(201, 56, 75, 25));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Сообщение программы"));
        EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
        dialog.close();
    });
    dialog.ShowMessageDialog(longText + " <b>" + longText, "", "понятно", "");
    // Names in texts are shown as typed, never as markup.
    EXPECT_EQ(dialog.LB_Message->text(), QString::fromStdString(longText + " <b>" + longText));
    EXPECT_EQ(dialog.size(), QSize(317, 87));
}

TEST_F(MessageDialogTest, RunsTheSecondaryWindowProtocol)
{
    vbtest::WhenModal(&dialog, [&] {
        EXPECT_EQ(events, std::vector<std::string>{"shown"});
        vbtest::MouseClick(dialog.bt_2);
    });
    dialog.ShowMessageDialog("Шрифты успешно сохранены!", "", "понятно", "");
    EXPECT_EQ(events, (std::vector<std::string>{"shown", "hidden", "modalClosed"}));
}

TEST_F(MessageDialogTest, QueuedAnswersNeverShowTheDialog)
{
    TForm_Message::SetNextAnswer(3);
    TForm_Message::SetNextAnswer(0);
    EXPECT_EQ(dialog.ShowMessageDialog("Ученик \"Петя\" отучился?", "отучился", "", "нет ещё"), 3);
    EXPECT_EQ(TForm_Message::LastMessage().text, "Ученик \"Петя\" отучился?");
    EXPECT_EQ(TForm_Message::LastMessage().caption1, "отучился");
    EXPECT_EQ(TForm_Message::LastMessage().caption2, "");
    EXPECT_EQ(TForm_Message::LastMessage().caption3, "нет ещё");

    // Through the interface the core uses.
    vb::MessageDialog& asked = dialog;
    EXPECT_EQ(asked.ShowMessageDialog("Cловарь защищён от изменений!", "", "понятно", ""), 0);
    EXPECT_EQ(TForm_Message::LastMessage().text, "Cловарь защищён от изменений!");
    EXPECT_EQ(TForm_Message::MessageCount(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"modalClosed", "modalClosed"}));
}

TEST_F(MessageDialogTest, AQuestionAskedWhileTheDialogIsOpenGetsItsOwnDialog)
{
    int inner = -1;
    vbtest::WhenModal(&dialog, [&] {
        QWidget* outer = QApplication::activeModalWidget();
        auto* poll = new QTimer(&dialog);
        QObject::connect(poll, &QTimer::timeout, [&, poll, outer] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != outer) {
                poll->stop();
                auto* yes = modal->findChild<QPushButton*>(QStringLiteral("bt_1"));
                ASSERT_NE(yes, nullptr);
                EXPECT_EQ(modal->findChild<QLabel*>(QStringLiteral("LB_Message"))->text(),
                          QStringLiteral("Словарь был Вами изменён. Сохранить изменения?"));
                vbtest::MouseClick(yes);
            }
        });
        poll->start(10);
        inner = dialog.ShowMessageDialog("Словарь был Вами изменён. Сохранить изменения?", "да", "нет", "отменить");
        // The first dialog is still open and still answers.
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.LB_Message->text(), QStringLiteral("Слово не найдено!"));
        vbtest::MouseClick(dialog.bt_2);
    });
    EXPECT_EQ(dialog.ShowMessageDialog("Слово не найдено!", "", "понятно", ""), 2);
    EXPECT_EQ(inner, 1);
    // The outer dialog alone frames DialogOpen; both runs report ModalClosed.
    EXPECT_EQ(events, (std::vector<std::string>{"shown", "modalClosed", "hidden", "modalClosed"}));
}

} // namespace

TEST_F(MessageDialogTest, EscapeAnswersNothing)
{
    // There is no cancel button: Esc neither closes the dialog nor picks an answer.
    vbtest::WhenModal(&dialog, [&] {
        vbtest::KeyClick(&dialog, Qt::Key_Escape);
        vbtest::KeyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
        vbtest::MouseClick(dialog.bt_3);
    });
    EXPECT_EQ(dialog.ShowMessageDialog("Учить словарь заново?", "да", "", "нет"), 3);
}
