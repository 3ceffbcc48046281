#pragma once

#include "bot/BotFiles.h"
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

    // The answer's row is the table's own, unless `file` names the other file it is of.
    BotAnswer respond(const QString &input);
    // A new conversation; the matcher stays.
    void reset();

    void setProperties(const BotProperties &properties);
    // With a file name, the bot answers from the other *.aiml files of its folder as well, as
    // they are on disk, and from the table's rows, which win over theirs; empty, from the
    // table alone. `upcase` is how those files' patterns are read.
    void setFolder(const QString &tableFile, bool upcase);

    Interpreter &interpreter() { return m_bot; }
    // How often the matcher was built.
    int builds() const { return m_builds; }

private:
    void rebuild();
    // Reads the folder's files again when one of them changed since they were read.
    void refreshFolder();

    const CategoryTable *m_table;
    QString m_tableFile;
    bool m_upcase = true;
    BotFiles m_folder;
    // Names, sizes and times of the files read into m_folder.
    QStringList m_folderState;
    Interpreter m_bot;
    bool m_stale = true;
    int m_builds = 0;
};

} // namespace vorrel
