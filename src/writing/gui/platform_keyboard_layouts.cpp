// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/gui/platform_keyboard_layouts.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#ifdef _WIN32
#include <windows.h>
#else
// After every Qt header: Xlib defines macros (None, Bool, KeyPress, ...) that clash with Qt names.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace vb {

#ifdef _WIN32

namespace {

class WindowsKeyboardLayouts : public KeyboardLayouts
{
public:
    void LoadKeyboardLayout(const std::string& layoutId) override
    {
        // A layout that is not installed is the system's to handle; nothing is reported.
        LoadKeyboardLayoutA(layoutId.c_str(), KLF_ACTIVATE);
    }
};

} // namespace

std::unique_ptr<KeyboardLayouts> MakePlatformKeyboardLayouts()
{
    return std::make_unique<WindowsKeyboardLayouts>();
}

#else

namespace {

Display* Dpy(void* display)
{
    return static_cast<Display*>(display);
}

std::string RulesNamesProperty(Display* display)
{
    const Atom atom = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (atom == None) {
        return {};
    }
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::string value;
    if (XGetWindowProperty(display, DefaultRootWindow(display), atom, 0, 1024, False, XA_STRING, &type, &format, &items,
                           &remaining, &data) == Success &&
        type == XA_STRING && format == 8 && data) {
        value.assign(reinterpret_cast<const char*>(data), items);
    }
    if (data) {
        XFree(data);
    }
    return value;
}

std::string SymbolsName(Display* display)
{
    std::string value;
    XkbDescPtr keyboard = XkbAllocKeyboard();
    if (!keyboard) {
        return value;
    }
    if (XkbGetNames(display, XkbSymbolsNameMask, keyboard) == Success && keyboard->names &&
        keyboard->names->symbols != None) {
        if (char* name = XGetAtomName(display, keyboard->names->symbols)) {
            value = name;
            XFree(name);
        }
    }
    XkbFreeKeyboard(keyboard, 0, True);
    return value;
}

} // namespace

std::unique_ptr<XkbKeyboardLayouts> XkbKeyboardLayouts::Open(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!display) {
        return nullptr;
    }
    return std::unique_ptr<XkbKeyboardLayouts>(new XkbKeyboardLayouts(display, true));
}

std::unique_ptr<XkbKeyboardLayouts> XkbKeyboardLayouts::OnApplicationDisplay()
{
#if QT_CONFIG(xcb)
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display* display = x11->display()) {
            return std::unique_ptr<XkbKeyboardLayouts>(new XkbKeyboardLayouts(display, false));
        }
    }
#endif
    return nullptr;
}

XkbKeyboardLayouts::~XkbKeyboardLayouts()
{
    if (m_owned) {
        XCloseDisplay(Dpy(m_display));
    }
}

std::vector<std::string> XkbKeyboardLayouts::Groups() const
{
    std::vector<std::string> groups = XkbGroupsFromRulesNames(RulesNamesProperty(Dpy(m_display)));
    if (groups.empty()) {
        groups = XkbGroupsFromSymbols(SymbolsName(Dpy(m_display)));
    }
    return groups;
}

void XkbKeyboardLayouts::LoadKeyboardLayout(const std::string& layoutId)
{
    const int group = XkbGroupOf(Groups(), XkbLayoutOf(layoutId));
    if (group < 0) {
        return;
    }
    XkbLockGroup(Dpy(m_display), XkbUseCoreKbd, static_cast<unsigned>(group));
    XFlush(Dpy(m_display));
}

int XkbKeyboardLayouts::LockedGroup() const
{
    XkbStateRec state{};
    if (XkbGetState(Dpy(m_display), XkbUseCoreKbd, &state) != Success) {
        return -1;
    }
    return state.locked_group;
}

std::unique_ptr<KeyboardLayouts> MakePlatformKeyboardLayouts()
{
    // Only a program shown on an X server has XKB groups to lock; Wayland and offscreen runs have none.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto x11 = XkbKeyboardLayouts::OnApplicationDisplay()) {
            return x11;
        }
    }
    return std::make_unique<NoKeyboardLayouts>();
}

#endif

} // namespace vb
