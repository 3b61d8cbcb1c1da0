// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/gui/dictionary_navigator.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace vb {

namespace {

constexpr int kIcon = 16;

// The buttons' glyphs, drawn so they look the same on every desktop.
QIcon Glyph(DictionaryNavigator::Button which, const QColor& ink)
{
    QPixmap pixmap(kIcon * 2, kIcon * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    const auto triangle = [&p](QPointF a, QPointF b, QPointF c) { p.drawPolygon(QPolygonF{a, b, c}); };
    switch (which) {
    case DictionaryNavigator::First:
        p.drawLine(QPointF(4, 4), QPointF(4, 12));
        triangle({12, 4}, {12, 12}, {6, 8});
        break;
    case DictionaryNavigator::Prior:
        triangle({11, 4}, {11, 12}, {5, 8});
        break;
    case DictionaryNavigator::Next:
        triangle({5, 4}, {5, 12}, {11, 8});
        break;
    case DictionaryNavigator::Last:
        triangle({4, 4}, {4, 12}, {10, 8});
        p.drawLine(QPointF(12, 4), QPointF(12, 12));
        break;
    case DictionaryNavigator::Insert:
        p.drawLine(QPointF(3.5, 8), QPointF(12.5, 8));
        p.drawLine(QPointF(8, 3.5), QPointF(8, 12.5));
        break;
    case DictionaryNavigator::Delete:
        p.drawLine(QPointF(3.5, 8), QPointF(12.5, 8));
        break;
    case DictionaryNavigator::Edit:
        triangle({4, 11}, {12, 11}, {8, 5});
        break;
    case DictionaryNavigator::Post:
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF{QPointF(3.5, 8.5), QPointF(6.5, 11.5), QPointF(12.5, 4.5)});
        break;
    case DictionaryNavigator::Cancel:
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case DictionaryNavigator::Refresh: {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3.5, 3.5, 9, 9), 60 * 16, 280 * 16);
        p.setBrush(ink);
        triangle({9.5, 1.8}, {13.2, 4.2}, {9.3, 6.2});
        break;
    }
    default:
        break;
    }
    return QIcon(pixmap);
}

} // namespace

DictionaryNavigator::DictionaryNavigator(TFixedFormatDataSet& table, QWidget* parent) : QWidget(parent), m_table(table)
{
    setObjectName(QStringLiteral("DBNavigator"));
    static const char* const names[kButtonCount] = {"nbFirst",  "nbPrior", "nbNext", "nbLast",   "nbInsert",
                                                    "nbDelete", "nbEdit",  "nbPost", "nbCancel", "nbRefresh"};
    const QString hints[kButtonCount] = {
        QStringLiteral("Первое слово"),         QStringLiteral("Предыдущее слово"),
        QStringLiteral("Следующее слово"),      QStringLiteral("Последнее слово"),
        QStringLiteral("Добавить новое слово"), QStringLiteral("Удалить слово"),
        QStringLiteral("Изменить слово"),       QStringLiteral("Завершить редактирование"),
        QStringLiteral("Отменить изменения"),   QStringLiteral("Обновить словарь")};
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const QColor ink = palette().color(QPalette::ButtonText);
    for (int i = 0; i < kButtonCount; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setToolTip(hints[i]);
        b->setIcon(Glyph(static_cast<Button>(i), ink));
        b->setIconSize(QSize(kIcon, kIcon));
        b->setFixedSize(26, 24);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, i] { Click(static_cast<Button>(i)); });
        row->addWidget(b);
        m_buttons[static_cast<std::size_t>(i)] = b;
    }
    UpdateButtons();
}

void DictionaryNavigator::Click(Button which)
{
    if (beforeAction) {
        beforeAction();
    }
    switch (which) {
    case First:
        m_table.First();
        break;
    case Prior:
        m_table.Prior();
        break;
    case Next:
        m_table.Next();
        break;
    case Last:
        m_table.Last();
        break;
    case Insert:
        m_table.Insert();
        break;
    case Delete:
        // No confirmation is asked.
        m_table.Delete();
        break;
    case Edit:
        m_table.Edit();
        break;
    case Post:
        m_table.Post();
        break;
    case Cancel:
        m_table.Cancel();
        break;
    case Refresh:
        m_table.Refresh();
        break;
    default:
        break;
    }
    UpdateButtons();
}

void DictionaryNavigator::UpdateButtons()
{
    const bool active = m_table.Active();
    const bool browse = m_table.State() == DataSetState::Browse;
    const bool editing = m_table.State() == DataSetState::Edit || m_table.State() == DataSetState::Insert;
    const bool writable = active && !m_table.ReadOnly();
    const bool any = m_table.RecordCount() > 0;
    const bool atStart = !any || (browse && m_table.Bof());
    const bool atEnd = !any || (browse && m_table.Eof());
    m_buttons[First]->setEnabled(active && !atStart);
    m_buttons[Prior]->setEnabled(active && !atStart);
    m_buttons[Next]->setEnabled(active && !atEnd);
    m_buttons[Last]->setEnabled(active && !atEnd);
    m_buttons[Insert]->setEnabled(writable);
    m_buttons[Delete]->setEnabled(writable && (any || editing));
    m_buttons[Edit]->setEnabled(writable && browse);
    m_buttons[Post]->setEnabled(writable && editing);
    m_buttons[Cancel]->setEnabled(writable && editing);
    m_buttons[Refresh]->setEnabled(active);
}

} // namespace vb
