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

// Where an installed program's files lie: <prefix>/share/aimlvorrel beside <prefix>/bin, ending in "/".
QString installedDataDir();

// A file that belongs to the program and is only read (template.dat, defs.dat, the help
// documents): beside the executable, else in the installed data folder. When it is in
// neither, the name beside the executable, so that messages say where it was expected.
QString programFile(const QString &name);

// A file the program writes (opts.ini, last.dat): beside the executable when the program runs
// from its build folder or an unpacked copy, else in the user's configuration folder
// (~/.config/aimlvorrel), which is made when needed and kept the user's alone (0700).
QString settingsFile(const QString &name);

// The lookup programFile() makes, given the two folders.
QString findProgramFile(const QString &name, const QString &programFolder, const QString &dataFolder);

// The folder settingsFile() picks: the program's own only while its program files lie beside it
// and it may be written, as in a build folder or an unpacked copy; an installed program's folder
// (/usr/bin, ~/.local/bin) holds none. Without a configuration folder, the program's own.
QString settingsFolder(const QString &programFolder, const QString &configFolder);

// Names the application so that its configuration folder is ~/.config/aimlvorrel, with no
// organisation folder above it. Called at start, before any settings file is looked for.
void nameApplication();

// Tests point the program at a scratch directory instead of the executable's own; every
// program file is then looked up and written there only.
void setProgramDirOverride(const QString &dir);

} // namespace vorrel
