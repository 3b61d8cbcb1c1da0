// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The word cards' rules: which entry the next card shows, which side of it asks, what each line of the card
// holds and how long each step stays. The lesson window runs the steps on three one-shot timers, only one of
// them armed at a time:
//
//   ShowNextCard         CanShowCard, else the cycle ends and the card hides; PickCardWord; MakeCardFace;
//                        the task line is shown (and pronounced when set); TimerTesaurus or TimerTranslate
//                        is armed with taskDelayMs (thesaurusStep)
//   TimerTesaurusTimer   the thesaurus line is shown when there is one; TimerTranslate armed with
//                        thesaurusDelayMs
//   TimerTranslateTimer  the answer line is shown; TimerCard armed with answerDelayMs
//   TimerCardTimer       the next card
//
// Texts are UTF-8; lengths count characters.

#include "engine/lesson_types.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace vb {

class Lesson;
struct SettingsWindowValues;

// "Слова в карточке".
inline constexpr int kCardsWholeDictionary = 0; // "Весь словарь"
inline constexpr int kCardsWorkingSet = 1; // "Заучиваемые"

// The task stays at least `timeWordSeconds`, longer when reading it takes longer.
int CardTaskDelayMs(int timeWordSeconds, std::size_t taskChars);
// The thesaurus stays as long as reading it takes; a card without one goes on to the answer at once.
int CardThesaurusDelayMs(std::size_t thesaurusChars);
// The answer stays at least `timeTranslSeconds`, longer when reading it takes longer.
int CardAnswerDelayMs(int timeTranslSeconds, std::size_t answerChars);

// Which of the settings window's dictionary fonts a line is drawn in.
enum class CardFont {
    Word,
    Translation,
};

// One card: its lines, fonts, what is pronounced, and the timings of its steps.
struct CardFace
{
    // 1: the card asks with the translation and answers with the foreign word; 0: the other way round.
    std::int32_t taskDirection = 1;

    std::string task; // Card_Word
    CardFont taskFont = CardFont::Word;
    std::string answer; // Card_Transl
    CardFont answerFont = CardFont::Translation;
    std::string thesaurus; // Card_Tesaurus
    CardFont thesaurusFont = CardFont::Word;
    std::string transcription; // Card_Transcr, always after the foreign word
    bool transcriptionOnTaskLine = false; // the foreign word is the task (direction 0)
    bool transcriptionShown = false; // "Показывать транскрипцию в карточке"

    bool pronounceTask = false;
    bool taskIsWord = false;
    int taskDelayMs = 0;

    // "Показывать тезаурус в карточке слова": TimerTesaurus follows the task, else TimerTranslate.
    bool thesaurusStep = false;
    // Shown only when not empty; the delay is then the reading time of the thesaurus.
    bool pronounceThesaurus = false;
    bool thesaurusIsWord = true;
    int thesaurusDelayMs = 0;

    bool pronounceAnswer = false;
    bool answerIsWord = false;
    int answerDelayMs = 0;
};

CardFace MakeCardFace(const TLessonWord& entry, std::int32_t taskDirection, const SettingsWindowValues& values);

// The cycle's memory between cards.
class CardCycle
{
public:
    // The index drawn for the previous card, shared by both word sources.
    std::int32_t LastCardIndex = 0;
    // A copy of the entry shown.
    TLessonWord CardEntry;

    // False when there is nothing to show: an empty dictionary, or no word left to learn with "Заучиваемые".
    static bool CanShowCard(const Lesson& lesson, int rgCardLW);

    // 0 .. n-1, never the previous index when there is a choice (n > 1).
    std::int32_t RandomCardIndex(Lesson& lesson, std::int32_t n);

    // Draws the entry of the next card into CardEntry (from the active method's working set, or from the
    // whole dictionary) and sets the lesson's TaskDirection from "Учить".
    void PickCardWord(Lesson& lesson, const SettingsWindowValues& values);
};

} // namespace vb
