#include "TableRows.h"

#include "document/CategoryTable.h"

#include <vector>

namespace vorrel::test {

void setRows(CategoryTable &table, const Rows &rows)
{
    std::vector<CategoryRow> cells;
    for (const QStringList &row : rows) {
        CategoryRow r;
        for (int c = 0; c < CategoryTable::kColumns && c < row.size(); ++c)
            r.cells[c] = row[c];
        cells.push_back(std::move(r));
    }
    table.assignRows(std::move(cells));
}

Rows rowsOf(const CategoryTable &table)
{
    Rows rows;
    for (int r = 1; r < table.gridRowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < CategoryTable::kColumns; ++c)
            row << table.cell(c, r);
        rows << row;
    }
    return rows;
}

} // namespace vorrel::test
