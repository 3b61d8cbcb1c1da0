// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/color_menus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using vb::ColorMenus;

namespace {

void RightClick(QWidget* widget)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, widget->rect().center(),
                            widget->mapToGlobal(widget->rect().center()));
    QApplication::sendEvent(widget, &event);
}

TEST(StoredColors, PlainAndSystemColorsConvert)
{
    EXPECT_EQ(vb::ColorFromStored(15793151), QColor(255, 251, 240)); // cream
    EXPECT_EQ(vb::ColorFromStored(15780518), QColor(166, 202, 240)); // sky blue
    EXPECT_EQ(vb::ColorFromStored(0), QColor(0, 0, 0));
    EXPECT_EQ(vb::StoredFromColor(QColor(192, 220, 192)), 12639424); // money green
    EXPECT_EQ(vb::StoredFromColor(QColor(255, 0, 0)), 0x0000FF);

    // FF0000nn: system colour nn. Button face follows the desktop.
    EXPECT_EQ(vb::ColorFromStored(-16777201), QApplication::palette().color(QPalette::Active, QPalette::Button));
    EXPECT_EQ(vb::ColorFromStored(-16777188), QColor(215, 228, 242));
    EXPECT_TRUE(vb::ColorFromStored(static_cast<std::int32_t>(0xFF0000FFu)).isValid());
}

TEST(StoredColors, ControlsKeepTheFormTheirColourCameIn)
{
    QLabel label;
    QListWidget list;
    vb::SetControlColor(&label, -16777188);
    vb::SetControlColor(&list, 15793151);
    EXPECT_EQ(vb::ControlColorValue(&label), -16777188);
    EXPECT_EQ(vb::ControlColorValue(&list), 15793151);
    EXPECT_TRUE(label.autoFillBackground());
    EXPECT_EQ(label.palette().color(QPalette::Window), QColor(215, 228, 242));
    EXPECT_EQ(list.palette().color(QPalette::Base), QColor(255, 251, 240));

    vb::SetControlColor(&label, QColor(1, 2, 3));
    EXPECT_EQ(vb::ControlColorValue(&label), 0x030201);
}

class ColorMenusTest : public ::testing::Test
{
protected:
    ColorMenusTest()
    {
        ColorMenus::ResetTestHooks();
        menus->SetHooks({[this] { events.push_back("shown"); }, [this] { events.push_back("hidden"); }, {}});
        for (QLabel* label : {var01, trsc01, trsl01, lastWord, lastTranscr}) {
            vb::SetControlColor(label, -16777201);
        }
        menus->Attach(var01);
        menus->Attach(trsc01, var01);
        menus->Attach(trsl01, var01);
        menus->Attach(lastWord);
        menus->Attach(lastTranscr, lastWord);
        QObject::connect(menus, &ColorMenus::ColorChanged, [this](QWidget* w) { changed.push_back(w); });
        window.show();
    }
    ~ColorMenusTest() override { ColorMenus::ResetTestHooks(); }

    // Right click on `label`, then "Изменить цвет".
    void ChangeColorOf(QLabel* label)
    {
        RightClick(label);
        EXPECT_TRUE(menus->ColorPopupMenu()->isVisible());
        menus->ColorPopupMenu()->hide();
        menus->pm_color()->trigger();
    }

    QWidget window;
    QLabel* var01 = new QLabel(QStringLiteral("word"), &window);
    QLabel* trsc01 = new QLabel(QStringLiteral("[wɜːd]"), &window);
    QLabel* trsl01 = new QLabel(QStringLiteral("слово"), &window);
    QLabel* lastWord = new QLabel(&window);
    QLabel* lastTranscr = new QLabel(&window);
    ColorMenus* menus = new ColorMenus(&window);
    std::vector<std::string> events;
    std::vector<QWidget*> changed;
};

TEST_F(ColorMenusTest, RowPartsAndLastTranscriptionRecolourTheirMainLabel)
{
    ColorMenus::SetNextColor(QColor(255, 0, 0));
    ChangeColorOf(trsc01);
    EXPECT_EQ(menus->ColorTarget(), var01);
    EXPECT_EQ(vb::ControlColorValue(var01), 0x0000FF);
    EXPECT_EQ(vb::ControlColorValue(trsc01), -16777201);
    // The dialog started from the colour the row had.
    EXPECT_EQ(ColorMenus::LastInitialColor(), vb::ColorFromStored(-16777201));

    ColorMenus::SetNextColor(QColor(0, 255, 0));
    ChangeColorOf(trsl01);
    EXPECT_EQ(vb::ControlColorValue(var01), 0x00FF00);
    EXPECT_EQ(ColorMenus::LastInitialColor(), QColor(255, 0, 0));

    ColorMenus::SetNextColor(QColor(0, 0, 255));
    ChangeColorOf(lastTranscr);
    EXPECT_EQ(menus->ColorTarget(), lastWord);
    EXPECT_EQ(vb::ControlColorValue(lastWord), 0xFF0000);
    EXPECT_EQ(vb::ControlColorValue(lastTranscr), -16777201);

    EXPECT_EQ(changed, (std::vector<QWidget*>{var01, var01, lastWord}));
    EXPECT_EQ(events, (std::vector<std::string>{"shown", "hidden", "shown", "hidden", "shown", "hidden"}));
}

TEST_F(ColorMenusTest, CancelledDialogKeepsTheColour)
{
    ColorMenus::SetNextColor(QColor());
    ChangeColorOf(var01);
    EXPECT_EQ(vb::ControlColorValue(var01), -16777201);
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(events, (std::vector<std::string>{"shown", "hidden"}));
}

TEST_F(ColorMenusTest, WordColourGoesToTheListOnMosaicAndTheTaskWordElsewhere)
{
    QLabel word(QStringLiteral("word"));
    QListWidget lboxRus;
    int page = 1;
    menus->SetWordColorTarget([&]() -> QWidget* { return page == 1 ? static_cast<QWidget*>(&lboxRus) : &word; });

    ColorMenus::SetNextColor(QColor(10, 20, 30));
    menus->pm_word_color()->trigger();
    EXPECT_EQ(vb::ControlColorValue(&lboxRus), 0x1E140A);
    EXPECT_EQ(lboxRus.palette().color(QPalette::Base), QColor(10, 20, 30));

    page = 0;
    ColorMenus::SetNextColor(QColor(40, 50, 60));
    menus->pm_word_color()->trigger();
    EXPECT_EQ(vb::ControlColorValue(&word), 0x3C3228);
    EXPECT_EQ(vb::ControlColorValue(&lboxRus), 0x1E140A);
}

TEST_F(ColorMenusTest, ALabelGoneDoesNotLeaveATarget)
{
    RightClick(trsc01);
    menus->ColorPopupMenu()->hide();
    delete var01;
    var01 = nullptr;
    EXPECT_EQ(menus->ColorTarget(), nullptr);
    menus->pm_color()->trigger(); // nothing to recolour, no dialog
    EXPECT_TRUE(events.empty());
}

} // namespace
