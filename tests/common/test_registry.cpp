// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/files.h"
#include "common/registry.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vb {
namespace {

using vbtest::ReadBytes;
using vbtest::TempHome;
using vbtest::WriteBytes;
using namespace std::string_literals;

const std::string kRoot = "Software\\Verbanta";
const std::string kPupil = "Software\\Verbanta\\Default";

enum class Store {
    Memory,
    File,
    Windows, // the real HKEY_CURRENT_USER
};

// The behaviour the stores share, run against each of them.
class RegistryStore : public ::testing::TestWithParam<Store>
{
protected:
    void SetUp() override { ClearRealRegistry(); }
    void TearDown() override { ClearRealRegistry(); }

    std::unique_ptr<Registry> Make()
    {
        switch (GetParam()) {
        case Store::Memory:
            return MakeMemoryRegistry();
        case Store::File:
            return MakeFileRegistry(m_home.File("cfg/registry.reg"));
        case Store::Windows:
#ifdef _WIN32
            return MakeWindowsRegistry();
#else
            break;
#endif
        }
        return nullptr;
    }
    bool IsReal() const
    {
        return GetParam() == Store::Windows;
    }

    // The real registry outlives the test: every test starts and ends without the keys they use.
    void ClearRealRegistry()
    {
        if (IsReal()) {
            auto reg = Make();
            reg->DeleteKey("Software\\Verbanta");
            reg->DeleteKey("Software\\VerbantaOther");
        }
    }
    TempHome m_home;
};

TEST_P(RegistryStore, ReadingAMissingKeyCreatesNothing)
{
    auto reg = Make();
    EXPECT_FALSE(reg->KeyExists(kRoot));
    EXPECT_FALSE(reg->ReadString(kRoot, "Application"));
    EXPECT_FALSE(reg->ReadInt(kPupil, "LearningTop"));
    EXPECT_TRUE(reg->ListSubkeys(kRoot).empty());
    EXPECT_FALSE(reg->WriteString(kRoot, "", "startup")); // only into an existing key
    EXPECT_FALSE(reg->WriteInt(kRoot, "x", 1));
    EXPECT_FALSE(reg->DeleteValue(kRoot, "x"));
    EXPECT_FALSE(reg->DeleteKey(kRoot));
    EXPECT_FALSE(reg->KeyExists(kRoot));
    EXPECT_FALSE(FileExists(m_home.File("cfg/registry.reg")));
}

TEST_P(RegistryStore, KeysAreCreatedWithParentsAndFoundInAnyCase)
{
    auto reg = Make();
    ASSERT_TRUE(reg->CreateKey(kPupil));
    EXPECT_TRUE(reg->KeyExists("Software"));
    EXPECT_TRUE(reg->KeyExists("SOFTWARE\\verbanta"));
    EXPECT_TRUE(reg->KeyExists("software\\VERBANTA\\default\\"));
    EXPECT_TRUE(reg->CreateKey("SOFTWARE\\VERBANTA\\DEFAULT")); // exists already; keeps its spelling
    EXPECT_EQ(reg->ListSubkeys(kRoot), std::vector<std::string>{"Default"});
    if (!IsReal()) {
        // Windows itself takes almost any character in a key name.
        EXPECT_FALSE(reg->CreateKey("Software\\bad\nname"));
    }
}

TEST_P(RegistryStore, TypedValuesAndTheUnnamedValue)
{
    auto reg = Make();
    ASSERT_TRUE(reg->CreateKey(kPupil));
    EXPECT_TRUE(reg->WriteString(kRoot, "Application", "Иван"));
    EXPECT_TRUE(reg->WriteString(kRoot, "", "/home/u/some.lqd"));
    EXPECT_TRUE(reg->WriteInt(kPupil, "LearningTop", -1000));
    EXPECT_TRUE(reg->WriteInt(kPupil, "Max", INT32_MAX));
    EXPECT_TRUE(reg->WriteInt(kPupil, "Min", INT32_MIN));

    EXPECT_EQ(reg->ReadString(kRoot, "application"), "Иван");
    EXPECT_EQ(reg->ReadString(kRoot, ""), "/home/u/some.lqd");
    EXPECT_EQ(reg->ReadInt(kPupil, "LearningTop"), -1000);
    EXPECT_EQ(reg->ReadInt(kPupil, "Max"), INT32_MAX);
    EXPECT_EQ(reg->ReadInt(kPupil, "Min"), INT32_MIN);

    // A value of the other type reads as missing.
    EXPECT_FALSE(reg->ReadInt(kRoot, "Application"));
    EXPECT_FALSE(reg->ReadString(kPupil, "LearningTop"));
    EXPECT_FALSE(reg->ReadString(kPupil, "")); // no unnamed value there

    // Overwriting may change the type.
    EXPECT_TRUE(reg->WriteString(kPupil, "LEARNINGTOP", "text"));
    EXPECT_EQ(reg->ReadString(kPupil, "LearningTop"), "text");
    EXPECT_FALSE(reg->ReadInt(kPupil, "LearningTop"));

    EXPECT_TRUE(reg->DeleteValue(kRoot, ""));
    EXPECT_FALSE(reg->ReadString(kRoot, ""));
    EXPECT_EQ(reg->ReadString(kRoot, "Application"), "Иван");
    EXPECT_FALSE(reg->DeleteValue(kRoot, ""));
}

TEST_P(RegistryStore, StringsKeepEveryByte)
{
    if (IsReal()) {
        GTEST_SKIP() << "Windows keeps UTF-16 text: only valid UTF-8 without NUL comes back unchanged";
    }
    auto reg = Make();
    ASSERT_TRUE(reg->CreateKey(kRoot));
    const std::string tricky = "C:\\dict\\\"q\"\r\n;[x]=@\0end \xCF\xF0\x98"s;
    const std::string name = "odd \"name\" \\ = @";
    EXPECT_TRUE(reg->WriteString(kRoot, name, tricky));
    EXPECT_TRUE(reg->WriteString(kRoot, "empty", ""));
    EXPECT_EQ(reg->ReadString(kRoot, name), tricky);
    EXPECT_EQ(reg->ReadString(kRoot, "empty"), "");
}

TEST_P(RegistryStore, DeleteKeyRemovesTheWholeTreeOnly)
{
    auto reg = Make();
    ASSERT_TRUE(reg->CreateKey(kPupil + "\\Deep\\Deeper"));
    ASSERT_TRUE(reg->CreateKey(kRoot + "\\Петя"));
    ASSERT_TRUE(reg->CreateKey("Software\\VerbantaOther"));
    ASSERT_TRUE(reg->WriteInt(kPupil + "\\Deep", "n", 1));

    EXPECT_TRUE(reg->DeleteKey("software\\verbanta\\DEFAULT"));
    EXPECT_FALSE(reg->KeyExists(kPupil));
    EXPECT_FALSE(reg->KeyExists(kPupil + "\\Deep\\Deeper"));
    EXPECT_FALSE(reg->ReadInt(kPupil + "\\Deep", "n"));
    EXPECT_TRUE(reg->KeyExists(kRoot + "\\Петя"));
    EXPECT_TRUE(reg->KeyExists("Software\\VerbantaOther"));

    // A recreated key starts empty.
    ASSERT_TRUE(reg->CreateKey(kPupil + "\\Deep"));
    EXPECT_FALSE(reg->ReadInt(kPupil + "\\Deep", "n"));
    EXPECT_FALSE(reg->DeleteKey(""));
}

TEST_P(RegistryStore, SubkeysAreListedCaseInsensitivelyAndDirectOnly)
{
    auto reg = Make();
    for (const char* name : {"zoe", "Bob", "alice", "Carl", "bob2", "Alice Smith"}) {
        ASSERT_TRUE(reg->CreateKey(kRoot + "\\" + name));
    }
    ASSERT_TRUE(reg->CreateKey(kRoot + "\\Bob\\Nested"));
    EXPECT_EQ(reg->ListSubkeys(kRoot),
              (std::vector<std::string>{"alice", "Alice Smith", "Bob", "bob2", "Carl", "zoe"}));
    EXPECT_EQ(reg->ListSubkeys("SOFTWARE\\VERBANTA\\BOB"), std::vector<std::string>{"Nested"});
    if (!IsReal()) {
        EXPECT_EQ(reg->ListSubkeys(""), std::vector<std::string>{"Software"});
    }
}

TEST_P(RegistryStore, BatchesNestAndApplyEverything)
{
    auto reg = Make();
    {
        RegistryBatch outer(*reg);
        EXPECT_TRUE(reg->CreateKey(kPupil));
        {
            RegistryBatch inner(*reg);
            EXPECT_TRUE(reg->WriteInt(kPupil, "a", 1));
        }
        EXPECT_EQ(reg->ReadInt(kPupil, "a"), 1); // seen inside the batch
        EXPECT_TRUE(reg->WriteString(kPupil, "b", "two"));
    }
    EXPECT_EQ(reg->ReadInt(kPupil, "a"), 1);
    EXPECT_EQ(reg->ReadString(kPupil, "b"), "two");
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryStore,
                         ::testing::Values(Store::Memory, Store::File
#ifdef _WIN32
                                           ,
                                           Store::Windows
#endif
                                           ),
                         [](const ::testing::TestParamInfo<Store>& info) {
                             return info.param == Store::Memory ? "Memory"
                                    : info.param == Store::File ? "File"
                                                                : "Windows";
                         });

TEST(FileRegistry, WritesTheRegFormat)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    auto reg = MakeFileRegistry(path);
    ASSERT_TRUE(reg->CreateKey(kRoot));
    ASSERT_TRUE(reg->WriteString(kRoot, "", "startup"));
    ASSERT_TRUE(reg->WriteString(kRoot, "Application", "a\\b \"c\""));
    ASSERT_TRUE(reg->WriteInt(kRoot, "Top", 30));
    ASSERT_TRUE(reg->WriteInt(kRoot, "Neg", -1));
    EXPECT_EQ(ReadBytes(path), "Windows Registry Editor Version 5.00\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\Software]\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\Software\\Verbanta]\n"
                               "@=\"startup\"\n"
                               "\"Application\"=\"a\\\\b \\\"c\\\"\"\n"
                               "\"Top\"=dword:0000001e\n"
                               "\"Neg\"=dword:ffffffff\n");
    // The values live in the file, not in the object.
    auto other = MakeFileRegistry(path);
    EXPECT_EQ(other->ReadInt(kRoot, "top"), 30);
    EXPECT_TRUE(FileExists(path + ".lock"));
}

