// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/card_cycle.h"

#include "common/strings.h"
#include "common/unicode.h"
#include "engine/lesson.h"
#include "engine/settings.h"

#include <algorithm>

namespace vb {

namespace {

int SecondsToMs(int seconds)
{
    // The settings clamp to 0..300 s; a wider value is still kept from overflowing.
    return std::clamp(seconds, 0, 1000000) * 1000;
}

} // namespace

int CardTaskDelayMs(int timeWordSeconds, std::size_t taskChars)
{
    return std::max(SecondsToMs(timeWordSeconds), SpeakingTimeMs(taskChars, false));
}

int CardThesaurusDelayMs(std::size_t thesaurusChars)
{
    return thesaurusChars == 0 ? kSilentFollowUpMs : SpeakingTimeMs(thesaurusChars, false);
}

int CardAnswerDelayMs(int timeTranslSeconds, std::size_t answerChars)
{
    return std::max(SecondsToMs(timeTranslSeconds), SpeakingTimeMs(answerChars, true));
}

CardFace MakeCardFace(const TLessonWord& entry, std::int32_t taskDirection, const SettingsWindowValues& values)
{
    CardFace face;
    face.taskDirection = taskDirection == 1 ? 1 : 0;
    const bool asksWithTranslation = face.taskDirection == 1;
    face.task = asksWithTranslation ? entry.Translation : entry.Word;
    face.taskFont = asksWithTranslation ? CardFont::Translation : CardFont::Word;
    face.answer = asksWithTranslation ? entry.Word : entry.Translation;
    face.answerFont = asksWithTranslation ? CardFont::Word : CardFont::Translation;
    const bool thesaurusAsTranslation = values.RG_TesFontSH == 1;
    face.thesaurus = entry.Thesaurus;
    face.thesaurusFont = thesaurusAsTranslation ? CardFont::Translation : CardFont::Word;
    face.transcription = entry.Transcription;
    face.transcriptionOnTaskLine = !asksWithTranslation;
    face.transcriptionShown = values.CB_CardShowTrsc;

    face.pronounceTask = values.CB_CardVoiceWord;
    face.taskIsWord = !asksWithTranslation;
    face.taskDelayMs = CardTaskDelayMs(values.SE_TimeWord, CharCount(face.task));

    face.thesaurusStep = values.CB_CardShowTesaurus;
    face.pronounceThesaurus = values.CB_CardVoiceTesaurus && !face.thesaurus.empty();
    face.thesaurusIsWord = !thesaurusAsTranslation;
    face.thesaurusDelayMs = CardThesaurusDelayMs(CharCount(face.thesaurus));

    face.pronounceAnswer = values.CB_CardVoiceTransl;
    face.answerIsWord = asksWithTranslation;
    face.answerDelayMs = CardAnswerDelayMs(values.SE_TimeTransl, CharCount(face.answer));
    return face;
}

bool CardCycle::CanShowCard(const Lesson& lesson, int rgCardLW)
{
    if (lesson.WordCount < 1) {
        return false;
    }
    return rgCardLW != kCardsWorkingSet || lesson.WorkSetSize >= 1;
}

std::int32_t CardCycle::RandomCardIndex(Lesson& lesson, std::int32_t n)
{
    std::int32_t r = lesson.RandomInt(n);
    if (n > 1) {
        while (r == LastCardIndex) {
            r = lesson.RandomInt(n);
        }
    }
    LastCardIndex = r;
    return r;
}

void CardCycle::PickCardWord(Lesson& lesson, const SettingsWindowValues& values)
{
    const auto words = static_cast<std::int32_t>(lesson.LessonWords.size());
    if (values.RG_CardLW == kCardsWorkingSet) {
        const ProgressArray* progress = lesson.MethodProgress(lesson.ActiveMethod);
        const std::int32_t size =
            progress ? std::min<std::int32_t>(lesson.WorkSetSize, static_cast<std::int32_t>(progress->size())) : 0;
        if (size > 0) {
            const std::int32_t r = RandomCardIndex(lesson, size);
            const std::int32_t word = (*progress)[static_cast<std::size_t>(r)].WordIndex;
            if (word >= 0 && word < words) {
                CardEntry = lesson.LessonWords[static_cast<std::size_t>(word)];
            }
        }
    } else {
        const std::int32_t count = std::min(lesson.WordCount, words);
        if (count > 0) {
            CardEntry = lesson.LessonWords[static_cast<std::size_t>(RandomCardIndex(lesson, count))];
        }
    }
    lesson.TaskDirection = lesson.DrawTaskDirection(values.RG_WordShow);
}

} // namespace vb
