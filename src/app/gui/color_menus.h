// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The lesson window's colour menus: "Изменить цвет" on the answer, last-word and error labels
// (ColorPopupMenu with pm_color) and on the task word or Mosaic lists (pm_word_color, which the
// lesson window puts into its word popup menu), and the colour dialog behind both.
//
// A coloured control's colour is its background. Colours are kept in the stored form of the
// settings (00BBGGRR, or FF0000nn for system colour nn), so that a default system colour is saved
// back as the system colour it was loaded as.

#include "app/gui/form_message.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace vb {

// System colour nn as this desktop shows it (button face, window, highlight, ...).
QColor SystemColor(int index);
QColor ColorFromStored(std::int32_t value);
std::int32_t StoredFromColor(const QColor& color);

// Background of a label (filled) or of a list box.
void SetControlColor(QWidget* control, std::int32_t stored);
void SetControlColor(QWidget* control, const QColor& color);
QColor ControlColor(const QWidget* control);
// The stored form of the control's colour, for saving it.
std::int32_t ControlColorValue(const QWidget* control);

class ColorMenus : public QObject
{
    Q_OBJECT
public:
    // `window` is the lesson window: the parent of the menus and of the colour dialog.
    explicit ColorMenus(QWidget* window);

    // The colour dialog is framed by the `shown` and `hidden` hooks; it is not a modal window of
    // the program, so `modalClosed` is not used.
    void SetHooks(SecondaryWindowHooks hooks) { m_hooks = std::move(hooks); }

    // Right click on `label` opens ColorPopupMenu aimed at `target` (the label itself when null):
    // the transcription and translation of an answer row give the row's answer label, LastTranscr
    // gives LastWord.
    void Attach(QLabel* label, QWidget* target = nullptr);

    // pm_word_color recolours what this returns when it is chosen: the Mosaic list the menu was
    // opened on (ListTarget) on the Mosaic page, the task word label elsewhere.
    void SetWordColorTarget(std::function<QWidget*()> target) { m_wordColorTarget = std::move(target); }

    QMenu* ColorPopupMenu() const { return m_colorPopupMenu; }
    QAction* pm_color() const { return m_pmColor; }
    QAction* pm_word_color() const { return m_pmWordColor; }
    QWidget* ColorTarget() const { return m_colorTarget; }

    void pm_colorClick();
    void pm_word_colorClick();

    // The colour dialog preset with `initial`, framed by the hooks. Empty when cancelled.
    // The card window uses it for its own colours.
    std::optional<QColor> RunColorDialog(const QColor& initial);

    // Test hooks: each queued colour answers one later RunColorDialog without showing the dialog;
    // an invalid QColor answers as a cancelled dialog.
    static void SetNextColor(const QColor& color);
    static QColor LastInitialColor();
    static void ResetTestHooks();

signals:
    // A control took a colour chosen in the dialog.
    void ColorChanged(QWidget* control);

private:
    void ContextPopup(QLabel* label, const QPoint& pos);
    void Recolor(QWidget* target);

    QWidget* m_window;
    SecondaryWindowHooks m_hooks;
    QMenu* m_colorPopupMenu;
    QAction* m_pmColor;
    QAction* m_pmWordColor;
    QHash<QLabel*, QPointer<QWidget>> m_targets;
    QPointer<QWidget> m_colorTarget;
    std::function<QWidget*()> m_wordColorTarget;
};

} // namespace vb
