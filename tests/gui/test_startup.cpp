// SPDX-License-Identifier: GPL-3.0-or-later
// The single instance: the request a second start leaves, and the running instance taking it.

#include "app/gui/learning_startup.h"
#include "common/app_paths.h"
#include "common/instance_lock.h"
#include "support/temp_home.h"
#include "test_learning_fixture.h"

#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/types.h>

#include <csignal>
#include <memory>
#include <optional>
#include <string>

using vb::MakeMemoryRegistry;

namespace {

constexpr const char* kRoot = "Software\\Verbanta";
constexpr const char* kPupilKey = "Software\\Verbanta\\Default";

} // namespace

TEST(StartRequest, PostedOnlyIntoAnExistingKey)
{
    auto store = MakeMemoryRegistry();
    EXPECT_FALSE(vb::PostStartRequest(*store, {"some.lqd"}));
    EXPECT_FALSE(store->KeyExists(kRoot));

    store->CreateKey(kRoot);
    EXPECT_TRUE(vb::PostStartRequest(*store, {"some.lqd", "ignored"}));
    EXPECT_EQ(store->ReadString(kRoot, ""), "some.lqd");
    EXPECT_TRUE(vb::PostStartRequest(*store, {}));
    EXPECT_EQ(store->ReadString(kRoot, ""), "startup");
    // An empty argument must still bring the running instance forward.
    EXPECT_TRUE(vb::PostStartRequest(*store, {""}));
    EXPECT_EQ(store->ReadString(kRoot, ""), "startup");
}

TEST(StartRequest, DictionaryArgumentAndChoice)
{
    EXPECT_TRUE(vb::IsDictionaryArgument("a.lqd"));
    EXPECT_TRUE(vb::IsDictionaryArgument("/x/B.LQD"));
    EXPECT_TRUE(vb::IsDictionaryArgument(".Lqd"));
    EXPECT_FALSE(vb::IsDictionaryArgument("lqd"));
    EXPECT_FALSE(vb::IsDictionaryArgument(""));
    EXPECT_FALSE(vb::IsDictionaryArgument("words.lqd.txt"));
    EXPECT_FALSE(vb::IsDictionaryArgument("startup"));

    const std::string def = "/data/dict/dt_basic.lqd";
    EXPECT_EQ(vb::ChooseDictionary("", {}, false, def), def);
    EXPECT_EQ(vb::ChooseDictionary("/s.lqd", {}, false, def), "/s.lqd");
    EXPECT_EQ(vb::ChooseDictionary("/s.lqd", {"/arg.LQD"}, false, def), "/arg.LQD");
    // Only at start-up, and only a dictionary.
    EXPECT_EQ(vb::ChooseDictionary("/s.lqd", {"/arg.lqd"}, true, def), "/s.lqd");
    EXPECT_EQ(vb::ChooseDictionary("/s.lqd", {"/notes.txt"}, false, def), "/s.lqd");
    EXPECT_EQ(vb::ChooseDictionary("", {"/notes.txt"}, false, def), def);
}

TEST(StartRequest, RelativeArgumentBecomesAbsolute)
{
    EXPECT_EQ(vb::AbsoluteArgument("words.lqd", "/home/u"), "/home/u/words.lqd");
    EXPECT_EQ(vb::AbsoluteArgument("../d/./w.lqd", "/home/u"), "/home/d/w.lqd");
    EXPECT_EQ(vb::AbsoluteArgument("/abs/w.lqd", "/home/u"), "/abs/w.lqd");
    EXPECT_EQ(vb::AbsoluteArgument("", "/home/u"), "");
}

// ---------------------------------------------------------------------------------------------------
// The real program, started twice.

namespace {

class Program
{
public:
    explicit Program(const std::string& home)
    {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VERBANTA_HOME"), QString::fromStdString(home));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(env);
        m_process.setProgram(QStringLiteral(VB_EXE_PATH));
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }

    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            Continue();
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    void Start(const QStringList& args = {}, const QString& folder = {})
    {
        m_process.setWorkingDirectory(folder);
        m_process.setArguments(args);
        m_process.start();
    }

