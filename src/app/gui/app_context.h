// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every window of the program reaches: the paths, the settings store, the command line and the
// other windows (all six live for the whole run).

#include "common/app_paths.h"
#include "common/clock.h"
#include "common/registry.h"
#include "engine/lesson_preload.h"
#include "voice/sound_output.h"

#include <memory>
#include <string>
#include <vector>

class QIcon;

namespace vb {

class TForm_Learning;
class TForm_Set;
class TForm_About;
class TForm_Card;
class TForm_User;
class TForm_Message;

struct AppContext
{
    AppContext(AppPaths p, std::unique_ptr<Registry> r, std::vector<std::string> a)
        : paths(std::move(p)), registry(std::move(r)), args(std::move(a))
    { }

    AppPaths paths;
    std::unique_ptr<Registry> registry;
    // Command-line arguments after the program name.
    std::vector<std::string> args;

    // "Software\\Verbanta": the program's root key under HKCU.
    static constexpr const char* kRootKey = "Software\\Verbanta";

    // Sound output: the platform's in the program, fakes in tests; without them pronunciation is silent.
    std::unique_ptr<SoundPlayer> player;
    std::unique_ptr<SpeechEngine> speech;
    // The clock the lesson generator is seeded from at start: the system's when null; fixed by runs that
    // must repeat.
    Clock* seedClock = nullptr;
    // The program's own windows put off what their first frame does not need: the dictionary and text
    // pages (made when first asked for, at the latest after the first frame) and the saving of the
    // settings as the window is shown. Windows made for tests do everything at once.
    bool deferredStart = false;
    // The program's icon for the notification area, before the windows have it (owned by the program).
    const QIcon* programIcon = nullptr;
    // The first dictionary's files, read ahead while the windows are made.
    LessonPreload* lessonPreload = nullptr;

    TForm_Learning* learning = nullptr;
    TForm_Set* settings = nullptr;
    TForm_About* about = nullptr;
    TForm_Card* card = nullptr;
    TForm_User* user = nullptr;
    TForm_Message* message = nullptr;
};

} // namespace vb
