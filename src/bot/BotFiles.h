#pragma once

#include "base/AimlFiles.h"
#include "bot/Interpreter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorrel {

// The categories of many files joined into one bot, file after file, each knowing where it came
// from. Of two categories on one path the later wins, as within one document.
class BotFiles final
{
public:
    // Reads the file as the window would; false, with `error` saying why, when it cannot be read.
    bool addFile(const QString &fileName, bool upcase, QString *error);
    // Rows that come from elsewhere (the window's table): their lines are not known.
    void addRows(const QString &fileName, std::vector<BotCategory> rows);

    const std::vector<BotCategory> &categories() const { return m_categories; }
    qsizetype fileCount() const { return qsizetype(m_sources.size()); }

    // Gives the answer the file of its category, when there are several files, and that
    // file's own row.
    void locate(BotAnswer &answer) const;
    // The line of a file's row's pattern; 0 when it is not known.
    int line(const QString &fileName, int row) const;

private:
    struct Source
    {
        QString fileName;
        int first = 0;
        int count = 0;
        QByteArray text;
    };
    std::vector<Source> m_sources;
    std::vector<BotCategory> m_categories;
};

} // namespace vorrel
