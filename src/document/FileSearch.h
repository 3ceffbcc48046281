#pragma once

#include "document/DocumentText.h"
#include "document/TextSearch.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorrel {

// A line of a file that holds a match.
struct FileHit
{
    QString fileName;
    // 1-based; the column counts characters, as the checker's do.
    int line = 1;
    int column = 1;
    // The line, blanks around it trimmed.
    QString text;
};

// A file's text as the preview would hold it.
struct SearchedFile
{
    QString fileName;
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Utf8;
};

// Every match in `file`, in order; a line with several matches is listed for each.
std::vector<FileHit> findInFile(const SearchedFile &file, const SearchOptions &options);

// The matches of each file in turn, read from disk unless it is `open`, whose text stands in for
// its file. A file that cannot be read is left out.
std::vector<FileHit> findInFiles(const QStringList &files, const SearchedFile &open, const SearchOptions &options);

} // namespace vorrel
