// SPDX-License-Identifier: GPL-3.0-or-later
// The Platinum 2002 index dic.txt: how its lines are read, how a text finds its entry and where the
// entry's WAV file lies, and that damaged files fail quietly.

#include "common/codepage.h"
#include "engine/settings.h"
#include "support/temp_home.h"
#include "support/voice_fakes.h"
#include "voice/pronunciation.h"
#include "voice/sound_library.h"

#include <gtest/gtest.h>

using namespace vb;

TEST(LibraryIndex, ReadsFourSpaceSeparatedFields)
{
    LibraryIndex index;
    index.Parse("good_morning a 12 345 extra words\r\n"
                "\r\n"
                "   \t  \r\n"
                "   hello X 7 1\n"
                "cat  1234\r"
                "dog\r\n");
    ASSERT_EQ(index.Count(), 4u);
    const auto& e = index.Entries();
    EXPECT_EQ(e[0].Key, "GOOD_MORNING");
    EXPECT_EQ(e[0].Second, "A");
    EXPECT_EQ(e[0].Folder, "012");
    EXPECT_EQ(e[0].FileNo, "345");
    EXPECT_EQ(e[1].Key, "HELLO");
    EXPECT_EQ(e[1].Folder, "007");
    // Two spaces make an empty field; three or more digits stay as they are.
    EXPECT_EQ(e[2].Second, "");
    EXPECT_EQ(e[2].Folder, "1234");
    EXPECT_EQ(e[2].FileNo, "");
    EXPECT_EQ(e[3].Key, "DOG");
    EXPECT_EQ(e[3].Folder, "");
}

TEST(LibraryIndex, KeysAreUpperCasedIn1251AndFoundWithUnderscores)
{
    LibraryIndex index;
    index.Parse(Utf8ToCp1251("ёлка x 1 1\r\nGOOD_MORNING A 12 345\r\ngood_morning b 13 346\r\n"));
    EXPECT_EQ(index.Entries()[0].Key, Utf8ToCp1251("ЁЛКА"));
    EXPECT_EQ(LibraryKey("good morning!"), "GOOD_MORNING");
    EXPECT_EQ(LibraryKey("good morning (greeting)"), "GOOD_MORNING");
    // Two lines with one key: both, in file order.
    EXPECT_EQ(index.Find(LibraryKey("good morning")), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(index.Find(LibraryKey("Ёлка")), (std::vector<std::size_t>{0}));
    EXPECT_TRUE(index.Find("GOOD").empty());
}

TEST(LibraryIndex, WavPathIsBesideTheIndexFolder)
{
    TLibraryEntry entry{"GOOD_MORNING", "A", "012", "345"};
    EXPECT_EQ(LibraryWavPath(vbtest::NativePath("/lib/Base/dic.txt"), entry),
              vbtest::NativePath("/lib/DIC012/DIC345.wav"));
    // Fields that would step out of the library's folders find nothing.
    entry.Folder = "/../../etc";
    EXPECT_EQ(LibraryWavPath("/lib/Base/dic.txt", entry), "");
    entry.Folder = "012";
    entry.FileNo = std::string("1\0/x", 4);
    EXPECT_EQ(LibraryWavPath("/lib/Base/dic.txt", entry), "");
}

TEST(LibraryIndex, HostileFilesLoadWithoutHarm)
{
    vbtest::TempHome home;
    LibraryIndex index;
    // NUL bytes and a line of a megabyte.
    std::string text = std::string("A\0B x 1 2\r\n", 11) + std::string(1 << 20, 'Q') + " x 1 2\r\nCAT x 3 4\r\n";
    vbtest::WriteBytes(home.File("base/dic.txt"), text);
    index.Load(home.File("base/dic.txt"));
    ASSERT_EQ(index.Count(), 3u);
    EXPECT_EQ(index.Entries()[0].Key, std::string("A\0B", 3));
    EXPECT_EQ(index.Entries()[1].Key.size(), 1u << 20);
    EXPECT_EQ(index.Find("CAT"), (std::vector<std::size_t>{2}));

    // A folder, a missing file and an empty path give an empty index.
    index.Load(home.File("base"));
    EXPECT_EQ(index.Count(), 0u);
    index.Load(home.File("none.txt"));
    index.Load("");
    EXPECT_EQ(index.Count(), 0u);
}

TEST(LibraryIndex, FirstEntryWithAnExistingFileIsPlayed)
{
    vbtest::TempHome home;
    auto log = std::make_shared<vbtest::SoundLog>();
    vbtest::FakePlayer player{log};
    vbtest::FakeSpeech speech{log};
    Pronouncer pronouncer{player, speech, home.File("tmp.wav")};
    SettingsWindowValues values;
    values.CB_Voice = true;
    values.RG_Voice.Set(1);
    values.ED_LibWAVTransl = home.File("lib/Base/dic.txt");
    vbtest::WriteBytes(values.ED_LibWAVTransl, Utf8ToCp1251("ДОБРОЕ_УТРО A 12 345\r\nДОБРОЕ_УТРО A 12 346\r\n"));
    vbtest::WriteBytes(home.File("lib/DIC012/DIC346.wav"), "RIFF");

    pronouncer.Pronounce(values, "доброе утро", false);
    EXPECT_TRUE(log->calls.empty()); // the index is loaded only when asked
    pronouncer.LoadLibraryIndexes(values);
    pronouncer.Pronounce(values, "доброе утро", false);
    pronouncer.Pronounce(values, "доброе утро", true); // words have no library
    EXPECT_EQ(log->calls, (std::vector<std::string>{"play " + home.File("lib/DIC012/DIC346.wav")}));
}