TEST(FileRegistry, CyrillicKeyNamesAreTheSameInAnyCase)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    ASSERT_TRUE(MakeFileRegistry(path)->CreateKey(kRoot + "\\Иван Ёлкин"));
    ASSERT_TRUE(MakeFileRegistry(path)->WriteInt(kRoot + "\\Иван Ёлкин", "LearningTop", 7));

    // Another store reads the file written with "Иван Ёлкин" and finds it under every spelling.
    auto reg = MakeFileRegistry(path);
    EXPECT_EQ(reg->ReadInt(kRoot + "\\ИВАН ЁЛКИН", "LearningTop"), 7);
    EXPECT_EQ(reg->ReadInt("SOFTWARE\\VERBANTA\\иван ёлкин", "learningtop"), 7);
    EXPECT_TRUE(reg->CreateKey(kRoot + "\\ИВАН ёлкин")); // opens the existing key
    EXPECT_EQ(reg->ListSubkeys(kRoot), std::vector<std::string>{"Иван Ёлкин"});
    // Only letters fold: other characters of the name still tell keys apart.
    EXPECT_FALSE(reg->KeyExists(kRoot + "\\Иван Елкин"));
    EXPECT_TRUE(reg->DeleteKey(kRoot + "\\иван ЁЛКИН"));
    EXPECT_TRUE(MakeFileRegistry(path)->ListSubkeys(kRoot).empty());
}

