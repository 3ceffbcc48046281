#pragma once

#include <QString>

namespace vorrel {

// The application's own title: task bar and every error box.
inline const QString kAppTitle = QStringLiteral("AIML Vorrel 3.0");
// The main window's caption, which never changes.
inline const QString kMainCaption = QStringLiteral("AIML Vorrel 3.1");

// Directory of the running program, ending in "/". Files that belong to the program
// (opts.ini, defs.dat, template.dat, last.dat, the help documents) are found there.
QString programDir();
QString programFile(const QString &name);

// Tests point the program at a scratch directory instead of the executable's own.
void setProgramDirOverride(const QString &dir);

} // namespace vorrel
