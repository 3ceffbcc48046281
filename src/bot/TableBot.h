#pragma once

#include "bot/Interpreter.h"

#include <QObject>
#include <QString>

namespace vorrel {

class CategoryRows;
class CategoryTable;

// The rows below the header as the bot takes them (element i is grid row i + 1).
std::vector<BotCategory> botCategories(const CategoryRows &rows);

// The interpreter answering from the category table as it stands. Its matcher is built at the
// first answer after the table changed, so typing in the grid costs nothing and a run of
// questions costs one build.
class TableBot final : public QObject
{
    Q_OBJECT

public:
    explicit TableBot(const CategoryTable *table, QObject *parent = nullptr);

    BotAnswer respond(const QString &input);
    // A new conversation; the matcher stays.
    void reset();

    Interpreter &interpreter() { return m_bot; }
    // How often the matcher was built.
    int builds() const { return m_builds; }

private:
    void rebuild();

    const CategoryTable *m_table;
    Interpreter m_bot;
    bool m_stale = true;
    int m_builds = 0;
};

} // namespace vorrel
