// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The font dialog with a colour, as the Windows font dialog offers it: Qt's own font dialog has no colour
// choice, so it is embedded beside a colour button.

#include <QColor>
#include <QFont>

#include <optional>

class QWidget;

namespace vb {

struct FontAndColor
{
    QFont font;
    QColor color;
};

// Shows the dialog modally over `parent`; nothing when cancelled.
std::optional<FontAndColor> GetFontAndColor(QWidget* parent, const QFont& font, const QColor& color);

} // namespace vb
