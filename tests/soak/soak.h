// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The soak driver: the whole program on a private data folder, driven by random but legal user actions
// from a seeded generator, with the invariants checked after every action.
//
// soak_actions.cpp is the one place that knows the windows: what a user can do in each of them. New
// controls get their actions there. soak_checks.cpp holds the invariants, soak_main.cpp the run.

#include "app/gui/app_context.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

class QTimer;
class QWidget;

namespace vb {
class TForm_About;
class TForm_Card;
class TForm_Learning;
class TForm_Message;
class TForm_Set;
class TForm_User;
} // namespace vb

namespace soak {

// The program's windows, made and wired as the program makes them.
struct Program
{
    std::unique_ptr<vb::AppContext> ctx;
    std::unique_ptr<vb::TForm_Learning> learning;
    std::unique_ptr<vb::TForm_Set> settings;
    std::unique_ptr<vb::TForm_About> about;
    std::unique_ptr<vb::TForm_Card> card;
    std::unique_ptr<vb::TForm_User> user;
    std::unique_ptr<vb::TForm_Message> message;
};

// Where the user's input can go right now.
enum class Scene {
    Window, // the lesson window is up and nothing modal is open
    Away, // the lesson window is in the tray or minimised: tray, card and task bar
    Modal, // a modal window of the program is open
};

class Driver;

struct Action
{
    const char* name;
    Scene scene;
    int weight;
    // Whether a user could do it now (the control is there, shown and enabled).
    std::function<bool(Driver&)> legal;
    std::function<void(Driver&)> run;
};

// Every action the driver knows, by scene. Actions of no scene (background: timers, a second start)
// are listed with every scene.
std::vector<Action> MakeActions();
// The answers to the program's dialogs: the message dialog, the file dialogs, the font, folder and
// colour pickers. Installed once per program start.
void InstallDialogAnswers(Driver& driver);

struct Options
{
    std::uint64_t seed = 1;
    double seconds = 0;
    long long actions = 0;
    std::string home;
    bool verbose = false;
};

class Driver : public QObject
{
public:
    explicit Driver(Options options);
    ~Driver() override;

    // Runs until the time or the action count is used up, or an invariant fails. Returns the exit code.
    int Run();

    // ---- For the actions
    Program& P() { return m_program; }
    const Options& Opt() const { return m_options; }
    // A number in [0, n); 0 when n < 1.
    int Pick(int n);
    bool Chance(int percent) { return Pick(100) < percent; }
    template <class T>
    const T& OneOf(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(Pick(static_cast<int>(items.size())))];
    }
    // Adds to the log line of the action running now.
    void Note(const std::string& detail);
    // Fails the run after the current action.
    void Fail(const std::string& what);
    std::string HomeFile(const std::string& name) const;
    // The dictionaries and texts the driver offers in the file dialogs.
    std::vector<std::string> Dictionaries() const;
    std::vector<std::string> Texts() const;
    // A fresh short token to type; every token is unique within the run.
    std::string Token();
    // Grid edits the invariants follow: the cell, the dictionary and what was typed.
    struct Edit
    {
        int row, column;
        std::string dictionary, text;
    };
    std::vector<Edit> edits;
    Scene CurrentScene() const;
    QWidget* ModalWindow() const;
    long long ActionCount() const { return m_count; }
    // After a sanitizer report: the seed and the last actions.
    void ReportCrash();

private:
    void Tick();
    void StartProgram();
    void StopProgram();
    void PrepareHome();
    void Report(const std::string& failure);
    bool TimeIsUp() const;

    Options m_options;
    Program m_program;
    std::mt19937_64 m_random;
    std::vector<Action> m_actions;
    QTimer* m_timer = nullptr;
    std::vector<std::string> m_log;
    std::string m_current;
    std::string m_failure;
    FILE* m_logFile = nullptr;
    long long m_count = 0;
    long long m_tokens = 0;
    int m_depth = 0;
    int m_starts = 0;
    bool m_done = false;
    std::int64_t m_startMs = 0;
    std::unique_ptr<vb::Clock> m_seedClock;
};

// The invariants, checked after every action; the first one broken, or empty.
std::string CheckInvariants(Driver& driver, bool idle);
// After the program has ended: every file it left is whole.
std::string CheckFilesAtRest(Driver& driver);

} // namespace soak
