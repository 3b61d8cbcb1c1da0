// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/clock.h"
#include "common/instance_lock.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vb {
namespace {

using vbtest::TempHome;

TEST(InstanceLockTest, OnlyOneHolderAtATime)
{
    TempHome home;
    const std::string path = home.File("cfg/verbanta.lock");
    InstanceLock first;
    ASSERT_TRUE(first.Acquire(path)); // creates the folder too
    EXPECT_TRUE(first.Acquire(path)); // already held by this object

    InstanceLock second;
    EXPECT_FALSE(second.Acquire(path));

#ifndef _WIN32
    // Another process sees the lock as taken as well.
    const pid_t child = ::fork();
    if (child == 0) {
        InstanceLock other;
        _exit(other.Acquire(path) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
#endif

    first.Release();
    EXPECT_TRUE(second.Acquire(path));
}

#ifndef _WIN32
TEST(InstanceLockTest, ALockOfADeadProcessIsFree)
{
    TempHome home;
    const std::string path = home.File("verbanta.lock");
    const pid_t child = ::fork();
    if (child == 0) {
        auto* lock = new InstanceLock; // never released: the kernel must drop it
        _exit(lock->Acquire(path) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    InstanceLock lock;
    EXPECT_TRUE(lock.Acquire(path));
}
#endif

TEST(InstanceLockTest, AnUncreatableLockFileDoesNotBlockTheStart)
{
    TempHome home;
    vbtest::WriteBytes(home.File("plain"), "x");
    InstanceLock lock;
    EXPECT_TRUE(lock.Acquire(home.File("plain/verbanta.lock")));
}

TEST(SystemClockTest, CountsMilliseconds)
{
    const std::uint32_t start = SystemClock().TickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::uint32_t elapsed = SystemClock().TickCount() - start; // unsigned: right across a wrap too
    EXPECT_GE(elapsed, 20u);
    EXPECT_LT(elapsed, 10000u);
}

} // namespace
} // namespace vb
