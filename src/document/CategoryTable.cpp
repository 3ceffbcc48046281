#include "document/CategoryTable.h"

namespace vorrel {

CategoryTable::CategoryTable(QObject *parent) : QAbstractTableModel(parent)
{
    m_rows.resize(1);
}

QString CategoryTable::cell(int column, int row) const
{
    if (column < 0 || column >= CategoryRows::kColumns || row < 0 || row >= gridRowCount())
        return {};
    if (row == 0)
        return column < kColumns ? m_header[column] : QString();
    return m_rows.text(row - 1, column);
}

void CategoryTable::setCell(int column, int row, const QString &text)
{
    if (column < 0 || column >= CategoryRows::kColumns || row < 0 || row >= gridRowCount())
        return;
    if (row == 0) {
        if (column < kColumns) {
            m_header[column] = text;
            Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
        }
        return;
    }
    m_rows.setText(row - 1, column, text);
    if (column < kColumns) {
        const QModelIndex i = index(row - 1, column);
        Q_EMIT dataChanged(i, i);
    }
}

void CategoryTable::setGridRowCount(int count)
{
    const int wanted = std::max(count, 2) - 1;
    const int have = static_cast<int>(m_rows.size());
    if (wanted > have) {
        beginInsertRows(QModelIndex(), have, wanted - 1);
        m_rows.resize(wanted);
        endInsertRows();
    } else if (wanted < have) {
        beginRemoveRows(QModelIndex(), wanted, have - 1);
        m_rows.resize(wanted);
        endRemoveRows();
    }
}

void CategoryTable::copyRow(int from, int to)
{
    if (from < 1 || to < 1 || from >= gridRowCount() || to >= gridRowCount() || from == to)
        return;
    m_rows.copyRow(from - 1, to - 1);
    Q_EMIT dataChanged(index(to - 1, 0), index(to - 1, kColumns - 1));
}

void CategoryTable::insertGridRow(int row)
{
    if (row < 1 || row > gridRowCount())
        return;
    beginInsertRows(QModelIndex(), row - 1, row - 1);
    m_rows.insertRow(row - 1);
    endInsertRows();
}

void CategoryTable::removeGridRow(int row)
{
    if (row < 1 || row >= gridRowCount() || gridRowCount() <= 2)
        return;
    beginRemoveRows(QModelIndex(), row - 1, row - 1);
    m_rows.removeRow(row - 1);
    endRemoveRows();
}

QStringList CategoryTable::column(int column) const
{
    QStringList list;
    if (column < 0 || column >= CategoryRows::kColumns)
        return list;
    list.reserve(gridRowCount());
    list.append(cell(column, 0));
    for (qsizetype r = 0; r < m_rows.size(); ++r)
        list.append(m_rows.text(r, column));
    return list;
}

void CategoryTable::reset()
{
    setGridRowCount(2);
    for (int c = 1; c < CategoryRows::kColumns; ++c)
        setCell(c, 1, QString());
    // The same one row, without what the last reading's cells held on to.
    CategoryRows fresh;
    fresh.resize(1);
    fresh.setText(0, LabelColumn, m_rows.text(0, LabelColumn));
    m_rows = std::move(fresh);
}

void CategoryTable::assignRows(CategoryRows rows)
{
    if (rows.empty())
        rows.resize(1);
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int CategoryTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CategoryTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant CategoryTable::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const QString text = m_rows.text(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole: {
        // The grid shows a cell on one line, whatever line breaks it holds.
        if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
            return text;
        QString shown = text;
        shown.replace(QLatin1String("\r\n"), QLatin1String(" "));
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
        shown.replace(QLatin1Char('\r'), QLatin1Char(' '));
        return shown;
    }
    case Qt::EditRole:
        return text;
    default:
        return {};
    }
}

bool CategoryTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) || index.column() == LabelColumn)
        return false;
    if (m_cellEditor)
        m_cellEditor(index.column(), index.row() + 1, value.toString());
    else
        setCell(index.column(), index.row() + 1, value.toString());
    return true;
}

void CategoryTable::ownBytes()
{
    m_rows.ownBytes();
}

QVariant CategoryTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < kColumns ? QVariant(m_header[section]) : QVariant();
    return {};
}

Qt::ItemFlags CategoryTable::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() != LabelColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

} // namespace vorrel
