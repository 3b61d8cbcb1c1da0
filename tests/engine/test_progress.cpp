// SPDX-License-Identifier: GPL-3.0-or-later
// Lesson words and the progress file: loading, the fallbacks of a progress file that does not fit, and
// saving that never loses the old file.

#include "engine_fakes.h"
#include "support/temp_home.h"

#include "common/files.h"
#include "dictionary/line_format.h"
#include "engine/lesson_preload.h"
#include "engine/progress_file.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vb;
using vbtest::Indexes;
using vbtest::Points;
using vbtest::Progress;

namespace {

// A dictionary of `n` words w0|t0 .. with CR LF line ends.
std::string Dictionary(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += vbtest::Numbered("w", i);
        text += vbtest::Numbered("|t", i);
        text += "\r\n";
    }
    return text;
}

class ProgressTest : public ::testing::Test
{
protected:
    vbtest::TempHome home;
    std::string dictionary = home.File("dict/basic.lqd");
    std::string progress = ProgressFilePath(home.File("Users"), "Default", dictionary);

    // Loads a dictionary of `n` words and, when given, the progress file's bytes.
    void Load(Lesson& lesson, int n, const std::string* progressBytes)
    {
        vbtest::WriteBytes(dictionary, Dictionary(n));
        if (progressBytes) {
            vbtest::WriteBytes(progress, *progressBytes);
        } else {
            std::filesystem::remove(progress);
        }
        ASSERT_TRUE(lesson.LoadLessonWords(dictionary, progress));
    }

    // True when the lesson holds exactly the fresh start a missing progress file gives.
    void ExpectFreshStart(const Lesson& lesson, int n)
    {
        Lesson reference;
        Load(reference, n, nullptr);
        EXPECT_EQ(lesson.VarProgress, reference.VarProgress);
        EXPECT_EQ(lesson.MozProgress, reference.VarProgress);
        EXPECT_EQ(lesson.EnterProgress, reference.VarProgress);
        EXPECT_EQ(lesson.Random.RandomSeed, reference.Random.RandomSeed);
        for (const auto& p : lesson.VarProgress) {
            EXPECT_EQ(p.Points, 0);
        }
    }
};

} // namespace

TEST(ProgressPath, PupilFolderAndDictionaryNameUpToItsFirstDot)
{
    using vbtest::NativePath;
    EXPECT_EQ(ProgressFilePath(NativePath("/home/v/Users"), "Default", NativePath("/data/dict/basic.old.lqd")),
              NativePath("/home/v/Users/Default/basic.lqs"));
    EXPECT_EQ(ProgressFilePath(NativePath("/p/Users"), "Анна", NativePath("/elsewhere/basic.lqd")),
              NativePath("/p/Users/Анна/basic.lqs"));
}

TEST_F(ProgressTest, DictionaryLinesBecomeLessonWords)
{
    vbtest::WriteBytes(dictionary, "to_be|\xE1\xFB\xF2\xFC\r\n\r\n   \r\n  \thi|x|[[hi]|note|extra\r\nhello|b|hi\r\n");
    Lesson lesson;
    lesson.RightCount = lesson.ErrorCount = lesson.LearnedCount = 4;
    ASSERT_TRUE(lesson.LoadLessonWords(dictionary, progress));
    ASSERT_EQ(lesson.WordCount, 3);
    EXPECT_EQ(lesson.LessonWords[0], (TLessonWord{"to be", "быть", "", ""}));
    EXPECT_EQ(lesson.LessonWords[1], (TLessonWord{"hi", "x", "[hi]", "note"}));
    EXPECT_EQ(lesson.LessonWords[2].Transcription, "[hi]");
    EXPECT_EQ(lesson.RightCount + lesson.ErrorCount + lesson.LearnedCount, 0);
    EXPECT_EQ(lesson.WorkSetSize, 3);

    // The lines are those the dictionary module's lesson reading takes.
    const std::string odd("\x01"
                          "a_b|c\rd|e|f|g|h\n\n\t|x\r\n  \x7f|y\nlast\0hidden\r\nmore",
                          46);
    vbtest::WriteBytes(dictionary, odd);
    ASSERT_TRUE(lesson.LoadLessonWords(dictionary, progress));
    const auto entries = ReadLessonEntries(odd);
    ASSERT_EQ(lesson.LessonWords.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(lesson.LessonWords[i],
                  (TLessonWord{entries[i].word, entries[i].translate, entries[i].transcription, entries[i].tesaurus}));
    }

    // An unreadable or blank dictionary leaves an empty lesson, and no order is drawn for it.
    EXPECT_FALSE(lesson.LoadLessonWords(home.File("missing.lqd"), progress));
    EXPECT_TRUE(lesson.LessonWords.empty() && lesson.VarProgress.empty() && lesson.EnterProgress.empty());
    EXPECT_EQ(lesson.WordCount + lesson.WorkSetSize, 0);
    vbtest::WriteBytes(dictionary, "\r\n \t\r\n");
    Lesson blank;
    EXPECT_TRUE(blank.LoadLessonWords(dictionary, progress));
    EXPECT_EQ(blank.WordCount, 0);
    EXPECT_EQ(blank.Random.RandomSeed, 203);
}

