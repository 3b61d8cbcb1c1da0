// SPDX-License-Identifier: GPL-3.0-or-later
// The "Словарь" page in the real lesson window: editing in the grid, saving into the dictionary and the
// lessons, the unsaved-changes question, protected files, the recent list, search and the fonts file.

#include "app/gui/app_context.h"
#include "app/gui/file_dialogs.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "common/codepage.h"
#include "common/files.h"
#include "common/registry.h"
#include "dictionary/gui/dictionary_grid.h"
#include "dictionary/gui/dictionary_navigator.h"
#include "dictionary/gui/dictionary_page.h"
#include "engine/gui/variant_page.h"
#include "gui/program_windows.h"
#include "support/temp_home.h"
#include "writing/gui/writing_page.h"
#include "writing/keyboard_layout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace vb;
using vbtest::ReadBytes;
using vbtest::WriteBytes;

namespace {

const char* const kSaved = "Ваши изменения в словаре успешно сохранены!";
const char* const kProtected = "Cловарь защищён от изменений!";
const char* const kQuestion = "Словарь был Вами изменён. Сохранить изменения?";

class DictionaryPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TForm_Message::ResetTestHooks();
        FileDialogs::ResetTestHooks();
        dictionary = home.File("dict/small.lqd");
        WriteBytes(dictionary, "apple|yabloko\r\nbread|hleb\r\ncloud|oblako\r\n");
        vbtest::MakeProgramWindows(ctx, learning, settings, message, AppPaths(home.Path(), home.Path(), home.Path()),
                                   home.File("registry.reg"), {dictionary});
        learning->show();
        learning->PageControl->setCurrentIndex(TForm_Learning::kPageDictionary);
    }

    void TearDown() override
    {
        message.reset();
        ctx->message = nullptr;
        settings.reset();
        ctx->settings = nullptr;
        learning.reset();
        TForm_Message::ResetTestHooks();
        FileDialogs::ResetTestHooks();
    }

    // Types a value into a cell through the grid's editor, as a user does.
    void TypeInto(int row, int column, const QString& text)
    {
        DictionaryGrid* grid = learning->DBGridDict;
        grid->setFocus();
        const QModelIndex index = grid->model()->index(row, column);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(learning->focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        grid->CommitEdit();
    }
    QString Cell(int row, int column) { return learning->DBGridDict->model()->index(row, column).data().toString(); }
    bool Changed() const
    {
        return learning->BTsave->isEnabled() && learning->m_dict_save->isEnabled() && learning->BTUndo->isEnabled() &&
               learning->m_dict_undo->isEnabled();
    }
    std::string Word(int i) const { return learning->lesson.LessonWords[static_cast<std::size_t>(i)].Word; }

    vbtest::TempHome home;
    std::string dictionary;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Message> message;
};

TEST_F(DictionaryPageTest, EditedCellIsSavedIntoTheFileAndTheLessons)
{
    EXPECT_EQ(learning->DBGridDict->model()->rowCount(), 3);
    EXPECT_EQ(Cell(1, DictionaryPage::kColTranslate), "hleb");
    EXPECT_FALSE(Changed());

    TypeInto(1, DictionaryPage::kColWord, QStringLiteral("хлеб"));
    EXPECT_EQ(learning->SdfDataSet.State(), DataSetState::Edit);
    EXPECT_FALSE(Changed()); // not posted yet
    learning->DBGridDict->setCurrentIndex(learning->DBGridDict->model()->index(2, 0)); // another row posts
    EXPECT_TRUE(Changed());
    EXPECT_EQ(ReadBytes(dictionary), "apple|yabloko\r\nbread|hleb\r\ncloud|oblako\r\n");

    // A cell takes as many characters as the longest line had when the table was opened (13 bytes).
    TypeInto(0, DictionaryPage::kColTesaurus, QStringLiteral("a fruit that is red"));
    EXPECT_EQ(Cell(0, DictionaryPage::kColTesaurus), "a fruit that");

    TForm_Message::SetNextAnswer(2);
    learning->BTsave->click(); // commits the open edit too
    EXPECT_EQ(TForm_Message::LastMessage().text, kSaved);
    EXPECT_EQ(ReadBytes(dictionary), Utf8ToCp1251("apple|yabloko||a fruit that\r\nхлеб|hleb\r\ncloud|oblako\r\n"));
    EXPECT_FALSE(Changed());
    EXPECT_EQ(Word(1), "хлеб");
    EXPECT_EQ(learning->lesson.LessonWords[0].Thesaurus, "a fruit that");
    EXPECT_TRUE(learning->SdfDataSet.Active());
}

