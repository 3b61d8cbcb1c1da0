// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The state of a lesson: the dictionary's words, the three methods' learning orders with scores, the task
// in hand, the counters and the random generator. The lesson window owns one Lesson; its pages and the word
// cards work on it.

#include "engine/lesson_events.h"
#include "engine/lesson_types.h"
#include "engine/random.h"
#include "engine/review.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vb {

class Clock;
class MessageDialog;

// The settings the lesson rules read. The window fills it from the settings controls (already clamped to
// their ranges) whenever they change; the defaults are the controls' defaults.
struct LessonParams
{
    int SE_CountWLs = 20; // words in the working set
    int SE_CountWEx = 20; // right answers per exercise

    int SE_Var_Stop = 48; // learned thresholds
    int SE_Moz_Stop = 48;
    int SE_Enter_Stop = 48;

    int SE_Var_Ball = 6; // points for a right answer
    int SE_Moz_Ball = 4;
    int SE_Enter_Ball = 18;

    int SE_Var_Straf = 6; // penalty for a wrong answer
    int SE_Moz_Straf = 4;
    int SE_Enter_Straf = 10;

    int SE_Ball_Len = 4; // Writing: deductions for hints
    int SE_Ball_Letter = 8;
    int SE_Ball_Word = 12;

    int RG_Shtraf = 0; // whom a wrong answer costs: 0 the task word, 1 the chosen word, 2 both
    bool CB_TrayEndEx = true; // hide to the tray when an exercise is over

    // Spaced review of learned words: off leaves the working sets exactly as without it.
    bool CB_Review = false;
    int SE_Retention = 90; // desired retention, percent

    double Retention() const { return SE_Retention / 100.0; }

    int Threshold(int method) const;
    int RightPoints(int method) const;
};

// What a lesson reads from its two files: the dictionary's words and, when it fits them, the progress.
struct LessonFiles
{
    std::string dictionaryPath;
    std::string progressPath;
    // False when the dictionary could not be read.
    bool read = false;
    std::vector<TLessonWord> words;
    // False when the progress file is missing or does not fit the words.
    bool progressRead = false;
    ProgressArray var;
    ProgressArray moz;
    ProgressArray enter;
};

// Reads both files; touches no lesson, so it may run on any thread.
LessonFiles ReadLessonFiles(const std::string& dictionaryPath, const std::string& progressPath);

class Lesson
{
public:
    explicit Lesson(LessonEvents* events = nullptr, MessageDialog* dialog = nullptr);

    void SetEvents(LessonEvents* events);
    void SetMessageDialog(MessageDialog* dialog);

    LessonParams Params;

    // --- Random numbers ---
    RandomGenerator Random;
    std::int32_t RandomInt(std::int32_t n) { return Random.RandomInt(n); }
    // Done first thing when the lesson window is created.
    void SeedRandom(Clock& clock) { Random.SeedAtStartup(clock); }
    // The direction of the next task by "Учить" (0 "Слово", 1 "Перевод", 2 "Всё"): 1 when the answers are
    // foreign words, 0 when they are translations. "Всё" draws a coin for every task.
    std::int32_t DrawTaskDirection(int rgWordShow);

    // --- Words and progress ---
    std::vector<TLessonWord> LessonWords;
    std::int32_t WordCount = 0;
    ProgressArray VarProgress;
    ProgressArray MozProgress;
    ProgressArray EnterProgress;

    // Reads the dictionary file into LessonWords, resets the counters and loads the progress from
    // `progressPath` (see ProgressFilePath), or makes a fresh shuffled start with all scores 0 when that file
    // is missing or does not fit this dictionary. False when the dictionary could not be read; the lesson is
    // then empty.
    bool LoadLessonWords(const std::string& dictionaryPath, const std::string& progressPath);
    // The same with the files read already (ReadLessonFiles).
    bool LoadLessonWords(LessonFiles files);
    // Writes the progress file atomically. Nothing is written for an empty lesson. A read-only progress file
    // is overwritten (and loses its mark); on failure the old file stays as it was. False when not written.
    bool SaveProgress() const;
    const std::string& ProgressFile() const { return m_progressFile; }

    // The learning order of a method; nullptr for any other number.
    ProgressArray* MethodProgress(int method);
    const ProgressArray* MethodProgress(int method) const;

