// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settings.h"

#include "common/autostart.h"
#include "common/files.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <set>

using namespace vb;

namespace {

const std::string kPupil = "Software\\Verbanta\\Пётр";

// A store that records the order of writes and whether each one happened inside a batch.
class RecordingRegistry : public Registry
{
public:
    std::unique_ptr<Registry> inner = MakeMemoryRegistry();
    std::vector<std::string> writes;
    int writesOutsideBatch = 0;
    int batchesEnded = 0;

    bool KeyExists(const std::string& key) override { return inner->KeyExists(key); }
    bool CreateKey(const std::string& key) override { return inner->CreateKey(key); }
    bool DeleteKey(const std::string& key) override { return inner->DeleteKey(key); }
    std::vector<std::string> ListSubkeys(const std::string& key) override { return inner->ListSubkeys(key); }
    std::optional<std::string> ReadString(const std::string& key, const std::string& name) override
    {
        return inner->ReadString(key, name);
    }
    std::optional<std::int32_t> ReadInt(const std::string& key, const std::string& name) override
    {
        return inner->ReadInt(key, name);
    }
    bool WriteString(const std::string& key, const std::string& name, const std::string& value) override
    {
        Record(name);
        return inner->WriteString(key, name, value);
    }
    bool WriteInt(const std::string& key, const std::string& name, std::int32_t value) override
    {
        Record(name);
        return inner->WriteInt(key, name, value);
    }
    bool DeleteValue(const std::string& key, const std::string& name) override { return inner->DeleteValue(key, name); }
    void BeginBatch() override { ++m_depth; }
    bool EndBatch() override
    {
        if (--m_depth == 0) {
            ++batchesEnded;
        }
        return true;
    }

private:
    void Record(const std::string& name)
    {
        writes.push_back(name);
        if (m_depth == 0) {
            ++writesOutsideBatch;
        }
    }
    int m_depth = 0;
};

// Gives every field of a table a value different from its default: numbers move inside their range,
// flags flip, texts get a marker.
template <class S>
void ChangeAll(std::span<const SettingValue<S>> table, S& s)
{
    int n = 0;
    for (const auto& v : table) {
        ++n;
        std::visit(
            [&](auto field) {
                using F = std::remove_cvref_t<decltype(s.*field)>;
                if constexpr (std::is_same_v<F, std::string>) {
                    s.*field = "значение " + std::to_string(n);
                } else if constexpr (std::is_same_v<F, bool>) {
                    s.*field = !(s.*field);
                } else if constexpr (std::is_same_v<F, BoundedInt>) {
                    BoundedInt& b = s.*field;
                    b.Set(b.Value() == b.Max() ? b.Min() : b.Max());
                } else {
                    s.*field = -1000 - n;
                }
            },
            v.field);
    }
}

// Field by field comparison through a table; names the first difference.
template <class S>
std::string FirstDifference(std::span<const SettingValue<S>> table, const S& a, const S& b)
{
    for (const auto& v : table) {
        bool same = std::visit(
            [&](auto field) {
                using F = std::remove_cvref_t<decltype(a.*field)>;
                if constexpr (std::is_same_v<F, BoundedInt>) {
                    return (a.*field).Value() == (b.*field).Value();
                } else {
                    return a.*field == b.*field;
                }
            },
            v.field);
        if (!same) {
            return v.name;
        }
    }
    return {};
}

template <class S>
std::set<std::string> Names(std::span<const SettingValue<S>> table)
{
    std::set<std::string> names;
    for (const auto& v : table) {
        names.insert(v.name);
    }
    return names;
}

} // namespace

TEST(SettingsTables, EveryValueOnceAndGroupCSavedCompletely)
{
    EXPECT_EQ(LearningGroupA().size(), 19u);
    EXPECT_EQ(LearningGroupB().size(), 14u);
    EXPECT_EQ(Names(LearningGroupC()), Names(LearningGroupCSaveOrder()));
    EXPECT_EQ(Names(SettingsWindowTable()).size(), 55u);
    std::set<std::string> learning = Names(LearningGroupA());
    learning.merge(Names(LearningGroupB()));
    learning.merge(Names(LearningGroupC()));
    EXPECT_EQ(learning.size(), 19u + 14u + 15u);
    for (const auto& v : SettingsWindowTable()) {
        EXPECT_EQ(std::string(v.name).rfind("Set", 0), 0u) << v.name;
    }
}

