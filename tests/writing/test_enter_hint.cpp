// SPDX-License-Identifier: GPL-3.0-or-later
// The hint line and the hint counters of the Writing exercise, and the comparison of typed answers.

#include "common/codepage.h"
#include "writing/writing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vb;

namespace {

// One task: the state lives across the changes, as it does while the pupil types.
struct Task
{
    std::string expected;
    WritingOptions options;
    EnterHintState state;

    std::string Type(const std::string& typed) { return ComputeEnterHint(state, expected, typed, options).line; }
};

Task LateTask(bool len, bool first, bool letter, bool word)
{
    Task t{"to be late", {}, {}};
    t.options.CB_Len = len;
    t.options.CB_First = first;
    t.options.CB_Letter = letter;
    t.options.CB_Word = word;
    return t;
}

} // namespace

TEST(EnterHint, ToBeLateWithEachOption)
{
    Task len = LateTask(true, false, false, false);
    EXPECT_EQ(len.Type(""), "++ ++ ++++");
    EXPECT_TRUE(len.state.HintLength);
    EXPECT_EQ(len.state.HintLetters, 0);

    Task first = LateTask(true, true, false, false);
    EXPECT_EQ(first.Type(""), "t+ ++ ++++");
    EXPECT_EQ(first.state.HintLetters, 1);
    // The first letter is charged once per task, however often the line is refreshed.
    EXPECT_EQ(first.Type("t"), "t+ ++ ++++");
    EXPECT_EQ(first.state.HintLetters, 1);

    Task word = LateTask(true, false, false, true);
    EXPECT_EQ(word.Type("tx"), "to ++ ++++");
    EXPECT_EQ(word.state.HintWords, 1);
    // The same word again is not charged again.
    EXPECT_EQ(word.Type("ty"), "to ++ ++++");
    EXPECT_EQ(word.state.HintWords, 1);

    Task letter = LateTask(true, false, true, false);
    EXPECT_EQ(letter.Type("to bu"), "to be ++++");
    EXPECT_EQ(letter.state.HintLetters, 1);
    EXPECT_EQ(letter.state.HintWords, 0);

    // Without the length the line stops at the first hidden letter.
    Task plain = LateTask(false, false, true, false);
    EXPECT_EQ(plain.Type(""), "");
    EXPECT_EQ(plain.Type("to bu"), "to be ");
    EXPECT_FALSE(plain.state.HintLength);
}

TEST(EnterHint, LettersCountThroughWrongPrefixesAndDeletions)
{
    Task t = LateTask(false, false, true, false);
    t.Type("t");
    t.Type("to");
    EXPECT_EQ(t.state.HintLetters, 0);
    t.Type("tox"); // wrong
    t.Type("toxy"); // still wrong
    t.Type("tox"); // deleting one: still wrong, charged again
    t.Type("to"); // correct again: free
    EXPECT_EQ(t.state.HintLetters, 3);
    // Nothing already revealed is taken back.
    EXPECT_EQ(t.state.RevealedLength, 4);
    EXPECT_EQ(t.Type("to"), "to b");
}

TEST(EnterHint, BothOptionsOnOneChangeMoveBothCountersAndTheWordWins)
{
    Task t = LateTask(true, false, true, true);
    EXPECT_EQ(t.Type("to bx"), "to be ++++");
    EXPECT_EQ(t.state.HintLetters, 1);
    EXPECT_EQ(t.state.HintWords, 1);
}

TEST(EnterHint, TypingBeyondTheAnswerRevealsAllOfIt)
{
    Task t = LateTask(true, false, false, true);
    EXPECT_EQ(t.Type("to be latex"), "to be late");
    EXPECT_EQ(t.state.HintWords, 1);
}

TEST(EnterHint, SynonymsJoinedByACommaAreRevealedOneByOne)
{
    Task t{"big,large", {}, {}};
    t.options.CB_Len = true;
    t.options.CB_Word = true;
    EXPECT_EQ(t.Type(""), "+++,+++++");
    EXPECT_EQ(t.Type("x"), "big,+++++");
    EXPECT_EQ(t.Type("big,x"), "big,large");
    EXPECT_EQ(t.state.HintWords, 2);
}

TEST(EnterHint, FirstLetterSwitchedOnMidTaskChargesOnlyWhenNothingWasCharged)
{
    Task fresh = LateTask(false, false, false, false);
    fresh.Type("to");
    fresh.options.CB_First = true;
    fresh.Type("to");
    EXPECT_EQ(fresh.state.HintLetters, 1);

    Task charged = LateTask(false, false, true, false);
    charged.Type("x");
    charged.options.CB_First = true;
    charged.Type("");
    EXPECT_EQ(charged.state.HintLetters, 1);
}

TEST(EnterHint, TheCaseOptionDecidesWhatIsAWrongLetter)
{
    Task t = LateTask(false, false, true, false);
    t.Type("TO");
    EXPECT_EQ(t.state.HintLetters, 0);
    t.options.CB_Case = true;
    t.Type("TO");
    EXPECT_EQ(t.state.HintLetters, 1);
}

TEST(CompareTyped, FoldsLatinAndCyrillicUnlessCaseSensitive)
{
    const std::string lower = "ёлка Street";
    const std::string upper = "ЁЛКА STREET";
    EXPECT_TRUE(CompareTyped(lower, upper, false));
    EXPECT_FALSE(CompareTyped(lower, upper, true));
    EXPECT_TRUE(CompareTyped(lower, lower, true));
    EXPECT_FALSE(CompareTyped("late", "late ", false));
    EXPECT_FALSE(CompareTyped("", "a", false));
}
