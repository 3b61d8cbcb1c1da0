// SPDX-License-Identifier: GPL-3.0-or-later
// The "Вариант" page alone on a small dictionary: rows as drawn, a right click scored into the progress
// file, the look of a wrong answer through hover, the hint, and the task labels.

#include "gui_input.h"
#include "support/temp_home.h"

#include "common/codepage.h"
#include "common/message_dialog.h"
#include "engine/gui/variant_page.h"
#include "engine/lesson.h"
#include "engine/progress_file.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace vb;

namespace {

void Mouse(QWidget* w, QEvent::Type type, Qt::MouseButtons buttons)
{
    vbtest::Mouse(w, type, w->rect().center(), buttons);
}
void Click(QWidget* w)
{
    Mouse(w, QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, Qt::NoButton);
}
// As the system delivers it: press, release, double-click press, release.
void DoubleClick(QWidget* w)
{
    Click(w);
    Mouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, Qt::NoButton);
}
void Enter(QWidget* w)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(w, &enter);
}
void Leave(QWidget* w)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}
QColor TextColor(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

struct Events : LessonEvents
{
    int echoes = 0;
    void PronounceRightAnswer() override { ++echoes; }
};

struct Dialog : MessageDialog
{
    int ShowMessageDialog(const std::string&, const std::string&, const std::string&, const std::string&) override
    {
        return 0;
    }
};

class VariantPageTest : public ::testing::Test
{
protected:
    vbtest::TempHome home;
    Events events;
    Dialog dialog;
    Lesson lesson{&events, &dialog};
    VariantPage page{lesson};
    QLabel word;
    QLabel wordtrsc;
    std::vector<bool> answers;

    void SetUp() override
    {
        vbtest::WriteBytes(home.File("dict.lqd"),
                           Utf8ToCp1251("cat|кошка|kaet\r\ndog|собака|dog\r\nbird|птица|bed\r\nfish|рыба|fish\r\n"
                                        "<b>horse</b>|лошадь|ho:s\r\n"));
        // Every method in file order, all at 0 points.
        vbtest::WriteBytes(ProgressPath(),
                           "0|0|0|0|0|0\r\n1|0|1|0|1|0\r\n2|0|2|0|2|0\r\n3|0|3|0|3|0\r\n4|0|4|0|4|0\r\n");
        ASSERT_TRUE(lesson.LoadLessonWords(home.File("dict.lqd"), ProgressPath()));
        page.SetTaskLabels(&word, &wordtrsc);
        QObject::connect(&page, &VariantPage::Answered, [this](bool right) { answers.push_back(right); });
        page.resize(480, 200);
        page.show();
        QApplication::processEvents();
    }

    std::string ProgressPath() const { return ProgressFilePath(home.File("Users"), "Default", home.File("dict.lqd")); }

    void SetTask(int direction, int transc)
    {
        VariantSettings s;
        s.RG_WordShow = direction == 1 ? 0 : 1;
        s.RG_Transc = transc;
        page.SetVariantTask(s);
    }
    const TLessonWord& Word(std::int32_t position) const
    {
        return lesson.LessonWords[static_cast<std::size_t>(lesson.VarProgress[position].WordIndex)];
    }
    // Rows (1-based) of the right answer and of a wrong one.
    int RightRow() const { return VariantHintSlot(page.Options(), lesson.TaskPos) + 1; }
    int WrongRow() const { return RightRow() == 1 ? 2 : 1; }
};

} // namespace

TEST_F(VariantPageTest, RowsAndTaskLabelsShowTheTask)
{
    std::vector<std::pair<std::string, bool>> pronounced;
    QObject::connect(&page, &VariantPage::PronounceRequested,
                     [&](const std::string& text, bool isWord) { pronounced.emplace_back(text, isWord); });
    SetTask(1, 0);

    // Five words, seven wanted: five rows sorted by the foreign words, markup shown as text.
    const QStringList expected = {"<b>horse</b>", "bird", "cat", "dog", "fish"};
    for (int n = 1; n <= 7; ++n) {
        QLabel* row = page.findChild<QLabel*>(QStringLiteral("var0%1").arg(n));
        ASSERT_NE(row, nullptr);
        ASSERT_EQ(page.findChild<QLabel*>(QStringLiteral("trsc0%1").arg(n)), page.trsc(n));
        ASSERT_EQ(page.findChild<QLabel*>(QStringLiteral("trsl0%1").arg(n)), page.trsl(n));
        EXPECT_EQ(row->isVisible(), n <= 5) << n;
        if (n <= 5) {
            EXPECT_EQ(row->text(), expected[n - 1]);
            EXPECT_FALSE(page.trsl(n)->isVisible());
            // "Показывать": the transcription stands right after the answer, on the row's line.
            EXPECT_TRUE(page.trsc(n)->isVisible());
            EXPECT_EQ(page.trsc(n)->height(), row->height());
        }
    }
    EXPECT_EQ(page.trsc(2)->text(), "[bed]");
    EXPECT_LT(page.trsc(2)->x(), page.trsc(1)->x());

    // The translation is asked and pronounced; its transcription is not shown.
    const std::string task = Word(lesson.TaskPos).Translation;
    EXPECT_EQ(word.text().toStdString(), task);
    EXPECT_FALSE(word.isHidden());
    EXPECT_TRUE(wordtrsc.isHidden());
    EXPECT_EQ(pronounced, (std::vector<std::pair<std::string, bool>>{{task, false}}));

    // A foreign-word task with "Динамически": its transcription only under the pointer.
    SetTask(0, 2);
    EXPECT_EQ(word.text().toStdString(), Word(lesson.TaskPos).Word);
    EXPECT_TRUE(wordtrsc.isHidden());
    page.wordMouseEnter();
    EXPECT_FALSE(wordtrsc.isHidden());
    page.wordMouseLeave();
    EXPECT_TRUE(wordtrsc.isHidden());
}

