#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextStream;

namespace vorrel {

// Exit codes of the check command.
inline constexpr int kCheckPassed = 0;
inline constexpr int kCheckFoundErrors = 1;
inline constexpr int kCheckUnreadable = 2;

// Checks each file and prints its problems to `out`, one line each in the form compilers use,
// only the errors when `errorsOnly`. A file that cannot be read gets a line on `err`. Returns
// kCheckUnreadable when a file could not be read, else kCheckFoundErrors when a file has an
// error, else kCheckPassed: warnings alone pass.
int runCheckCommand(const QStringList &files, bool errorsOnly, bool upcasePatterns, QTextStream &out, QTextStream &err);

} // namespace vorrel
