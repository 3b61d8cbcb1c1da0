// SPDX-License-Identifier: GPL-3.0-or-later
// Transcriptions in the "PhoneticTM" code, on a machine without that font: every place that shows one shows
// IPA in a font that has its signs, while editing and the file keep the code.

#include "app/gui/app_context.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "cards/gui/form_card.h"
#include "common/codepage.h"
#include "dictionary/gui/dictionary_grid.h"
#include "dictionary/gui/dictionary_page.h"
#include "dictionary/gui/transcription_display.h"
#include "engine/gui/variant_page.h"
#include "gui/program_windows.h"
#include "support/temp_home.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QRawFont>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

using namespace vb;

namespace {

TEST(TranscriptionDisplay, IpaOnlyForTheMissingPhoneticFont)
{
    const TranscriptionDisplay missing = TranscriptionDisplay::Decide("PhoneticTM", false, "DejaVu Sans");
    EXPECT_TRUE(missing.AsIpa());
    EXPECT_EQ(missing.Family(), "DejaVu Sans");
    EXPECT_EQ(missing.Text("[h{v]"), "[hæv]");
    EXPECT_EQ(missing.Text("g@U"), "ɡəʊ");
    // Already IPA, or another script: as it is.
    EXPECT_EQ(missing.Text("[ˈmɛːtçən]"), "[ˈmɛːtçən]");
    EXPECT_EQ(missing.Text("[хэв]"), "[хэв]");
    EXPECT_EQ(TranscriptionDisplay::Decide("phonetictm", false, "DejaVu Sans").Text("{"), "æ");

    // The font is installed: it draws the code itself.
    const TranscriptionDisplay installed = TranscriptionDisplay::Decide("PhoneticTM", true, "DejaVu Sans");
    EXPECT_FALSE(installed.AsIpa());
    EXPECT_EQ(installed.Family(), "PhoneticTM");
    EXPECT_EQ(installed.Text("h{v"), "h{v");

    // Any other font shows the text as typed, even when it looks like the code.
    const TranscriptionDisplay other = TranscriptionDisplay::Decide("Arial", false, "DejaVu Sans");
    EXPECT_FALSE(other.AsIpa());
    EXPECT_EQ(other.Family(), "Arial");
    EXPECT_EQ(other.Text("h{v"), "h{v");

    // No IPA font at all: the signs still, in whatever font Qt finds for them.
    const TranscriptionDisplay none = TranscriptionDisplay::Decide("PhoneticTM", false, QString());
    EXPECT_TRUE(none.AsIpa());
    EXPECT_EQ(none.Family(), "PhoneticTM");

    EXPECT_FALSE(TranscriptionDisplay().AsIpa());
    EXPECT_EQ(TranscriptionDisplay().Text("h{v"), "h{v");
}

TEST(TranscriptionDisplay, FindsAnInstalledFontWithTheSigns)
{
    ASSERT_FALSE(QFontDatabase::families().contains("PhoneticTM", Qt::CaseInsensitive));
    const QString family = TranscriptionDisplay::IpaFontFamily();
    ASSERT_FALSE(family.isEmpty()) << "no installed font has the IPA signs";
    EXPECT_TRUE(QFontDatabase::families().contains(family));
    const QRawFont raw = QRawFont::fromFont(QFont(family));
    for (const QChar c : QStringLiteral("ɪʊʌɒɔɑæəɜʃʒθðŋɡːˈˌ")) {
        EXPECT_TRUE(raw.supportsCharacter(c))
            << family.toStdString() << " lacks U+" << std::hex << static_cast<int>(c.unicode());
    }
    const TranscriptionDisplay display = TranscriptionDisplay::For("PhoneticTM");
    EXPECT_TRUE(display.AsIpa());
    EXPECT_EQ(display.Family(), family);
}

bool InIpa(const QString& text)
{
    return !text.isEmpty() && !text.contains(QRegularExpression(QStringLiteral("[{@:\"%IUVQOASZTDN3g]")));
}

class TranscriptionWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dictionary = home.File("dict/phonetic.lqd");
        vbtest::WriteBytes(dictionary, Utf8ToCp1251("have|иметь|h{v|have fun\r\ngo|идти|g@U|go home\r\n"
                                                    "think|думать|TINk|think so\r\nship|корабль|SIp|a ship\r\n"));
        vbtest::MakeProgramWindows(ctx, learning, settings, message, AppPaths(home.Path(), home.Path(), home.Path()),
                                   home.File("registry.reg"), {dictionary});
        card = std::make_unique<TForm_Card>(*ctx);
        ctx->card = card.get();
        ASSERT_EQ(settings->Values().LB_TrscFont, "PhoneticTM");
        learning->show();
    }

    void TearDown() override
    {
        message.reset();
        ctx->message = nullptr;
        card.reset();
        ctx->card = nullptr;
        settings.reset();
        ctx->settings = nullptr;
        learning.reset();
    }

    void ChangeSettings(const std::function<void(SettingsWindowValues&)>& change)
    {
        SettingsWindowValues values = settings->Values();
        change(values);
        settings->ApplyValues(values);
    }

    vbtest::TempHome home;
    std::string dictionary;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<TForm_Learning> learning;
    std::unique_ptr<TForm_Set> settings;
    std::unique_ptr<TForm_Message> message;
    std::unique_ptr<TForm_Card> card;
};

