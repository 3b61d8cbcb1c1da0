// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/status_texts.h"

#include "common/strings.h"

namespace vb {

namespace {

std::string DictionaryPanel(const std::string& name, std::int32_t wordCount)
{
    return "словарь: " + name + " [" + std::to_string(wordCount) + "] слов";
}

} // namespace

StatusBarView LessonStatusBar(const LessonStatus& s)
{
    StatusBarView v;
    v.widths = {103, 89, 83, 100, 65};
    v.texts[0] = "правильно: " + std::to_string(s.RightCount);
    v.texts[1] = "осталось: " + std::to_string(s.ExerciseLeft);
    v.texts[2] = "ошибок: " + std::to_string(s.ErrorCount);
    v.texts[3] = "выучено: " + std::to_string(s.LearnedCount);
    if (s.DueToday >= 0) {
        v.widths[3] = 160;
        *v.texts[3] += ", повтор: " + std::to_string(s.DueToday);
    }
    v.texts[4] = PointsPanelText(s.TaskPoints);
    v.texts[5] = DictionaryPanel(FileNameOnly(s.DictionaryPath, false), s.WordCount);
    return v;
}

StatusBarView DictionaryStatusBar(const std::string& dictionaryPath, std::int32_t wordCount)
{
    StatusBarView v;
    v.widths = {0, 0, 0, 0, 0};
    v.texts[5] = DictionaryPanel(dictionaryPath, wordCount);
    return v;
}

StatusBarView TextStatusBar(const TextPageStatus& s)
{
    StatusBarView v;
    v.widths = {220, 140, 0, 0, 0};
    v.texts[0] = "Базовый словарь: " + FileNameOnly(s.BasicDictionaryPath, false);
    v.texts[1] = "символов: " + std::to_string(s.CharacterCount);
    if (!s.Encoding.empty()) {
        v.widths[2] = 90;
        v.texts[2] = s.Encoding;
    }
    v.texts[5] = "Файл: " + s.TextFilePath;
    return v;
}

StatusBarView StatusBarForPage(int page, const LessonStatus& lesson, const TextPageStatus& text)
{
    if (page == kPageDictionary) {
        return DictionaryStatusBar(lesson.DictionaryPath, lesson.WordCount);
    }
    if (page == kPageText) {
        return TextStatusBar(text);
    }
    return LessonStatusBar(lesson);
}

std::string PointsPanelText(std::int32_t points)
{
    return "Балл: " + std::to_string(points);
}

LastWordView MakeLastWordView(const TLessonWord& word, int rgTransc, int rgTesFontSH)
{
    LastWordView v;
    v.Word = word.Word;
    v.Transcription = word.Transcription;
    v.Translation = word.Translation;
    v.Thesaurus = word.Thesaurus;
    v.TranscriptionShown = rgTransc == 0;
    v.ThesaurusInTranslationFont = rgTesFontSH == 1;
    return v;
}

std::optional<std::string> LastWordHoverPanelText(bool pointerOver, bool lastWordShown, std::int32_t lastRightPoints,
                                                  std::int32_t taskPoints)
{
    if (!lastWordShown) {
        return std::nullopt;
    }
    return PointsPanelText(pointerOver ? lastRightPoints : taskPoints);
}

} // namespace vb
