// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/autostart.h"

#include "common/files.h"
#include "common/registry.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

using namespace vb;

TEST(XdgAutostart, EntryStartsTheExecutableWithItsPathQuotedWhenNeeded)
{
    EXPECT_EQ(XdgAutostartEntryText("/usr/bin/verbanta"), "[Desktop Entry]\n"
                                                          "Type=Application\n"
                                                          "Name=Verbanta\n"
                                                          "Exec=/usr/bin/verbanta\n"
                                                          "Terminal=false\n"
                                                          "X-GNOME-Autostart-enabled=true\n");
    auto exec = [](const std::string& path) {
        std::string text = XdgAutostartEntryText(path);
        auto begin = text.find("Exec=") + 5;
        return text.substr(begin, text.find('\n', begin) - begin);
    };
    EXPECT_EQ(exec("/home/ann/Мои программы/verbanta"), "\"/home/ann/Мои программы/verbanta\"");
    // Inside quotes ", `, $ and \ are escaped; then \ once more for the entry's string value, and % doubled.
    EXPECT_EQ(exec("/x/a\"b$c`d\\e"), "\"/x/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e\"");
    EXPECT_EQ(exec("/x/100%/verbanta"), "/x/100%%/verbanta");
    // A path that cannot stand on one line gives no entry.
    EXPECT_EQ(XdgAutostartEntryText("/x/a\nExec=rm"), "");
    EXPECT_EQ(XdgAutostartEntryText(""), "");
}

TEST(XdgAutostart, WrittenWithItsFolderAndRemovedAgain)
{
    vbtest::TempHome home;
    const std::string entry = home.File("config/autostart/verbanta.desktop");
    EXPECT_TRUE(UpdateXdgAutostart(entry, "/usr/bin/verbanta", true));
    EXPECT_EQ(vbtest::ReadBytes(entry), XdgAutostartEntryText("/usr/bin/verbanta"));
    // A moved program rewrites the entry.
    EXPECT_TRUE(UpdateXdgAutostart(entry, "/opt/verbanta", true));
    EXPECT_EQ(vbtest::ReadBytes(entry), XdgAutostartEntryText("/opt/verbanta"));
    EXPECT_TRUE(UpdateXdgAutostart(entry, "/opt/verbanta", false));
    EXPECT_FALSE(FileExists(entry));
    // Removing what is not there is no failure.
    EXPECT_TRUE(UpdateXdgAutostart(entry, "/opt/verbanta", false));
    // A bad path leaves an existing entry alone.
    EXPECT_TRUE(UpdateXdgAutostart(entry, "/opt/verbanta", true));
    EXPECT_FALSE(UpdateXdgAutostart(entry, "/opt/\nverbanta", true));
    EXPECT_EQ(vbtest::ReadBytes(entry), XdgAutostartEntryText("/opt/verbanta"));
}

TEST(XdgAutostart, AFolderThatCannotBeMadeIsAFailure)
{
    vbtest::TempHome home;
    vbtest::WriteBytes(home.File("blocker"), "a file, not a folder");
    EXPECT_FALSE(UpdateXdgAutostart(home.File("blocker/autostart/verbanta.desktop"), "/usr/bin/verbanta", true));
}

TEST(RunValue, FollowsTheSettingOnlyInAnExistingKey)
{
    auto reg = MakeMemoryRegistry();
    EXPECT_FALSE(UpdateRunValue(*reg, "C:\\Verbanta\\verbanta.exe", true));
    EXPECT_FALSE(reg->KeyExists(kAutostartRunKey));

    reg->CreateKey(kAutostartRunKey);
    reg->WriteString(kAutostartRunKey, "Other", "other.exe");
    EXPECT_TRUE(UpdateRunValue(*reg, "C:\\Verbanta\\verbanta.exe", true));
    EXPECT_EQ(reg->ReadString(kAutostartRunKey, "Verbanta"), "C:\\Verbanta\\verbanta.exe");
    EXPECT_TRUE(UpdateRunValue(*reg, "C:\\Verbanta\\verbanta.exe", false));
    EXPECT_FALSE(reg->ReadString(kAutostartRunKey, "Verbanta"));
    EXPECT_EQ(reg->ReadString(kAutostartRunKey, "Other"), "other.exe");
    EXPECT_TRUE(UpdateRunValue(*reg, "C:\\Verbanta\\verbanta.exe", false));
}
