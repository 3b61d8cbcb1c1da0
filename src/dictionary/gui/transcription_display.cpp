// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/gui/transcription_display.h"

#include "dictionary/phonetic_ipa.h"

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>
#include <QStringList>

#include <algorithm>

namespace vb {

namespace {

const QString kPhoneticFont = QStringLiteral("PhoneticTM");

bool Installed(const QStringList& families, const QString& family)
{
    return families.contains(family, Qt::CaseInsensitive);
}

// Every sign the code can stand for.
QString IpaSigns()
{
    QString signs;
    for (int c = 0x20; c < 0x7F; ++c) {
        const std::string_view sign = PhoneticCodeSign(static_cast<char>(c));
        signs += QString::fromUtf8(sign.data(), static_cast<qsizetype>(sign.size()));
    }
    return signs;
}

bool HasEverySign(const QString& family, const QString& signs)
{
    const QRawFont raw = QRawFont::fromFont(QFont(family));
    if (!raw.isValid() || raw.familyName().compare(family, Qt::CaseInsensitive) != 0) {
        return false;
    }
    return std::all_of(signs.begin(), signs.end(), [&](QChar c) { return raw.supportsCharacter(c); });
}

QString FindIpaFont()
{
    const QStringList families = QFontDatabase::families();
    const QString signs = IpaSigns();
    // Fonts known to carry the IPA block come first, so the choice does not depend on the order of the list.
    const QStringList preferred = {QStringLiteral("DejaVu Sans"),
                                   QStringLiteral("Noto Sans"),
                                   QStringLiteral("Liberation Sans"),
                                   QStringLiteral("FreeSans"),
                                   QStringLiteral("Charis SIL"),
                                   QStringLiteral("Doulos SIL"),
                                   QStringLiteral("Lucida Sans Unicode"),
                                   QStringLiteral("Segoe UI"),
                                   QStringLiteral("Arial")};
    for (const QString& family : preferred) {
        if (Installed(families, family) && HasEverySign(family, signs)) {
            return family;
        }
    }
    for (const QString& family : families) {
        if (HasEverySign(family, signs)) {
            return family;
        }
    }
    return QString();
}

} // namespace

TranscriptionDisplay TranscriptionDisplay::For(const QString& fontFamily)
{
    const bool phonetic = fontFamily.compare(kPhoneticFont, Qt::CaseInsensitive) == 0;
    if (!phonetic) {
        return Decide(fontFamily, true, QString());
    }
    return Decide(fontFamily, Installed(QFontDatabase::families(), fontFamily), IpaFontFamily());
}

TranscriptionDisplay TranscriptionDisplay::Decide(const QString& fontFamily, bool fontInstalled,
                                                  const QString& ipaFamily)
{
    TranscriptionDisplay display;
    display.m_family = fontFamily;
    if (fontFamily.compare(kPhoneticFont, Qt::CaseInsensitive) == 0 && !fontInstalled) {
        display.m_asIpa = true;
        // Without any IPA font the missing family is kept: Qt then finds the signs one by one where it can.
        if (!ipaFamily.isEmpty()) {
            display.m_family = ipaFamily;
        }
    }
    return display;
}

QString TranscriptionDisplay::IpaFontFamily()
{
    static const QString family = FindIpaFont();
    return family;
}

QString TranscriptionDisplay::Text(const QString& transcription) const
{
    if (!m_asIpa) {
        return transcription;
    }
    // Already in signs (or in any script beyond ASCII): shown as it is.
    for (const QChar c : transcription) {
        if (c.unicode() >= 0x80) {
            return transcription;
        }
    }
    return QString::fromStdString(PhoneticCodeToIpa(transcription.toStdString()));
}

} // namespace vb
