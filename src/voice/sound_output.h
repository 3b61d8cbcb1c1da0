// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The platform's sound output as pronunciation sees it: a player of WAV files and a speech synthesiser.
// The shell implements them (Qt Multimedia, Qt TextToSpeech); tests fake them.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

// Plays a WAV file asynchronously: the call returns at once, and a file that cannot be played (or a
// machine without a sound device) stays silent.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const std::string& path) = 0;
};

// One voice of an installed speech engine.
struct SpeechVoice
{
    std::string name; // as the engine reports it; the stored setting
    std::string language; // ISO 639 code, "en", "ru", ...; empty when unknown
    std::string languageName; // for grouping and showing, "English"
};

// The speech engines of the platform. Each side (foreign words, translations) has its own engine,
// even when both use one voice.
class SpeechEngine
{
public:
    virtual ~SpeechEngine() = default;
    // Lists the voices of every available engine, each engine's in its own order (none when there is no
    // engine). Starting an engine may take seconds, so `done` may run later, on the window thread; it
    // does not run when listing fails.
    using VoicesListed = std::function<void(const std::vector<SpeechVoice>&)>;
    virtual void ListVoices(VoicesListed done) = 0;
    // The side speaks with the voice number `index` of the listed voices from now on. An index out of range, or a
    // voice whose engine cannot be created, leaves the side without an engine.
    virtual void SelectVoice(bool isWord, int index) = 0;
    virtual bool HasVoice(bool isWord) const = 0;
    // Hands a text (UTF-8) to the side's engine and returns at once; errors are swallowed.
    virtual void Speak(bool isWord, const std::string& text) = 0;
};

// The order of the voice lists of the settings window: the voices of the dictionary's languages first
// (`first`, then `second`), then the others grouped by language (by name); within a group the engines'
// own order. Returns indexes into `voices`.
std::vector<int> VoiceListOrder(const std::vector<SpeechVoice>& voices, std::string_view first,
                                std::string_view second);

// The language (ISO 639 code) of a keyboard layout of the settings window: 0 American, 1 Russian,
// 2 German, 3 French, 4 Italian, 5 Spanish.
std::string LayoutLanguage(int layout);

} // namespace vb
