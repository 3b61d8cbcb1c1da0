// SPDX-License-Identifier: GPL-3.0-or-later
// Every step of an atomic write failing in turn (create, write, a full disk, sync, flush, rename, a
// read-only folder), for the writer itself and for every part of the program that saves through it: the
// old file stays byte for byte, no temporary file is left behind, and the failure is reported.

#include "support/temp_home.h"
#include "support/write_faults.h"

#include "common/autostart.h"
#include "common/files.h"
#include "common/registry.h"
#include "engine/lesson.h"
#include "engine/progress_file.h"
#include "engine/settings.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

using namespace vb;
using vbtest::ExpectEveryWriteFailureReported;
using vbtest::FolderSnapshot;
using vbtest::ReadBytes;
using vbtest::TempHome;
using vbtest::WriteBytes;

namespace {

constexpr const char* kPupilKey = "Software\\Verbanta\\Default";

} // namespace

TEST(WriteFailures, AtomicWriter)
{
    TempHome home;
    const std::string path = home.File("data/file.txt");
    WriteBytes(path, "old contents\r\n");
    ExpectEveryWriteFailureReported(home.Path(), [&] { return WriteFileAtomic(path, std::string(100000, 'n')); });
    EXPECT_EQ(ReadBytes(path), std::string(100000, 'n'));

    // A file that did not exist is not created by a failed write.
    const std::string fresh = home.File("data/new.txt");
    ExpectEveryWriteFailureReported(home.Path(), [&] { return WriteFileAtomic(fresh, "x"); });

    // Copies go the same way.
    ExpectEveryWriteFailureReported(home.Path(), [&] { return CopyFileOverwrite(path, home.File("data/copy.txt")); });
}

#ifndef _WIN32 // Windows has no read-only mark on folders
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
    EXPECT_EQ(FolderSnapshot(folder).size(), 1u);
    EXPECT_EQ(ReadBytes(path), "old");
}
#endif

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
    ExpectEveryWriteFailureReported(home.Path(), [&] { return lesson.SaveProgress(); });

    // A read-only progress file is overwritten when saving works; when it fails, it keeps its mark too.
    ASSERT_TRUE(SetReadOnly(progress, true));
    lesson.VarProgress[0].Points = 43;
    ExpectEveryWriteFailureReported(home.Path(), [&] { return lesson.SaveProgress(); });
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
    ExpectEveryWriteFailureReported(home.Path(), [&] { return store->WriteInt(kPupilKey, "Single", ++round); });
    ExpectEveryWriteFailureReported(home.Path(), [&] {
        learning.Left = ++round;
        return SaveLearningSettings(*store, "Default", kPupilKey, learning, "/a.lqd;");
    });
    ExpectEveryWriteFailureReported(home.Path(), [&] {
        values.SE_TimeHide.Set(++round);
        return SaveSettings(*store, kPupilKey, values, nullptr);
    });
    ExpectEveryWriteFailureReported(home.Path(), [&] {
        card.Top = ++round;
        return SaveCardSettings(*store, kPupilKey, card);
    });
    ExpectEveryWriteFailureReported(home.Path(), [&] { return store->DeleteValue(kPupilKey, "Single"); });
    ExpectEveryWriteFailureReported(home.Path(), [&] { return store->DeleteKey(kPupilKey); });
}

TEST(WriteFailures, AutostartEntry)
{
    TempHome home;
    const std::string entry = home.File("autostart/verbanta.desktop");
    ASSERT_TRUE(UpdateXdgAutostart(entry, "/opt/old/verbanta", true));
    ExpectEveryWriteFailureReported(home.Path(), [&] { return UpdateXdgAutostart(entry, "/opt/new/verbanta", true); });
}
