#include "report/HelpDocuments.h"

#include "base/ProgramFiles.h"
#include "base/Shell.h"

#include <QMessageBox>

namespace vorrel {

bool openProgramDocument(QWidget *owner, const QString &fileName, const char *failureMessage)
{
    // The path goes to the shell as one argument, blanks and all; the shell decides whether
    // the file exists.
    const int status = Shell::instance().open(owner, QString(), programFile(fileName), ShowMode::Plain);
    if (shellSucceeded(status))
        return true;
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("HelpDocuments", "Error"),
        QCoreApplication::translate("HelpDocuments", failureMessage), QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("ErrorShellBox"));
    box.exec();
    return false;
}

} // namespace vorrel
