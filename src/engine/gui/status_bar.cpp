// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/gui/status_bar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <qdrawutil.h>

#include <algorithm>
#include <array>

namespace vb {

namespace {

// Each panel leaves this gap before its sunken frame.
constexpr int kPanelGap = 2;
// The progress bar covers the "символов" panel of the text page (panel 0 is 220 wide there).
constexpr int kProgressLeft = 222;
constexpr int kProgressWidth = 138;
// The panel widths are fixed in pixels, so is the text that has to fit them.
constexpr int kTextPixels = 11;

// The panels are painted, not widgets: a screen reader sees each of them through one of these, as a
// piece of static text inside the status bar.
class StatusPanelAccessible : public QAccessibleInterface
{
public:
    StatusPanelAccessible(TMyStatusBar* bar, int panel) : m_bar(bar), m_panel(panel) { }

    bool isValid() const override { return !m_bar.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_bar ? QAccessible::queryAccessibleInterface(m_bar.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return m_bar && (t == QAccessible::Name || t == QAccessible::Value) ? m_bar->PanelText(m_panel) : QString();
    }
    void setText(QAccessible::Text, const QString&) override { }
    QRect rect() const override
    {
        if (!m_bar) {
            return QRect();
        }
        const QRect local = m_bar->PanelRect(m_panel);
        return local.isEmpty() ? QRect() : QRect(m_bar->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !m_bar || !m_bar->isVisible() || m_bar->PanelRect(m_panel).isEmpty();
        return state;
    }

private:
    QPointer<TMyStatusBar> m_bar;
    int m_panel;
};

// The status bar with its panels first, then its child widgets (the progress bar).
class StatusBarAccessible : public QAccessibleWidget
{
public:
    explicit StatusBarAccessible(TMyStatusBar* bar) : QAccessibleWidget(bar, QAccessible::StatusBar)
    {
        for (int panel = 0; panel < TMyStatusBar::kPanelCount; ++panel) {
            m_panels[static_cast<std::size_t>(panel)] =
                QAccessible::registerAccessibleInterface(new StatusPanelAccessible(bar, panel));
        }
    }
    ~StatusBarAccessible() override
    {
        for (QAccessible::Id id : m_panels) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return TMyStatusBar::kPanelCount + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index >= 0 && index < TMyStatusBar::kPanelCount) {
            return QAccessible::accessibleInterface(m_panels[static_cast<std::size_t>(index)]);
        }
        return QAccessibleWidget::child(index - TMyStatusBar::kPanelCount);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int panel = 0; panel < TMyStatusBar::kPanelCount; ++panel) {
            if (QAccessible::accessibleInterface(m_panels[static_cast<std::size_t>(panel)]) == child) {
                return panel;
            }
        }
        const int index = QAccessibleWidget::indexOfChild(child);
        return index < 0 ? -1 : index + TMyStatusBar::kPanelCount;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return QStringLiteral("Строка состояния");
        }
        return QAccessibleWidget::text(t);
    }

private:
    std::array<QAccessible::Id, TMyStatusBar::kPanelCount> m_panels{};
};

QAccessibleInterface* StatusBarAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(TMyStatusBar::staticMetaObject.className())) {
        if (auto* bar = qobject_cast<TMyStatusBar*>(object)) {
            return new StatusBarAccessible(bar);
        }
    }
    return nullptr;
}

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
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(StatusBarAccessibleFactory);
        return true;
    }();
    (void)factoryInstalled;
    setSizeGripEnabled(false);
    setFixedHeight(kHeight);
    QFont small = font();
    small.setPixelSize(kTextPixels);
    setFont(small);

    m_progressBar->setObjectName(QStringLiteral("ProgressBar"));
    m_progressBar->setAccessibleName(QStringLiteral("Ход работы"));
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
    if (QAccessible::isActive()) {
        if (QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(this)) {
            if (QAccessibleInterface* item = bar->child(panel)) {
                QAccessibleEvent changed(item, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&changed);
            }
        }
    }
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
