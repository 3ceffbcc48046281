#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextStream;

namespace vorrel {

// Files larger than this are refused rather than read into memory.
inline constexpr qint64 kMaxCheckedFileSize = qint64(1) << 30;

// Exit codes of the check command.
inline constexpr int kCheckPassed = 0;
inline constexpr int kCheckFoundErrors = 1;
inline constexpr int kCheckUnreadable = 2;

// The bytes of a regular file (or a link to one), or false with the reason in `error`. A
// folder, a FIFO or a device is refused without being opened, so that nothing waits on it.
bool readCheckedFile(const QString &fileName, QByteArray &bytes, QString &error);

// Checks each file and prints its problems to `out`, one line each in the form compilers use,
// only the errors when `errorsOnly`. A file that cannot be read gets a line on `err`. Returns
// kCheckUnreadable when a file could not be read, else kCheckFoundErrors when a file has an
// error, else kCheckPassed: warnings alone pass.
int runCheckCommand(const QStringList &files, bool errorsOnly, bool upcasePatterns, QTextStream &out, QTextStream &err);

} // namespace vorrel
