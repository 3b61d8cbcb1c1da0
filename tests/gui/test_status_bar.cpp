// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/gui/status_bar.h"

#include <QMainWindow>
#include <QProgressBar>
#include <gtest/gtest.h>

using vb::TMyStatusBar;

namespace {

class StatusBarTest : public ::testing::Test
{
protected:
    StatusBarTest()
    {
        window.setStatusBar(bar);
        window.resize(602, 330);
        window.show();
    }

    QMainWindow window;
    TMyStatusBar* bar = new TMyStatusBar;
};

TEST_F(StatusBarTest, LessonPanelsSitSideBySideAndTheLastTakesTheRest)
{
    EXPECT_EQ(bar->height(), 19);
    EXPECT_EQ(bar->width(), 602);
    const int widths[] = {103, 89, 83, 100, 65};
    int left = 0;
    for (int panel = 0; panel < 5; ++panel) {
        EXPECT_EQ(bar->PanelWidth(panel), widths[panel]);
        EXPECT_EQ(bar->PanelRect(panel).left(), left + 2);
        EXPECT_EQ(bar->PanelRect(panel).right(), left + widths[panel] - 1);
        left += widths[panel];
    }
    EXPECT_EQ(bar->PanelWidth(5), 602 - 440);
    EXPECT_EQ(bar->PanelRect(5).right(), 601);

    window.resize(800, 330);
    EXPECT_EQ(bar->PanelWidth(5), 800 - 440);
    EXPECT_EQ(bar->height(), 19);
}

TEST_F(StatusBarTest, PanelsWithoutWidthVanish)
{
    // Dictionary page: only the last panel is left, over the whole bar.
    bar->SetPanelWidths({0, 0, 0, 0, 0});
    for (int panel = 0; panel < 5; ++panel) {
        EXPECT_TRUE(bar->PanelRect(panel).isEmpty());
    }
    EXPECT_EQ(bar->PanelRect(5), QRect(2, 2, 600, 17));

    // Text page.
    bar->SetPanelWidths({220, 140, 0, 0, 0});
    EXPECT_EQ(bar->PanelRect(1), QRect(222, 2, 138, 17));
    EXPECT_TRUE(bar->PanelRect(2).isEmpty());
    EXPECT_EQ(bar->PanelRect(5).left(), 362);

    bar->SetPanelWidth(3, -5);
    EXPECT_EQ(bar->PanelWidth(3), 0);
}

TEST_F(StatusBarTest, TextsArePerPanelAndKeptWhileHidden)
{
    EXPECT_EQ(bar->PanelText(0), QStringLiteral("правильно: 000"));
    EXPECT_EQ(bar->PanelText(5), QStringLiteral("словарь: dt_basic [850] слов"));

    bar->SetPanelText(0, QStringLiteral("правильно: 12"));
    bar->SetPanelText(5, QStringLiteral("словарь: basic [850] слов"));
    bar->SetPanelWidths({0, 0, 0, 0, 0});
    bar->SetPanelWidths({103, 89, 83, 100, 65});
    EXPECT_EQ(bar->PanelText(0), QStringLiteral("правильно: 12"));
    EXPECT_EQ(bar->PanelText(5), QStringLiteral("словарь: basic [850] слов"));

    bar->SetPanelText(6, QStringLiteral("x"));
    bar->SetPanelText(-1, QStringLiteral("x"));
    EXPECT_EQ(bar->PanelText(6), QString());

    // Lesson page texts as long as the design's fit their panels.
    const QString longest[] = {QStringLiteral("правильно: 000"), QStringLiteral("осталось: 100"),
                               QStringLiteral("ошибок: 000"), QStringLiteral("выучено: 0000"),
                               QStringLiteral("Балл: -99")};
    for (int panel = 0; panel < 5; ++panel) {
        EXPECT_LE(bar->fontMetrics().horizontalAdvance(longest[panel]), bar->PanelRect(panel).width() - 5)
            << longest[panel].toStdString();
    }
}

TEST_F(StatusBarTest, ShowsThePageViews)
{
    vb::LessonStatus lesson;
    lesson.RightCount = 7;
    lesson.WordCount = 850;
    lesson.DictionaryPath = "/home/pupil/dict/basic.lqd";
    bar->ShowView(vb::LessonStatusBar(lesson));
    EXPECT_EQ(bar->PanelText(0), QStringLiteral("правильно: 7"));
    EXPECT_EQ(bar->PanelText(5), QStringLiteral("словарь: basic [850] слов"));

    // The dictionary page leaves panels 0-4 as they were, without width.
    bar->ShowView(vb::DictionaryStatusBar(lesson.DictionaryPath, 850));
    EXPECT_EQ(bar->PanelText(0), QStringLiteral("правильно: 7"));
    EXPECT_TRUE(bar->PanelRect(0).isEmpty());
    EXPECT_EQ(bar->PanelText(5), QStringLiteral("словарь: /home/pupil/dict/basic.lqd [850] слов"));
    EXPECT_EQ(bar->PanelRect(5).width(), 600);
}

TEST_F(StatusBarTest, ProgressBarIsHiddenUntilWorkShowsIt)
{
    QProgressBar* progress = bar->ProgressBar();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->parentWidget(), bar);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 100);
    EXPECT_EQ(progress->x(), 222);
    EXPECT_EQ(progress->width(), 138);
    EXPECT_LE(progress->geometry().bottom(), bar->height() - 1);

    bar->SetProgress(24);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->value(), 24);
    bar->SetProgress(250);
    EXPECT_EQ(progress->value(), 100);
    bar->HideProgress();
    EXPECT_FALSE(progress->isVisible());
}

} // namespace
