// The "Вариант" page alone on a small dictionary: rows as drawn, a right click scored into the progress
// file, the look of a wrong answer through hover, the hint, and the task labels.

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
void Click(QWidget* w, QPoint pos)
{
    Press(w, pos);
    Release(w, pos);
}
// A double click as the system delivers it: press, release, double-click press, release.
void DoubleClick(QWidget* w, QPoint pos)
{
    Click(w, pos);
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
        vbtest::WriteBytes(home.File("dict.lqd"), Utf8ToCp1251("cat|кошка|kaet\r\n"
                                                               "dog|собака|dog\r\n"
                                                               "bird|птица|bed\r\n"
                                                               "fish|рыба|fish\r\n"
                                                               "<b>horse</b>|лошадь|ho:s\r\n"));
        // Every method in file order, all at 0 points.
        vbtest::WriteBytes(ProgressPath(),
                           "0|0|0|0|0|0\r\n1|0|1|0|1|0\r\n2|0|2|0|2|0\r\n3|0|3|0|3|0\r\n4|0|4|0|4|0\r\n");
        ASSERT_TRUE(lesson.LoadLessonWords(home.File("dict.lqd"), ProgressPath()));
        page.SetTaskLabels(&word, &wordtrsc);
        page.resize(480, 200);
        page.show();
        QApplication::processEvents();
        QObject::connect(&page, &std::remove_reference_t<decltype(page)>::Answered,
                         [this](bool right) { answers.push_back(right); });
    }

    std::string ProgressPath() const { return ProgressFilePath(home.File("Users"), "Default", home.File("dict.lqd")); }

    static VariantSettings Settings(int direction, int transc = 2)
    {
        VariantSettings s;
        s.RG_WordShow = direction == 1 ? 0 : 1;
        s.RG_Transc = transc;
        return s;
    }

    // Row number (1-based) of the right answer, and of some wrong one.
    int RightRow() const { return VariantHintSlot(page.Options(), lesson.TaskPos) + 1; }
    int WrongRow() const { return RightRow() == 1 ? 2 : 1; }

    static void Enter(QWidget* w)
    {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(w, &enter);
    }
    static void Leave(QWidget* w)
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w, &leave);
    }
    static QPoint Center(const QWidget* w) { return w->rect().center(); }
    static QColor TextColor(const QLabel* label) { return label->palette().color(QPalette::WindowText); }
};

} // namespace

TEST_F(VariantPageTest, RowsShowTheDrawnAnswersInOrder)
{
    std::vector<std::pair<std::string, bool>> pronounced;
    QObject::connect(&page, &VariantPage::PronounceRequested,
                     [&](const std::string& text, bool isWord) { pronounced.emplace_back(text, isWord); });
    page.SetVariantTask(Settings(1, 0));
    ASSERT_TRUE(page.View().ready);

    // Five words, seven wanted: five rows, sorted by the foreign words, the rest hidden.
    const QStringList expected = {"<b>horse</b>", "bird", "cat", "dog", "fish"};
    for (int n = 1; n <= 7; ++n) {
        QLabel* row = page.findChild<QLabel*>(QStringLiteral("var0%1").arg(n));
        ASSERT_NE(row, nullptr) << n;
        EXPECT_EQ(row, page.var(n));
        EXPECT_NE(page.findChild<QLabel*>(QStringLiteral("trsl0%1").arg(n)), nullptr);
        EXPECT_NE(page.findChild<QLabel*>(QStringLiteral("trsc0%1").arg(n)), nullptr);
        EXPECT_EQ(row->isVisible(), n <= 5) << n;
        if (n <= 5) {
            // Markup in a dictionary is shown as text.
            EXPECT_EQ(row->text(), expected[n - 1]);
            EXPECT_EQ(row->textFormat(), Qt::PlainText);
            EXPECT_FALSE(page.trsl(n)->isVisible());
            // "Показывать": transcriptions stand right after the answer text, on the row's line.
            EXPECT_TRUE(page.trsc(n)->isVisible());
            EXPECT_GT(page.trsc(n)->x(), 5);
            EXPECT_EQ(page.trsc(n)->height(), row->height());
        }
    }
    EXPECT_EQ(page.trsc(2)->text(), "[bed]");
    EXPECT_LT(page.trsc(2)->x(), page.trsc(1)->x());

    // The task strip: the translation is asked, the transcription is not shown with it.
    const TLessonWord& task =
        lesson.LessonWords[static_cast<std::size_t>(lesson.VarProgress[lesson.TaskPos].WordIndex)];
    EXPECT_EQ(word.text().toStdString(), Cp1251ToUtf8(task.Translation));
    EXPECT_FALSE(word.isHidden());
    EXPECT_TRUE(wordtrsc.isHidden());
    ASSERT_EQ(pronounced.size(), 1u);
    EXPECT_EQ(pronounced[0].first, task.Translation);
    EXPECT_FALSE(pronounced[0].second);
}

