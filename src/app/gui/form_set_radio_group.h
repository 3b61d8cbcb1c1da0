// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A radio group: a titled frame with one radio button per item and the selected item's index.

#include <QGroupBox>

#include <vector>

class QButtonGroup;
class QRadioButton;

namespace vb {

class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    // The items stand one under another, or side by side with `horizontal`.
    RadioGroup(const QString& title, const QStringList& items, bool horizontal, QWidget* parent = nullptr);

    int ItemIndex() const;
    // An index outside the items selects nothing.
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;
    int Count() const { return static_cast<int>(m_buttons.size()); }

signals:
    void ItemIndexChanged(int index);

private:
    QButtonGroup* m_group = nullptr;
    std::vector<QRadioButton*> m_buttons;
};

} // namespace vb
