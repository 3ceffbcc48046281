#pragma once

#include <QHeaderView>

class QPainter;
class QTableView;

namespace vorrel {

// The category grid as its form draws it: every row, the header row included, of one
// height, and lines of two pixels between the cells.
inline constexpr int kGridRowHeight = 40;
inline constexpr int kGridLineWidth = 2;

// A cell's area inside the grid lines along its right and bottom edges.
QRect insideGridLines(const QRect &cell);
void paintGridLines(QPainter *painter, const QRect &cell, const QPalette &palette);

// Gives `grid` the form's look: its font in the cells and the header, the row height,
// the grid lines, and a header drawn like the fixed label column.
void applyGridLook(QTableView *grid, const QFont &font);

// The fixed header row. Its captions keep to a narrow margin so that they fit the
// label column.
class GridHeader final : public QHeaderView
{
    Q_OBJECT

public:
    explicit GridHeader(QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};

} // namespace vorrel
