// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/gui/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>

namespace vb {

namespace {

// A caption as it reads: no accelerator marks, no markup, no trailing colon, single-spaced.
QString Plain(QString text)
{
    if (Qt::mightBeRichText(text)) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    }
    text.remove(QLatin1Char('&'));
    text = text.simplified();
    while (text.endsWith(QLatin1Char(':'))) {
        text.chop(1);
        text = text.trimmed();
    }
    return text;
}

// The caption a widget shows for itself, when it is a caption at all.
QString CaptionOf(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->pixmap().isNull() ? Plain(label->text()) : QString();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return Plain(button->text());
    }
    return QString();
}

// Controls whose name Qt cannot take from their own text.
bool NeedsNameFromOutside(const QWidget* widget)
{
    if (qobject_cast<const QScrollBar*>(widget)) {
        return false;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return Plain(button->text()).isEmpty();
    }
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QAbstractSlider*>(widget);
}

// The layout of kind L (a grid, a box) that places `widget` directly, searched through the nested layouts
// of its parent; null when the layout that places it is of another kind.
template <class L>
L* LayoutOf(QLayout* layout, const QWidget* widget, int& index)
{
    if (!layout) {
        return nullptr;
    }
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget) {
            index = i;
            return qobject_cast<L*>(layout);
        }
        if (QLayout* inner = item->layout()) {
            if (L* found = LayoutOf<L>(inner, widget, index)) {
                return found;
            }
        }
    }
    return nullptr;
}

QWidget* WidgetAt(QGridLayout* grid, int row, int column)
{
    QLayoutItem* item = grid->itemAtPosition(row, column);
    return item ? item->widget() : nullptr;
}

// In a grid: the caption to the left in the same row, the column's heading above (past controls of the
// same kind, as in a table of fields) and a unit label to the right ("сек.").
QString NameFromGrid(QGridLayout* grid, int index, const QWidget* widget)
{
    int row = 0;
    int column = 0;
    int rowSpan = 0;
    int columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    QString left;
    for (int c = column - 1; c >= 0; --c) {
        QWidget* other = WidgetAt(grid, row, c);
        if (!other || other == widget || other->metaObject() == widget->metaObject()) {
            continue;
        }
        left = CaptionOf(other);
        break;
    }
    QString above;
    for (int r = row - 1; r >= 0; --r) {
        QWidget* other = WidgetAt(grid, r, column);
        if (!other || other == widget) {
            continue;
        }
        if (qobject_cast<QLabel*>(other)) {
            above = CaptionOf(other);
            break;
        }
        if (other->metaObject() != widget->metaObject()) {
            break;
        }
    }
    QString right;
    if (QWidget* other = WidgetAt(grid, row, column + columnSpan); other && qobject_cast<QLabel*>(other)) {
        right = CaptionOf(other);
    }
    QString name = left;
    if (!above.isEmpty()) {
        name = name.isEmpty() ? above : name + QStringLiteral(", ") + above;
    }
    if (!right.isEmpty()) {
        name = name.isEmpty() ? right : name + QLatin1Char(' ') + right;
    }
    return name;
}

// In a row or column: the label just before the control.
QString NameFromBox(QBoxLayout* box, int index)
{
    for (int i = index - 1; i >= 0; --i) {
        QLayoutItem* item = box->itemAt(i);
        if (item->spacerItem()) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(item->widget())) {
            return CaptionOf(label);
        }
        break;
    }
    return QString();
}

QString NameFromSurroundings(QWidget* widget, const QList<QLabel*>& labels)
{
    // The edit inside an editable list is the list itself to the user.
    if (auto* combo = qobject_cast<QComboBox*>(widget->parentWidget()); combo && combo->lineEdit() == widget) {
        return combo->accessibleName().isEmpty() ? NameFromSurroundings(combo, labels) : combo->accessibleName();
    }
    for (QLabel* label : labels) {
        if (label->buddy() == widget) {
            if (QString caption = CaptionOf(label); !caption.isEmpty()) {
                return caption;
            }
        }
    }
    QWidget* parent = widget->parentWidget();
    if (parent && parent->layout()) {
        int index = -1;
        if (QGridLayout* grid = LayoutOf<QGridLayout>(parent->layout(), widget, index)) {
            if (QString name = NameFromGrid(grid, index, widget); !name.isEmpty()) {
                return name;
            }
        }
        if (QBoxLayout* box = LayoutOf<QBoxLayout>(parent->layout(), widget, index)) {
            if (QString name = NameFromBox(box, index); !name.isEmpty()) {
                return name;
            }
        }
    }
    if (QString hint = Plain(widget->toolTip()); !hint.isEmpty()) {
        return hint;
    }
    for (QWidget* up = parent; up; up = up->parentWidget()) {
        if (auto* group = qobject_cast<QGroupBox*>(up)) {
            if (QString title = Plain(group->title()); !title.isEmpty()) {
                return title;
            }
        }
        if (up->isWindow()) {
            break;
        }
    }
    return QString();
}

void NameOne(QWidget* widget, const QList<QLabel*>& labels)
{
    if (widget->accessibleName().isEmpty() && NeedsNameFromOutside(widget)) {
        const QString name = NameFromSurroundings(widget, labels);
        if (!name.isEmpty()) {
            widget->setAccessibleName(name);
        }
    }
    if (widget->accessibleDescription().isEmpty()) {
        const QString hint = Plain(widget->toolTip());
        const QString name = widget->accessibleName().isEmpty() ? CaptionOf(widget) : widget->accessibleName();
        if (!hint.isEmpty() && hint != name) {
            widget->setAccessibleDescription(hint);
        }
    }
}

} // namespace

void NameForScreenReaders(QWidget* root)
{
    if (!root) {
        return;
    }
    const QList<QLabel*> labels = root->findChildren<QLabel*>();
    NameOne(root, labels);
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        NameOne(widget, labels);
    }
}

} // namespace vb
