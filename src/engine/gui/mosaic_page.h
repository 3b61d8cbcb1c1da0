// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The content of the "Мозаика" page: the foreign words (LBox_Eng) and their translations (LBox_Rus) side by
// side in a splitter. A pair is judged when an item is clicked while the other list has a selection, on a
// double click, and when an item of one list is dragged onto an item of the other. Matched pairs leave both
// lists; when the left list is empty a new set is built.
//
// The page works on the lesson window's Lesson: it scores through AnswerRight / AnswerWrong itself, whose
// events reach the window as usual. The window calls BuildMosaic from PageControlChange, passes the fonts
// and its word popup menu (shown on the lists), and runs the menu's list commands through the page.

#include "engine/mosaic.h"

#include <QWidget>

#include <functional>
#include <string>

class QKeyEvent;
class QListWidget;
class QMenu;
class QMimeData;
class QSplitter;

namespace vb {

class MosaicPage : public QWidget
{
    Q_OBJECT
public:
    explicit MosaicPage(Lesson& lesson, QWidget* parent = nullptr);

    QSplitter* Splitter = nullptr;
    QListWidget* LBox_Eng = nullptr;
    QListWidget* LBox_Rus = nullptr;

    // The width of LBox_Eng, stored as "LearningMozWidth"; the right list takes the rest of the page.
    int LearningMozWidth() const;
    void SetLearningMozWidth(int width);

    // The families of the settings window's word and translation font samples.
    void SetFontFamilies(const QString& word, const QString& translation);
    // The lesson window's word popup menu, opened on either list (after LBoxContextPopup).
    void SetWordPopupMenu(QMenu* menu);

    // BuildMosaic: a new set with these settings; a set finished later is rebuilt with them too. Nothing
    // happens while the window is hidden. Without a set (empty dictionary, everything learned) both lists
    // stay empty.
    void BuildMosaic(const MosaicSettings& settings);
    void ClearLists();

    // The list the context menu was last opened on and the item under the pointer then (-1: none).
    QListWidget* ListTarget() const { return m_listTarget; }
    int ListTargetIndex() const { return m_listTargetIndex; }
    // Opens the context menu over `pos` (viewport coordinates) of `list`: records the target, selects the
    // item there, then pops up the word menu.
    void LBoxContextPopup(QListWidget* list, const QPoint& pos);

    // Commands of the word menu on this page.
    void pm_hintClick(); // "Подсказать ответ": selects the partner of the target list's selected item
    void pm_word_offClick(); // "Выучено !": the pair is learned and leaves the lists, without scoring
    void pm_word_onClick(); // "Учить задание заново": the selected item's word starts again from 0
    // "Произнести задание": the text of the item the menu was opened over, and whether it is a foreign word.
    bool TargetPronunciation(std::string& text, bool& isWord) const;

    // The keys on the page: Left and Right move the focus to LBox_Eng and LBox_Rus, Up and Down move the
    // selection in the focused list, Enter judges the selected pair as a double click does. A list that has
    // the focus takes them itself; this passes the keys that reach the page from elsewhere to LBox_Eng.
    // False for any other key.
    bool KeyPressed(const QKeyEvent& event);

    const MosaicSet& Set() const { return m_set; }

    // Replaces the platform drag with `hook`, which gets the list the drag starts from and its data (an empty
    // hook restores the platform drag). For tests, where no real drag can run.
    static void SetDragHook(std::function<void(QListWidget* source, QMimeData* data)> hook);

signals:
    // A pair was judged; a right pair has been scored and removed already.
    void Answered(bool right);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The two lists: they pass their clicks, double clicks, drags and drops to the handlers below.
    friend class MosaicList;

    // The lists' handlers.

    void LBox_EngClick();
    void LBox_RusClick();
    void LBox_EngRusDblClick();
    // A key in one of the lists; false when it is none of the page's keys.
    bool ListKeyPressed(QListWidget* list, const QKeyEvent& event);
    static bool IsMosaicKey(const QKeyEvent& event);
    // Judges the two selections; returns false when one side has none.
    bool JudgePair();
    void RemoveSelectedPair(int left, int right);
    void StartDrag(QListWidget* source);
    bool AcceptsDrop(QListWidget* target, const QMimeData* data) const;
    void Dropped(QListWidget* target, const QPoint& pos);
    QListWidget* Partner(QListWidget* list) const;
    MosaicSide SideOf(const QListWidget* list) const;
    void ApplyMozWidth();

    Lesson& m_lesson;
    MosaicSettings m_settings;
    MosaicSet m_set;
    QMenu* m_wordMenu = nullptr;
    QListWidget* m_listTarget = nullptr;
    int m_listTargetIndex = -1;
    int m_mozWidth = 265;
    bool m_widthApplied = false;
    // The click that began a double click has judged the pair already, so the double click does not judge
    // it once more.
    bool m_clickJudged = false;
};

} // namespace vb