TEST(FileRegistry, ABatchWritesTheFileOnceAtItsEnd)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    auto reg = MakeFileRegistry(path);
    ASSERT_TRUE(reg->CreateKey(kRoot));
    const std::string before = ReadBytes(path);
    reg->BeginBatch();
    EXPECT_TRUE(reg->WriteInt(kRoot, "a", 1));
    EXPECT_EQ(ReadBytes(path), before);
    reg->EndBatch();
    EXPECT_EQ(MakeFileRegistry(path)->ReadInt(kRoot, "a"), 1);
}

TEST(FileRegistry, AnotherStoreInTheSameProcessFailsInsteadOfWaiting)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    auto first = MakeFileRegistry(path);
    auto second = MakeFileRegistry(path);
    ASSERT_TRUE(first->CreateKey(kRoot));
    {
        RegistryBatch batch(*first);
        EXPECT_FALSE(second->WriteInt(kRoot, "x", 1));
        EXPECT_TRUE(second->KeyExists(kRoot)); // reading needs no lock
    }
    EXPECT_TRUE(second->WriteInt(kRoot, "x", 1));
}

TEST(FileRegistry, DamagedFilesKeepWhatCanBeRead)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    WriteBytes(path, ("garbage before the header\n"
                      "\"Orphan\"=\"no section\"\n"
                      "Windows Registry Editor Version 5.00\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Verbanta]\r\n"
                      "\"Good\"=\"yes\"\r\n"
                      "\"Truncated\"=\"no end\r\n"
                      "\"BadHex\"=dword:12zz\r\n"
                      "\"TooLong\"=dword:123456789\r\n"
                      "\"Binary\"=hex:01,02\r\n"
                      "\"Trailing\"=\"x\" junk\r\n"
                      "\"Nul\"=\"a\0b\"\r\n"
                      "=\"no name\"\r\n"
                      "\"Num\"=DWORD:7FFFFFFF\r\n"
                      "\xFF\xFE garbage \x01\x02\r\n"
                      "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
                      "\"Foreign\"=\"x\"\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Verbanta\\Default\r\n"
                      "\"LostSection\"=\"x\"\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Verbanta\\Petya]\r\n"
                      "\"Last\"=dword:00000005\r\n"
                      "\"Cut\"=\"unterminated \\"s));
    auto reg = MakeFileRegistry(path);
    EXPECT_EQ(reg->ReadString(kRoot, "Good"), "yes");
    EXPECT_EQ(reg->ReadInt(kRoot, "Num"), INT32_MAX);
    EXPECT_EQ(reg->ReadInt(kRoot + "\\Petya", "Last"), 5);
    for (const char* name : {"Orphan", "Truncated", "BadHex", "TooLong", "Binary", "Trailing", "Nul", ""}) {
        EXPECT_FALSE(reg->ReadString(kRoot, name)) << name;
        EXPECT_FALSE(reg->ReadInt(kRoot, name)) << name;
    }
    EXPECT_FALSE(reg->KeyExists("Software\\Other"));
    EXPECT_FALSE(reg->KeyExists(kPupil));
    EXPECT_FALSE(reg->ReadString(kRoot + "\\Petya", "Cut"));

    // The next write keeps what could be read and leaves a clean file.
    ASSERT_TRUE(reg->WriteInt(kRoot, "New", 1));
    const std::string rewritten = ReadBytes(path);
    EXPECT_EQ(rewritten.find('\0'), std::string::npos);
    EXPECT_EQ(rewritten.find("garbage"), std::string::npos);
    auto again = MakeFileRegistry(path);
    EXPECT_EQ(again->ReadString(kRoot, "Good"), "yes");
    EXPECT_EQ(again->ReadInt(kRoot, "Num"), INT32_MAX);
    EXPECT_EQ(again->ReadInt(kRoot + "\\Petya", "Last"), 5);
    EXPECT_EQ(again->ReadInt(kRoot, "New"), 1);
}

