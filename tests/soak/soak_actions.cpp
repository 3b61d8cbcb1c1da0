// SPDX-License-Identifier: GPL-3.0-or-later
// What a user can do in each window of the program, as the soak driver's actions, and how the driver
// answers the program's dialogs. This file is the driver's whole knowledge of the windows: a new control or
// page gets its action here.

#include "soak.h"

#include "app/gui/color_menus.h"
#include "app/gui/file_dialogs.h"
#include "app/gui/form_about.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "app/gui/form_set_spin_edit.h"
#include "app/gui/form_user.h"
#include "app/gui/learning_startup.h"
#include "cards/gui/form_card.h"
#include "common/codepage.h"
#include "common/registry.h"
#include "dictionary/gui/dictionary_grid.h"
#include "dictionary/gui/dictionary_navigator.h"
#include "dictionary/gui/dictionary_page.h"
#include "engine/gui/mosaic_page.h"
#include "engine/gui/variant_page.h"
#include "text/gui/text_page.h"
#include "text/gui/text_search_dialog.h"
#include "writing/gui/writing_page.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace soak {

namespace {

using vb::TForm_Learning;

// ---------------------------------------------------------------------------------------------------
// Input as a user gives it

bool Usable(const QWidget* w)
{
    return w != nullptr && w->isVisible() && w->isEnabled();
}

bool Usable(const QAction* a)
{
    return a != nullptr && a->isVisible() && a->isEnabled();
}

void Click(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    const QPointF global = w->mapToGlobal(QPointF(pos));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(pos), global, button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void DoubleClick(QWidget* w, QPoint pos)
{
    Click(w, pos);
    const QPointF global = w->mapToGlobal(QPointF(pos));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(pos), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &dbl);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void Key(QWidget* w, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

void TypeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        Key(w, c.unicode() < 128 ? QChar(c).toUpper().unicode() : 0, QString(c));
    }
}

// Dictionary text as the user sees it.
std::string Shown(const std::string& s)
{
    return vb::IsValidUtf8(s) ? s : vb::Cp1251ToUtf8(s);
}

TForm_Learning& L(Driver& d)
{
    return *d.P().learning;
}

int Page(Driver& d)
{
    return L(d).PageControl->currentIndex();
}

// Words a user might type: Latin, Cyrillic, with punctuation, or something the driver made up.
QString SomeText(Driver& d)
{
    static const std::vector<std::string> words = {"the",         "dog",   "cat",  "кот",  "пёс",    "Ёлка", "don't",
                                                   "rock-n-roll", "H2O",   "1999", "café", "straße", "«ёж»", "a - b",
                                                   "  ",          "well-", "'tis", "x",    "Zürich"};
    QString text;
    const int n = 1 + d.Pick(5);
    for (int i = 0; i < n; ++i) {
        if (i > 0) {
            text += d.Chance(15) ? QStringLiteral("\n") : QStringLiteral(" ");
        }
        text += QString::fromStdString(d.Chance(20) ? d.Token() : d.OneOf(words));
    }
    return text;
}

void TriggerChecked(QAction* item)
{
    // A click on a radio item ticks it before its handler runs.
    item->setChecked(true);
    item->trigger();
}

// ---------------------------------------------------------------------------------------------------
// Lesson pages

void VariantAnswer(Driver& d)
{
    vb::VariantPage* page = L(d).variantPage;
    const vb::VariantTaskView& view = page->View();
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(view.rows.size()); ++i) {
        if (Usable(page->var(i))) {
            rows.push_back(i);
        }
    }
    if (rows.empty()) {
        return;
    }
    int row = d.OneOf(rows);
    vb::Lesson& lesson = L(d).lesson;
    if (d.Chance(50) && lesson.TaskPos >= 0 && lesson.TaskPos < static_cast<int>(lesson.VarProgress.size())) {
        const int index = lesson.VarProgress[static_cast<std::size_t>(lesson.TaskPos)].WordIndex;
        if (index >= 0 && index < static_cast<int>(lesson.LessonWords.size())) {
            const vb::TLessonWord& word = lesson.LessonWords[static_cast<std::size_t>(index)];
            const std::string& right = view.answersAreWords ? word.Word : word.Translation;
            for (int i : rows) {
                if (view.rows[static_cast<std::size_t>(i)].answer == right) {
                    row = i;
                }
            }
        }
    }
    d.Note("row " + std::to_string(row));
    QLabel* label = page->var(row);
    Click(label, label->rect().center());
}

QPoint ItemCenter(QListWidget* list, int row)
{
    return list->visualItemRect(list->item(row)).center();
}

