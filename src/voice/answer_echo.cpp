// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/answer_echo.h"

#include "common/strings.h"
#include "common/unicode.h"
#include "engine/settings.h"

namespace vb {

bool VoiceConfigured(const SettingsWindowValues& values, bool isWord)
{
    const std::string& folder = isWord ? values.ED_DirWAVWord : values.ED_DirWAVTransl;
    const std::string& library = isWord ? values.ED_LibWAVWord : values.ED_LibWAVTransl;
    const std::string& voice = isWord ? values.CBx_SyntWord : values.CBx_SyntTransl;
    switch (values.RG_Voice.Value()) {
    case 0:
        return !folder.empty();
    case 1:
        return !library.empty();
    case 2:
        return !voice.empty();
    case 3:
        return (!folder.empty() && values.SE_PosDir > 0) || (!library.empty() && values.SE_PosLib > 0) ||
               (!voice.empty() && values.SE_PosSynt > 0);
    default:
        return false;
    }
}

EchoStart StartEcho(const SettingsWindowValues& values, const TLessonWord& word, int activePage)
{
    EchoStart step;
    step.pageControlEnabled = activePage == kMethodMosaic;
    step.word = word.Word;
    step.wordDelayMs = values.CB_Voice && VoiceConfigured(values, true) ? SpeakingTimeMs(CharCount(word.Word), false)
                                                                        : kSilentFollowUpMs;
    return step;
}

EchoAfterWord AfterWordEcho(const SettingsWindowValues& values, const TLessonWord& word, int activePage)
{
    EchoAfterWord step;
    if (values.CB_Voice && VoiceConfigured(values, false)) {
        step.pronounceTranslation = true;
        step.translation = word.Translation;
        step.translationDelayMs = SpeakingTimeMs(CharCount(word.Translation), true);
        return step;
    }
    step.nextTask = NextTaskAfterEcho(activePage);
    return step;
}

bool NextTaskAfterEcho(int activePage)
{
    return activePage != kMethodMosaic;
}

} // namespace vb
