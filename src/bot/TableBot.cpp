#include "bot/TableBot.h"

#include "document/CategoryTable.h"

#include <QDateTime>
#include <QFileInfo>

namespace vorrel {

TableBot::TableBot(const CategoryTable *table, QObject *parent) : QObject(parent), m_table(table)
{
    const auto stale = [this] { m_stale = true; };
    connect(table, &QAbstractItemModel::dataChanged, this, stale);
    connect(table, &QAbstractItemModel::rowsInserted, this, stale);
    connect(table, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(table, &QAbstractItemModel::rowsMoved, this, stale);
    connect(table, &QAbstractItemModel::modelReset, this, stale);
    connect(table, &QAbstractItemModel::layoutChanged, this, stale);
}

BotAnswer TableBot::respond(const QString &input)
{
    if (!m_tableFile.isEmpty())
        refreshFolder();
    if (m_stale)
        rebuild();
    BotAnswer answer = m_bot.respond(input);
    const int tableFirst = int(m_folder.categories().size());
    if (answer.row > tableFirst)
        answer.row -= tableFirst;
    else
        m_folder.locate(answer);
    return answer;
}

void TableBot::setProperties(const BotProperties &properties)
{
    if (properties == m_bot.properties())
        return;
    m_bot.setProperties(properties);
    m_stale = true;
}

void TableBot::setFolder(const QString &tableFile, bool upcase)
{
    if (tableFile == m_tableFile && upcase == m_upcase)
        return;
    m_tableFile = tableFile;
    m_upcase = upcase;
    m_folder = BotFiles();
    m_folderState.clear();
    m_stale = true;
}

void TableBot::refreshFolder()
{
    const QFileInfo own(m_tableFile);
    QStringList files = aimlFilesIn(own.absolutePath());
    files.removeIf([&own](const QString &file) { return QFileInfo(file) == own; });
    QStringList state;
    for (const QString &file : std::as_const(files)) {
        const QFileInfo info(file);
        state << file << QString::number(info.size()) << QString::number(info.lastModified().toMSecsSinceEpoch());
    }
    if (state == m_folderState)
        return;
    m_folderState = state;
    m_folder = BotFiles();
    // A file that cannot be read now takes no part; the others still answer.
    for (const QString &file : std::as_const(files))
        m_folder.addFile(file, m_upcase, nullptr);
    m_stale = true;
}

void TableBot::reset()
{
    m_bot.reset();
}

void TableBot::rebuild()
{
    std::vector<BotCategory> rows = m_folder.categories();
    std::vector<BotCategory> own = botCategories(m_table->rows());
    rows.insert(rows.end(), std::make_move_iterator(own.begin()), std::make_move_iterator(own.end()));
    m_bot.setCategories(std::move(rows));
    m_stale = false;
    ++m_builds;
}

std::vector<BotCategory> botCategories(const CategoryRows &rows)
{
    std::vector<BotCategory> categories;
    categories.reserve(size_t(rows.size()));
    for (qsizetype r = 0; r < rows.size(); ++r) {
        categories.push_back({ rows.text(r, PatternColumn), rows.text(r, ThatColumn), rows.text(r, TemplateColumn),
            rows.text(r, TopicColumn) });
    }
    return categories;
}

} // namespace vorrel
