// SPDX-License-Identifier: GPL-3.0-or-later
// What only Windows has: the real registry, the read-only attribute, UTF-16 file names and the layout of
// a Windows installation. Built and run by the MinGW-w64 cross build under Wine.

#ifdef _WIN32

#include "common/app_paths.h"
#include "common/autostart.h"
#include "common/files.h"
#include "common/instance_lock.h"
#include "common/registry.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace vb {
namespace {

using vbtest::ReadBytes;
using vbtest::TempHome;
using vbtest::WriteBytes;

DWORD AttributesOf(const std::string& path)
{
    return GetFileAttributesW(Utf8ToWide(path).c_str());
}

TEST(WindowsFiles, ReadOnlyMarkIsTheFileAttribute)
{
    TempHome home;
    const std::string file = home.File("d.lqd");
    WriteBytes(file, "x");
    EXPECT_FALSE(IsReadOnly(file));
    ASSERT_TRUE(SetReadOnly(file, true));
    EXPECT_TRUE(AttributesOf(file) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(IsReadOnly(file));
    ASSERT_TRUE(SetReadOnly(file, false));
    EXPECT_FALSE(AttributesOf(file) & FILE_ATTRIBUTE_READONLY);

    // Normal clears the other marks too.
    ASSERT_TRUE(SetFileAttributesW(Utf8ToWide(file).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetAttributesNormal(file));
    EXPECT_FALSE(AttributesOf(file) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(SetReadOnly(home.File("missing"), true));
}

TEST(WindowsFiles, AtomicReplaceOfAReadOnlyFileKeepsTheMark)
{
    TempHome home;
    const std::string file = home.File("progress.lqs");
    ASSERT_TRUE(WriteFileAtomic(file, "first"));
    ASSERT_TRUE(SetReadOnly(file, true));
    // As on Linux, where rename replaces a file whatever its bits: the writer decides, the mark stays.
    ASSERT_TRUE(WriteFileAtomic(file, std::string("se\0cond", 7)));
    EXPECT_EQ(ReadBytes(file), std::string("se\0cond", 7));
    EXPECT_TRUE(IsReadOnly(file));
    EXPECT_TRUE(RemoveFile(file));
    EXPECT_FALSE(FileExists(file));
}

TEST(WindowsFiles, ATargetHeldOpenWithoutSharingStaysWhole)
{
    TempHome home;
    const std::string file = home.File("dict.lqd");
    WriteBytes(file, "old contents");
    HANDLE held = CreateFileW(Utf8ToWide(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFileAtomic(file, "new contents"));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(file), "old contents");
    // No temporary file is left behind.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Utf8ToWide(home.File("*")).c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int entries = 0;
    do {
        const std::wstring name = found.cFileName;
        entries += name != L"." && name != L"..";
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(entries, 1);

    EXPECT_TRUE(WriteFileAtomic(file, "new contents"));
    EXPECT_EQ(ReadBytes(file), "new contents");
}

TEST(WindowsFiles, PathsAreUtf8OnDiskInUtf16)
{
    TempHome home;
    const std::string folder = home.File("Иван");
    const std::string file = folder + "\\словарь.lqd";
    ASSERT_TRUE(MakeDirectories(folder));
    ASSERT_TRUE(WriteFileAtomic(file, "a|b\r\n"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_NE(GetFileAttributesW((Utf8ToWide(home.Path()) + L"\\\x0418\x0432\x0430\x043D\\\x0441\x043B\x043E\x0432"
                                                            L"\x0430\x0440\x044C.lqd")
                                     .c_str()),
              INVALID_FILE_ATTRIBUTES);
    std::string data;
    ASSERT_TRUE(ReadWholeFile(file, data));
    EXPECT_EQ(data, "a|b\r\n");
    ASSERT_TRUE(CopyFileOverwrite(file, folder + "\\копия.lqd"));
    EXPECT_TRUE(FileExists(folder + "\\копия.lqd"));
    EXPECT_EQ(WideToUtf8(Utf8ToWide("Ёё Ω")), "Ёё Ω");
    EXPECT_TRUE(Utf8ToWide("\xFF\xFE").empty());
}

TEST(WindowsPaths, DataBesideTheExecutable)
{
    TempHome home;
    const AppPaths paths = AppPaths::FromEnvironment("C:\\Program Files\\Verbanta\\verbanta.exe");
    EXPECT_EQ(paths.ProgramFolder(), home.Path());
    EXPECT_EQ(paths.InstalledDataFolder(), "C:\\Program Files\\Verbanta");
    EXPECT_EQ(paths.DefaultDictionary(), "C:\\Program Files\\Verbanta\\dict\\dt_basic.lqd");
    EXPECT_EQ(paths.HelpPage(), "C:\\Program Files\\Verbanta\\help\\verbanta.html");
    EXPECT_EQ(paths.UsersFolder(), home.Path() + "\\Users");
    WriteBytes(home.File("dict/dt_basic.lqd"), "");
    EXPECT_EQ(paths.DefaultDictionary(), home.Path() + "\\dict\\dt_basic.lqd");
}

TEST(WindowsRegistry, ValuesAreTheRealOnes)
{
    auto reg = MakeWindowsRegistry();
    reg->DeleteKey("Software\\Verbanta");
    ASSERT_TRUE(reg->CreateKey("Software\\Verbanta\\Иван"));
    ASSERT_TRUE(reg->WriteString("Software\\Verbanta", "", "startup"));
    ASSERT_TRUE(reg->WriteInt("Software\\Verbanta\\Иван", "SetSE_CountVar", -7));

    // Read back with the plain API: the unnamed value as REG_SZ, the number as REG_DWORD.
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Verbanta", nullptr, RRF_RT_REG_SZ, nullptr, text, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(text), L"startup");
    DWORD number = 0;
    size = sizeof number;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Verbanta\\\x0418\x0432\x0430\x043D", L"SetSE_CountVar",
                           RRF_RT_REG_DWORD, nullptr, &number, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(static_cast<std::int32_t>(number), -7);
    EXPECT_EQ(reg->ListSubkeys("Software\\Verbanta"), std::vector<std::string>{"Иван"});
    EXPECT_TRUE(reg->DeleteKey("Software\\Verbanta"));
    EXPECT_FALSE(reg->KeyExists("Software\\Verbanta"));
}

TEST(WindowsRegistry, AutostartIsTheRunValue)
{
    auto reg = MakeWindowsRegistry();
    AutostartTarget target;
    target.executablePath = "C:\\Program Files\\Verbanta\\verbanta.exe";
    target.registry = reg.get();
    ASSERT_TRUE(reg->KeyExists(kAutostartRunKey));
    EXPECT_TRUE(UpdateAutostart(target, true));
    EXPECT_EQ(reg->ReadString(kAutostartRunKey, kAutostartValueName), target.executablePath);
    EXPECT_TRUE(UpdateAutostart(target, false));
    EXPECT_FALSE(reg->ReadString(kAutostartRunKey, kAutostartValueName));
}

TEST(WindowsInstance, TheNamedMutexAdmitsOneHolder)
{
    InstanceLock first;
    ASSERT_TRUE(first.Acquire(""));
    InstanceLock second;
    EXPECT_FALSE(second.Acquire(""));
    // The mutex is visible to every program by its name.
    HANDLE h = OpenMutexA(SYNCHRONIZE, FALSE, "Verbanta");
    EXPECT_NE(h, nullptr);
    if (h) {
        CloseHandle(h);
    }
    first.Release();
    EXPECT_TRUE(second.Acquire(""));
}

} // namespace
} // namespace vb

#endif
