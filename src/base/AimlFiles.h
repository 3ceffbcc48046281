#pragma once

#include <QString>
#include <QStringList>

namespace vorrel {

// The *.aiml files of a folder, sorted by name; those of its subfolders are not among them.
QStringList aimlFilesIn(const QString &folder);
// The files that names stand for, in their order: a folder stands for aimlFilesIn() of it.
QStringList botFileNames(const QStringList &names);

} // namespace vorrel