TEST_F(VariantPageTest, RightClickScoresOnceAndWritesTheProgress)
{
    page.SetVariantTask(Settings(1));
    const int taskPos = lesson.TaskPos;

    Click(page.var(RightRow()), Center(page.var(RightRow())));
    EXPECT_EQ(lesson.VarProgress[static_cast<std::size_t>(taskPos)].Points, 6);
    EXPECT_EQ(lesson.RightCount, 1);
    EXPECT_EQ(events.echoes, 1);
    EXPECT_EQ(answers, std::vector<bool>{true});

    ProgressArray var, moz, enter;
    ASSERT_TRUE(ParseProgressFile(vbtest::ReadBytes(ProgressPath()), 5, var, moz, enter));
    EXPECT_EQ(var, lesson.VarProgress);
    EXPECT_EQ(var[static_cast<std::size_t>(taskPos)].Points, 6);

    // Until the echo sets the next task, the rows take no more answers.
    Click(page.var(RightRow()), Center(page.var(RightRow())));
    Click(page.var(WrongRow()), Center(page.var(WrongRow())));
    EXPECT_EQ(lesson.RightCount, 1);
    EXPECT_EQ(lesson.ErrorCount, 0);

    page.SetVariantTask(Settings(1));
    Click(page.var(RightRow()), Center(page.var(RightRow())));
    EXPECT_EQ(lesson.RightCount, 2);
}

TEST_F(VariantPageTest, WrongClickStrikesTheRowOutAndShowsItsMeaning)
{
    page.SetVariantTask(Settings(1, 2));
    const int taskPos = lesson.TaskPos;
    const int row = WrongRow();
    QLabel* answer = page.var(row);
    const std::int32_t chosen = page.Options().VarOptions[static_cast<std::size_t>(row - 1)];

    Click(answer, Center(answer));
    EXPECT_EQ(lesson.ErrorCount, 1);
    EXPECT_EQ(lesson.VarProgress[static_cast<std::size_t>(taskPos)].Points, -6);
    EXPECT_EQ(lesson.VarProgress[static_cast<std::size_t>(chosen)].Points, 0);
    EXPECT_EQ(events.echoes, 0);
    EXPECT_TRUE(answer->font().strikeOut());
    EXPECT_EQ(TextColor(answer), QColor(Qt::red));
    ASSERT_TRUE(page.trsl(row)->isVisible());
    const TLessonWord& w = lesson.LessonWords[static_cast<std::size_t>(lesson.VarProgress[chosen].WordIndex)];
    EXPECT_EQ(page.trsl(row)->text().toStdString(), Cp1251ToUtf8(w.Translation));
    EXPECT_EQ(page.trsl(row)->alignment() & Qt::AlignRight, Qt::AlignRight);
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
    EXPECT_FALSE(page.trsc(row)->font().bold());
    Leave(answer);
    EXPECT_FALSE(answer->font().bold());
    EXPECT_EQ(TextColor(answer), QApplication::palette().color(QPalette::Shadow));
    EXPECT_FALSE(page.trsc(row)->isVisible());
    EXPECT_TRUE(page.trsl(row)->isVisible());

    // Every further click is one more wrong answer; a double click is one.
    Click(answer, Center(answer));
    EXPECT_EQ(lesson.ErrorCount, 2);
    DoubleClick(answer, Center(answer));
    EXPECT_EQ(lesson.ErrorCount, 3);
}

TEST_F(VariantPageTest, HintTurnsTheRightRowBlueUntilThePointerPasses)
{
    page.SetVariantTask(Settings(0));
    QLabel* right = page.var(RightRow());
    page.pm_hintClick();
    EXPECT_EQ(TextColor(right), QColor(Qt::blue));
    Enter(right);
    Leave(right);
    EXPECT_EQ(TextColor(right), QApplication::palette().color(QPalette::Shadow));
}

TEST_F(VariantPageTest, TranslationAnswersAskTheWordWithItsTranscription)
{
    page.SetVariantTask(Settings(0, 2));
    const TLessonWord& task =
        lesson.LessonWords[static_cast<std::size_t>(lesson.VarProgress[lesson.TaskPos].WordIndex)];
    EXPECT_EQ(word.text().toStdString(), task.Word);
    EXPECT_EQ(wordtrsc.text().toStdString(), task.Transcription);
    // "Динамически": the task's transcription only under the pointer; the rows have none.
    EXPECT_TRUE(wordtrsc.isHidden());
    page.wordMouseEnter();
    EXPECT_FALSE(wordtrsc.isHidden());
    page.wordMouseLeave();
    EXPECT_TRUE(wordtrsc.isHidden());
    Enter(page.var(1));
    EXPECT_FALSE(page.trsc(1)->isVisible());
}

TEST_F(VariantPageTest, NothingIsSetWhileTheWindowIsHidden)
{
    page.hide();
    page.SetVariantTask(Settings(1));
    EXPECT_FALSE(page.View().ready);
    EXPECT_EQ(lesson.WorkSetSize, 5); // untouched since loading
    page.show();
    page.SetVariantTask(Settings(1));
    EXPECT_TRUE(page.View().ready);
    page.ClearTask();
    EXPECT_FALSE(page.var(1)->isVisible());
    EXPECT_TRUE(word.isHidden());
}
