// SPDX-License-Identifier: GPL-3.0-or-later
// The ".reg" settings store: any text reads into a store that writes back as a text reading the same; the
// settings the windows load from it stay inside their ranges, whatever the values; and a second start's
// request, any bytes at all, is handed over through the file's text and taken exactly once.
#include "app/gui/learning_startup.h"
#include "common/registry.h"
#include "engine/settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

namespace {

constexpr const char* kRoot = "Software\\Verbanta";

template <class S>
void CheckRanges(std::span<const vb::SettingValue<S>> table, const S& values)
{
    for (const auto& v : table) {
        if (const auto* field = std::get_if<vb::BoundedInt S::*>(&v.field)) {
            const vb::BoundedInt& b = values.*(*field);
            if (b.Value() < b.Min() || b.Value() > b.Max()) {
                std::abort();
            }
        }
    }
}

void LoadPupil(vb::Registry& store, const std::string& pupilKey)
{
    vb::LearningSettings learning;
    const vb::LearningLoadResult a = vb::LoadLearningSettings(store, pupilKey, learning);
    if (learning.ActiveMethod < 0 || learning.ActiveMethod > 2 || a.groupA < 0 || a.groupB < 0 || a.groupC < 0) {
        std::abort();
    }
    CheckRanges(vb::LearningGroupC(), learning);

    vb::SettingsWindowValues settings;
    vb::LoadSettings(store, pupilKey, settings);
    CheckRanges(vb::SettingsWindowTable(), settings);

    vb::CardSettings card;
    vb::LoadCardSettings(store, pupilKey, card);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // What was read writes back as a text that reads whole and the same again.
    const auto store = vb::MakeMemoryRegistryFromText(text);
    const std::string written = vb::RegistryText(*store);
    bool whole = false;
    const auto again = vb::MakeMemoryRegistryFromText(written, &whole);
    if (vb::RegistryText(*again) != written || !whole) {
        std::abort();
    }

    // The values the windows load: the current pupil's and a few others'.
    const std::string pupil = vb::ReadPupilName(*store);
    LoadPupil(*store, vb::PupilKeyOf(pupil));
    int others = 0;
    for (const std::string& name : store->ListSubkeys(kRoot)) {
        if (++others > 4) {
            break;
        }
        LoadPupil(*store, vb::PupilKeyOf(name));
    }

    // A second start's argument, taken from the input: posted only into an existing key, it survives the
    // file's text and the running instance takes it once.
    const std::string arg(text.substr(size / 2, 64));
    const bool rootExists = store->KeyExists(kRoot);
    if (vb::PostStartRequest(*store, {arg}) != rootExists) {
        std::abort();
    }
    const auto running = vb::MakeMemoryRegistryFromText(vb::RegistryText(*store));
    const auto request = vb::TakeStartRequest(*running);
    if (rootExists) {
        if (request != (arg.empty() ? std::string("startup") : arg) || running->ReadString(kRoot, "") != "" ||
            vb::TakeStartRequest(*running)) {
            std::abort();
        }
    } else if (request || running->KeyExists(kRoot)) {
        std::abort();
    }
    return 0;
}
