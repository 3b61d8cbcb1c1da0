// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings of the three windows that keep them (lesson window, settings window, card window) and their
// loading and saving in the pupil's registry key.
//
// Each window holds one of the structs below as its live settings: controls show the fields and write back
// at once. Loading overwrites only what it reads, in a fixed order in which the first missing or mistyped
// number ends its group; the rest keeps its current value. Every load returns how far it got, so the window
// can apply the values in the right order (geometry, page, check-box click handlers, ...).
//
// Value types in the store: "int" is a signed 32-bit number; "bool" is an int written as 0 or 1 and read as
// true when not 0; "string" is a string. A string stored as a number ends its group like a bad number; a
// missing string reads as empty and the reading goes on (an empty font name leaves the font as it is).

#include "common/bounded_int.h"
#include "common/registry.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace vb {

struct AutostartTarget;

// Colours are stored in the platform's form: 00BBGGRR for a plain colour, FF0000nn for system colour nn.
namespace colors {
inline constexpr int kButtonFace = -16777201; // system colour 15
inline constexpr int kGradientInactiveCaption = -16777188; // system colour 28
inline constexpr int kCream = 15793151; // RGB 255, 251, 240
inline constexpr int kSkyBlue = 15780518; // RGB 166, 202, 240
inline constexpr int kMoneyGreen = 12639424; // RGB 192, 220, 192
inline constexpr int kBlack = 0;
} // namespace colors

// The lesson window's designed position and outer size (client 602 x 330 plus frame and menu).
inline constexpr int kLearningDesignedTop = 104;
inline constexpr int kLearningDesignedLeft = 115;
inline constexpr int kLearningDesignedWidth = 610;
inline constexpr int kLearningDesignedHeight = 376;
// The top of the lesson window while it is parked off screen at start-up.
inline constexpr int kParkedTop = -1000;

// The lesson window's values: groups A (window, Writing options, lesson switches, dictionary), B (colours)
// and C (text page).
struct LearningSettings
{
    // Group A.
    int SE_CountWEx = 20; // "SetSE_CountWEx": ExerciseLeft at start; written by the settings window
    bool CB_StartTray = true; // "SetCB_StartTray": park in the tray at start; written by the settings window
    int Top = kLearningDesignedTop; // "LearningTop"
    int Left = kLearningDesignedLeft; // "LearningLeft"
    int Height = kLearningDesignedHeight; // "LearningHeight"
    int Width = kLearningDesignedWidth; // "LearningWidth"
    int ActiveMethod = 0; // "LearningTab": page shown and ActiveMethod; loading turns any page but 0..2 into 0
    int MozWidth = 265; // "LearningMozWidth": width of LBox_Eng
    bool CB_Auto = true; // "LearningEnterAuto"
    bool CB_Case = false; // "LearningEnterCase"
    bool CB_First = false; // "LearningEnterFirst"
    bool CB_Len = false; // "LearningEnterLen"
    bool CB_Letter = false; // "LearningEnterLetter"
    bool CB_RusLat = true; // "LearningEnterRusLat"
    bool CB_Speed = false; // "LearningEnterSpeed"
    bool CB_Word = false; // "LearningEnterWord"
    bool m_lesson_visual = true; // "LearningVisualWord"
    bool m_lesson_dictant = false; // "LearningDictantWord"
    std::string DictionaryPath; // "LearningDictionary"; empty: the default dictionary

    // Group B: colours of the lesson window's labels and lists.
    int ColorWord = colors::kButtonFace;
    int ColorVar01 = colors::kGradientInactiveCaption;
    int ColorVar02 = colors::kButtonFace;
    int ColorVar03 = colors::kGradientInactiveCaption;
    int ColorVar04 = colors::kButtonFace;
    int ColorVar05 = colors::kGradientInactiveCaption;
    int ColorVar06 = colors::kButtonFace;
    int ColorVar07 = colors::kGradientInactiveCaption;
    int ColorLastWord = colors::kGradientInactiveCaption;
    int ColorLastWordTransl = colors::kButtonFace;
    int ColorLastTesaurus = colors::kGradientInactiveCaption;
    int ColorLBox_Eng = colors::kCream;
    int ColorLBox_Rus = colors::kCream;
    int ColorEnter_Error = colors::kGradientInactiveCaption;

    // Group C: the text page.
    bool CB_onlybasic = true; // "TextOnlyBasic"
    bool CB_showstat = false; // "TextShowStat"
    BoundedInt RGsorttext{0, 1, 0}; // "TextSortText": 0 "алфавиту", 1 "частоте"
    BoundedInt SEfrequency{1, 1000000, 1}; // "TextStartFrequency"
    BoundedInt SEtopwords{0, 1000000, 0}; // "TextTopWords": only the N most frequent words; 0 every word
    std::string TextFontName = "Courier New"; // an empty stored name leaves the font as it is
    int TextFontColor = colors::kBlack;
    int TextFontCharset = 204;
    int TextFontSize = 12;
    // Loading group C clears all four before it reads them.
    bool TextFontBold = false;
    bool TextFontItalic = false;
    bool TextFontUnderline = false;
    bool TextFontStrikeout = false;
    std::string BasicDictionaryPath; // "TextBasicDictionary"
    std::string TextFolder; // "TextLastPath"