TEST_F(DictionaryPageTest, ReadOnlyDictionaryIsRefusedAndUndoRestoresIt)
{
    const std::string before = ReadBytes(dictionary);
    SetReadOnly(dictionary, true);
    TypeInto(0, DictionaryPage::kColWord, QStringLiteral("changed"));
    learning->DBNavigator->Click(DictionaryNavigator::Post);
    TForm_Message::SetNextAnswer(2);
    learning->m_dict_save->trigger();
    EXPECT_EQ(TForm_Message::LastMessage().text, kProtected);
    EXPECT_EQ(ReadBytes(dictionary), before);
    EXPECT_TRUE(Changed()); // the edits stay, to be saved under another name
    EXPECT_EQ(Cell(0, DictionaryPage::kColWord), "changed");
    EXPECT_EQ(Word(0), "apple");

    learning->BTUndo->click();
    EXPECT_EQ(Cell(0, DictionaryPage::kColWord), "apple");
    EXPECT_FALSE(Changed());
    EXPECT_EQ(TForm_Message::MessageCount(), 1);
}

TEST_F(DictionaryPageTest, QuestionBeforeOpeningAnotherDictionary)
{
    const std::string other = home.File("dict/other.lqd");
    WriteBytes(other, "one|odin\r\n");
    learning->DBNavigator->Click(DictionaryNavigator::Delete); // no confirmation
    EXPECT_EQ(TForm_Message::MessageCount(), 0);
    EXPECT_TRUE(Changed());

    // "отменить": nothing happens, not even the file dialog.
    TForm_Message::SetNextAnswer(3);
    learning->BTopen->click();
    EXPECT_EQ(TForm_Message::LastMessage().text, kQuestion);
    EXPECT_EQ(FileDialogs::DialogCount(), 0);
    EXPECT_EQ(learning->Settings.DictionaryPath, dictionary);
    EXPECT_TRUE(Changed());
    EXPECT_FALSE(learning->DialogOpen);

    // "нет": the chosen dictionary opens and the edits are gone.
    TForm_Message::SetNextAnswer(2);
    FileDialogs::SetNextFileName(QString::fromStdString(other));
    learning->m_dict_open->trigger();
    EXPECT_EQ(FileDialogs::LastRequest().title, QStringLiteral("Открыть существующий словарь"));
    EXPECT_EQ(FileDialogs::LastRequest().fileName.toStdString(), dictionary);
    EXPECT_EQ(learning->Settings.DictionaryPath, other);
    EXPECT_EQ(learning->lesson.WordCount, 1);
    EXPECT_EQ(ReadBytes(dictionary), "apple|yabloko\r\nbread|hleb\r\ncloud|oblako\r\n");
    EXPECT_FALSE(Changed());

    // The recent list: the open dictionary first, each path once.
    const QList<QAction*> items = learning->m_dict_open_list->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text().toStdString(), other);
    EXPECT_EQ(items[1]->text().toStdString(), dictionary);
    EXPECT_EQ(ctx->registry->ReadString("Software\\Verbanta\\Default", ""), other + ";" + dictionary + ";");
    items[1]->trigger();
    EXPECT_EQ(learning->Settings.DictionaryPath, dictionary);
    EXPECT_EQ(learning->m_dict_open_list->actions().size(), 2);
    EXPECT_EQ(learning->m_dict_open_list->actions()[0]->text().toStdString(), dictionary);
}

