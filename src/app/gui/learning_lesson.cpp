// SPDX-License-Identifier: GPL-3.0-or-later
// Lesson control of the lesson window: the one next-task entry PageControlChange, the lesson commands, the
// task-word menu, the window's side of the lesson events (status bar, last right word, the answer echo) and
// the colours of the lesson labels.

#include "app/gui/form_learning.h"

#include "app/gui/color_menus.h"
#include "common/codepage.h"
#include "dictionary/gui/transcription_display.h"
#include "engine/gui/mosaic_page.h"
#include "engine/gui/status_bar.h"
#include "engine/gui/variant_page.h"
#include "engine/lesson_control.h"
#include "engine/mosaic.h"
#include "engine/status_texts.h"
#include "engine/variant.h"
#include "voice/answer_echo.h"
#include "writing/gui/writing_page.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>

namespace vb {

namespace {

// Before the settings window exists (during start-up) the lesson runs on the defaults.
const SettingsWindowValues& ValuesOf(const AppContext& ctx)
{
    static const SettingsWindowValues defaults;
    return ctx.settings ? ctx.settings->Values() : defaults;
}

QString Shown(const std::string& text)
{
    return QString::fromStdString(text);
}

void SetFamily(QLabel* label, const std::string& family)
{
    QFont font = label->font();
    if (!family.empty()) {
        font.setFamily(QString::fromStdString(family));
    }
    label->setFont(font);
}

} // namespace

int TForm_Learning::WindowMessageDialog::ShowMessageDialog(const std::string& text, const std::string& caption1,
                                                           const std::string& caption2, const std::string& caption3)
{
    return m_ctx.message ? m_ctx.message->ShowMessageDialog(text, caption1, caption2, caption3) : 0;
}

// ---------------------------------------------------------------------------------------------------
// Construction

void TForm_Learning::CreateLessonPages()
{
    lesson.SetEvents(this);
    lesson.SetMessageDialog(&m_dialog);

    variantPage = new VariantPage(lesson, PageVariant);
    variantPage->setObjectName(QStringLiteral("VariantPage"));
    PageVariant->layout()->addWidget(variantPage);
    variantPage->SetTaskLabels(word, wordtrsc);
    connect(variantPage, &VariantPage::PronounceRequested, this,
            [this](const std::string& text, bool isWord) { Pronounce(text, isWord); });

    mosaicPage = new MosaicPage(lesson, PageMosaic);
    mosaicPage->setObjectName(QStringLiteral("MosaicPage"));
    PageMosaic->layout()->addWidget(mosaicPage);

    // The method items may all be unchecked (on the dictionary and text pages).
    m_lesson_method_group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);

