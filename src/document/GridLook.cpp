#include "document/GridLook.h"

#include <QCoreApplication>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QTableView>

namespace vorrel {

namespace {

// Room between a caption and the grid lines either side of it.
constexpr int kCaptionMargin = 2;

} // namespace

QRect insideGridLines(const QRect &cell)
{
    return cell.adjusted(0, 0, -kGridLineWidth, -kGridLineWidth);
}

void paintGridLines(QPainter *painter, const QRect &cell, const QPalette &palette)
{
    const QBrush line = palette.brush(QPalette::Mid);
    painter->fillRect(QRect(cell.right() - kGridLineWidth + 1, cell.top(), kGridLineWidth, cell.height()), line);
    painter->fillRect(QRect(cell.left(), cell.bottom() - kGridLineWidth + 1, cell.width(), kGridLineWidth), line);
}

void applyGridLook(QTableView *grid, const QFont &font)
{
    // The view's own grid is one pixel wide; the cells and the header draw theirs.
    grid->setShowGrid(false);
    grid->setFont(font);
    // The table has no caption on screen to lend it a name.
    grid->setAccessibleName(QCoreApplication::translate("vorrel::GridLook", "Categories"));
    auto *header = new GridHeader(grid);
    grid->setHorizontalHeader(header);
    header->setFont(font);
    header->setFixedHeight(kGridRowHeight);
    grid->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
}

GridHeader::GridHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    // As the view's own header: a click on a caption selects the column.
    setSectionsClickable(true);
}

void GridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    const QRect cell = insideGridLines(rect);
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    painter->save();
    painter->fillRect(cell, option.palette.brush(QPalette::Button));
    option.rect = cell.adjusted(kCaptionMargin, 0, -kCaptionMargin, 0);
    style()->drawControl(QStyle::CE_HeaderLabel, &option, painter, this);
    painter->restore();
    paintGridLines(painter, rect, option.palette);
}

} // namespace vorrel
