// SPDX-License-Identifier: GPL-3.0-or-later
// The soak run's invariants: the lesson's counters, the status bar against the lesson, the files the
// program keeps (settings, dictionaries, progress) whole at any moment, saved edits in their file, and no
// temporary file left once the program is idle.

#include "soak.h"

#include "app/gui/form_learning.h"
#include "common/files.h"
#include "common/registry.h"
#include "dictionary/gui/dictionary_grid.h"
#include "engine/gui/status_bar.h"
#include "engine/progress_file.h"
#include "engine/status_texts.h"
#include "text/gui/text_page.h"

#include <QAbstractItemModel>
#include <QTabWidget>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace soak {

namespace {

std::string CheckOrder(const vb::ProgressArray& order, int wordCount, const char* method)
{
    if (static_cast<int>(order.size()) != wordCount) {
        return std::string(method) + " order has " + std::to_string(order.size()) + " places for " +
               std::to_string(wordCount) + " words";
    }
    std::vector<bool> seen(order.size(), false);
    for (const vb::TWordProgress& p : order) {
        if (p.WordIndex < 0 || p.WordIndex >= wordCount || seen[static_cast<std::size_t>(p.WordIndex)]) {
            return std::string(method) + " order is not a permutation (word " + std::to_string(p.WordIndex) + ")";
        }
        seen[static_cast<std::size_t>(p.WordIndex)] = true;
    }
    return {};
}

std::string CheckCounters(const vb::TForm_Learning& w)
{
    const vb::Lesson& l = w.lesson;
    const int words = l.WordCount;
    if (words != static_cast<int>(l.LessonWords.size())) {
        return "WordCount " + std::to_string(words) + " but " + std::to_string(l.LessonWords.size()) + " words";
    }
    using Named = std::pair<const vb::ProgressArray*, const char*>;
    for (const auto& [order, name] : std::initializer_list<Named>{
             {&l.VarProgress, "Variant"}, {&l.MozProgress, "Mosaic"}, {&l.EnterProgress, "Writing"}}) {
        const std::string broken = CheckOrder(*order, words, name);
        if (!broken.empty()) {
            return broken;
        }
    }
    const auto outside = [](long long v, long long lo, long long hi) { return v < lo || v > hi; };
    if (outside(l.WorkSetSize, 0, words) || outside(l.LearnedCount, 0, words)) {
        return "WorkSetSize " + std::to_string(l.WorkSetSize) + ", LearnedCount " + std::to_string(l.LearnedCount) +
               " of " + std::to_string(words) + " words";
    }
    // An empty lesson asks nothing, so what it kept of the last dictionary's positions is never used.
    // LastRightWord and LastTaskWord may still name a word of the previous dictionary (their readers check
    // the range), so only the task's own place is held to the open one.
    if (words > 0 && outside(l.TaskPos, 0, words - 1)) {
        return "a word position outside the dictionary: TaskPos " + std::to_string(l.TaskPos) + ", LastRightWord " +
               std::to_string(l.LastRightWord) + ", LastTaskWord " + std::to_string(l.LastTaskWord);
    }
    if (l.RightCount < 0 || l.ErrorCount < 0 || l.ExerciseLeft < 0) {
        return "counters below zero: right " + std::to_string(l.RightCount) + ", errors " +
               std::to_string(l.ErrorCount) + ", left " + std::to_string(l.ExerciseLeft);
    }
    if (l.ActiveMethod < 0 || l.ActiveMethod >= vb::kMethodCount) {
        return "ActiveMethod " + std::to_string(l.ActiveMethod);
    }
    return {};
}

std::string CheckStatusBar(vb::TForm_Learning& w)
{
    vb::LessonStatus status;
    status.RightCount = w.lesson.RightCount;
    status.ExerciseLeft = w.lesson.ExerciseLeft;
    status.ErrorCount = w.lesson.ErrorCount;
    status.LearnedCount = w.lesson.LearnedCount;
    status.TaskPoints = w.lesson.TaskPoints;
    status.WordCount = w.lesson.WordCount;
    status.DictionaryPath = w.Settings.DictionaryPath;
    if (w.lesson.Params.CB_Review) {
        status.DueToday = w.lesson.DueToday(w.lesson.ActiveMethod);
    }
    const int page = w.PageControl->currentIndex();
    const vb::StatusBarView view = vb::StatusBarForPage(page, status, w.TextStatus());
    for (int i = 0; i < static_cast<int>(view.texts.size()); ++i) {
        const auto& expected = view.texts[static_cast<std::size_t>(i)];
        // Panel 4 follows the pointer over the last right word, which the driver never moves there.
        if (expected && QString::fromStdString(*expected) != w.StatusBar->PanelText(i)) {
            return "status bar panel " + std::to_string(i) + " on page " + std::to_string(page) + " shows \"" +
                   w.StatusBar->PanelText(i).toStdString() + "\", the lesson says \"" + *expected + "\"";
        }
    }
    return {};
}

bool EndsWholeLine(const std::string& bytes)
{
    return bytes.empty() || (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0);
}

std::string CheckFiles(Driver& d)
{
    std::string text;
    if (vb::ReadWholeFile(d.HomeFile("registry.reg"), text)) {
        bool whole = false;
        vb::MakeMemoryRegistryFromText(text, &whole);
        if (!whole) {
            return "the settings file does not read back whole";
        }
    }
    for (const std::string& path : d.Dictionaries()) {
        std::string bytes;
        if (vb::ReadWholeFile(path, bytes) && (!EndsWholeLine(bytes) || bytes.find('\0') != std::string::npos)) {
            return "dictionary " + path + " is cut short or holds a NUL byte";
        }
    }
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(d.HomeFile("Users"), ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->path().extension() != ".lqs") {
            continue;
        }
        std::string bytes;
        if (!vb::ReadWholeFile(it->path().string(), bytes)) {
            continue;
        }
        const int lines = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
        vb::ProgressArray var, moz, enter;
        if (!EndsWholeLine(bytes) || !vb::ParseProgressFile(bytes, lines, var, moz, enter)) {
            return "progress file " + it->path().string() + " does not read back whole";
        }
    }
    return {};
}

