// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The platform side of keyboard layout switching: on X11 the XKB group whose layout matches is locked, on
// Windows the layout is loaded and activated, elsewhere (Wayland, the offscreen platform) nothing happens.

#include "writing/keyboard_layout.h"

#include <memory>
#include <string>
#include <vector>

namespace vb {

// The loader for the platform the application runs on.
std::unique_ptr<KeyboardLayouts> MakePlatformKeyboardLayouts();

// Does nothing.
class NoKeyboardLayouts : public KeyboardLayouts
{
public:
    void LoadKeyboardLayout(const std::string&) override { }
};

#ifndef _WIN32
// Locks the first XKB group of the core keyboard whose layout is the wanted language's ("us", "ru", "de",
// "fr", "it", "es"); with no such group configured the layout stays as it is.
class XkbKeyboardLayouts : public KeyboardLayouts
{
public:
    // A connection of its own to the named X display; nullptr when it cannot be opened.
    static std::unique_ptr<XkbKeyboardLayouts> Open(const std::string& displayName);
    // On the application's own connection (xcb platform); nullptr on any other platform.
    static std::unique_ptr<XkbKeyboardLayouts> OnApplicationDisplay();
    ~XkbKeyboardLayouts() override;

    void LoadKeyboardLayout(const std::string& layoutId) override;

    // The layouts of the groups as configured now.
    std::vector<std::string> Groups() const;
    // The group locked now; -1 when it cannot be read.
    int LockedGroup() const;

private:
    XkbKeyboardLayouts(void* display, bool owned) : m_display(display), m_owned(owned) { }

    void* m_display; // Display*
    bool m_owned;
};
#endif

} // namespace vb
