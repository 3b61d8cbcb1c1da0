// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The voice lists "Слово" and "Перевод" of the settings window: the voice names in the order of
// VoiceListOrder, each item carrying its voice's number among the listed voices.

#include "voice/sound_output.h"

#include <vector>

class QComboBox;

namespace vb {

// Replaces the list's items; the edit text (the stored name) stays and selects its item when it is there.
void FillVoiceList(QComboBox* list, const std::vector<SpeechVoice>& voices, const std::vector<int>& order);

// The listed voice's number of the selected item; -1 when no item is selected.
int SelectedVoiceNumber(const QComboBox* list);

} // namespace vb
