// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/gui/statistics_window.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace vb {

namespace {

const QColor kRight(0x2e, 0x8b, 0x57);
const QColor kWrong(0xcd, 0x3c, 0x3c);
const QColor kMethodColors[kMethodCount] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e),
                                            QColor(0x94, 0x67, 0xbd)};
const char* const kMethodNames[kMethodCount] = {"Вариант", "Мозаика", "Написание"};

QChartView* MakeChartView(const char* name, QWidget* parent)
{
    auto* view = new QChartView(parent);
    view->setObjectName(QLatin1String(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(560, 190);
    return view;
}

// A fresh chart with its title; the view owns it from then on.
QChart* NewChart(QChartView* view, const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setAnimationOptions(QChart::NoAnimation);
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
    return chart;
}

QBarCategoryAxis* CategoryAxis(QChart* chart, const QStringList& labels)
{
    auto* axis = new QBarCategoryAxis;
    axis->append(labels);
    if (labels.size() > 12) {
        axis->setLabelsAngle(-90);
    }
    QFont font = axis->labelsFont();
    font.setPointSizeF(std::max(6.0, font.pointSizeF() - 1));
    axis->setLabelsFont(font);
    chart->addAxis(axis, Qt::AlignBottom);
    return axis;
}

QValueAxis* CountAxis(QChart* chart, double top)
{
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setRange(0, std::max(1.0, top));
    axis->applyNiceNumbers();
    chart->addAxis(axis, Qt::AlignLeft);
    return axis;
}

} // namespace

TForm_Stat::TForm_Stat(const Lesson& lesson, QWidget* parent, AppContext* ctx)
    : QDialog(parent), m_ctx(ctx), m_lesson(lesson)
{
    setObjectName(QStringLiteral("Form_Stat"));
    setWindowTitle(QStringLiteral("Статистика"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    auto* top = new QHBoxLayout;
    Grid_Methods = new QTableWidget(kMethodCount, 4, this);
    Grid_Methods->setObjectName(QStringLiteral("Grid_Methods"));
    Grid_Methods->setHorizontalHeaderLabels({QStringLiteral("Выучено"), QStringLiteral("Учатся"),
                                             QStringLiteral("Повторить"), QStringLiteral("Не начаты")});
    QStringList rows;
    for (const char* name : kMethodNames) {
        rows << QString::fromUtf8(name);
    }
    Grid_Methods->setVerticalHeaderLabels(rows);
    Grid_Methods->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid_Methods->setSelectionMode(QAbstractItemView::NoSelection);
    Grid_Methods->setFocusPolicy(Qt::NoFocus);
    Grid_Methods->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Grid_Methods->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Grid_Methods->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid_Methods->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    top->addWidget(Grid_Methods, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Период:"), this));
    CBx_Period = new QComboBox(this);
    CBx_Period->setObjectName(QStringLiteral("CBx_Period"));
    CBx_Period->addItems({QStringLiteral("30 дней"), QStringLiteral("12 месяцев"), QStringLiteral("Всё время")});
    side->addWidget(CBx_Period);
    LB_Due = new QLabel(this);
    LB_Due->setObjectName(QStringLiteral("LB_Due"));
    side->addWidget(LB_Due);
    side->addStretch(1);
    top->addLayout(side);
    layout->addLayout(top);

    // One chart a row: a day's label needs the full width once there are 30 of them.
    Chart_Answers = MakeChartView("Chart_Answers", this);
    Chart_Learned = MakeChartView("Chart_Learned", this);
    Chart_Forecast = MakeChartView("Chart_Forecast", this);
    for (QChartView* chart : {Chart_Answers, Chart_Learned, Chart_Forecast}) {
        layout->addWidget(chart, 1);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(CBx_Period, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    resize(820, 820);
    Refresh();
}

void TForm_Stat::ShowModalStat()
{
    exec();
    if (m_hooks.modalClosed) {
        m_hooks.modalClosed();
    }
}

void TForm_Stat::Refresh()
{
    const int index = std::clamp(CBx_Period->currentIndex(), 0, 2);
    m_view = BuildStatistics(m_lesson, static_cast<StatsPeriod>(index), m_lesson.Today());
    FillTable();
    FillAnswers();
    FillLearned();
    FillForecast();
}

void TForm_Stat::FillTable()
{
    for (int m = 0; m < kMethodCount; ++m) {
        const MethodStatistics& s = m_view.Methods[static_cast<std::size_t>(m)];
        const std::int32_t values[] = {s.Learned, s.WorkingSet, s.Due, s.NotStarted};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(QString::number(values[c]));
            item->setTextAlignment(Qt::AlignCenter);
            Grid_Methods->setItem(m, c, item);
        }
    }
    Grid_Methods->setColumnHidden(2, !m_view.ShowForecast);
    int height = Grid_Methods->horizontalHeader()->height() + 2 * Grid_Methods->frameWidth();
    for (int r = 0; r < kMethodCount; ++r) {
        height += Grid_Methods->rowHeight(r);
    }
    Grid_Methods->setFixedHeight(height);
    if (m_view.ShowForecast) {
        std::int32_t due = 0;
        for (const MethodStatistics& s : m_view.Methods) {
            due += s.Due;
        }
        LB_Due->setText(QStringLiteral("Повторить сегодня: %1").arg(due));
    } else {
        LB_Due->setText(QStringLiteral("Повторение выключено"));
    }
}

void TForm_Stat::FillAnswers()
{
    QChart* chart = NewChart(Chart_Answers,
                             m_view.Monthly ? QStringLiteral("Ответы по месяцам") : QStringLiteral("Ответы по дням"));
    auto* right = new QBarSet(QStringLiteral("правильно"));
    auto* wrong = new QBarSet(QStringLiteral("ошибок"));
    right->setColor(kRight);
    wrong->setColor(kWrong);
    QStringList labels;
    double top = 0;
    for (const StatsBucket& b : m_view.Buckets) {
        *right << b.Right;
        *wrong << b.Wrong;
        labels << QString::fromStdString(b.Label);
        top = std::max(top, static_cast<double>(b.Right) + b.Wrong);
    }
    auto* series = new QStackedBarSeries;
    series->append(right);
    series->append(wrong);
    series->setBarWidth(0.8);
    chart->addSeries(series);
    series->attachAxis(CategoryAxis(chart, labels));
    series->attachAxis(CountAxis(chart, top));
}

void TForm_Stat::FillLearned()
{
    QChart* chart = NewChart(Chart_Learned, QStringLiteral("Выучено слов"));
    QStringList labels;
    for (const StatsBucket& b : m_view.Buckets) {
        labels << QString::fromStdString(b.Label);
    }
    QBarCategoryAxis* x = CategoryAxis(chart, labels);
    double top = 0;
    std::vector<QLineSeries*> lines;
    for (int m = 0; m < kMethodCount; ++m) {
        auto* line = new QLineSeries;
        line->setName(QString::fromUtf8(kMethodNames[m]));
        line->setColor(kMethodColors[m]);
        for (std::size_t i = 0; i < m_view.Buckets.size(); ++i) {
            const std::int32_t v = m_view.Buckets[i].Learned[static_cast<std::size_t>(m)];
            line->append(static_cast<double>(i), v);
            top = std::max(top, static_cast<double>(v));
        }
        chart->addSeries(line);
        lines.push_back(line);
    }
    QValueAxis* y = CountAxis(chart, top);
    for (QLineSeries* line : lines) {
        line->attachAxis(x);
        line->attachAxis(y);
    }
}

void TForm_Stat::FillForecast()
{
    Chart_Forecast->setVisible(m_view.ShowForecast);
    QChart* chart = NewChart(Chart_Forecast, QStringLiteral("Повторения на 30 дней вперёд"));
    if (!m_view.ShowForecast) {
        return;
    }
    auto* series = new QStackedBarSeries;
    double top = 0;
    std::vector<double> totals(m_view.ForecastLabels.size(), 0.0);
    for (int m = 0; m < kMethodCount; ++m) {
        auto* set = new QBarSet(QString::fromUtf8(kMethodNames[m]));
        set->setColor(kMethodColors[m]);
        const auto& counts = m_view.Forecast[static_cast<std::size_t>(m)];
        for (std::size_t i = 0; i < counts.size(); ++i) {
            *set << counts[i];
            if (i < totals.size()) {
                totals[i] += counts[i];
                top = std::max(top, totals[i]);
            }
        }
        series->append(set);
    }
    series->setBarWidth(0.8);
    chart->addSeries(series);
    QStringList labels;
    for (const std::string& label : m_view.ForecastLabels) {
        labels << QString::fromStdString(label);
    }
    series->attachAxis(CategoryAxis(chart, labels));
    series->attachAxis(CountAxis(chart, top));
}

void TForm_Stat::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (m_hooks.shown) {
        m_hooks.shown();
    }
    if (m_ctx) {
        CenterOnLessonWindow(*this, *m_ctx);
    }
}

void TForm_Stat::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous() && m_hooks.hidden) {
        m_hooks.hidden();
    }
}

} // namespace vb
