#include "editing/CategoryEdit.h"

#include "base/AsciiCase.h"
#include "base/Error.h"
#include "document/CategoryTable.h"
#include "prefs/IntText.h"

#include <QCoreApplication>

namespace vorrel {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString upcasePattern(QStringView pattern)
{
    QString result = pattern.toString();
    for (QChar &c : result)
        c = QChar(asciiUpper(c.unicode()));
    return result;
}

QString wrapInSrai(const QString &templateText)
{
    return QStringLiteral("<srai>") + templateText + QStringLiteral("</srai>");
}

int randomCountFromAnswer(const QString &answer)
{
    const std::optional<int> count = strToInt(answer);
    if (!count)
        throw VorrelError(QCoreApplication::translate("CategoryEdit", "'%1' is not a valid integer value").arg(answer));
    if (*count > kMaxRandomOptions)
        throw VorrelError(QCoreApplication::translate(
            "CategoryEdit", "'%1' options are too many for a random list; the most it takes is %2")
                              .arg(answer)
                              .arg(kMaxRandomOptions));
    return *count;
}

QString appendRandomList(const QString &templateText, int count)
{
    const QString item = QStringLiteral("<li>..</li>") + kCrLf;
    QString result = templateText;
    const int items = std::max(count, 0);
    result.reserve(templateText.size() + 2 + 10 + items * item.size() + 9);
    // The list starts on a line of its own, also after a last line without a break.
    if (!result.isEmpty() && !result.endsWith(QLatin1Char('\n')) && !result.endsWith(QLatin1Char('\r')))
        result += kCrLf;
    result += QStringLiteral("<random>") + kCrLf;
    for (int i = 0; i < items; ++i)
        result += item;
    result += QStringLiteral("</random>");
    return result;
}

int appendCategory(CategoryTable &table, const CategoryTexts &texts)
{
    table.setGridRowCount(table.gridRowCount() + 1);
    const int row = table.gridRowCount() - 1;
    table.setCell(LabelColumn, row, QString::number(row));
    writeCategory(table, row, texts);
    return row;
}

void writeCategory(CategoryTable &table, int row, const CategoryTexts &texts)
{
    table.setCell(PatternColumn, row, texts.pattern);
    table.setCell(ThatColumn, row, texts.that);
    table.setCell(TemplateColumn, row, texts.templateText);
    table.setCell(TopicColumn, row, texts.topic);
}

std::optional<DeletedCategory> deleteCategoryRow(CategoryTable &table, int row)
{
    const int count = table.gridRowCount();
    if (count <= 2 || row < 1 || row >= count)
        return std::nullopt;
    DeletedCategory deleted;
    deleted.row = row;
    for (int c = 0; c < CategoryRows::kColumns; ++c)
        deleted.cells[c] = table.cell(c, row);
    const bool last = row + 1 == count;
    deleted.textAfter = last ? table.trailingText() : table.cell(LeadingTextColumn, row + 1);
    // Comments the grid does not show are not the user's to lose by deleting a row.
    const QString &leading = deleted.cells[LeadingTextColumn];
    if (!leading.isEmpty()) {
        const QString joined
            = deleted.textAfter.isEmpty() ? leading : leading + lineEndText(table.rows().lineEnd()) + deleted.textAfter;
        if (last)
            table.setTrailingText(joined);
        else
            table.setCell(LeadingTextColumn, row + 1, joined);
    }
    table.removeGridRow(row);
    return deleted;
}

void restoreCategoryRow(CategoryTable &table, const DeletedCategory &deleted)
{
    if (deleted.row == table.gridRowCount())
        table.setTrailingText(deleted.textAfter);
    else
        table.setCell(LeadingTextColumn, deleted.row, deleted.textAfter);
    table.insertGridRow(deleted.row);
    for (int c = 0; c < CategoryRows::kColumns; ++c)
        table.setCell(c, deleted.row, deleted.cells[c]);
}

} // namespace vorrel
