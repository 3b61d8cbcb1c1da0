// SPDX-License-Identifier: GPL-3.0-or-later
// Lessons in the real lesson window, built with the settings and message windows as the program builds them:
// the dictionary opened at start, Variant answers with their echo, Mosaic pairs, the task-word menu and the
// settings window from the menu.

#include "app/gui/app_context.h"
#include "app/gui/color_menus.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "common/codepage.h"
#include "common/registry.h"
#include "engine/gui/mosaic_page.h"
#include "engine/gui/status_bar.h"
#include "engine/gui/variant_page.h"
#include "engine/mosaic.h"
#include "engine/progress_file.h"
#include "engine/variant.h"
#include "gui/program_windows.h"
#include "gui_input.h"
#include "support/temp_home.h"
#include "test_learning_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDragMoveEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace vb;
using vbtest::WaitUntil;

namespace {

using vbtest::ClickAt;
using vbtest::Mouse;

void Click(QWidget* w)
{
    ClickAt(w, w->rect().center());
}

QPoint Center(QListWidget* list, int row)
{
    return list->visualItemRect(list->item(row)).center();
}

// Five words whose translations tell them apart.
const char* const kWords[][2] = {
    {"apple", "yabloko"}, {"bread", "hleb"}, {"cloud", "oblako"}, {"door", "dver"}, {"earth", "zemlya"},
};

class LessonWindowTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        TForm_Message::ResetTestHooks();
        MosaicPage::SetDragHook({});
        Close();
    }

    // The windows as the program makes them; `paths` default to the temporary home for everything.
    void Start(std::vector<std::string> args, std::optional<AppPaths> paths = std::nullopt)
    {
        AppPaths p = paths ? *paths : AppPaths(home.Path(), home.Path(), home.Path());
        vbtest::MakeProgramWindows(ctx, learning, settings, message, std::move(p), home.File("registry.reg"),
                                   std::move(args));
        learning->show();
    }

    void StartOnSmallDictionary()
    {
        std::string text;
        for (const auto& w : kWords) {
            text += std::string(w[0]) + "|" + w[1] + "|" + w[0][0] + "|note " + w[0] + "\r\n";
        }
        dictionary = home.File("dict/small.lqd");
        vbtest::WriteBytes(dictionary, text);
        Start({dictionary});
        ASSERT_EQ(learning->lesson.WordCount, 5);
    }

    void Close()
    {
        if (!ctx) {
            return;
        }
        message.reset();
        ctx->message = nullptr;
        settings.reset();
        ctx->settings = nullptr;
        learning.reset();
        ctx->learning = nullptr;
        ctx.reset();
    }

    void ChangeSettings(const std::function<void(SettingsWindowValues&)>& change)
    {
        SettingsWindowValues values = settings->Values();
        change(values);
        settings->ApplyValues(values);
    }

    // The Variant points stored for every word of the dictionary, by word index.
    std::vector<int> StoredVarPoints() const
    {
        const std::string text = vbtest::ReadBytes(ProgressFilePath(home.Path() + "/Users", "Default", dictionary));
        ProgressArray var, moz, enter;
        std::vector<int> points(5, -1000);
        if (!ParseProgressFile(text, 5, var, moz, enter)) {
            return points;
        }
        for (const TWordProgress& p : var) {
            points[static_cast<std::size_t>(p.WordIndex)] = p.Points;
        }
        return points;
    }

    Lesson& L() { return learning->lesson; }
    VariantPage& Variant() { return *learning->variantPage; }
    MosaicPage& Mosaic() { return *learning->mosaicPage; }
    int RightRow() { return VariantHintSlot(Variant().Options(), L().TaskPos) + 1; }
    int WordAt(int position) { return L().VarProgress[static_cast<std::size_t>(position)].WordIndex; }

    vbtest::TempHome home;
    std::string dictionary;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Message> message;
};