    // The seven answer-label colours by number 1..7.
    int& ColorVar(int number);
    int ColorVar(int number) const;
};

// The settings window's 55 values, named after their controls.
struct SettingsWindowValues
{
    // "Общие", group "Параметры".
    bool CB_Card = true;
    bool CB_PopUp = true;
    bool CB_Start = true;
    bool CB_StartTray = true;
    bool CB_Top = false;
    bool CB_TrayEndEx = true;
    bool CB_Voice = false;
    BoundedInt SE_TimeHide{1, 1440, 50}; // minutes until the window pops up
    // "Общие", group "Шрифты словаря по умолчанию": only name and character set are stored.
    std::string LB_WordFont = "Arial";
    int LB_WordFontCharset = 238;
    std::string LB_TrslFont = "Arial";
    int LB_TrslFontCharset = 204;
    std::string LB_TrscFont = "PhoneticTM";
    int LB_TrscFontCharset = 1;
    BoundedInt RG_TesFontSH{0, 1, 0}; // 0 "Cлово", 1 "Перевод"
    BoundedInt CBE_Word{0, 5, 0}; // keyboard layout of the word (index into the layout list)
    BoundedInt CBE_Trsl{0, 5, 1}; // keyboard layout of the translation
    // "Обучение".
    BoundedInt RG_Shtraf{0, 2, 0}; // 0 "Задание", 1 "Ответ", 2 "Всё"
    BoundedInt SE_Ball_Len{0, 100, 4};
    BoundedInt SE_Ball_Letter{0, 100, 8};
    BoundedInt SE_Ball_Word{0, 100, 12};
    BoundedInt SE_Enter_Ball{1, 100, 18};
    BoundedInt SE_Enter_Stop{1, 100, 48};
    BoundedInt SE_Enter_Straf{0, 100, 10};
    BoundedInt SE_Moz_Ball{1, 100, 4};
    BoundedInt SE_Moz_Stop{1, 100, 48};
    BoundedInt SE_Moz_Straf{0, 100, 4};
    BoundedInt SE_Var_Ball{1, 100, 6};
    BoundedInt SE_Var_Stop{1, 100, 48};
    BoundedInt SE_Var_Straf{0, 100, 6};
    BoundedInt RG_WordShow{0, 2, 2}; // 0 "Слово", 1 "Перевод", 2 "Всё"
    BoundedInt RG_Transc{0, 2, 2}; // 0 "Показывать", 1 "Не показывать", 2 "Динамически"
    bool CB_Sort = true;
    BoundedInt SE_CountMoz{1, 25, 8};
    BoundedInt SE_CountVar{1, 7, 7};
    BoundedInt SE_CountWEx{1, 100, 20};
    BoundedInt SE_CountWLs{1, 100, 20};
    // "Обучение", spaced review of learned words: a group of its own after the 55, so stores written before
    // it existed read unchanged.
    bool CB_Review = false; // "Повторять выученные слова"
    BoundedInt SE_Retention{70, 99, 90}; // desired retention, percent
    // "Карточка".
    bool CB_CardShowTesaurus = false;
    bool CB_CardShowTrsc = true;
    BoundedInt SE_TimeTransl{0, 300, 6}; // seconds
    BoundedInt SE_TimeWord{0, 300, 4}; // seconds
    bool CB_CardVoiceTesaurus = false;
    bool CB_CardVoiceTransl = false;
    bool CB_CardVoiceWord = false;
    BoundedInt RG_CardLW{0, 1, 1}; // 0 "Весь словарь", 1 "Заучиваемые"
    // "Озвучивание".
    std::string ED_DirWAVTransl;
    std::string ED_DirWAVWord;
    std::string ED_LibWAVTransl;
    std::string ED_LibWAVWord;
    std::string CBx_SyntTransl; // voice name (the text of the list)
    std::string CBx_SyntWord;
    BoundedInt RG_Voice{0, 3, 3}; // 0 "только каталог", 1 "только библиотека", 2 "только синтез", 3 "по приоритету"
    BoundedInt SE_PosDir{0, 3, 1};
    BoundedInt SE_PosLib{0, 3, 2};
    BoundedInt SE_PosSynt{0, 3, 3};
};

// The card window's values: group D (bounds) and group E (colours).
struct CardSettings
{
    int Top = 0; // "CardTop"
    int Left = 0; // "CardLeft"
    int Height = 44; // "CardHeight"
    int Width = 237; // "CardWidth"
    int ColorCard_Transl = colors::kMoneyGreen;
    int ColorForm_Card = colors::kSkyBlue;
};

