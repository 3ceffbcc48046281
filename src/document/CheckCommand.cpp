#include "document/CheckCommand.h"

#include "base/RegularFile.h"
#include "document/Checker.h"
#include "document/Document.h"

#include <QTextStream>

namespace vorrel {

namespace {

// The document's own bytes: positions count in the file as it stands.
bool readDocumentBytes(const QString &fileName, QByteArray &bytes, QString &error)
{
    ReadResult read = readRegularFile(fileName, Document::kLargestDocument);
    if (read.status == ReadResult::TooLarge)
        error = QStringLiteral("The file is too large");
    else
        error = read.reason;
    bytes = std::move(read.bytes);
    return read.status == ReadResult::Ok;
}

} // namespace

int runCheckCommand(const QStringList &files, bool errorsOnly, bool upcasePatterns, QTextStream &out, QTextStream &err)
{
    CheckOptions options;
    options.upcasePatterns = upcasePatterns;
    bool unreadable = false;
    bool errors = false;
    for (const QString &fileName : files) {
        QByteArray bytes;
        QString error;
        if (!readDocumentBytes(fileName, bytes, error)) {
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
