// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_set_spin_edit.h"

#include "common/bounded_int.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace vb {

namespace {

int ReadSpinText(const QString& text, int minValue, int maxValue)
{
    BoundedInt value(minValue, maxValue, minValue);
    value.SetText(text.toStdString());
    return value.Value();
}

} // namespace

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent)
{
    // The typed text is kept until the field is left; only then is it corrected.
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(false);
}

void SpinEdit::Commit()
{
    const int v = ReadSpinText(cleanText(), minimum(), maximum());
    setValue(v);
    // setValue leaves a stray text alone when the value itself does not change.
    lineEdit()->setText(textFromValue(v));
}

QValidator::State SpinEdit::validate(QString& input, int& pos) const
{
    // Any text may stand in the field while it is edited; a number inside the range is final.
    QValidator::State state = QSpinBox::validate(input, pos);
    return state == QValidator::Acceptable ? state : QValidator::Intermediate;
}

void SpinEdit::fixup(QString& input) const
{
    input = textFromValue(ReadSpinText(input, minimum(), maximum()));
}

void SpinEdit::focusOutEvent(QFocusEvent* event)
{
    Commit();
    QSpinBox::focusOutEvent(event);
}

void SpinEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Commit();
    }
    QSpinBox::keyPressEvent(event);
}

} // namespace vb