TEST_F(TranscriptionWindowsTest, LessonPagesPanelAndCardShowIpa)
{
    const QString ipaFamily = TranscriptionDisplay::IpaFontFamily();
    const std::set<QString> all = {"[hæv]", "[ɡəʊ]", "[θɪŋk]", "[ʃɪp]"};

    // Variant, answers in foreign words with their transcriptions shown.
    ChangeSettings([](SettingsWindowValues& v) {
        v.RG_WordShow.Set(0);
        v.RG_Transc.Set(0);
    });
    learning->PageControl->setCurrentIndex(TForm_Learning::kPageDictionary);
    learning->PageControl->setCurrentIndex(TForm_Learning::kPageVariant);
    int shown = 0;
    for (int n = 1; n <= 4; ++n) {
        QLabel* trsc = learning->variantPage->trsc(n);
        EXPECT_TRUE(all.count(trsc->text())) << trsc->text().toStdString();
        EXPECT_EQ(trsc->font().family(), ipaFamily);
        shown += trsc->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(shown, 4);

    // Writing, asked with the foreign word: the task's transcription.
    ChangeSettings([](SettingsWindowValues& v) { v.RG_WordShow.Set(1); });
    learning->PageControl->setCurrentIndex(TForm_Learning::kPageWriting);
    EXPECT_TRUE(learning->wordtrsc->isVisible());
    EXPECT_TRUE(all.count(learning->wordtrsc->text())) << learning->wordtrsc->text().toStdString();
    EXPECT_EQ(learning->wordtrsc->font().family(), ipaFamily);

    // The last right answer.
    learning->ShowLastRightWord(2);
    EXPECT_EQ(learning->LastTranscr->text(), "[θɪŋk]");
    EXPECT_EQ(learning->LastTranscr->font().family(), ipaFamily);

    // The word card, and the same card in another transcription font.
    CardFace face;
    face.task = "ship";
    face.answer = Utf8ToCp1251("корабль");
    face.transcription = "[SIp]";
    card->SetFace(face, "Arial", "Arial", "PhoneticTM");
    EXPECT_EQ(card->Card_Transcr->text(), "[ʃɪp]");
    EXPECT_EQ(card->Card_Transcr->font().family(), ipaFamily);
    card->SetFace(face, "Arial", "Arial", "Courier New");
    EXPECT_EQ(card->Card_Transcr->text(), "[SIp]");
}

TEST_F(TranscriptionWindowsTest, GridShowsIpaButEditsTheCode)
{
    learning->PageControl->setCurrentIndex(TForm_Learning::kPageDictionary);
    DictionaryGrid* grid = learning->DBGridDict;
    QAbstractItemModel* model = grid->model();
    const QModelIndex cell = model->index(0, DictionaryPage::kColTranscription);
    EXPECT_EQ(model->data(cell, Qt::DisplayRole).toString(), "hæv");
    EXPECT_EQ(model->data(cell, Qt::EditRole).toString(), "h{v");
    EXPECT_EQ(model->data(cell, Qt::FontRole).value<QFont>().family(), TranscriptionDisplay::IpaFontFamily());
    // The other columns are not transcriptions.
    EXPECT_EQ(model->data(model->index(0, DictionaryPage::kColWord), Qt::DisplayRole).toString(), "have");

    // The editor holds the code; a new code typed in is stored as typed and shown as IPA.
    grid->setFocus();
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(learning->focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "h{v");
    editor->setText("h@v");
    grid->CommitEdit();
    EXPECT_EQ(model->data(cell, Qt::EditRole).toString(), "h@v");
    EXPECT_EQ(model->data(cell, Qt::DisplayRole).toString(), "həv");
    EXPECT_TRUE(InIpa(model->data(model->index(1, DictionaryPage::kColTranscription), Qt::DisplayRole).toString()));
}

} // namespace
