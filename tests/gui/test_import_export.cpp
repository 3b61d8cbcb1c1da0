// SPDX-License-Identifier: GPL-3.0-or-later
// "Словарь" > "Импорт…" and "Экспорт…" in the real lesson window: the preview with its mapping, the new
// dictionary opening on the "Словарь" page, broken files, and the export of the grid's words.

#include "app/gui/app_context.h"
#include "app/gui/file_dialogs.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "convert/gui/import_dialog.h"
#include "dictionary/gui/dictionary_grid.h"
#include "gui/program_windows.h"
#include "support/temp_home.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace vb;
using vbtest::ReadBytes;
using vbtest::WriteBytes;

namespace {

class ImportExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TForm_Message::ResetTestHooks();
        FileDialogs::ResetTestHooks();
        dictionary = home.File("dict/small.lqd");
        WriteBytes(dictionary, "apple|yabloko\r\nbread|hleb\r\n");
        vbtest::MakeProgramWindows(ctx, learning, settings, message, AppPaths(home.Path(), home.Path(), home.Path()),
                                   home.File("registry.reg"), {dictionary});
        learning->show();
    }

    void TearDown() override
    {
        ImportDialog::SetTestAnswer({});
        message.reset();
        ctx->message = nullptr;
        settings.reset();
        ctx->settings = nullptr;
        learning.reset();
        TForm_Message::ResetTestHooks();
        FileDialogs::ResetTestHooks();
    }

    void Import(const std::string& source, const std::string& target)
    {
        FileDialogs::SetNextFileName(QString::fromStdString(source));
        FileDialogs::SetNextFileName(QString::fromStdString(target));
        learning->m_dict_import->trigger();
    }

    vbtest::TempHome home;
    std::string dictionary;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Message> message;
};

TEST_F(ImportExportTest, TableImportWithItsMappingOpensOnTheDictionaryPage)
{
    const std::string source = home.File("cards.csv");
    WriteBytes(source, "front;back;id\ndog;собака;1\ncat;кошка;2\n");
    const std::string target = home.File("cards.lqd");
    int previews = 0;
    ImportDialog::SetTestAnswer([&](ImportDialog& d) {
        ++previews;
        EXPECT_EQ(d.CountLabel()->text(), QStringLiteral("Записей: 3"));
        EXPECT_EQ(d.Preview()->rowCount(), 3);
        EXPECT_EQ(d.Preview()->item(1, 1)->text(), QStringLiteral("собака"));
        // The third column is an id: skipped; the first row names the columns.
        EXPECT_EQ(d.ColumnBoxes().size(), 3u);
        d.ColumnBoxes()[2]->setCurrentIndex(0);
        EXPECT_TRUE(d.WaitForRead());
        d.HeaderBox()->setChecked(true);
        EXPECT_TRUE(d.WaitForRead());
        EXPECT_EQ(d.CountLabel()->text(), QStringLiteral("Записей: 2"));
        EXPECT_EQ(d.Preview()->item(0, 2)->text(), QString());
        return true;
    });
    Import(source, target);
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(FileDialogs::LastRequest().save);
    EXPECT_EQ(ReadBytes(target), "dog|\xF1\xEE\xE1\xE0\xEA\xE0\r\ncat|\xEA\xEE\xF8\xEA\xE0\r\n");
    EXPECT_EQ(learning->Settings.DictionaryPath, target);
    EXPECT_EQ(learning->PageControl->currentIndex(), TForm_Learning::kPageDictionary);
    EXPECT_EQ(learning->DBGridDict->model()->rowCount(), 2);
}

TEST_F(ImportExportTest, CancelledOrBrokenImportsChangeNothing)
{
    const std::string target = home.File("out.lqd");
    const std::string broken = home.File("broken.kvtml");
    WriteBytes(broken, "<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\">\n<entries>\n");
    QString shown;
    ImportDialog::SetTestAnswer([&](ImportDialog& d) {
        shown = d.CountLabel()->text();
        return true;
    });
    Import(broken, target);
    EXPECT_TRUE(shown.contains(QStringLiteral("строка 4"))) << shown.toStdString();
    EXPECT_FALSE(FileDialogs::LastRequest().save); // no save dialog for nothing
    EXPECT_EQ(learning->Settings.DictionaryPath, dictionary);

    const std::string good = home.File("good.csv");
    WriteBytes(good, "a,b\n");
    ImportDialog::SetTestAnswer([](ImportDialog&) { return false; });
    Import(good, target);
    EXPECT_FALSE(FileDialogs::LastRequest().save);
    EXPECT_EQ(ReadBytes(target), "");
    EXPECT_EQ(learning->Settings.DictionaryPath, dictionary);
}

TEST_F(ImportExportTest, KvtmlLanguagesAreChosenInThePreview)
{
    const std::string source = home.File("three.kvtml");
    WriteBytes(source, "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><name>en</name></identifier>"
                       "<identifier id=\"1\"><name>ru</name></identifier><identifier id=\"2\"><name>de</name>"
                       "</identifier></identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>dog</text>"
                       "</translation><translation id=\"1\"><text>pyos</text></translation><translation id=\"2\">"
                       "<text>Hund</text></translation></entry></entries></kvtml>");
    ImportDialog::SetTestAnswer([](ImportDialog& d) {
        EXPECT_EQ(d.WordLanguageBox()->count(), 3);
        d.WordLanguageBox()->setCurrentIndex(2);
        EXPECT_TRUE(d.WaitForRead());
        EXPECT_EQ(d.Preview()->item(0, 0)->text(), QStringLiteral("Hund"));
        return true;
    });
    Import(source, home.File("three.lqd"));
    EXPECT_EQ(ReadBytes(home.File("three.lqd")), "Hund|pyos\r\n");
}

TEST_F(ImportExportTest, ExportWritesTheGridsWordsInTheChosenFormat)
{
    const std::string csv = home.File("out.csv");
    FileDialogs::SetNextFileName(QString::fromStdString(csv));
    learning->m_dict_export->trigger();
    EXPECT_EQ(ReadBytes(csv), "\xEF\xBB\xBF"
                              "apple,yabloko,,\r\nbread,hleb,,\r\n");
    EXPECT_EQ(learning->DBGridDict->model()->rowCount(), 2);

    // A name without a known extension is refused with a notice.
    TForm_Message::SetNextAnswer(2);
    FileDialogs::SetNextFileName(QString::fromStdString(home.File("out.txt")));
    learning->m_dict_export->trigger();
    EXPECT_EQ(ReadBytes(home.File("out.txt")), "");
}

} // namespace
