// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/lesson_control.h"

#include "common/message_dialog.h"
#include "common/strings.h"
#include "engine/settings.h"
#include "engine/status_texts.h"

namespace vb {

LessonParams MakeLessonParams(const SettingsWindowValues& values)
{
    LessonParams p;
    p.SE_CountWLs = values.SE_CountWLs;
    p.SE_CountWEx = values.SE_CountWEx;
    p.SE_Var_Stop = values.SE_Var_Stop;
    p.SE_Moz_Stop = values.SE_Moz_Stop;
    p.SE_Enter_Stop = values.SE_Enter_Stop;
    p.SE_Var_Ball = values.SE_Var_Ball;
    p.SE_Moz_Ball = values.SE_Moz_Ball;
    p.SE_Enter_Ball = values.SE_Enter_Ball;
    p.SE_Var_Straf = values.SE_Var_Straf;
    p.SE_Moz_Straf = values.SE_Moz_Straf;
    p.SE_Enter_Straf = values.SE_Enter_Straf;
    p.SE_Ball_Len = values.SE_Ball_Len;
    p.SE_Ball_Letter = values.SE_Ball_Letter;
    p.SE_Ball_Word = values.SE_Ball_Word;
    p.RG_Shtraf = values.RG_Shtraf;
    p.CB_TrayEndEx = values.CB_TrayEndEx;
    p.CB_Review = values.CB_Review;
    p.SE_Retention = values.SE_Retention;
    return p;
}

PageArrangement ArrangePage(int page)
{
    PageArrangement a;
    switch (page) {
    case kMethodVariant:
    case kMethodMosaic:
    case kMethodWriting:
        a.lessonPage = true;
        a.taskStrip = page != kMethodMosaic;
        a.panel = BottomPanel::LastWord;
        a.checkedMethod = page;
        a.lessonNewEnabled = true;
        break;
    case kPageDictionary:
        a.panel = BottomPanel::FindWord;
        a.dictionaryFonts = true;
        break;
    case kPageText:
        a.panel = BottomPanel::Text;
        break;
    default:
        break;
    }
    return a;
}

WordMenuItems WordPopupMenuPopup(int page, std::int32_t workSetSize, int& listTargetIndex, bool voice)
{
    const bool mosaic = page == kMethodMosaic;
    if (!mosaic) {
        listTargetIndex = 0;
    }
    WordMenuItems items;
    items.pm_word_next = workSetSize > 1;
    items.pm_hint = workSetSize > 0 && listTargetIndex >= 0;
    items.pm_visual = !mosaic;
    items.pm_dictant = !mosaic;
    items.pm_word_voice = voice && items.pm_hint;
    items.pm_word_off = items.pm_hint;
    items.pm_word_on = items.pm_hint;
    items.pm_word_color = true;
    return items;
}

bool TaskShowsWord(int direction, bool dictation)
{
    return (direction == 1) == dictation;
}

bool TaskTranscriptionVisible(bool visual, bool taskShowsWord, int rgTransc, bool pointerOver)
{
    if (!visual || !taskShowsWord) {
        return false;
    }
    return rgTransc == 0 || (rgTransc == 2 && pointerOver);
}

std::string WritingHintText(const Lesson& lesson)
{
    const ProgressArray& progress = lesson.EnterProgress;
    if (lesson.TaskPos < 0 || static_cast<std::size_t>(lesson.TaskPos) >= progress.size()) {
        return {};
    }
    const std::int32_t w = progress[static_cast<std::size_t>(lesson.TaskPos)].WordIndex;
    if (w < 0 || static_cast<std::size_t>(w) >= lesson.LessonWords.size()) {
        return {};
    }
    const TLessonWord& word = lesson.LessonWords[static_cast<std::size_t>(w)];
    return StripParens(lesson.TaskDirection == 1 ? word.Word : word.Translation);
}

bool RelearnDictionary(Lesson& lesson, MessageDialog* dialog)
{
    if (!dialog || dialog->ShowMessageDialog("Учить словарь заново?", "да", "", "нет") != 1) {
        return false;
    }
    lesson.ResetMethodPoints();
    return true;
}

} // namespace vb