TEST_F(LessonWindowTest, EmptyHomeStartsOnTheDefaultDictionary)
{
    Start({}, AppPaths::FromEnvironment(VB_EXE_PATH));
    ASSERT_EQ(L().WordCount, 850);
    EXPECT_EQ(learning->PageControl->currentIndex(), 0);
    ASSERT_TRUE(Variant().View().ready);
    EXPECT_TRUE(learning->word->isVisible());
    EXPECT_FALSE(learning->word->text().isEmpty());
    // Every row is a translation of the dictionary, one of them the task's.
    for (int n = 1; n <= 7; ++n) {
        ASSERT_TRUE(Variant().var(n)->isVisible()) << n;
        const std::string shown = Variant().var(n)->text().toStdString();
        const bool known = std::any_of(L().LessonWords.begin(), L().LessonWords.end(),
                                       [&](const TLessonWord& w) { return w.Word == shown || w.Translation == shown; });
        EXPECT_TRUE(known) << n;
    }
    EXPECT_EQ(learning->StatusBar->PanelText(5).toStdString(), "словарь: dt_basic [850] слов");

    // The dictionary is stored back for the next start.
    Close();
    EXPECT_NE(vbtest::ReadBytes(home.File("registry.reg")).find("dt_basic.lqd"), std::string::npos);
}

TEST_F(LessonWindowTest, RightVariantAnswerIsStoredEchoedAndFollowedByANewTask)
{
    StartOnSmallDictionary();
    ASSERT_TRUE(Variant().View().ready);
    const int task = WordAt(L().TaskPos);
    const int row = RightRow();
    ASSERT_GE(row, 1);

    Click(Variant().var(row));
    EXPECT_EQ(StoredVarPoints()[static_cast<std::size_t>(task)], 6);
    EXPECT_EQ(L().RightCount, 1);
    EXPECT_EQ(learning->StatusBar->PanelText(0).toStdString(), "правильно: 1");
    EXPECT_EQ(learning->StatusBar->PanelText(1).toStdString(), "осталось: 19");
    EXPECT_EQ(learning->LastWord->text().toStdString(), kWords[task][0]);
    EXPECT_EQ(learning->LastWordTransl->text().toStdString(), kWords[task][1]);
    // No second answer while the word is echoed.
    EXPECT_FALSE(learning->PageControl->isEnabled());
    EXPECT_TRUE(learning->TimerPronounceWord->isActive());
    Click(Variant().var(row));
    EXPECT_EQ(L().RightCount, 1);

    ASSERT_TRUE(WaitUntil([&] { return learning->PageControl->isEnabled(); }, 5000));
    EXPECT_TRUE(Variant().View().ready);
    // A new task never repeats the word just asked while others are there.
    EXPECT_NE(WordAt(L().TaskPos), task);
}

TEST_F(LessonWindowTest, WrongVariantAnswerCostsByShtrafAndIsStruckOut)
{
    StartOnSmallDictionary();
    ChangeSettings([](SettingsWindowValues& v) { v.RG_Shtraf.Set(1); });
    learning->PageControlChange();
    const int task = WordAt(L().TaskPos);
    const int wrongRow = RightRow() == 1 ? 2 : 1;
    const int chosen = WordAt(Variant().Options().VarOptions[static_cast<std::size_t>(wrongRow - 1)]);

    Click(Variant().var(wrongRow));
    const std::vector<int> stored = StoredVarPoints();
    EXPECT_EQ(stored[static_cast<std::size_t>(chosen)], -6);
    EXPECT_EQ(stored[static_cast<std::size_t>(task)], 0);
    EXPECT_EQ(L().ErrorCount, 1);
    EXPECT_EQ(learning->StatusBar->PanelText(2).toStdString(), "ошибок: 1");

    const VariantRowLook look = Variant().RowLook(wrongRow);
    EXPECT_TRUE(look.strikeOut);
    EXPECT_EQ(look.color, RowColor::Red);
    EXPECT_TRUE(Variant().trsl(wrongRow)->isVisible());
    EXPECT_FALSE(Variant().trsl(wrongRow)->text().isEmpty());
    // The task stays and the page stays open for another try.
    EXPECT_TRUE(learning->PageControl->isEnabled());
    EXPECT_EQ(WordAt(L().TaskPos), task);
    EXPECT_FALSE(learning->TimerPronounceWord->isActive());
}