TEST(SettingsRoundTrip, EveryValueOfTheThreeWindowsComesBack)
{
    auto reg = MakeMemoryRegistry();

    LearningSettings learning;
    ChangeAll(LearningGroupA(), learning);
    ChangeAll(LearningGroupB(), learning);
    ChangeAll(LearningGroupC(), learning);
    learning.ActiveMethod = 2;
    learning.SE_CountWEx = 33;
    // The first two values of group A are the settings window's; it stores them.
    SettingsWindowValues window;
    ChangeAll(SettingsWindowTable(), window);
    window.SE_CountWEx.Set(learning.SE_CountWEx);
    window.CB_StartTray = learning.CB_StartTray;
    CardSettings card;
    ChangeAll(CardGroupD(), card);
    ChangeAll(CardGroupE(), card);

    ASSERT_TRUE(SaveLearningSettings(*reg, "Пётр", kPupil, learning, "a.lqd;b.lqd;"));
    ASSERT_TRUE(SaveSettings(*reg, kPupil, window, nullptr));
    ASSERT_TRUE(SaveCardSettings(*reg, kPupil, card));

    LearningSettings learning2;
    SettingsWindowValues window2;
    CardSettings card2;
    LearningLoadResult lr = LoadLearningSettings(*reg, kPupil, learning2);
    SettingsLoadResult sr = LoadSettings(*reg, kPupil, window2);
    CardLoadResult cr = LoadCardSettings(*reg, kPupil, card2);

    EXPECT_EQ(lr.groupA, 19);
    EXPECT_EQ(lr.groupB, 14);
    EXPECT_EQ(lr.groupC, 15);
    EXPECT_EQ(sr.valuesRead, 55);
    EXPECT_EQ(cr.groupD + cr.groupE, 6);
    EXPECT_EQ(FirstDifference(LearningGroupA(), learning, learning2), "");
    EXPECT_EQ(FirstDifference(LearningGroupB(), learning, learning2), "");
    EXPECT_EQ(FirstDifference(LearningGroupC(), learning, learning2), "");
    EXPECT_EQ(FirstDifference(SettingsWindowTable(), window, window2), "");
    EXPECT_EQ(FirstDifference(CardGroupD(), card, card2), "");
    EXPECT_EQ(FirstDifference(CardGroupE(), card, card2), "");
    EXPECT_EQ(reg->ReadString(kVerbantaKey, "Application"), "Пётр");
    EXPECT_EQ(reg->ReadString(kPupil, ""), "a.lqd;b.lqd;");
}

TEST(SettingsLoad, AMissingKeyChangesNothingAndCreatesNothing)
{
    auto reg = MakeMemoryRegistry();
    LearningSettings learning;
    learning.Top = 7;
    SettingsWindowValues window;
    window.CBE_Word.Set(4);
    window.CBE_Trsl.Set(4);
    window.SE_CountVar.Set(3);
    CardSettings card;

    EXPECT_FALSE(LoadLearningSettings(*reg, kPupil, learning).keyOpened);
    EXPECT_FALSE(LoadSettings(*reg, kPupil, window).keyOpened);
    EXPECT_FALSE(LoadCardSettings(*reg, kPupil, card).keyOpened);
    EXPECT_FALSE(reg->KeyExists(kPupil));
    EXPECT_FALSE(reg->KeyExists(kVerbantaKey));
    EXPECT_EQ(learning.Top, 7);
    EXPECT_EQ(window.SE_CountVar, 3);
    // The two layouts are selected before anything is read.
    EXPECT_EQ(window.CBE_Word, 0);
    EXPECT_EQ(window.CBE_Trsl, 1);
}

