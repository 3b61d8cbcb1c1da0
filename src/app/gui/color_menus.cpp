// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/color_menus.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QMenu>
#include <QPalette>

#include <array>
#include <deque>

namespace vb {

namespace {

constexpr const char* kStoredColorProperty = "vbStoredColor";

struct SystemColorEntry
{
    int role; // a QPalette::ColorRole, or -1 for the fixed colour
    QRgb fixed;
};

// The system colours 0 to 30. Those with a desktop counterpart follow the Qt palette; the others
// keep the usual Windows values, so stored colours look alike on every system.
constexpr std::array<SystemColorEntry, 31> kSystemColors = {{
    {-1, qRgb(200, 200, 200)}, // 0 scroll bar
    {-1, qRgb(0, 0, 0)}, // 1 desktop
    {-1, qRgb(153, 180, 209)}, // 2 active caption
    {-1, qRgb(191, 205, 219)}, // 3 inactive caption
    {QPalette::Window, 0}, // 4 menu
    {QPalette::Base, 0}, // 5 window
    {-1, qRgb(100, 100, 100)}, // 6 window frame
    {QPalette::WindowText, 0}, // 7 menu text
    {QPalette::Text, 0}, // 8 window text
    {-1, qRgb(0, 0, 0)}, // 9 caption text
    {-1, qRgb(180, 180, 180)}, // 10 active border
    {-1, qRgb(244, 247, 252)}, // 11 inactive border
    {-1, qRgb(171, 171, 171)}, // 12 application workspace
    {QPalette::Highlight, 0}, // 13 highlight
    {QPalette::HighlightedText, 0}, // 14 highlighted text
    {QPalette::Button, 0}, // 15 button face
    {QPalette::Dark, 0}, // 16 button shadow
    {-1, qRgb(109, 109, 109)}, // 17 grey text
    {QPalette::ButtonText, 0}, // 18 button text
    {-1, qRgb(0, 0, 0)}, // 19 inactive caption text
    {QPalette::Light, 0}, // 20 button highlight
    {QPalette::Shadow, 0}, // 21 3D dark shadow
    {QPalette::Midlight, 0}, // 22 3D light
    {QPalette::ToolTipText, 0}, // 23 info text
    {QPalette::ToolTipBase, 0}, // 24 info background
    {-1, qRgb(0, 0, 0)}, // 25 (unused)
    {-1, qRgb(0, 102, 204)}, // 26 hot light
    {-1, qRgb(185, 209, 234)}, // 27 gradient active caption
    {-1, qRgb(215, 228, 242)}, // 28 gradient inactive caption
    {-1, qRgb(51, 153, 255)}, // 29 menu highlight
    {QPalette::Window, 0}, // 30 menu bar
}};

bool IsSystemColor(std::int32_t value)
{
    return (static_cast<std::uint32_t>(value) >> 24) == 0xFF;
}

QPalette::ColorRole BackgroundRole(const QWidget* control)
{
    // A list box shows its colour in its viewport, a label in its own filled background.
    return qobject_cast<const QAbstractScrollArea*>(control) != nullptr ? QPalette::Base : QPalette::Window;
}

std::deque<QColor>& NextColors()
{
    static std::deque<QColor> colors;
    return colors;
}

QColor& LastInitial()
{
    static QColor color;
    return color;
}

} // namespace

QColor SystemColor(int index)
{
    if (index < 0 || index >= static_cast<int>(kSystemColors.size())) {
        return QColor(Qt::black);
    }
    const SystemColorEntry& entry = kSystemColors[static_cast<std::size_t>(index)];
    if (entry.role < 0) {
        return QColor(entry.fixed);
    }
    return QApplication::palette().color(QPalette::Active, static_cast<QPalette::ColorRole>(entry.role));
}

QColor ColorFromStored(std::int32_t value)
{
    if (IsSystemColor(value)) {
        return SystemColor(value & 0xFF);
    }
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

std::int32_t StoredFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    const auto bits = static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
                      (static_cast<std::uint32_t>(rgb.blue()) << 16);
    return static_cast<std::int32_t>(bits);
}

void SetControlColor(QWidget* control, std::int32_t stored)
{
    if (control == nullptr) {
        return;
    }
    QPalette palette = control->palette();
    palette.setColor(BackgroundRole(control), ColorFromStored(stored));
    control->setPalette(palette);
    if (BackgroundRole(control) == QPalette::Window) {
        control->setAutoFillBackground(true);
    }
    control->setProperty(kStoredColorProperty, static_cast<int>(stored));
}

void SetControlColor(QWidget* control, const QColor& color)
{
    SetControlColor(control, StoredFromColor(color));
}

QColor ControlColor(const QWidget* control)
{
    return control == nullptr ? QColor() : control->palette().color(BackgroundRole(control));
}

std::int32_t ControlColorValue(const QWidget* control)
{
    if (control == nullptr) {
        return 0;
    }
    const QVariant stored = control->property(kStoredColorProperty);
    if (stored.isValid()) {
        return stored.toInt();
    }
    return StoredFromColor(ControlColor(control));
}

ColorMenus::ColorMenus(QWidget* window)
    : QObject(window)
    , m_window(window)
    , m_colorPopupMenu(new QMenu(window))
    , m_pmColor(m_colorPopupMenu->addAction(QStringLiteral("Изменить цвет")))
    , m_pmWordColor(new QAction(QStringLiteral("Изменить цвет"), this))
{
    m_colorPopupMenu->setObjectName(QStringLiteral("ColorPopupMenu"));
    m_pmColor->setObjectName(QStringLiteral("pm_color"));
    m_pmWordColor->setObjectName(QStringLiteral("pm_word_color"));
    connect(m_pmColor, &QAction::triggered, this, &ColorMenus::pm_colorClick);
    connect(m_pmWordColor, &QAction::triggered, this, &ColorMenus::pm_word_colorClick);
}

void ColorMenus::Attach(QLabel* label, QWidget* target)
{
    if (label == nullptr) {
        return;
    }
    m_targets.insert(label, target != nullptr ? target : label);
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(label, &QWidget::customContextMenuRequested, this,
            [this, label](const QPoint& pos) { ContextPopup(label, pos); });
    connect(label, &QObject::destroyed, this, [this, label] { m_targets.remove(label); });
}

void ColorMenus::ContextPopup(QLabel* label, const QPoint& pos)
{
    m_colorTarget = m_targets.value(label);
    m_colorPopupMenu->popup(label->mapToGlobal(pos));
}

void ColorMenus::pm_colorClick()
{
    Recolor(m_colorTarget);
}

void ColorMenus::pm_word_colorClick()
{
    Recolor(m_wordColorTarget ? m_wordColorTarget() : nullptr);
}

void ColorMenus::Recolor(QWidget* target)
{
    if (target == nullptr) {
        return;
    }
    const std::optional<QColor> chosen = RunColorDialog(ControlColor(target));
    if (chosen) {
        SetControlColor(target, *chosen);
        emit ColorChanged(target);
    }
}

std::optional<QColor> ColorMenus::RunColorDialog(const QColor& initial)
{
    LastInitial() = initial;
    if (m_hooks.shown) {
        m_hooks.shown();
    }
    QColor chosen;
    if (!NextColors().empty()) {
        chosen = NextColors().front();
        NextColors().pop_front();
    } else {
        chosen = QColorDialog::getColor(initial, m_window, QStringLiteral("Цвет"));
    }
    if (m_hooks.hidden) {
        m_hooks.hidden();
    }
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return chosen;
}

void ColorMenus::SetNextColor(const QColor& color)
{
    NextColors().push_back(color);
}

QColor ColorMenus::LastInitialColor()
{
    return LastInitial();
}

void ColorMenus::ResetTestHooks()
{
    NextColors().clear();
    LastInitial() = QColor();
}

} // namespace vb