void MosaicPair(Driver& d)
{
    vb::MosaicPage* page = L(d).mosaicPage;
    const int left = page->LBox_Eng->count();
    const int right = page->LBox_Rus->count();
    if (left == 0 || right == 0) {
        return;
    }
    const int i = d.Pick(left);
    int j = d.Pick(right);
    const vb::MosaicSet& set = page->Set();
    if (d.Chance(50)) {
        for (int k = 0; k < right && k < static_cast<int>(set.MozRight.size()); ++k) {
            if (i < static_cast<int>(set.MozLeft.size()) &&
                set.MozRight[static_cast<std::size_t>(k)] == set.MozLeft[static_cast<std::size_t>(i)]) {
                j = k;
            }
        }
    }
    d.Note(std::to_string(i) + "-" + std::to_string(j));
    const bool rightFirst = d.Chance(30);
    QListWidget* first = rightFirst ? page->LBox_Rus : page->LBox_Eng;
    QListWidget* second = rightFirst ? page->LBox_Eng : page->LBox_Rus;
    Click(first->viewport(), ItemCenter(first, rightFirst ? j : i));
    if (second->count() > (rightFirst ? i : j)) {
        if (d.Chance(20)) {
            DoubleClick(second->viewport(), ItemCenter(second, rightFirst ? i : j));
        } else {
            Click(second->viewport(), ItemCenter(second, rightFirst ? i : j));
        }
    }
}

void WritingAnswer(Driver& d)
{
    vb::WritingPage* page = L(d).writingPage;
    vb::Lesson& lesson = L(d).lesson;
    QString text;
    if (d.Chance(50) && lesson.TaskPos >= 0 && lesson.TaskPos < static_cast<int>(lesson.EnterProgress.size())) {
        const int index = lesson.EnterProgress[static_cast<std::size_t>(lesson.TaskPos)].WordIndex;
        if (index >= 0 && index < static_cast<int>(lesson.LessonWords.size())) {
            const vb::TLessonWord& word = lesson.LessonWords[static_cast<std::size_t>(index)];
            text = QString::fromStdString(Shown(page->View().direction == 1 ? word.Word : word.Translation));
        }
    }
    if (text.isEmpty()) {
        text = SomeText(d);
    }
    d.Note("\"" + text.toStdString() + "\"");
    page->Enter_Area->setFocus();
    TypeText(page->Enter_Area, text);
    if (d.Chance(15)) {
        Key(page->Enter_Area, Qt::Key_Backspace);
    }
    if (d.Chance(80) && Usable(page->Enter_Area)) {
        Key(page->Enter_Area, Qt::Key_Return);
    }
}

void WritingOption(Driver& d)
{
    vb::WritingPage* page = L(d).writingPage;
    std::vector<QCheckBox*> boxes;
    for (QCheckBox* box : {page->CB_Len, page->CB_First, page->CB_Letter, page->CB_Word, page->CB_RusLat, page->CB_Auto,
                           page->CB_Case, page->CB_Speed}) {
        if (Usable(box)) {
            boxes.push_back(box);
        }
    }
    if (!boxes.empty()) {
        QCheckBox* box = d.OneOf(boxes);
        d.Note(box->objectName().toStdString());
        box->click();
    }
}

void TaskMenu(Driver& d)
{
    TForm_Learning& w = L(d);
    vb::ColorMenus::ResetTestHooks();
    vb::ColorMenus::SetNextColor(d.Chance(30) ? QColor() : QColor::fromRgb(static_cast<QRgb>(d.Pick(0xFFFFFF))));
    w.WordPopupMenuPopup();
    std::vector<QAction*> items;
    for (QAction* item : w.WordPopupMenu->actions()) {
        if (Usable(item) && !item->isSeparator() && item->menu() == nullptr) {
            items.push_back(item);
        }
    }
    if (!items.empty()) {
        QAction* item = d.OneOf(items);
        d.Note(item->text().toStdString());
        item->trigger();
    }
}

// ---------------------------------------------------------------------------------------------------
// Dictionary page

void GridEdit(Driver& d)
{
    TForm_Learning& w = L(d);
    vb::DictionaryGrid* grid = w.DBGridDict;
    const int rows = grid->model()->rowCount();
    const int columns = grid->model()->columnCount();
    if (rows == 0 || columns == 0) {
        return;
    }
    const int row = d.Pick(rows);
    const int column = d.Pick(columns);
    const std::string text = d.Chance(80) ? d.Token() : SomeText(d).toStdString();
    d.Note(std::to_string(row) + ":" + std::to_string(column) + " \"" + text + "\"");
    grid->setFocus();
    const QModelIndex index = grid->model()->index(row, column);
    grid->setCurrentIndex(index);
    grid->edit(index);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (editor == nullptr) {
        d.Note("(no editor)");
        return;
    }
    editor->setText(QString::fromStdString(text));
    if (d.Chance(70)) {
        grid->CommitEdit();
    }
    if (d.Chance(50)) {
        // Moving to another row posts the edit.
        grid->setCurrentIndex(grid->model()->index(d.Pick(rows), column));
    }
    d.edits.push_back({row, column, w.Settings.DictionaryPath, text});
    if (d.edits.size() > 16) {
        d.edits.erase(d.edits.begin());
    }
}

