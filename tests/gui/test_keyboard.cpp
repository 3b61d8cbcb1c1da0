// SPDX-License-Identifier: GPL-3.0-or-later
// Lessons without the mouse: a Variant exercise and a Mosaic set answered by keys give what the same answers
// by mouse give; the menu keys; the names a screen reader finds in every window.

#include "app/gui/file_dialogs.h"
#include "app/gui/form_about.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "app/gui/form_set_spin_edit.h"
#include "app/gui/form_user.h"
#include "cards/gui/form_card.h"
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
#include "text/gui/text_page.h"
#include "text/gui/text_search_dialog.h"
#include "writing/gui/writing_page.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace vb;
using vbtest::WaitUntil;

namespace {

const char* const kWords[][2] = {
    {"apple", "yabloko"}, {"bread", "hleb"}, {"cloud", "oblako"}, {"door", "dver"},
    {"earth", "zemlya"},  {"fire", "ogon"},  {"grass", "trava"},  {"house", "dom"},
};
constexpr int kWordCount = 8;

// What an answer leaves behind, compared between the mouse and the keys.
struct Snapshot
{
    int right = 0;
    int errors = 0;
    int left = 0;
    int taskPoints = 0;
    std::vector<std::string> panels;
    std::string lastWord;
    bool echoing = false;
    bool pageEnabled = true;
    std::string progress;

    bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os)
{
    *os << "right " << s.right << " errors " << s.errors << " left " << s.left << " points " << s.taskPoints
        << " last '" << s.lastWord << "' echo " << s.echoing << " enabled " << s.pageEnabled << " panels";
    for (const std::string& p : s.panels) {
        *os << " [" << p << "]";
    }
}

class KeyboardTest : public ::testing::Test
{
public:
    void TearDown() override
    {
        TForm_Message::ResetTestHooks();
        FileDialogs::ResetTestHooks();
        Close();
    }

    void Start()
    {
        std::string text;
        for (const auto& w : kWords) {
            text += std::string(w[0]) + "|" + w[1] + "|" + w[0][0] + "|\r\n";
        }
        dictionary = home.File("dict/keys.lqd");
        vbtest::WriteBytes(dictionary, text);
        // Every method in file order: a new dictionary would be shuffled.
        std::string progress;
        for (int i = 0; i < kWordCount; ++i) {
            progress += std::to_string(i) + "|0|" + std::to_string(i) + "|0|" + std::to_string(i) + "|0\r\n";
        }
        vbtest::WriteBytes(ProgressFilePath(home.Path() + "/Users", "Default", dictionary), progress);
        vbtest::MakeProgramWindows(ctx, learning, settings, message, AppPaths(home.Path(), home.Path(), home.Path()),
                                   home.File("registry.reg"), {dictionary});
        learning->show();
        ASSERT_EQ(L().WordCount, kWordCount);
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

    // The second run starts from the same (empty) progress and settings as the first.
    void Forget()
    {
        Close();
        std::filesystem::remove_all(home.File("Users"));
        std::filesystem::remove(home.File("registry.reg"));
    }

    // The same generator state, and no task asked before, so both runs draw the same tasks.
    void SameDraws(std::int32_t seed)
    {
        L().Random.RandomSeed = seed;
        L().LastTaskWord = -1;
    }

    void ChangeSettings(const std::function<void(SettingsWindowValues&)>& change)
    {
        SettingsWindowValues values = settings->Values();
        change(values);
        settings->ApplyValues(values);
    }

    // A key as the user's keyboard delivers it: to the control that has the focus, else to the window.
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = learning->focusWidget();
        QTest::keyClick(target ? target : learning.get(), static_cast<Qt::Key>(key), modifiers);
    }

