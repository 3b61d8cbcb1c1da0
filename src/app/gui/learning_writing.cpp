// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson window's side of the Writing page and the keyboard layout switch.

#include "app/gui/form_learning.h"

#include "app/gui/color_menus.h"
#include "common/clock.h"
#include "writing/gui/writing_page.h"

#include <QAction>
#include <QLabel>
#include <QLayout>

namespace vb {

namespace {

// Before the settings window exists (during start-up) the defaults hold.
const SettingsWindowValues& ValuesOf(const AppContext& ctx)
{
    static const SettingsWindowValues defaults;
    return ctx.settings ? ctx.settings->Values() : defaults;
}

} // namespace

void TForm_Learning::CreateWritingPage()
{
    writingPage = new WritingPage(lesson, SystemClock(), PageWriting);
    PageWriting->layout()->addWidget(writingPage);
    writingPage->SetTaskLabels(word, wordtrsc);
    connect(writingPage, &WritingPage::PronounceRequested, this,
            [this](const std::string& text, bool isWord) { Pronounce(text, isWord); });
    connect(writingPage, &WritingPage::SwitchLayoutRequested, this,
            [this](bool forTranslation) { SwitchKeyboardLayout(forTranslation); });
    // The check boxes are the live settings; the store gets them at the next save.
    connect(writingPage, &WritingPage::OptionsChanged, this, [this] {
        const WritingOptions o = writingPage->Options();
        Settings.CB_Len = o.CB_Len;
        Settings.CB_First = o.CB_First;
        Settings.CB_Letter = o.CB_Letter;
        Settings.CB_Word = o.CB_Word;
        Settings.CB_RusLat = o.CB_RusLat;
        Settings.CB_Auto = o.CB_Auto;
        Settings.CB_Case = o.CB_Case;
        Settings.CB_Speed = o.CB_Speed;
    });
    colorMenus->Attach(writingPage->Enter_Error);
}

void TForm_Learning::SetEnterTask()
{
    const SettingsWindowValues& values = ValuesOf(m_ctx);
    writingPage->SetFontFamilies(QString::fromStdString(values.LB_WordFont), QString::fromStdString(values.LB_TrslFont),
                                 QString::fromStdString(values.LB_TrscFont));
    writingPage->SetEnterTask(MakeWritingSettings(values, m_lesson_visual->isChecked(), m_lesson_dictant->isChecked()));
}

void TForm_Learning::ApplyWritingOptions()
{
    WritingOptions o;
    o.CB_Len = Settings.CB_Len;
    o.CB_First = Settings.CB_First;
    o.CB_Letter = Settings.CB_Letter;
    o.CB_Word = Settings.CB_Word;
    o.CB_RusLat = Settings.CB_RusLat;
    o.CB_Auto = Settings.CB_Auto;
    o.CB_Case = Settings.CB_Case;
    o.CB_Speed = Settings.CB_Speed;
    writingPage->SetOptions(o);
}

void TForm_Learning::SetKeyboardLayouts(std::unique_ptr<KeyboardLayouts> layouts)
{
    writingPage->SetKeyboardLayouts(std::move(layouts));
}

void TForm_Learning::SwitchKeyboardLayout(bool forTranslation)
{
    if (!writingPage) {
        return;
    }
    const SettingsWindowValues& values = ValuesOf(m_ctx);
    LayoutSwitchSettings settings;
    settings.CB_RusLat = writingPage->Options().CB_RusLat;
    settings.CBE_Word = values.CBE_Word;
    settings.CBE_Trsl = values.CBE_Trsl;
    vb::SwitchKeyboardLayout(writingPage->Layouts(), settings, forTranslation);
}

} // namespace vb
