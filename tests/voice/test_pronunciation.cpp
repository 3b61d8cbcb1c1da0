// SPDX-License-Identifier: GPL-3.0-or-later
// Pronounce: which source is tried when, what each source looks for, and what reaches the player and the
// speech engine.

#include "common/codepage.h"
#include "common/files.h"
#include "engine/settings.h"
#include "support/temp_home.h"
#include "support/voice_fakes.h"
#include "voice/pronunciation.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <string>

using namespace vb;
using vbtest::FakePlayer;
using vbtest::FakeSpeech;
using vbtest::SoundLog;

namespace {

// The source rule as the settings describe it, step by step: the first source is the folder, library or
// synthesis (in that order) with priority 1, else 2, else 3; after a failure comes the source with the
// next higher number after the failed one, an equal number only when it stands later.
std::vector<SoundSource> OrderByStepping(int dir, int lib, int synt)
{
    const std::array<int, 3> pos{dir, lib, synt};
    std::vector<SoundSource> order;
    int current = -1;
    for (int i = 1; i <= 3 && current < 0; ++i) {
        for (int s = 0; s < 3 && current < 0; ++s) {
            if (pos[static_cast<std::size_t>(s)] == i) {
                current = s;
            }
        }
    }
    while (current >= 0) {
        order.push_back(static_cast<SoundSource>(current));
        int next = -1;
        const int p = pos[static_cast<std::size_t>(current)];
        for (int s = current + 1; s < 3 && next < 0; ++s) {
            if (pos[static_cast<std::size_t>(s)] == p) {
                next = s;
            }
        }
        for (int q = p + 1; q <= 3 && next < 0; ++q) {
            for (int s = 0; s < 3 && next < 0; ++s) {
                if (pos[static_cast<std::size_t>(s)] == q) {
                    next = s;
                }
            }
        }
        current = next;
    }
    return order;
}

struct PronounceTest : ::testing::Test
{
    vbtest::TempHome home;
    std::shared_ptr<SoundLog> log = std::make_shared<SoundLog>();
    FakePlayer player{log};
    FakeSpeech speech{log, {{"kal", "en", "English"}, {"Irina", "ru", "Russian"}}};
    Pronouncer pronouncer{player, speech, home.File("tmp.wav")};
    SettingsWindowValues values;

    PronounceTest()
    {
        values.CB_Voice = true;
        speech.SelectVoice(true, 0);
        speech.SelectVoice(false, 1);
        log->calls.clear();
    }

    std::string Folder(const std::string& name) const { return home.File(name); }
    void Pronounce(const std::string& text, bool isWord = true) { pronouncer.Pronounce(values, text, isWord); }
};

std::string PackEntry(const std::string& name, std::uint32_t size, std::uint32_t offset)
{
    std::string e(1, static_cast<char>(name.size()));
    e += name;
    for (std::uint32_t v : {size, offset}) {
        for (int b = 0; b < 4; ++b) {
            e += static_cast<char>((v >> (8 * b)) & 0xFF);
        }
    }
    return e;
}

std::string U32(std::uint32_t v)
{
    std::string s;
    for (int b = 0; b < 4; ++b) {
        s += static_cast<char>((v >> (8 * b)) & 0xFF);
    }
    return s;
}

// A pack of named sounds, each sound being its own name's bytes repeated.
std::string BuildPack(const std::vector<std::string>& names)
{
    std::string directory;
    std::string data;
    for (const std::string& n : names) {
        directory += PackEntry(n, static_cast<std::uint32_t>(n.size() * 2), static_cast<std::uint32_t>(data.size()));
        data += n + n;
    }
    const auto dataStart = static_cast<std::uint32_t>(16 + directory.size());
    return U32(dataStart) + U32(static_cast<std::uint32_t>(names.size())) + std::string(8, 'x') + directory + data;
}

} // namespace