    Snapshot Snap()
    {
        Snapshot s;
        s.right = L().RightCount;
        s.errors = L().ErrorCount;
        s.left = L().ExerciseLeft;
        s.taskPoints = L().TaskPoints;
        for (int p = 0; p < TMyStatusBar::kPanelCount; ++p) {
            s.panels.push_back(learning->StatusBar->PanelText(p).toStdString());
        }
        s.lastWord = learning->LastWord->text().toStdString();
        s.echoing = learning->TimerPronounceWord->isActive();
        s.pageEnabled = learning->PageControl->isEnabled();
        s.progress = vbtest::ReadBytes(ProgressFilePath(home.Path() + "/Users", "Default", dictionary));
        return s;
    }

    // The echo of a right answer, run at once instead of waited for.
    void FinishEcho()
    {
        if (learning->TimerPronounceWord->isActive()) {
            learning->TimerPronounceWord->stop();
            learning->TimerPronounceWordTimer();
        }
        if (learning->TimerPronounceTrsl->isActive()) {
            learning->TimerPronounceTrsl->stop();
            learning->TimerPronounceTrslTimer();
        }
    }

    Lesson& L() { return learning->lesson; }
    VariantPage& Variant() { return *learning->variantPage; }
    MosaicPage& Mosaic() { return *learning->mosaicPage; }
    int RightRow() { return VariantHintSlot(Variant().Options(), L().TaskPos) + 1; }
    int WrongRow() { return RightRow() == 1 ? 2 : 1; }

