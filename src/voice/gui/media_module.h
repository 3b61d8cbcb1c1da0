// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The platform's sound output from the media module ("libverbanta-media.so" beside the program, or in the
// program's library folder once installed). Loading it loads Qt Multimedia and Qt TextToSpeech with their
// own libraries, which a start does not wait for: the objects made here load the module on first need.

#include "voice/sound_output.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vb {

// Raised whenever the module's entry points change.
constexpr int kMediaModuleVersion = 1;

// The folders the module is looked for in, in order: the program's own, then the installed library folder.
std::vector<std::string> MediaModuleFolders(const std::string& executableFolder);

// A player that loads the module at its first sound; silent when the module cannot be loaded.
std::unique_ptr<SoundPlayer> MakeDeferredSoundPlayer(std::vector<std::string> folders);

// Speech engines made by `make` on Start() (or on the first Speak), the module's by default. What is asked
// before waits: the voice listings are answered, and the voice choices made, once the engines exist.
class DeferredSpeechEngine : public SpeechEngine
{
public:
    using Maker = std::function<std::unique_ptr<SpeechEngine>()>;
    explicit DeferredSpeechEngine(Maker make);
    ~DeferredSpeechEngine() override;

    void Start();
    bool Started() const { return m_started; }

    void ListVoices(VoicesListed done) override;
    void SelectVoice(bool isWord, int index) override;
    bool HasVoice(bool isWord) const override;
    void Speak(bool isWord, const std::string& text) override;

private:
    Maker m_make;
    std::unique_ptr<SpeechEngine> m_engine;
    bool m_started = false;
    std::vector<std::function<void(SpeechEngine&)>> m_waiting;
};

// The module's engines; none (an engine that lists no voice) when it cannot be loaded.
DeferredSpeechEngine::Maker ModuleSpeechEngines(std::vector<std::string> folders);

} // namespace vb