TEST_F(LessonWindowTest, MosaicPairsByClickAndDragAndTheLastPairBuildsANewSet)
{
    StartOnSmallDictionary();
    ChangeSettings([](SettingsWindowValues& v) { v.SE_CountMoz.Set(3); });
    learning->m_lesson_moz->trigger();
    ASSERT_EQ(learning->PageControl->currentIndex(), 1);
    EXPECT_TRUE(learning->m_lesson_moz->isChecked());
    EXPECT_FALSE(learning->GBox_Word->isVisible());
    QListWidget* eng = Mosaic().LBox_Eng;
    QListWidget* rus = Mosaic().LBox_Rus;
    ASSERT_EQ(eng->count(), 3);
    const auto partner = [&](int left) { return MosaicPartner(Mosaic().Set(), MosaicSide::Left, left); };

    // By clicks.
    const int pos0 = MosaicPosition(Mosaic().Set(), MosaicSide::Left, 0);
    ClickAt(eng->viewport(), Center(eng, 0));
    ClickAt(rus->viewport(), Center(rus, partner(0)));
    EXPECT_EQ(L().MozProgress[static_cast<std::size_t>(pos0)].Points, 4);
    EXPECT_EQ(eng->count(), 2);
    EXPECT_EQ(rus->count(), 2);
    // Mosaic goes on at once: the page is not held for the echo.
    EXPECT_TRUE(learning->PageControl->isEnabled());

    // By drag and drop.
    const int pos1 = MosaicPosition(Mosaic().Set(), MosaicSide::Left, 0);
    const QPoint drop = Center(rus, partner(0));
    MosaicPage::SetDragHook([&](QListWidget*, QMimeData* data) {
        QDragEnterEvent enter(drop, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(rus->viewport(), &enter);
        QDragMoveEvent move(drop, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(rus->viewport(), &move);
        QDropEvent dropped(drop, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(rus->viewport(), &dropped);
    });
    const QPoint start = Center(eng, 0);
    Mouse(eng->viewport(), QEvent::MouseButtonPress, start, Qt::LeftButton);
    Mouse(eng->viewport(), QEvent::MouseMove, start + QPoint(40, 0), Qt::LeftButton);
    Mouse(eng->viewport(), QEvent::MouseButtonRelease, start + QPoint(40, 0), Qt::NoButton);
    EXPECT_EQ(L().MozProgress[static_cast<std::size_t>(pos1)].Points, 4);
    ASSERT_EQ(eng->count(), 1);

    // The last pair: a new set of three at once.
    ClickAt(eng->viewport(), Center(eng, 0));
    ClickAt(rus->viewport(), Center(rus, partner(0)));
    EXPECT_EQ(L().RightCount, 3);
    EXPECT_EQ(eng->count(), 3);
    EXPECT_EQ(rus->count(), 3);
    EXPECT_EQ(learning->StatusBar->PanelText(1).toStdString(), "осталось: 17");
}

TEST_F(LessonWindowTest, WordMenuLearnedAndLearnAgain)
{
    StartOnSmallDictionary();
    // The menu offers the task commands when there is a task.
    learning->WordPopupMenuPopup();
    EXPECT_TRUE(learning->pm_word_next->isVisible());
    EXPECT_TRUE(learning->pm_hint->isVisible());
    EXPECT_TRUE(learning->pm_word_off->isVisible());
    EXPECT_TRUE(learning->pm_visual->isVisible());
    EXPECT_FALSE(learning->pm_word_voice->isVisible());

    // "Учить задание заново": the word's points and the task's points back to 0.
    const int pos = L().TaskPos;
    L().VarProgress[static_cast<std::size_t>(pos)].Points = 30;
    L().TaskPoints = 30;
    learning->pm_word_on->trigger();
    EXPECT_EQ(L().VarProgress[static_cast<std::size_t>(pos)].Points, 0);
    EXPECT_EQ(learning->StatusBar->PanelText(4).toStdString(), "Балл: 0");

    // "Выучено !": the threshold, no answer counted, a new task.
    // The new task refreshes the working set, which may reorder it: the word is found by its index.
    const int wordIndex = WordAt(pos);
    learning->pm_word_off->trigger();
    const auto entry = std::find_if(L().VarProgress.begin(), L().VarProgress.end(),
                                    [&](const TWordProgress& p) { return p.WordIndex == wordIndex; });
    ASSERT_NE(entry, L().VarProgress.end());
    EXPECT_EQ(entry->Points, 48);
    EXPECT_EQ(L().RightCount, 0);
    EXPECT_NE(WordAt(L().TaskPos), wordIndex);

    // "Подсказать ответ" turns the right row blue.
    learning->pm_hint->trigger();
    EXPECT_EQ(Variant().RowLook(RightRow()).color, RowColor::Blue);
}

TEST_F(LessonWindowTest, ModesRelearnAndTheMethodItems)
{
    StartOnSmallDictionary();
    // The popup twin and the menu item are one switch; without it the task is only heard.
    learning->pm_visual->trigger();
    EXPECT_FALSE(learning->m_lesson_visual->isChecked());
    EXPECT_FALSE(learning->word->isVisible());
    learning->m_lesson_visual->trigger();
    EXPECT_TRUE(learning->pm_visual->isChecked());
    EXPECT_TRUE(learning->word->isVisible());

    // Dictation: the task shows the same side as the answers.
    learning->m_lesson_dictant->trigger();
    EXPECT_TRUE(learning->pm_dictant->isChecked());
    EXPECT_TRUE(Variant().View().ready);
    const std::string task = learning->word->text().toStdString();
    const TLessonWord& w = L().LessonWords[static_cast<std::size_t>(WordAt(L().TaskPos))];
    EXPECT_EQ(task, Variant().View().direction == 1 ? w.Word : w.Translation);

    // "Учить словарь заново": only "да" resets the method's scores.
    L().VarProgress[0].Points = 12;
    TForm_Message::SetNextAnswer(3);
    learning->m_lesson_new->trigger();
    EXPECT_EQ(TForm_Message::LastMessage().text, "Учить словарь заново?");
    EXPECT_EQ(L().VarProgress[0].Points, 12);
    TForm_Message::SetNextAnswer(1);
    learning->m_lesson_new->trigger();
    EXPECT_EQ(L().VarProgress[0].Points, 0);

    // The dictionary and text pages check no method and cannot relearn.
    learning->PageControl->setCurrentIndex(3);
    EXPECT_FALSE(learning->m_lesson_variant->isChecked());
    EXPECT_FALSE(learning->m_lesson_new->isEnabled());
    EXPECT_EQ(L().ActiveMethod, 0);
    learning->PageControl->setCurrentIndex(0);
    EXPECT_TRUE(learning->m_lesson_variant->isChecked());
    EXPECT_TRUE(learning->m_lesson_new->isEnabled());
}

TEST_F(LessonWindowTest, TaskStripPointerDoubleClickAndTheEndOfAnExercise)
{
    StartOnSmallDictionary();
    // Answers in translations: the task label holds the foreign word, whose transcription "Динамически"
    // shows only under the pointer.
    ChangeSettings([](SettingsWindowValues& v) {
        v.RG_WordShow.Set(1);
        v.SE_CountWEx.Set(1);
    });
    learning->PageControlChange();
    ASSERT_TRUE(Variant().View().taskIsWord);
    EXPECT_FALSE(learning->wordtrsc->isVisible());
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(learning->word, &enter);
    EXPECT_TRUE(learning->wordtrsc->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(learning->word, &leave);
    EXPECT_FALSE(learning->wordtrsc->isVisible());

    // A double click on the task sets another one.
    const int task = WordAt(L().TaskPos);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(2, 2), learning->word->mapToGlobal(QPointF(2, 2)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(learning->word, &dbl);
    EXPECT_NE(WordAt(L().TaskPos), task);

    // The exercise is one answer long and "Сворачиваться в конце упражнения" is on: the window goes.
    Click(Variant().var(RightRow()));
    EXPECT_EQ(L().ExerciseLeft, 0);
    EXPECT_TRUE(learning->InTray());
    // The echo still ends and gives the page back.
    ASSERT_TRUE(WaitUntil([&] { return learning->PageControl->isEnabled(); }, 5000));
}

TEST_F(LessonWindowTest, LabelColoursAreStoredWithTheWindow)
{
    StartOnSmallDictionary();
    SetControlColor(Variant().var(3), 0x000000FF);
    SetControlColor(Mosaic().LBox_Rus, 0x0000FF00);
    learning->SaveLearningSettings(true);
    const std::string stored = vbtest::ReadBytes(home.File("registry.reg"));
    EXPECT_NE(stored.find("\"ColorVar03\"=dword:000000ff"), std::string::npos);
    EXPECT_NE(stored.find("\"ColorLBox_Rus\"=dword:0000ff00"), std::string::npos);

    // And come back at the next start.
    Close();
    Start({dictionary});
    EXPECT_EQ(ControlColorValue(Variant().var(3)), 0x000000FF);
    EXPECT_EQ(ControlColorValue(Mosaic().LBox_Rus), 0x0000FF00);
}

TEST_F(LessonWindowTest, AllWordsLearnedAsksAndRepeatingRaisesTheStoredThreshold)
{
    StartOnSmallDictionary();
    for (TWordProgress& p : L().VarProgress) {
        p.Points = 48;
    }
    // "понятно": no task.
    TForm_Message::SetNextAnswer(2);
    learning->PageControlChange();
    EXPECT_EQ(TForm_Message::MessageCount(), 1);
    EXPECT_FALSE(Variant().View().ready);
    EXPECT_FALSE(Variant().var(1)->isVisible());

    // "повторить": the threshold goes up by one right answer, in the settings window and the store.
    TForm_Message::SetNextAnswer(3);
    learning->PageControlChange();
    EXPECT_EQ(settings->Values().SE_Var_Stop.Value(), 54);
    EXPECT_NE(vbtest::ReadBytes(home.File("registry.reg")).find("\"SetSE_Var_Stop\"=dword:00000036"),
              std::string::npos);
    EXPECT_TRUE(Variant().View().ready);
    // The next task keeps the raised threshold.
    learning->PageControlChange();
    EXPECT_EQ(L().Params.SE_Var_Stop, 54);
}

TEST_F(LessonWindowTest, SecondStartWithADictionaryOpensIt)
{
    StartOnSmallDictionary();
    const std::string other = home.File("dict/other.lqd");
    vbtest::WriteBytes(other, "one|odin||\r\ntwo|dva||\r\n");
    ctx->registry->WriteString(AppContext::kRootKey, "", other);
    learning->TimerStartupTimer();
    EXPECT_EQ(L().WordCount, 2);
    EXPECT_EQ(learning->Settings.DictionaryPath, other);
    EXPECT_TRUE(Variant().View().ready);
    EXPECT_EQ(learning->StatusBar->PanelText(5).toStdString(), "словарь: other [2] слов");
    // Its progress is kept under its own name.
    Click(Variant().var(RightRow()));
    EXPECT_FALSE(vbtest::ReadBytes(ProgressFilePath(home.Path() + "/Users", "Default", other)).empty());
}

TEST_F(LessonWindowTest, SettingsFromEachMenuItemOpenOnTheirPageAndTakeEffect)
{
    StartOnSmallDictionary();
    QAction* const items[] = {learning->m_set_common, learning->m_set_learning, learning->m_set_card,
                              learning->m_set_voice};
    for (int page = 0; page < 4; ++page) {
        items[page]->trigger();
        ASSERT_TRUE(WaitUntil([&] { return settings->isVisible(); }, 5000)) << page;
        EXPECT_EQ(settings->PageControl->currentIndex(), page);
        if (page == 1) {
            ChangeSettings([](SettingsWindowValues& v) { v.SE_CountWEx.Set(5); });
        }
        settings->close();
        ASSERT_TRUE(WaitUntil([&] { return !settings->isVisible(); }, 5000)) << page;
    }
    // Stored, and the shorter exercise counts at once.
    EXPECT_NE(vbtest::ReadBytes(home.File("registry.reg")).find("\"SetSE_CountWEx\"=dword:00000005"),
              std::string::npos);
    EXPECT_EQ(L().ExerciseLeft, 5);
    EXPECT_EQ(learning->StatusBar->PanelText(1).toStdString(), "осталось: 5");
}

} // namespace
