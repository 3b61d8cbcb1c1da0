// SPDX-License-Identifier: GPL-3.0-or-later
// The answer history file: its lines read back as written, damaged lines are skipped without stopping the
// rest, appends fail without touching earlier lines, and a process killed while appending leaves a file
// that reads.

#include "support/temp_home.h"
#include "support/write_faults.h"

#include "common/files.h"
#include "engine/history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace vb;

namespace {

AnswerRecord Answer(int n)
{
    AnswerRecord r;
    r.Time = DaysFromCivil(2026, 12, 8) * 86400 + 11 * 3600 + 13 * 60 + n % 60;
    r.Method = n % 3;
    r.WordIndex = n;
    r.Right = n % 2 == 0;
    r.Hints = n % 4;
    r.PointsChange = r.Right ? 18 : -10;
    r.Learned = n % 5 == 0;
    r.Word = "to be";
    return r;
}

TEST(HistoryFile, LinesReadBackAsWritten)
{
    AnswerRecord a = Answer(2);
    a.Word = "\xEF\xF0\xE8\xE2\xE5\xF2 | x"; // 1251 bytes and a separator inside the word
    EXPECT_EQ(FormatAnswerLine(a), "2026-12-08 11:13:02|2|2|1|2|18|0|" + a.Word + "\r\n");
    const DayTotal t{DaysFromCivil(2023, 2, 28), 1, 200, 13, 41};
    EXPECT_EQ(FormatTotalLine(t), "T|2023-02-28|1|200|13|41\r\n");
    const StateRecord s{DaysFromCivil(2024, 2, 29), 0, 7, 10.964332336, 2.111214236, true, "word"};

    const HistoryData data = ParseHistory(FormatStateLine(s) + FormatTotalLine(t) + FormatAnswerLine(a));
    EXPECT_EQ(data.DamagedLines, 0u);
    ASSERT_EQ(data.Answers.size(), 1u);
    EXPECT_EQ(data.Answers[0], a);
    ASSERT_EQ(data.Totals.size(), 1u);
    EXPECT_EQ(data.Totals[0], t);
    ASSERT_EQ(data.States.size(), 1u);
    EXPECT_EQ(data.States[0], s); // stability and difficulty exactly, not rounded

    // Control bytes in a word cannot break the line.
    a.Word = std::string("a\nb\rc\0d", 7);
    const HistoryData again = ParseHistory(FormatAnswerLine(a));
    ASSERT_EQ(again.Answers.size(), 1u);
    EXPECT_EQ(again.Answers[0].Word, "a b c d");
}

TEST(HistoryFile, DamagedLinesAreSkipped)
{
    const std::string good = FormatAnswerLine(Answer(1));
    std::string text = good;
    text += "2026-02-30 10:00:00|0|1|1|0|6|0|no such day\r\n";
    text += "2026-12-08 24:00:00|0|1|1|0|6|0|no such hour\r\n";
    text += "2026-12-08 10:00:00|3|1|1|0|6|0|method 3\r\n";
    text += "2026-12-08 10:00:00|0|-1|1|0|6|0|negative index\r\n";
    text += "2026-12-08 10:00:00|0|1|2|0|6|0|right is 0 or 1\r\n";
    text += "2026-12-08 10:00:00|0|1|1|0|99999999999|0|points beyond int32\r\n";
    text += "2026-12-08 10:00:00|0|1|1\r\n";
    text += "S|2026-12-08|0|1|nan|5|1|w\r\n";
    text += "S|2026-12-08|0|1|2|11|1|difficulty above 10\r\n";
    text += "T|2026-12-08|0|1|2\r\n";
    text += std::string("\0\x01\xFF\xFE binary junk \0", 19) + "\n";
    text += std::string(10 * 1024 * 1024, 'x') + "\n";
    text += good;
    text += good.substr(0, good.size() / 2); // cut by a crash
    const HistoryData data = ParseHistory(text);
    EXPECT_EQ(data.Answers.size(), 2u);
    EXPECT_TRUE(data.Totals.empty());
    EXPECT_TRUE(data.States.empty());
    EXPECT_EQ(data.DamagedLines, 13u);
}

TEST(HistoryFile, FailedAppendLeavesEarlierLinesWhole)
{
    vbtest::TempHome home;
    const std::string path = home.File("Users/Default/d.lqh");
    vbtest::WriteBytes(path, FormatAnswerLine(Answer(1)));
    int n = 2;
    for (AtomicWriteStep step :
         {AtomicWriteStep::Create, AtomicWriteStep::Write, AtomicWriteStep::Sync, AtomicWriteStep::Flush}) {
        for (int error : {EIO, ENOSPC}) {
            const auto before = vbtest::FolderSnapshot(home.Path());
            {
                vbtest::InjectedWriteFault fault(step, error);
                EXPECT_FALSE(AppendAnswer(path, Answer(n++)));
            }
            EXPECT_EQ(vbtest::FolderSnapshot(home.Path()), before);
        }
    }
    EXPECT_TRUE(AppendAnswer(path, Answer(n)));
    EXPECT_EQ(ParseHistory(vbtest::ReadBytes(path)).Answers.size(), 2u);

    // A failed first append leaves no empty file behind either.
    const std::string fresh = home.File("Users/Default/e.lqh");
    {
        vbtest::InjectedWriteFault fault(AtomicWriteStep::Write, ENOSPC);
        EXPECT_FALSE(AppendAnswer(fresh, Answer(1)));
    }
    EXPECT_FALSE(FileExists(fresh));
}

TEST(HistoryFile, AppendAfterATornLineStartsAFreshLine)
{
    vbtest::TempHome home;
    const std::string path = home.File("h.lqh");
    const std::string good = FormatAnswerLine(Answer(1));
    vbtest::WriteBytes(path, good + good.substr(0, 10));
    ASSERT_TRUE(AppendAnswer(path, Answer(2)));
    const HistoryData data = ParseHistory(vbtest::ReadBytes(path));
    ASSERT_EQ(data.Answers.size(), 2u);
    EXPECT_EQ(data.Answers[1], Answer(2));
    EXPECT_EQ(data.DamagedLines, 1u);
}

#ifndef _WIN32
TEST(HistoryFile, KilledWhileAppendingLeavesAReadableFile)
{
    vbtest::TempHome home;
    const std::string path = home.File("h.lqh");
    for (int round = 0; round < 5; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                AppendAnswer(path, Answer(i));
            }
        }
        // Let the child get going (a busy machine may take a while), then kill it somewhere in an append.
        const std::size_t before = FileExists(path) ? vbtest::ReadBytes(path).size() : 0;
        for (int wait = 0; wait < 2000 && (!FileExists(path) || vbtest::ReadBytes(path).size() <= before); ++wait) {
            usleep(1000);
        }
        usleep(static_cast<useconds_t>(3000 + 2000 * round));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        // A line crossing a page may be cut by the kill; it is skipped, and every whole line reads.
        const std::string text = vbtest::ReadBytes(path);
        const HistoryData data = ParseHistory(text);
        EXPECT_LE(data.DamagedLines, static_cast<std::size_t>(round + 1));
        EXPECT_GT(data.Answers.size(), 0u);
        EXPECT_EQ(data.Answers.size() + data.DamagedLines,
                  static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) +
                      (text.ends_with('\n') ? 0 : 1));
    }
    const std::size_t count = ParseHistory(vbtest::ReadBytes(path)).Answers.size();
    ASSERT_TRUE(AppendAnswer(path, Answer(7)));
    EXPECT_EQ(ParseHistory(vbtest::ReadBytes(path)).Answers.size(), count + 1);
}
#endif

TEST(HistoryFile, CalendarDaysRoundTrip)
{
    for (std::int64_t day : {-719162LL, -1LL, 0LL, 11016LL, 20430LL, 2932896LL}) {
        int y = 0, m = 0, d = 0;
        CivilFromDays(day, y, m, d);
        EXPECT_EQ(DaysFromCivil(y, m, d), day);
    }
    EXPECT_EQ(FormatDate(DaysFromCivil(2024, 2, 29)), "2024-02-29");
    EXPECT_EQ(DayOf(-1), -1);
    EXPECT_EQ(HistoryFilePath(vbtest::NativePath("/a/Users/Default/basic.lqs")),
              vbtest::NativePath("/a/Users/Default/basic.lqh"));
}

} // namespace