TEST_F(ProgressTest, WorkedExampleLoadsPlaceByPlace)
{
    const std::string file = "0|6|2|0|1|0\r\n1|0|0|4|2|0\r\n2|-6|1|0|0|18\r\n";
    Lesson lesson;
    Load(lesson, 3, &file);
    EXPECT_EQ(lesson.VarProgress, Progress({{0, 6}, {1, 0}, {2, -6}}));
    EXPECT_EQ(lesson.MozProgress, Progress({{2, 0}, {0, 4}, {1, 0}}));
    EXPECT_EQ(lesson.EnterProgress, Progress({{1, 0}, {2, 0}, {0, 18}}));
    EXPECT_EQ(lesson.Random.RandomSeed, 203);

    // The same file for a dictionary of four words: a fresh start.
    Lesson other;
    Load(other, 4, &file);
    ExpectFreshStart(other, 4);
}

TEST_F(ProgressTest, FreshStartOrderFromTheGenerator)
{
    // Points drawn from seed 203 for 5 words: 28, 38, 49, 46, 39; sorted order 0, 1, 4, 3, 2.
    Lesson five;
    Load(five, 5, nullptr);
    EXPECT_EQ(Indexes(five.VarProgress), (std::vector<int>{0, 1, 4, 3, 2}));
    EXPECT_EQ(Points(five.VarProgress), (std::vector<int>(5, 0)));
    EXPECT_EQ(five.MozProgress, five.VarProgress);
    EXPECT_EQ(five.EnterProgress, five.VarProgress);

    // 10 words: points 56, 77, 98, 92, 78, 21, 92, 4, 56, 31 (equal points keep the quicksort's order).
    Lesson ten;
    Load(ten, 10, nullptr);
    EXPECT_EQ(Indexes(ten.VarProgress), (std::vector<int>{7, 5, 9, 0, 8, 1, 4, 3, 6, 2}));
    EXPECT_EQ(ten.Random.RandomSeed, 5488);
}

