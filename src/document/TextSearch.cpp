#include "document/TextSearch.h"

#include "document/CategoryTable.h"

namespace vorrel {

namespace {

constexpr int kSearchedColumns = 3;

} // namespace

QRegularExpression cellExpression(const SearchOptions &options)
{
    QString pattern = options.regExp ? options.text : QRegularExpression::escape(options.text);
    // A whole word is one not joined to a letter, digit or underscore on either side.
    if (options.wholeWords)
        pattern = QStringLiteral("(?<!\\w)(?:%1)(?!\\w)").arg(pattern);
    QRegularExpression::PatternOptions flags = QRegularExpression::UseUnicodePropertiesOption;
    if (!options.matchCase)
        flags |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(pattern, flags);
}

std::optional<CellMatch> findCell(
    const CategoryTable &table, int row, int column, const SearchOptions &options, bool forward)
{
    const qint64 total = qint64(table.gridRowCount() - 1) * kSearchedColumns;
    if (options.text.isEmpty() || total <= 0)
        return std::nullopt;
    const QRegularExpression expression = cellExpression(options);
    if (!expression.isValid())
        return std::nullopt;
    const bool plain = !options.regExp && !options.wholeWords;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;

    // Cells are numbered row by row; the label column stands just before its row's pattern cell.
    qint64 start = qint64(std::max(row, 1) - 1) * kSearchedColumns + std::clamp(column, 1, 3) - 1;
    if (column < PatternColumn && forward)
        --start;
    const int step = forward ? 1 : -1;
    for (qint64 k = 1; k <= total; ++k) {
        const qint64 unwrapped = start + step * k;
        const qint64 index = ((unwrapped % total) + total) % total;
        const int r = static_cast<int>(index / kSearchedColumns) + 1;
        const int c = static_cast<int>(index % kSearchedColumns) + PatternColumn;
        const QString text = table.cell(c, r);
        const bool hit = plain ? text.contains(options.text, cs) : expression.match(text).hasMatch();
        if (hit)
            return CellMatch { r, c, unwrapped < 0 || unwrapped >= total };
    }
    return std::nullopt;
}

} // namespace vorrel
