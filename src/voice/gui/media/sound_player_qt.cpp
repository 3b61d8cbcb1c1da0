// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/gui/media/sound_player_qt.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QUrlQuery>

namespace vb {

QtSoundPlayer::QtSoundPlayer(QObject* parent) : QObject(parent) { }

QSoundEffect* QtSoundPlayer::Effect()
{
    // Made on the first sound: the audio back end and its server connection are not needed before, and
    // would hold up the program's start.
    if (m_effect == nullptr) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, [this] {
            // Not a PCM file the effect can decode: the media player may know its format.
            if (m_effect->status() == QSoundEffect::Error && m_file.isValid()) {
                const QUrl file = m_file;
                m_file = QUrl();
                PlayWithMediaPlayer(file);
            }
        });
    }
    return m_effect;
}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::Play(const std::string& path)
{
    QSoundEffect* effect = Effect();
    effect->stop();
    if (m_media) {
        m_media->stop();
    }
    m_file = QUrl::fromLocalFile(QString::fromStdString(path));
    QUrl source = m_file;
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("play"), QString::number(++m_playCount));
    source.setQuery(query);
    effect->setSource(source);
    // Starts once the file is loaded.
    effect->play();
}

void QtSoundPlayer::PlayWithMediaPlayer(const QUrl& file)
{
    if (!m_media) {
        m_media = new QMediaPlayer(this);
        m_mediaOutput = new QAudioOutput(this);
        m_media->setAudioOutput(m_mediaOutput);
    }
    m_media->setSource(file);
    m_media->play();
}

} // namespace vb
