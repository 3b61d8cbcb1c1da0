// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/gui/media/speech_engine_qt.h"

#include <QLocale>
#include <QPointer>
#include <QTextToSpeech>
#include <QThread>
#include <QVoice>

#include <map>
#include <memory>
#include <vector>

namespace vb {

namespace {

int Side(bool isWord)
{
    return isWord ? 0 : 1;
}

QString StateName(QTextToSpeech::State state)
{
    switch (state) {
    case QTextToSpeech::Ready:
        return QStringLiteral("ready");
    case QTextToSpeech::Speaking:
        return QStringLiteral("speaking");
    case QTextToSpeech::Paused:
        return QStringLiteral("paused");
    case QTextToSpeech::Error:
        break;
    }
    return QStringLiteral("error");
}

} // namespace

// Owns the QTextToSpeech objects; lives on the speech thread.
class SpeechWorker : public QObject
{
    Q_OBJECT
public:
    struct Voice
    {
        QString engine;
        QVoice voice;
    };

    explicit SpeechWorker(const QStringList& engines) : m_engines(engines) { }

    void List()
    {
        std::vector<SpeechVoice> listed;
        m_voices.clear();
        for (const QString& engine : QTextToSpeech::availableEngines()) {
            if (!m_engines.isEmpty() && !m_engines.contains(engine)) {
                continue;
            }
            QTextToSpeech* tts = Engine(engine);
            if (!tts || tts->state() == QTextToSpeech::Error) {
                continue;
            }
            const QLocale current = tts->locale();
            for (const QLocale& locale : tts->availableLocales()) {
                tts->setLocale(locale);
                for (const QVoice& voice : tts->availableVoices()) {
                    const QLocale voiceLocale = voice.locale();
                    SpeechVoice v;
                    v.name = voice.name().toStdString();
                    v.language = voiceLocale.name().section(QLatin1Char('_'), 0, 0).toStdString();
                    v.languageName = QLocale::languageToString(voiceLocale.language()).toStdString();
                    listed.push_back(std::move(v));
                    m_voices.push_back({engine, voice});
                }
            }
            tts->setLocale(current);
        }
        emit Listed(listed);
    }

    void Select(int side, int index)
    {
        SideEngine& s = m_sides[side];
        if (index < 0 || index >= static_cast<int>(m_voices.size())) {
            s = {};
            emit Failed(side);
            return;
        }
        const Voice& v = m_voices[static_cast<std::size_t>(index)];
        // A side keeps its own engine, even when both sides use one voice.
        if (!s.tts || s.engine != v.engine) {
            // The engine started for the listing serves the first side that wants it: starting another one
            // may take seconds.
            auto listed = m_listing.find(v.engine);
            if (listed != m_listing.end() && listed->second) {
                s.tts = std::move(listed->second);
                m_listing.erase(listed);
            } else {
                s.tts.reset(new QTextToSpeech(v.engine));
            }
            s.engine = v.engine;
            connect(s.tts.get(), &QTextToSpeech::stateChanged, this,
                    [this, side](QTextToSpeech::State state) { emit StateChanged(side, StateName(state)); });
        }
        if (s.tts->state() == QTextToSpeech::Error) {
            s = {};
            emit Failed(side);
            return;
        }
        s.tts->setLocale(v.voice.locale());
        s.tts->setVoice(v.voice);
    }

    void Say(int side, const QString& text)
    {
        if (m_sides[side].tts) {
            m_sides[side].tts->say(text);
        }
    }

signals:
    void Listed(const std::vector<SpeechVoice>& voices);
    void Failed(int side);
    void StateChanged(int side, const QString& state);

private:
    struct SideEngine
    {
        QString engine;
        std::unique_ptr<QTextToSpeech> tts;
    };

    // The engine used for listing, one per engine name.
    QTextToSpeech* Engine(const QString& name)
    {
        auto& tts = m_listing[name];
        if (!tts) {
            tts.reset(new QTextToSpeech(name));
        }
        return tts.get();
    }

    QStringList m_engines;
    std::map<QString, std::unique_ptr<QTextToSpeech>> m_listing;
    std::vector<Voice> m_voices;
    SideEngine m_sides[2];
};

QtSpeechEngine::QtSpeechEngine(const QStringList& engines, QObject* parent, bool startNow) : QObject(parent)
{
    qRegisterMetaType<std::vector<SpeechVoice>>();
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("speech"));
    m_worker = new SpeechWorker(engines);
    m_worker->moveToThread(m_thread);
    connect(m_worker, &SpeechWorker::Failed, this, [this](int side) { m_hasVoice[side] = false; });
    connect(m_worker, &SpeechWorker::StateChanged, this, [this](int side, const QString& state) {
        if (state == QLatin1String("error")) {
            m_hasVoice[side] = false;
        }
        emit StateChanged(side == 0, state);
    });
    if (startNow) {
        Start();
    }
}

void QtSpeechEngine::Start()
{
    // Requests queued for the worker meanwhile run once its thread does.
    if (!m_thread->isRunning() && !m_thread->isFinished()) {
        m_thread->start();
    }
}

QtSpeechEngine::~QtSpeechEngine()
{
    if (!m_thread->isRunning() && !m_thread->isFinished()) {
        // Never started: no engine was made, and nothing runs on the thread.
        delete m_worker;
        delete m_thread;
        return;
    }
    m_worker->deleteLater();
    m_thread->quit();
    // A speech server that hangs keeps its thread: it is left to end with the process rather than
    // holding up the program's end.
    if (m_thread->wait(3000)) {
        delete m_thread;
    }
}

void QtSpeechEngine::ListVoices(VoicesListed done)
{
    QPointer<QtSpeechEngine> self(this);
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(m_worker, &SpeechWorker::Listed, this,
                          [self, connection, done = std::move(done)](const std::vector<SpeechVoice>& voices) {
                              QObject::disconnect(*connection);
                              if (self) {
                                  self->m_voiceCount = static_cast<int>(voices.size());
                              }
                              done(voices);
                          });
    QMetaObject::invokeMethod(m_worker, &SpeechWorker::List, Qt::QueuedConnection);
}

void QtSpeechEngine::SelectVoice(bool isWord, int index)
{
    m_hasVoice[Side(isWord)] = index >= 0 && (m_voiceCount < 0 || index < m_voiceCount);
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, side = Side(isWord), index] { w->Select(side, index); }, Qt::QueuedConnection);
}

bool QtSpeechEngine::HasVoice(bool isWord) const
{
    return m_hasVoice[Side(isWord)];
}

void QtSpeechEngine::Speak(bool isWord, const std::string& text)
{
    const QString t = QString::fromStdString(text);
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, side = Side(isWord), t] { w->Say(side, t); }, Qt::QueuedConnection);
}

} // namespace vb

#include "speech_engine_qt.moc"
