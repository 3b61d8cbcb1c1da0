// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How a transcription is shown. The default dictionary stores its transcriptions in the ASCII code of the
// "PhoneticTM" font; where that font is not installed the code would show as "h{v", so it is shown as IPA
// ("hæv") in a font that has the IPA signs. Every other font, and an installed "PhoneticTM", shows the text
// as it is. Only the display changes: editing and the stored bytes keep the code.

#include <QString>

namespace vb {

class TranscriptionDisplay
{
public:
    // Shows texts as they are, in the default font.
    TranscriptionDisplay() = default;

    // The decision for the transcription font of the settings, from the fonts installed here.
    static TranscriptionDisplay For(const QString& fontFamily);
    // The same decision with the font database's answers given.
    static TranscriptionDisplay Decide(const QString& fontFamily, bool fontInstalled, const QString& ipaFamily);

    // An installed family that has every IPA sign the code stands for; empty when there is none. Looked up
    // once per run.
    static QString IpaFontFamily();

    bool AsIpa() const { return m_asIpa; }
    // The family to show transcriptions in.
    const QString& Family() const { return m_family; }
    // The text to show for a transcription as it comes from the dictionary.
    QString Text(const QString& transcription) const;

private:
    bool m_asIpa = false;
    QString m_family;
};

} // namespace vb