TEST(SettingsLoad, AMissingNumberEndsItsGroups)
{
    auto reg = MakeMemoryRegistry();
    reg->CreateKey(kPupil);
    // Everything stored but "LearningLeft": top is applied, the rest of A and all of B and C are not.
    SaveLearningSettings(*reg, "Пётр", kPupil, LearningSettings{}, "");
    reg->WriteInt(kPupil, "SetSE_CountWEx", 30);
    reg->WriteInt(kPupil, "SetCB_StartTray", 0);
    reg->WriteInt(kPupil, "LearningTop", 300);
    reg->DeleteValue(kPupil, "LearningLeft");
    reg->WriteInt(kPupil, "LearningWidth", 900);
    reg->WriteInt(kPupil, "ColorWord", 5);
    reg->WriteInt(kPupil, "TextSortText", 1);

    LearningSettings s;
    s.Left = 11;
    LearningLoadResult r = LoadLearningSettings(*reg, kPupil, s);
    EXPECT_EQ(r.groupA, 3);
    EXPECT_EQ(r.groupB, 0);
    EXPECT_EQ(r.groupC, 0);
    EXPECT_TRUE(r.Read("LearningTop"));
    EXPECT_FALSE(r.Read("LearningLeft"));
    EXPECT_FALSE(r.Read("LearningWidth"));
    EXPECT_EQ(s.SE_CountWEx, 30);
    EXPECT_FALSE(s.CB_StartTray);
    EXPECT_EQ(s.Top, 300);
    EXPECT_EQ(s.Left, 11);
    EXPECT_EQ(s.Width, kLearningDesignedWidth);
    EXPECT_EQ(s.ColorWord, colors::kButtonFace);
    EXPECT_EQ(s.RGsorttext, 0);
}

TEST(SettingsLoad, GroupsBAndCEndOnlyThemselves)
{
    auto reg = MakeMemoryRegistry();
    LearningSettings stored;
    stored.ColorVar(2) = 111;
    stored.ColorVar(5) = 555;
    stored.CB_showstat = true;
    stored.TextFontSize = 20;
    stored.TextFolder = "/texts";
    SaveLearningSettings(*reg, "Пётр", kPupil, stored, "");
    reg->WriteInt(kPupil, "SetSE_CountWEx", 20);
    reg->WriteInt(kPupil, "SetCB_StartTray", 1);
    reg->DeleteValue(kPupil, "ColorVar03");
    reg->WriteString(kPupil, "TextFontCharset", "204");

    LearningSettings s;
    s.TextFontItalic = true;
    LearningLoadResult r = LoadLearningSettings(*reg, kPupil, s);
    EXPECT_EQ(r.groupA, 19);
    EXPECT_EQ(r.groupB, 3);
    EXPECT_EQ(s.ColorVar(2), 111);
    EXPECT_EQ(s.ColorVar(5), colors::kGradientInactiveCaption);
    // Group C still runs; a string under a number's name ends it; the style was cleared first.
    EXPECT_EQ(r.groupC, 6);
    EXPECT_TRUE(s.CB_showstat);
    EXPECT_EQ(s.TextFontSize, 12);
    EXPECT_FALSE(s.TextFontItalic);
    EXPECT_EQ(s.TextFolder, "");
}

TEST(SettingsLoad, StoredPagesAboveTheLessonsStartOnTheFirst)
{
    auto reg = MakeMemoryRegistry();
    for (auto [stored, expected] :
         std::initializer_list<std::pair<int, int>>{{4, 0}, {3, 0}, {2, 2}, {1, 1}, {-1, 0}}) {
        LearningSettings s;
        s.ActiveMethod = stored;
        SaveLearningSettings(*reg, "Пётр", kPupil, s, "");
        reg->WriteInt(kPupil, "SetSE_CountWEx", 20);
        reg->WriteInt(kPupil, "SetCB_StartTray", 1);
        LearningSettings loaded;
        LoadLearningSettings(*reg, kPupil, loaded);
        EXPECT_EQ(loaded.ActiveMethod, expected) << stored;
    }
}