void Navigator(Driver& d)
{
    vb::DictionaryNavigator* nav = L(d).DBNavigator;
    std::vector<int> buttons;
    for (int b = 0; b < vb::DictionaryNavigator::kButtonCount; ++b) {
        if (Usable(nav->button(static_cast<vb::DictionaryNavigator::Button>(b)))) {
            buttons.push_back(b);
        }
    }
    if (buttons.empty()) {
        return;
    }
    const int b = d.OneOf(buttons);
    d.Note("button " + std::to_string(b));
    nav->button(static_cast<vb::DictionaryNavigator::Button>(b))->click();
}

void Search(Driver& d)
{
    TForm_Learning& w = L(d);
    if (w.CBxFieldList->count() > 0) {
        w.CBxFieldList->setCurrentIndex(d.Pick(w.CBxFieldList->count()));
        w.CBxFieldList->activated(w.CBxFieldList->currentIndex());
    }
    QString value = SomeText(d);
    const std::vector<vb::TLessonWord>& words = w.lesson.LessonWords;
    if (!words.empty() && d.Chance(60)) {
        const vb::TLessonWord& word = words[static_cast<std::size_t>(d.Pick(static_cast<int>(words.size())))];
        value = QString::fromStdString(Shown(d.Chance(50) ? word.Word : word.Translation));
        value = value.left(1 + d.Pick(static_cast<int>(value.size()) + 1));
    }
    if (d.Chance(30)) {
        w.CB_FindCase->click();
    }
    if (d.Chance(30)) {
        w.CB_FindPartial->click();
    }
    d.Note("\"" + value.toStdString() + "\"");
    w.EdtValue->setFocus();
    w.EdtValue->setText(value);
    if (d.Chance(50)) {
        Key(w.EdtValue, Qt::Key_Return);
    } else if (Usable(w.BTfind)) {
        w.BTfind->click();
    }
}

// ---------------------------------------------------------------------------------------------------
// Text page

void TextType(Driver& d)
{
    QPlainTextEdit* memo = L(d).textPage->Memo;
    memo->setFocus();
    QTextCursor cursor = memo->textCursor();
    const int length = memo->document()->characterCount();
    cursor.setPosition(d.Pick(std::max(1, length)));
    if (d.Chance(15)) {
        cursor.setPosition(d.Pick(std::max(1, length)), QTextCursor::KeepAnchor);
    }
    memo->setTextCursor(cursor);
    if (d.Chance(15)) {
        d.Note("delete");
        Key(memo, Qt::Key_Delete);
        return;
    }
    const QString text = SomeText(d);
    d.Note("\"" + text.toStdString() + "\"");
    memo->insertPlainText(text);
}

void TextButton(Driver& d)
{
    vb::TextPage* page = L(d).textPage;
    std::vector<QToolButton*> buttons;
    for (QToolButton* b : {page->BTsavetext, page->BTopentext, page->BTnewtext, page->BTcut, page->BTcopy,
                           page->BTpaste, page->BTfonttext, page->BTbacis, page->BTcreate}) {
        if (Usable(b)) {
            buttons.push_back(b);
        }
    }
    if (buttons.empty()) {
        return;
    }
    QToolButton* b = d.OneOf(buttons);
    d.Note(b->objectName().toStdString());
    b->click();
}

void TextSearchOpen(Driver& d)
{
    vb::TextPage* page = L(d).textPage;
    QAction* action = d.Chance(50) ? page->SearchFind : page->SearchReplace;
    d.Note(action == page->SearchFind ? "find" : "replace");
    action->trigger();
}

vb::TextSearchDialog* OpenSearchDialog(Driver& d)
{
    vb::TextPage* page = L(d).textPage;
    if (page == nullptr) {
        return nullptr;
    }
    for (vb::TextSearchDialog* dialog : {page->FindDialog, page->ReplaceDialog}) {
        if (Usable(dialog)) {
            return dialog;
        }
    }
    return nullptr;
}

