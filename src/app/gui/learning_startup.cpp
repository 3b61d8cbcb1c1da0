// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/learning_startup.h"

#include "app/gui/app_context.h"
#include "common/codepage.h"
#include "engine/progress_file.h"
#include "engine/settings.h"

#include <filesystem>

namespace vb {

std::string PupilKeyOf(const std::string& pupilName)
{
    return std::string(AppContext::kRootKey) + "\\" + pupilName;
}

std::string ReadPupilName(Registry& registry)
{
    auto name = registry.ReadString(AppContext::kRootKey, "Application");
    if (!name || name->empty()) {
        return "Default";
    }
    return *name;
}

bool PostStartRequest(Registry& registry, const std::vector<std::string>& args)
{
    // A running instance that has never saved anything cannot be reached; creating the key here would
    // leave settings behind for a program that did not start.
    if (!registry.KeyExists(AppContext::kRootKey)) {
        return false;
    }
    // An empty argument would read as "no request" and the running instance would not come forward.
    const std::string request = args.empty() || args.front().empty() ? std::string("startup") : args.front();
    return registry.WriteString(AppContext::kRootKey, "", request);
}

std::optional<std::string> TakeStartRequest(Registry& registry)
{
    RegistryBatch batch(registry);
    auto request = registry.ReadString(AppContext::kRootKey, "");
    if (!request || request->empty()) {
        return std::nullopt;
    }
    registry.WriteString(AppContext::kRootKey, "", "");
    return request;
}

std::string AbsoluteArgument(const std::string& arg, const std::string& folder)
{
    if (arg.empty()) {
        return arg;
    }
    const std::filesystem::path path(arg);
    if (path.is_absolute()) {
        return arg;
    }
    return (std::filesystem::path(folder) / path).lexically_normal().string();
}

bool IsDictionaryArgument(std::string_view arg)
{
    if (arg.size() < 4) {
        return false;
    }
    return UpperCase1251(arg.substr(arg.size() - 4)) == ".LQD";
}

std::string ChooseDictionary(const std::string& stored, const std::vector<std::string>& args, bool settingsLoaded,
                             const std::string& defaultDictionary)
{
    std::string path = stored;
    if (!settingsLoaded && !args.empty() && IsDictionaryArgument(args.front())) {
        path = args.front();
    }
    return path.empty() ? defaultDictionary : path;
}

StartupLesson StartupLessonFiles(Registry& registry, const AppPaths& paths, const std::vector<std::string>& args)
{
    const std::string pupil = ReadPupilName(registry);
    LearningSettings settings;
    LoadLearningSettings(registry, PupilKeyOf(pupil), settings);
    StartupLesson lesson;
    lesson.dictionaryPath = ChooseDictionary(settings.DictionaryPath, args, false, paths.DefaultDictionary());
    lesson.progressPath = ProgressFilePath(paths.UsersFolder(), pupil, lesson.dictionaryPath);
    return lesson;
}

} // namespace vb
