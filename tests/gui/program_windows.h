// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The lesson, settings and message windows as the program makes and wires them, over a settings file.

#include "app/gui/app_context.h"
#include "app/gui/form_learning.h"
#include "app/gui/form_message.h"
#include "app/gui/form_set.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vbtest {

inline void MakeProgramWindows(std::unique_ptr<vb::AppContext>& ctx, std::unique_ptr<vb::TForm_Learning>& learning,
                               std::unique_ptr<vb::TForm_Set>& settings, std::unique_ptr<vb::TForm_Message>& message,
                               vb::AppPaths paths, const std::string& registryFile, std::vector<std::string> args,
                               bool deferredStart = false, vb::LessonPreload* lessonPreload = nullptr)
{
    ctx = std::make_unique<vb::AppContext>(std::move(paths), vb::MakeSystemRegistry(registryFile), std::move(args));
    ctx->deferredStart = deferredStart;
    ctx->lessonPreload = lessonPreload;
    learning = std::make_unique<vb::TForm_Learning>(*ctx);
    ctx->learning = learning.get();
    settings = std::make_unique<vb::TForm_Set>(*ctx);
    ctx->settings = settings.get();
    message = std::make_unique<vb::TForm_Message>(*ctx);
    ctx->message = message.get();
    settings->SetHooks(learning->SettingsWindowHooks());
    message->SetHooks(learning->SecondaryHooks());
}

} // namespace vbtest