    // --- Answer history and spaced review ---
    // The wall clock the history is dated by; tests set their own.
    void SetDateClock(DateClock* clock);
    std::int64_t Today() const;
    // Reads the history beside the progress file, folds years before last year into daily totals (the file
    // is then rewritten) and replays it into Review. Part of LoadLessonWords.
    void LoadHistory();
    const std::string& HistoryFile() const { return m_historyFile; }
    // Memory states, per-day counts and learned words replayed from the history; kept up to date by every
    // answer, whether review is on or not.
    ReviewSchedule Review;
    // Words of the method due for review today (0 with review off).
    std::int32_t DueToday(int method) const;

    // --- Selection ---
    std::int32_t WorkSetSize = 0;
    std::int32_t LearnedCount = 0;
    std::int32_t TaskPos = 0;
    std::int32_t TaskPoints = 0;
    std::int32_t TaskDirection = 1;
    std::int32_t LastTaskWord = 0;
    std::int32_t ActiveMethod = kMethodVariant;

    // Refills the working set of `progress`, counts its learned words and returns WorkSetSize.
    std::int32_t UpdateWorkSet(ProgressArray& progress, std::int32_t threshold);
    std::int32_t UpdateWorkSet(int method);
    // A random position of the working set, never the previous task word unless it is the only one left.
    std::int32_t PickTaskWord(ProgressArray& progress);
    // Refreshes the method's working set; when every word is learned, asks whether to go on with a raised
    // threshold until there is a word or the pupil declines. True when there is a word to ask.
    bool AllWordsLearnedLoop(int method);
    // Raises the active method's learned threshold by the points of one right answer (at most 100).
    void RaiseLearnedThreshold();
    void RaiseLearnedThreshold(int method);
    // The Writing task pick: sets TaskPos and TaskPoints, or leaves WorkSetSize at 0.
    void PickEnterTask();

    void SortOptionsByWord(std::span<std::int32_t> list, int lo, int hi, const ProgressArray& progress) const;
    void SortOptionsByTranslation(std::span<std::int32_t> list, int lo, int hi, const ProgressArray& progress) const;

    // --- Lesson commands (memory only; the file follows at the next save) ---
    // "Выучено !": the word's points become the method's threshold.
    void MarkLearned(std::int32_t position);
    // "Учить задание заново".
    void ResetWordPoints(std::int32_t position);
    // "Учить словарь заново": every score of the active method back to 0, the order stays.
    void ResetMethodPoints();

    // --- Scoring ---
    std::int32_t RightCount = 0;
    std::int32_t ErrorCount = 0;
    std::int32_t ExerciseLeft = 20;
    std::int32_t LastRightWord = 0;
    std::int32_t LastRightPoints = 0;
    // Hints of the current Writing task, kept by the Writing page; a right answer pays for them.
    std::int32_t HintLetters = 0;
    std::int32_t HintWords = 0;
    bool HintLength = false;

    // A right answer for the word at `position` of the active method's order.
    void AnswerRight(std::int32_t position);
    // A wrong answer: the task word at `taskPosition`, the chosen word at `answerPosition`.
    void AnswerWrong(std::int32_t taskPosition, std::int32_t answerPosition);
    // The window pops up from the tray: a new exercise starts.
    void StartExercise();
    // A shorter exercise length takes effect at once; a longer one waits for the next exercise.
    void LimitExerciseLeft();
    // For rules outside this class that change a shown value (TaskPoints of a chosen Mosaic item, ...).
    void UpdateStatusBar() const { Events().UpdateStatusBar(); }

private:
    LessonEvents& Events() const;
    TWordProgress* At(int method, std::int32_t position);
    int MethodOf(const ProgressArray& progress) const;
    void RecordAnswer(int method, const TWordProgress& word, bool right, std::int32_t hints, long long change);
    void ReviewBeforeRefill(ProgressArray& progress, int method, std::int32_t threshold);
    void ReviewAfterRefill(ProgressArray& progress, int method);

    LessonEvents* m_events = nullptr;
    MessageDialog* m_dialog = nullptr;
    std::string m_progressFile;
    // One pseudo-random order shared by the three methods, every score 0.
    void StartFreshProgress();
    std::string m_historyFile;
    DateClock* m_dateClock = nullptr;
    std::int32_t m_missedWord = -1; // the task word of the last wrong answer, until it is answered right
};

} // namespace vb
