#pragma once

#include <QString>

namespace vorrel {

// The application's own title: task bar and every error box.
inline const QString kAppTitle = QStringLiteral("AIML Vorrel 3.0");
// The main window's caption, which never changes.
inline const QString kMainCaption = QStringLiteral("AIML Vorrel 3.1");
// The name under which the program is installed and keeps its settings.
inline const QString kProgramName = QStringLiteral("aimlvorrel");

// Directory of the running program, ending in "/".
QString programDir();

// A file that belongs to the program and is only read (template.dat, defs.dat, the help
// documents): beside the executable, else in the installed data folder. When it is in
// neither, the name beside the executable, so that messages say where it was expected.
QString programFile(const QString &name);

// A file the program writes (opts.ini, last.dat): beside the executable while that folder
// is writable (a build folder or a portable copy), else in the user's configuration folder,
// which is created when needed.
QString settingsFile(const QString &name);

// The lookup programFile() makes, given the two folders.
QString findProgramFile(const QString &name, const QString &programFolder, const QString &dataFolder);

// The folder settingsFile() picks, given the program folder and whether it may be written.
QString settingsFolder(const QString &programFolder, bool programFolderWritable, const QString &configFolder);

// Tests point the program at a scratch directory instead of the executable's own; every
// program file is then looked up and written there only.
void setProgramDirOverride(const QString &dir);

} // namespace vorrel
