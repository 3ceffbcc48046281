#include "document/ui/SpareWidthColumn.h"

#include <QEvent>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QTableView>

#include <algorithm>

namespace vorrel {

SpareWidthColumn::SpareWidthColumn(QTableView *grid, int column) : QObject(grid), m_grid(grid), m_column(column)
{
    grid->viewport()->installEventFilter(this);
    connect(
        grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int resized) { columnResized(resized); });
}

void SpareWidthColumn::setWidths(const QList<int> &widths)
{
    {
        const QScopedValueRollback fitting(m_fitting, true);
        for (qsizetype c = 0; c < widths.size(); ++c)
            m_grid->setColumnWidth(int(c), widths[c]);
    }
    m_least = widths.value(m_column);
    m_dragged = false;
    fit();
}

bool SpareWidthColumn::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        fit();
    return QObject::eventFilter(watched, event);
}

void SpareWidthColumn::columnResized(int column)
{
    if (m_fitting)
        return;
    if (column == m_column)
        m_dragged = true;
    else
        fit();
}

void SpareWidthColumn::fit()
{
    // Nothing to give before the widths are laid out.
    if (m_dragged || m_least <= 0)
        return;
    const QHeaderView *header = m_grid->horizontalHeader();
    const int others = header->length() - header->sectionSize(m_column);
    const int width = std::max(m_least, m_grid->viewport()->width() - others);
    if (width == header->sectionSize(m_column))
        return;
    const QScopedValueRollback fitting(m_fitting, true);
    m_grid->setColumnWidth(m_column, width);
}

} // namespace vorrel
