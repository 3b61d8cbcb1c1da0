// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Speech through Qt TextToSpeech: the voices of every installed engine (flite, speech-dispatcher, ...).
//
// Starting an engine can take seconds (speech-dispatcher lists thousands of voices) and a stuck speech
// server can block its client for good, so every engine lives on a thread of its own: the window thread
// only posts requests to it and never waits.

#include "voice/sound_output.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QThread;

namespace vb {

class SpeechWorker;

class QtSpeechEngine : public QObject, public SpeechEngine
{
    Q_OBJECT
public:
    // `engines`: the engine plug-ins to use by name ("flite", "speechd"); empty for every one installed.
    // With `startNow` false the engines' thread waits for Start(), and what is asked before waits with it: the
    // program starts its window first and the speech server after.
    explicit QtSpeechEngine(const QStringList& engines = {}, QObject* parent = nullptr, bool startNow = true);
    ~QtSpeechEngine() override;

    void Start();

    void ListVoices(VoicesListed done) override;
    void SelectVoice(bool isWord, int index) override;
    bool HasVoice(bool isWord) const override;
    void Speak(bool isWord, const std::string& text) override;

signals:
    // A side's engine changed its state: "ready", "speaking", "paused" or "error".
    void StateChanged(bool isWord, const QString& state);

private:
    QThread* m_thread = nullptr;
    SpeechWorker* m_worker = nullptr;
    // Per side: a voice was chosen and its engine has not reported a failure.
    bool m_hasVoice[2] = {false, false};
    int m_voiceCount = -1;
};

} // namespace vb