TEST(SourceOrder, EveryPriorityCombinationFollowsTheSteppingRule)
{
    for (int dir = 0; dir <= 3; ++dir) {
        for (int lib = 0; lib <= 3; ++lib) {
            for (int synt = 0; synt <= 3; ++synt) {
                EXPECT_EQ(SourceOrder(3, dir, lib, synt), OrderByStepping(dir, lib, synt))
                    << dir << " " << lib << " " << synt;
            }
        }
    }
    using S = SoundSource;
    EXPECT_EQ(SourceOrder(3, 1, 2, 3), (std::vector<S>{S::Folder, S::Library, S::Synthesis}));
    EXPECT_EQ(SourceOrder(3, 1, 3, 2), (std::vector<S>{S::Folder, S::Synthesis, S::Library}));
    EXPECT_EQ(SourceOrder(3, 2, 2, 1), (std::vector<S>{S::Synthesis, S::Folder, S::Library}));
    EXPECT_EQ(SourceOrder(3, 0, 3, 0), (std::vector<S>{S::Library}));
    EXPECT_TRUE(SourceOrder(3, 0, 0, 0).empty());
    // A single-source scheme ignores the priorities, even a 0.
    EXPECT_EQ(SourceOrder(0, 0, 0, 0), (std::vector<S>{S::Folder}));
    EXPECT_EQ(SourceOrder(1, 3, 0, 1), (std::vector<S>{S::Library}));
    EXPECT_EQ(SourceOrder(2, 1, 1, 0), (std::vector<S>{S::Synthesis}));
    EXPECT_TRUE(SourceOrder(4, 1, 2, 3).empty());
}

TEST(SoundName, DropsParensAndPunctuationAndJoinsWords)
{
    EXPECT_EQ(SoundName("ice-cream (dessert)"), "ice-cream");
    EXPECT_EQ(SoundName("good morning!"), "good_morning");
    EXPECT_EQ(PackSoundName("good morning!"), "GOOD_MORNING.WAV");
    // Only ASCII letters are upper-cased for the pack: Cyrillic stays as it is.
    EXPECT_EQ(PackSoundName("кот a"), Utf8ToCp1251("кот_A.WAV")); // the pack's names are 1251
    EXPECT_EQ(FolderWithoutTrailingSeparator("/snd/"), "/snd");
    EXPECT_EQ(FolderWithoutTrailingSeparator("C:\\snd\\"), "C:\\snd");
    EXPECT_EQ(FolderWithoutTrailingSeparator("/snd"), "/snd");
}

TEST_F(PronounceTest, FolderFileIsPlayedWithAnyTrailingSeparator)
{
    vbtest::WriteBytes(Folder("en/good_morning.wav"), "RIFF");
    for (const std::string& folder : {Folder("en"), Folder("en/"), Folder("en") + "\\"}) {
        values.ED_DirWAVWord = folder;
        Pronounce("good morning");
    }
    const std::string expected = "play " + Folder("en/good_morning.wav");
    EXPECT_EQ(log->calls, (std::vector<std::string>{expected, expected, expected}));
}

TEST_F(PronounceTest, SwitchedOffOrEmptyTouchesNoSource)
{
    vbtest::WriteBytes(Folder("en/cat.wav"), "RIFF");
    values.ED_DirWAVWord = Folder("en");
    values.CBx_SyntWord = "kal";
    values.CB_Voice = false;
    Pronounce("cat");
    values.CB_Voice = true;
    Pronounce("");
    // Every priority 0: nothing at all.
    values.SE_PosDir.Set(0);
    values.SE_PosLib.Set(0);
    values.SE_PosSynt.Set(0);
    Pronounce("cat");
    EXPECT_TRUE(log->calls.empty());
}

TEST_F(PronounceTest, FailedSourceHandsOnInPriorityOrder)
{
    // The library knows "dog" and has its file; the folder has nothing.
    vbtest::WriteBytes(Folder("lib/base/dic.txt"), "DOG X 1 5\r\n");
    vbtest::WriteBytes(Folder("lib/DIC001/DIC5.wav"), "RIFF");
    values.ED_DirWAVWord = Folder("en");
    values.ED_LibWAVWord = Folder("lib/base/dic.txt");
    values.CBx_SyntWord = "kal";
    pronouncer.LoadLibraryIndexes(values);

    // Folder 1, synthesis 2, library 3: speech takes over, the library is never reached.
    values.SE_PosDir.Set(1);
    values.SE_PosSynt.Set(2);
    values.SE_PosLib.Set(3);
    Pronounce("dog (pet)");
    // Folder 2, library 1, synthesis 3: the library plays.
    values.SE_PosDir.Set(2);
    values.SE_PosLib.Set(1);
    values.SE_PosSynt.Set(3);
    Pronounce("dog");
    // A word the library lacks goes on to the folder, then to speech.
    Pronounce("cow");
    // "только библиотека": a miss is silence.
    values.RG_Voice.Set(1);
    Pronounce("cow");
    EXPECT_EQ(log->calls,
              (std::vector<std::string>{"say word dog", "play " + Folder("lib/DIC001/DIC5.wav"), "say word cow"}));
}

