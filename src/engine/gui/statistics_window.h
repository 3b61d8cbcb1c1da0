// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Урок" > "Статистика…": per method the learned, learning, due and untouched words, and charts of the
// answers and learned words over a chosen period and, with review on, of the reviews to come. The
// numbers come from BuildStatistics; this window only lays them out.

#include "app/gui/app_context.h"
#include "app/gui/form_message.h"
#include "engine/statistics.h"

#include <QDialog>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QTableWidget;

namespace vb {

class TForm_Stat : public QDialog
{
    Q_OBJECT
public:
    // `ctx` places the window over the lesson window; without it the window manager places it.
    explicit TForm_Stat(const Lesson& lesson, QWidget* parent = nullptr, AppContext* ctx = nullptr);

    void SetHooks(SecondaryWindowHooks hooks) { m_hooks = std::move(hooks); }
    // Shows the window modally, then reports ModalClosed.
    void ShowModalStat();
    // Fills the table and the charts for the period chosen in CBx_Period.
    void Refresh();
    const StatisticsView& View() const { return m_view; }

    QComboBox* CBx_Period = nullptr; // "30 дней", "12 месяцев", "Всё время"
    QTableWidget* Grid_Methods = nullptr;
    QLabel* LB_Due = nullptr;
    QChartView* Chart_Answers = nullptr;
    QChartView* Chart_Learned = nullptr;
    QChartView* Chart_Forecast = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FillTable();
    void FillAnswers();
    void FillLearned();
    void FillForecast();

    AppContext* m_ctx = nullptr;
    const Lesson& m_lesson;
    SecondaryWindowHooks m_hooks;
    StatisticsView m_view;
};

} // namespace vb
