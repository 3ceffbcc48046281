#include "widgets/ui/ErrorBox.h"

#include "base/ProgramFiles.h"

#include <QMessageBox>

namespace vorrel {

void showErrorBox(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::Critical, kAppTitle, errorBoxText(message), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

} // namespace vorrel
