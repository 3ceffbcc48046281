#pragma once

#include <QString>
#include <QStringList>

namespace vorrel {

class IniProfile;

// The documents File > Reopen offers, newest first, as opts.ini's section "Recent" keeps them:
// File1 to File8, an empty value standing for none.
inline constexpr int kRecentFiles = 8;

QStringList readRecentFiles(const IniProfile &profile);

// The list with `fileName` first and no other mention of it, at most kRecentFiles long. A name
// that one INI line cannot hold as it is (a line break, blanks at its ends) is left out.
QStringList withRecentFile(QStringList files, const QString &fileName);

// Writes the list into the file in place, every other line kept; false, the file unchanged and
// `reason` saying why, when it cannot be written.
bool writeRecentFiles(const QString &fileName, const QStringList &files, QString *reason);

} // namespace vorrel
