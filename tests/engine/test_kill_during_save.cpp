// SPDX-License-Identifier: GPL-3.0-or-later
// A process killed (kill -9) at any moment of saving the progress file or the settings store: each file
// reads back whole afterwards, as one of the versions that were saved, never a mix or a torn file.

#include "support/temp_home.h"

#include "common/files.h"
#include "common/registry.h"
#include "engine/lesson.h"
#include "engine/progress_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace vb;

namespace {

constexpr int kWords = 100;
constexpr int kValues = 20;
constexpr const char* kKey = "Software\\Verbanta\\Default";

void SetAllPoints(Lesson& lesson, int points)
{
    for (auto* progress : {&lesson.VarProgress, &lesson.MozProgress, &lesson.EnterProgress}) {
        for (TWordProgress& p : *progress) {
            p.Points = points;
        }
    }
}

bool SaveStore(Registry& store, int version)
{
    RegistryBatch batch(store);
    store.CreateKey(kKey);
    for (int k = 0; k < kValues; ++k) {
        store.WriteInt(kKey, "Value" + std::to_string(k), version);
    }
    return batch.Finish();
}

// The one version every line of the progress file holds, or -1 when the file is not whole or mixed.
int ProgressVersion(const std::string& path)
{
    std::string text;
    ProgressArray var, moz, enter;
    if (!ReadWholeFile(path, text) || !ParseProgressFile(text, kWords, var, moz, enter)) {
        return -1;
    }
    const int version = var[0].Points;
    for (const auto* progress : {&var, &moz, &enter}) {
        for (const TWordProgress& p : *progress) {
            if (p.Points != version) {
                return -1;
            }
        }
    }
    return version;
}

int StoreVersion(const std::string& path)
{
    std::string text;
    bool whole = false;
    if (!ReadWholeFile(path, text)) {
        return -1;
    }
    const auto store = MakeMemoryRegistryFromText(text, &whole);
    const auto version = store->ReadInt(kKey, "Value0");
    if (!whole || !version) {
        return -1;
    }
    for (int k = 1; k < kValues; ++k) {
        if (store->ReadInt(kKey, "Value" + std::to_string(k)) != version) {
            return -1;
        }
    }
    return *version;
}

int TemporaryFiles(const std::string& folder)
{
    int n = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        n += e.path().filename().string().find(".tmp") != std::string::npos;
    }
    return n;
}

} // namespace

TEST(KillDuringSave, FilesAlwaysReadBackWhole)
{
    vbtest::TempHome home;
    const std::string dictionary = home.File("dict/words.lqd");
    std::string words;
    for (int i = 0; i < kWords; ++i) {
        words += "word" + std::to_string(i) + "|translation\r\n";
    }
    vbtest::WriteBytes(dictionary, words);
    const std::string progress = ProgressFilePath(home.File("Users"), "Default", dictionary);
    const std::string registry = home.File("registry.reg");

    Lesson lesson;
    ASSERT_TRUE(lesson.LoadLessonWords(dictionary, progress));
    auto store = MakeFileRegistry(registry);
    ASSERT_TRUE(lesson.SaveProgress());
    ASSERT_TRUE(SaveStore(*store, 0));

    std::mt19937 random(2024);
    for (int round = 0; round < 200; ++round) {
        const int first = (round + 1) * 1000000;
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(30); // never outlives a parent that failed to kill it
            for (int version = first;; ++version) {
                SetAllPoints(lesson, version);
                lesson.SaveProgress();
                SaveStore(*store, version);
                if (version == first) {
                    [[maybe_unused]] const auto n = ::write(ready[1], "s", 1);
                }
            }
        }
        // The kill lands at a random moment of the saves that follow the first one.
        char byte = 0;
        ::close(ready[1]);
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        ::usleep(static_cast<useconds_t>(random() % 5000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        // Each file holds one whole version, saved by this child.
        EXPECT_GE(ProgressVersion(progress), first) << "round " << round;
        EXPECT_GE(StoreVersion(registry), first) << "round " << round;
    }

    // What the killed writers left behind is cleared by the next save of the same file.
    SetAllPoints(lesson, 1);
    ASSERT_TRUE(lesson.SaveProgress());
    ASSERT_TRUE(SaveStore(*store, 1));
    EXPECT_EQ(TemporaryFiles(home.Path()), 0);
}