void TextSearchUse(Driver& d)
{
    vb::TextSearchDialog* dialog = OpenSearchDialog(d);
    if (dialog == nullptr) {
        return;
    }
    if (d.Chance(25)) {
        d.Note("close");
        dialog->close();
        return;
    }
    const QString what = SomeText(d).left(1 + d.Pick(4));
    dialog->ED_find->setText(what);
    if (Usable(dialog->ED_replace)) {
        dialog->ED_replace->setText(SomeText(d));
    }
    const int how = d.Pick(3);
    d.Note("\"" + what.toStdString() + "\" " + std::to_string(how));
    if (how == 0 || !Usable(dialog->ED_replace)) {
        dialog->FindNext();
    } else if (how == 1) {
        dialog->ReplaceOne();
    } else {
        dialog->ReplaceAll();
    }
}

void TextOption(Driver& d)
{
    vb::TextOptionsPanel* panel = L(d).textOptions;
    switch (d.Pick(4)) {
    case 0:
        panel->CB_onlybasic->click();
        break;
    case 1:
        panel->CB_showstat->click();
        break;
    case 2:
        (d.Chance(50) ? panel->RGsorttextAlpha : panel->RGsorttextFrequency)->click();
        break;
    default:
        panel->SEfrequency->setValue(d.Chance(70) ? 1 + d.Pick(3) : d.Pick(2000000));
        break;
    }
}

// ---------------------------------------------------------------------------------------------------
// Menus

std::vector<QAction*> PupilItems(Driver& d)
{
    std::vector<QAction*> items;
    if (L(d).m_lesson_pupil_group) {
        for (QAction* item : L(d).m_lesson_pupil_group->actions()) {
            if (Usable(item) && !item->isChecked()) {
                items.push_back(item);
            }
        }
    }
    return items;
}

bool PupilMenuUsable(Driver& d)
{
    return L(d).m_lesson_pupil->menuAction()->isEnabled();
}

// A menu item of the lesson window by its place in the menus.
Action MenuItem(const char* name, int weight, QAction* TForm_Learning::*item, QMenu* TForm_Learning::*menu = nullptr)
{
    return {name, Scene::Window, weight,
            [item, menu](Driver& d) {
                return Usable(L(d).*item) && (menu == nullptr || (L(d).*menu)->menuAction()->isEnabled());
            },
            [item](Driver& d) { (L(d).*item)->trigger(); }};
}

// ---------------------------------------------------------------------------------------------------
// Tray, task bar and card

bool WithTray(Driver& d)
{
    return L(d).trayAvailable && L(d).trayAvailable();
}

void TrayMenu(Driver& d)
{
    TForm_Learning& w = L(d);
    w.TrayPopupMenuPopup();
    std::vector<QAction*> items;
    for (QAction* item : w.TrayPopupMenu->actions()) {
        if (Usable(item) && !item->isSeparator()) {
            items.push_back(item);
        }
    }
    if (!items.empty()) {
        QAction* item = d.OneOf(items);
        d.Note(item->text().toStdString());
        item->trigger();
    }
}

void CardMenu(Driver& d)
{
    vb::TForm_Card& card = *d.P().card;
    vb::ColorMenus::ResetTestHooks();
    vb::ColorMenus::SetNextColor(d.Chance(30) ? QColor() : QColor::fromRgb(static_cast<QRgb>(d.Pick(0xFFFFFF))));
    QAction* const items[] = {card.pm_card, card.pm_lesson, card.pm_card_color};
    QAction* item = items[d.Pick(3)];
    d.Note(item->text().toStdString());
    item->trigger();
}

