// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/app_paths.h"
#include "common/files.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vb {
namespace {

using vbtest::ReadBytes;
using vbtest::TempHome;
using vbtest::WriteBytes;

#ifndef _WIN32
mode_t ModeOf(const std::string& path)
{
    struct stat st
    { };
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}
#endif

std::size_t EntriesIn(const std::string& folder)
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) {
        ++n;
    }
    return n;
}

TEST(Files, ExistenceAndFolders)
{
    TempHome home;
    const std::string file = home.File("a.txt");
    EXPECT_FALSE(FileExists(file));
    WriteBytes(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_FALSE(FileExists(home.Path()));
    EXPECT_TRUE(DirectoryExists(home.Path()));

    EXPECT_TRUE(MakeDirectories(home.File("x/y/z")));
    EXPECT_TRUE(DirectoryExists(home.File("x/y/z")));
    EXPECT_TRUE(MakeDirectories(home.File("x/y/z"))); // already there
    EXPECT_FALSE(MakeDirectories(home.File("a.txt/sub"))); // below a regular file
    EXPECT_FALSE(FileExists(""));
}

TEST(Files, ReadWholeFileKeepsEveryByte)
{
    TempHome home;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    WriteBytes(home.File("bin"), bytes);
    std::string out = "old";
    ASSERT_TRUE(ReadWholeFile(home.File("bin"), out));
    EXPECT_EQ(out, bytes);

    out = "old";
    EXPECT_FALSE(ReadWholeFile(home.File("missing"), out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(ReadWholeFile(home.Path(), out));
}

#ifndef _WIN32
// Permission bits, symbolic links and file size limits are this platform's own.
TEST(Files, ReadOnlyMarkIsTheWriteBits)
{
    TempHome home;
    const std::string file = home.File("d.lqd");
    WriteBytes(file, "x");
    ::chmod(file.c_str(), 0644);
    EXPECT_FALSE(IsReadOnly(file));
    ASSERT_TRUE(SetReadOnly(file, true));
    EXPECT_TRUE(IsReadOnly(file)); // true even for root, who could still write it
    EXPECT_EQ(ModeOf(file), 0444u);
    ASSERT_TRUE(SetReadOnly(file, false));
    EXPECT_FALSE(IsReadOnly(file));

    ::chmod(file.c_str(), 0020); // only the group may write: not read-only
    EXPECT_FALSE(IsReadOnly(file));
    ::chmod(file.c_str(), 04444);
    ASSERT_TRUE(SetAttributesNormal(file));
    EXPECT_FALSE(IsReadOnly(file));
    EXPECT_EQ(ModeOf(file) & 07000, 0u);

    EXPECT_FALSE(IsReadOnly(home.File("missing")));
    EXPECT_FALSE(SetReadOnly(home.File("missing"), true));
    EXPECT_FALSE(SetAttributesNormal(home.File("missing")));
}

TEST(Files, AtomicWriteReplacesAndKeepsPermissionBits)
{
    TempHome home;
    const std::string file = home.File("progress.lqs");
    ASSERT_TRUE(WriteFileAtomic(file, "first"));
    EXPECT_EQ(ReadBytes(file), "first");

    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomic(file, std::string("se\0cond", 7)));
    EXPECT_EQ(ReadBytes(file), std::string("se\0cond", 7));
    EXPECT_EQ(ModeOf(file), 0640u);

    ASSERT_TRUE(WriteFileAtomic(file, ""));
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_EQ(EntriesIn(home.Path()), 1u); // no temporary file left behind
}

TEST(Files, AtomicWriteFollowsASymbolicLink)
{
    TempHome home;
    WriteBytes(home.File("real.txt"), "old");
    ASSERT_EQ(::symlink(home.File("real.txt").c_str(), home.File("link.txt").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomic(home.File("link.txt"), "new"));
    EXPECT_EQ(ReadBytes(home.File("real.txt")), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(home.File("link.txt")));
}
#endif

TEST(Files, FailedAtomicWriteLeavesNothingBehind)
{
    TempHome home;
    // The folder is missing.
    EXPECT_FALSE(WriteFileAtomic(home.File("no/such/file"), "x"));
    // The "folder" is a regular file.
    WriteBytes(home.File("plain"), "keep");
    EXPECT_FALSE(WriteFileAtomic(home.File("plain/file"), "x"));
    EXPECT_EQ(ReadBytes(home.File("plain")), "keep");
    // The target is a folder, which must not be replaced.
    ASSERT_TRUE(MakeDirectories(home.File("dir")));
    WriteBytes(home.File("dir/inner"), "inner");
    EXPECT_FALSE(WriteFileAtomic(home.File("dir"), "x"));
    EXPECT_EQ(ReadBytes(home.File("dir/inner")), "inner");
    EXPECT_FALSE(WriteFileAtomic("", "x"));
    EXPECT_EQ(EntriesIn(home.Path()), 2u);
    // A scratch write is refused alike.
    EXPECT_FALSE(WriteScratchFileAtomic(home.File("dir"), "x"));
    EXPECT_FALSE(WriteScratchFileAtomic(home.File("no/such/file"), "x"));
    EXPECT_EQ(EntriesIn(home.Path()), 2u);
}

TEST(Files, ScratchWriteReplacesTheWholeFile)
{
    TempHome home;
    const std::string file = home.File("tmp.tmp");
    ASSERT_TRUE(WriteScratchFileAtomic(file, "first"));
    ASSERT_TRUE(WriteScratchFileAtomic(file, std::string(100000, 'x')));
    EXPECT_EQ(ReadBytes(file), std::string(100000, 'x'));
    ASSERT_TRUE(WriteScratchFileAtomic(file, ""));
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_EQ(EntriesIn(home.Path()), 1u) << "a temporary file was left behind";
}

#ifndef _WIN32
// Permission bits, symbolic links and file size limits are this platform's own.
TEST(Files, AtomicWriteThatRunsOutOfSpaceKeepsTheOldFile)
{
    TempHome home;
    const std::string file = home.File("dict.lqd");
    WriteBytes(file, "old contents");

    // A file size limit makes the write fail part-way, as a full disk would; root is bound by it too.
    struct rlimit saved
    { };
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteFileAtomic(file, std::string(5000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(file), "old contents");
    EXPECT_EQ(EntriesIn(home.Path()), 1u);
}
#endif

TEST(Files, CopyOverwriteRespectsTheReadOnlyMark)
{
    TempHome home;
    const std::string from = home.File("dict.lqd");
    const std::string to = home.File("tmp.tmp");
    WriteBytes(from, "a|b\r\n");
    ASSERT_TRUE(CopyFileOverwrite(from, to));
    EXPECT_EQ(ReadBytes(to), "a|b\r\n");

    // A read-only target is refused and stays as it was: saving a protected dictionary must fail.
    WriteBytes(from, "changed\r\n");
    ASSERT_TRUE(SetReadOnly(to, true));
    EXPECT_FALSE(CopyFileOverwrite(from, to));
    EXPECT_EQ(ReadBytes(to), "a|b\r\n");

    // A copy of a read-only file is read-only itself, until its attributes are set to normal.
    ASSERT_TRUE(SetAttributesNormal(to));
    ASSERT_TRUE(SetReadOnly(from, true));
    ASSERT_TRUE(CopyFileOverwrite(from, to));
    EXPECT_TRUE(IsReadOnly(to));
    EXPECT_EQ(ReadBytes(to), "changed\r\n");

    EXPECT_FALSE(CopyFileOverwrite(home.File("missing"), home.File("new")));
    EXPECT_FALSE(FileExists(home.File("new")));

    EXPECT_TRUE(RemoveFile(to));
    EXPECT_FALSE(RemoveFile(to));
}

#ifndef _WIN32
// The Linux layout: /usr/bin with /usr/share/verbanta, XDG folders below the home folder.
TEST(AppPathsTest, VerbantaHomeIsolatesEverything)
{
    TempHome home;
    const AppPaths paths = AppPaths::FromEnvironment("/opt/verbanta/bin/verbanta");
    EXPECT_EQ(paths.ProgramFolder(), home.Path());
    EXPECT_EQ(paths.ConfigFolder(), home.Path());
    EXPECT_EQ(paths.InstalledDataFolder(), "/opt/verbanta/share/verbanta");
    EXPECT_EQ(paths.RegistryFile(), home.File("registry.reg"));
    EXPECT_EQ(paths.InstanceLockFile(), home.File("verbanta.lock"));
    EXPECT_EQ(paths.WorkingCopy(), home.File("tmp.tmp"));
    EXPECT_EQ(paths.SoundScratch(), home.File("tmp.wav"));
    EXPECT_EQ(paths.UsersFolder(), home.File("Users"));
    EXPECT_EQ(paths.AutostartEntry(), home.File("autostart/verbanta.desktop"));
    EXPECT_EQ(paths.HelpPage(), "/opt/verbanta/share/verbanta/help/verbanta.html");
    EXPECT_EQ(paths.IconFolder(), "/opt/verbanta/share/verbanta/icons");

    // The default dictionary comes from the data folder when it is there, else from the installed data.
    EXPECT_EQ(paths.DefaultDictionary(), "/opt/verbanta/share/verbanta/dict/dt_basic.lqd");
    WriteBytes(home.File("dict/dt_basic.lqd"), "");
    EXPECT_EQ(paths.DefaultDictionary(), home.File("dict/dt_basic.lqd"));
}

// Sets an environment variable (or removes it, given nullptr) for the life of the object.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* prev = std::getenv(name)) {
            m_previous = prev;
            m_had = true;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(m_had ? m_previous.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const char* value)
    {
        if (value) {
            vbtest::SetEnv(m_name.c_str(), value);
        } else {
            vbtest::SetEnv(m_name.c_str(), nullptr);
        }
    }
    std::string m_name;
    std::string m_previous;
    bool m_had = false;
};

TEST(AppPathsTest, WithoutVerbantaHome)
{
    TempHome home;
    const std::string previousHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("VERBANTA_HOME");
    setenv("HOME", home.File("user").c_str(), 1);
    ScopedEnv noData("XDG_DATA_HOME", nullptr);
    ScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);

    // A writable executable folder is the data folder (portable use).
    ASSERT_TRUE(MakeDirectories(home.File("portable")));
    const AppPaths portable = AppPaths::FromEnvironment(home.File("portable/verbanta"));
    EXPECT_EQ(portable.ProgramFolder(), home.File("portable"));
    EXPECT_EQ(portable.ConfigFolder(), home.File("user/.config/Verbanta"));
    EXPECT_EQ(portable.RegistryFile(), home.File("user/.config/Verbanta/registry.reg"));
    EXPECT_EQ(portable.AutostartEntry(), home.File("user/.config/autostart/verbanta.desktop"));

    // A missing (so unwritable) one is not.
    const AppPaths installed = AppPaths::FromEnvironment(home.File("nowhere/bin/verbanta"));
    EXPECT_EQ(installed.ProgramFolder(), home.File("user/.local/share/Verbanta"));

    // Installed system-wide the data stays with the user, even for root, who could write to /usr/bin; the
    // default dictionary and the help page come from the installed share folder.
    const AppPaths system = AppPaths::FromEnvironment("/usr/bin/verbanta");
    EXPECT_EQ(system.ProgramFolder(), home.File("user/.local/share/Verbanta"));
    EXPECT_EQ(system.DefaultDictionary(), "/usr/share/verbanta/dict/dt_basic.lqd");
    EXPECT_EQ(system.HelpPage(), "/usr/share/verbanta/help/verbanta.html");

    setenv("HOME", previousHome.c_str(), 1);
}

TEST(AppPathsTest, XdgBaseFoldersWhenSetToAbsolutePaths)
{
    TempHome home;
    ScopedEnv noHome("VERBANTA_HOME", nullptr);
    ScopedEnv userHome("HOME", home.File("user").c_str());
    ScopedEnv data("XDG_DATA_HOME", home.File("data").c_str());
    ScopedEnv config("XDG_CONFIG_HOME", home.File("config").c_str());

    const AppPaths paths = AppPaths::FromEnvironment("/usr/bin/verbanta");
    EXPECT_EQ(paths.ProgramFolder(), home.File("data/Verbanta"));
    EXPECT_EQ(paths.RegistryFile(), home.File("config/Verbanta/registry.reg"));
    EXPECT_EQ(paths.AutostartEntry(), home.File("config/autostart/verbanta.desktop"));

    // A relative value is not a base folder and is ignored.
    ScopedEnv relative("XDG_DATA_HOME", "data");
    EXPECT_EQ(AppPaths::FromEnvironment("/usr/bin/verbanta").ProgramFolder(), home.File("user/.local/share/Verbanta"));
}

#endif

} // namespace
} // namespace vb
