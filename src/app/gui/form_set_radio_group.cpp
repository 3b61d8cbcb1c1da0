// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_set_radio_group.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QRadioButton>

namespace vb {

RadioGroup::RadioGroup(const QString& title, const QStringList& items, bool horizontal, QWidget* parent)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this))
{
    QBoxLayout* layout = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(this)) : new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(horizontal ? 8 : 0);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        m_group->addButton(button, i);
        layout->addWidget(button);
        m_buttons.push_back(button);
    }
    if (horizontal) {
        layout->addStretch(1);
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            emit ItemIndexChanged(id);
        }
    });
}

int RadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::SetItemIndex(int index)
{
    if (index >= 0 && index < Count()) {
        m_buttons[index]->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied while it is exclusive.
    m_group->setExclusive(false);
    for (auto* button : m_buttons) {
        button->setChecked(false);
    }
    m_group->setExclusive(true);
}

QRadioButton* RadioGroup::Button(int index) const
{
    return index >= 0 && index < Count() ? m_buttons[index] : nullptr;
}

} // namespace vb
