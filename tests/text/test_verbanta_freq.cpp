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
    // Runs the tool with `args`; returns its exit status and keeps what it said (both streams in
    // `output`, the standard error alone in `errors`).
    int Run(const std::string& args)
    {
        const std::string said = home.File("said.txt");
        const std::string complained = home.File("complained.txt");
        const std::string command = "{ " + std::string(VB_FREQ_EXE_PATH) + " " + args + " 2>&1 1>&3 | tee " +
                                    complained + "; } > " + said + " 3>&1";
        const int status = std::system(("bash -o pipefail -c '" + command + "'").c_str());
        output = ReadBytes(said);
        errors = ReadBytes(complained);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string File(const std::string& name) const { return home.File(name); }

    vbtest::TempHome home;
    std::string output;
    std::string errors;
};

TEST_F(VerbantaFreq, BuildsFromUtf8WithThePagesDefaults)
{
    // Every word fits 1251, so the dictionary is 1251; "♥" is a symbol and separates words.
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

TEST_F(VerbantaFreq, DosTextIsGuessedAsThePageDoesAndAnEmptyResultIsSaid)
{
    // "Ёж еж дом" in DOS 866: more е, и, н, о letters there than in the 1251 reading.
    WriteBytes(File("dos.txt"), "\xF0\xA6 \xA5\xA6 \xA4\xAE\xAC\r\n");
    ASSERT_EQ(Run(File("dos.txt") + " " + File("dos.lqd") + " --all-words"), 0) << output;
    EXPECT_EQ(ReadBytes(File("dos.lqd")), "\xA8\xE6|||\r\n\xE4\xEE\xEC|||\r\n\xE5\xE6|||\r\n");
    EXPECT_EQ(errors, "");

    // Nothing passes the filter: the file is written empty, the exit status stays 0, stderr says so.
    WriteBytes(File("basic.lqd"), "cat|kot\r\n");
    ASSERT_EQ(Run(File("dos.txt") + " " + File("none.lqd") + " --basic " + File("basic.lqd")), 0) << output;
    EXPECT_EQ(ReadBytes(File("none.lqd")), "");
    EXPECT_NE(errors.find("none.lqd"), std::string::npos) << errors;
    EXPECT_NE(errors.find("пуст"), std::string::npos) << errors;

    EXPECT_EQ(Run("--version"), 0);
    EXPECT_EQ(output, "verbanta-freq " VB_VERSION "\n");
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(output.find("--all-words"), std::string::npos);
    EXPECT_NE(output.find("--version"), std::string::npos);
    EXPECT_EQ(errors, "");
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

namespace {

TEST_F(VerbantaFreq, CountsWordsOfEveryScriptAndWritesUnicodeOnlyWhenNeeded)
{
    const std::string bom = "\xEF\xBB\xBF";
    // German, French and Spanish: each word one entry whatever its letter case (the spelling kept is the
    // one the sort of all words puts first, as for any text).
    WriteBytes(File("de.txt"), "Das Mädchen sah das MÄDCHEN. Übermut! mädchen, Über");
    ASSERT_EQ(Run(File("de.txt") + " " + File("de.lqd") + " --show-stat"), 0) << output;
    EXPECT_EQ(ReadBytes(File("de.lqd")), bom + "das|||(2) \r\nMÄDCHEN|||(3) \r\nsah|||(1) \r\nÜber|||(1) \r\n"
                                               "Übermut|||(1) \r\n");

    WriteBytes(File("fr.txt"), bom + "Le garçon, GARÇON et l'été; Garçon.");
    ASSERT_EQ(Run(File("fr.txt") + " " + File("fr.lqd") + " --sort freq --show-stat"), 0) << output;
    EXPECT_EQ(ReadBytes(File("fr.lqd")), bom + "Garçon|||(3) \r\net|||(1) \r\nl'été|||(1) \r\nLe|||(1) \r\n");

    WriteBytes(File("es.txt"), "¿Una canción? ¡CANCIÓN! La niña canta\r\nla canción.");
    ASSERT_EQ(Run(File("es.txt") + " " + File("es.lqd") + " --min 2 --show-stat"), 0) << output;
    EXPECT_EQ(ReadBytes(File("es.lqd")), bom + "CANCIÓN|||(3) \r\nla|||(2) \r\n");

    // A Russian UTF-8 text gives the 1251 dictionary it always did, a basic 1251 dictionary enriching it.
    WriteBytes(File("ru.txt"), "Ёж и ёж — «ежи» № 5, кошка.");
    WriteBytes(File("basic.lqd"), "\xEA\xEE\xF8\xEA\xE0|cat\r\n");
    ASSERT_EQ(Run(File("ru.txt") + " " + File("ru.lqd") + " --basic " + File("basic.lqd") + " --all-words"), 0)
        << output;
    EXPECT_EQ(ReadBytes(File("ru.lqd")), "\xB8\xE6|||\r\n\xE5\xE6\xE8|||\r\n\xE8|||\r\n\xEA\xEE\xF8\xEA\xE0|cat||\r\n");
}

} // namespace
