// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's one way to ask or tell the user something: the three-button message dialog.
// Texts are UTF-8. Returns the number of the pressed button (1 to 3), 0 when the dialog closed otherwise.
// A button with an empty caption is not shown.

#include <string>

namespace vb {

class MessageDialog
{
public:
    virtual ~MessageDialog() = default;
    virtual int ShowMessageDialog(const std::string& text, const std::string& caption1, const std::string& caption2,
                                  const std::string& caption3) = 0;
};

} // namespace vb
