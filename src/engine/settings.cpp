// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settings.h"

#include "common/autostart.h"

#include <optional>

namespace vb {

namespace {

using L = LearningSettings;
using W = SettingsWindowValues;
using C = CardSettings;

constexpr std::array<SettingValue<L>, 19> kGroupA{{
    {"SetSE_CountWEx", &L::SE_CountWEx},
    {"SetCB_StartTray", &L::CB_StartTray},
    {"LearningTop", &L::Top},
    {"LearningLeft", &L::Left},
    {"LearningHeight", &L::Height},
    {"LearningWidth", &L::Width},
    {"LearningTab", &L::ActiveMethod},
    {"LearningMozWidth", &L::MozWidth},
    {"LearningEnterAuto", &L::CB_Auto},
    {"LearningEnterCase", &L::CB_Case},
    {"LearningEnterFirst", &L::CB_First},
    {"LearningEnterLen", &L::CB_Len},
    {"LearningEnterLetter", &L::CB_Letter},
    {"LearningEnterRusLat", &L::CB_RusLat},
    {"LearningEnterSpeed", &L::CB_Speed},
    {"LearningEnterWord", &L::CB_Word},
    {"LearningVisualWord", &L::m_lesson_visual},
    {"LearningDictantWord", &L::m_lesson_dictant},
    {"LearningDictionary", &L::DictionaryPath},
}};

constexpr std::array<SettingValue<L>, 14> kGroupB{{
    {"ColorWord", &L::ColorWord},
    {"ColorVar01", &L::ColorVar01},
    {"ColorVar02", &L::ColorVar02},
    {"ColorVar03", &L::ColorVar03},
    {"ColorVar04", &L::ColorVar04},
    {"ColorVar05", &L::ColorVar05},
    {"ColorVar06", &L::ColorVar06},
    {"ColorVar07", &L::ColorVar07},
    {"ColorLastWord", &L::ColorLastWord},
    {"ColorLastWordTransl", &L::ColorLastWordTransl},
    {"ColorLastTesaurus", &L::ColorLastTesaurus},
    {"ColorLBox_Eng", &L::ColorLBox_Eng},
    {"ColorLBox_Rus", &L::ColorLBox_Rus},
    {"ColorEnter_Error", &L::ColorEnter_Error},
}};

constexpr std::array<SettingValue<L>, 15> kGroupC{{
    {"TextOnlyBasic", &L::CB_onlybasic},
    {"TextShowStat", &L::CB_showstat},
    {"TextSortText", &L::RGsorttext},
    {"TextStartFrequency", &L::SEfrequency},
    {"TextFontName", &L::TextFontName, true},
    {"TextFontColor", &L::TextFontColor},
    {"TextFontCharset", &L::TextFontCharset},
    {"TextFontSize", &L::TextFontSize},
    {"TextFontFSBold", &L::TextFontBold},
    {"TextFontFSItalic", &L::TextFontItalic},
    {"TextFontFSUnderline", &L::TextFontUnderline},
    {"TextFontFSStrikeout", &L::TextFontStrikeout},
    {"TextBasicDictionary", &L::BasicDictionaryPath},
    {"TextLastPath", &L::TextFolder},
    // Newer than the rest: last, so that its absence ends the group after everything else.
    {"TextTopWords", &L::SEtopwords},
}};

constexpr std::array<SettingValue<L>, 15> kGroupCSave{{
    {"TextOnlyBasic", &L::CB_onlybasic},
    {"TextShowStat", &L::CB_showstat},
    {"TextSortText", &L::RGsorttext},
    {"TextBasicDictionary", &L::BasicDictionaryPath},
    {"TextLastPath", &L::TextFolder},
    {"TextStartFrequency", &L::SEfrequency},
    {"TextFontName", &L::TextFontName, true},
    {"TextFontColor", &L::TextFontColor},
    {"TextFontCharset", &L::TextFontCharset},
    {"TextFontSize", &L::TextFontSize},
    {"TextFontFSBold", &L::TextFontBold},
    {"TextFontFSItalic", &L::TextFontItalic},
    {"TextFontFSUnderline", &L::TextFontUnderline},
    {"TextFontFSStrikeout", &L::TextFontStrikeout},
    {"TextTopWords", &L::SEtopwords},
}};

constexpr std::array<SettingValue<W>, 55> kSettingsWindow{{
    {"SetCB_Card", &W::CB_Card},
    {"SetCB_PopUp", &W::CB_PopUp},
    {"SetCB_Start", &W::CB_Start},
    {"SetCB_StartTray", &W::CB_StartTray},
    {"SetCB_Top", &W::CB_Top},
    {"SetCB_TrayEndEx", &W::CB_TrayEndEx},
    {"SetCB_Voice", &W::CB_Voice},
    {"SetSE_TimeHide", &W::SE_TimeHide},
    {"SetLB_WordFont", &W::LB_WordFont, true},
    {"SetLB_WordFontCharset", &W::LB_WordFontCharset},
    {"SetLB_TrslFont", &W::LB_TrslFont, true},
    {"SetLB_TrslFontCharset", &W::LB_TrslFontCharset},
    {"SetLB_TrscFont", &W::LB_TrscFont, true},
    {"SetLB_TrscFontCharset", &W::LB_TrscFontCharset},
    {"SetRG_TesFontSH", &W::RG_TesFontSH},
    {"SetLB_CBE_Word", &W::CBE_Word},
    {"SetLB_CBE_Trsl", &W::CBE_Trsl},
    {"SetRG_Shtraf", &W::RG_Shtraf},
    {"SetSE_Ball_Len", &W::SE_Ball_Len},
    {"SetSE_Ball_Letter", &W::SE_Ball_Letter},
    {"SetSE_Ball_Word", &W::SE_Ball_Word},
    {"SetSE_Enter_Ball", &W::SE_Enter_Ball},
    {"SetSE_Enter_Stop", &W::SE_Enter_Stop},
    {"SetSE_Enter_Straf", &W::SE_Enter_Straf},
    {"SetSE_Moz_Ball", &W::SE_Moz_Ball},
    {"SetSE_Moz_Stop", &W::SE_Moz_Stop},
    {"SetSE_Moz_Straf", &W::SE_Moz_Straf},
    {"SetSE_Var_Ball", &W::SE_Var_Ball},
    {"SetSE_Var_Stop", &W::SE_Var_Stop},
    {"SetSE_Var_Straf", &W::SE_Var_Straf},
    {"SetRG_WordShow", &W::RG_WordShow},
    {"SetRG_Transc", &W::RG_Transc},
    {"SetCB_Sort", &W::CB_Sort},
    {"SetSE_CountMoz", &W::SE_CountMoz},
    {"SetSE_CountVar", &W::SE_CountVar},
    {"SetSE_CountWEx", &W::SE_CountWEx},
    {"SetSE_CountWLs", &W::SE_CountWLs},
    {"SetCB_CardShowTesaurus", &W::CB_CardShowTesaurus},
    {"SetCB_CardShowTrsc", &W::CB_CardShowTrsc},
    {"SetSE_TimeTransl", &W::SE_TimeTransl},
    {"SetSE_TimeWord", &W::SE_TimeWord},
    {"SetCB_CardVoiceTesaurus", &W::CB_CardVoiceTesaurus},
    {"SetCB_CardVoiceTransl", &W::CB_CardVoiceTransl},
    {"SetCB_CardVoiceWord", &W::CB_CardVoiceWord},
    {"SetRG_CardLW", &W::RG_CardLW},
    {"SetED_DirWAVTransl", &W::ED_DirWAVTransl},
    {"SetED_DirWAVWord", &W::ED_DirWAVWord},
    {"SetED_LibWAVTransl", &W::ED_LibWAVTransl},
    {"SetED_LibWAVWord", &W::ED_LibWAVWord},
    {"SetCBx_SyntTransl", &W::CBx_SyntTransl},
    {"SetCBx_SyntWord", &W::CBx_SyntWord},
    {"SetRG_Voice", &W::RG_Voice},
    {"SetSE_PosDir", &W::SE_PosDir},
    {"SetSE_PosLib", &W::SE_PosLib},
    {"SetSE_PosSynt", &W::SE_PosSynt},
}};

constexpr std::array<SettingValue<W>, 2> kReviewGroup{{
    {"SetCB_Review", &W::CB_Review},
    {"SetSE_Retention", &W::SE_Retention},
}};

constexpr std::array<SettingValue<C>, 4> kGroupD{{
    {"CardTop", &C::Top},
    {"CardLeft", &C::Left},
    {"CardHeight", &C::Height},
    {"CardWidth", &C::Width},
}};

constexpr std::array<SettingValue<C>, 2> kGroupE{{
    {"ColorCard_Transl", &C::ColorCard_Transl},
    {"ColorForm_Card", &C::ColorForm_Card},
}};

// Reads one value into its field; false when the value ends its group.
template <class S>
bool ReadValue(Registry& registry, const std::string& key, const SettingValue<S>& v, S& s)
{
    struct Reader
    {
        Registry& registry;
        const std::string& key;
        const SettingValue<S>& v;
        S& s;

        bool operator()(int S::*field)
        {
            auto n = registry.ReadInt(key, v.name);
            if (!n) {
                return false;
            }
            s.*field = *n;
            return true;
        }
        bool operator()(BoundedInt S::*field)
        {
            auto n = registry.ReadInt(key, v.name);
            if (!n) {
                return false;
            }
            (s.*field).Set(*n);
            return true;
        }
        bool operator()(bool S::*field)
        {
            auto n = registry.ReadInt(key, v.name);
            if (!n) {
                return false;
            }
            s.*field = *n != 0;
            return true;
        }
        bool operator()(std::string S::*field)
        {
            std::optional<std::string> text = registry.ReadString(key, v.name);
            if (!text) {
                // A number under a string's name is a wrongly typed value; a missing one reads as empty.
                if (registry.ReadInt(key, v.name)) {
                    return false;
                }
                text.emplace();
            }
            if (!text->empty() || !v.emptyKeeps) {
                s.*field = std::move(*text);
            }
            return true;
        }
    };
    return std::visit(Reader{registry, key, v, s}, v.field);
}

template <class S>
int ReadGroup(Registry& registry, const std::string& key, std::span<const SettingValue<S>> table, S& s)
{
    int count = 0;
    for (const auto& v : table) {
        if (!ReadValue(registry, key, v, s)) {
            break;
        }
        ++count;
    }
    return count;
}

template <class S>
bool WriteGroup(Registry& registry, const std::string& key, std::span<const SettingValue<S>> table, const S& s)
{
    bool ok = true;
    for (const auto& v : table) {
        bool written = std::visit(
            [&](auto field) {
                using F = std::remove_cvref_t<decltype(s.*field)>;
                if constexpr (std::is_same_v<F, std::string>) {
                    return registry.WriteString(key, v.name, s.*field);
                } else if constexpr (std::is_same_v<F, bool>) {
                    return registry.WriteInt(key, v.name, (s.*field) ? 1 : 0);
                } else {
                    return registry.WriteInt(key, v.name, static_cast<int>(s.*field));
                }
            },
            v.field);
        ok = written && ok;
    }
    return ok;
}

// True when `name` stands among the first `count` entries of `table`.
template <class S>
bool AmongFirst(std::span<const SettingValue<S>> table, int count, std::string_view name)
{
    for (int i = 0; i < count && i < static_cast<int>(table.size()); ++i) {
        if (name == table[i].name) {
            return true;
        }
    }
    return false;
}

} // namespace

int& LearningSettings::ColorVar(int number)
{
    int* colors[] = {&ColorVar01, &ColorVar02, &ColorVar03, &ColorVar04, &ColorVar05, &ColorVar06, &ColorVar07};
    return *colors[number < 1 ? 0 : (number > 7 ? 6 : number - 1)];
}

int LearningSettings::ColorVar(int number) const
{
    return const_cast<LearningSettings*>(this)->ColorVar(number);
}

std::span<const SettingValue<LearningSettings>> LearningGroupA()
{
    return kGroupA;
}
std::span<const SettingValue<LearningSettings>> LearningGroupB()
{
    return kGroupB;
}
std::span<const SettingValue<LearningSettings>> LearningGroupC()
{
    return kGroupC;
}
std::span<const SettingValue<LearningSettings>> LearningGroupCSaveOrder()
{
    return kGroupCSave;
}
std::span<const SettingValue<SettingsWindowValues>> SettingsWindowTable()
{
    return kSettingsWindow;
}
std::span<const SettingValue<CardSettings>> CardGroupD()
{
    return kGroupD;
}
std::span<const SettingValue<CardSettings>> CardGroupE()
{
    return kGroupE;
}

bool LearningLoadResult::Read(std::string_view valueName) const
{
    return AmongFirst(LearningGroupA(), groupA, valueName) || AmongFirst(LearningGroupB(), groupB, valueName) ||
           AmongFirst(LearningGroupC(), groupC, valueName);
}

bool SettingsLoadResult::Read(std::string_view valueName) const
{
    return AmongFirst(SettingsWindowTable(), valuesRead, valueName);
}

bool CardLoadResult::Read(std::string_view valueName) const
{
    return AmongFirst(CardGroupD(), groupD, valueName) || AmongFirst(CardGroupE(), groupE, valueName);
}

LearningLoadResult LoadLearningSettings(Registry& registry, const std::string& pupilKey, LearningSettings& settings)
{
    LearningLoadResult result;
    RegistryBatch batch(registry);
    if (!registry.KeyExists(pupilKey)) {
        return result;
    }
    result.keyOpened = true;
    result.groupA = ReadGroup(registry, pupilKey, LearningGroupA(), settings);
    // Only the three lesson pages can be the active method; the dictionary and text pages (or any other
    // number) start on the first page.
    if (settings.ActiveMethod < 0 || settings.ActiveMethod > 2) {
        settings.ActiveMethod = 0;
    }
    if (result.groupA < static_cast<int>(LearningGroupA().size())) {
        return result;
    }
    result.groupB = ReadGroup(registry, pupilKey, LearningGroupB(), settings);
    settings.TextFontBold = false;
    settings.TextFontItalic = false;
    settings.TextFontUnderline = false;
    settings.TextFontStrikeout = false;
    result.groupC = ReadGroup(registry, pupilKey, LearningGroupC(), settings);
    return result;
}

bool SaveLearningSettings(Registry& registry, const std::string& pupilName, const std::string& pupilKey,
                          const LearningSettings& settings, const std::string& recentDictionaries)
{
    RegistryBatch batch(registry);
    bool ok = registry.CreateKey(kVerbantaKey);
    ok = registry.WriteString(kVerbantaKey, kCurrentPupilValue, pupilName) && ok;
    ok = registry.CreateKey(pupilKey) && ok;
    // The first two values of group A belong to the settings window, which writes them itself.
    ok = WriteGroup(registry, pupilKey, LearningGroupA().subspan(2), settings) && ok;
    ok = WriteGroup(registry, pupilKey, LearningGroupB(), settings) && ok;
    ok = WriteGroup(registry, pupilKey, LearningGroupCSaveOrder(), settings) && ok;
    ok = registry.WriteString(pupilKey, "", recentDictionaries) && ok;
    return batch.Finish() && ok;
}

TopPlacement PlaceLearningTop(const LearningLoadResult& result, const LearningSettings& settings, bool settingsLoaded,
                              int currentTop)
{
    TopPlacement placement;
    placement.top = currentTop;
    placement.savedTop = currentTop;
    if (!result.Read("SetCB_StartTray")) {
        return placement;
    }
    const bool topRead = result.Read("LearningTop");
    if (!settings.CB_StartTray || settingsLoaded) {
        if (topRead) {
            placement.top = settings.Top;
        }
        return placement;
    }
    // Parked off screen until TimerStartTray hides the window; a missing stored top keeps the current one
    // to come back to, so the window never stays lost at -1000.
    placement.park = true;
    placement.top = kParkedTop;
    placement.savedTop = topRead ? settings.Top : currentTop;
    return placement;
}

SettingsLoadResult LoadSettings(Registry& registry, const std::string& pupilKey, SettingsWindowValues& values)
{
    SettingsLoadResult result;
    values.CBE_Word.Set(0);
    values.CBE_Trsl.Set(1);
    RegistryBatch batch(registry);
    if (!registry.KeyExists(pupilKey)) {
        return result;
    }
    result.keyOpened = true;
    result.valuesRead = ReadGroup(registry, pupilKey, SettingsWindowTable(), values);
    ReadGroup(registry, pupilKey, std::span<const SettingValue<W>>(kReviewGroup), values);
    return result;
}

bool SaveSettings(Registry& registry, const std::string& pupilKey, const SettingsWindowValues& values,
                  const AutostartTarget* autostart)
{
    RegistryBatch batch(registry);
    bool ok = true;
    if (autostart) {
        ok = UpdateAutostart(*autostart, values.CB_Start);
    }
    ok = registry.CreateKey(pupilKey) && ok;
    ok = WriteGroup(registry, pupilKey, SettingsWindowTable(), values) && ok;
    // Until review has been used the store stays exactly as it was without it.
    const SettingsWindowValues defaults;
    const bool reviewUsed = values.CB_Review != defaults.CB_Review || values.SE_Retention != defaults.SE_Retention ||
                            registry.ReadInt(pupilKey, kReviewGroup[0].name) ||
                            registry.ReadInt(pupilKey, kReviewGroup[1].name);
    if (reviewUsed) {
        ok = WriteGroup(registry, pupilKey, std::span<const SettingValue<W>>(kReviewGroup), values) && ok;
    }
    return batch.Finish() && ok;
}

CardLoadResult LoadCardSettings(Registry& registry, const std::string& pupilKey, CardSettings& settings)
{
    CardLoadResult result;
    RegistryBatch batch(registry);
    if (!registry.KeyExists(pupilKey)) {
        return result;
    }
    result.keyOpened = true;
    result.groupD = ReadGroup(registry, pupilKey, CardGroupD(), settings);
    if (result.groupD < static_cast<int>(CardGroupD().size())) {
        return result;
    }
    result.groupE = ReadGroup(registry, pupilKey, CardGroupE(), settings);
    return result;
}

bool SaveCardSettings(Registry& registry, const std::string& pupilKey, const CardSettings& settings)
{
    RegistryBatch batch(registry);
    bool ok = registry.CreateKey(pupilKey);
    ok = WriteGroup(registry, pupilKey, CardGroupD(), settings) && ok;
    ok = WriteGroup(registry, pupilKey, CardGroupE(), settings) && ok;
    return batch.Finish() && ok;
}

} // namespace vb
