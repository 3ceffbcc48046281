#include "TableRows.h"

#include "document/CategoryRows.h"
#include "document/CategoryTable.h"

namespace vorrel::test {

void setRows(CategoryTable &table, const Rows &rows)
{
    table.assignRows(categoryRows(rows));
}

namespace {

void dropEmptyAfterTemplate(QStringList &row)
{
    while (row.size() > TemplateColumn + 1 && row.back().isEmpty())
        row.removeLast();
}

} // namespace

Rows rowsOf(const CategoryTable &table)
{
    Rows rows;
    for (int r = 1; r < table.gridRowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < CategoryRows::kColumns; ++c)
            row << table.cell(c, r);
        dropEmptyAfterTemplate(row);
        rows << row;
    }
    return rows;
}

CategoryRows categoryRows(const Rows &rows)
{
    CategoryRows cells;
    cells.resize(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < CategoryRows::kColumns && c < rows[r].size(); ++c)
            cells.setText(r, c, rows[r][c]);
    }
    return cells;
}

Rows textsOf(const CategoryRows &rows, int columns)
{
    Rows texts;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row << rows.text(r, c);
        dropEmptyAfterTemplate(row);
        texts << row;
    }
    return texts;
}

} // namespace vorrel::test
