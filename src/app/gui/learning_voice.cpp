// The lesson window's side of pronunciation.

#include "app/gui/form_learning.h"

#include "app/gui/form_set.h"
#include <QAction>

namespace vb {

// ---------------------------------------------------------------------------------------------------
// Pronunciation

void TForm_Learning::m_lesson_voiceClick()
{
    if (m_ctx.settings) {
        m_ctx.settings->SetVoice(m_lesson_voice->isChecked());
    }
}

void TForm_Learning::Pronounce(const std::string& /*text*/, bool /*isWord*/)
{
    // Nothing is spoken yet: sound files, the sound library and speech come with pronunciation.
}

} // namespace vb