void CardDrag(Driver& d)
{
    vb::TForm_Card& card = *d.P().card;
    const QPoint from = card.rect().center();
    const QPoint to = from + QPoint(d.Pick(61) - 30, d.Pick(61) - 30);
    const auto send = [&card](QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(pos), card.mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&card, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// ---------------------------------------------------------------------------------------------------
// Background: what happens whatever the user does

void SecondStart(Driver& d)
{
    // Another process: its own store on the same file.
    auto store = vb::MakeSystemRegistry(d.HomeFile("registry.reg"));
    std::vector<std::string> args;
    switch (d.Pick(4)) {
    case 0:
        break;
    case 1: {
        const std::vector<std::string> dictionaries = d.Dictionaries();
        if (!dictionaries.empty()) {
            args.push_back(d.OneOf(dictionaries));
        }
        break;
    }
    case 2:
        args.push_back(d.HomeFile("dict/missing.lqd"));
        break;
    default:
        args.push_back("--some-option");
        break;
    }
    d.Note(args.empty() ? "(no argument)" : args.front());
    vb::PostStartRequest(*store, args);
    if (d.Chance(50)) {
        L(d).TimerStartupTimer();
    }
}

struct TimerSlot
{
    const char* name;
    QTimer* TForm_Learning::*timer;
    void (TForm_Learning::*handler)();
};

const TimerSlot kTimers[] = {
    {"TimerStartup", &TForm_Learning::TimerStartup, &TForm_Learning::TimerStartupTimer},
    {"TimerStartTray", &TForm_Learning::TimerStartTray, &TForm_Learning::TimerStartTrayTimer},
    {"TimerHideLearnForm", &TForm_Learning::TimerHideLearnForm, &TForm_Learning::TimerHideLearnFormTimer},
    {"TimerCard", &TForm_Learning::TimerCard, &TForm_Learning::TimerCardTimer},
    {"TimerTesaurus", &TForm_Learning::TimerTesaurus, &TForm_Learning::TimerTesaurusTimer},
    {"TimerTranslate", &TForm_Learning::TimerTranslate, &TForm_Learning::TimerTranslateTimer},
    {"TimerPronounceWord", &TForm_Learning::TimerPronounceWord, &TForm_Learning::TimerPronounceWordTimer},
    {"TimerPronounceTrsl", &TForm_Learning::TimerPronounceTrsl, &TForm_Learning::TimerPronounceTrslTimer},
};

void FireTimer(Driver& d)
{
    TForm_Learning& w = L(d);
    std::vector<const TimerSlot*> armed;
    for (const TimerSlot& slot : kTimers) {
        if ((w.*slot.timer)->isActive()) {
            armed.push_back(&slot);
        }
    }
    if (armed.empty()) {
        return;
    }
    const TimerSlot* slot = d.OneOf(armed);
    d.Note(slot->name);
    QTimer* timer = w.*(slot->timer);
    // Fired early, as it would have fired later: a single-shot timer is no longer armed.
    if (timer->isSingleShot()) {
        timer->stop();
    }
    (w.*(slot->handler))();
}

void Wait(Driver& d)
{
    const int ms = d.Pick(30);
    d.Note(std::to_string(ms) + " ms");
    QThread::msleep(static_cast<unsigned long>(ms));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void AddBackground(std::vector<Action>& actions, Scene scene)
{
    actions.push_back({"second start", scene, 2, nullptr, SecondStart});
    actions.push_back({"fire timer", scene, 4, nullptr, FireTimer});
    actions.push_back({"wait", scene, 3, nullptr, Wait});
}

// ---------------------------------------------------------------------------------------------------
// Modal windows

template <class T>
T* Modal(Driver& d)
{
    return qobject_cast<T*>(d.ModalWindow());
}

bool KnownModal(Driver& d)
{
    QWidget* w = d.ModalWindow();
    return qobject_cast<vb::TForm_Message*>(w) || qobject_cast<vb::TForm_User*>(w) ||
           qobject_cast<vb::TForm_About*>(w) || qobject_cast<vb::TForm_Set*>(w);
}

void MessageButton(Driver& d)
{
    auto* dialog = Modal<vb::TForm_Message>(d);
    std::vector<QPushButton*> buttons;
    for (QPushButton* b : {dialog->bt_1, dialog->bt_2, dialog->bt_3}) {
        if (Usable(b)) {
            buttons.push_back(b);
        }
    }
    if (buttons.empty() || d.Chance(5)) {
        d.Note("closed");
        dialog->close();
        return;
    }
    QPushButton* b = d.OneOf(buttons);
    d.Note(b->text().toStdString());
    b->click();
}

void UserName(Driver& d)
{
    static const std::vector<std::string> names = {"Иван", "ИВАН",    "Иван.Петров!", "Maria", "",
                                                   " ",    "Default", "a/b\\c",       "Ёжик",  "x"};
    auto* dialog = Modal<vb::TForm_User>(d);
    const std::string name = d.OneOf(names);
    d.Note("\"" + name + "\"");
    dialog->ED_User->setText(QString::fromStdString(name));
}

// A control of the settings window's visible page changed as a user changes it.
void SettingsChange(Driver& d)
{
    vb::TForm_Set* window = d.P().settings.get();
    if (d.Chance(15)) {
        const int page = d.Pick(window->PageControl->count());
        d.Note("page " + std::to_string(page));
        window->PageControl->setCurrentIndex(page);
        return;
    }
    QWidget* page = window->PageControl->currentWidget();
    std::vector<QWidget*> controls;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!Usable(w)) {
            continue;
        }
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QSpinBox*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QLineEdit*>(w)) {
            // The line edit inside a spin box or a combo box is theirs.
            if (qobject_cast<QLineEdit*>(w) &&
                (qobject_cast<QSpinBox*>(w->parentWidget()) || qobject_cast<QComboBox*>(w->parentWidget()))) {
                continue;
            }
            controls.push_back(w);
        }
    }
    if (controls.empty()) {
        return;
    }
    QWidget* w = d.OneOf(controls);
    d.Note(w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName().toStdString());
    if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        const long long span = static_cast<long long>(spin->maximum()) - spin->minimum() + 1;
        const int value = d.Chance(30) ? (d.Chance(50) ? spin->minimum() : spin->maximum())
                                       : spin->minimum() + d.Pick(static_cast<int>(std::min(50LL, span)));
        d.Note(std::to_string(value));
        spin->setFocus();
        spin->setValue(value);
        // The clamp on leaving the field.
        window->PageControl->setFocus();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->count() > 0) {
            const int index = d.Pick(combo->count());
            d.Note(std::to_string(index));
            combo->setCurrentIndex(index);
            combo->activated(index);
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const QString text = d.Chance(50) ? QString::fromStdString(d.HomeFile("sounds")) : SomeText(d);
        d.Note("\"" + text.toStdString() + "\"");
        edit->setText(text);
        edit->editingFinished();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->click();
    }
}

