// SPDX-License-Identifier: GPL-3.0-or-later
// The "Мозаика" page alone on a small dictionary: pairs matched by clicks and by drag and drop, wrong pairs,
// one answer per double click, a new set after the last pair, the list commands and the splitter.

#include "gui_input.h"
#include "support/temp_home.h"

#include "common/codepage.h"
#include "common/message_dialog.h"
#include "engine/gui/mosaic_page.h"
#include "engine/lesson.h"
#include "engine/progress_file.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QSplitter>
#include <gtest/gtest.h>

using namespace vb;

namespace {

using vbtest::ClickAt;
using vbtest::Mouse;

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

class MosaicPageTest : public ::testing::Test
{
protected:
    vbtest::TempHome home;
    Events events;
    Dialog dialog;
    Lesson lesson{&events, &dialog};
    MosaicPage page{lesson};
    std::vector<bool> answers;

    void SetUp() override
    {
        vbtest::WriteBytes(home.File("dict.lqd"),
                           Utf8ToCp1251("cat|кошка\r\ndog|собака\r\nbird|птица\r\nfish|рыба\r\n"));
        vbtest::WriteBytes(ProgressPath(), "0|0|0|0|0|0\r\n1|0|1|0|1|0\r\n2|0|2|0|2|0\r\n3|0|3|0|3|0\r\n");
        ASSERT_TRUE(lesson.LoadLessonWords(home.File("dict.lqd"), ProgressPath()));
        QObject::connect(&page, &MosaicPage::Answered, [this](bool right) { answers.push_back(right); });
        page.resize(520, 200);
        page.show();
        QApplication::processEvents();
        page.BuildMosaic(MosaicSettings{25, true});
        ASSERT_EQ(page.LBox_Eng->count(), 4);
        ASSERT_EQ(page.LBox_Eng->item(0)->text(), "bird");
    }

    void TearDown() override { MosaicPage::SetDragHook({}); }

    std::string ProgressPath() const { return ProgressFilePath(home.File("Users"), "Default", home.File("dict.lqd")); }

    static QPoint Center(QListWidget* list, int row) { return list->visualItemRect(list->item(row)).center(); }
    static QPoint Beside(QListWidget* list) { return QPoint(5, list->viewport()->height() - 5); }
    static void Click(QListWidget* list, int row) { ClickAt(list->viewport(), Center(list, row)); }
    static int Selected(QListWidget* list)
    {
        const auto items = list->selectedItems();
        return items.isEmpty() ? -1 : list->row(items.first());
    }
    int Partner(int left) const { return MosaicPartner(page.Set(), MosaicSide::Left, left); }
    int Points(int left) const
    {
        return lesson.MozProgress[static_cast<std::size_t>(MosaicPosition(page.Set(), MosaicSide::Left, left))].Points;
    }