// Folders copied from Windows keep the case of their day: a name is found whatever its letter case.
TEST_F(PronounceTest, SoundFilesAndLibraryFoldersAreFoundIgnoringLetterCase)
{
#ifdef _WIN32
    GTEST_SKIP() << "the file system ignores letter case itself";
#endif
    vbtest::WriteBytes(Folder("en/hello.wav"), "RIFF");
    vbtest::WriteBytes(Folder("en/Привет_мир.WAV"), "RIFF");
    vbtest::WriteBytes(Folder("en/mädchen.wav"), "RIFF");
    vbtest::WriteBytes(Folder("en/SOUND.PAK"), BuildPack({"CAT.WAV"}));
    vbtest::WriteBytes(Folder("lib/base/dic.txt"), "DOG X 7 5\r\n");
    vbtest::WriteBytes(Folder("lib/dic007/dic5.wav"), "RIFF");
    values.ED_DirWAVWord = Folder("en");
    values.ED_LibWAVWord = Folder("lib/base/dic.txt");
    values.RG_Voice.Set(0);
    Pronounce("Hello");
    Pronounce("ПРИВЕТ мир");
    Pronounce("MÄDCHEN"); // a letter 1251 lacks, by Unicode's case
    Pronounce("cat"); // from the pack
    Pronounce("mouse"); // nowhere
    values.RG_Voice.Set(1);
    pronouncer.LoadLibraryIndexes(values);
    Pronounce("dog");
    EXPECT_EQ(log->calls,
              (std::vector<std::string>{"play " + Folder("en/hello.wav"), "play " + Folder("en/Привет_мир.WAV"),
                                        "play " + Folder("en/mädchen.wav"), "play " + Folder("tmp.wav"),
                                        "play " + Folder("lib/dic007/dic5.wav")}));
}

