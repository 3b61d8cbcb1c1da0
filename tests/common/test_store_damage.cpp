// SPDX-License-Identifier: GPL-3.0-or-later
// A settings file that is damaged, cut short, huge, full of NUL bytes or not UTF-8: what can be read is
// kept, the rest is skipped, and the original stays beside the file as "<file>.bak" before the first
// rewrite, so nothing the pupil had is lost for good.

#include "common/files.h"
#include "common/registry.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace vb {
namespace {

using vbtest::ReadBytes;
using vbtest::TempHome;
using vbtest::WriteBytes;
using namespace std::string_literals;

const std::string kRoot = "Software\\Verbanta";
const std::string kPupil = "Software\\Verbanta\\Default";
const std::string kHead = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Verbanta]\n"
                          "\"Application\"=\"Default\"\n\n[HKEY_CURRENT_USER\\Software\\Verbanta\\Default]\n"
                          "\"SetCB_Card\"=dword:00000000\n";

bool ReadsWhole(const std::string& text)
{
    bool whole = false;
    MakeMemoryRegistryFromText(text, &whole);
    return whole;
}

TEST(StoreDamage, WhatCountsAsReadWhole)
{
    EXPECT_TRUE(ReadsWhole(kHead));
    EXPECT_TRUE(ReadsWhole(""));
    EXPECT_TRUE(ReadsWhole(kHead + "; a comment\n\n"));
    // What the store writes always reads whole again, whatever bytes its values hold.
    auto store = MakeMemoryRegistry();
    store->CreateKey(kPupil);
    store->WriteString(kPupil, "Odd", "a\"b\\c\nd\re\0f"s);
    EXPECT_TRUE(ReadsWhole(RegistryText(*store)));
    EXPECT_EQ(MakeMemoryRegistryFromText(RegistryText(*store))->ReadString(kPupil, "Odd"), "a\"b\\c\nd\re\0f"s);

    // Bytes that are not UTF-8 are kept as they are, so nothing is lost.
    EXPECT_TRUE(ReadsWhole(kHead + "\"Latin1\"=\"caf\xE9\"\n"));
    for (const std::string& damage : {"\"Bad\"=dword:12zz\n"s, "\"Nul\"=\"a\0b\"\n"s, "\"Utf16\"\0=\0\n"s,
                                      "[HKEY_LOCAL_MACHINE\\Other]\n"s, "garbage\n"s, "\"Cut\"=dword:0000"s}) {
        SCOPED_TRACE(damage);
        EXPECT_FALSE(ReadsWhole(kHead + damage));
    }
}

TEST(StoreDamage, CutShortTheLastValueIsSkipped)
{
    // "dword:0000" cut from "dword:00000014" must not read as 0: the value keeps its default instead.
    auto store = MakeMemoryRegistryFromText(kHead + "\"SetSE_CountVar\"=dword:0000");
    EXPECT_FALSE(store->ReadInt(kPupil, "SetSE_CountVar"));
    EXPECT_EQ(store->ReadInt(kPupil, "SetCB_Card"), 0);
}

TEST(StoreDamage, TheOriginalIsKeptBeforeTheFirstRewrite)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    const std::string backup = path + ".bak";
    std::string damaged = kHead;
    damaged += "\"Nul\"=\"a\0b\"\n"s;
    damaged += "\"Huge\"=\"" + std::string(10u * 1024 * 1024, 'x') + "\"junk\n";
    damaged += "\"Latin1\"=\"caf\xE9\"\n";
    damaged += "\"After\"=dword:00000007\n";
    damaged += "\"Cut\"=\"no end";
    WriteBytes(path, damaged);

    auto store = MakeFileRegistry(path);
    EXPECT_EQ(store->ReadInt(kPupil, "SetCB_Card"), 0);
    EXPECT_EQ(store->ReadInt(kPupil, "After"), 7);
    EXPECT_FALSE(store->ReadString(kPupil, "Nul"));
    EXPECT_FALSE(store->ReadString(kPupil, "Huge"));
    EXPECT_FALSE(store->ReadString(kPupil, "Cut"));
    // Bytes that are not UTF-8 are kept as they are, not dropped.
    EXPECT_EQ(store->ReadString(kPupil, "Latin1"), "caf\xE9");
    EXPECT_FALSE(FileExists(backup)); // reading alone changes nothing

    ASSERT_TRUE(store->WriteInt(kPupil, "New", 1));
    EXPECT_TRUE(ReadBytes(backup) == damaged);
    EXPECT_EQ(store->ReadInt(kPupil, "After"), 7);
    EXPECT_LT(ReadBytes(path).size(), 1000u);

    // Now the file reads whole: later writes leave the backup alone.
    ASSERT_TRUE(store->WriteInt(kPupil, "New", 2));
    EXPECT_TRUE(ReadBytes(backup) == damaged);

    // A file that reads whole never gets a backup.
    TempHome clean;
    WriteBytes(clean.File("registry.reg"), kHead);
    ASSERT_TRUE(MakeFileRegistry(clean.File("registry.reg"))->WriteInt(kPupil, "New", 1));
    EXPECT_FALSE(FileExists(clean.File("registry.reg.bak")));
}

TEST(StoreDamage, WithoutTheBackupNothingIsRewritten)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    const std::string damaged = kHead + "garbage\n";
    WriteBytes(path, damaged);
    SetAtomicWriteFault([](AtomicWriteStep step, const std::string& target) {
        return step == AtomicWriteStep::Create && target.ends_with(".bak") ? ENOSPC : 0;
    });
    auto store = MakeFileRegistry(path);
    EXPECT_FALSE(store->WriteInt(kPupil, "New", 1));
    {
        RegistryBatch batch(*store);
        store->WriteInt(kPupil, "New", 1);
        EXPECT_FALSE(batch.Finish());
    }
    SetAtomicWriteFault({});
    EXPECT_EQ(ReadBytes(path), damaged);
    EXPECT_FALSE(FileExists(path + ".bak"));
}

TEST(StoreDamage, AFileBeyondTheReadLimitIsBackedUpWhole)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    std::string huge = kHead;
    huge += ";" + std::string(17u * 1024 * 1024, 'x') + "\n";
    huge += "\"Beyond\"=dword:00000001\n";
    WriteBytes(path, huge);
    auto store = MakeFileRegistry(path);
    EXPECT_EQ(store->ReadInt(kPupil, "SetCB_Card"), 0);
    ASSERT_TRUE(store->WriteInt(kPupil, "New", 1));
    EXPECT_EQ(ReadBytes(path + ".bak").size(), huge.size());
}

} // namespace
} // namespace vb