// A dictionary the pupil asks for that cannot be opened is named once; the path stays and the table is
// closed, as after any failed open.
TEST_F(DictionaryPageTest, DictionaryThatCannotBeOpenedIsNamedOnce)
{
    const std::string gone = home.File("dict/gone.lqd");
    WriteBytes(gone, "one|odin\r\n");
    FileDialogs::SetNextFileName(QString::fromStdString(gone));
    learning->BTopen->click();
    EXPECT_EQ(TForm_Message::MessageCount(), 0); // opened: nothing to say
    RemoveFile(gone);
    learning->m_dict_open_list->actions()[1]->trigger(); // back to the first
    ASSERT_EQ(learning->Settings.DictionaryPath, dictionary);

    // From the recent list.
    TForm_Message::SetNextAnswer(2);
    learning->m_dict_open_list->actions()[1]->trigger();
    EXPECT_EQ(TForm_Message::MessageCount(), 1);
    EXPECT_EQ(TForm_Message::LastMessage().text, "Не удаётся открыть словарь:\n" + gone);
    EXPECT_EQ(TForm_Message::LastMessage().caption2, "понятно");
    EXPECT_EQ(learning->Settings.DictionaryPath, gone);
    EXPECT_FALSE(learning->SdfDataSet.Active());
    EXPECT_EQ(learning->lesson.WordCount, 0);

    // A folder through the open dialog, and a second start's request for a missing file.
    const std::string folder = home.File("dict/folder.lqd");
    MakeDirectories(folder);
    FileDialogs::SetNextFileName(QString::fromStdString(folder));
    TForm_Message::SetNextAnswer(2);
    learning->BTopen->click();
    EXPECT_EQ(TForm_Message::MessageCount(), 2);
    EXPECT_EQ(TForm_Message::LastMessage().text, "Не удаётся открыть словарь:\n" + folder);
    ctx->registry->WriteString(AppContext::kRootKey, "", gone);
    TForm_Message::SetNextAnswer(2);
    learning->TimerStartupTimer();
    EXPECT_EQ(TForm_Message::MessageCount(), 3);
    EXPECT_EQ(TForm_Message::LastMessage().text, "Не удаётся открыть словарь:\n" + gone);
}

