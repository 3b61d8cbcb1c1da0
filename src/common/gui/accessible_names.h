// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Names and descriptions for screen readers, taken from what a window already shows.

class QWidget;

namespace vb {

// Gives every control in `root` (and `root` itself) that has no accessible name yet the caption the user
// sees for it: its own text, the label it is the buddy of, the labels beside and above it in its grid or
// row, or else its hint. The hint becomes the description. Names set by hand are kept; a control whose own
// text Qt reads out by itself (a button with a caption) is left to Qt, so that the name follows the text.
// Call it once the window's layout is complete.
void NameForScreenReaders(QWidget* root);

} // namespace vb