// One registry value of a settings struct: its name and the field it feeds. The field's C++ type is the
// value's type: int and BoundedInt are "int", bool is "bool", std::string is "string".
template <class S>
struct SettingValue
{
    const char* name;
    std::variant<int S::*, BoundedInt S::*, bool S::*, std::string S::*> field;
    // An empty stored text leaves the field as it is (font names); otherwise it empties the field.
    bool emptyKeeps = false;
};

// The tables, in reading order. The lesson window writes group A without its first two values, and group C
// in its own order (TextLearningSaveOrder).
std::span<const SettingValue<LearningSettings>> LearningGroupA();
std::span<const SettingValue<LearningSettings>> LearningGroupB();
std::span<const SettingValue<LearningSettings>> LearningGroupC();
std::span<const SettingValue<LearningSettings>> LearningGroupCSaveOrder();
std::span<const SettingValue<SettingsWindowValues>> SettingsWindowTable();
std::span<const SettingValue<CardSettings>> CardGroupD();
std::span<const SettingValue<CardSettings>> CardGroupE();

// The root key of the program and its value naming the current pupil.
inline constexpr const char* kVerbantaKey = "Software\\Verbanta";
inline constexpr const char* kCurrentPupilValue = "Application";

// How far a load got. A group counts the values it took before it ended (all of them when complete).
struct LearningLoadResult
{
    bool keyOpened = false;
    int groupA = 0;
    int groupB = 0;
    int groupC = 0;
    // True when the value of this name was read (missing strings count as read: they read as empty).
    bool Read(std::string_view valueName) const;
};

struct SettingsLoadResult
{
    bool keyOpened = false;
    int valuesRead = 0;
    bool Read(std::string_view valueName) const;
};

struct CardLoadResult
{
    bool keyOpened = false;
    int groupD = 0;
    int groupE = 0;
    bool Read(std::string_view valueName) const;
};

// Reads groups A, B and C from the pupil's key (never created here). A bad value in group A ends all three
// groups; in B or C only its own. Group C clears the four style flags of the text font first.
//
// What the lesson window does around it (window steps of its load):
//  - before: ExerciseLeft := 20, LearnedCount := 0;
//  - after, when result.Read("SetSE_CountWEx"): ExerciseLeft := SE_CountWEx;
//  - the top through PlaceLearningTop, then left, height, width, each when read;
//  - the page and ActiveMethod := ActiveMethod when read (already 0..2), the width of LBox_Eng;
//  - the Writing check boxes, running CB_LenClick / CB_SpeedClick for those whose state changed;
//  - the two lesson switches, the colours, the text page values;
//  - then the pupil menu, the text page reset, the dictionary table and the dictionary itself.
LearningLoadResult LoadLearningSettings(Registry& registry, const std::string& pupilKey, LearningSettings& settings);

// Writes "Application" := pupilName into the root key, then groups A (without its first two values), B and C
// into the pupil's key and last its unnamed value := recentDictionaries; both keys are created when missing.
// The caller saves the progress first (withProgress) or empties its recent list (without). `settings.Top`
// must already be the stored top (StoredLearningTop while parked). One write of the store; false when any
// part failed (callers ignore it).
bool SaveLearningSettings(Registry& registry, const std::string& pupilName, const std::string& pupilKey,
                          const LearningSettings& settings, const std::string& recentDictionaries);

// Where the lesson window's top goes at load, and whether it parks off screen to hide to the tray at start.
struct TopPlacement
{
    int top = 0; // the top to apply (the current one when nothing was read)
    bool park = false; // park: top is kParkedTop; keep savedTop and enable TimerStartTray
    int savedTop = 0;
};
TopPlacement PlaceLearningTop(const LearningLoadResult& result, const LearningSettings& settings, bool settingsLoaded,
                              int currentTop);

// The top to store: the saved one while the window is parked.
inline int StoredLearningTop(int windowTop, int savedTop)
{
    return windowTop == kParkedTop ? savedTop : windowTop;
}

// Selects layouts 0 and 1 in CBE_Word and CBE_Trsl, then reads the 55 values from the pupil's key (never
// created here) until the first bad number. The window then: SetTopmost(CB_Top) when "SetCB_Top" was read;
// runs the click handlers of check boxes whose state changed (CB_VoiceClick mirrors "Озвучивать задания");
// selects the voices, loads the library indexes and, once, the open dictionary's fonts.
SettingsLoadResult LoadSettings(Registry& registry, const std::string& pupilKey, SettingsWindowValues& values);

// Updates the autostart entry after CB_Start (when `autostart` is given), then writes the 55 values into
// the pupil's key, creating it when missing. One write of the store; false when any part failed.
bool SaveSettings(Registry& registry, const std::string& pupilKey, const SettingsWindowValues& values,
                  const AutostartTarget* autostart);

// Groups D and E: a bad bound ends both, a bad colour only E.
CardLoadResult LoadCardSettings(Registry& registry, const std::string& pupilKey, CardSettings& settings);
bool SaveCardSettings(Registry& registry, const std::string& pupilKey, const CardSettings& settings);

} // namespace vb
