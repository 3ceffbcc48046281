#pragma once

#include "document/CategoryRows.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace vorrel {

// The document's categories as the grid shows them. Grid row 0 is the header (the model's
// horizontal header data); grid row r >= 1 is model row r - 1. The grid always has at least
// one row below the header.
class CategoryTable final : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The columns the grid shows; the cell operations also reach the hidden leading text.
    static constexpr int kColumns = TopicColumn + 1;

    explicit CategoryTable(QObject *parent = nullptr);

    // Grid operations, in grid rows (0 = header), on every column of CategoryRows.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    int gridRowCount() const { return static_cast<int>(m_rows.size()) + 1; }
    // Lower drops rows at the end, higher appends empty rows; never below 2.
    void setGridRowCount(int count);
    void copyRow(int from, int to);
    // An empty row before grid row `row` (up to gridRowCount(), which appends), and grid row
    // `row` taken out while another is left; the rows after it move with their labels.
    void insertGridRow(int row);
    void removeGridRow(int row);
    // Header first, then every row.
    QStringList column(int column) const;
    // The text that stood after the last category, written before the document's end.
    QString trailingText() const { return m_rows.trailingText(); }
    void setTrailingText(const QString &text) { m_rows.setTrailingText(text); }
    // Back to the empty table: one row whose other cells are empty; its label stays.
    void reset();
    // Replaces every row at once (rows 1 and below); used by reading, where per-row
    // notifications would cost more than the reading itself.
    void assignRows(CategoryRows rows);
    const CategoryRows &rows() const { return m_rows; }
    // Called before the text the rows were read from changes or goes: the cells that still
    // refer into it get their own copy.
    void ownBytes();

    // What an edit typed into the grid does with the text: by default it is written into the
    // cell; the document's history makes it a step that Undo takes back.
    using CellEditor = std::function<void(int column, int row, const QString &text)>;
    void setCellEditor(CellEditor editor) { m_cellEditor = std::move(editor); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::array<QString, kColumns> m_header;
    CategoryRows m_rows;
    CellEditor m_cellEditor;
};

} // namespace vorrel
