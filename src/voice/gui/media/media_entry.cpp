// SPDX-License-Identifier: GPL-3.0-or-later
// The sound player and the speech engines as a module of their own: the program loads it, and with it Qt
// Multimedia and Qt TextToSpeech, once the lesson window is on the screen or a sound is first asked for.

#include "voice/gui/media/sound_player_qt.h"
#include "voice/gui/media/speech_engine_qt.h"
#include "voice/gui/media_module.h"

extern "C" {

Q_DECL_EXPORT vb::SoundPlayer* vb_media_make_sound_player()
{
    return new vb::QtSoundPlayer();
}

Q_DECL_EXPORT vb::SpeechEngine* vb_media_make_speech_engine()
{
    return new vb::QtSpeechEngine();
}

Q_DECL_EXPORT int vb_media_interface_version()
{
    return vb::kMediaModuleVersion;
}
}