    void Stop() { Signal(SIGSTOP); }
    void Continue() { Signal(SIGCONT); }

    QProcess& Process() { return m_process; }

private:
    void Signal(int sig)
    {
        // Never 0: that would signal this whole process group.
        const auto pid = static_cast<pid_t>(m_process.processId());
        if (pid > 0) {
            ::kill(pid, sig);
        }
    }

    QProcess m_process;
};

struct Home
{
    vbtest::TempHome temp;
    vb::AppPaths paths = vb::AppPaths::FromEnvironment(VB_EXE_PATH);
    std::unique_ptr<vb::Registry> store = vb::MakeFileRegistry(paths.RegistryFile());

    std::optional<std::string> Request() { return store->ReadString(kRoot, ""); }
};

} // namespace

TEST(SecondStart, LeavesItsArgumentAndEndsAtOnce)
{
    Home home;
    home.store->CreateKey(kRoot);
    // This test holds the lock, so the program finds an instance running.
    vb::InstanceLock lock;
    ASSERT_TRUE(lock.Acquire(home.paths.InstanceLockFile()));

    // How fast it ends is measured by bench/second_start.sh, not here.
    // A relative path is handed over whole: the running instance has a working folder of its own.
    Program second(home.temp.Path());
    second.Start({QStringLiteral("some.lqd")}, QString::fromStdString(home.temp.Path()));
    ASSERT_TRUE(second.Process().waitForFinished(30000));
    EXPECT_EQ(second.Process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.Process().exitCode(), 0);
    EXPECT_EQ(home.Request(), home.temp.File("some.lqd"));

    Program plain(home.temp.Path());
    plain.Start();
    ASSERT_TRUE(plain.Process().waitForFinished(30000));
    EXPECT_EQ(plain.Process().exitCode(), 0);
    EXPECT_EQ(home.Request(), "startup");
}

TEST(SecondStart, WritesNothingWithoutTheKey)
{
    Home home;
    vb::InstanceLock lock;
    ASSERT_TRUE(lock.Acquire(home.paths.InstanceLockFile()));

    Program second(home.temp.Path());
    second.Start({QStringLiteral("some.lqd")});
    ASSERT_TRUE(second.Process().waitForFinished(30000));
    EXPECT_EQ(second.Process().exitCode(), 0);
    EXPECT_FALSE(home.store->KeyExists(kRoot));
}

TEST(SecondStart, RunningInstanceTakesTheRequest)
{
    Home home;
    home.store->CreateKey(kRoot);
    // A request pending from the start tells when the first instance is up and polling.
    home.store->WriteString(kRoot, "", "startup");

    Program first(home.temp.Path());
    first.Start();
    ASSERT_TRUE(first.Process().waitForStarted(30000));
    ASSERT_TRUE(vbtest::WaitUntil([&] { return home.Request() == ""; }, 30000)) << "the first instance never polled";
    ASSERT_EQ(first.Process().state(), QProcess::Running);

    // Frozen, the first instance cannot take the request before it is checked. A start under the
    // sanitizers on a busy machine can take seconds; a longer wait means the instance was frozen
    // holding the store's lock, and the second start waits for it.
    first.Stop();
    Program second(home.temp.Path());
    second.Start({QStringLiteral("/some.lqd")});
    const bool endedWhileFrozen = second.Process().waitForFinished(10000);
    if (endedWhileFrozen) {
        EXPECT_EQ(home.Request(), "/some.lqd");
    }
    first.Continue();
    // Frozen in the middle of a store write, the first instance held the second one up; then only the
    // outcome can be checked.
    ASSERT_TRUE(endedWhileFrozen || second.Process().waitForFinished(30000));
    EXPECT_EQ(second.Process().exitCode(), 0);

    // The poll (every 1500 ms, checked with the window's timers) takes the request and clears it.
    EXPECT_TRUE(vbtest::WaitUntil([&] { return home.Request() == ""; }, 15000));
    EXPECT_EQ(first.Process().state(), QProcess::Running);
}

