// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// WAV output through Qt Multimedia. QSoundEffect plays the plain PCM files of sound folders and packs
// with little delay; a file it cannot decode is handed to QMediaPlayer. Without a sound device, or with a
// file neither can play, nothing is heard and nothing is reported.

#include "voice/sound_output.h"

#include <QObject>
#include <QUrl>

class QAudioOutput;
class QMediaPlayer;
class QSoundEffect;

namespace vb {

class QtSoundPlayer : public QObject, public SoundPlayer
{
    Q_OBJECT
public:
    explicit QtSoundPlayer(QObject* parent = nullptr);
    ~QtSoundPlayer() override;

    // A new sound stops the one still playing, as the system's simple player does.
    void Play(const std::string& path) override;

private:
    QSoundEffect* Effect();
    void PlayWithMediaPlayer(const QUrl& file);

    QSoundEffect* m_effect = nullptr;
    QMediaPlayer* m_media = nullptr;
    QAudioOutput* m_mediaOutput = nullptr;
    QUrl m_file;
    // Makes every source a new one for the effect's sample cache, so a rewritten tmp.wav is read again.
    unsigned m_playCount = 0;
};

} // namespace vb
