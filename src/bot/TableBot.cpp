#include "bot/TableBot.h"

#include "document/CategoryTable.h"

#include <algorithm>

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
    // The header row is no category: the bot's rows start at grid row 1.
    const int rows = m_table->gridRowCount();
    std::vector<BotCategory> categories;
    categories.reserve(size_t(std::max(rows - 1, 0)));
    for (int row = 1; row < rows; ++row) {
        categories.push_back(
            { m_table->cell(PatternColumn, row), m_table->cell(ThatColumn, row), m_table->cell(TemplateColumn, row) });
    }
    m_bot.setCategories(std::move(categories));
    m_stale = false;
    ++m_builds;
}

} // namespace vorrel