    vbtest::TempHome home;
    std::string dictionary;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Message> message;
};

// ---------------------------------------------------------------------------------------------------
// Variant

// One exercise of four right answers, each after a wrong one: by clicks, or by keys.
std::vector<Snapshot> RunVariantExercise(KeyboardTest& t, const std::function<void(int row, bool right)>& answer,
                                         const std::function<Snapshot()>& snap, const std::function<void()>& finishEcho,
                                         const std::function<VariantPage&()>& page)
{
    std::vector<Snapshot> steps;
    for (int task = 0; task < 4; ++task) {
        const int right = VariantHintSlot(page().Options(), t.learning->lesson.TaskPos) + 1;
        const int wrong = right == 1 ? 2 : 1;
        answer(wrong, false);
        steps.push_back(snap());
        answer(right, true);
        steps.push_back(snap());
        finishEcho();
    }
    steps.push_back(snap());
    return steps;
}

TEST_F(KeyboardTest, VariantExerciseByKeysScoresAsByMouse)
{
    const auto setUp = [this] {
        Start();
        ChangeSettings([](SettingsWindowValues& v) {
            v.SE_CountWEx.Set(4);
            v.SE_CountVar.Set(5);
        });
        SameDraws(4711);
        learning->PageControlChange();
        ASSERT_TRUE(Variant().View().ready);
    };
    const auto snap = [this] { return Snap(); };
    const auto echo = [this] { FinishEcho(); };
    const auto page = [this]() -> VariantPage& { return Variant(); };

    setUp();
    const std::vector<Snapshot> byMouse = RunVariantExercise(
        *this, [this](int row, bool) { vbtest::MouseClick(Variant().var(row)); }, snap, echo, page);
    ASSERT_TRUE(learning->InTray());

    Forget();
    setUp();
    // Wrong answers by digits (the main row and the keypad), right ones by Up/Down and Enter or Space.
    int answered = 0;
    const std::vector<Snapshot> byKeys = RunVariantExercise(
        *this,
        [&](int row, bool right) {
            if (!right) {
                Key(Qt::Key_0 + row, answered % 2 ? Qt::KeypadModifier : Qt::NoModifier);
                return;
            }
            // The highlight starts nowhere on a new task; Down goes from the first row.
            ASSERT_EQ(Variant().HighlightedRow(), 0);
            for (int n = 0; n < row; ++n) {
                Key(Qt::Key_Down);
            }
            ASSERT_EQ(Variant().HighlightedRow(), row);
            EXPECT_TRUE(Variant().RowLook(row).bold);
            Key(answered % 2 ? Qt::Key_Space : Qt::Key_Return);
            ++answered;
        },
        snap, echo, page);

    ASSERT_EQ(byKeys.size(), byMouse.size());
    for (std::size_t i = 0; i < byKeys.size(); ++i) {
        EXPECT_EQ(byKeys[i], byMouse[i]) << "step " << i;
    }
    EXPECT_EQ(byKeys.back().right, 4);
    EXPECT_EQ(byKeys.back().errors, 4);
    EXPECT_EQ(byKeys.back().left, 0);
    EXPECT_TRUE(learning->InTray());
}

TEST_F(KeyboardTest, VariantKeysMoveTheHighlightLikeThePointerAndStopWhileTheEchoRuns)
{
    Start();
    ChangeSettings([](SettingsWindowValues& v) { v.SE_CountVar.Set(3); });
    learning->PageControlChange();
    ASSERT_EQ(Variant().View().rows.size(), 3u);
    EXPECT_EQ(learning->focusWidget(), &Variant());

    // Up from nothing starts at the last row; the highlight stops at the ends; the row left behind takes
    // the shadow colour as when the pointer leaves it.
    Key(Qt::Key_Up);
    EXPECT_EQ(Variant().HighlightedRow(), 3);
    Key(Qt::Key_Down);
    EXPECT_EQ(Variant().HighlightedRow(), 3);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(Variant().HighlightedRow(), 1);
    EXPECT_TRUE(Variant().RowLook(1).bold);
    EXPECT_EQ(Variant().RowLook(3).color, RowColor::Shadow);
    EXPECT_FALSE(Variant().RowLook(3).bold);

    // A wrong row chosen by Enter is struck out and stays red when the highlight moves on.
    const int wrong = WrongRow();
    while (Variant().HighlightedRow() != wrong) {
        Key(Qt::Key_Down);
    }
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(L().ErrorCount, 1);
    EXPECT_EQ(Variant().RowLook(wrong).color, RowColor::Red);
    Key(wrong == 3 ? Qt::Key_Up : Qt::Key_Down);
    EXPECT_EQ(Variant().RowLook(wrong).color, RowColor::Red);
    EXPECT_TRUE(Variant().trsl(wrong)->isVisible());

    // Digits beyond the rows, and keys with Ctrl or Alt, choose nothing.
    Key(Qt::Key_7);
    Key(Qt::Key_0 + RightRow(), Qt::ControlModifier);
    Key(Qt::Key_0 + RightRow(), Qt::AltModifier);
    EXPECT_EQ(L().RightCount, 0);
    EXPECT_EQ(L().ErrorCount, 1);

    // The right digit; then the page is disabled for the echo and takes no key, right or wrong.
    const int right = RightRow();
    Key(Qt::Key_0 + right);
    EXPECT_EQ(L().RightCount, 1);
    ASSERT_FALSE(learning->PageControl->isEnabled());
    Key(Qt::Key_0 + right);
    Key(Qt::Key_0 + (right == 1 ? 2 : 1));
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(L().RightCount, 1);
    EXPECT_EQ(L().ErrorCount, 1);

    // The next task takes keys at once.
    FinishEcho();
    ASSERT_TRUE(learning->PageControl->isEnabled());
    EXPECT_EQ(learning->focusWidget(), &Variant());
    Key(Qt::Key_0 + RightRow());
    EXPECT_EQ(L().RightCount, 2);
}

TEST_F(KeyboardTest, VariantRowsShowTheirNumberAndReadTheirText)
{
    Start();
    learning->PageControlChange();
    const int rows = static_cast<int>(Variant().View().rows.size());
    ASSERT_GE(rows, 2);
    for (int n = 1; n <= rows; ++n) {
        QLabel* row = Variant().var(n);
        EXPECT_EQ(row->accessibleName(), QStringLiteral("вариант %1: %2").arg(n).arg(row->text()));
        // The number sits in a margin of its own before the text.
        EXPECT_GE(row->contentsMargins().left(), 12);
    }
    // The number is drawn in a colour between the text's and the background's.
    QLabel* first = Variant().var(1);
    first->setText(QString());
    const QImage image = first->grab().toImage();
    bool inked = false;
    for (int x = 0; x < 12 && !inked; ++x) {
        for (int y = 0; y < image.height() && !inked; ++y) {
            const QColor c = image.pixelColor(x, y);
            inked = c != first->palette().color(QPalette::Window) && c.lightness() > 40;
        }
    }
    EXPECT_TRUE(inked);
}

// ---------------------------------------------------------------------------------------------------
// Mosaic

std::vector<Snapshot> RunMosaicSet(KeyboardTest& t, const std::function<void(QListWidget*, int)>& choose,
                                   const std::function<void()>& judgeByKey, const std::function<Snapshot()>& snap)
{
    std::vector<Snapshot> steps;
    MosaicPage& page = *t.learning->mosaicPage;
    // Each pair after one wrong try: the left item, a wrong partner, then the right one.
    for (int pair = 0; pair < 3; ++pair) {
        const int partner = MosaicPartner(page.Set(), MosaicSide::Left, 0);
        const int wrong = partner == 0 ? 1 : 0;
        choose(page.LBox_Eng, 0);
        steps.push_back(snap());
        if (page.LBox_Rus->count() > 1) {
            choose(page.LBox_Rus, wrong);
            judgeByKey();
            steps.push_back(snap());
        }
        choose(page.LBox_Rus, partner);
        judgeByKey();
        steps.push_back(snap());
    }
    steps.push_back(snap());
    return steps;
}

TEST_F(KeyboardTest, MosaicSetByKeysScoresAsByMouse)
{
    const auto setUp = [this] {
        Start();
        ChangeSettings([](SettingsWindowValues& v) { v.SE_CountMoz.Set(3); });
        SameDraws(977);
        learning->m_lesson_moz->trigger();
        ASSERT_EQ(Mosaic().LBox_Eng->count(), 3);
    };
    const auto snap = [this] { return Snap(); };

    setUp();
    const std::vector<std::string> firstSet = [this] {
        std::vector<std::string> items;
        for (int i = 0; i < 3; ++i) {
            items.push_back(Mosaic().LBox_Rus->item(i)->text().toStdString());
        }
        return items;
    }();
    // A click in one list after a choice in the other judges the pair.
    const std::vector<Snapshot> byMouse = RunMosaicSet(
        *this,
        [](QListWidget* list, int row) {
            vbtest::ClickAt(list->viewport(), list->visualItemRect(list->item(row)).center());
        },
        [] {}, snap);
    ASSERT_EQ(Mosaic().LBox_Eng->count(), 3); // the next set at once

    Forget();
    setUp();
    ASSERT_EQ(learning->focusWidget(), Mosaic().LBox_Eng);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Mosaic().LBox_Rus->item(i)->text().toStdString(), firstSet[static_cast<std::size_t>(i)]);
    }
    // Left and Right to the list, Up and Down to the item, Enter once both sides are chosen.
    const auto choose = [this](QListWidget* list, int row) {
        Key(list == Mosaic().LBox_Eng ? Qt::Key_Left : Qt::Key_Right);
        ASSERT_EQ(learning->focusWidget(), list);
        if (list->selectedItems().isEmpty()) {
            Key(Qt::Key_Down);
        }
        while (list->currentRow() < row) {
            Key(Qt::Key_Down);
        }
        while (list->currentRow() > row) {
            Key(Qt::Key_Up);
        }
        ASSERT_EQ(list->selectedItems().value(0), list->item(row));
    };
    const std::vector<Snapshot> byKeys = RunMosaicSet(
        *this, choose, [this] { Key(Qt::Key_Return); }, snap);

    ASSERT_EQ(byKeys.size(), byMouse.size());
    for (std::size_t i = 0; i < byKeys.size(); ++i) {
        EXPECT_EQ(byKeys[i], byMouse[i]) << "step " << i;
    }
    EXPECT_EQ(L().RightCount, 3);
    // The last pair had no wrong partner left to try.
    EXPECT_EQ(L().ErrorCount, 2);
    EXPECT_EQ(Mosaic().LBox_Eng->count(), 3);
}

