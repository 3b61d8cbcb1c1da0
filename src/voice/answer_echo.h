// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The answer echo: after a right answer the word, and then its translation when a voice for translations is
// set up, are pronounced, each given its estimated speaking time before the next step; then the next task
// follows. The lesson window runs the steps on TimerPronounceWord and TimerPronounceTrsl.
//
//   PronounceRightAnswer        page control enabled := StartEcho().pageControlEnabled,
//                               Pronounce(word), TimerPronounceWord armed with wordDelayMs
//   TimerPronounceWordTimer     AfterWordEcho(): Pronounce(translation) and TimerPronounceTrsl armed with
//                               translationDelayMs, or the next task at once
//   TimerPronounceTrslTimer     the next task unless on Mosaic (NextTaskAfterEcho)
//
// Texts are UTF-8; lengths count characters.

#include "engine/lesson_types.h"

#include <string>

namespace vb {

struct SettingsWindowValues;

// Whether a sound source for words (isWord) or translations is set up in the chosen scheme.
bool VoiceConfigured(const SettingsWindowValues& values, bool isWord);

// The first step, at the right answer.
struct EchoStart
{
    bool pageControlEnabled = false; // no second answer while the echo runs, except on Mosaic
    std::string word; // pronounced as a foreign word
    int wordDelayMs = 0; // TimerPronounceWord
};

EchoStart StartEcho(const SettingsWindowValues& values, const TLessonWord& word, int activePage);

// The second step, when TimerPronounceWord fires.
struct EchoAfterWord
{
    bool pronounceTranslation = false; // then arm TimerPronounceTrsl
    std::string translation;
    int translationDelayMs = 0;
    bool nextTask = false; // PageControlChange now
};

EchoAfterWord AfterWordEcho(const SettingsWindowValues& values, const TLessonWord& word, int activePage);

// Whether the end of the echo sets the next task: not on Mosaic, whose set goes on.
bool NextTaskAfterEcho(int activePage);

} // namespace vb
