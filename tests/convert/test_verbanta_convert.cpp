// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line converter as a user runs it: formats from names, options, messages, exit status.

#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

using vbtest::ReadBytes;
using vbtest::WriteBytes;

class VerbantaConvert : public ::testing::Test
{
protected:
    int Run(const std::string& args)
    {
        const std::string said = home.File("said.txt");
        const std::string command = std::string(VB_CONVERT_EXE_PATH) + " " + args + " > " + said + " 2>&1";
        const int status = std::system(command.c_str());
        output = ReadBytes(said);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string File(const std::string& name) const { return home.File(name); }

    vbtest::TempHome home;
    std::string output;
};

TEST_F(VerbantaConvert, ConvertsByExtensionAndByOption)
{
    WriteBytes(File("cards.txt"), "id\tfront\tback\n1\tdog\tсобака\n2\tStraße\tулица\n3\tcat\tкошка\n");
    ASSERT_EQ(Run(File("cards.txt") + " " + File("cards.lqd") +
                  " --from csv --separator tab --header --columns -,word,translation --limit 2"),
              0)
        << output;
    EXPECT_EQ(ReadBytes(File("cards.lqd")), "\xEF\xBB\xBF"
                                            "dog|собака\r\nStraße|улица\r\n");

    ASSERT_EQ(Run(File("cards.lqd") + " " + File("cards.kvtml")), 0) << output;
    ASSERT_EQ(Run(File("cards.kvtml") + " " + File("back.tsv")), 0) << output;
    EXPECT_EQ(ReadBytes(File("back.tsv")), "\xEF\xBB\xBF"
                                           "dog\tсобака\t\t\r\nStraße\tулица\t\t\r\n");
    ASSERT_EQ(Run(File("back.tsv") + " " + File("out.data") + " --to lqd"), 0) << output;
    EXPECT_EQ(ReadBytes(File("out.data")), ReadBytes(File("cards.lqd")));
}

TEST_F(VerbantaConvert, FailuresNameTheFileAndLeaveTheOutputAlone)
{
    WriteBytes(File("out.lqd"), "old");
    WriteBytes(File("broken.kvtml"), "<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\">\n<entries>\n");
    EXPECT_EQ(Run(File("broken.kvtml") + " " + File("out.lqd")), 1);
    EXPECT_NE(output.find("broken.kvtml: строка 4"), std::string::npos) << output;
    EXPECT_EQ(Run(File("missing.csv") + " " + File("out.lqd")), 1);
    EXPECT_NE(output.find("missing.csv"), std::string::npos) << output;
    WriteBytes(File("empty.csv"), "\n\n");
    EXPECT_EQ(Run(File("empty.csv") + " " + File("out.lqd")), 1);
    WriteBytes(File("tick.csv"), "a`|b,x\n");
    EXPECT_EQ(Run(File("tick.csv") + " " + File("out.lqd")), 1);
    EXPECT_NE(output.find("запись 1"), std::string::npos) << output;
    EXPECT_EQ(ReadBytes(File("out.lqd")), "old");

    EXPECT_EQ(Run(File("a.csv")), 2);
    EXPECT_EQ(Run(File("a.txt") + " " + File("b.lqd")), 2); // no format from ".txt"
    EXPECT_EQ(Run(File("a.csv") + " " + File("b.index")), 2); // DICT is read only
    EXPECT_EQ(Run(File("a.csv") + " " + File("b.lqd") + " --columns word,meaning"), 2);
    EXPECT_EQ(Run(File("a.csv") + " " + File("b.lqd") + " --limit 0"), 2);
    EXPECT_EQ(Run(File("a.kvtml") + " " + File("b.lqd") + " --pair 1"), 2);
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(output.find("--columns"), std::string::npos);
}

} // namespace