TEST(SettingsLoad, WindowValuesAreClampedAndEndAtTheFirstBadNumber)
{
    auto reg = MakeMemoryRegistry();
    SaveSettings(*reg, kPupil, SettingsWindowValues{}, nullptr);
    reg->WriteInt(kPupil, "SetSE_CountVar", 9);
    reg->WriteInt(kPupil, "SetSE_TimeHide", 0);
    reg->WriteInt(kPupil, "SetRG_Voice", 7);
    reg->WriteInt(kPupil, "SetLB_CBE_Trsl", -3);
    reg->WriteInt(kPupil, "SetSE_CountMoz", 26);
    reg->WriteString(kPupil, "SetLB_WordFont", "");
    reg->DeleteValue(kPupil, "SetED_DirWAVTransl");
    reg->WriteString(kPupil, "SetED_DirWAVWord", "/sounds");

    SettingsWindowValues v;
    v.LB_WordFont = "Liberation Sans";
    v.ED_DirWAVTransl = "/old";
    SettingsLoadResult r = LoadSettings(*reg, kPupil, v);
    EXPECT_EQ(r.valuesRead, 55);
    EXPECT_EQ(v.SE_CountVar, 7);
    EXPECT_EQ(v.SE_TimeHide, 1);
    EXPECT_EQ(v.RG_Voice, 3);
    EXPECT_EQ(v.CBE_Trsl, 0);
    EXPECT_EQ(v.SE_CountMoz, 25);
    // An empty font name leaves the font; a missing path empties the field and the reading goes on.
    EXPECT_EQ(v.LB_WordFont, "Liberation Sans");
    EXPECT_EQ(v.ED_DirWAVTransl, "");
    EXPECT_EQ(v.ED_DirWAVWord, "/sounds");

    // A number stored as text ends the reading; so does a text stored as a number.
    reg->WriteString(kPupil, "SetSE_TimeHide", "30");
    SettingsWindowValues w;
    w.CB_Voice = true;
    EXPECT_EQ(LoadSettings(*reg, kPupil, w).valuesRead, 7);
    EXPECT_FALSE(w.CB_Voice);
    EXPECT_EQ(w.SE_TimeHide, 50);
    reg->WriteInt(kPupil, "SetSE_TimeHide", 30);
    reg->WriteInt(kPupil, "SetLB_TrslFont", 5);
    EXPECT_EQ(LoadSettings(*reg, kPupil, w).valuesRead, 10);
    EXPECT_EQ(w.SE_TimeHide, 30);
}

TEST(SettingsLoad, WithoutTheFirstValueNothingIsReadButTheNextSaveWritesAll)
{
    auto reg = MakeMemoryRegistry();
    reg->CreateKey(kPupil);
    reg->WriteInt(kPupil, "SetSE_CountVar", 3);
    SettingsWindowValues v;
    v.SE_CountVar.Set(5);
    SettingsLoadResult r = LoadSettings(*reg, kPupil, v);
    EXPECT_TRUE(r.keyOpened);
    EXPECT_EQ(r.valuesRead, 0);
    EXPECT_FALSE(r.Read("SetCB_Card"));
    EXPECT_EQ(v.SE_CountVar, 5);

    RecordingRegistry rec;
    SaveSettings(rec, kPupil, v, nullptr);
    std::vector<std::string> expected;
    for (const auto& entry : SettingsWindowTable()) {
        expected.push_back(entry.name);
    }
    EXPECT_EQ(rec.writes, expected);
}

TEST(SettingsSave, LessonValuesInTheirOrderInOneBatchCreatingTheKeys)
{
    RecordingRegistry rec;
    EXPECT_TRUE(SaveLearningSettings(rec, "Пётр", kPupil, LearningSettings{}, "x.lqd;"));
    std::vector<std::string> expected = {
        "Application",         "LearningTop",         "LearningLeft",      "LearningHeight",
        "LearningWidth",       "LearningTab",         "LearningMozWidth",  "LearningEnterAuto",
        "LearningEnterCase",   "LearningEnterFirst",  "LearningEnterLen",  "LearningEnterLetter",
        "LearningEnterRusLat", "LearningEnterSpeed",  "LearningEnterWord", "LearningVisualWord",
        "LearningDictantWord", "LearningDictionary",  "ColorWord",         "ColorVar01",
        "ColorVar02",          "ColorVar03",          "ColorVar04",        "ColorVar05",
        "ColorVar06",          "ColorVar07",          "ColorLastWord",     "ColorLastWordTransl",
        "ColorLastTesaurus",   "ColorLBox_Eng",       "ColorLBox_Rus",     "ColorEnter_Error",
        "TextOnlyBasic",       "TextShowStat",        "TextSortText",      "TextBasicDictionary",
        "TextLastPath",        "TextStartFrequency",  "TextFontName",      "TextFontColor",
        "TextFontCharset",     "TextFontSize",        "TextFontFSBold",    "TextFontFSItalic",
        "TextFontFSUnderline", "TextFontFSStrikeout", "TextTopWords",      ""};
    EXPECT_EQ(rec.writes, expected);
    EXPECT_EQ(rec.writesOutsideBatch, 0);
    EXPECT_EQ(rec.batchesEnded, 1);
    EXPECT_TRUE(rec.KeyExists(kPupil));
    EXPECT_EQ(rec.ReadInt(kPupil, "LearningTop"), kLearningDesignedTop);
    EXPECT_EQ(rec.ReadInt(kPupil, "LearningEnterAuto"), 1);
    EXPECT_EQ(rec.ReadString(kPupil, "TextFontName"), "Courier New");

    RecordingRegistry card;
    SaveCardSettings(card, kPupil, CardSettings{});
    EXPECT_EQ(card.writes, (std::vector<std::string>{"CardTop", "CardLeft", "CardHeight", "CardWidth",
                                                     "ColorCard_Transl", "ColorForm_Card"}));
    EXPECT_EQ(card.writesOutsideBatch, 0);
    EXPECT_EQ(card.ReadInt(kPupil, "ColorForm_Card"), colors::kSkyBlue);
}

