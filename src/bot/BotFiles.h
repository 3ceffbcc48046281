#pragma once

#include "bot/Interpreter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorrel {

// The *.aiml files of a folder, sorted by name; those of its subfolders are not among them.
QStringList aimlFilesIn(const QString &folder);
// The files that names stand for, in their order: a folder stands for aimlFilesIn() of it.
QStringList botFileNames(const QStringList &names);

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

    struct Origin
    {
        QString fileName;
        // 1-based row of the file's own table; -1 when none answered.
        int row = -1;
        // Of the category's pattern in the file; 0 when it is not known.
        int line = 0;
    };
    // Where the category of a joined row stands (1-based, as BotAnswer gives it).
    Origin origin(int row) const;

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

// describeAnswer() that names the answering file: "greetings.aiml row 12: HELLO *".
QString describeAnswerIn(const BotAnswer &answer, const BotFiles::Origin &origin);

} // namespace vorrel
