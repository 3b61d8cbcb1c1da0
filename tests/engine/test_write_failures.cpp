// Every step of an atomic write failing in turn (create, write, a full disk, sync, flush, rename, a
// read-only folder), for the writer itself and for every part of the program that saves through it: the
// old file stays byte for byte, no temporary file is left behind, and the failure is reported.

#include "support/temp_home.h"

#include "common/autostart.h"
#include "common/files.h"
#include "common/registry.h"
#include "engine/lesson.h"
#include "engine/progress_file.h"
#include "engine/settings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace vb;
using vbtest::ReadBytes;
using vbtest::TempHome;
using vbtest::WriteBytes;

namespace {

struct Fault
{
    AtomicWriteStep step;
    int error;
    const char* what;
};

const Fault kFaults[] = {
    {AtomicWriteStep::Create, EACCES, "create"}, {AtomicWriteStep::Create, EROFS, "read-only folder"},
    {AtomicWriteStep::Write, EIO, "write"},      {AtomicWriteStep::Write, ENOSPC, "disk full"},
    {AtomicWriteStep::Sync, EIO, "sync"},        {AtomicWriteStep::Flush, EIO, "flush"},
    {AtomicWriteStep::Rename, EIO, "rename"},
};

// Fails one step of every atomic write while it lives.
class InjectedFault
{
public:
    explicit InjectedFault(const Fault& fault)
    {
        SetAtomicWriteFault(
            [fault](AtomicWriteStep step, const std::string&) { return step == fault.step ? fault.error : 0; });
    }
    ~InjectedFault() { SetAtomicWriteFault({}); }
    InjectedFault(const InjectedFault&) = delete;
    InjectedFault& operator=(const InjectedFault&) = delete;
};

// Every file below `folder` with its bytes: what must not change when a write fails.
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        files[e.path().string()] = e.is_regular_file() ? ReadBytes(e.path().string()) : std::string("<folder>");
    }
    return files;
}

// Runs `save` under each fault and checks that it fails and leaves `folder` exactly as it was; then that it
// succeeds once the fault is gone (so no fault left a lock or any other state behind).
void CheckEveryFault(const std::string& folder, const std::function<bool()>& save)
{
    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.what);
        const auto before = Snapshot(folder);
        {
            InjectedFault injected(fault);
            EXPECT_FALSE(save());
        }
        EXPECT_EQ(Snapshot(folder), before);
    }
    EXPECT_TRUE(save());
}

constexpr const char* kPupilKey = "Software\\Verbanta\\Default";

} // namespace

TEST(WriteFailures, AtomicWriter)
{
    TempHome home;
    const std::string path = home.File("data/file.txt");
    WriteBytes(path, "old contents\r\n");
    CheckEveryFault(home.Path(), [&] { return WriteFileAtomic(path, std::string(100000, 'n')); });
    EXPECT_EQ(ReadBytes(path), std::string(100000, 'n'));

    // A file that did not exist is not created by a failed write.
    const std::string fresh = home.File("data/new.txt");
    CheckEveryFault(home.Path(), [&] { return WriteFileAtomic(fresh, "x"); });

    // Copies go the same way.
    CheckEveryFault(home.Path(), [&] { return CopyFileOverwrite(path, home.File("data/copy.txt")); });
}

TEST(WriteFailures, RealReadOnlyFolder)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders; the injected EROFS covers this";
    }
    TempHome home;
    const std::string folder = home.File("ro");
    const std::string path = folder + "/file.txt";
    WriteBytes(path, "old");
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    EXPECT_FALSE(WriteFileAtomic(path, "new"));
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(Snapshot(folder).size(), 1u);
    EXPECT_EQ(ReadBytes(path), "old");
}

TEST(WriteFailures, ProgressFile)
{
    TempHome home;
    const std::string dictionary = home.File("dict/basic.lqd");
    WriteBytes(dictionary, "a|1\r\nb|2\r\nc|3\r\n");
    const std::string progress = ProgressFilePath(home.File("Users"), "Default", dictionary);
    Lesson lesson;
    ASSERT_TRUE(lesson.LoadLessonWords(dictionary, progress));
    ASSERT_TRUE(lesson.SaveProgress());
    lesson.VarProgress[0].Points = 42;
    CheckEveryFault(home.Path(), [&] { return lesson.SaveProgress(); });

    // A read-only progress file is overwritten when saving works; when it fails, it keeps its mark too.
    ASSERT_TRUE(SetReadOnly(progress, true));
    lesson.VarProgress[0].Points = 43;
    CheckEveryFault(home.Path(), [&] { return lesson.SaveProgress(); });
    EXPECT_NE(ReadBytes(progress).find("|43|"), std::string::npos);
}

TEST(WriteFailures, SettingsStore)
{
    TempHome home;
    const std::string path = home.File("registry.reg");
    auto store = MakeFileRegistry(path);
    LearningSettings learning;
    SettingsWindowValues values;
    CardSettings card;
    ASSERT_TRUE(SaveLearningSettings(*store, "Default", kPupilKey, learning, "/a.lqd;"));
    ASSERT_TRUE(SaveSettings(*store, kPupilKey, values, nullptr));
    ASSERT_TRUE(SaveCardSettings(*store, kPupilKey, card));

    // Each save changes something, so each really writes.
    int round = 0;
    CheckEveryFault(home.Path(), [&] { return store->WriteInt(kPupilKey, "Single", ++round); });
    CheckEveryFault(home.Path(), [&] {
        learning.Left = ++round;
        return SaveLearningSettings(*store, "Default", kPupilKey, learning, "/a.lqd;");
    });
    CheckEveryFault(home.Path(), [&] {
        values.SE_TimeHide.Set(++round);
        return SaveSettings(*store, kPupilKey, values, nullptr);
    });
    CheckEveryFault(home.Path(), [&] {
        card.Top = ++round;
        return SaveCardSettings(*store, kPupilKey, card);
    });
    CheckEveryFault(home.Path(), [&] { return store->DeleteValue(kPupilKey, "Single"); });
    CheckEveryFault(home.Path(), [&] { return store->DeleteKey(kPupilKey); });
}

TEST(WriteFailures, AutostartEntry)
{
    TempHome home;
    const std::string entry = home.File("autostart/verbanta.desktop");
    ASSERT_TRUE(UpdateXdgAutostart(entry, "/opt/old/verbanta", true));
    CheckEveryFault(home.Path(), [&] { return UpdateXdgAutostart(entry, "/opt/new/verbanta", true); });
}
