#pragma once

#include "document/CategoryRows.h"

#include <QList>
#include <QStringList>

namespace vorrel {
class CategoryTable;
} // namespace vorrel

namespace vorrel::test {

// Table rows below the header, each as {label, pattern, that, template, topic, leading text}
// with the empty cells after the template left out: {label, pattern, that, template} is a row
// without topic and leading text.
using Rows = QList<QStringList>;

// Makes `rows` the table's rows 1 and below, replacing what it held.
void setRows(CategoryTable &table, const Rows &rows);

// Every row below the header.
Rows rowsOf(const CategoryTable &table);

// Rows holding the given texts, and the texts rows hold (in their first `columns` columns).
CategoryRows categoryRows(const Rows &rows);
Rows textsOf(const CategoryRows &rows, int columns = CategoryRows::kColumns);

} // namespace vorrel::test
