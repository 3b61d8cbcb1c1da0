// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keyboard layout switching: before the pupil types a foreign word or a translation, the layout chosen for
// that side in the settings ("Раскладка клавиатуры" of the word and of the translation) becomes active.
// The choice is made here; the platform activates it behind the KeyboardLayouts interface.

#include <string>
#include <string_view>
#include <vector>

namespace vb {

// The six layouts of the settings' lists, in list order.
struct KeyboardLayoutEntry
{
    const char* caption; // the list item (UTF-8)
    const char* id; // the platform's eight-hex-digit layout name
    const char* xkb; // the X keyboard layout of the same language
};
inline constexpr int kKeyboardLayoutCount = 6;
const KeyboardLayoutEntry& KeyboardLayoutAt(int index); // index clamped to the list

// The layout for a side: list index `index` of CBE_Trsl (forTranslation) or CBE_Word. An index outside the
// list falls back to Russian for translations and American English for words.
std::string KeyboardLayoutId(int index, bool forTranslation);
// "00000419" -> "ru"; empty for a name not in the list.
std::string XkbLayoutOf(std::string_view layoutId);

// The platform's layout loader: activates the layout of that name at once. Failures are the platform's
// business; the lesson goes on either way.
class KeyboardLayouts
{
public:
    virtual ~KeyboardLayouts() = default;
    virtual void LoadKeyboardLayout(const std::string& layoutId) = 0;
};

struct LayoutSwitchSettings
{
    bool CB_RusLat = true; // "Автоматически переключать клавиатуру"
    int CBE_Word = 0;
    int CBE_Trsl = 1;
};

// SwitchKeyboardLayout: nothing while the option is off.
void SwitchKeyboardLayout(KeyboardLayouts& platform, const LayoutSwitchSettings& settings, bool forTranslation);

// X11: the layouts of the keyboard's groups, by group number, from the root window's _XKB_RULES_NAMES
// value (rules, model, layouts, variants, options, each ended by NUL) ...
std::vector<std::string> XkbGroupsFromRulesNames(std::string_view property);
// ... or, where that is missing, from the keymap's symbols name ("pc+us+ru:2+inet(evdev)"). Empty strings
// stand for groups the name does not tell.
std::vector<std::string> XkbGroupsFromSymbols(std::string_view symbols);
// The first group whose layout is `layout`; -1 when none is.
int XkbGroupOf(const std::vector<std::string>& groups, std::string_view layout);

} // namespace vb
