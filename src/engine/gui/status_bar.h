// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/status_texts.h"

#include <QStatusBar>

#include <array>

class QProgressBar;

namespace vb {

// The lesson window's status bar: six sunken text panels side by side, the last one taking the rest
// of the bar, and a progress bar that long work shows over the panels. The widths and texts of a
// page are set by the caller; a panel of width 0 is not drawn.
class TMyStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    static constexpr int kPanelCount = 6;
    static constexpr int kHeight = 19;

    explicit TMyStatusBar(QWidget* parent = nullptr);

    // A page's widths and texts as UpdateStatusBar computes them; texts it leaves out stay.
    void ShowView(const StatusBarView& view);

    // Widths of panels 0 to 4; panel 5 gets what is left.
    void SetPanelWidths(const std::array<int, kPanelCount - 1>& widths);
    void SetPanelWidth(int panel, int width);
    int PanelWidth(int panel) const;
    void SetPanelText(int panel, const QString& text);
    QString PanelText(int panel) const;
    // Where the panel is drawn; empty for a panel without width.
    QRect PanelRect(int panel) const;

    // Smooth, 0 to 100, hidden until work shows it; it sits over the second panel of the text page.
    QProgressBar* ProgressBar() const { return m_progressBar; }
    // Shows the bar at `position` and paints it at once, as the work that moves it keeps the event
    // loop busy.
    void SetProgress(int position);
    void HideProgress();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static bool ValidPanel(int panel) { return panel >= 0 && panel < kPanelCount; }
    int PanelLeft(int panel) const;

    std::array<int, kPanelCount - 1> m_widths;
    std::array<QString, kPanelCount> m_texts;
    QProgressBar* m_progressBar;
};

} // namespace vb