std::string CheckTemporaryFiles(Driver& d)
{
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(d.Opt().home, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // The atomic writer's temporary files: ".<name>.tmp<pid>-...".
        if (name.size() > 1 && name[0] == '.' && name.find(".tmp") != std::string::npos) {
            return "temporary file left: " + it->path().string();
        }
    }
    return {};
}

// With nothing unsaved, what the grid shows of the driver's edits is in the dictionary file.
std::string CheckSavedEdits(Driver& d)
{
    vb::TForm_Learning& w = *d.P().learning;
    if (!w.HiddenPagesCreated() || w.DictionaryChanged() || w.SdfDataSet.State() != vb::DataSetState::Browse) {
        return {};
    }
    std::string file;
    if (!vb::ReadWholeFile(w.Settings.DictionaryPath, file)) {
        return {};
    }
    const QAbstractItemModel* model = w.DBGridDict->model();
    for (const Driver::Edit& edit : d.edits) {
        if (edit.dictionary != w.Settings.DictionaryPath || edit.row >= model->rowCount() ||
            edit.text.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos) {
            continue;
        }
        const QString shown = model->index(edit.row, edit.column).data().toString();
        if (shown.toStdString() == edit.text && file.find(edit.text) == std::string::npos) {
            std::string copy;
            vb::ReadWholeFile(w.WorkingCopyPath, copy);
            return "the grid shows the saved edit \"" + edit.text + "\" (row " + std::to_string(edit.row) +
                   ") but the dictionary file lacks it; the working copy " +
                   (copy.find(edit.text) == std::string::npos ? "lacks" : "holds") + " it too, the table " +
                   (w.SdfDataSet.Modified() ? "has" : "has no") + " a changed record";
        }
    }
    return {};
}

} // namespace

std::string CheckInvariants(Driver& d, bool idle)
{
    vb::TForm_Learning& w = *d.P().learning;
    std::string broken = CheckCounters(w);
    if (broken.empty()) {
        broken = CheckFiles(d);
    }
    if (!idle || !broken.empty()) {
        return broken;
    }
    if (!w.InTray() && !w.IsParked()) {
        broken = CheckStatusBar(w);
    }
    if (broken.empty()) {
        broken = CheckSavedEdits(d);
    }
    if (broken.empty()) {
        broken = CheckTemporaryFiles(d);
    }
    return broken;
}

std::string CheckFilesAtRest(Driver& d)
{
    std::string broken = CheckFiles(d);
    return broken.empty() ? CheckTemporaryFiles(d) : broken;
}

} // namespace soak
