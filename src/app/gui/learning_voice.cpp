// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson window's side of pronunciation: Pronounce over the settings window's values, the click
// handlers that pronounce what the pupil clicks, and the sound library's indexes.

#include "app/gui/form_learning.h"

#include "app/gui/form_set.h"
#include "common/codepage.h"
#include "engine/gui/mosaic_page.h"
#include "engine/gui/variant_page.h"
#include "writing/gui/writing_page.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>

#include <functional>

namespace vb {

namespace {

// Stands in for a missing player or speech engine: nothing is heard.
class Silence : public SoundPlayer, public SpeechEngine
{
public:
    void Play(const std::string& /*path*/) override { }
    void ListVoices(VoicesListed /*done*/) override { }
    void SelectVoice(bool /*isWord*/, int /*index*/) override { }
    bool HasVoice(bool /*isWord*/) const override { return false; }
    void Speak(bool /*isWord*/, const std::string& /*text*/) override { }
};

const SettingsWindowValues& ValuesOf(const AppContext& ctx)
{
    static const SettingsWindowValues defaults;
    return ctx.settings ? ctx.settings->Values() : defaults;
}

std::string TextOf(const QLabel* label)
{
    return label->text().toStdString();
}

// A left click on a watched widget runs its handler; the widget's other events go on as before. The
// release is taken, so that a label does not pass it on to a watched box around it: one click, one call.
class ClickWatcher : public QObject
{
public:
    ClickWatcher(QObject* parent, std::function<void(QObject*)> clicked)
        : QObject(parent), m_clicked(std::move(clicked))
    { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_clicked(watched);
            return true;
        }
        return false;
    }

private:
    std::function<void(QObject*)> m_clicked;
};

} // namespace

// ---------------------------------------------------------------------------------------------------
// Pronunciation

Pronouncer& TForm_Learning::Voice()
{
    if (!m_pronouncer) {
        static Silence silence;
        SoundPlayer& player = m_ctx.player ? *m_ctx.player : silence;
        SpeechEngine& speech = m_ctx.speech ? *m_ctx.speech : silence;
        m_pronouncer = std::make_unique<Pronouncer>(player, speech, m_ctx.paths.SoundScratch());
    }
    return *m_pronouncer;
}

void TForm_Learning::Pronounce(const std::string& text, bool isWord)
{
    Voice().Pronounce(ValuesOf(m_ctx), text, isWord);
}

void TForm_Learning::LoadLibraryIndexes()
{
    Voice().LoadLibraryIndexes(ValuesOf(m_ctx));
}

void TForm_Learning::m_lesson_voiceClick()
{
    if (m_ctx.settings) {
        m_ctx.settings->SetVoice(m_lesson_voice->isChecked());
    }
}

void TForm_Learning::WatchPronunciationClicks()
{
    auto* watcher = new ClickWatcher(this, [this](QObject* clicked) {
        if (clicked == GBox_Word || clicked == word || clicked == wordtrsc) {
            wordClick();
        } else if (clicked == LastWord || clicked == LastTranscr) {
            LastWordClick();
        } else if (clicked == LastWordTransl) {
            LastWordTranslClick();
        } else if (clicked == LastTesaurus) {
            LastTesaurusClick();
        }
    });
    for (QObject* target :
         {static_cast<QObject*>(GBox_Word), static_cast<QObject*>(word), static_cast<QObject*>(wordtrsc),
          static_cast<QObject*>(LastWord), static_cast<QObject*>(LastTranscr), static_cast<QObject*>(LastWordTransl),
          static_cast<QObject*>(LastTesaurus)}) {
        target->installEventFilter(watcher);
    }
}

void TForm_Learning::wordClick()
{
    switch (PageControl->currentIndex()) {
    case kPageMosaic: {
        // From the lists' menu: the item it was opened over.
        std::string text;
        bool isWord = true;
        if (mosaicPage->TargetPronunciation(text, isWord)) {
            Pronounce(text, isWord);
        }
        break;
    }
    case kPageVariant:
        if (variantPage->View().ready) {
            Pronounce(variantPage->View().taskText, variantPage->View().taskIsWord);
        }
        break;
    case kPageWriting:
        if (writingPage->View().ready) {
            Pronounce(writingPage->View().pronounceText, writingPage->View().taskIsWord);
        }
        break;
    default:
        break;
    }
}

void TForm_Learning::LastWordClick()
{
    Pronounce(TextOf(LastWord), true);
}

void TForm_Learning::LastWordTranslClick()
{
    Pronounce(TextOf(LastWordTransl), false);
}

void TForm_Learning::LastTesaurusClick()
{
    Pronounce(TextOf(LastTesaurus), ValuesOf(m_ctx).RG_TesFontSH == 0);
}

} // namespace vb
