// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The navigator bar of the dictionary grid: ten buttons that move through the table and change its state.

#include "dictionary/sdf_data.h"

#include <QWidget>

#include <array>
#include <functional>

class QToolButton;

namespace vb {

class DictionaryNavigator : public QWidget
{
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh, kButtonCount };

    explicit DictionaryNavigator(TFixedFormatDataSet& table, QWidget* parent = nullptr);

    QToolButton* button(Button which) const { return m_buttons[which]; }
    // Runs before every button's action: the grid hands over a value still open in a cell editor.
    std::function<void()> beforeAction;

    // Enables the buttons for the table's state and position.
    void UpdateButtons();

    void Click(Button which);

private:
    TFixedFormatDataSet& m_table;
    std::array<QToolButton*, kButtonCount> m_buttons{};
};

} // namespace vb
