#include "bot/TableBot.h"

#include "document/CategoryTable.h"

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
    if (m_stale)
        rebuild();
    return m_bot.respond(input);
}

void TableBot::reset()
{
    m_bot.reset();
}

void TableBot::rebuild()
{
    m_bot.setCategories(botCategories(m_table->rows()));
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
