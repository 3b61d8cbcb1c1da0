// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics window on a lesson with some history: its table and charts follow the chosen period and
// the review setting, a damaged history opens with what is readable, and its modal run keeps the
// secondary-window protocol.
#include "engine/gui/statistics_window.h"
#include "gui_input.h"
#include "support/temp_home.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vb;

namespace {

// prefix + number, built by appending (gcc 12 misreports "literal + string" at -O3).
std::string Numbered(const char* prefix, int n)
{
    std::string s = prefix;
    s += std::to_string(n);
    return s;
}

struct FakeDate : DateClock
{
    std::int64_t seconds = DaysFromCivil(2026, 12, 8) * 86400 + 10 * 3600;
    std::int64_t LocalSeconds() override { return seconds; }
};

class StatisticsWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string text;
        for (int i = 0; i < 10; ++i) {
            text += Numbered("w", i);
            text += Numbered("|s", i);
            text += "\r\n";
        }
        vbtest::WriteBytes(home.File("d.lqd"), text);
        lesson.SetDateClock(&clock);
    }

    void Open(const std::string& history)
    {
        const std::string progress = home.File("Users/Default/d.lqs");
        vbtest::WriteBytes(HistoryFilePath(progress), history);
        ASSERT_TRUE(lesson.LoadLessonWords(home.File("d.lqd"), progress));
        lesson.Params.SE_CountWLs = 3;
    }

    static int SeriesCount(QChartView* view) { return static_cast<int>(view->chart()->series().size()); }

    vbtest::TempHome home;
    FakeDate clock;
    Lesson lesson;
};

std::string Answers(int day, int right, int wrong)
{
    std::string out;
    for (int i = 0; i < right + wrong; ++i) {
        AnswerRecord r;
        r.Time = DaysFromCivil(2026, 12, day) * 86400 + 9 * 3600 + i;
        r.WordIndex = i % 10;
        r.Word = Numbered("w", i % 10);
        r.Right = i < right;
        r.Learned = r.Right && i < 2;
        out += FormatAnswerLine(r);
    }
    return out;
}

TEST_F(StatisticsWindowTest, ShowsTheTableAndBothChartsForThePeriod)
{
    Open(Answers(1, 5, 2) + Answers(7, 3, 1));
    TForm_Stat stat(lesson);
    EXPECT_EQ(stat.Grid_Methods->item(kMethodVariant, 0)->text(), QStringLiteral("0")); // progress says 0 points
    EXPECT_EQ(stat.Grid_Methods->item(kMethodVariant, 1)->text(), QStringLiteral("3"));
    EXPECT_EQ(stat.Grid_Methods->item(kMethodVariant, 3)->text(), QStringLiteral("7"));
    EXPECT_TRUE(stat.Grid_Methods->isColumnHidden(2)); // review off: nothing is due
    EXPECT_EQ(stat.LB_Due->text(), QStringLiteral("Повторение выключено"));

    EXPECT_EQ(SeriesCount(stat.Chart_Answers), 1);
    auto* bars = qobject_cast<QStackedBarSeries*>(stat.Chart_Answers->chart()->series().front());
    ASSERT_TRUE(bars);
    ASSERT_EQ(bars->count(), 2);
    EXPECT_EQ(bars->barSets()[0]->count(), 30);
    EXPECT_EQ(bars->barSets()[0]->at(29), 0); // today
    EXPECT_EQ(bars->barSets()[0]->at(28), 3); // 7 December
    EXPECT_EQ(bars->barSets()[1]->at(28), 1);
    EXPECT_EQ(SeriesCount(stat.Chart_Learned), 3);
    EXPECT_TRUE(stat.Chart_Forecast->isHidden());

    stat.CBx_Period->setCurrentIndex(1);
    bars = qobject_cast<QStackedBarSeries*>(stat.Chart_Answers->chart()->series().front());
    ASSERT_TRUE(bars);
    EXPECT_EQ(bars->barSets()[0]->count(), 12);
    EXPECT_EQ(bars->barSets()[0]->at(11), 8);
    EXPECT_EQ(bars->barSets()[1]->at(11), 3);
}

TEST_F(StatisticsWindowTest, WithReviewOnShowsTheDueReviews)
{
    Open(Answers(1, 2, 0));
    lesson.Params.CB_Review = true;
    TForm_Stat stat(lesson);
    EXPECT_FALSE(stat.Grid_Methods->isColumnHidden(2));
    EXPECT_FALSE(stat.Chart_Forecast->isHidden());
    EXPECT_EQ(SeriesCount(stat.Chart_Forecast), 1);
    // Two words rated Good a week ago are due today.
    EXPECT_EQ(stat.View().Methods[kMethodVariant].Due, 2);
    EXPECT_EQ(stat.LB_Due->text(), QStringLiteral("Повторить сегодня: 2"));
}

TEST_F(StatisticsWindowTest, DamagedHistoryOpensWithWhatIsReadable)
{
    std::string junk = Answers(7, 3, 1);
    junk += std::string("\0\x01\xFF binary", 10) + "\n";
    junk += std::string(10 * 1024 * 1024, 'z') + "\n";
    junk += Answers(7, 1, 0).substr(0, 20);
    Open(junk);
    TForm_Stat stat(lesson);
    auto* bars = qobject_cast<QStackedBarSeries*>(stat.Chart_Answers->chart()->series().front());
    ASSERT_TRUE(bars);
    EXPECT_EQ(bars->barSets()[0]->at(28), 3);
    EXPECT_EQ(bars->barSets()[1]->at(28), 1);
}

TEST_F(StatisticsWindowTest, ModalRunKeepsTheSecondaryWindowProtocol)
{
    Open("");
    TForm_Stat stat(lesson);
    std::vector<std::string> events;
    stat.SetHooks({[&] { events.push_back("shown"); }, [&] { events.push_back("hidden"); },
                   [&] { events.push_back("modalClosed"); }});
    vbtest::WhenModal(&stat, [&] { vbtest::KeyClick(&stat, Qt::Key_Escape); });
    stat.ShowModalStat();
    EXPECT_FALSE(stat.isVisible());
    EXPECT_EQ(events, (std::vector<std::string>{"shown", "hidden", "modalClosed"}));
}

} // namespace
