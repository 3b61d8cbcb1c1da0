// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A spin edit: a number field with up and down buttons whose text may hold anything while it is being
// typed. When it loses the focus (or Commit is called) the text is read by the BoundedInt rule: a number is
// clamped to the range, anything else reads as the minimum.

#include <QSpinBox>

namespace vb {

class SpinEdit : public QSpinBox
{
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    // Applies the focus-out rule to the current text now.
    void Commit();

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace vb
