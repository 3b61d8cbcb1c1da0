// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The word card "Карточка слова": a small frameless window that stays above all others while the lesson
// window is away and shows one dictionary entry after another. It cannot be closed, only hidden (its menu,
// the tray menu or a return to the lessons), is moved by dragging it anywhere and resized at its edges. It
// keeps its own place, size and colours in the pupil's settings.
//
// The lesson window runs the cycle (its timers and the choice of words); the card lays out the lines of each
// card and shows them when told.

#include "app/gui/app_context.h"
#include "cards/card_cycle.h"
#include "engine/settings.h"

#include <QColor>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QMenu;

namespace vb {

class TForm_Card : public QWidget
{
    Q_OBJECT
public:
    // What the card asks of the lesson window. Any hook may be left empty.
    struct Hooks
    {
        // PupilKey of the current pupil.
        std::function<std::string()> pupilKey;
        // HideCard: the cycle's timers stop and the card hides.
        std::function<void()> hideCard;
        // ShowFromTray: back to the lessons.
        std::function<void()> showFromTray;
        // The lesson window's colour dialog preset with a colour; empty when cancelled.
        std::function<std::optional<QColor>(const QColor&)> runColorDialog;
    };

    // Runs FormCreate: the pupil's geometry and colours (the pupil as the lesson window has read it).
    explicit TForm_Card(AppContext& ctx, QWidget* parent = nullptr);
    // Runs FormDestroy: SaveCardSettings.
    ~TForm_Card() override;

    void SetHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Groups D and E of the pupil's key; the window takes what was read.
    void LoadCardSettings();
    void SaveCardSettings();
    // The values as they stand now (place, size and colours of the window).
    CardSettings Values() const;

    // One card: the texts and fonts of its lines (font families by name; empty keeps the designed one),
    // laid out with the transcription after the foreign word. Every line is hidden afterwards.
    void SetFace(const CardFace& face, const QString& wordFont, const QString& translationFont,
                 const QString& transcriptionFont);
    void HideLines();

    // Controls, named as in the design.
    QLabel* Card_Word = nullptr;
    QLabel* Card_Transl = nullptr;
    QLabel* Card_Tesaurus = nullptr;
    QLabel* Card_Transcr = nullptr;
    QMenu* PopupMenuCard = nullptr;
    QAction* pm_card = nullptr;
    QAction* pm_lesson = nullptr;
    QAction* pm_card_color = nullptr;

    // What "Изменить цвет" recolours: the answer line when the menu was opened over it, else the card.
    QWidget* CardColorTarget() const { return m_colorTarget; }

public slots:
    void pm_cardClick();
    void pm_lessonClick();
    void pm_card_colorClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void FormMouseDown(QMouseEvent* event);
    void CardContextPopup(QWidget* over, const QPoint& globalPos);
    // Widths follow the window; the thesaurus takes the rest of its height.
    void LayoutLines();
    std::string PupilKey() const;

    AppContext& m_ctx;
    Hooks m_hooks;
    QWidget* m_colorTarget = nullptr;
    // Dragging by hand where the window system does not move the window itself.
    bool m_dragging = false;
    QPoint m_dragOffset;
    // The transcription's place relative to the line of the foreign word.
    // No height was stored and the pupil has not sized the card: it grows to hold both lines whole.
    bool m_fitLines = true;
    void FitLines(int linesHeight);

    QLabel* m_transcriptionLine = nullptr;
    int m_transcriptionLeft = 0;
    int m_transcriptionDrop = 0;
};

} // namespace vb