// ---------------------------------------------------------------------------------------------------
// The table

std::vector<Action> Actions()
{
    std::vector<Action> a;
    // The dictionary and text pages exist once shown (or after the first frame).
    const auto page = [](int index) {
        return [index](Driver& d) {
            return Page(d) == index && (index < TForm_Learning::kPageDictionary || L(d).HiddenPagesCreated());
        };
    };

    // ---- The lesson window
    a.push_back({"tab", Scene::Window, 10, nullptr, [](Driver& d) {
                     const int index = d.Pick(L(d).PageControl->count());
                     d.Note(std::to_string(index));
                     L(d).PageControl->setCurrentIndex(index);
                 }});
    a.push_back({"method", Scene::Window, 2, nullptr, [](Driver& d) {
                     QAction* const methods[] = {L(d).m_lesson_variant, L(d).m_lesson_moz, L(d).m_lesson_enter};
                     TriggerChecked(methods[d.Pick(3)]);
                 }});
    a.push_back({"variant answer", Scene::Window, 20, page(TForm_Learning::kPageVariant), VariantAnswer});
    a.push_back({"mosaic pair", Scene::Window, 20, page(TForm_Learning::kPageMosaic), MosaicPair});
    a.push_back({"writing answer", Scene::Window, 20, page(TForm_Learning::kPageWriting), WritingAnswer});
    a.push_back({"writing option", Scene::Window, 2, page(TForm_Learning::kPageWriting), WritingOption});
    a.push_back({"task menu", Scene::Window, 4, nullptr, TaskMenu});
    a.push_back(MenuItem("learn again", 1, &TForm_Learning::m_lesson_new));
    a.push_back(MenuItem("visual mode", 1, &TForm_Learning::m_lesson_visual));
    a.push_back(MenuItem("voice mode", 1, &TForm_Learning::m_lesson_voice));
    a.push_back(MenuItem("dictation mode", 1, &TForm_Learning::m_lesson_dictant));
    a.push_back(MenuItem("cards", 1, &TForm_Learning::m_card));
    a.push_back(MenuItem("open dictionary", 3, &TForm_Learning::m_dict_open));
    a.push_back(MenuItem("create dictionary", 1, &TForm_Learning::m_dict_create));
    a.push_back(MenuItem("save dictionary as", 1, &TForm_Learning::m_dict_saveas));
    a.push_back(MenuItem("save fonts", 1, &TForm_Learning::m_dict_savefonts));
    a.push_back(MenuItem("save dictionary", 3, &TForm_Learning::m_dict_save));
    a.push_back(MenuItem("undo dictionary", 2, &TForm_Learning::m_dict_undo));
    a.push_back({"recent dictionary", Scene::Window, 2,
                 [](Driver& d) {
                     return L(d).m_dict_open_list->menuAction()->isEnabled() &&
                            !L(d).m_dict_open_list->actions().isEmpty();
                 },
                 [](Driver& d) {
                     const QList<QAction*> items = L(d).m_dict_open_list->actions();
                     QAction* item = items[d.Pick(static_cast<int>(items.size()))];
                     d.Note(item->data().toString().toStdString());
                     TriggerChecked(item);
                 }});
    a.push_back({"grid edit", Scene::Window, 12,
                 [](Driver& d) { return Page(d) == TForm_Learning::kPageDictionary && Usable(L(d).DBGridDict); },
                 GridEdit});
    a.push_back({"navigator", Scene::Window, 5,
                 [](Driver& d) { return Page(d) == TForm_Learning::kPageDictionary && Usable(L(d).DBNavigator); },
                 Navigator});
    a.push_back({"dictionary button", Scene::Window, 2, page(TForm_Learning::kPageDictionary), [](Driver& d) {
                     std::vector<QToolButton*> buttons;
                     for (QToolButton* b : {L(d).BTopen, L(d).BTnew, L(d).BTfont, L(d).BTsave, L(d).BTUndo}) {
                         if (Usable(b)) {
                             buttons.push_back(b);
                         }
                     }
                     if (!buttons.empty()) {
                         QToolButton* b = d.OneOf(buttons);
                         d.Note(b->objectName().toStdString());
                         b->click();
                     }
                 }});
    a.push_back({"search", Scene::Window, 4, [](Driver& d) { return Usable(L(d).EdtValue); }, Search});
    a.push_back({"text type", Scene::Window, 8, page(TForm_Learning::kPageText), TextType});
    a.push_back({"text button", Scene::Window, 6, page(TForm_Learning::kPageText), TextButton});
    a.push_back({"text search", Scene::Window, 1, page(TForm_Learning::kPageText), TextSearchOpen});
    a.push_back({"text search dialog", Scene::Window, 4, [](Driver& d) { return OpenSearchDialog(d) != nullptr; },
                 TextSearchUse});
    a.push_back({"text option", Scene::Window, 2, [](Driver& d) { return Usable(L(d).textOptions); }, TextOption});
    a.push_back(MenuItem("settings common", 1, &TForm_Learning::m_set_common));
    a.push_back(MenuItem("settings learning", 1, &TForm_Learning::m_set_learning));
    a.push_back(MenuItem("settings card", 1, &TForm_Learning::m_set_card));
    a.push_back(MenuItem("settings voice", 1, &TForm_Learning::m_set_voice));
    a.push_back(MenuItem("new pupil", 1, &TForm_Learning::m_lesson_pupil_new, &TForm_Learning::m_lesson_pupil));
    a.push_back(MenuItem("remove pupil", 1, &TForm_Learning::m_lesson_pupil_delete, &TForm_Learning::m_lesson_pupil));
    a.push_back({"switch pupil", Scene::Window, 2,
                 [](Driver& d) { return PupilMenuUsable(d) && !PupilItems(d).empty(); },
                 [](Driver& d) {
                     QAction* item = d.OneOf(PupilItems(d));
                     d.Note(item->text().toStdString());
                     TriggerChecked(item);
                 }});
    a.push_back(MenuItem("about", 1, &TForm_Learning::m_about));
    a.push_back({"close window", Scene::Window, 2, nullptr, [](Driver& d) { L(d).close(); }});
    a.push_back(MenuItem("quit", 1, &TForm_Learning::m_lesson_quit));
    AddBackground(a, Scene::Window);

    // ---- Put away: the tray icon and its menu, the task bar, the card
    a.push_back({"tray double click", Scene::Away, 4, WithTray,
                 [](Driver& d) { L(d).TrayIconActivated(QSystemTrayIcon::DoubleClick); }});
    a.push_back(
        {"tray click", Scene::Away, 2, WithTray, [](Driver& d) { L(d).TrayIconActivated(QSystemTrayIcon::Trigger); }});
    a.push_back({"tray menu", Scene::Away, 5, WithTray, TrayMenu});
    a.push_back({"task bar", Scene::Away, 4, [](Driver& d) { return L(d).isMinimized(); },
                 [](Driver& d) { L(d).showNormal(); }});
    a.push_back({"card click", Scene::Away, 3, [](Driver& d) { return Usable(d.P().card.get()); },
                 [](Driver& d) { Click(d.P().card.get(), d.P().card->rect().center()); }});
    a.push_back({"card double click", Scene::Away, 2, [](Driver& d) { return Usable(d.P().card.get()); },
                 [](Driver& d) { DoubleClick(d.P().card.get(), d.P().card->rect().center()); }});
    a.push_back({"card drag", Scene::Away, 1, [](Driver& d) { return Usable(d.P().card.get()); }, CardDrag});
    a.push_back({"card menu", Scene::Away, 3, [](Driver& d) { return Usable(d.P().card.get()); }, CardMenu});
    AddBackground(a, Scene::Away);

    // ---- Modal windows; every kind has a "close ..." action, the only ones taken when the run ends
    a.push_back({"close message", Scene::Modal, 10, [](Driver& d) { return Modal<vb::TForm_Message>(d) != nullptr; },
                 MessageButton});
    a.push_back(
        {"pupil name", Scene::Modal, 6, [](Driver& d) { return Modal<vb::TForm_User>(d) != nullptr; }, UserName});
    a.push_back({"close pupil", Scene::Modal, 4, [](Driver& d) { return Modal<vb::TForm_User>(d) != nullptr; },
                 [](Driver& d) {
                     auto* dialog = Modal<vb::TForm_User>(d);
                     const bool save = d.Chance(70);
                     d.Note(save ? "save" : "close");
                     (save ? dialog->BT_Save : dialog->BT_Close)->click();
                 }});
    a.push_back({"close about", Scene::Modal, 5, [](Driver& d) { return Modal<vb::TForm_About>(d) != nullptr; },
                 [](Driver& d) { Modal<vb::TForm_About>(d)->close(); }});
    a.push_back({"settings change", Scene::Modal, 12, [](Driver& d) { return Modal<vb::TForm_Set>(d) != nullptr; },
                 SettingsChange});
    a.push_back({"close settings", Scene::Modal, 3, [](Driver& d) { return Modal<vb::TForm_Set>(d) != nullptr; },
                 [](Driver& d) { Modal<vb::TForm_Set>(d)->close(); }});
    a.push_back({"close unknown", Scene::Modal, 1, [](Driver& d) { return !KnownModal(d); },
                 [](Driver& d) {
                     QWidget* w = d.ModalWindow();
                     d.Fail(std::string("a modal window without a test hook: ") + w->metaObject()->className() + " \"" +
                            w->windowTitle().toStdString() + "\"");
                     w->close();
                 }});
    AddBackground(a, Scene::Modal);
    return a;
}

} // namespace

