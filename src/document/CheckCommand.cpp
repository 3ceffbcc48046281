#include "document/CheckCommand.h"

#include "document/Checker.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace vorrel {

bool readCheckedFile(const QString &fileName, QByteArray &bytes, QString &error)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        error = QStringLiteral("no such file");
        return false;
    }
    if (info.isDir()) {
        error = QStringLiteral("is a folder");
        return false;
    }
    // Opening a FIFO for reading waits for a writer; a device may never end.
    if (!info.isFile()) {
        error = QStringLiteral("not a regular file");
        return false;
    }
    if (info.size() > kMaxCheckedFileSize) {
        error = QStringLiteral("larger than 1 GiB");
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    bytes = file.read(kMaxCheckedFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    if (bytes.size() > kMaxCheckedFileSize) {
        bytes.clear();
        error = QStringLiteral("larger than 1 GiB");
        return false;
    }
    return true;
}

int runCheckCommand(const QStringList &files, bool errorsOnly, bool upcasePatterns, QTextStream &out, QTextStream &err)
{
    CheckOptions options;
    options.upcasePatterns = upcasePatterns;
    bool unreadable = false;
    bool errors = false;
    for (const QString &fileName : files) {
        QByteArray bytes;
        QString error;
        if (!readCheckedFile(fileName, bytes, error)) {
            err << fileName << ": cannot read: " << error << '\n';
            err.flush();
            unreadable = true;
            continue;
        }
        for (const Problem &problem : checkDocument(bytes, options)) {
            errors = errors || problem.severity == Severity::Error;
            if (!errorsOnly || problem.severity == Severity::Error)
                out << formatProblem(fileName, problem) << '\n';
        }
        out.flush();
    }
    if (unreadable)
        return kCheckUnreadable;
    return errors ? kCheckFoundErrors : kCheckPassed;
}

} // namespace vorrel