TEST(FileRegistry, SurvivesRandomAndHugeFiles)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    std::mt19937 random(12345);
    const std::string alphabet = "[]\"\\=@:\r\n\0 dwordHKEY_CURRENT_USER\\Software"s;
    for (int round = 0; round < 300; ++round) {
        std::string bytes(random() % 400, '\0');
        for (char& c : bytes) {
            c = (random() % 2) ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
        }
        WriteBytes(path, "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Software]\n" + bytes);
        auto reg = MakeFileRegistry(path);
        reg->ListSubkeys("Software");
        reg->ReadString("Software", "x");
        if (round % 10 == 0) {
            EXPECT_TRUE(reg->WriteInt("Software", "kept", round));
            EXPECT_EQ(MakeFileRegistry(path)->ReadInt("Software", "kept"), round);
        }
    }

    // Far larger than any settings file: read only in part, still no crash, still writable.
    std::string huge = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Software\\Verbanta]\n\"A\"=\"1\"\n";
    huge.append(20u * 1024 * 1024, 'x');
    WriteBytes(path, huge);
    auto reg = MakeFileRegistry(path);
    EXPECT_EQ(reg->ReadString(kRoot, "A"), "1");
    EXPECT_TRUE(reg->WriteString(kRoot, "B", "2"));
    EXPECT_LT(ReadBytes(path).size(), 1000u);
}