    WordPopupMenu = new QMenu(this);
    WordPopupMenu->setObjectName(QStringLiteral("WordPopupMenu"));
    const auto addItem = [this](QAction*& action, const char* name, const QString& caption,
                                void (TForm_Learning::*handler)()) {
        action = WordPopupMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    addItem(pm_word_next, "pm_word_next", QStringLiteral("Следующее задание"), &TForm_Learning::pm_word_nextClick);
    addItem(pm_hint, "pm_hint", QStringLiteral("Подсказать ответ"), &TForm_Learning::pm_hintClick);
    addItem(pm_visual, "pm_visual", QStringLiteral("Показывать написание"), &TForm_Learning::m_lesson_visualClick);
    addItem(pm_dictant, "pm_dictant", QStringLiteral("Режим диктанта"), &TForm_Learning::m_lesson_dictantClick);
    addItem(pm_word_voice, "pm_word_voice", QStringLiteral("Произнести задание"), &TForm_Learning::pm_word_voiceClick);
    addItem(pm_word_off, "pm_word_off", QStringLiteral("Выучено !"), &TForm_Learning::pm_word_offClick);
    addItem(pm_word_on, "pm_word_on", QStringLiteral("Учить задание заново"), &TForm_Learning::pm_word_onClick);
    pm_visual->setCheckable(true);
    pm_visual->setChecked(m_lesson_visual->isChecked());
    pm_dictant->setCheckable(true);
    pm_dictant->setChecked(m_lesson_dictant->isChecked());
    connect(WordPopupMenu, &QMenu::aboutToShow, this, &TForm_Learning::WordPopupMenuPopup);
    mosaicPage->SetWordPopupMenu(WordPopupMenu);

    colorMenus = new ColorMenus(this);
    colorMenus->setObjectName(QStringLiteral("ColorMenus"));
    colorMenus->SetHooks(SecondaryHooks());
    WordPopupMenu->addAction(colorMenus->pm_word_color());
    colorMenus->SetWordColorTarget([this]() -> QWidget* {
        if (PageControl->currentIndex() == kPageMosaic) {
            return mosaicPage->ListTarget();
        }
        return word;
    });
    for (int n = 1; n <= kVariantRows; ++n) {
        colorMenus->Attach(variantPage->var(n));
        colorMenus->Attach(variantPage->trsl(n), variantPage->var(n));
        colorMenus->Attach(variantPage->trsc(n), variantPage->var(n));
    }
    colorMenus->Attach(LastWord);
    colorMenus->Attach(LastTranscr, LastWord);
    colorMenus->Attach(LastWordTransl);
    colorMenus->Attach(LastTesaurus);

    for (QWidget* taskPart :
         {static_cast<QWidget*>(GBox_Word), static_cast<QWidget*>(word), static_cast<QWidget*>(wordtrsc),
          static_cast<QWidget*>(LastWord), static_cast<QWidget*>(LastTranscr)}) {
        taskPart->installEventFilter(this);
    }
    word->setAutoFillBackground(true);
    CreateWritingPage();
}

bool TForm_Learning::eventFilter(QObject* watched, QEvent* event)
{
    const bool task = watched == GBox_Word || watched == word || watched == wordtrsc;
    if (task) {
        switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            PageControlChange();
            return true;
        case QEvent::ContextMenu:
            WordPopupMenu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        case QEvent::Enter:
            if (watched != GBox_Word && PageControl->currentIndex() == kPageVariant) {
                variantPage->wordMouseEnter();
            } else if (watched != GBox_Word && PageControl->currentIndex() == kPageWriting) {
                writingPage->wordMouseEnter();
            }
            break;
        case QEvent::Leave:
            if (watched != GBox_Word && PageControl->currentIndex() == kPageVariant) {
                variantPage->wordMouseLeave();
            } else if (watched != GBox_Word && PageControl->currentIndex() == kPageWriting) {
                writingPage->wordMouseLeave();
            }
            break;
        default:
            break;
        }
    } else if (watched == LastWord || watched == LastTranscr) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
            const bool over = event->type() == QEvent::Enter;
            if (ValuesOf(m_ctx).RG_Transc == 2 && !LastWord->text().isEmpty()) {
                LastTranscr->setVisible(over);
            }
            if (auto text = LastWordHoverPanelText(over, !LastWord->text().isEmpty(), lesson.LastRightPoints,
                                                   lesson.TaskPoints)) {
                StatusBar->SetPanelText(4, QString::fromStdString(*text));
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm_Learning::keyPressEvent(QKeyEvent* event)
{
    // A key that no control took (the focus on the tab bar or nowhere) still answers on the lesson pages.
    bool taken = false;
    switch (PageControl->currentIndex()) {
    case kPageVariant:
        taken = variantPage->KeyPressed(*event);
        break;
    case kPageMosaic:
        taken = mosaicPage->KeyPressed(*event);
        break;
    default:
        break;
    }
    if (taken) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------------
// Page control

void TForm_Learning::ApplyLessonParams()
{
    lesson.Params = MakeLessonParams(ValuesOf(m_ctx));
}

void TForm_Learning::PageControlChange()
{
    if (PageControl->currentIndex() >= kPageDictionary) {
        CreateHiddenPages();
    }
    // Disabled from a right answer until here.
    PageControl->setEnabled(true);
    word->clear();
    // No task for a window that is put away (an answer echo may end after hiding); showing it sets one.
    if (IsParked() || HiddenToTray) {
        return;
    }
    ApplyLessonParams();
    lesson.LimitExerciseLeft();

    const int page = PageControl->currentIndex();
    const PageArrangement arrangement = ArrangePage(page);
    if (arrangement.lessonPage) {
        lesson.ActiveMethod = page;
    }
    UpdateStatusBar();
    m_lesson_new->setEnabled(arrangement.lessonNewEnabled);
    ShowPagePanels(page);
    word->hide();
    wordtrsc->hide();

    QAction* const methods[] = {m_lesson_variant, m_lesson_moz, m_lesson_enter};
    for (int m = 0; m < 3; ++m) {
        methods[m]->setChecked(m == arrangement.checkedMethod);
    }

    const SettingsWindowValues& values = ValuesOf(m_ctx);
    switch (page) {
    case kPageVariant:
        variantPage->SetFontFamilies(QString::fromStdString(values.LB_WordFont),
                                     QString::fromStdString(values.LB_TrslFont),
                                     QString::fromStdString(values.LB_TrscFont));
        variantPage->SetVariantTask(
            MakeVariantSettings(values, m_lesson_visual->isChecked(), m_lesson_dictant->isChecked()));
        // The answer keys work at once, also after the page was disabled for the echo.
        variantPage->setFocus(Qt::OtherFocusReason);
        break;
    case kPageMosaic:
        mosaicPage->SetFontFamilies(QString::fromStdString(values.LB_WordFont),
                                    QString::fromStdString(values.LB_TrslFont));
        mosaicPage->BuildMosaic(MakeMosaicSettings(values));
        if (focusWidget() != mosaicPage->LBox_Eng && focusWidget() != mosaicPage->LBox_Rus) {
            mosaicPage->LBox_Eng->setFocus(Qt::OtherFocusReason);
        }
        break;
    case kPageWriting:
        SetEnterTask();
        break;
    case kPageDictionary:
        ShowDictionaryPage();
        break;
    default:
        // The text page refreshes here once it exists.
        break;
    }
}

void TForm_Learning::m_lesson_MethodClick()
{
    auto* item = qobject_cast<QAction*>(sender());
    if (!item) {
        return;
    }
    item->setChecked(true);
    SelectPage(item == m_lesson_moz ? kPageMosaic : (item == m_lesson_enter ? kPageWriting : kPageVariant));
    PageControlChange();
}

void TForm_Learning::m_lesson_newClick()
{
    if (RelearnDictionary(lesson, &m_dialog)) {
        PageControlChange();
    }
}

// The menu item and its popup twin are one switch; the one clicked has toggled itself already.
void TForm_Learning::m_lesson_visualClick()
{
    auto* item = qobject_cast<QAction*>(sender());
    const bool on = item ? item->isChecked() : !pm_visual->isChecked();
    pm_visual->setChecked(on);
    m_lesson_visual->setChecked(on);
    PageControlChange();
}

void TForm_Learning::m_lesson_dictantClick()
{
    auto* item = qobject_cast<QAction*>(sender());
    const bool on = item ? item->isChecked() : !pm_dictant->isChecked();
    pm_dictant->setChecked(on);
    m_lesson_dictant->setChecked(on);
    PageControlChange();
}

// ---------------------------------------------------------------------------------------------------
// The task-word menu

void TForm_Learning::WordPopupMenuPopup()
{
    const int page = PageControl->currentIndex();
    int target = page == kPageMosaic ? mosaicPage->ListTargetIndex() : 0;
    const WordMenuItems items = vb::WordPopupMenuPopup(page, lesson.WorkSetSize, target, ValuesOf(m_ctx).CB_Voice);
    pm_word_next->setVisible(items.pm_word_next);
    pm_hint->setVisible(items.pm_hint);
    pm_visual->setVisible(items.pm_visual);
    pm_dictant->setVisible(items.pm_dictant);
    pm_word_voice->setVisible(items.pm_word_voice);
    pm_word_off->setVisible(items.pm_word_off);
    pm_word_on->setVisible(items.pm_word_on);
    colorMenus->pm_word_color()->setVisible(items.pm_word_color);
}

void TForm_Learning::pm_word_nextClick()
{
    PageControlChange();
}

void TForm_Learning::pm_hintClick()
{
    switch (PageControl->currentIndex()) {
    case kPageVariant:
        variantPage->pm_hintClick();
        break;
    case kPageMosaic:
        mosaicPage->pm_hintClick();
        break;
    case kPageWriting:
        writingPage->pm_hintClick();
        break;
    default:
        break;
    }
}

void TForm_Learning::pm_word_voiceClick()
{
    wordClick();
}

void TForm_Learning::pm_word_offClick()
{
    const int page = PageControl->currentIndex();
    if (page == kPageMosaic) {
        mosaicPage->pm_word_offClick();
        UpdateStatusBar();
        return;
    }
    if ((page == kPageVariant && variantPage->View().ready) || (page == kPageWriting && writingPage->View().ready)) {
        lesson.MarkLearned(lesson.TaskPos);
        PageControlChange();
    }
}

void TForm_Learning::pm_word_onClick()
{
    const int page = PageControl->currentIndex();
    if (page == kPageMosaic) {
        mosaicPage->pm_word_onClick();
    } else if ((page == kPageVariant && variantPage->View().ready) ||
               (page == kPageWriting && writingPage->View().ready)) {
        lesson.ResetWordPoints(lesson.TaskPos);
    }
    UpdateStatusBar();
}

// ---------------------------------------------------------------------------------------------------
// Lesson events

void TForm_Learning::UpdateStatusBar()
{
    LessonStatus status;
    status.RightCount = lesson.RightCount;
    status.ExerciseLeft = lesson.ExerciseLeft;
    status.ErrorCount = lesson.ErrorCount;
    status.LearnedCount = lesson.LearnedCount;
    status.TaskPoints = lesson.TaskPoints;
    status.WordCount = lesson.WordCount;
    status.DictionaryPath = Settings.DictionaryPath;
    if (lesson.Params.CB_Review) {
        status.DueToday = lesson.DueToday(lesson.ActiveMethod);
    }
    const TextPageStatus text = TextStatus();
    StatusBar->ShowView(StatusBarForPage(PageControl->currentIndex(), status, text));
}

void TForm_Learning::ShowLastRightWord(int wordIndex)
{
    if (wordIndex < 0 || wordIndex >= static_cast<int>(lesson.LessonWords.size())) {
        return;
    }
    const SettingsWindowValues& values = ValuesOf(m_ctx);
    const LastWordView view = MakeLastWordView(lesson.LessonWords[static_cast<std::size_t>(wordIndex)],
                                               values.RG_Transc, values.RG_TesFontSH);
    for (QLabel* label : {LastWord, LastTranscr, LastWordTransl, LastTesaurus}) {
        label->hide();
    }
    SetFamily(LastWord, values.LB_WordFont);
    SetFamily(LastTesaurus, view.ThesaurusInTranslationFont ? values.LB_TrslFont : values.LB_WordFont);
    const TranscriptionDisplay transcription = TranscriptionDisplay::For(QString::fromStdString(values.LB_TrscFont));
    SetFamily(LastTranscr, transcription.Family().toStdString());
    SetFamily(LastWordTransl, values.LB_TrslFont);
    LastWord->setText(Shown(view.Word));
    LastTesaurus->setText(Shown(view.Thesaurus));
    LastTranscr->setText(transcription.Text(Shown(view.Transcription)));
    LastWordTransl->setText(Shown(view.Translation));
    // The layout keeps LastTranscr 5 pixels past the end of the word.
    LastWord->show();
    LastTesaurus->show();
    LastWordTransl->show();
    LastTranscr->setVisible(view.TranscriptionShown);
}

void TForm_Learning::PronounceRightAnswer()
{
    const auto index = static_cast<std::size_t>(lesson.LastRightWord);
    if (lesson.LastRightWord < 0 || index >= lesson.LessonWords.size()) {
        return;
    }
    const EchoStart echo = StartEcho(ValuesOf(m_ctx), lesson.LessonWords[index], PageControl->currentIndex());
    PageControl->setEnabled(echo.pageControlEnabled);
    Pronounce(echo.word, true);
    TimerPronounceWord->start(echo.wordDelayMs);
}

void TForm_Learning::TimerPronounceWordTimer()
{
    TimerPronounceWord->stop();
    const int page = PageControl->currentIndex();
    const auto index = static_cast<std::size_t>(lesson.LastRightWord);
    if (lesson.LastRightWord < 0 || index >= lesson.LessonWords.size()) {
        // Another dictionary came in meanwhile: only the next task is left to do.
        if (NextTaskAfterEcho(page)) {
            PageControlChange();
        }
        return;
    }
    const EchoAfterWord after = AfterWordEcho(ValuesOf(m_ctx), lesson.LessonWords[index], page);
    if (after.pronounceTranslation) {
        Pronounce(after.translation, false);
        TimerPronounceTrsl->start(after.translationDelayMs);
    } else if (after.nextTask) {
        PageControlChange();
    }
}

void TForm_Learning::TimerPronounceTrslTimer()
{
    TimerPronounceTrsl->stop();
    if (NextTaskAfterEcho(PageControl->currentIndex())) {
        PageControlChange();
    }
}

void TForm_Learning::LearnedThresholdRaised(int method, int threshold)
{
    if (!m_ctx.settings) {
        return;
    }
    SettingsWindowValues values = m_ctx.settings->Values();
    BoundedInt* stop = method == kMethodMosaic    ? &values.SE_Moz_Stop
                       : method == kMethodWriting ? &values.SE_Enter_Stop
                                                  : &values.SE_Var_Stop;
    stop->Set(threshold);
    m_ctx.settings->ApplyValues(values);
    SaveSettings();
}

// ---------------------------------------------------------------------------------------------------
// Colours

void TForm_Learning::ApplyStoredColors()
{
    SetControlColor(word, Settings.ColorWord);
    for (int n = 1; n <= kVariantRows; ++n) {
        SetControlColor(variantPage->var(n), Settings.ColorVar(n));
    }
    SetControlColor(LastWord, Settings.ColorLastWord);
    SetControlColor(LastWordTransl, Settings.ColorLastWordTransl);
    SetControlColor(LastTesaurus, Settings.ColorLastTesaurus);
    SetControlColor(mosaicPage->LBox_Eng, Settings.ColorLBox_Eng);
    SetControlColor(mosaicPage->LBox_Rus, Settings.ColorLBox_Rus);
    SetControlColor(writingPage->Enter_Error, Settings.ColorEnter_Error);
}

void TForm_Learning::CollectColors()
{
    Settings.ColorWord = ControlColorValue(word);
    for (int n = 1; n <= kVariantRows; ++n) {
        Settings.ColorVar(n) = ControlColorValue(variantPage->var(n));
    }
    Settings.ColorLastWord = ControlColorValue(LastWord);
    Settings.ColorLastWordTransl = ControlColorValue(LastWordTransl);
    Settings.ColorLastTesaurus = ControlColorValue(LastTesaurus);
    Settings.ColorLBox_Eng = ControlColorValue(mosaicPage->LBox_Eng);
    Settings.ColorLBox_Rus = ControlColorValue(mosaicPage->LBox_Rus);
    Settings.ColorEnter_Error = ControlColorValue(writingPage->Enter_Error);
}

} // namespace vb
