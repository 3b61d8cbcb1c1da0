// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_set.h"

#include "app/gui/form_set_radio_group.h"
#include "app/gui/form_set_spin_edit.h"
#include "common/files.h"
#include "gui_input.h"
#include "support/temp_home.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kPupil = "Software\\Verbanta\\Default";

// Types a text into the widget with the focus inside `widget`, one key event per character.
void TypeText(QWidget* widget, const QString& text)
{
    QWidget* target = widget->focusProxy() ? widget->focusProxy() : widget;
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

class FormSetTest : public ::testing::Test
{
protected:
    FormSetTest()
        : ctx(vb::AppPaths::FromEnvironment(home.File("bin/verbanta")), vb::MakeFileRegistry(home.File("registry.reg")),
              {})
    { }

    ~FormSetTest() override
    {
        form.reset();
        QApplication::processEvents();
    }

    vb::TForm_Set& Create()
    {
        form = std::make_unique<vb::TForm_Set>(ctx);
        ctx.settings = form.get();
        return *form;
    }

    // Hooks that record what the lesson window is asked to do, in order.
    vb::TForm_Set::Hooks RecordingHooks()
    {
        vb::TForm_Set::Hooks h;
        h.pupilKey = [] { return std::string(kPupil); };
        h.setTopmost = [this](bool on) { calls.push_back(on ? "topmost" : "not topmost"); };
        h.setDialogOpen = [this](bool on) { calls.push_back(on ? "dialog open" : "dialog closed"); };
        h.modalClosed = [this] { calls.push_back("modal closed"); };
        h.voiceMenu = [this](bool on) { calls.push_back(on ? "voice menu on" : "voice menu off"); };
        h.settingsLoaded = [this] { calls.push_back("settings loaded"); };
        h.loadLibraryIndexes = [this] { calls.push_back("library"); };
        h.saveLearningSettings = [this] { calls.push_back("save learning"); };
        h.saveCardSettings = [this] { calls.push_back("save card"); };
        h.pageControlChange = [this] { calls.push_back("new task"); };
        return h;
    }

    void Close()
    {
        form->close();
        QApplication::processEvents();
    }

    // The registry file as the next start would find it.
    std::string RegistryFile() { return vbtest::ReadBytes(home.File("registry.reg")); }

    template <class T>
    T* Find(const char* name)
    {
        T* w = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    vbtest::TempHome home;
    vb::AppContext ctx;
    std::unique_ptr<vb::TForm_Set> form;
    std::vector<std::string> calls;
};

TEST_F(FormSetTest, DesignedWindowWithItsDefaults)
{
    Create();
    EXPECT_EQ(form->windowTitle().toStdString(), "Настройка");
    EXPECT_EQ(form->size(), QSize(450, 241));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_EQ(form->PageControl->count(), 4);
    EXPECT_EQ(form->PageControl->tabText(0).toStdString(), "Общие");
    EXPECT_EQ(form->PageControl->tabText(1).toStdString(), "Обучение");
    EXPECT_EQ(form->PageControl->tabText(2).toStdString(), "Карточка");
    EXPECT_EQ(form->PageControl->tabText(3).toStdString(), "Озвучивание");

    EXPECT_TRUE(form->CB_Start->isChecked());
    EXPECT_FALSE(form->CB_Top->isChecked());
    EXPECT_EQ(form->SE_TimeHide->value(), 50);
    EXPECT_EQ(form->SE_TimeHide->maximum(), 1440);
    EXPECT_EQ(form->SE_CountVar->value(), 7);
    EXPECT_EQ(form->SE_CountVar->maximum(), 7);
    EXPECT_EQ(form->RG_Transc->ItemIndex(), 2);
    EXPECT_EQ(form->RG_CardLW->ItemIndex(), 1);
    EXPECT_EQ(form->RG_Voice->ItemIndex(), 3);
    EXPECT_EQ(form->CBE_Word->currentIndex(), 0);
    EXPECT_EQ(form->CBE_Trsl->currentText().toStdString(), "Русская");
    EXPECT_EQ(form->CBE_Word->count(), 6);
    EXPECT_EQ(form->CBE_Word->toolTip().toStdString(), "Раскладка клавиатуры");
    EXPECT_EQ(form->LB_WordFont->text().toStdString(), "AaYy ЬдЯ");
    EXPECT_EQ(form->RG_TesFontSH->Button(0)->text().toStdString(), "Cлово");
    EXPECT_EQ(form->SE_Ball_Letter->toolTip().toStdString(), "За каждый неправильный символ");
    EXPECT_EQ(form->GBox_Pos->toolTip().toStdString(), "1 - начинает, 3 - заканчивает, 0 - отключено");
    // On every page every control stays inside the window and shows its caption whole.
    for (int page = 0; page < 4; ++page) {
        form->ShowPage(page);
        QApplication::processEvents();
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (w->window() != form.get() || !w->isVisibleTo(form.get())) {
                continue;
            }
            const QRect r(w->mapTo(form.get(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(form->rect().contains(r)) << page << " " << w->objectName().toStdString();
            if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
                EXPECT_GE(w->width(), w->minimumSizeHint().width()) << page << " " << w->objectName().toStdString();
            }
        }
        form->hide();
    }
}

TEST_F(FormSetTest, EachMenuPageOpensChangesAndClosingStoresIt)
{
    Create().SetHooks(RecordingHooks());
    struct Case
    {
        int page;
        std::function<void(vb::TForm_Set&)> change;
        std::string stored;
    };
    const std::vector<Case> cases = {
        {0, [](vb::TForm_Set& f) { vbtest::MouseClick(f.CB_Top); }, "\"SetCB_Top\"=dword:00000001"},
        {1,
         [](vb::TForm_Set& f) {
             f.SE_CountVar->setFocus();
             f.SE_CountVar->selectAll();
             TypeText(f.SE_CountVar, QStringLiteral("9"));
         },
         "\"SetSE_CountVar\"=dword:00000007"},
        {2, [](vb::TForm_Set& f) { f.SE_TimeWord->setValue(30); }, "\"SetSE_TimeWord\"=dword:0000001e"},
        {3,
         [](vb::TForm_Set& f) {
             f.ED_DirWAVWord->setFocus();
             TypeText(f.ED_DirWAVWord, QStringLiteral("/звуки"));
             vbtest::MouseClick(f.RG_Voice->Button(0));
         },
         "\"SetED_DirWAVWord\"=\"/звуки\""},
    };
    for (const Case& c : cases) {
        calls.clear();
        form->ShowPage(c.page);
        ASSERT_TRUE(form->isVisible());
        EXPECT_EQ(form->PageControl->currentIndex(), c.page);
        c.change(*form);
        Close();
        EXPECT_FALSE(form->isVisible());
        EXPECT_NE(RegistryFile().find(c.stored), std::string::npos) << c.stored;
        const bool top = form->Values().CB_Top;
        EXPECT_EQ(calls, (std::vector<std::string>{"not topmost", "dialog open", "save learning", "save card",
                                                   "library", top ? "topmost" : "not topmost", "new task",
                                                   "dialog closed", "modal closed"}));
    }
    EXPECT_EQ(form->Values().SE_CountVar, 7);
    EXPECT_EQ(form->Values().RG_Voice, 0);
    EXPECT_NE(RegistryFile().find("\"SetRG_Voice\"=dword:00000000"), std::string::npos);
    // The autostart entry followed CB_Start.
    EXPECT_TRUE(vb::FileExists(ctx.paths.AutostartEntry()));
}

TEST_F(FormSetTest, ASpinEditLeftWithTextSavesItsMinimum)
{
    Create().SetHooks(RecordingHooks());
    form->ShowPage(vb::TForm_Set::kPageCommon);
    form->SE_TimeHide->setFocus();
    form->SE_TimeHide->selectAll();
    TypeText(form->SE_TimeHide, QStringLiteral("abc"));
    Close();
    EXPECT_EQ(form->SE_TimeHide->value(), 1);
    EXPECT_EQ(form->SE_TimeHide->text().toStdString(), "1");
    EXPECT_EQ(ctx.registry->ReadInt(kPupil, "SetSE_TimeHide"), 1);

    // Out of range when the focus leaves: clamped.
    form->ShowPage(vb::TForm_Set::kPageCommon);
    form->SE_TimeHide->setFocus();
    form->SE_TimeHide->selectAll();
    TypeText(form->SE_TimeHide, QStringLiteral("5000"));
    form->SE_TimeHide->Commit();
    EXPECT_EQ(form->Values().SE_TimeHide, 1440);
    Close();
}

TEST_F(FormSetTest, ActivatingAnotherWindowOfTheProgramClosesAndApplies)
{
    Create().SetHooks(RecordingHooks());
    QWidget other;
    other.show();
    form->ShowPage(vb::TForm_Set::kPageCard);
    QApplication::setActiveWindow(form.get());
    QApplication::processEvents();
    form->SE_TimeTransl->setValue(12);
    QApplication::setActiveWindow(&other);
    for (int i = 0; i < 20 && form->isVisible(); ++i) {
        QApplication::processEvents();
    }
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ctx.registry->ReadInt(kPupil, "SetSE_TimeTransl"), 12);
    EXPECT_EQ(calls.back(), "modal closed");
}

TEST_F(FormSetTest, LoadingShowsStoredValuesAndRunsTheClickHandlersOfChangedBoxes)
{
    ctx.registry->CreateKey(kPupil);
    vb::SettingsWindowValues stored;
    stored.CB_Voice = true;
    stored.CB_Top = true;
    stored.CBx_SyntWord = "Ирина";
    stored.LB_TrslFont = "Times New Roman";
    stored.CBE_Trsl.Set(3);
    vb::SaveSettings(*ctx.registry, kPupil, stored, nullptr);
    ctx.registry->WriteInt(kPupil, "SetSE_CountVar", 9);

    // At creation the lesson window's hooks are not there yet; they get what the load did once they are.
    Create();
    EXPECT_TRUE(form->CB_Voice->isChecked());
    EXPECT_EQ(form->SE_CountVar->value(), 7);
    EXPECT_EQ(form->CBx_SyntWord->currentText().toStdString(), "Ирина");
    EXPECT_EQ(form->CBE_Trsl->currentIndex(), 3);
    EXPECT_EQ(form->LB_TrslFont->font().family().toStdString(), "Times New Roman");
    form->SetHooks(RecordingHooks());
    EXPECT_EQ(calls, (std::vector<std::string>{"topmost", "voice menu on", "library", "settings loaded"}));

    // A pupil change: only the box whose state changes runs its handler (and the mirror follows the value).
    ctx.registry->WriteInt(kPupil, "SetCB_Voice", 0);
    calls.clear();
    form->LoadSettings();
    EXPECT_FALSE(form->CB_Voice->isChecked());
    EXPECT_EQ(calls.front(), "voice menu off");

    // The menu item's click copies its state into CB_Voice.
    calls.clear();
    form->SetVoice(true);
    EXPECT_TRUE(form->Values().CB_Voice);
    EXPECT_EQ(calls, std::vector<std::string>{"voice menu on"});
}

TEST_F(FormSetTest, FontLabelsTakeTheChosenFontAndDestroyingSaves)
{
    Create().SetHooks(RecordingHooks());
    QFont asked;
    form->fontDialog = [&](const QFont& current) -> std::optional<QFont> {
        asked = current;
        QFont chosen = current;
        chosen.setFamily(QStringLiteral("DejaVu Serif"));
        chosen.setBold(true);
        return chosen;
    };
    vbtest::MouseClick(form->LB_WordFont);
    EXPECT_EQ(asked.family().toStdString(), "Arial");
    EXPECT_EQ(form->Values().LB_WordFont, "DejaVu Serif");
    EXPECT_TRUE(form->LB_WordFont->font().bold());
    EXPECT_EQ(form->Values().LB_WordFontCharset, 238);

    form->fontDialog = [](const QFont&) -> std::optional<QFont> { return std::nullopt; };
    vbtest::MouseClick(form->LB_TrscFont);
    EXPECT_EQ(form->Values().LB_TrscFont, "PhoneticTM");

    form.reset();
    EXPECT_EQ(ctx.registry->ReadString(kPupil, "SetLB_WordFont"), "DejaVu Serif");
}

} // namespace
