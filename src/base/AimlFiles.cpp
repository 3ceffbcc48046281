#include "base/AimlFiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vorrel {

QStringList aimlFilesIn(const QString &folder)
{
    const QDir dir(folder);
    // Sorted by the bytes of the name, so that the order is the same on every machine.
    QStringList names = dir.entryList({ QStringLiteral("*.aiml") }, QDir::Files | QDir::Readable, QDir::NoSort);
    std::sort(names.begin(), names.end());
    QStringList files;
    files.reserve(names.size());
    for (const QString &name : std::as_const(names))
        files.append(dir.filePath(name));
    return files;
}

QStringList botFileNames(const QStringList &names)
{
    QStringList files;
    for (const QString &name : names) {
        if (name != u"-" && QFileInfo(name).isDir())
            files += aimlFilesIn(name);
        else
            files.append(name);
    }
    return files;
}

} // namespace vorrel
