// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/keyboard_layout.h"

#include <algorithm>
#include <array>

namespace vb {

namespace {

constexpr std::array<KeyboardLayoutEntry, kKeyboardLayoutCount> kLayouts{{
    {"Американская", "00000409", "us"},
    {"Русская", "00000419", "ru"},
    {"Немецкая", "00000407", "de"},
    {"Французская", "0000040C", "fr"},
    {"Итальянская", "00000410", "it"},
    {"Испанская", "0000040A", "es"},
}};

constexpr int kMaxXkbGroups = 4;

std::vector<std::string_view> Split(std::string_view s, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = s.find(separator, start);
        parts.push_back(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

} // namespace

const KeyboardLayoutEntry& KeyboardLayoutAt(int index)
{
    return kLayouts[static_cast<std::size_t>(std::clamp(index, 0, kKeyboardLayoutCount - 1))];
}

std::string KeyboardLayoutId(int index, bool forTranslation)
{
    if (index < 0 || index >= kKeyboardLayoutCount) {
        return forTranslation ? "00000419" : "00000409";
    }
    return KeyboardLayoutAt(index).id;
}

std::string XkbLayoutOf(std::string_view layoutId)
{
    for (const KeyboardLayoutEntry& layout : kLayouts) {
        if (SameIgnoringCase(layoutId, layout.id)) {
            return layout.xkb;
        }
    }
    return {};
}

void SwitchKeyboardLayout(KeyboardLayouts& platform, const LayoutSwitchSettings& settings, bool forTranslation)
{
    if (!settings.CB_RusLat) {
        return;
    }
    platform.LoadKeyboardLayout(
        KeyboardLayoutId(forTranslation ? settings.CBE_Trsl : settings.CBE_Word, forTranslation));
}

std::vector<std::string> XkbGroupsFromRulesNames(std::string_view property)
{
    const std::vector<std::string_view> fields = Split(property, '\0');
    if (fields.size() < 3) {
        return {};
    }
    std::vector<std::string> groups;
    for (std::string_view layout : Split(fields[2], ',')) {
        if (static_cast<int>(groups.size()) == kMaxXkbGroups) {
            break;
        }
        groups.emplace_back(layout);
    }
    if (groups.size() == 1 && groups[0].empty()) {
        groups.clear();
    }
    return groups;
}

std::vector<std::string> XkbGroupsFromSymbols(std::string_view symbols)
{
    std::vector<std::string> groups;
    bool first = true;
    for (std::string_view part : Split(symbols, '+')) {
        // "ru(phonetic):2": the layout "ru" in group 2; a part without a group is group 1 when it comes
        // first after the model's own "pc", and an option otherwise.
        int group = -1;
        const std::size_t colon = part.find(':');
        if (colon != std::string_view::npos) {
            const std::string_view number = part.substr(colon + 1);
            if (number.size() == 1 && number[0] >= '1' && number[0] <= '0' + kMaxXkbGroups) {
                group = number[0] - '1';
            }
            part = part.substr(0, colon);
        } else if (first && part != "pc" && part.rfind("pc(", 0) != 0) {
            group = 0;
        }
        if (part == "pc" || part.rfind("pc(", 0) == 0) {
            continue;
        }
        first = false;
        if (group < 0) {
            continue;
        }
        part = part.substr(0, part.find('('));
        if (static_cast<int>(groups.size()) <= group) {
            groups.resize(static_cast<std::size_t>(group) + 1);
        }
        groups[static_cast<std::size_t>(group)] = std::string(part);
    }
    return groups;
}

int XkbGroupOf(const std::vector<std::string>& groups, std::string_view layout)
{
    if (layout.empty()) {
        return -1;
    }
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i] == layout) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace vb
