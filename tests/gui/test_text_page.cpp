// SPDX-License-Identifier: GPL-3.0-or-later
// The "Текст" page in the lesson window: opening and saving texts in their encodings, the status bar,
// search and the frequency dictionary built from the page.

#include "app/gui/color_menus.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "common/files.h"
#include "engine/gui/status_bar.h"
#include "gui_input.h"
#include "support/temp_home.h"
#include "test_learning_fixture.h"
#include "text/gui/text_page.h"
#include "text/gui/text_search_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using vb::TForm_Learning;
using vb::TForm_Message;
using vbtest::ReadBytes;
using vbtest::WriteBytes;

// "Привет, мир" in code page 866.
const std::string kDosLine = "\x8F\xE0\xA8\xA2\xA5\xE2, \xAC\xA8\xE0";

class TextPageTest : public ::testing::Test
{
protected:
    TextPageTest()
    {
        TForm_Message::ResetTestHooks();
        message = std::make_unique<TForm_Message>(fixture.ctx);
        fixture.ctx.message = message.get();
        form = &fixture.Create();
        page = form->textPage;
        page->fileDialog = [this](const vb::FileDialogRequest& request) {
            requests.push_back(request);
            return nextFile;
        };
        form->show();
        form->PageControl->setCurrentIndex(TForm_Learning::kPageText);
    }
    ~TextPageTest() override { TForm_Message::ResetTestHooks(); }

    std::string File(const std::string& name) const { return fixture.home.File(name); }
    void Open(const std::string& path)
    {
        nextFile = QString::fromStdString(path);
        vbtest::MouseClick(page->BTopentext);
    }
    QString Panel(int n) const { return form->StatusBar->PanelText(n); }
    QString Shown() const { return page->Memo->toPlainText(); }
    // A change and its undoing: the text is the same but counts as edited.
    void Touch()
    {
        page->Memo->moveCursor(QTextCursor::End);
        page->Memo->insertPlainText(QStringLiteral("x"));
        page->Memo->textCursor().deletePreviousChar();
    }

    vbtest::LearningFixture fixture;
    std::unique_ptr<TForm_Message> message;
    TForm_Learning* form = nullptr;
    vb::TextPage* page = nullptr;
    QString nextFile;
    std::vector<vb::FileDialogRequest> requests;
};

TEST_F(TextPageTest, DosTextOpensReadableAndSavesBackByteForByte)
{
    const std::string path = File("dos.txt");
    const std::string bytes = kDosLine + "\r\n" + kDosLine + "\r\n";
    WriteBytes(path, bytes);
    Open(path);

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Открыть текстовый файл");
    EXPECT_EQ(Shown(), "Привет, мир\nПривет, мир\n");
    EXPECT_FALSE(page->BTsavetext->isEnabled());
    EXPECT_TRUE(page->BTcreate->isEnabled());
    EXPECT_EQ(Panel(1), "символов: 26");
    EXPECT_EQ(Panel(2), "DOS 866");
    EXPECT_EQ(Panel(5), QString::fromStdString("Файл: " + path));
    EXPECT_EQ(form->Settings.TextFolder, fixture.home.Path());

    Touch();
    ASSERT_TRUE(page->BTsavetext->isEnabled());
    vbtest::MouseClick(page->BTsavetext);
    EXPECT_EQ(requests.size(), 1u) << "a named text is saved without a dialog";
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_FALSE(page->BTsavetext->isEnabled());
}

TEST_F(TextPageTest, Utf8RussianTextIsShownAndSavedAsUtf8)
{
    const std::string path = File("utf8.txt");
    WriteBytes(path, "\xEF\xBB\xBFЁжик в тумане\nLF only");
    Open(path);
    EXPECT_EQ(Shown(), "Ёжик в тумане\nLF only");
    EXPECT_EQ(Panel(2), "UTF-8 BOM");

    Touch();
    vbtest::MouseClick(page->BTsavetext);
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFЁжик в тумане\r\nLF only");

    // A read-only file is refused with the notice and stays as it was.
    ASSERT_TRUE(vb::SetReadOnly(path, true));
    page->Memo->setPlainText(QStringLiteral("другой"));
    TForm_Message::SetNextAnswer(2);
    vbtest::MouseClick(page->BTsavetext);
    EXPECT_EQ(TForm_Message::LastMessage().text, "Файл защищён от изменений!");
    EXPECT_EQ(TForm_Message::LastMessage().caption2, "понятно");
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFЁжик в тумане\r\nLF only");
    EXPECT_TRUE(page->BTsavetext->isEnabled());

    // Cancelling the open dialog reads the open file again.
    Open("");
    EXPECT_EQ(Shown(), "Ёжик в тумане\nLF only");
}

TEST_F(TextPageTest, NewTextIsSavedUnderANameThenWithoutADialog)
{
    WriteBytes(File("dos.txt"), kDosLine);
    Open(File("dos.txt"));
    vbtest::MouseClick(page->BTnewtext);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(Panel(5), "Файл: ");
    EXPECT_EQ(Panel(2), "Windows-1251");
    EXPECT_FALSE(page->BTcreate->isEnabled());

    page->Memo->setPlainText(QStringLiteral("текст"));
    nextFile = QString::fromStdString(File("new.txt"));
    vbtest::MouseClick(page->BTsavetext);
    EXPECT_EQ(requests.back().title, "Создать новый текстовый файл");
    EXPECT_EQ(ReadBytes(File("new.txt")), "\xF2\xE5\xEA\xF1\xF2");

    const std::size_t dialogs = requests.size();
    page->Memo->appendPlainText(QStringLiteral("ещё"));
    vbtest::MouseClick(page->BTsavetext);
    EXPECT_EQ(requests.size(), dialogs);
    EXPECT_EQ(ReadBytes(File("new.txt")), "\xF2\xE5\xEA\xF1\xF2\r\n\xE5\xF9\xB8");
}