    // Presses item `row` of `source`, moves the pointer away and lets the drag end at `dropPos` of `target`.
    void DragAndDrop(QListWidget* source, int row, QListWidget* target, QPoint dropPos)
    {
        bool dragged = false;
        MosaicPage::SetDragHook([&](QListWidget* from, QMimeData* data) {
            dragged = from == source;
            QDragEnterEvent enter(dropPos, Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(target->viewport(), &enter);
            QDragMoveEvent move(dropPos, Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(target->viewport(), &move);
            if (move.isAccepted()) {
                QDropEvent drop(dropPos, Qt::CopyAction, data, Qt::LeftButton, {});
                QApplication::sendEvent(target->viewport(), &drop);
            }
        });
        const QPoint start = Center(source, row);
        Mouse(source->viewport(), QEvent::MouseButtonPress, start, Qt::LeftButton);
        Mouse(source->viewport(), QEvent::MouseMove, start + QPoint(2, 0), Qt::LeftButton);
        EXPECT_FALSE(dragged) << "a drag starts only past the drag distance";
        Mouse(source->viewport(), QEvent::MouseMove, start + QPoint(40, 0), Qt::LeftButton);
        Mouse(source->viewport(), QEvent::MouseButtonRelease, start + QPoint(40, 0), Qt::NoButton);
        EXPECT_TRUE(dragged);
    }
};

} // namespace

TEST_F(MosaicPageTest, PairMatchedByClicksIsScoredAndRemoved)
{
    const std::int32_t pos = MosaicPosition(page.Set(), MosaicSide::Left, 0);
    Click(page.LBox_Eng, 0);
    EXPECT_TRUE(answers.empty());
    Click(page.LBox_Rus, Partner(0));
    EXPECT_EQ(answers, std::vector<bool>{true});
    EXPECT_EQ(events.echoes, 1);
    EXPECT_EQ(page.LBox_Eng->count(), 3);
    EXPECT_EQ(page.LBox_Rus->count(), 3);
    EXPECT_EQ(page.LBox_Eng->item(0)->text(), "cat");
    EXPECT_EQ(Selected(page.LBox_Eng), -1);
    EXPECT_EQ(Selected(page.LBox_Rus), -1);

    ProgressArray var, moz, enter;
    ASSERT_TRUE(ParseProgressFile(vbtest::ReadBytes(ProgressPath()), 4, var, moz, enter));
    EXPECT_EQ(moz[static_cast<std::size_t>(pos)].Points, 4);
}

TEST_F(MosaicPageTest, WrongPairStaysSelectedAndADoubleClickIsOneAnswer)
{
    const int partner = Partner(0);
    const int wrong = partner == 0 ? 1 : 0;
    Click(page.LBox_Eng, 0);
    Click(page.LBox_Rus, wrong);
    EXPECT_EQ(lesson.ErrorCount, 1);
    EXPECT_EQ(Points(0), -4);
    EXPECT_EQ(Selected(page.LBox_Eng), 0);
    EXPECT_EQ(Selected(page.LBox_Rus), wrong);

    // A click beside the items keeps the selection.
    ClickAt(page.LBox_Rus->viewport(), Beside(page.LBox_Rus));
    EXPECT_EQ(Selected(page.LBox_Rus), wrong);

    // Press, release, double-click press, release: judged once.
    const QPoint at = Center(page.LBox_Rus, wrong);
    ClickAt(page.LBox_Rus->viewport(), at);
    Mouse(page.LBox_Rus->viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton);
    Mouse(page.LBox_Rus->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
    EXPECT_EQ(lesson.ErrorCount, 2);

    // The right partner scores without reselecting the left item.
    Click(page.LBox_Rus, partner);
    EXPECT_EQ(lesson.RightCount, 1);
    EXPECT_EQ(page.LBox_Eng->count(), 3);
}

TEST_F(MosaicPageTest, PairMatchedByDragAndDrop)
{
    // Dropped beside the items, or on its own list: nothing.
    DragAndDrop(page.LBox_Eng, 1, page.LBox_Rus, Beside(page.LBox_Rus));
    DragAndDrop(page.LBox_Eng, 1, page.LBox_Eng, Center(page.LBox_Eng, 2));
    EXPECT_TRUE(answers.empty());

    const std::int32_t pos = MosaicPosition(page.Set(), MosaicSide::Left, 1);
    DragAndDrop(page.LBox_Eng, 1, page.LBox_Rus, Center(page.LBox_Rus, Partner(1)));
    EXPECT_EQ(answers, std::vector<bool>{true});
    EXPECT_EQ(lesson.MozProgress[static_cast<std::size_t>(pos)].Points, 4);
    EXPECT_EQ(page.LBox_Eng->count(), 3);
    EXPECT_EQ(page.LBox_Rus->count(), 3);

    // From right to left the same; a wrong drop is a wrong answer.
    const int wrongLeft = MosaicPartner(page.Set(), MosaicSide::Right, 0) == 0 ? 1 : 0;
    DragAndDrop(page.LBox_Rus, 0, page.LBox_Eng, Center(page.LBox_Eng, wrongLeft));
    EXPECT_EQ(answers, (std::vector<bool>{true, false}));
}

TEST_F(MosaicPageTest, LastPairBuildsANewSet)
{
    const int exerciseLeft = lesson.ExerciseLeft;
    for (int pairs = 4; pairs > 0; --pairs) {
        ASSERT_EQ(page.LBox_Eng->count(), pairs);
        Click(page.LBox_Eng, 0);
        Click(page.LBox_Rus, Partner(0));
    }
    EXPECT_EQ(lesson.RightCount, 4);
    EXPECT_EQ(lesson.ExerciseLeft, exerciseLeft - 4);
    EXPECT_EQ(page.LBox_Eng->count(), 4);
    EXPECT_EQ(page.LBox_Rus->count(), 4);
}

TEST_F(MosaicPageTest, ContextMenuCommands)
{
    QMenu menu;
    menu.addAction("x");
    page.SetWordPopupMenu(&menu);

    // Opened over an item of the right list: it becomes the target and is selected.
    const QPoint at = Center(page.LBox_Rus, 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, page.LBox_Rus->viewport()->mapToGlobal(at));
    QApplication::sendEvent(page.LBox_Rus->viewport(), &event);
    EXPECT_EQ(page.ListTarget(), page.LBox_Rus);
    EXPECT_EQ(page.ListTargetIndex(), 2);
    EXPECT_EQ(Selected(page.LBox_Rus), 2);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    std::string text;
    bool isWord = true;
    ASSERT_TRUE(page.TargetPronunciation(text, isWord));
    EXPECT_EQ(text, "рыба");
    EXPECT_FALSE(isWord);

    // "Подсказать ответ" selects the partner; "Выучено !" takes the pair out as learned, without scoring.
    const std::int32_t pos = MosaicPosition(page.Set(), MosaicSide::Right, 2);
    page.pm_hintClick();
    EXPECT_EQ(Selected(page.LBox_Eng), MosaicPartner(page.Set(), MosaicSide::Right, 2));
    page.pm_word_offClick();
    EXPECT_EQ(lesson.MozProgress[static_cast<std::size_t>(pos)].Points, 48);
    EXPECT_EQ(lesson.RightCount, 0);
    EXPECT_EQ(page.LBox_Eng->count(), 3);
    EXPECT_EQ(page.LBox_Rus->count(), 3);

    // Beside the items: no target item.
    QContextMenuEvent beside(QContextMenuEvent::Mouse, Beside(page.LBox_Eng),
                             page.LBox_Eng->viewport()->mapToGlobal(Beside(page.LBox_Eng)));
    QApplication::sendEvent(page.LBox_Eng->viewport(), &beside);
    EXPECT_EQ(page.ListTarget(), page.LBox_Eng);
    EXPECT_EQ(page.ListTargetIndex(), -1);
    menu.hide();
}

TEST_F(MosaicPageTest, SplitterKeepsTheStoredWidth)
{
    EXPECT_EQ(page.LBox_Eng->width(), 265);
    page.SetLearningMozWidth(180);
    EXPECT_EQ(page.LBox_Eng->width(), 180);
    page.resize(600, 200);
    QApplication::processEvents();
    EXPECT_EQ(page.LearningMozWidth(), 180);
    page.Splitter->setSizes({220, 300});
    EXPECT_EQ(page.LearningMozWidth(), 220);
}