TEST(SecondStart, PairedStartsGiveOneWindow)
{
    Home home;
    home.store->CreateKey(kRoot);
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Absolute paths, since a second start hands over a relative one made absolute.
        const QString argA = QStringLiteral("/a%1").arg(round);
        const QString argB = QStringLiteral("/b%1").arg(round);
        Program a(home.temp.Path());
        Program b(home.temp.Path());
        a.Start({argA});
        b.Start({argB});

        // One of the two finds the other running, leaves its request and ends.
        auto ended = [](Program& p) { return p.Process().state() == QProcess::NotRunning; };
        ASSERT_TRUE(vbtest::WaitUntil([&] { return ended(a) || ended(b); }, 60000));
        QThread::msleep(100);
        ASSERT_NE(ended(a), ended(b)) << "both ended or both run";
        Program& second = ended(a) ? a : b;
        Program& first = ended(a) ? b : a;
        EXPECT_EQ(second.Process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.Process().exitCode(), 0);
        // Handed over as an absolute path in the test's own working folder.
        const std::string posted =
            vb::AbsoluteArgument((ended(a) ? argA : argB).toStdString(), std::filesystem::current_path().string());
        const auto request = home.Request();
        EXPECT_TRUE(request == posted || request == "") << *request;

        // The other is the one instance: it holds the lock, and its window takes the request.
        vb::InstanceLock probe;
        EXPECT_FALSE(probe.Acquire(home.paths.InstanceLockFile()));
        if (round == 0 || round == 49) {
            EXPECT_TRUE(vbtest::WaitUntil([&] { return home.Request() == ""; }, 30000));
        }
        EXPECT_FALSE(ended(first));

        // Killed, it leaves its lock file behind, which must not keep the next round from starting.
        first.Process().kill();
        ASSERT_TRUE(first.Process().waitForFinished(10000));
    }
}

TEST(DamagedStore, TheProgramStartsAndKeepsTheOriginal)
{
    Home home;
    const std::string path = home.paths.RegistryFile();
    std::string damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Verbanta]\n"
                          "\"Application\"=\"Default\"\n\n[HKEY_CURRENT_USER\\Software\\Verbanta\\Petya]\n"
                          "\"SetSE_CountVar\"=dword:00000003\n";
    damaged += std::string("\"Nul\"=\"a\0b\"\n", 11);
    damaged += "\"Huge\"=\"" + std::string(10u * 1024 * 1024, 'x') + "\n";
    damaged += "\"Latin1\"=\"caf\xE9\"\n";
    damaged += "[HKEY_CURRENT_USER\\Software\\Verbanta\\Default]\n\"SetCB_Card\"=dword:0000";
    vbtest::WriteBytes(path, damaged);

    Program program(home.temp.Path());
    program.Start();
    // Shown, the window saves its settings: the first rewrite, after the original was kept.
    ASSERT_TRUE(vbtest::WaitUntil([&] { return home.store->ReadInt(kPupilKey, "SetSE_CountVar").has_value(); }, 60000));
    EXPECT_EQ(program.Process().state(), QProcess::Running);
    EXPECT_TRUE(vbtest::ReadBytes(path + ".bak") == damaged);
    const std::string rewritten = vbtest::ReadBytes(path);
    EXPECT_LT(rewritten.size(), 100000u);
    EXPECT_EQ(rewritten.find('\0'), std::string::npos);
    // What could be read is kept: another pupil's value and the bytes that are not UTF-8.
    EXPECT_EQ(home.store->ReadInt("Software\\Verbanta\\Petya", "SetSE_CountVar"), 3);
    EXPECT_EQ(home.store->ReadString("Software\\Verbanta\\Petya", "Latin1"), "caf\xE9");
    // The cut-short value read as missing: the window wrote its default.
    EXPECT_EQ(home.store->ReadInt(kPupilKey, "SetCB_Card"), 1);
}
