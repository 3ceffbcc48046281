#pragma once

#include <QList>
#include <QObject>

class QTableView;

namespace vorrel {

// Gives one column of a grid the width its viewport has beyond the other columns, so that a wide
// window shows long cells rather than an empty strip. The column never gets narrower than the
// width it was given; once the user drags its edge it keeps the width dragged to. A column the
// user drags otherwise keeps its width too, and this one takes what is left.
class SpareWidthColumn final : public QObject
{
    Q_OBJECT

public:
    SpareWidthColumn(QTableView *grid, int column);

    // The columns' widths as laid out, none of them counting as dragged.
    void setWidths(const QList<int> &widths);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void columnResized(int column);
    void fit();

    QTableView *m_grid;
    int m_column;
    int m_least = 0;
    bool m_fitting = false;
    bool m_dragged = false;
};

} // namespace vorrel
