// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/gui/dictionary_grid.h"

#include "common/codepage.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace vb {

namespace {

constexpr int kGridFontPx = 24;
constexpr int kTitleFontPx = 11;
constexpr int kIndicatorWidth = 16;

// The cell editor takes no more characters than the field holds.
class FieldWidthDelegate : public QStyledItemDelegate
{
public:
    explicit FieldWidthDelegate(DictionaryTableModel* model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model)
    { }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setMaxLength(std::max(1, m_model->WidthOf(index.column())));
            line->setFont(m_model->Columns()[static_cast<std::size_t>(index.column())].font);
        }
        return editor;
    }

private:
    DictionaryTableModel* m_model;
};

} // namespace

// ---------------------------------------------------------------------------------------------------
// Model

DictionaryTableModel::DictionaryTableModel(TFixedFormatDataSet& table, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_columns(std::move(columns)), m_displays(m_columns.size())
{
    m_table.events.OnTableChange = [this](const TableChange& change) { TableChanged(change); };
}

DictionaryTableModel::~DictionaryTableModel()
{
    m_table.events.OnTableChange = nullptr;
}

int DictionaryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_table.Active() ? 0 : m_table.RowCount();
}

int DictionaryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

int DictionaryTableModel::FieldOf(int column) const
{
    if (!m_table.Active() || column < 0 || column >= columnCount()) {
        return -1;
    }
    return m_table.FieldIndex(m_columns[static_cast<std::size_t>(column)].field);
}

int DictionaryTableModel::WidthOf(int column) const
{
    const int field = FieldOf(column);
    return field < 0 ? 0 : m_table.Field(field).width;
}

QVariant DictionaryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const int field = FieldOf(index.column());
        if (field < 0) {
            return QString();
        }
        const QString value = QString::fromStdString(m_table.RowFieldValue(index.row(), field));
        return role == Qt::DisplayRole ? m_displays[static_cast<std::size_t>(index.column())].Text(value) : value;
    }
    case Qt::FontRole:
        return m_columns[static_cast<std::size_t>(index.column())].font;
    default:
        return {};
    }
}

bool DictionaryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int field = FieldOf(index.column());
    if (role != Qt::EditRole || field < 0) {
        return false;
    }
    const std::string text = value.toString().toStdString();
    if (index.row() != m_table.CurrentRow()) {
        m_table.MoveToRow(index.row());
    }
    // Leaving a cell unchanged starts no edit.
    if (m_table.State() == DataSetState::Browse && text == m_table.RowFieldValue(m_table.CurrentRow(), field)) {
        return false;
    }
    return m_table.Edit() && m_table.SetFieldValue(field, text);
}

Qt::ItemFlags DictionaryTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_table.Active() && !m_table.ReadOnly()) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant DictionaryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Horizontal) {
        return section >= 0 && section < columnCount() ? m_columns[static_cast<std::size_t>(section)].title
                                                       : QVariant();
    }
    // The row indicator: the current record, in edit or insert state.
    if (section != m_table.CurrentRow()) {
        return QString();
    }
    switch (m_table.State()) {
    case DataSetState::Edit:
        return QStringLiteral("I");
    case DataSetState::Insert:
        return QStringLiteral("*");
    default:
        return QStringLiteral("\u25B6");
    }
}

void DictionaryTableModel::SetColumnFont(int column, const QFont& font)
{
    m_columns[static_cast<std::size_t>(column)].font = font;
    if (rowCount() > 0) {
        emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::FontRole});
    }
}

void DictionaryTableModel::SetColumnDisplay(int column, const TranscriptionDisplay& display)
{
    m_displays[static_cast<std::size_t>(column)] = display;
    if (rowCount() > 0) {
        emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::DisplayRole});
    }
}

void DictionaryTableModel::IndicatorChanged()
{
    if (rowCount() > 0) {
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    }
}

void DictionaryTableModel::TableChanged(const TableChange& change)
{
    switch (change.kind) {
    case TableChange::Reset:
        beginResetModel();
        endResetModel();
        emit CurrentRowChanged(m_table.CurrentRow());
        break;
    case TableChange::RowAboutToBeInserted:
        beginInsertRows(QModelIndex(), change.row, change.row);
        break;
    case TableChange::RowInserted:
        endInsertRows();
        break;
    case TableChange::RowAboutToBeRemoved:
        beginRemoveRows(QModelIndex(), change.row, change.row);
        break;
    case TableChange::RowRemoved:
        endRemoveRows();
        break;
    case TableChange::RowChanged:
        if (change.row >= 0 && change.row < rowCount()) {
            emit dataChanged(index(change.row, 0), index(change.row, columnCount() - 1));
        }
        IndicatorChanged();
        break;
    case TableChange::CurrentChanged:
        IndicatorChanged();
        emit CurrentRowChanged(change.row);
        break;
    }
}

// ---------------------------------------------------------------------------------------------------
// Grid

QColor DictionaryGrid::Cream()
{
    return QColor(255, 251, 240);
}

DictionaryGrid::DictionaryGrid(DictionaryTableModel* model, QWidget* parent) : QTableView(parent), m_model(model)
{
    setModel(model);
    setItemDelegate(new FieldWidthDelegate(model, this));
    QFont gridFont(QStringLiteral("MS Sans Serif"));
    gridFont.setPixelSize(kGridFontPx);
    setFont(gridFont);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Cream());
    setPalette(pal);

    QFont titleFont(QStringLiteral("MS Sans Serif"));
    titleFont.setPixelSize(kTitleFontPx);
    horizontalHeader()->setFont(titleFont);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setFont(titleFont);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + 6);
    verticalHeader()->setFixedWidth(kIndicatorWidth);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setHighlightSections(false);
    for (int c = 0; c < model->columnCount(); ++c) {
        setColumnWidth(c, model->Columns()[static_cast<std::size_t>(c)].width);
    }

    setShowGrid(true);
    setTabKeyNavigation(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setWordWrap(false);

    connect(model, &DictionaryTableModel::CurrentRowChanged, this, &DictionaryGrid::FollowTable);
}

void DictionaryGrid::FollowTable(int row)
{
    if (row < 0 || row >= model()->rowCount()) {
        return;
    }
    const int column = std::max(0, currentIndex().column());
    if (currentIndex().row() == row) {
        return;
    }
    m_following = true;
    setCurrentIndex(model()->index(row, column));
    m_following = false;
}

void DictionaryGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_following && current.isValid() && current.row() != previous.row()) {
        m_model->Table().MoveToRow(current.row());
    }
    if (current.column() != previous.column()) {
        emit ColEnter();
    }
}

void DictionaryGrid::CommitEdit()
{
    // The window's focus, not the application's: the window need not be active.
    QWidget* editor = window()->focusWidget();
    if (state() == QAbstractItemView::EditingState && editor && viewport()->isAncestorOf(editor)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void DictionaryGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    // Coming back from the grid's own cell editor is no entry.
    if (!m_focusInEditor) {
        emit ColEnter();
    }
    m_focusInEditor = false;
}

void DictionaryGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    // An unchanged new row goes when the focus leaves the grid (not when it moves into a cell editor).
    QWidget* now = QApplication::focusWidget();
    const bool inside = now && isAncestorOf(now);
    m_focusInEditor = inside;
    TFixedFormatDataSet& table = m_model->Table();
    if (!inside && table.State() == DataSetState::Insert && !table.Modified()) {
        table.Cancel();
    }
}

} // namespace vb
