// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The dictionary grid: a table view over the delimited table, with in-place editing, the row indicator
// and the four dictionary columns.

#include "dictionary/gui/transcription_display.h"
#include "dictionary/sdf_data.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QTableView>

#include <string>
#include <vector>

namespace vb {

// The table as rows and columns. Values are UTF-8; the table keeps the file in its own encoding.
class DictionaryTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        std::string field;
        QString title;
        int width = 100;
        QFont font;
    };

    // Takes the table's view notice (events.OnTableChange) for itself.
    DictionaryTableModel(TFixedFormatDataSet& table, std::vector<Column> columns, QObject* parent = nullptr);
    // Gives the notice back; the table must outlive the model.
    ~DictionaryTableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::vector<Column>& Columns() const { return m_columns; }
    void SetColumnFont(int column, const QFont& font);
    // How a column's cells show their values; the editor always gets the value itself.
    void SetColumnDisplay(int column, const TranscriptionDisplay& display);
    // The table's field shown in a column, -1 while the table is closed.
    int FieldOf(int column) const;
    // The field width of a column: the longest value it takes.
    int WidthOf(int column) const;
    TFixedFormatDataSet& Table() { return m_table; }

signals:
    // The table's cursor moved to `row` (-1: none).
    void CurrentRowChanged(int row);

private:
    void TableChanged(const TableChange& change);
    void IndicatorChanged();

    TFixedFormatDataSet& m_table;
    std::vector<Column> m_columns;
    std::vector<TranscriptionDisplay> m_displays;
};

class DictionaryGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DictionaryGrid(DictionaryTableModel* model, QWidget* parent = nullptr);

    DictionaryTableModel* Model() const { return m_model; }
    // Hands a value still open in a cell editor to the table.
    void CommitEdit();
    // The grid's cream background.
    static QColor Cream();

signals:
    // The current column changed, or the grid received the focus.
    void ColEnter();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void FollowTable(int row);

    DictionaryTableModel* m_model;
    bool m_following = false;
    // The focus went into a cell editor of the grid.
    bool m_focusInEditor = false;
};

} // namespace vb
