// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/gui/status_bar.h"

#include <QPainter>
#include <QProgressBar>
#include <qdrawutil.h>

#include <algorithm>

namespace vb {

namespace {

// Each panel leaves this gap before its sunken frame.
constexpr int kPanelGap = 2;
// The progress bar covers the "символов" panel of the text page (panel 0 is 220 wide there).
constexpr int kProgressLeft = 222;
constexpr int kProgressWidth = 138;
// The panel widths are fixed in pixels, so is the text that has to fit them.
constexpr int kTextPixels = 11;

} // namespace

TMyStatusBar::TMyStatusBar(QWidget* parent)
    : QStatusBar(parent)
    , m_widths{103, 89, 83, 100, 65}
    , m_texts{QStringLiteral("правильно: 000"), QStringLiteral("осталось: 00"),
              QStringLiteral("ошибок: 000"),    QStringLiteral("выучено: 0000"),
              QStringLiteral("Балл: 000"),      QStringLiteral("словарь: dt_basic [850] слов")}
    , m_progressBar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(false);
    setFixedHeight(kHeight);
    QFont small = font();
    small.setPixelSize(kTextPixels);
    setFont(small);

    m_progressBar->setObjectName(QStringLiteral("ProgressBar"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setTextVisible(false);
    m_progressBar->setGeometry(kProgressLeft, kPanelGap, kProgressWidth, kHeight - kPanelGap);
    m_progressBar->hide();
}

void TMyStatusBar::ShowView(const StatusBarView& view)
{
    SetPanelWidths(view.widths);
    for (int panel = 0; panel < kPanelCount; ++panel) {
        if (const auto& text = view.texts[static_cast<std::size_t>(panel)]) {
            SetPanelText(panel, QString::fromStdString(*text));
        }
    }
}

void TMyStatusBar::SetPanelWidths(const std::array<int, kPanelCount - 1>& widths)
{
    for (int panel = 0; panel < kPanelCount - 1; ++panel) {
        m_widths[static_cast<std::size_t>(panel)] = std::max(0, widths[static_cast<std::size_t>(panel)]);
    }
    update();
}

void TMyStatusBar::SetPanelWidth(int panel, int width)
{
    if (panel < 0 || panel >= kPanelCount - 1) {
        return;
    }
    m_widths[static_cast<std::size_t>(panel)] = std::max(0, width);
    update();
}

int TMyStatusBar::PanelWidth(int panel) const
{
    if (!ValidPanel(panel)) {
        return 0;
    }
    if (panel == kPanelCount - 1) {
        return std::max(0, width() - PanelLeft(panel));
    }
    return m_widths[static_cast<std::size_t>(panel)];
}

void TMyStatusBar::SetPanelText(int panel, const QString& text)
{
    if (!ValidPanel(panel) || m_texts[static_cast<std::size_t>(panel)] == text) {
        return;
    }
    m_texts[static_cast<std::size_t>(panel)] = text;
    update(PanelRect(panel));
}

QString TMyStatusBar::PanelText(int panel) const
{
    return ValidPanel(panel) ? m_texts[static_cast<std::size_t>(panel)] : QString();
}

int TMyStatusBar::PanelLeft(int panel) const
{
    int left = 0;
    for (int k = 0; k < panel && k < kPanelCount - 1; ++k) {
        left += m_widths[static_cast<std::size_t>(k)];
    }
    return left;
}

QRect TMyStatusBar::PanelRect(int panel) const
{
    const int panelWidth = PanelWidth(panel);
    if (panelWidth <= kPanelGap) {
        return QRect();
    }
    return QRect(PanelLeft(panel) + kPanelGap, kPanelGap, panelWidth - kPanelGap, height() - kPanelGap);
}

void TMyStatusBar::SetProgress(int position)
{
    m_progressBar->setValue(std::clamp(position, 0, 100));
    if (!m_progressBar->isVisible()) {
        m_progressBar->show();
        m_progressBar->raise();
    }
    m_progressBar->repaint();
}

void TMyStatusBar::HideProgress()
{
    m_progressBar->hide();
}

void TMyStatusBar::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int panel = 0; panel < kPanelCount; ++panel) {
        const QRect frame = PanelRect(panel);
        if (frame.isEmpty()) {
            continue;
        }
        qDrawShadePanel(&painter, frame, palette(), true, 1);
        const QRect textArea = frame.adjusted(3, 1, -2, -1);
        const QString text = painter.fontMetrics().elidedText(m_texts[static_cast<std::size_t>(panel)], Qt::ElideRight,
                                                              textArea.width());
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
}

} // namespace vb
