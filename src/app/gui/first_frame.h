// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Start-up work that the first frame does not need runs after it.

#include <functional>

class QWidget;

namespace vb {

// Runs `work` once, right after `window` has painted its first frame, or after `latestMs` should it not paint
// by then (a window parked off the screen never does). Nothing runs if the window goes first.
void AfterFirstFrame(QWidget* window, std::function<void()> work, int latestMs = 100);

} // namespace vb
