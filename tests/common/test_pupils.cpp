// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/files.h"
#include "common/pupils.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vb {
namespace {

TEST(Pupils, TypedNamesAreCleaned)
{
    EXPECT_EQ(CleanPupilName("a.b"), "a b");
    EXPECT_EQ(CleanPupilName("a."), "a");
    EXPECT_EQ(CleanPupilName("a..b"), "a b");
    EXPECT_EQ(CleanPupilName("(x)"), "x");
    EXPECT_EQ(CleanPupilName("a-b's"), "a-b's");
    EXPECT_EQ(CleanPupilName("a, b"), "a b");
    EXPECT_EQ(CleanPupilName("  \tМаша \t"), "Маша");
    // Nothing can reach outside the users' folder or make a bad settings key.
    EXPECT_EQ(CleanPupilName("../x\\y:z"), "x y z");
    // Only punctuation: no name at all, so no pupil.
    EXPECT_EQ(CleanPupilName("?!.,()"), "");
    EXPECT_EQ(CleanPupilName(""), "");
}

TEST(Pupils, CyrillicNamesKeepTheirLettersAndLoseTheNumeroSign)
{
    // In UTF-8 "й" ends in the byte 0xB9, the 1251 numero sign; it must not be taken for punctuation.
    EXPECT_EQ(CleanPupilName("Андрей.Ёлкин"), "Андрей Ёлкин");
    EXPECT_EQ(CleanPupilName("Класс№5"), "Класс 5");
    EXPECT_EQ(CleanPupilName("№5 ученик№"), "5 ученик");
    EXPECT_EQ(CleanPupilName("Zoë 名"), "Zoë 名");
}

TEST(Pupils, NamesAreTheSamePupilInAnyCase)
{
    EXPECT_TRUE(SamePupil("Иван", "ИВАН"));
    EXPECT_TRUE(SamePupil("ёжик", "ЁЖИК"));
    EXPECT_FALSE(SamePupil("Иван", "Иван2"));
    EXPECT_FALSE(SamePupil("ёжик", "ежик"));
    for (const char* name : {"Default", "DEFAULT", "default", "dEfAuLt"}) {
        EXPECT_TRUE(IsDefaultPupil(name)) << name;
    }
    EXPECT_FALSE(IsDefaultPupil("Default2"));
}

TEST(Pupils, CaptionNamesEveryPupilButTheDefaultOne)
{
    EXPECT_EQ(PupilCaption("Verbanta", "Иван"), "Verbanta [ Иван ]");
    EXPECT_EQ(PupilCaption("Verbanta", "Default"), "Verbanta");
    EXPECT_EQ(PupilCaption("Verbanta", "DEFAULT"), "Verbanta");
}

TEST(Pupils, TheMenuListsEveryKeyButTheDefaultPupilInItsOrder)
{
    EXPECT_EQ(ListedPupils({"Анна", "default", "Bob", "DEFAULT", "Defaults"}),
              (std::vector<std::string>{"Анна", "Bob", "Defaults"}));
    EXPECT_TRUE(ListedPupils({"Default"}).empty());
}

TEST(Pupils, AnExistingProgressFolderIsFoundInAnyCase)
{
    vbtest::TempHome home;
    const std::string users = home.File("Users");
    // Nothing there yet: the folder is named as the pupil is.
    EXPECT_EQ(PupilFolder(users, "ИВАН"), vbtest::NativePath(users + "/ИВАН"));

    ASSERT_TRUE(MakeDirectories(users + "/иван"));
    vbtest::WriteBytes(users + "/ИВАНА", "a file, not a folder");
    EXPECT_EQ(PupilFolder(users, "ИВАН"), vbtest::NativePath(users + "/иван"));
    EXPECT_EQ(PupilFolder(users, "Иван"), vbtest::NativePath(users + "/иван"));
    EXPECT_EQ(PupilFolder(users, "Ивана"), vbtest::NativePath(users + "/Ивана"));

#ifndef _WIN32 // one folder there, whatever the case of its name
    // The exact spelling wins when both exist.
    ASSERT_TRUE(MakeDirectories(users + "/Иван"));
    EXPECT_EQ(PupilFolder(users, "Иван"), users + "/Иван");
#endif
}

} // namespace
} // namespace vb