TEST_F(KeyboardTest, MosaicKeysFromOutsideTheListsAndAWrongPairKeepsBothChoices)
{
    Start();
    ChangeSettings([](SettingsWindowValues& v) { v.SE_CountMoz.Set(4); });
    learning->m_lesson_moz->trigger();
    QListWidget* eng = Mosaic().LBox_Eng;
    QListWidget* rus = Mosaic().LBox_Rus;

    // With the focus nowhere the window passes the keys to the page: Down starts in the words list.
    if (QWidget* focus = learning->focusWidget()) {
        focus->clearFocus();
    }
    QTest::keyClick(learning.get(), Qt::Key_Down);
    EXPECT_EQ(learning->focusWidget(), eng);
    ASSERT_EQ(eng->selectedItems().size(), 1);
    // Enter with one side chosen judges nothing.
    Key(Qt::Key_Return);
    EXPECT_EQ(L().ErrorCount, 0);

    const int partner = MosaicPartner(Mosaic().Set(), MosaicSide::Left, eng->currentRow());
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    while (rus->currentRow() == partner || rus->currentRow() < 0) {
        Key(Qt::Key_Down);
    }
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(L().ErrorCount, 1);
    EXPECT_EQ(eng->selectedItems().size(), 1);
    EXPECT_EQ(rus->selectedItems().size(), 1);
    // Enter again is one more wrong answer, as a second double click is.
    Key(Qt::Key_Return);
    EXPECT_EQ(L().ErrorCount, 2);
    EXPECT_EQ(L().RightCount, 0);
}

