// SPDX-License-Identifier: GPL-3.0-or-later
// The soak driver's run: the private data folder, the program's life (started again after "Выход"), the
// action loop and the failure report with the seed to replay it.
//
//   verbanta_soak [--seconds S] [--actions N] [--seed SEED] [--home DIR] [--verbose]

#include "soak.h"

#include "app/gui/form_about.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "app/gui/form_user.h"
#include "cards/gui/form_card.h"
#include "common/files.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QThread>
#include <QTimer>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace soak {

namespace {

// The lesson generator's seed comes from the run's seed, so a replay draws the same tasks.
class FixedClock : public vb::Clock
{
public:
    explicit FixedClock(std::uint32_t ticks) : m_ticks(ticks) { }
    std::uint32_t TickCount() override { return m_ticks; }

private:
    std::uint32_t m_ticks;
};

std::int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Write(const std::string& path, const std::string& bytes)
{
    vb::MakeDirectories(std::filesystem::path(path).parent_path().string());
    vb::WriteFileAtomic(path, bytes);
}

// The running driver, for the sanitizer's last words.
Driver* g_driver = nullptr;

// Nesting deeper than this (a dialog over a dialog over a build ...) only closes what is open.
constexpr int kMaxDepth = 4;
// The log lines printed with a failure; the whole list is in the log file.
constexpr std::size_t kReportLines = 60;

} // namespace

Driver::Driver(Options options)
    : m_options(std::move(options))
    , m_random(m_options.seed)
    , m_seedClock(std::make_unique<FixedClock>(static_cast<std::uint32_t>(m_options.seed)))
{
    m_actions = MakeActions();
}

Driver::~Driver()
{
    if (m_logFile) {
        std::fclose(m_logFile);
    }
}

int Driver::Pick(int n)
{
    if (n < 1) {
        return 0;
    }
    return static_cast<int>(m_random() % static_cast<std::uint64_t>(n));
}

void Driver::Note(const std::string& detail)
{
    m_current += ' ';
    m_current += detail;
}

void Driver::Fail(const std::string& what)
{
    if (m_failure.empty()) {
        m_failure = what;
    }
}

std::string Driver::HomeFile(const std::string& name) const
{
    return m_options.home + "/" + name;
}

std::string Driver::Token()
{
    // Letters only, short enough for the narrowest cell of the prepared dictionaries.
    std::string token = "q";
    long long n = ++m_tokens;
    while (n > 0) {
        token += static_cast<char>('a' + n % 26);
        n /= 26;
    }
    return token;
}

