// The "Мозаика" page alone on a small dictionary: pairs matched by clicks and by drag and drop, wrong pairs,
// one answer per double click, a new set after the last pair, the context menu commands and the splitter.

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
#include <QMimeData>
#include <QMouseEvent>
#include <QSplitter>
#include <gtest/gtest.h>

using namespace vb;

namespace {

// Mouse input as it reaches a widget.
void Mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void Press(QWidget* w, QPoint pos)
{
    Mouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton);
}
void Release(QWidget* w, QPoint pos)
{
    Mouse(w, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}
void DoubleClickPress(QWidget* w, QPoint pos)
{
    Mouse(w, QEvent::MouseButtonDblClick, pos, Qt::LeftButton);
}
void MoveHeld(QWidget* w, QPoint pos)
{
    Mouse(w, QEvent::MouseMove, pos, Qt::LeftButton);
}
void ClickAt(QWidget* w, QPoint pos)
{
    Press(w, pos);
    Release(w, pos);
}
// A double click as the system delivers it: press, release, double-click press, release.
void DoubleClick(QWidget* w, QPoint pos)
{
    ClickAt(w, pos);
    DoubleClickPress(w, pos);
    Release(w, pos);
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
        page.resize(520, 200);
        page.show();
        QApplication::processEvents();
        QObject::connect(&page, &std::remove_reference_t<decltype(page)>::Answered,
                         [this](bool right) { answers.push_back(right); });
        page.BuildMosaic(MosaicSettings{25, true});
        ASSERT_EQ(page.LBox_Eng->count(), 4);
    }

    void TearDown() override { MosaicPage::SetDragHook({}); }

    std::string ProgressPath() const { return ProgressFilePath(home.File("Users"), "Default", home.File("dict.lqd")); }

    static QPoint Center(QListWidget* list, int row) { return list->visualItemRect(list->item(row)).center(); }
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
    std::int32_t Position(int left) const { return MosaicPosition(page.Set(), MosaicSide::Left, left); }

    // Drags item `row` of `source` and drops it at `dropPos` of the other list, as a pointer would.
    void DragAndDrop(QListWidget* source, int row, QListWidget* target, QPoint dropPos)
    {
        bool dragged = false;
        MosaicPage::SetDragHook([&](QListWidget* from, QMimeData* data) {
            dragged = true;
            EXPECT_EQ(from, source);
            QDragEnterEvent enter(dropPos, Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(target->viewport(), &enter);
            QDragMoveEvent move(dropPos, Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(target->viewport(), &move);
            if (!move.isAccepted()) {
                return;
            }
            QDropEvent drop(dropPos, Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(target->viewport(), &drop);
        });
        const QPoint start = Center(source, row);
        Press(source->viewport(), start);
        MoveHeld(source->viewport(), start + QPoint(2, 0));
        EXPECT_FALSE(dragged) << "a drag starts only past the drag distance";
        MoveHeld(source->viewport(), start + QPoint(40, 0));
        Release(source->viewport(), start + QPoint(40, 0));
        EXPECT_TRUE(dragged);
        MosaicPage::SetDragHook({});
    }
};

} // namespace

TEST_F(MosaicPageTest, ListsShowTheSetInAlphabeticalOrder)
{
    EXPECT_EQ(page.findChild<QListWidget*>("LBox_Eng"), page.LBox_Eng);
    EXPECT_EQ(page.findChild<QListWidget*>("LBox_Rus"), page.LBox_Rus);
    const QStringList left = {"bird", "cat", "dog", "fish"};
    const QStringList right = {"кошка", "птица", "рыба", "собака"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(page.LBox_Eng->item(i)->text(), left[i]);
        EXPECT_EQ(page.LBox_Rus->item(i)->text(), right[i]);
    }
}

TEST_F(MosaicPageTest, PairMatchedByClicksIsScoredAndRemoved)
{
    const int partner = Partner(0);
    const std::int32_t pos = Position(0);

    Click(page.LBox_Eng, 0);
    EXPECT_TRUE(answers.empty());
    Click(page.LBox_Rus, partner);
    EXPECT_EQ(answers, std::vector<bool>{true});
    EXPECT_EQ(lesson.MozProgress[static_cast<std::size_t>(pos)].Points, 4);
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

TEST_F(MosaicPageTest, WrongPairStaysSelectedAndTheRightPartnerScoresNext)
{
    const int partner = Partner(0);
    const int wrong = partner == 0 ? 1 : 0;
    Click(page.LBox_Eng, 0);
    Click(page.LBox_Rus, wrong);
    EXPECT_EQ(lesson.ErrorCount, 1);
    EXPECT_EQ(Points(0), -4);
    EXPECT_EQ(Selected(page.LBox_Eng), 0);
    EXPECT_EQ(Selected(page.LBox_Rus), wrong);

    // A click beside the items keeps both selections.
    ClickAt(page.LBox_Rus->viewport(), QPoint(5, page.LBox_Rus->viewport()->height() - 5));
    EXPECT_EQ(Selected(page.LBox_Rus), wrong);
    EXPECT_EQ(lesson.ErrorCount, 1);

    Click(page.LBox_Rus, partner);
    EXPECT_EQ(lesson.RightCount, 1);
    EXPECT_EQ(page.LBox_Eng->count(), 3);
}

TEST_F(MosaicPageTest, DoubleClickIsOneAnswer)
{
    const int partner = Partner(0);
    const int wrong = partner == 0 ? 1 : 0;
    Click(page.LBox_Eng, 0);
    const QPoint at = Center(page.LBox_Rus, wrong);
    DoubleClick(page.LBox_Rus->viewport(), at);
    EXPECT_EQ(lesson.ErrorCount, 1);

    // On a pair already selected, a double click judges it again, once.
    DoubleClick(page.LBox_Rus->viewport(), at);
    EXPECT_EQ(lesson.ErrorCount, 2);
}

TEST_F(MosaicPageTest, PairMatchedByDragAndDrop)
{
    const std::int32_t pos = Position(1);
    const int partner = Partner(1);

    // Dropped beside the items: nothing.
    DragAndDrop(page.LBox_Eng, 1, page.LBox_Rus, QPoint(5, page.LBox_Rus->viewport()->height() - 5));
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(page.LBox_Eng->count(), 4);

    DragAndDrop(page.LBox_Eng, 1, page.LBox_Rus, Center(page.LBox_Rus, partner));
    EXPECT_EQ(answers, std::vector<bool>{true});
    EXPECT_EQ(lesson.MozProgress[static_cast<std::size_t>(pos)].Points, 4);
    EXPECT_EQ(page.LBox_Eng->count(), 3);
    EXPECT_EQ(page.LBox_Rus->count(), 3);

    // From right to left works the same way; a wrong drop is judged like a wrong click.
    const int wrongLeft = MosaicPartner(page.Set(), MosaicSide::Right, 0) == 0 ? 1 : 0;
    DragAndDrop(page.LBox_Rus, 0, page.LBox_Eng, Center(page.LBox_Eng, wrongLeft));
    EXPECT_EQ(lesson.ErrorCount, 1);
    EXPECT_EQ(page.LBox_Eng->count(), 3);
}

TEST_F(MosaicPageTest, DropOnTheSameListIsRefused)
{
    MosaicPage::SetDragHook([&](QListWidget*, QMimeData* data) {
        const QPoint at = Center(page.LBox_Eng, 2);
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(page.LBox_Eng->viewport(), &enter);
        EXPECT_FALSE(enter.isAccepted());
        // Foreign data is refused by the other list too.
        QMimeData text;
        text.setText("cat");
        QDragEnterEvent foreign(at, Qt::CopyAction, &text, Qt::LeftButton, {});
        QApplication::sendEvent(page.LBox_Rus->viewport(), &foreign);
        EXPECT_FALSE(foreign.isAccepted());
    });
    const QPoint start = Center(page.LBox_Eng, 0);
    Press(page.LBox_Eng->viewport(), start);
    MoveHeld(page.LBox_Eng->viewport(), start + QPoint(40, 0));
    Release(page.LBox_Eng->viewport(), start + QPoint(40, 0));
    EXPECT_EQ(lesson.RightCount + lesson.ErrorCount, 0);
}

TEST_F(MosaicPageTest, LastPairBuildsANewSet)
{
    const int exerciseLeft = lesson.ExerciseLeft;
    for (int pairs = 4; pairs > 1; --pairs) {
        Click(page.LBox_Eng, 0);
        Click(page.LBox_Rus, Partner(0));
        ASSERT_EQ(page.LBox_Eng->count(), pairs - 1);
    }
    Click(page.LBox_Eng, 0);
    Click(page.LBox_Rus, 0);
    EXPECT_EQ(lesson.RightCount, 4);
    EXPECT_EQ(lesson.ExerciseLeft, exerciseLeft - 4);
    EXPECT_EQ(page.LBox_Eng->count(), 4);
    EXPECT_EQ(page.LBox_Rus->count(), 4);
    EXPECT_EQ(page.Set().PairsLeft, 4);
}

TEST_F(MosaicPageTest, ContextMenuCommands)
{
    QMenu menu;
    menu.addAction("x");
    page.SetWordPopupMenu(&menu);

    // Opened over an item of the right list: it becomes the target and is selected.
    QContextMenuEvent event(QContextMenuEvent::Mouse, Center(page.LBox_Rus, 2),
                            page.LBox_Rus->viewport()->mapToGlobal(Center(page.LBox_Rus, 2)));
    QApplication::sendEvent(page.LBox_Rus->viewport(), &event);
    EXPECT_EQ(page.ListTarget(), page.LBox_Rus);
    EXPECT_EQ(page.ListTargetIndex(), 2);
    EXPECT_EQ(Selected(page.LBox_Rus), 2);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();

    std::string text;
    bool isWord = true;
    ASSERT_TRUE(page.TargetPronunciation(text, isWord));
    EXPECT_EQ(text, Utf8ToCp1251("рыба"));
    EXPECT_FALSE(isWord);

    // "Подсказать ответ" selects the partner in the other list.
    const int partner = MosaicPartner(page.Set(), MosaicSide::Right, 2);
    page.pm_hintClick();
    EXPECT_EQ(Selected(page.LBox_Eng), partner);

    // "Учить задание заново" resets the word behind the target item.
    const std::int32_t pos = MosaicPosition(page.Set(), MosaicSide::Right, 2);
    lesson.MozProgress[static_cast<std::size_t>(pos)].Points = 20;
    page.pm_word_onClick();
    EXPECT_EQ(lesson.MozProgress[static_cast<std::size_t>(pos)].Points, 0);

    // "Выучено !" marks the pair learned and takes it out without scoring.
    page.pm_word_offClick();
    EXPECT_EQ(lesson.MozProgress[static_cast<std::size_t>(pos)].Points, 48);
    EXPECT_EQ(lesson.RightCount, 0);
    EXPECT_EQ(page.LBox_Eng->count(), 3);
    EXPECT_EQ(page.LBox_Rus->count(), 3);

    // Beside the items: no target item, nothing selected anew.
    QContextMenuEvent beside(
        QContextMenuEvent::Mouse, QPoint(5, page.LBox_Eng->viewport()->height() - 5),
        page.LBox_Eng->viewport()->mapToGlobal(QPoint(5, page.LBox_Eng->viewport()->height() - 5)));
    QApplication::sendEvent(page.LBox_Eng->viewport(), &beside);
    EXPECT_EQ(page.ListTarget(), page.LBox_Eng);
    EXPECT_EQ(page.ListTargetIndex(), -1);
    EXPECT_FALSE(page.TargetPronunciation(text, isWord));
    menu.hide();
}

TEST_F(MosaicPageTest, SplitterKeepsTheStoredWidth)
{
    EXPECT_EQ(page.LearningMozWidth(), 265);
    EXPECT_EQ(page.LBox_Eng->width(), 265);
    page.SetLearningMozWidth(180);
    EXPECT_EQ(page.LBox_Eng->width(), 180);
    page.resize(600, 200);
    QApplication::processEvents();
    EXPECT_EQ(page.LearningMozWidth(), 180);
    page.Splitter->setSizes({220, 300});
    EXPECT_EQ(page.LearningMozWidth(), 220);

    MosaicPage hidden{lesson};
    hidden.SetLearningMozWidth(-5);
    EXPECT_EQ(hidden.LearningMozWidth(), 0);
}
