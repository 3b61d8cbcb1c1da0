// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/sound_output.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace vb {

std::vector<int> VoiceListOrder(const std::vector<SpeechVoice>& voices, std::string_view first, std::string_view second)
{
    const auto group = [&](const SpeechVoice& voice) {
        if (!first.empty() && voice.language == first) {
            return 0;
        }
        if (!second.empty() && voice.language == second) {
            return 1;
        }
        return 2;
    };
    std::vector<int> order(voices.size());
    for (std::size_t i = 0; i < voices.size(); ++i) {
        order[i] = static_cast<int>(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const SpeechVoice& va = voices[static_cast<std::size_t>(a)];
        const SpeechVoice& vb = voices[static_cast<std::size_t>(b)];
        const int ga = group(va);
        const int gb = group(vb);
        if (ga != gb || ga < 2) {
            return ga < gb;
        }
        return std::tie(va.languageName, va.language) < std::tie(vb.languageName, vb.language);
    });
    return order;
}

std::string LayoutLanguage(int layout)
{
    static constexpr std::array<const char*, 6> kLanguages{"en", "ru", "de", "fr", "it", "es"};
    if (layout < 0 || layout >= static_cast<int>(kLanguages.size())) {
        return {};
    }
    return kLanguages[static_cast<std::size_t>(layout)];
}

} // namespace vb
