// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/application.h"

#include "app/gui/app_context.h"
#include "app/gui/first_frame.h"
#include "app/gui/form_about.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"
#include "app/gui/form_user.h"
#include "app/gui/learning_startup.h"
#include "cards/gui/form_card.h"
#include "common/files.h"
#include "common/gui/file_icon.h"
#include "common/instance_lock.h"
#include "engine/lesson_preload.h"
#include "voice/gui/media_module.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace vb {

namespace {

std::string ExecutablePath(const char* argv0)
{
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        return self.string();
    }
    auto fromArgs = std::filesystem::absolute(argv0 ? argv0 : "", ec);
    return ec ? std::string() : fromArgs.string();
}

// The program's icon in the sizes it is shipped in; missing files are skipped. Its pictures are read when
// first shown.
QIcon ProgramIcon(const AppPaths& paths)
{
    std::vector<IconFile> files;
    for (const int size : {16, 32, 48, 256}) {
        const QString file = QString::fromStdString(paths.IconFolder()) + QStringLiteral("/verbanta-%1.png").arg(size);
        if (QFileInfo::exists(file)) {
            files.push_back(IconFile{file, QSize(size, size)});
        }
    }
    return LazyFileIcon(files);
}

std::vector<std::string> ArgumentsOf(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    // The dictionary path is kept and handed to a running instance, whose working folder differs.
    if (!args.empty()) {
        std::error_code ec;
        const auto folder = std::filesystem::current_path(ec);
        if (!ec) {
            args.front() = AbsoluteArgument(args.front(), folder.string());
        }
    }
    return args;
}

} // namespace

int RunVerbanta(int argc, char** argv)
{
    AppPaths paths = AppPaths::FromEnvironment(ExecutablePath(argc > 0 ? argv[0] : nullptr));

    // Without its folder the lock file could not be made and every start would count as the first.
    MakeDirectories(paths.ConfigFolder());
    // Installed system-wide, the data folder is the user's own and may not exist yet.
    MakeDirectories(paths.ProgramFolder());
    InstanceLock lock;
    if (!lock.Acquire(paths.InstanceLockFile())) {
        // Another instance runs: hand it the request and end before any window or display is touched.
        auto registry = MakeSystemRegistry(paths.RegistryFile());
        PostStartRequest(*registry, ArgumentsOf(argc, argv));
        return 0;
    }

    // The first dictionary and its progress are read on another thread while the windows are made.
    auto registry = MakeSystemRegistry(paths.RegistryFile());
    LessonPreload lessonPreload;
    {
        StartupLesson first = StartupLessonFiles(*registry, paths, ArgumentsOf(argc, argv));
        lessonPreload.Start(std::move(first.dictionaryPath), std::move(first.progressPath));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Verbanta"));
    QApplication::setDesktopFileName(QStringLiteral("verbanta"));
    // The windows take the icon once the lesson window is on the screen: a window made with an icon waits
    // for its pictures. The notification area has it at once.
    const QIcon programIcon = ProgramIcon(paths);
    // The program speaks Russian, so the standard dialogs (colour, font, files) do too.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }
    // Closing a window never ends the program (the lesson window hides); only "Выход" does.
    QApplication::setQuitOnLastWindowClosed(false);

    // QApplication has taken its own options out of argv by now.
    AppContext ctx(std::move(paths), std::move(registry), ArgumentsOf(argc, argv));
    ctx.deferredStart = true;
    ctx.programIcon = &programIcon;
    ctx.lessonPreload = &lessonPreload;
    // Sound and speech start on first use and after the first frame: the audio back end and the speech
    // server are the slowest part of a start and the window does not need them to show its task.
    // They come from the media module, which is loaded only then.
    const std::vector<std::string> mediaFolders =
        MediaModuleFolders(std::filesystem::path(ExecutablePath(argc > 0 ? argv[0] : nullptr)).parent_path().string());
    ctx.player = MakeDeferredSoundPlayer(mediaFolders);
    auto speech = std::make_unique<DeferredSpeechEngine>(ModuleSpeechEngines(mediaFolders));
    DeferredSpeechEngine* speechEngine = speech.get();
    ctx.speech = std::move(speech);

    // The lesson window first (it is the main window), then the windows its first frame relies on: the settings
    // (whose values set the first task) and the message dialog (a start may have something to say). The
    // others, hidden until asked for, are made once the window is on the screen.
    auto learning = std::make_unique<TForm_Learning>(ctx);
    ctx.learning = learning.get();
    auto settings = std::make_unique<TForm_Set>(ctx);
    ctx.settings = settings.get();
    auto message = std::make_unique<TForm_Message>(ctx);
    ctx.message = message.get();
    settings->SetHooks(learning->SettingsWindowHooks());
    message->SetHooks(learning->SecondaryHooks());

    std::unique_ptr<TForm_About> about;
    std::unique_ptr<TForm_Card> card;
    std::unique_ptr<TForm_User> user;
    AfterFirstFrame(learning.get(), [&] {
        QApplication::setWindowIcon(programIcon);
        about = std::make_unique<TForm_About>(ctx);
        ctx.about = about.get();
        about->SetHooks(learning->SecondaryHooks());
        card = std::make_unique<TForm_Card>(ctx);
        ctx.card = card.get();
        card->SetHooks(learning->CardWindowHooks());
        user = std::make_unique<TForm_User>(ctx);
        ctx.user = user.get();
        user->SetHooks(learning->UserWindowHooks());
        speechEngine->Start();
    });

    learning->show();
    const int status = QApplication::exec();

    message.reset();
    ctx.message = nullptr;
    user.reset();
    ctx.user = nullptr;
    card.reset();
    ctx.card = nullptr;
    about.reset();
    ctx.about = nullptr;
    settings.reset();
    ctx.settings = nullptr;
    learning.reset();
    ctx.learning = nullptr;
    return status;
}

} // namespace vb
