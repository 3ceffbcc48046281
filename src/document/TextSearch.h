#pragma once

#include <QRegularExpression>
#include <QString>

#include <optional>

namespace vorrel {

class CategoryTable;

// What the Find dialog asks for.
struct SearchOptions
{
    QString text;
    bool matchCase = false;
    bool wholeWords = false;
    bool regExp = false;
};

// The expression a cell is searched with: the text itself unless it is a regular expression,
// whole words bounded by word boundaries. Invalid when the regular expression is.
QRegularExpression cellExpression(const SearchOptions &options);

// A cell of the category table, by grid row (1 and below) and column.
struct CellMatch
{
    int row = 1;
    int column = 1;
    // The search passed the last cell (the first, going back) to get here.
    bool wrapped = false;
};

// The next cell holding the text after the cell at `row`, `column`: row by row, and within a row
// column by column, over the pattern, that and template cells, round to the start at the end.
// The cell it starts from is looked at last. Nothing when no cell holds it.
std::optional<CellMatch> findCell(
    const CategoryTable &table, int row, int column, const SearchOptions &options, bool forward);

} // namespace vorrel