TEST(DictionaryStart, CommandLineDictionaryThatCannotBeOpenedIsNamedOnceTheWindowsExist)
{
    TForm_Message::ResetTestHooks();
    vbtest::TempHome home;
    const std::string missing = home.File("dict/none.lqd");
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Message> message;
    vbtest::MakeProgramWindows(ctx, learning, settings, message, AppPaths(home.Path(), home.Path(), home.Path()),
                               home.File("registry.reg"), {missing});
    EXPECT_EQ(TForm_Message::MessageCount(), 0); // not while the windows are being made
    TForm_Message::SetNextAnswer(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(TForm_Message::MessageCount(), 1);
    EXPECT_EQ(TForm_Message::LastMessage().text, "Не удаётся открыть словарь:\n" + missing);
    EXPECT_EQ(learning->Settings.DictionaryPath, missing);
    EXPECT_FALSE(learning->SdfDataSet.Active());
    message.reset();
    ctx->message = nullptr;
    settings.reset();
    ctx->settings = nullptr;
    learning.reset();
    TForm_Message::ResetTestHooks();
}

// Undo from the menu while a lesson page shows: the page gets a task from the reloaded words.
TEST_F(DictionaryPageTest, UndoOnALessonPageSetsANewTask)
{
    TypeInto(1, DictionaryPage::kColWord, QStringLiteral("bun"));
    learning->DBGridDict->setCurrentIndex(learning->DBGridDict->model()->index(2, 0));
    ASSERT_TRUE(Changed());
    learning->PageControl->setCurrentIndex(TForm_Learning::kPageVariant);
    ASSERT_TRUE(learning->variantPage->View().ready);
    learning->m_dict_undo->trigger();
    EXPECT_FALSE(Changed());
    EXPECT_EQ(learning->PageControl->currentIndex(), TForm_Learning::kPageVariant);
    EXPECT_TRUE(learning->variantPage->View().ready);
    EXPECT_EQ(Word(1), "bread");
}

TEST_F(DictionaryPageTest, SavingAtTheQuestionThenCancellingTheFileDialogSetsANewTask)
{
    TypeInto(1, DictionaryPage::kColWord, QStringLiteral("bun"));
    learning->DBGridDict->setCurrentIndex(learning->DBGridDict->model()->index(2, 0));
    learning->PageControl->setCurrentIndex(TForm_Learning::kPageVariant);
    ASSERT_TRUE(learning->variantPage->View().ready);
    // "да" saves, which reloads the words and clears the page; the file dialog is then cancelled.
    TForm_Message::SetNextAnswer(1);
    TForm_Message::SetNextAnswer(1);
    FileDialogs::SetNextFileName(QString());
    learning->m_dict_open->trigger();
    EXPECT_EQ(ReadBytes(dictionary), "apple|yabloko\r\nbun|hleb\r\ncloud|oblako\r\n");
    EXPECT_EQ(Word(1), "bun");
    EXPECT_TRUE(learning->variantPage->View().ready);
}

TEST_F(DictionaryPageTest, QuitAsksAndCancelKeepsTheProgramRunning)
{
    TypeInto(2, DictionaryPage::kColWord, QStringLiteral("sky"));
    // The edit is still open in the grid: the question is asked all the same.
    TForm_Message::SetNextAnswer(3);
    learning->m_lesson_quit->trigger();
    EXPECT_EQ(TForm_Message::LastMessage().text, kQuestion);
    EXPECT_EQ(learning->QuitRequested, 'N');
    EXPECT_TRUE(learning->isVisible());

    // A second start's dictionary asks too; "да" saves first.
    const std::string other = home.File("dict/other.lqd");
    WriteBytes(other, "one|odin\r\n");
    ctx->registry->WriteString(AppContext::kRootKey, "", other);
    TForm_Message::SetNextAnswer(1);
    TForm_Message::SetNextAnswer(2);
    learning->TimerStartupTimer();
    EXPECT_EQ(ReadBytes(dictionary), "apple|yabloko\r\nbread|hleb\r\nsky|oblako\r\n");
    EXPECT_EQ(learning->Settings.DictionaryPath, other);
}

TEST_F(DictionaryPageTest, EditsAreNotForgottenWhileTheAnswerEchoDisablesThePages)
{
    TypeInto(0, DictionaryPage::kColWord, QStringLiteral("pear"));
    learning->DBGridDict->setCurrentIndex(learning->DBGridDict->model()->index(2, 0));
    ASSERT_TRUE(learning->DictionaryChanged());
    // A right answer's echo disables the pages, the save button with them; the edits are still unsaved.
    learning->PageControl->setCurrentIndex(TForm_Learning::kPageVariant);
    learning->lesson.LastRightWord = 0;
    learning->PronounceRightAnswer();
    learning->PageControl->setEnabled(false);
    EXPECT_TRUE(learning->DictionaryChanged());
    TForm_Message::SetNextAnswer(3);
    learning->m_lesson_quit->trigger();
    EXPECT_EQ(TForm_Message::LastMessage().text, kQuestion);
    EXPECT_EQ(learning->QuitRequested, 'N');
    EXPECT_EQ(ReadBytes(dictionary), "apple|yabloko\r\nbread|hleb\r\ncloud|oblako\r\n");
}

TEST_F(DictionaryPageTest, CreateAndSaveAsCarryTheFonts)
{
    WriteBytes(home.File("dict/small.lqf"), "Serif\r\n204\r\nSans\r\n204\r\nMono\r\n0\r\n1\r\n2\r\n1");
    const std::string created = home.File("new.lqd");
    WriteBytes(created, "old content\r\n");
    SetReadOnly(created, true);
    FileDialogs::SetNextFileName(QString::fromStdString(created));
    learning->BTnew->click();
    EXPECT_TRUE(FileDialogs::LastRequest().save);
    EXPECT_EQ(ReadBytes(created), "");
    EXPECT_EQ(ReadBytes(home.File("new.lqf")), ReadBytes(home.File("dict/small.lqf")));
    EXPECT_EQ(learning->DBGridDict->model()->rowCount(), 0);
    EXPECT_EQ(settings->Values().LB_TrscFont, "Mono"); // the fonts of the new dictionary apply
    EXPECT_EQ(settings->Values().CBE_Word.Value(), 2);

    // Saving an empty dictionary writes one empty entry.
    learning->DBNavigator->Click(DictionaryNavigator::Insert);
    TypeInto(0, DictionaryPage::kColWord, QStringLiteral("y"));
    learning->DBNavigator->Click(DictionaryNavigator::Post);
    learning->DBNavigator->Click(DictionaryNavigator::Delete);
    EXPECT_EQ(learning->DBGridDict->model()->rowCount(), 0);
    TForm_Message::SetNextAnswer(2);
    learning->BTsave->click();
    EXPECT_EQ(ReadBytes(created), "\r\n");
    EXPECT_EQ(learning->lesson.WordCount, 0);
    EXPECT_EQ(learning->DBGridDict->model()->rowCount(), 1);

    learning->DBNavigator->Click(DictionaryNavigator::Insert);
    TypeInto(0, DictionaryPage::kColWord, QStringLiteral("x"));
    learning->DBNavigator->Click(DictionaryNavigator::Post);
    const std::string copy = home.File("copy.lqd");
    FileDialogs::SetNextFileName(QString::fromStdString(copy));
    learning->m_dict_saveas->trigger();
    EXPECT_EQ(FileDialogs::LastRequest().title, QStringLiteral("Сохранить словарь под новым именем"));
    EXPECT_EQ(ReadBytes(copy), "x\r\n\r\n");
    EXPECT_EQ(ReadBytes(created), "\r\n"); // keeps its last saved state
    EXPECT_TRUE(FileExists(home.File("copy.lqf")));
    EXPECT_EQ(learning->Settings.DictionaryPath, copy);
    EXPECT_EQ(learning->lesson.WordCount, 1);
}

TEST_F(DictionaryPageTest, FontsFileIsWrittenAndProtected)
{
    TForm_Message::SetNextAnswer(2);
    learning->BTfont->click();
    EXPECT_EQ(TForm_Message::LastMessage().text, "Шрифты успешно сохранены!");
    EXPECT_EQ(ReadBytes(home.File("dict/small.lqf")), "Arial\r\n238\r\nArial\r\n204\r\nPhoneticTM\r\n1\r\n0\r\n0\r\n1");

    SetReadOnly(home.File("dict/small.lqf"), true);
    TForm_Message::SetNextAnswer(2);
    learning->m_dict_savefonts->trigger();
    EXPECT_EQ(TForm_Message::LastMessage().text, "Шрифты защищены от изменений!");

    // The page applies the settings' fonts to its columns and search field.
    SettingsWindowValues values = settings->Values();
    values.LB_WordFont = "Serif";
    values.LB_TrslFont = "Monospace";
    values.RG_TesFontSH.Set(1);
    settings->ApplyValues(values);
    learning->PageControlChange();
    const auto& columns = learning->dictionaryPage->model->Columns();
    EXPECT_EQ(columns[DictionaryPage::kColWord].font.family(), "Serif");
    EXPECT_EQ(columns[DictionaryPage::kColTesaurus].font.family(), "Monospace");
    EXPECT_EQ(columns[DictionaryPage::kColTesaurus].font.pixelSize(), 24);
    EXPECT_EQ(learning->EdtValue->font().family(), "Serif");
    learning->CBxFieldList->setCurrentIndex(0);
    learning->CBxFieldListChange();
    EXPECT_EQ(learning->EdtValue->font().family(), "Monospace");
    EXPECT_EQ(learning->EdtValue->font().pixelSize(), 22);
}

TEST_F(DictionaryPageTest, SearchMovesTheGridOrTellsNothingWasFound)
{
    EXPECT_EQ(learning->CBxFieldList->currentText(), QStringLiteral("Слово"));
    learning->EdtValue->setText(QStringLiteral("CL"));
    learning->BTfind->click();
    EXPECT_EQ(learning->DBGridDict->currentIndex().row(), 2);
    EXPECT_EQ(TForm_Message::MessageCount(), 0);

    learning->CB_FindPartial->setChecked(false);
    TForm_Message::SetNextAnswer(2);
    learning->BTfind->click();
    EXPECT_EQ(TForm_Message::LastMessage().text, "Слово не найдено!");

    learning->CBxFieldList->setCurrentIndex(0);
    learning->EdtValue->setText(QStringLiteral(" HLEB "));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(learning->EdtValue, &enter);
    EXPECT_EQ(learning->DBGridDict->currentIndex().row(), 1);
    EXPECT_EQ(learning->SdfDataSet.CurrentLine(), 1);
}

TEST_F(DictionaryPageTest, GermanDictionaryIsSearchedAndSavedWithItsMark)
{
    const std::string german = home.File("dict/de.lqd");
    WriteBytes(german, "\xEF\xBB\xBF"
                       "Apfel|яблоко\r\nMädchen|девочка\r\nStraße|улица\r\n");
    learning->OpenDictionary(german);
    EXPECT_EQ(Cell(1, DictionaryPage::kColWord), QStringLiteral("Mädchen"));
    learning->EdtValue->setText(QStringLiteral("mäd"));
    learning->BTfind->click();
    EXPECT_EQ(learning->DBGridDict->currentIndex().row(), 1);
    EXPECT_EQ(TForm_Message::MessageCount(), 0);

    TypeInto(2, DictionaryPage::kColTranslate, QStringLiteral("улица, дорога"));
    learning->DBGridDict->setCurrentIndex(learning->DBGridDict->model()->index(0, 0)); // another row posts
    TForm_Message::SetNextAnswer(2);
    learning->BTsave->click();
    EXPECT_EQ(TForm_Message::LastMessage().text, kSaved);
    EXPECT_EQ(ReadBytes(german), "\xEF\xBB\xBF"
                                 "Apfel|яблоко\r\nMädchen|девочка\r\nStraße|улица, дорога\r\n");
    EXPECT_EQ(Word(2), "Straße");
}

TEST_F(DictionaryPageTest, A1251DictionaryGivenAnUmlautBecomesUtf8AndThePupilIsToldOnce)
{
    TypeInto(1, DictionaryPage::kColWord, QStringLiteral("Brötchen"));
    learning->DBGridDict->setCurrentIndex(learning->DBGridDict->model()->index(0, 0)); // another row posts
    TForm_Message::SetNextAnswer(2);
    learning->BTsave->click();
    const std::string told = TForm_Message::LastMessage().text;
    EXPECT_NE(told.find("UTF-8"), std::string::npos) << told;
    EXPECT_EQ(ReadBytes(dictionary), "\xEF\xBB\xBF"
                                     "apple|yabloko\r\nBrötchen|hleb\r\ncloud|oblako\r\n");
    EXPECT_EQ(Word(1), "Brötchen");

    // Saved again: an ordinary save now.
    TypeInto(2, DictionaryPage::kColWord, QStringLiteral("Wolke"));
    learning->DBGridDict->setCurrentIndex(learning->DBGridDict->model()->index(0, 0)); // another row posts
    TForm_Message::SetNextAnswer(2);
    learning->BTsave->click();
    EXPECT_EQ(TForm_Message::LastMessage().text, kSaved);
    EXPECT_EQ(ReadBytes(dictionary), "\xEF\xBB\xBF"
                                     "apple|yabloko\r\nBrötchen|hleb\r\nWolke|oblako\r\n");
}

} // namespace

