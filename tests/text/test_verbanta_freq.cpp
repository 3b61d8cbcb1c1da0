// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line builder as a user runs it: its options, its messages and its exit status.

#include "common/files.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

using vbtest::ReadBytes;
using vbtest::WriteBytes;

class VerbantaFreq : public ::testing::Test
{
protected:
    // Runs the tool with `args`; returns its exit status and keeps what it said.
    int Run(const std::string& args)
    {
        const std::string said = home.File("said.txt");
        const std::string command = std::string(VB_FREQ_EXE_PATH) + " " + args + " > " + said + " 2>&1";
        const int status = std::system(command.c_str());
        output = ReadBytes(said);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string File(const std::string& name) const { return home.File(name); }

    vbtest::TempHome home;
    std::string output;
};

TEST_F(VerbantaFreq, BuildsFromUtf8WithThePagesDefaults)
{
    // UTF-8 is counted as 1251; "♥" has no 1251 form and separates words.
    WriteBytes(File("t.txt"), "Ёж ёж♥ЁЖ cat\nCat dog");
    WriteBytes(File("basic.lqd"), "cat|\xEA\xEE\xF8\xEA\xE0\r\n");
    ASSERT_EQ(Run(File("t.txt") + " " + File("all.lqd")), 0) << output;
    EXPECT_EQ(ReadBytes(File("all.lqd")), "cat|||\r\ndog|||\r\n\xA8\xE6|||\r\n");

    ASSERT_EQ(Run(File("t.txt") + " " + File("basic-only.lqd") + " --basic " + File("basic.lqd")), 0) << output;
    EXPECT_EQ(ReadBytes(File("basic-only.lqd")), "cat|\xEA\xEE\xF8\xEA\xE0||\r\n");

    ASSERT_EQ(Run(File("t.txt") + " " + File("freq.lqd") + " --basic " + File("basic.lqd") +
                  " --all-words --show-stat --sort freq --min 2"),
              0)
        << output;
    EXPECT_EQ(ReadBytes(File("freq.lqd")), "\xA8\xE6|||(3) \r\ncat|\xEA\xEE\xF8\xEA\xE0||(2) \r\n");

    ASSERT_EQ(Run(File("t.txt") + " " + File("top.lqd") + " --all-words --sort freq --top 2"), 0) << output;
    EXPECT_EQ(ReadBytes(File("top.lqd")), "\xA8\xE6|||\r\ncat|||\r\n");
    EXPECT_EQ(Run(File("t.txt") + " " + File("top.lqd") + " --top 0"), 2);
}

TEST_F(VerbantaFreq, MissingFilesAndBadOptionsFailWithAMessage)
{
    WriteBytes(File("out.lqd"), "old");
    EXPECT_EQ(Run(File("missing.txt") + " " + File("out.lqd")), 1);
    EXPECT_NE(output.find("missing.txt"), std::string::npos) << output;

    WriteBytes(File("t.txt"), "word");
    EXPECT_EQ(Run(File("t.txt") + " " + File("out.lqd") + " --basic " + File("nobasic.lqd")), 1);
    EXPECT_NE(output.find("nobasic.lqd"), std::string::npos) << output;
    EXPECT_EQ(Run(File("t.txt") + " " + File("no/folder/out.lqd")), 1);
    EXPECT_NE(output.find("no/folder/out.lqd"), std::string::npos) << output;
    EXPECT_FALSE(vb::FileExists(File("no/folder/out.lqd")));

    WriteBytes(File("empty.txt"), "1999 -- !");
    EXPECT_EQ(Run(File("empty.txt") + " " + File("out.lqd")), 1);

    EXPECT_EQ(Run(File("t.txt") + " " + File("out.lqd") + " --min 0"), 2);
    EXPECT_EQ(Run(File("t.txt") + " " + File("out.lqd") + " --sort size"), 2);
    EXPECT_EQ(Run(File("t.txt")), 2);
    // Nothing of the above touched the old file.
    EXPECT_EQ(ReadBytes(File("out.lqd")), "old");
}

} // namespace
