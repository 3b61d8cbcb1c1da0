// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Recording stand-ins for the sound player and the speech engines. Both write into one call list, so a
// test sees the order of everything heard.

#include "voice/sound_output.h"

#include <memory>
#include <string>
#include <vector>

namespace vbtest {

struct SoundLog
{
    std::vector<std::string> calls;
};

class FakePlayer : public vb::SoundPlayer
{
public:
    explicit FakePlayer(std::shared_ptr<SoundLog> log) : m_log(std::move(log)) { }
    void Play(const std::string& path) override { m_log->calls.push_back("play " + path); }

private:
    std::shared_ptr<SoundLog> m_log;
};

class FakeSpeech : public vb::SpeechEngine
{
public:
    explicit FakeSpeech(std::shared_ptr<SoundLog> log, std::vector<vb::SpeechVoice> voices = {})
        : m_log(std::move(log)), m_voices(std::move(voices))
    { }

    void ListVoices(VoicesListed done) override
    {
        m_log->calls.push_back("list voices");
        done(m_voices);
    }
    void SelectVoice(bool isWord, int index) override
    {
        const bool valid = index >= 0 && index < static_cast<int>(m_voices.size());
        (isWord ? m_word : m_transl) = valid ? index : -1;
        m_log->calls.push_back(std::string(isWord ? "voice word " : "voice transl ") +
                               (valid ? m_voices[static_cast<std::size_t>(index)].name : "-"));
    }
    bool HasVoice(bool isWord) const override { return (isWord ? m_word : m_transl) >= 0; }
    void Speak(bool isWord, const std::string& text) override
    {
        m_log->calls.push_back(std::string(isWord ? "say word " : "say transl ") + text);
    }

private:
    std::shared_ptr<SoundLog> m_log;
    std::vector<vb::SpeechVoice> m_voices;
    int m_word = -1;
    int m_transl = -1;
};

} // namespace vbtest