TEST_F(TextPageTest, FrequencyDictionaryIsBuiltFromThePageAndOpened)
{
    const std::string text = File("book.part.txt");
    WriteBytes(text, "Dog, dog; DOG! cat\r\nthe cat");
    Open(text);
    WriteBytes(File("basic.lqd"), "cat|\xEA\xEE\xF8\xEA\xE0|k\xE6t|noun\r\n");
    form->Settings.BasicDictionaryPath = File("basic.lqd");
    form->textOptions->CB_onlybasic->setChecked(false);
    form->textOptions->CB_showstat->setChecked(true);
    form->textOptions->RGsorttextFrequency->setChecked(true);

    const std::string out = File("freq.lqd");
    nextFile = QString::fromStdString(out);
    vbtest::MouseClick(page->BTcreate);

    const vb::FileDialogRequest& asked = requests.back();
    EXPECT_EQ(asked.title, "Создать новый словарь из текста");
    EXPECT_EQ(asked.fileName, "book");
    EXPECT_EQ(asked.defaultSuffix, "lqd");
    EXPECT_EQ(ReadBytes(out), "DOG|||(3) \r\n"
                              "cat|\xEA\xEE\xF8\xEA\xE0|[k\xE6t]|(2) noun\r\n"
                              "the|||(1) \r\n");
    // Open on the dictionary page, the bar gone, the window's own state back.
    EXPECT_EQ(form->Settings.DictionaryPath, out);
    EXPECT_EQ(form->lesson.WordCount, 3);
    EXPECT_EQ(form->PageControl->currentIndex(), TForm_Learning::kPageDictionary);
    EXPECT_FALSE(form->ProgressBar->isVisible());
    EXPECT_FALSE(form->DialogOpen);
    EXPECT_TRUE(page->BTcreate->isEnabled());
    EXPECT_FALSE(page->Building());
}

// The font button offers the colour with the font, and the chosen colour is the text's.
TEST_F(TextPageTest, FontDialogChoosesTheColourToo)
{
    auto settings = std::make_unique<vb::TForm_Set>(fixture.ctx);
    fixture.ctx.settings = settings.get();
    const QColor stored = vb::ColorFromStored(form->Settings.TextFontColor);

    // The real dialog: a font is picked, the colour button opens the colour dialog, red is taken.
    int step = 0;
    QColor offered;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            return;
        }
        if (step == 0 && modal->objectName() == QStringLiteral("FontColorDialog")) {
            auto* chooser = modal->findChild<QFontDialog*>(QStringLiteral("FontChooser"));
            QFont font = chooser->currentFont();
            font.setPointSize(21);
            chooser->setCurrentFont(font);
            offered = QColor(modal->findChild<QPushButton*>(QStringLiteral("FontColorButton"))->text());
            step = 1;
            QTimer::singleShot(0, modal->findChild<QPushButton*>(QStringLiteral("FontColorButton")),
                               &QPushButton::click);
        } else if (step == 1 && qobject_cast<QColorDialog*>(modal)) {
            qobject_cast<QColorDialog*>(modal)->setCurrentColor(Qt::red);
            qobject_cast<QColorDialog*>(modal)->accept();
            step = 2;
        } else if (step == 2 && modal->objectName() == QStringLiteral("FontColorDialog")) {
            qobject_cast<QDialog*>(modal)->accept();
            step = 3;
        }
    });
    driver.start(10);
    vbtest::MouseClick(page->BTfonttext);
    driver.stop();
    EXPECT_EQ(step, 3);
    EXPECT_EQ(offered, stored);
    EXPECT_EQ(form->Settings.TextFontColor, vb::StoredFromColor(QColor(Qt::red)));
    EXPECT_EQ(form->Settings.TextFontSize, 21);
    EXPECT_EQ(page->Memo->palette().color(QPalette::Text), QColor(Qt::red));

    // Cancelled: nothing changes.
    settings->fontColorDialog = [](const QFont&, const QColor&) -> std::optional<vb::FontAndColor> {
        return std::nullopt;
    };
    vbtest::MouseClick(page->BTfonttext);
    EXPECT_EQ(form->Settings.TextFontColor, vb::StoredFromColor(QColor(Qt::red)));

    fixture.ctx.settings = nullptr;
    settings.reset();
}

TEST_F(TextPageTest, FindAndReplaceWorkOnTheTextAndFrameTheDialog)
{
    page->Memo->setPlainText(QStringLiteral("cat Cat dog cat"));
    page->Memo->moveCursor(QTextCursor::Start);
    page->SearchReplace->trigger();
    vb::TextSearchDialog* dialog = page->ReplaceDialog;
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_TRUE(form->DialogOpen);

    dialog->ED_find->setText(QStringLiteral("cat"));
    dialog->ED_replace->setText(QStringLiteral("fox"));
    EXPECT_TRUE(dialog->FindNext());
    EXPECT_EQ(page->Memo->textCursor().selectedText(), "cat");
    dialog->CB_matchcase->setChecked(true);
    EXPECT_EQ(dialog->ReplaceAll(), 2);
    EXPECT_EQ(Shown(), "fox Cat dog fox");
    EXPECT_TRUE(page->BTsavetext->isEnabled());

    dialog->close();
    EXPECT_FALSE(form->DialogOpen);
}

} // namespace