// ---------------------------------------------------------------------------------------------------
// Menu keys

TEST_F(KeyboardTest, MenuKeysAreShownAndWorkWhereNoPageTakesThem)
{
    Start();
    EXPECT_EQ(learning->m_dict_open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(learning->m_dict_save->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(learning->m_content->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(learning->m_set_common->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(learning->m_lesson_quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    learning->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(learning.get()));

    // Ctrl+, opens the settings on their first page.
    Key(Qt::Key_Comma, Qt::ControlModifier);
    ASSERT_TRUE(WaitUntil([&] { return settings->isVisible(); }, 5000));
    EXPECT_EQ(settings->PageControl->currentIndex(), 0);
    settings->close();
    ASSERT_TRUE(WaitUntil([&] { return !settings->isVisible(); }, 5000));
    learning->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(learning.get()));

    // Ctrl+O opens another dictionary, from the Variant page with its answer keys.
    const std::string other = home.File("dict/other.lqd");
    vbtest::WriteBytes(other, "one|odin||\r\ntwo|dva||\r\nthree|tri||\r\n");
    FileDialogs::SetNextFileName(QString::fromStdString(other));
    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(L().WordCount, 3);
    EXPECT_EQ(L().RightCount + L().ErrorCount, 0);

    // Digits typed into Writing are the answer's, not a Variant row.
    learning->m_lesson_enter->trigger();
    ASSERT_EQ(learning->focusWidget(), learning->writingPage->Enter_Area);
    Key(Qt::Key_1);
    Key(Qt::Key_2);
    EXPECT_EQ(learning->writingPage->Enter_Area->text(), QStringLiteral("12"));
    EXPECT_EQ(L().RightCount + L().ErrorCount, 0);
}

// ---------------------------------------------------------------------------------------------------
// Screen readers

bool Interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Slider:
    case QAccessible::PageTab:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::MenuItem:
        return true;
    default:
        return false;
    }
}

// The visible interactive controls under `iface` that a screen reader would meet without a name.
void Unnamed(QAccessibleInterface* iface, const QString& path, std::vector<std::string>& out, int depth = 0)
{
    if (!iface || !iface->isValid() || depth > 40 || iface->state().invisible) {
        return;
    }
    QString here = path;
    if (QObject* object = iface->object()) {
        here +=
            QLatin1Char('/') + (object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                                               : object->objectName());
    }
    if (Interactive(iface->role()) && iface->text(QAccessible::Name).trimmed().isEmpty()) {
        out.push_back(here.toStdString() + " role " + std::to_string(iface->role()));
    }
    for (int i = 0; i < iface->childCount(); ++i) {
        Unnamed(iface->child(i), here, out, depth + 1);
    }
}

std::vector<std::string> UnnamedIn(QWidget* window)
{
    std::vector<std::string> out;
    Unnamed(QAccessible::queryAccessibleInterface(window), QString(), out);
    return out;
}

TEST_F(KeyboardTest, EveryControlOfEveryPageAndDialogHasAName)
{
    Start();
    const std::vector<std::string> none;
    for (int page = 0; page < 5; ++page) {
        learning->PageControl->setCurrentIndex(page);
        QApplication::processEvents();
        EXPECT_EQ(UnnamedIn(learning.get()), none) << "page " << page;
    }
    learning->PageControl->setCurrentIndex(0);

    settings->show();
    for (int page = 0; page < settings->PageControl->count(); ++page) {
        settings->PageControl->setCurrentIndex(page);
        QApplication::processEvents();
        EXPECT_EQ(UnnamedIn(settings.get()), none) << "settings page " << page;
    }
    settings->hide();
    // Fields without a caption of their own read the captions around them: their row and column in a table,
    // the box before them with the unit after them.
    EXPECT_EQ(settings->SE_Moz_Straf->accessibleName().toStdString(), "Мозаика, Штраф");
    EXPECT_EQ(settings->SE_Var_Ball->accessibleName().toStdString(), "Вариант, Балл");
    EXPECT_EQ(settings->SE_CountVar->accessibleName().toStdString(), "Количество вариантов перевода");
    EXPECT_EQ(settings->SE_TimeHide->accessibleName().toStdString(), "Разворачиваться через мин.");
    EXPECT_EQ(settings->SE_Ball_Letter->accessibleDescription().toStdString(), "За каждый неправильный символ");

    // The message dialog with all three buttons, as it runs.
    std::vector<std::string> inMessage{"not run"};
    vbtest::WhenModal(message.get(), [&] {
        inMessage = UnnamedIn(message.get());
        message->bt_1->click();
    });
    message->ShowMessageDialog("Сохранить изменения?", "да", "нет", "отменить");
    EXPECT_EQ(inMessage, none);

    TForm_About about(*ctx);
    about.show();
    EXPECT_EQ(UnnamedIn(&about), none);
    about.hide();
    TForm_User user(*ctx);
    user.show();
    EXPECT_EQ(UnnamedIn(&user), none);
    user.hide();
    TForm_Card card(*ctx);
    card.show();
    EXPECT_EQ(UnnamedIn(&card), none);
    card.hide();
    for (TextSearchDialog* dialog : {learning->textPage->FindDialog, learning->textPage->ReplaceDialog}) {
        dialog->show();
        EXPECT_EQ(UnnamedIn(dialog), none) << dialog->windowTitle().toStdString();
        dialog->hide();
    }
}

TEST_F(KeyboardTest, ScreenReadersReadTheStatusBarPanelsAndTheLessonLists)
{
    Start();
    learning->PageControlChange();
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(learning->StatusBar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::StatusBar);
    ASSERT_GE(bar->childCount(), TMyStatusBar::kPanelCount);
    for (int p = 0; p < TMyStatusBar::kPanelCount; ++p) {
        QAccessibleInterface* panel = bar->child(p);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->text(QAccessible::Name), learning->StatusBar->PanelText(p)) << p;
        EXPECT_EQ(bar->indexOfChild(panel), p);
        EXPECT_EQ(panel->parent(), bar);
    }
    // The text follows the lesson.
    vbtest::MouseClick(Variant().var(WrongRow()));
    EXPECT_EQ(bar->child(2)->text(QAccessible::Name).toStdString(), "ошибок: 1");

    EXPECT_FALSE(Variant().accessibleDescription().isEmpty());
    EXPECT_FALSE(Mosaic().LBox_Eng->accessibleName().isEmpty());
    EXPECT_FALSE(Mosaic().LBox_Rus->accessibleDescription().isEmpty());
}

} // namespace
