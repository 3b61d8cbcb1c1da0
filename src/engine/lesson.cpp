// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/lesson.h"

#include "common/files.h"
#include "common/message_dialog.h"
#include "common/strings.h"
#include "dictionary/dictionary_encoding.h"
#include "dictionary/line_format.h"
#include "engine/progress_file.h"
#include "engine/selection.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

namespace vb {

namespace {

constexpr int kThresholdMax = 100;
constexpr int kThresholdMin = 1;

const char* const kAllLearnedText = "Все слова выучены, переходите к другому словарю или методу обучения";
const char* const kUnderstood = "понятно";
const char* const kRepeat = "повторить";

// Scores have no bounds of their own; they only stop at the ends of int32 instead of wrapping around.
std::int32_t AddPoints(std::int32_t points, long long delta)
{
    const long long sum = static_cast<long long>(points) + delta;
    return static_cast<std::int32_t>(
        std::clamp<long long>(sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

LessonEvents g_noEvents;

// Every line of a dictionary text: bytes of 32 and below before a line are skipped (so blank lines do not
// count), and a line ends at CR or LF.
template <typename OnLine>
void ForEachDictionaryLine(std::string_view text, OnLine onLine)
{
    std::size_t pos = 0;
    while (true) {
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= 32) {
            ++pos;
        }
        if (pos >= text.size()) {
            return;
        }
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') {
            ++pos;
        }
        onLine(text.substr(start, pos - start));
    }
}

} // namespace

int LessonParams::Threshold(int method) const
{
    switch (method) {
    case kMethodVariant:
        return SE_Var_Stop;
    case kMethodMosaic:
        return SE_Moz_Stop;
    case kMethodWriting:
        return SE_Enter_Stop;
    default:
        return kThresholdMax;
    }
}

int LessonParams::RightPoints(int method) const
{
    switch (method) {
    case kMethodVariant:
        return SE_Var_Ball;
    case kMethodMosaic:
        return SE_Moz_Ball;
    case kMethodWriting:
        return SE_Enter_Ball;
    default:
        return 0;
    }
}

Lesson::Lesson(LessonEvents* events, MessageDialog* dialog) : m_events(events), m_dialog(dialog) { }

void Lesson::SetEvents(LessonEvents* events)
{
    m_events = events;
}

void Lesson::SetMessageDialog(MessageDialog* dialog)
{
    m_dialog = dialog;
}

LessonEvents& Lesson::Events() const
{
    return m_events ? *m_events : g_noEvents;
}

std::int32_t Lesson::DrawTaskDirection(int rgWordShow)
{
    if (rgWordShow == 0) {
        return 1;
    }
    if (rgWordShow == 1) {
        return 0;
    }
    return RandomInt(2) == 1 ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------------------
// Words and progress

LessonFiles ReadLessonFiles(const std::string& dictionaryPath, const std::string& progressPath)
{
    LessonFiles files;
    files.dictionaryPath = dictionaryPath;
    files.progressPath = progressPath;
    std::string bytes;
    files.read = ReadWholeFile(dictionaryPath, bytes);
    if (files.read) {
        const std::string decoded = DecodeDictionary(std::exchange(bytes, std::string()));
        // The same lines ReadLessonEntries takes, but counted first and then split straight into the
        // words: for a large dictionary a second list of entries would double the memory touched.
        const std::string_view text(decoded.data(), std::min(decoded.size(), decoded.find('\0')));
        std::size_t lines = 0;
        ForEachDictionaryLine(text, [&](std::string_view) { ++lines; });
        files.words.reserve(lines);
        // Fresh memory is slow to touch page by page; a large dictionary's words fill whole large pages.
        PreferLargePages(files.words.data(), lines * sizeof(TLessonWord));
        ForEachDictionaryLine(text, [&](std::string_view line) {
            DictionaryRecord e = SplitDictionaryLine(line);
            files.words.push_back(TLessonWord{std::move(e.word), std::move(e.translate), std::move(e.transcription),
                                              std::move(e.tesaurus)});
        });
    }
    const auto count = static_cast<int>(std::min<std::size_t>(files.words.size(), std::numeric_limits<int>::max()));
    std::string text;
    files.progressRead = count > 0 && !progressPath.empty() && ReadWholeFile(progressPath, text) &&
                         ParseProgressFile(text, count, files.var, files.moz, files.enter);
    return files;
}

bool Lesson::LoadLessonWords(const std::string& dictionaryPath, const std::string& progressPath)
{
    return LoadLessonWords(ReadLessonFiles(dictionaryPath, progressPath));
}

bool Lesson::LoadLessonWords(LessonFiles files)
{
    ErrorCount = 0;
    RightCount = 0;
    LearnedCount = 0;
    // The task named a place in the old arrays; the next page shown picks a new one.
    TaskPos = 0;
    TaskPoints = 0;
    m_progressFile = files.progressPath;
    LessonWords = std::move(files.words);
    WordCount = static_cast<std::int32_t>(LessonWords.size());
    WorkSetSize = WordCount;
    if (files.progressRead) {
        VarProgress = std::move(files.var);
        MozProgress = std::move(files.moz);
        EnterProgress = std::move(files.enter);
    } else {
        StartFreshProgress();
    }
    LoadHistory();
    return files.read;
}

// ---------------------------------------------------------------------------------------------------------
// Answer history and spaced review

void Lesson::SetDateClock(DateClock* clock)
{
    m_dateClock = clock;
}

std::int64_t Lesson::Today() const
{
    return DayOf((m_dateClock ? *m_dateClock : SystemDateClock()).LocalSeconds());
}

void Lesson::LoadHistory()
{
    m_historyFile = HistoryFilePath(m_progressFile);
    HistoryData history;
    std::string text;
    if (!m_historyFile.empty() && ReadWholeFile(m_historyFile, text)) {
        history = ParseHistory(text);
        text = std::string();
        int year = 0, month = 0, day = 0;
        CivilFromDays(Today(), year, month, day);
        // Two calendar years stay answer by answer; older ones shrink to daily totals and memory states.
        // Damaged lines go with the rewrite: nothing could read them anyway.
        if (FoldOldYears(history, year - 1)) {
            WriteFileAtomic(m_historyFile, FormatHistory(history));
        }
    }
    Review.Build(history, LessonWords);
}

std::int32_t Lesson::DueToday(int method) const
{
    if (!Params.CB_Review) {
        return 0;
    }
    return Review.DueCount(method, Today(), Params.Retention());
}

void Lesson::RecordAnswer(int method, const TWordProgress& word, bool right, std::int32_t hints, long long change)
{
    if (word.WordIndex < 0 || word.WordIndex >= WordCount) {
        return;
    }
    AnswerRecord r;
    r.Time = (m_dateClock ? *m_dateClock : SystemDateClock()).LocalSeconds();
    r.Method = method;
    r.WordIndex = word.WordIndex;
    r.Right = right;
    r.Hints = hints;
    r.PointsChange = static_cast<std::int32_t>(std::clamp<long long>(change, std::numeric_limits<std::int32_t>::min(),
                                                                     std::numeric_limits<std::int32_t>::max()));
    r.Learned = word.Points >= Params.Threshold(method);
    r.Word = LessonWords[static_cast<std::size_t>(word.WordIndex)].Word;
    // A lost history line costs a statistic, never the answer: like the progress file, silently.
    if (!m_historyFile.empty()) {
        AppendAnswer(m_historyFile, r);
    }
    Review.Record(r, word.WordIndex);
}

int Lesson::MethodOf(const ProgressArray& progress) const
{
    for (int method = 0; method < kMethodCount; ++method) {
        if (&progress == MethodProgress(method)) {
            return method;
        }
    }
    return -1;
}

// A learned word whose review is due drops just below the threshold, so the refill treats it as unlearned.
void Lesson::ReviewBeforeRefill(ProgressArray& progress, int method, std::int32_t threshold)
{
    const std::int64_t today = Today();
    for (TWordProgress& p : progress) {
        if (p.Points >= threshold && Review.IsDue(method, p.WordIndex, today, Params.Retention())) {
            p.Points = threshold - 1;
        }
    }
}

// Due words outside the working set take the places of words never asked yet.
void Lesson::ReviewAfterRefill(ProgressArray& progress, int method)
{
    const auto n = static_cast<std::int32_t>(progress.size());
    const std::int32_t k = Params.SE_CountWLs;
    if (k >= n) {
        return;
    }
    const std::int32_t threshold = Params.Threshold(method);
    const std::int64_t today = Today();
    std::int32_t slot = k - 1;
    bool swapped = false;
    for (std::int32_t i = k; i < n && slot >= 0; ++i) {
        const TWordProgress& due = progress[static_cast<std::size_t>(i)];
        if (due.Points >= threshold || !Review.IsDue(method, due.WordIndex, today, Params.Retention())) {
            continue;
        }
        while (slot >= 0) {
            const TWordProgress& w = progress[static_cast<std::size_t>(slot)];
            const WordMemory* m = Review.Memory(method, w.WordIndex);
            if (w.Points < threshold && (!m || !m->Known)) {
                break;
            }
            --slot;
        }
        if (slot < 0) {
            break;
        }
        std::swap(progress[static_cast<std::size_t>(slot)], progress[static_cast<std::size_t>(i)]);
        --slot;
        swapped = true;
    }
    if (swapped) {
        SortByPoints(progress, 0, k - 1);
        SortByPoints(progress, k, n - 1);
    }
}

void Lesson::StartFreshProgress()
{
    const auto count = static_cast<std::size_t>(std::max(WordCount, 0));
    VarProgress.assign(count, TWordProgress{});
    MozProgress.assign(count, TWordProgress{});
    EnterProgress.assign(count, TWordProgress{});
    if (count == 0) {
        return;
    }

    // Fresh start: one pseudo-random order shared by all three methods, every score 0.
    const auto range = static_cast<std::int32_t>(
        std::min<long long>(static_cast<long long>(WordCount) * 10, std::numeric_limits<std::int32_t>::max()));
    for (std::size_t i = 0; i < count; ++i) {
        VarProgress[i] = TWordProgress{static_cast<std::int32_t>(i), RandomInt(range)};
    }
    SortByPoints(VarProgress, 0, WordCount - 1);
    for (TWordProgress& p : VarProgress) {
        p.Points = 0;
    }
    MozProgress = VarProgress;
    EnterProgress = VarProgress;
}

bool Lesson::SaveProgress() const
{
    if (WordCount <= 0 || m_progressFile.empty()) {
        return false;
    }
    const std::string& path = m_progressFile;
    const std::size_t slash = path.rfind(kPathSeparator);
    if (slash != std::string::npos && slash > 0) {
        // A folder that exists already, or cannot be made, is no reason to stop here: the write tells.
        MakeDirectories(path.substr(0, slash));
    }
    const std::string data = FormatProgressFile(VarProgress, MozProgress, EnterProgress);

    // A read-only progress file is overwritten all the same; should the write fail, it gets its mark back.
    const bool wasReadOnly = IsReadOnly(path);
    if (wasReadOnly) {
        SetAttributesNormal(path);
    }
    if (WriteFileAtomic(path, data)) {
        return true;
    }
    if (wasReadOnly) {
        SetReadOnly(path, true);
    }
    return false;
}

ProgressArray* Lesson::MethodProgress(int method)
{
    switch (method) {
    case kMethodVariant:
        return &VarProgress;
    case kMethodMosaic:
        return &MozProgress;
    case kMethodWriting:
        return &EnterProgress;
    default:
        return nullptr;
    }
}

const ProgressArray* Lesson::MethodProgress(int method) const
{
    return const_cast<Lesson*>(this)->MethodProgress(method);
}

TWordProgress* Lesson::At(int method, std::int32_t position)
{
    ProgressArray* progress = MethodProgress(method);
    if (!progress || position < 0 || static_cast<std::size_t>(position) >= progress->size()) {
        return nullptr;
    }
    return &(*progress)[static_cast<std::size_t>(position)];
}

// ---------------------------------------------------------------------------------------------------------
// Selection

std::int32_t Lesson::UpdateWorkSet(ProgressArray& progress, std::int32_t threshold)
{
    const int method = Params.CB_Review ? MethodOf(progress) : -1;
    if (method >= 0) {
        ReviewBeforeRefill(progress, method, threshold);
    }
    if (!progress.empty()) {
        RefillWorkSet(progress, Params.SE_CountWLs, threshold);
    }
    if (method >= 0) {
        ReviewAfterRefill(progress, method);
    }
    // Both parts are sorted ascending, so the learned words are the tail of the array.
    const auto size = static_cast<std::int32_t>(progress.size());
    std::int32_t i = size - 1;
    while (i >= 0 && progress[static_cast<std::size_t>(i)].Points >= threshold) {
        --i;
    }
    LearnedCount = size - (i + 1);
    WorkSetSize = std::min(i + 1, static_cast<std::int32_t>(Params.SE_CountWLs));
    Events().UpdateStatusBar();
    return WorkSetSize;
}

std::int32_t Lesson::UpdateWorkSet(int method)
{
    ProgressArray* progress = MethodProgress(method);
    if (!progress) {
        return 0;
    }
    return UpdateWorkSet(*progress, Params.Threshold(method));
}

std::int32_t Lesson::PickTaskWord(ProgressArray& progress)
{
    if (progress.empty()) {
        return 0;
    }
    // WorkSetSize belongs to the array refreshed last; it never names a place beyond this one.
    const std::int32_t size = std::min(WorkSetSize, static_cast<std::int32_t>(progress.size()));
    std::int32_t r = 0;
    do {
        r = RandomInt(size);
    } while (progress[static_cast<std::size_t>(r)].WordIndex == LastTaskWord && size > 1);
    LastTaskWord = progress[static_cast<std::size_t>(r)].WordIndex;
    return r;
}

bool Lesson::AllWordsLearnedLoop(int method)
{
    if (!MethodProgress(method)) {
        return false;
    }
    while (UpdateWorkSet(method) <= 0) {
        const int answer = m_dialog ? m_dialog->ShowMessageDialog(kAllLearnedText, kUnderstood, "", kRepeat) : 0;
        if (answer != 3) {
            return false;
        }
        RaiseLearnedThreshold(method);
    }
    return true;
}

void Lesson::RaiseLearnedThreshold()
{
    RaiseLearnedThreshold(ActiveMethod);
}

void Lesson::RaiseLearnedThreshold(int method)
{
    int* threshold = nullptr;
    switch (method) {
    case kMethodVariant:
        threshold = &Params.SE_Var_Stop;
        break;
    case kMethodMosaic:
        threshold = &Params.SE_Moz_Stop;
        break;
    case kMethodWriting:
        threshold = &Params.SE_Enter_Stop;
        break;
    default:
        return;
    }
    const long long raised = static_cast<long long>(*threshold) + Params.RightPoints(method);
    *threshold = static_cast<int>(std::clamp<long long>(raised, kThresholdMin, kThresholdMax));
    Events().LearnedThresholdRaised(method, *threshold);
}

void Lesson::PickEnterTask()
{
    if (WordCount <= 0) {
        return;
    }
    if (!AllWordsLearnedLoop(kMethodWriting)) {
        return;
    }
    TaskPos = PickTaskWord(EnterProgress);
    TaskPoints = EnterProgress[static_cast<std::size_t>(TaskPos)].Points;
    Events().UpdateStatusBar();
}

void Lesson::SortOptionsByWord(std::span<std::int32_t> list, int lo, int hi, const ProgressArray& progress) const
{
    vb::SortOptionsByWord(list, lo, hi, progress, LessonWords);
}

void Lesson::SortOptionsByTranslation(std::span<std::int32_t> list, int lo, int hi, const ProgressArray& progress) const
{
    vb::SortOptionsByTranslation(list, lo, hi, progress, LessonWords);
}

// ---------------------------------------------------------------------------------------------------------
// Lesson commands

void Lesson::MarkLearned(std::int32_t position)
{
    if (TWordProgress* p = At(ActiveMethod, position)) {
        p->Points = Params.Threshold(ActiveMethod);
    }
}

void Lesson::ResetWordPoints(std::int32_t position)
{
    if (TWordProgress* p = At(ActiveMethod, position)) {
        p->Points = 0;
        TaskPoints = 0;
    }
}

void Lesson::ResetMethodPoints()
{
    if (ProgressArray* progress = MethodProgress(ActiveMethod)) {
        for (TWordProgress& p : *progress) {
            p.Points = 0;
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Scoring

void Lesson::AnswerRight(std::int32_t position)
{
    TWordProgress* word = At(ActiveMethod, position);
    if (!word) {
        return;
    }
    long long gain = Params.RightPoints(ActiveMethod);
    if (ActiveMethod == kMethodWriting) {
        // Hints are paid for out of the answer's points, even below nothing.
        gain -= static_cast<long long>(Params.SE_Ball_Letter) * HintLetters;
        gain -= static_cast<long long>(Params.SE_Ball_Word) * HintWords;
        gain -= HintLength ? Params.SE_Ball_Len : 0;
    }
    word->Points = AddPoints(word->Points, gain);
    LastRightPoints = word->Points;
    LastRightWord = word->WordIndex;

    // A failed save leaves the answer counted in memory; the next save catches up.
    SaveProgress();
    // A right answer after a wrong try at the same word counts like one after a hint.
    const std::int32_t hints = (ActiveMethod == kMethodWriting ? HintLetters + HintWords + (HintLength ? 1 : 0) : 0) +
                               (m_missedWord == word->WordIndex ? 1 : 0);
    m_missedWord = -1;
    RecordAnswer(ActiveMethod, *word, true, hints, gain);
    ++RightCount;
    --ExerciseLeft;
    Events().ShowLastRightWord(LastRightWord);
    Events().PronounceRightAnswer();
    if (ExerciseLeft <= 0) {
        ExerciseLeft = 0;
        if (Params.CB_TrayEndEx) {
            Events().HideToTray();
        }
    }
    Events().UpdateStatusBar();
}

void Lesson::AnswerWrong(std::int32_t taskPosition, std::int32_t answerPosition)
{
    const int method = ActiveMethod;
    auto penalise = [&](std::int32_t position, int penalty) {
        if (TWordProgress* p = At(method, position)) {
            p->Points = AddPoints(p->Points, -static_cast<long long>(penalty));
        }
    };
    switch (method) {
    case kMethodVariant:
    case kMethodMosaic: {
        const int penalty = method == kMethodVariant ? Params.SE_Var_Straf : Params.SE_Moz_Straf;
        if (Params.RG_Shtraf == 0 || Params.RG_Shtraf == 2) {
            penalise(taskPosition, penalty);
        }
        if (Params.RG_Shtraf == 1 || Params.RG_Shtraf == 2) {
            penalise(answerPosition, penalty);
        }
        break;
    }
    case kMethodWriting:
        penalise(taskPosition, Params.SE_Enter_Straf);
        break;
    default:
        return;
    }
    SaveProgress();
    if (const TWordProgress* task = At(method, taskPosition)) {
        m_missedWord = task->WordIndex;
    }
    const int penalty = method == kMethodVariant  ? Params.SE_Var_Straf
                        : method == kMethodMosaic ? Params.SE_Moz_Straf
                                                  : Params.SE_Enter_Straf;
    const int whom = method == kMethodWriting ? 0 : Params.RG_Shtraf;
    if (whom == 0 || whom == 2) {
        if (const TWordProgress* p = At(method, taskPosition)) {
            RecordAnswer(method, *p, false, 0, -static_cast<long long>(penalty));
        }
    }
    if ((whom == 1 || whom == 2) && !(whom == 2 && answerPosition == taskPosition)) {
        if (const TWordProgress* p = At(method, answerPosition)) {
            RecordAnswer(method, *p, false, 0, -static_cast<long long>(penalty));
        }
    }
    ++ErrorCount;
    Events().UpdateStatusBar();
}

void Lesson::StartExercise()
{
    ErrorCount = 0;
    RightCount = 0;
    ExerciseLeft = Params.SE_CountWEx;
    Events().UpdateStatusBar();
}

void Lesson::LimitExerciseLeft()
{
    if (Params.SE_CountWEx < ExerciseLeft) {
        ExerciseLeft = Params.SE_CountWEx;
    }
}

} // namespace vb