std::vector<std::string> Driver::Dictionaries() const
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(HomeFile("dict"), ec)) {
        if (entry.path().extension() == ".lqd") {
            out.push_back(entry.path().string());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> Driver::Texts() const
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(HomeFile("texts"), ec)) {
        out.push_back(entry.path().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

void Driver::PrepareHome()
{
    std::error_code ec;
    std::filesystem::remove_all(m_options.home, ec);
    vb::MakeDirectories(m_options.home);
    // The default dictionary is the folder's own copy, so its edits never reach the source tree.
    std::string basic;
    vb::ReadWholeFile(VB_SOURCE_DIR "/data/dict/dt_basic.lqd", basic);
    Write(HomeFile("dict/dt_basic.lqd"), basic);
    Write(HomeFile("dict/small.lqd"), "apple|\xFF\xE1\xEB\xEE\xEA\xEE|\xE6pl|fruit\r\nbread|\xF5\xEB\xE5\xE1\r\n"
                                      "cloud|\xEE\xE1\xEB\xE0\xEA\xEE||noun\r\ndog|\xF1\xEE\xE1\xE0\xEA\xE0\r\n");
    Write(HomeFile("dict/one.lqd"), "sun|\xF1\xEE\xEB\xED\xF6\xE5\r\n");
    Write(HomeFile("dict/empty.lqd"), "");
    Write(HomeFile("dict/unicode.lqd"),
          "\xEF\xBB\xBF"
          "stra\xC3\x9F"
          "e|\xD1\x83\xD0\xBB\xD0\xB8\xD1\x86\xD0\xB0\r\n\xC3\xA9t\xC3\xA9|\xD0\xBB\xD0\xB5\xD1\x82\xD0\xBE\r\n"
          "caf\xC3\xA9|\xD0\xBA\xD0\xB0\xD1\x84\xD0\xB5\r\n");
    Write(HomeFile("dict/locked.lqd"), "lock|\xE7\xE0\xEC\xEE\xEA\r\nkey|\xEA\xEB\xFE\xF7\r\n");
    vb::SetReadOnly(HomeFile("dict/locked.lqd"), true);
    Write(HomeFile("texts/book.txt"), "The dog saw the cat. The cat ran; the dog - well-\r\nknown - ran too!\r\n"
                                      "Don't 'tis rock-n-roll H2O 1999.\r\n");
    Write(HomeFile("texts/ru.txt"), "\xEA\xEE\xF2 \xE8 \xEF\xB8\xF1, \xEA\xEE\xF2!\r\n");
    Write(HomeFile("texts/utf8.txt"), "\xEF\xBB\xBF\xD0\xBA\xD0\xBE\xD1\x82 na\xC3\xAFve caf\xC3\xA9\r\n");
    Write(HomeFile("texts/empty.txt"), "");
}

void Driver::StartProgram()
{
    ++m_starts;
    vb::AppPaths paths(m_options.home, m_options.home, m_options.home);
    Program& p = m_program;
    p.ctx = std::make_unique<vb::AppContext>(std::move(paths), vb::MakeSystemRegistry(HomeFile("registry.reg")),
                                             std::vector<std::string>{});
    p.ctx->seedClock = m_seedClock.get();
    // As the program starts: the pages behind the lesson pages come after the first frame.
    p.ctx->deferredStart = true;
    // In the order of the program, destroyed in the reverse one.
    p.learning = std::make_unique<vb::TForm_Learning>(*p.ctx);
    p.ctx->learning = p.learning.get();
    p.settings = std::make_unique<vb::TForm_Set>(*p.ctx);
    p.ctx->settings = p.settings.get();
    p.about = std::make_unique<vb::TForm_About>(*p.ctx);
    p.ctx->about = p.about.get();
    p.card = std::make_unique<vb::TForm_Card>(*p.ctx);
    p.ctx->card = p.card.get();
    p.user = std::make_unique<vb::TForm_User>(*p.ctx);
    p.ctx->user = p.user.get();
    p.message = std::make_unique<vb::TForm_Message>(*p.ctx);
    p.ctx->message = p.message.get();
    p.settings->SetHooks(p.learning->SettingsWindowHooks());
    p.about->SetHooks(p.learning->SecondaryHooks());
    p.message->SetHooks(p.learning->SecondaryHooks());
    p.user->SetHooks(p.learning->UserWindowHooks());
    p.card->SetHooks(p.learning->CardWindowHooks());
    // Odd seeds run with a tray to hide to, even ones minimise to the task bar.
    const bool tray = m_options.seed % 2 == 1;
    p.learning->trayAvailable = [tray] { return tray; };
    InstallDialogAnswers(*this);
    p.learning->show();
}

void Driver::StopProgram()
{
    Program& p = m_program;
    p.message.reset();
    p.ctx->message = nullptr;
    p.user.reset();
    p.ctx->user = nullptr;
    p.card.reset();
    p.ctx->card = nullptr;
    p.about.reset();
    p.ctx->about = nullptr;
    p.settings.reset();
    p.ctx->settings = nullptr;
    p.learning.reset();
    p.ctx->learning = nullptr;
    p.ctx.reset();
    vb::TForm_Message::ResetTestHooks();
}

QWidget* Driver::ModalWindow() const
{
    return QApplication::activeModalWidget();
}

Scene Driver::CurrentScene() const
{
    if (ModalWindow() != nullptr) {
        return Scene::Modal;
    }
    // Parked off screen at start-up, on its way to the tray, the window is out of reach as well.
    if (m_program.learning && (m_program.learning->InTray() || m_program.learning->IsParked())) {
        return Scene::Away;
    }
    return Scene::Window;
}

bool Driver::TimeIsUp() const
{
    if (m_options.actions > 0 && m_count >= m_options.actions) {
        return true;
    }
    return m_options.seconds > 0 && static_cast<double>(NowMs() - m_startMs) >= m_options.seconds * 1000.0;
}

void Driver::Tick()
{
    if (m_done || !m_program.learning) {
        return;
    }
    if (!m_failure.empty()) {
        return;
    }
    const Scene scene = CurrentScene();
    const bool closingOnly = m_depth >= kMaxDepth || TimeIsUp();
    if (closingOnly && scene != Scene::Modal && m_depth > 0) {
        // Let the nested loop (a build) end by itself.
        return;
    }
    if (closingOnly && m_depth == 0 && scene != Scene::Modal) {
        m_done = true;
        QCoreApplication::exit(0);
        return;
    }

    std::vector<const Action*> legal;
    int total = 0;
    for (const Action& action : m_actions) {
        if (action.scene != scene || action.weight <= 0) {
            continue;
        }
        if (closingOnly && std::strncmp(action.name, "close", 5) != 0) {
            continue;
        }
        if (action.legal && !action.legal(*this)) {
            continue;
        }
        legal.push_back(&action);
        total += action.weight;
    }
    if (legal.empty()) {
        return;
    }
    int roll = Pick(total);
    const Action* chosen = legal.front();
    for (const Action* action : legal) {
        if (roll < action->weight) {
            chosen = action;
            break;
        }
        roll -= action->weight;
    }

    ++m_count;
    const std::string saved = m_current;
    m_current = "#";
    m_current += std::to_string(m_count);
    m_current += ' ';
    m_current += chosen->name;
    ++m_depth;
    // The line goes out before the action runs, so a crash inside it leaves it in the log.
    m_log.push_back(m_current);
    if (m_logFile) {
        std::fprintf(m_logFile, "%s\n", m_current.c_str());
        std::fflush(m_logFile);
    }
    const std::size_t line = m_log.size() - 1;
    {
        // A timer does not fire again while its own slot runs, so a modal loop the action opens is driven
        // by a timer of its own.
        QTimer nested;
        nested.setInterval(0);
        connect(&nested, &QTimer::timeout, this, [this] { Tick(); });
        nested.start();
        chosen->run(*this);
    }
    --m_depth;
    if (m_current != m_log[line]) {
        m_log[line] = m_current;
        if (m_logFile) {
            std::fprintf(m_logFile, "   %s\n", m_current.c_str());
            std::fflush(m_logFile);
        }
    }
    if (m_options.verbose) {
        std::fprintf(stderr, "%s\n", m_current.c_str());
    }
    m_current = saved;

    // Idle: nothing nested under this action, nothing modal, no build on its thread, and no event loop of
    // the program's own still running below (a modal window a timer opened, just closed by this action,
    // returns to its caller only after this).
    const bool idle = m_depth == 0 && ModalWindow() == nullptr && !m_program.learning->BuildRunning() &&
                      QThread::currentThread()->loopLevel() <= 1;
    const std::string broken = CheckInvariants(*this, idle);
    if (!broken.empty()) {
        Fail(broken);
    }
    if (!m_failure.empty()) {
        m_done = true;
        QCoreApplication::exit(1);
    }
}

void Driver::ReportCrash()
{
    Report("the sanitizer stopped the program (its report is above)");
}

void Driver::Report(const std::string& failure)
{
    std::fprintf(stderr, "\nsoak: FAILED after %lld actions: %s\n", m_count, failure.c_str());
    std::fprintf(stderr, "soak: seed %llu; the last actions:\n", static_cast<unsigned long long>(m_options.seed));
    const std::size_t from = m_log.size() > kReportLines ? m_log.size() - kReportLines : 0;
    for (std::size_t i = from; i < m_log.size(); ++i) {
        std::fprintf(stderr, "  %s\n", m_log[i].c_str());
    }
    std::fprintf(stderr, "soak: all actions in %s\n", HomeFile("../soak-actions.log").c_str());
    std::fprintf(stderr, "soak: replay with: verbanta_soak --seed %llu --actions %lld\n",
                 static_cast<unsigned long long>(m_options.seed), m_count);
}

int Driver::Run()
{
    PrepareHome();
    m_logFile = std::fopen(HomeFile("../soak-actions.log").c_str(), "w");
    std::fprintf(stderr, "soak: seed %llu, data folder %s\n", static_cast<unsigned long long>(m_options.seed),
                 m_options.home.c_str());
    g_driver = this;
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback([] {
        if (g_driver) {
            g_driver->ReportCrash();
        }
    });
#endif
    m_startMs = NowMs();
    m_timer = new QTimer(this);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, [this] { Tick(); });
    m_timer->start();

    while (true) {
        StartProgram();
        // Returns at the end of the run or after "Выход", which starts the program again.
        QApplication::exec();
        const bool quit = !m_done;
        StopProgram();
        if (m_failure.empty()) {
            const std::string broken = CheckFilesAtRest(*this);
            if (!broken.empty()) {
                Fail("after the program ended: " + broken);
            }
        }
        if (!m_failure.empty() || m_done || !quit) {
            break;
        }
    }
    m_timer->stop();
    g_driver = nullptr;

    const double seconds = static_cast<double>(NowMs() - m_startMs) / 1000.0;
    if (!m_failure.empty()) {
        Report(m_failure);
        return 1;
    }
    std::fprintf(stderr, "soak: passed: %lld actions in %.1f s (%.1f a second), %d program starts, seed %llu\n",
                 m_count, seconds, seconds > 0 ? static_cast<double>(m_count) / seconds : 0.0, m_starts,
                 static_cast<unsigned long long>(m_options.seed));
    return 0;
}

} // namespace soak

int main(int argc, char** argv)
{
    soak::Options options;
    options.seed = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--seconds" && value) {
            options.seconds = std::atof(value);
            ++i;
        } else if (arg == "--actions" && value) {
            options.actions = std::atoll(value);
            ++i;
        } else if (arg == "--seed" && value) {
            options.seed = std::strtoull(value, nullptr, 10);
            ++i;
        } else if (arg == "--home" && value) {
            options.home = value;
            ++i;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else {
            std::fprintf(stderr, "usage: %s [--seconds S] [--actions N] [--seed SEED] [--home DIR] [--verbose]\n",
                         argv[0]);
            return 2;
        }
    }
    if (options.seconds <= 0 && options.actions <= 0) {
        options.seconds = 60;
    }
    if (options.home.empty()) {
        options.home = QDir::tempPath().toStdString() + "/verbanta-soak-" + std::to_string(options.seed) + "/home";
    }
    // Every path of the program, the autostart entry too, stays inside the private folder.
    qputenv("VERBANTA_HOME", QByteArray::fromStdString(options.home));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    soak::Driver driver(options);
    return driver.Run();
}