TEST(FileRegistry, AnUnwritableLocationFailsQuietly)
{
    TempHome home;
    WriteBytes(home.File("plain"), "a file, not a folder");
    auto reg = MakeFileRegistry(home.File("plain/registry.reg"));
    EXPECT_FALSE(reg->CreateKey(kRoot));
    EXPECT_FALSE(reg->KeyExists(kRoot));
    {
        RegistryBatch batch(*reg);
        EXPECT_FALSE(reg->CreateKey(kRoot));
    }
    EXPECT_EQ(ReadBytes(home.File("plain")), "a file, not a folder");
}

#ifndef _WIN32
// Runs `body` in a child process; returns the child so the caller can wait for it.
pid_t RunChild(const std::function<bool()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        _exit(body() ? 0 : 1);
    }
    return pid;
}

TEST(FileRegistry, TwoProcessesWritingAtOnceLoseNothing)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    ASSERT_TRUE(MakeFileRegistry(path)->CreateKey(kRoot));

    auto writer = [&path](const std::string& prefix) {
        return [&path, prefix] {
            auto reg = MakeFileRegistry(path);
            bool ok = true;
            for (int i = 0; i < 200; ++i) {
                if (i % 2) {
                    ok = reg->WriteInt(kRoot, prefix + std::to_string(i), i) && ok;
                } else {
                    ok = reg->WriteString(kRoot, prefix + std::to_string(i), std::to_string(i)) && ok;
                }
            }
            return ok;
        };
    };
    const pid_t a = RunChild(writer("a"));
    const pid_t b = RunChild(writer("b"));
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    int statusA = 0;
    int statusB = 0;
    ::waitpid(a, &statusA, 0);
    ::waitpid(b, &statusB, 0);
    ASSERT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0);
    ASSERT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0);

    auto reg = MakeFileRegistry(path);
    int found = 0;
    for (const char* prefix : {"a", "b"}) {
        for (int i = 0; i < 200; ++i) {
            const std::string name = prefix + std::to_string(i);
            if (i % 2) {
                found += reg->ReadInt(kRoot, name) == i;
            } else {
                found += reg->ReadString(kRoot, name) == std::to_string(i);
            }
        }
    }
    EXPECT_EQ(found, 400);
}

TEST(SystemRegistry, IsTheFileStoreHere)
{
    TempHome home;
    auto reg = MakeSystemRegistry(home.File("registry.reg"));
    ASSERT_TRUE(reg->CreateKey(kRoot));
    EXPECT_TRUE(FileExists(home.File("registry.reg")));
}
#else
TEST(SystemRegistry, IsTheRealOneOnWindows)
{
    TempHome home;
    auto reg = MakeSystemRegistry(home.File("registry.reg"));
    ASSERT_TRUE(reg->CreateKey(kRoot));
    EXPECT_FALSE(FileExists(home.File("registry.reg")));
    EXPECT_TRUE(MakeWindowsRegistry()->KeyExists(kRoot));
    EXPECT_TRUE(reg->DeleteKey(kRoot));
}
#endif

} // namespace
} // namespace vb