TEST(CaseInsensitiveFiles, ListsAFolderOnceAndAgainOnlyWhenItChanges)
{
#ifdef _WIN32
    GTEST_SKIP() << "the file system ignores letter case itself";
#endif
    vbtest::TempHome home;
    const std::string folder = home.File("snd");
    vbtest::WriteBytes(home.File("snd/Apple.wav"), "x");
    vbtest::WriteBytes(home.File("snd/APPLE.WAV"), "x");
    vbtest::WriteBytes(home.File("snd/pear.wav"), "x");
    // A folder that has been quiet for a while: its listing is trusted until the folder changes.
    std::filesystem::last_write_time(folder, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    CaseInsensitiveFiles files;
    EXPECT_EQ(files.Find(folder, "pear.wav"), home.File("snd/pear.wav")); // as written: no listing
    EXPECT_EQ(files.Listings(), 0u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(files.Find(folder, "apple.wav"), home.File("snd/APPLE.WAV")); // first in byte order
        EXPECT_EQ(files.Find(folder, "plum.wav"), "");
    }
    EXPECT_EQ(files.Listings(), 1u);
    vbtest::WriteBytes(home.File("snd/PLUM.wav"), "x");
    EXPECT_EQ(files.Find(folder, "plum.wav"), home.File("snd/PLUM.wav"));
    EXPECT_EQ(files.Listings(), 2u);
    EXPECT_EQ(files.Find(home.File("missing"), "a.wav"), "");
    EXPECT_EQ(files.Find(folder, ""), "");
}

TEST_F(PronounceTest, SpeechNeedsANameAndAnEngineForItsSide)
{
    values.RG_Voice.Set(2);
    values.CBx_SyntTransl = "Irina";
    Pronounce("кошка (животное)", false);
    Pronounce("cat", true); // no voice named for words
    values.CBx_SyntWord = "gone";
    speech.SelectVoice(true, -1); // a stored voice that is not installed
    Pronounce("cat", true);
    Pronounce("(only a note)", false);
    EXPECT_EQ(log->calls, (std::vector<std::string>{"say transl кошка", "voice word -"}));
}

TEST_F(PronounceTest, FolderFallsBackToItsPackThroughTmpWav)
{
    vbtest::WriteBytes(Folder("en/sound.pak"), BuildPack({"cat.wav", "GOOD_MORNING.wav", "dog.WAV"}));
    values.ED_DirWAVWord = Folder("en/");
    values.RG_Voice.Set(0);
    const std::string scratch = home.File("tmp.wav");
    // A read-only scratch file left behind is replaced all the same.
    vbtest::WriteBytes(scratch, "old");
    SetReadOnly(scratch, true);

    Pronounce("good morning");
    EXPECT_EQ(vbtest::ReadBytes(scratch), "GOOD_MORNING.wavGOOD_MORNING.wav");
    Pronounce("dog"); // the last entry
    EXPECT_EQ(vbtest::ReadBytes(scratch), "dog.WAVdog.WAV");
    Pronounce("horse");
    EXPECT_EQ(log->calls, (std::vector<std::string>{"play " + scratch, "play " + scratch}));
}

TEST_F(PronounceTest, UnwritableScratchFileLetsTheNextSourceSpeak)
{
    vbtest::WriteBytes(Folder("en/sound.pak"), BuildPack({"CAT.WAV"}));
    values.ED_DirWAVWord = Folder("en");
    values.CBx_SyntWord = "kal";
    Pronouncer blocked{player, speech, home.File("no-such-folder/tmp.wav")};
    blocked.Pronounce(values, "cat", true);
    EXPECT_EQ(log->calls, (std::vector<std::string>{"say word cat"}));
}

TEST(PackReader, FindsNamesAfterAsciiUpperCasingOnly)
{
    const std::string pack = BuildPack({"HELLO.wav", Utf8ToCp1251("кот.wav"), "last.wav"});
    std::string sound;
    EXPECT_TRUE(FindPackSound(pack, "HELLO.WAV", sound));
    EXPECT_EQ(sound, "HELLO.wavHELLO.wav");
    EXPECT_TRUE(FindPackSound(pack, "LAST.WAV", sound));
    EXPECT_TRUE(FindPackSound(pack, Utf8ToCp1251("кот.WAV"), sound));
    EXPECT_FALSE(FindPackSound(pack, Utf8ToCp1251("КОТ.WAV"), sound));
    EXPECT_FALSE(FindPackSound(pack, "HELLO", sound));
}

TEST(PackReader, DamagedPacksFailCleanly)
{
    std::string sound;
    const std::string good = BuildPack({"A.WAV", "B.WAV"});
    ASSERT_TRUE(FindPackSound(good, "B.WAV", sound));

    // Truncated anywhere: in the header, in the directory, in the sound.
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{16}, std::size_t{24}, good.size() - 1}) {
        EXPECT_FALSE(FindPackSound(good.substr(0, cut), "B.WAV", sound)) << cut;
        EXPECT_TRUE(sound.empty());
    }
    // The entry count reaches past the file.
    std::string manyEntries = good;
    manyEntries.replace(4, 4, U32(0xFFFFFFFF));
    EXPECT_FALSE(FindPackSound(manyEntries, "C.WAV", sound));
    // The entry count stops before the entry.
    std::string oneEntry = good;
    oneEntry.replace(4, 4, U32(1));
    EXPECT_FALSE(FindPackSound(oneEntry, "B.WAV", sound));
    // A name longer than 60 bytes.
    const std::string longName(61, 'N');
    EXPECT_FALSE(FindPackSound(BuildPack({longName, "B.WAV"}), "B.WAV", sound));
    EXPECT_TRUE(FindPackSound(BuildPack({std::string(60, 'N')}), std::string(60, 'N'), sound));
    // Sounds outside the file: a data start, an offset or a size too large, and their sum overflowing
    // 32 bits.
    const std::string header = U32(16 + 9 + 5) + U32(1) + std::string(8, 'x');
    EXPECT_TRUE(FindPackSound(header + PackEntry("B.WAV", 4, 0) + "RIFF", "B.WAV", sound));
    EXPECT_FALSE(FindPackSound(header + PackEntry("B.WAV", 5, 0) + "RIFF", "B.WAV", sound));
    EXPECT_FALSE(FindPackSound(header + PackEntry("B.WAV", 4, 1) + "RIFF", "B.WAV", sound));
    EXPECT_FALSE(FindPackSound(header + PackEntry("B.WAV", 0xFFFFFFFF, 0xFFFFFFFF) + "RIFF", "B.WAV", sound));
    EXPECT_FALSE(FindPackSound(U32(0xFFFFFFFF) + U32(1) + std::string(8, 'x') + PackEntry("B.WAV", 4, 2) + "RIFF",
                               "B.WAV", sound));
    EXPECT_FALSE(FindPackSound(header + PackEntry("B.WAV", 0, 0) + "RIFF", "B.WAV", sound));
}

TEST(PackReader, ReadsFromDiskOnlyRegularFiles)
{
    vbtest::TempHome home;
    vbtest::WriteBytes(home.File("p/sound.pak"), BuildPack({"A.WAV", "B.WAV"}));
    std::string sound;
    EXPECT_TRUE(ReadPackSound(home.File("p/sound.pak"), "B.WAV", sound));
    EXPECT_EQ(sound, "B.WAVB.WAV");
    EXPECT_FALSE(ReadPackSound(home.File("p"), "B.WAV", sound));
    EXPECT_FALSE(ReadPackSound(home.File("p/none.pak"), "B.WAV", sound));
}
