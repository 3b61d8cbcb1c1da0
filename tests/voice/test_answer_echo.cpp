// SPDX-License-Identifier: GPL-3.0-or-later
// The answer echo: when a voice is set up for words and translations, and how long each step waits.

#include "engine/settings.h"
#include "voice/answer_echo.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {

const TLessonWord kWord{"cat (animal)", "kot", "", ""};

} // namespace

TEST(AnswerEcho, VoiceByPriorityNeedsASourceThatIsSetAndSwitchedOn)
{
    SettingsWindowValues v; // "по приоритету"
    v.ED_DirWAVWord = "/sounds/en";
    v.CBx_SyntTransl = "voice";
    EXPECT_TRUE(VoiceConfigured(v, true));
    EXPECT_TRUE(VoiceConfigured(v, false));
    v.SE_PosDir.Set(0);
    v.SE_PosSynt.Set(0);
    EXPECT_FALSE(VoiceConfigured(v, true));
    EXPECT_FALSE(VoiceConfigured(v, false));
    // A single-source scheme asks only for its own source.
    v.RG_Voice.Set(2);
    EXPECT_FALSE(VoiceConfigured(v, true));
    EXPECT_TRUE(VoiceConfigured(v, false));
}

TEST(AnswerEcho, SilentEchoGoesOnAfter100Ms)
{
    SettingsWindowValues v; // CB_Voice off
    v.ED_DirWAVWord = "/sounds/en";
    v.ED_DirWAVTransl = "/sounds/ru";

    const EchoStart start = StartEcho(v, kWord, 0);
    EXPECT_FALSE(start.pageControlEnabled);
    EXPECT_EQ(start.word, "cat (animal)");
    EXPECT_EQ(start.wordDelayMs, 100);

    const EchoAfterWord after = AfterWordEcho(v, kWord, 0);
    EXPECT_FALSE(after.pronounceTranslation);
    EXPECT_TRUE(after.nextTask);
}

TEST(AnswerEcho, SpokenEchoWaitsForWordAndTranslation)
{
    SettingsWindowValues v;
    v.CB_Voice = true;
    v.ED_DirWAVWord = "/sounds/en";

    // The stored text counts, parentheses included: 12 characters.
    EXPECT_EQ(StartEcho(v, kWord, 2).wordDelayMs, 12 * 90 + 300);
    // No voice for translations: straight on to the next task.
    EXPECT_TRUE(AfterWordEcho(v, kWord, 2).nextTask);

    v.ED_DirWAVTransl = "/sounds/ru";
    const EchoAfterWord after = AfterWordEcho(v, kWord, 0);
    EXPECT_TRUE(after.pronounceTranslation);
    EXPECT_EQ(after.translation, "kot");
    EXPECT_EQ(after.translationDelayMs, 3 * 90 + 1300);
    EXPECT_FALSE(after.nextTask);
}

TEST(AnswerEcho, MosaicKeepsItsPageAndItsSet)
{
    SettingsWindowValues v;
    EXPECT_TRUE(StartEcho(v, kWord, 1).pageControlEnabled);
    EXPECT_FALSE(AfterWordEcho(v, kWord, 1).nextTask);
    EXPECT_FALSE(NextTaskAfterEcho(1));
    EXPECT_TRUE(NextTaskAfterEcho(0));
    EXPECT_TRUE(NextTaskAfterEcho(2));
}
