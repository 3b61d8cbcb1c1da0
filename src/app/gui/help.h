// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Как заучивать слова": the help page, opened in the desktop's viewer.

#include "common/message_dialog.h"

#include <QUrl>

#include <functional>
#include <string>

namespace vb {

// Opens `helpPage` (AppPaths::HelpPage()). A missing page, or a desktop that cannot open it, is
// told through the message dialog instead of doing nothing. `open` is the desktop's URL opener;
// tests pass their own. Returns whether the page was handed to a viewer.
bool OpenHelpPage(const std::string& helpPage, MessageDialog& dialog,
                  const std::function<bool(const QUrl&)>& open = {});

} // namespace vb