std::vector<Action> MakeActions()
{
    return Actions();
}

void InstallDialogAnswers(Driver& driver)
{
    Driver* d = &driver;
    vb::TForm_Message::SetAnswerer([d](const vb::TForm_Message::Record& record) -> std::optional<int> {
        std::vector<int> buttons;
        const std::string* captions[] = {&record.caption1, &record.caption2, &record.caption3};
        for (int i = 0; i < 3; ++i) {
            if (!captions[i]->empty()) {
                buttons.push_back(i + 1);
            }
        }
        d->Note("[" + record.text + "]");
        // Now and then the dialog is shown for real and answered by a later action, so the program's
        // timers and second starts meet an open dialog.
        if (buttons.empty() || d->Chance(20)) {
            d->Note("-> shown");
            return std::nullopt;
        }
        const int answer = d->OneOf(buttons);
        d->Note("-> " + *captions[answer - 1]);
        return answer;
    });
    vb::FileDialogs::SetAnswerer([d](const vb::FileDialogRequest& request) {
        const bool dictionary = request.filter.contains(QStringLiteral("lqd"));
        std::string answer;
        if (!d->Chance(20)) {
            std::vector<std::string> files = dictionary ? d->Dictionaries() : d->Texts();
            if (request.save && d->Chance(50)) {
                answer = d->HomeFile((dictionary ? "dict/soak-" : "texts/soak-") + std::to_string(d->Pick(5)) +
                                     (dictionary ? ".lqd" : ".txt"));
            } else if (!request.save && d->Chance(10)) {
                answer = d->HomeFile(dictionary ? "dict/missing.lqd" : "texts/missing.txt");
            } else if (!files.empty()) {
                answer = d->OneOf(files);
            }
        }
        d->Note("{" + request.title.toStdString() + " -> " + (answer.empty() ? "cancel" : answer) + "}");
        return QString::fromStdString(answer);
    });
    vb::TForm_Set& settings = *driver.P().settings;
    settings.fontDialog = [d](const QFont& current) -> std::optional<QFont> {
        if (d->Chance(30)) {
            return std::nullopt;
        }
        QFont font = current;
        font.setFamily(d->Chance(50) ? QStringLiteral("DejaVu Sans") : QStringLiteral("No Such Font"));
        font.setPointSize(6 + d->Pick(30));
        font.setBold(d->Chance(50));
        return font;
    };
    settings.fontColorDialog = [d](const QFont& current, const QColor& color) -> std::optional<vb::FontAndColor> {
        if (d->Chance(30)) {
            return std::nullopt;
        }
        QFont font = current;
        font.setFamily(d->Chance(50) ? QStringLiteral("DejaVu Sans") : QStringLiteral("No Such Font"));
        font.setPointSize(6 + d->Pick(30));
        return vb::FontAndColor{font, d->Chance(50) ? color : QColor(QRgb(0x800000 + d->Pick(0x7FFF)))};
    };
    settings.folderDialog = [d](const QString&, const QString&) -> std::optional<QString> {
        if (d->Chance(30)) {
            return std::nullopt;
        }
        return QString::fromStdString(d->HomeFile(d->Chance(50) ? "texts" : "missing-folder"));
    };
    settings.fileDialog = [d](const QString&, const QString&, const QString&,
                              const QString&) -> std::optional<QString> {
        if (d->Chance(30)) {
            return std::nullopt;
        }
        // Not an index at all: the reader must cope.
        const std::vector<std::string> texts = d->Texts();
        return QString::fromStdString(texts.empty() ? d->HomeFile("missing.txt") : d->OneOf(texts));
    };
}

} // namespace soak