namespace {

TEST_F(DictionaryPageTest, NavigatorStatesAndTheRowIndicator)
{
    DictionaryNavigator* nav = learning->DBNavigator;
    QAbstractItemModel* model = learning->DBGridDict->model();
    const auto indicator = [model](int row) { return model->headerData(row, Qt::Vertical).toString(); };
    const auto enabled = [nav](DictionaryNavigator::Button b) { return nav->button(b)->isEnabled(); };
    EXPECT_FALSE(enabled(DictionaryNavigator::First));
    EXPECT_TRUE(enabled(DictionaryNavigator::Last));
    EXPECT_FALSE(enabled(DictionaryNavigator::Post));
    EXPECT_EQ(nav->button(DictionaryNavigator::Refresh)->toolTip(), QStringLiteral("Обновить словарь"));

    nav->Click(DictionaryNavigator::Last);
    EXPECT_EQ(learning->DBGridDict->currentIndex().row(), 2);
    EXPECT_EQ(indicator(2), QStringLiteral("\u25B6"));
    EXPECT_FALSE(enabled(DictionaryNavigator::Next));
    EXPECT_TRUE(enabled(DictionaryNavigator::Prior));

    nav->Click(DictionaryNavigator::Insert);
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_EQ(indicator(2), "*");
    EXPECT_EQ(Cell(3, DictionaryPage::kColWord), "cloud");
    EXPECT_TRUE(enabled(DictionaryNavigator::Cancel));
    EXPECT_FALSE(enabled(DictionaryNavigator::Edit));
    // Moving away drops the untouched new row and changes nothing.
    nav->Click(DictionaryNavigator::First);
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_FALSE(Changed());

    nav->Click(DictionaryNavigator::Edit);
    EXPECT_EQ(indicator(0), "I");
    nav->Click(DictionaryNavigator::Cancel);
    EXPECT_EQ(indicator(0), QStringLiteral("\u25B6"));
    nav->Click(DictionaryNavigator::Refresh);
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_FALSE(Changed());
}

TEST_F(DictionaryPageTest, MissingDictionaryLeavesNothingToSave)
{
    learning->DBNavigator->Click(DictionaryNavigator::Delete);
    const std::string missing = home.File("dict/missing.lqd");
    TForm_Message::SetNextAnswer(2); // "нет" to saving
    TForm_Message::SetNextAnswer(2); // "понятно" to the notice
    FileDialogs::SetNextFileName(QString::fromStdString(missing));
    learning->BTopen->click();
    EXPECT_EQ(TForm_Message::LastMessage().text, "Не удаётся открыть словарь:\n" + missing);
    EXPECT_EQ(learning->Settings.DictionaryPath, missing);
    EXPECT_EQ(learning->DBGridDict->model()->rowCount(), 0);
    EXPECT_EQ(learning->lesson.WordCount, 0);
    EXPECT_FALSE(Changed());
    EXPECT_FALSE(FileExists(missing));
    // Only dictionaries that opened enter the recent list.
    EXPECT_EQ(learning->m_dict_open_list->actions()[0]->text().toStdString(), dictionary);
}

} // namespace