TEST_F(VariantPageTest, RightClickScoresOnceAndWritesTheProgress)
{
    SetTask(1, 2);
    const auto taskPos = static_cast<std::size_t>(lesson.TaskPos);
    Click(page.var(RightRow()));
    EXPECT_EQ(lesson.VarProgress[taskPos].Points, 6);
    EXPECT_EQ(events.echoes, 1);
    EXPECT_EQ(answers, std::vector<bool>{true});
    ProgressArray var, moz, enter;
    ASSERT_TRUE(ParseProgressFile(vbtest::ReadBytes(ProgressPath()), 5, var, moz, enter));
    EXPECT_EQ(var[taskPos].Points, 6);

    // Until the echo sets the next task, the rows take no more answers.
    Click(page.var(RightRow()));
    Click(page.var(WrongRow()));
    EXPECT_EQ(lesson.RightCount, 1);
    EXPECT_EQ(lesson.ErrorCount, 0);
    SetTask(1, 2);
    Click(page.var(RightRow()));
    EXPECT_EQ(lesson.RightCount, 2);
}

TEST_F(VariantPageTest, WrongClickStrikesTheRowOutAndShowsItsMeaning)
{
    SetTask(1, 2);
    const int row = WrongRow();
    QLabel* answer = page.var(row);
    const std::int32_t chosen = page.Options().VarOptions[static_cast<std::size_t>(row - 1)];

    Click(answer);
    EXPECT_EQ(lesson.ErrorCount, 1);
    EXPECT_EQ(lesson.VarProgress[static_cast<std::size_t>(lesson.TaskPos)].Points, -6);
    EXPECT_EQ(answers, std::vector<bool>{false});
    EXPECT_TRUE(answer->font().strikeOut());
    EXPECT_EQ(TextColor(answer), QColor(Qt::red));
    ASSERT_TRUE(page.trsl(row)->isVisible());
    EXPECT_EQ(page.trsl(row)->text().toStdString(), Word(chosen).Translation);
    EXPECT_EQ(page.trsl(row)->geometry().right(), answer->rect().right());
    // Only the answer is struck out, not its meaning or transcription.
    EXPECT_FALSE(page.trsl(row)->font().strikeOut());
    EXPECT_FALSE(page.trsc(row)->font().strikeOut());

    // Leaving keeps the red; entering makes it bold black with the dynamic transcription; leaving then
    // gives the shadow colour. The meaning stays.
    Leave(answer);
    EXPECT_EQ(TextColor(answer), QColor(Qt::red));
    Enter(answer);
    EXPECT_TRUE(answer->font().bold());
    EXPECT_FALSE(answer->font().strikeOut());
    EXPECT_EQ(TextColor(answer), QColor(Qt::black));
    EXPECT_TRUE(page.trsc(row)->isVisible());
    Leave(answer);
    EXPECT_EQ(TextColor(answer), QApplication::palette().color(QPalette::Shadow));
    EXPECT_FALSE(page.trsc(row)->isVisible());
    EXPECT_TRUE(page.trsl(row)->isVisible());

    // Every further click is one more wrong answer; a double click is one.
    Click(answer);
    DoubleClick(answer);
    EXPECT_EQ(lesson.ErrorCount, 3);
}

TEST_F(VariantPageTest, HintTurnsTheRightRowBlueUntilThePointerPasses)
{
    SetTask(0, 2);
    QLabel* right = page.var(RightRow());
    page.pm_hintClick();
    EXPECT_EQ(TextColor(right), QColor(Qt::blue));
    Enter(right);
    Leave(right);
    EXPECT_EQ(TextColor(right), QApplication::palette().color(QPalette::Shadow));
}

TEST_F(VariantPageTest, NothingIsSetWhileTheWindowIsHidden)
{
    page.hide();
    SetTask(1, 2);
    EXPECT_FALSE(page.View().ready);
    EXPECT_EQ(lesson.WorkSetSize, 5); // untouched since loading
}
