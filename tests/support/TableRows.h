#pragma once

#include <QList>
#include <QStringList>

namespace vorrel {
class CategoryTable;
}

namespace vorrel::test {

// Table rows below the header, each as {label, pattern, that, template}.
using Rows = QList<QStringList>;

// Makes `rows` the table's rows 1 and below, replacing what it held.
void setRows(CategoryTable &table, const Rows &rows);

// Every row below the header.
Rows rowsOf(const CategoryTable &table);

} // namespace vorrel::test