namespace {

class RecordingLayouts : public KeyboardLayouts
{
public:
    explicit RecordingLayouts(std::vector<std::string>& log) : m_log(log) { }
    void LoadKeyboardLayout(const std::string& layoutId) override { m_log.push_back(layoutId); }

private:
    std::vector<std::string>& m_log;
};

TEST_F(DictionaryPageTest, ColumnsAndTheSearchFieldSwitchTheKeyboardLayout)
{
    std::vector<std::string> log;
    learning->writingPage->SetKeyboardLayouts(std::make_unique<RecordingLayouts>(log));
    SettingsWindowValues values = settings->Values();
    values.CBE_Word.Set(2); // German for the words, Russian (the default) for translations
    settings->ApplyValues(values);
    DictionaryGrid* grid = learning->DBGridDict;
    const auto enter = [&](int column) {
        log.clear();
        grid->setCurrentIndex(grid->model()->index(0, column));
        return log;
    };
    using Ids = std::vector<std::string>;
    EXPECT_EQ(enter(DictionaryPage::kColTranslate), Ids{"00000419"});
    EXPECT_EQ(enter(DictionaryPage::kColTranscription), Ids{}); // left as it is
    EXPECT_EQ(enter(DictionaryPage::kColTesaurus), Ids{"00000407"}); // the thesaurus font is the word's
    EXPECT_EQ(enter(DictionaryPage::kColWord), Ids{"00000407"});

    log.clear();
    learning->CBxFieldList->setCurrentIndex(0);
    learning->EdtValueEnter();
    learning->CBxFieldList->setCurrentIndex(1);
    learning->EdtValueEnter();
    EXPECT_EQ(log, (Ids{"00000419", "00000407"}));
}

} // namespace
