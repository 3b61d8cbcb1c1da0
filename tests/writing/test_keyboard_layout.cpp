// SPDX-License-Identifier: GPL-3.0-or-later
// Which keyboard layout each side of a lesson gets, and how the X keyboard's groups are read.

#include "writing/keyboard_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vb;

namespace {

struct Recorder : KeyboardLayouts
{
    std::vector<std::string> loaded;
    void LoadKeyboardLayout(const std::string& id) override { loaded.push_back(id); }
};

} // namespace

TEST(KeyboardLayout, EachSideGetsItsListsLayoutWhileTheOptionIsOn)
{
    Recorder platform;
    LayoutSwitchSettings s; // American for words, Russian for translations
    SwitchKeyboardLayout(platform, s, false);
    SwitchKeyboardLayout(platform, s, true);
    s.CBE_Word = 3; // "Французская"
    s.CBE_Trsl = 5; // "Испанская"
    SwitchKeyboardLayout(platform, s, false);
    SwitchKeyboardLayout(platform, s, true);
    // No item selected: the usual pair.
    s.CBE_Word = -1;
    s.CBE_Trsl = 6;
    SwitchKeyboardLayout(platform, s, false);
    SwitchKeyboardLayout(platform, s, true);
    EXPECT_EQ(platform.loaded,
              (std::vector<std::string>{"00000409", "00000419", "0000040C", "0000040A", "00000409", "00000419"}));

    s.CB_RusLat = false;
    SwitchKeyboardLayout(platform, s, true);
    EXPECT_EQ(platform.loaded.size(), 6u);
}

TEST(KeyboardLayout, LayoutNamesMatchXkbLayouts)
{
    EXPECT_EQ(XkbLayoutOf("00000409"), "us");
    EXPECT_EQ(XkbLayoutOf("0000040c"), "fr");
    EXPECT_EQ(XkbLayoutOf("00000410"), "it");
    EXPECT_EQ(XkbLayoutOf("00000411"), "");
}

TEST(KeyboardLayout, GroupsFromTheRulesNamesAndFromTheSymbols)
{
    using namespace std::string_literals;
    const std::vector<std::string> usRu{"us", "ru"};
    EXPECT_EQ(XkbGroupsFromRulesNames("evdev\0pc105\0us,ru\0,\0grp:alt_shift_toggle\0"s), usRu);
    EXPECT_TRUE(XkbGroupsFromRulesNames("evdev\0pc105\0\0\0\0"s).empty());
    EXPECT_TRUE(XkbGroupsFromRulesNames("").empty());

    EXPECT_EQ(XkbGroupsFromSymbols("pc+us+ru:2+inet(evdev)+group(alt_shift_toggle)"), usRu);
    EXPECT_EQ(XkbGroupsFromSymbols("pc+de(nodeadkeys)+fr:2+ru(phonetic):3"),
              (std::vector<std::string>{"de", "fr", "ru"}));
    EXPECT_EQ(XkbGroupsFromSymbols("pc+us+inet(evdev)"), std::vector<std::string>{"us"});

    EXPECT_EQ(XkbGroupOf(usRu, "ru"), 1);
    EXPECT_EQ(XkbGroupOf(usRu, "us"), 0);
    // No configured group for the language: the layout is left alone.
    EXPECT_EQ(XkbGroupOf(usRu, "de"), -1);
    EXPECT_EQ(XkbGroupOf({"", "ru"}, ""), -1);
}