TEST_F(ProgressTest, ToleratedLayouts)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        ProgressArray var, moz, enter;
    };
    const std::vector<Case> cases = {
        {"short line leaves the rest 0", "2|12\r\n0|0|1|0|1|0\r\n1|0|2|0|2|0\r\n", Progress({{2, 12}, {0, 0}, {1, 0}}),
         Progress({{0, 0}, {1, 0}, {2, 0}}), Progress({{0, 0}, {1, 0}, {2, 0}})},
        {"blank lines, indentation, lone CR and LF, no last line end",
         "\r\n\r\n  \t0|1|0|2|0|3\n\n1|4|1|5|1|6\r\x01 2|7|2|8|2|9", Progress({{0, 1}, {1, 4}, {2, 7}}),
         Progress({{0, 2}, {1, 5}, {2, 8}}), Progress({{0, 3}, {1, 6}, {2, 9}})},
        {"fields after the sixth ignored, empty fields and -0 read as 0",
         "0|-2147483648|0|2147483647|0|-0|junk|x\r\n1||1||1|\r\n2|007|2|0|2|0\r\n",
         Progress({{0, -2147483647 - 1}, {1, 0}, {2, 7}}), Progress({{0, 2147483647}, {1, 0}, {2, 0}}),
         Progress({{0, 0}, {1, 0}, {2, 0}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lesson lesson;
        Load(lesson, 3, &c.bytes);
        EXPECT_EQ(lesson.VarProgress, c.var);
        EXPECT_EQ(lesson.MozProgress, c.moz);
        EXPECT_EQ(lesson.EnterProgress, c.enter);
    }
}

TEST_F(ProgressTest, FilesThatDoNotFitStartAfresh)
{
    const std::string good = "0|6|2|0|1|0\r\n1|0|0|4|2|0\r\n";
    struct Case
    {
        const char* name;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"too few lines", good},
        {"too many lines", good + "2|0|1|0|0|0\r\n0|0|0|0|0|0\r\n"},
        {"index out of range", good + "3|0|1|0|0|0\r\n"},
        {"negative index", good + "-1|0|1|0|0|0\r\n"},
        {"repeated index", good + "1|0|1|0|0|0\r\n"},
        {"missing index left at 0 repeats 0", good + "2\r\n"},
        {"letters", good + "2|x|1|0|0|0\r\n"},
        {"digits then letters", good + "2|1x|1|0|0|0\r\n"},
        {"plus sign", good + "2|+1|1|0|0|0\r\n"},
        {"hexadecimal", good + "2|$1F|1|0|0|0\r\n"},
        {"lone minus", good + "2|-|1|0|0|0\r\n"},
        {"space inside a field", good + "2| 1|1|0|0|0\r\n"},
        {"trailing space", good + "2|1|1|0|0|0 \r\n"},
        {"just above int32", good + "2|2147483648|1|0|0|0\r\n"},
        {"just below int32", good + "2|-2147483649|1|0|0|0\r\n"},
        {"huge number", good + "2|99999999999999999999999999999999|1|0|0|0\r\n"},
        {"huge index", good + "4294967298|0|1|0|0|0\r\n"},
        {"NUL inside a line", good + std::string("2|0\0|1|0|0|0\r\n", 15)},
        {"NUL ends nothing: the line after it still counts", good + std::string("2|0|1|0|0|0\r\n\0x\r\n", 17)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lesson lesson;
        Load(lesson, 3, &c.bytes);
        ExpectFreshStart(lesson, 3);
    }
}

TEST_F(ProgressTest, SavedFileReadsBackTheSame)
{
    Lesson lesson;
    Load(lesson, 3, nullptr);
    ASSERT_FALSE(std::filesystem::exists(home.File("Users"))); // made by the save
    lesson.VarProgress[0].Points = -10;
    lesson.MozProgress[2].Points = 2147483647;
    lesson.EnterProgress = Progress({{2, 54}, {0, -2147483647 - 1}, {1, 0}});
    ASSERT_TRUE(lesson.SaveProgress());

    const auto v = lesson.VarProgress;
    const std::string expected =
        std::to_string(v[0].WordIndex) + "|-10|" + std::to_string(v[0].WordIndex) + "|0|2|54\r\n" +
        std::to_string(v[1].WordIndex) + "|0|" + std::to_string(v[1].WordIndex) + "|0|0|-2147483648\r\n" +
        std::to_string(v[2].WordIndex) + "|0|" + std::to_string(v[2].WordIndex) + "|2147483647|1|0\r\n";
    EXPECT_EQ(vbtest::ReadBytes(progress), expected);

    Lesson again;
    ASSERT_TRUE(again.LoadLessonWords(dictionary, progress));
    EXPECT_EQ(again.VarProgress, lesson.VarProgress);
    EXPECT_EQ(again.MozProgress, lesson.MozProgress);
    EXPECT_EQ(again.EnterProgress, lesson.EnterProgress);
    EXPECT_EQ(again.Random.RandomSeed, 203);
}

TEST_F(ProgressTest, NothingSavedForAnEmptyLesson)
{
    vbtest::WriteBytes(progress, "keep me");
    Lesson none;
    EXPECT_FALSE(none.SaveProgress());

    Lesson empty;
    Load(empty, 0, nullptr);
    vbtest::WriteBytes(progress, "keep me");
    EXPECT_FALSE(empty.SaveProgress());
    EXPECT_EQ(vbtest::ReadBytes(progress), "keep me");
}

TEST_F(ProgressTest, ReadOnlyProgressIsReadAndOverwritten)
{
    const std::string file = "2|6|2|0|2|0\r\n1|0|1|4|1|0\r\n0|-6|0|0|0|18\r\n";
    vbtest::WriteBytes(progress, file);
    ASSERT_TRUE(SetReadOnly(progress, true));

    Lesson lesson;
    vbtest::WriteBytes(dictionary, Dictionary(3));
    ASSERT_TRUE(lesson.LoadLessonWords(dictionary, progress));
    EXPECT_EQ(lesson.VarProgress, Progress({{2, 6}, {1, 0}, {0, -6}}));

    lesson.VarProgress[0].Points = 12;
    ASSERT_TRUE(lesson.SaveProgress());
    EXPECT_FALSE(IsReadOnly(progress));
    EXPECT_EQ(vbtest::ReadBytes(progress).substr(0, 13), "2|12|2|0|2|0\r");
}

TEST_F(ProgressTest, FailedSaveChangesNothing)
{
    Lesson lesson;
    Load(lesson, 3, nullptr);
    const auto before = lesson.VarProgress;

    // The pupil's folder cannot be made: a file stands in its place.
    std::filesystem::remove_all(home.File("Users"));
    vbtest::WriteBytes(home.File("Users/Default"), "not a folder");
    EXPECT_FALSE(lesson.SaveProgress());
    EXPECT_EQ(vbtest::ReadBytes(home.File("Users/Default")), "not a folder");
    EXPECT_EQ(lesson.VarProgress, before);

    // The progress file's place is taken by a read-only folder: the write fails and the mark stays.
    std::filesystem::remove_all(home.File("Users"));
    std::filesystem::create_directories(progress);
#ifndef _WIN32 // Windows has no read-only mark on folders
    ASSERT_TRUE(SetReadOnly(progress, true));
#endif
    EXPECT_FALSE(lesson.SaveProgress());
    EXPECT_TRUE(std::filesystem::is_directory(progress));
#ifndef _WIN32
    EXPECT_TRUE(IsReadOnly(progress));
#endif
}

TEST_F(ProgressTest, NoTaskPositionOutlivesTheWordsItNamed)
{
    Lesson lesson;
    Load(lesson, 20, nullptr);
    lesson.TaskPos = 16;
    lesson.TaskPoints = 7;
    Load(lesson, 3, nullptr);
    EXPECT_EQ(lesson.TaskPos, 0);
    EXPECT_EQ(lesson.TaskPoints, 0);
}

TEST_F(ProgressTest, FilesReadAheadGiveTheSameLessonAsReadingThem)
{
    // With a fitting progress file, with one that does not fit (fresh start) and with no dictionary.
    for (const int words : {40, 3}) {
        vbtest::WriteBytes(dictionary, Dictionary(words));
        Lesson saved;
        ASSERT_TRUE(saved.LoadLessonWords(dictionary, progress));
        saved.VarProgress[0].Points = 7;
        ASSERT_TRUE(saved.SaveProgress());
        vbtest::WriteBytes(dictionary, Dictionary(40));

        Lesson direct;
        direct.RightCount = 5;
        ASSERT_TRUE(direct.LoadLessonWords(dictionary, progress));
        LessonPreload preload;
        preload.Start(dictionary, progress);
        auto files = preload.Take(dictionary, progress);
        ASSERT_TRUE(files.has_value());
        Lesson ahead;
        ahead.RightCount = 5;
        ASSERT_TRUE(ahead.LoadLessonWords(std::move(*files)));
        EXPECT_EQ(ahead.LessonWords, direct.LessonWords);
        EXPECT_EQ(ahead.VarProgress, direct.VarProgress) << words;
        EXPECT_EQ(ahead.MozProgress, direct.MozProgress);
        EXPECT_EQ(ahead.EnterProgress, direct.EnterProgress);
        EXPECT_EQ(ahead.WorkSetSize, direct.WorkSetSize);
        EXPECT_EQ(ahead.RightCount, 0);
        EXPECT_EQ(ahead.Random.RandomSeed, direct.Random.RandomSeed);
        EXPECT_EQ(ahead.VarProgress[0].Points == 7, words == 40);
    }
    Lesson missing;
    EXPECT_FALSE(missing.LoadLessonWords(ReadLessonFiles(home.File("none.lqd"), progress)));
    EXPECT_EQ(missing.WordCount, 0);
}

TEST_F(ProgressTest, ReadingAheadIsTakenOnceAndOnlyForItsOwnFiles)
{
    vbtest::WriteBytes(dictionary, Dictionary(5));
    LessonPreload preload;
    EXPECT_FALSE(preload.Take(dictionary, progress).has_value()) << "nothing was started";
    preload.Start(dictionary, progress);
    // Another dictionary (or pupil) was opened first: the reading ahead is of no use any more.
    EXPECT_FALSE(preload.Take(dictionary, progress + "x").has_value());
    EXPECT_FALSE(preload.Take(dictionary, progress).has_value());
    preload.Start(dictionary, progress);
    auto files = preload.Take(dictionary, progress);
    ASSERT_TRUE(files.has_value());
    EXPECT_EQ(files->words.size(), 5u);
    EXPECT_FALSE(preload.Take(dictionary, progress).has_value());
    // Started and never taken: going away waits for the reading.
    LessonPreload unused;
    unused.Start(dictionary, progress);
}
