#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace vorrel {

// The grid's columns; model column c is grid column c.
enum CategoryColumn : int { LabelColumn = 0, PatternColumn = 1, ThatColumn = 2, TemplateColumn = 3 };

// One row of the grid: label, pattern, that, template.
struct CategoryRow
{
    std::array<QString, 4> cells;
};

// The document's categories as the grid shows them. Grid row 0 is the header (the model's
// horizontal header data); grid row r >= 1 is model row r - 1. The grid always has at least
// one row below the header.
class CategoryTable final : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int kColumns = 4;

    explicit CategoryTable(QObject *parent = nullptr);

    // Grid operations, in grid rows (0 = header).
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    int gridRowCount() const { return static_cast<int>(m_rows.size()) + 1; }
    // Lower drops rows at the end, higher appends empty rows; never below 2.
    void setGridRowCount(int count);
    void copyRow(int from, int to);
    // Header first, then every row.
    QStringList column(int column) const;
    // Back to the empty table: one row whose cells 1 to 3 are empty; its label stays.
    void reset();
    // Replaces every row at once (rows 1 and below); used by reading, where per-row
    // notifications would cost more than the reading itself.
    void assignRows(std::vector<CategoryRow> rows);
    const std::vector<CategoryRow> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::array<QString, kColumns> m_header;
    std::vector<CategoryRow> m_rows;
};

} // namespace vorrel