TEST(SettingsLoad, CardBoundsEndBothGroupsAColourOnlyTheColours)
{
    auto reg = MakeMemoryRegistry();
    CardSettings stored{10, 20, 60, 300, 1, 2};
    SaveCardSettings(*reg, kPupil, stored);
    reg->DeleteValue(kPupil, "ColorCard_Transl");
    CardSettings c;
    CardLoadResult r = LoadCardSettings(*reg, kPupil, c);
    EXPECT_EQ(r.groupD, 4);
    EXPECT_EQ(r.groupE, 0);
    EXPECT_EQ(c.Width, 300);
    EXPECT_EQ(c.ColorForm_Card, colors::kSkyBlue);

    reg->DeleteValue(kPupil, "CardHeight");
    CardSettings d;
    r = LoadCardSettings(*reg, kPupil, d);
    EXPECT_EQ(r.groupD, 2);
    EXPECT_EQ(d.Left, 20);
    EXPECT_EQ(d.Height, 44);
    EXPECT_EQ(d.Width, 237);
    EXPECT_EQ(d.ColorForm_Card, colors::kSkyBlue);
}

TEST(LearningTop, ParkedOnlyAtStartWithTheTrayOptionAndNeverLost)
{
    LearningLoadResult all{true, 19, 14, 14};
    LearningSettings s;
    s.Top = 250;

    TopPlacement p = PlaceLearningTop(all, s, false, 104);
    EXPECT_TRUE(p.park);
    EXPECT_EQ(p.top, kParkedTop);
    EXPECT_EQ(p.savedTop, 250);

    p = PlaceLearningTop(all, s, true, 104);
    EXPECT_FALSE(p.park);
    EXPECT_EQ(p.top, 250);

    s.CB_StartTray = false;
    p = PlaceLearningTop(all, s, false, 104);
    EXPECT_FALSE(p.park);
    EXPECT_EQ(p.top, 250);

    // The tray option read but no stored top: parked, and it comes back where it was.
    s.CB_StartTray = true;
    p = PlaceLearningTop(LearningLoadResult{true, 2, 0, 0}, s, false, 104);
    EXPECT_TRUE(p.park);
    EXPECT_EQ(p.savedTop, 104);

    // Nothing read: the window stays where it is.
    p = PlaceLearningTop(LearningLoadResult{true, 1, 0, 0}, s, false, 104);
    EXPECT_FALSE(p.park);
    EXPECT_EQ(p.top, 104);
    p = PlaceLearningTop(LearningLoadResult{}, s, false, 104);
    EXPECT_FALSE(p.park);

    EXPECT_EQ(StoredLearningTop(kParkedTop, 250), 250);
    EXPECT_EQ(StoredLearningTop(-999, 250), -999);
}

TEST(SettingsSave, UpdatesTheAutostartEntryAfterTheSetting)
{
    vbtest::TempHome home;
    auto reg = MakeMemoryRegistry();
    AutostartTarget target{home.File("autostart/verbanta.desktop"), "/opt/verbanta/bin/verbanta", reg.get()};
    SettingsWindowValues v;
#ifdef _WIN32
    // There the entry is the Run value, in a key that Windows always has.
    ASSERT_TRUE(reg->CreateKey(kAutostartRunKey));
    const auto entryExists = [&] { return reg->ReadString(kAutostartRunKey, kAutostartValueName).has_value(); };
#else
    const auto entryExists = [&] { return FileExists(target.entryPath); };
#endif
    EXPECT_TRUE(SaveSettings(*reg, kPupil, v, &target));
    EXPECT_TRUE(entryExists());
    v.CB_Start = false;
    SaveSettings(*reg, kPupil, v, &target);
    EXPECT_FALSE(entryExists());
    EXPECT_EQ(reg->ReadInt(kPupil, "SetCB_Start"), 0);
}
