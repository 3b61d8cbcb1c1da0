// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/gui/media_module.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QString>

#include <cstdio>
#include <utility>

#ifndef VB_MEDIA_MODULE_DIR
#define VB_MEDIA_MODULE_DIR "../lib/verbanta/modules"
#endif

namespace vb {

namespace {

using MakePlayer = SoundPlayer* (*)();
using MakeSpeech = SpeechEngine* (*)();
using Version = int (*)();

// The loaded module, once for the program's life; null when it is missing or of another version.
QLibrary* MediaModule(const std::vector<std::string>& folders)
{
    static QLibrary* loaded = nullptr;
    static bool tried = false;
    if (tried) {
        return loaded;
    }
    tried = true;
    QString errors;
    for (const std::string& folder : folders) {
        const QString file = QDir(QString::fromStdString(folder)).filePath(QStringLiteral("libverbanta-media.so"));
        if (!QFileInfo::exists(file)) {
            continue;
        }
        auto* library = new QLibrary(file);
        const auto version =
            library->load() ? reinterpret_cast<Version>(library->resolve("vb_media_interface_version")) : nullptr;
        if (version && version() == kMediaModuleVersion) {
            loaded = library;
            return loaded;
        }
        errors += QStringLiteral("\n  %1: %2").arg(file, library->errorString());
        delete library;
    }
    // Without it the program still teaches: pronunciation stays silent.
    std::fprintf(stderr, "verbanta: no sound or speech, the media module is not usable%s\n",
                 errors.isEmpty() ? " (not found)" : errors.toLocal8Bit().constData());
    return nullptr;
}

class DeferredSoundPlayer : public SoundPlayer
{
public:
    explicit DeferredSoundPlayer(std::vector<std::string> folders) : m_folders(std::move(folders)) { }

    void Play(const std::string& path) override
    {
        if (!m_tried) {
            m_tried = true;
            if (QLibrary* module = MediaModule(m_folders)) {
                if (auto make = reinterpret_cast<MakePlayer>(module->resolve("vb_media_make_sound_player"))) {
                    m_player.reset(make());
                }
            }
        }
        if (m_player) {
            m_player->Play(path);
        }
    }

private:
    std::vector<std::string> m_folders;
    std::unique_ptr<SoundPlayer> m_player;
    bool m_tried = false;
};

// Lists no voice and says nothing.
class NoSpeech : public SpeechEngine
{
public:
    void ListVoices(VoicesListed done) override { done({}); }
    void SelectVoice(bool, int) override { }
    bool HasVoice(bool) const override { return false; }
    void Speak(bool, const std::string&) override { }
};

} // namespace

std::vector<std::string> MediaModuleFolders(const std::string& executableFolder)
{
    const QDir folder(QString::fromStdString(executableFolder));
    return {folder.absolutePath().toStdString(),
            QDir::cleanPath(folder.absoluteFilePath(QStringLiteral(VB_MEDIA_MODULE_DIR))).toStdString()};
}

std::unique_ptr<SoundPlayer> MakeDeferredSoundPlayer(std::vector<std::string> folders)
{
    return std::make_unique<DeferredSoundPlayer>(std::move(folders));
}

DeferredSpeechEngine::Maker ModuleSpeechEngines(std::vector<std::string> folders)
{
    return [folders = std::move(folders)]() -> std::unique_ptr<SpeechEngine> {
        if (QLibrary* module = MediaModule(folders)) {
            if (auto make = reinterpret_cast<MakeSpeech>(module->resolve("vb_media_make_speech_engine"))) {
                return std::unique_ptr<SpeechEngine>(make());
            }
        }
        return std::make_unique<NoSpeech>();
    };
}

DeferredSpeechEngine::DeferredSpeechEngine(Maker make) : m_make(std::move(make)) { }

DeferredSpeechEngine::~DeferredSpeechEngine() = default;

void DeferredSpeechEngine::Start()
{
    if (m_started) {
        return;
    }
    m_started = true;
    m_engine = m_make ? m_make() : nullptr;
    if (!m_engine) {
        m_engine = std::make_unique<NoSpeech>();
    }
    // In the order they were asked; a request made meanwhile goes straight to the engine.
    std::vector<std::function<void(SpeechEngine&)>> waiting = std::move(m_waiting);
    m_waiting.clear();
    for (auto& request : waiting) {
        request(*m_engine);
    }
}

void DeferredSpeechEngine::ListVoices(VoicesListed done)
{
    if (m_engine) {
        m_engine->ListVoices(std::move(done));
        return;
    }
    m_waiting.push_back([done = std::move(done)](SpeechEngine& engine) mutable { engine.ListVoices(std::move(done)); });
}

void DeferredSpeechEngine::SelectVoice(bool isWord, int index)
{
    if (m_engine) {
        m_engine->SelectVoice(isWord, index);
        return;
    }
    m_waiting.push_back([isWord, index](SpeechEngine& engine) { engine.SelectVoice(isWord, index); });
}

bool DeferredSpeechEngine::HasVoice(bool isWord) const
{
    return m_engine && m_engine->HasVoice(isWord);
}

void DeferredSpeechEngine::Speak(bool isWord, const std::string& text)
{
    // Something to say is a reason to start now.
    Start();
    m_engine->Speak(isWord, text);
}

} // namespace vb
