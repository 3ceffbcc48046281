#include "app/ErrorBox.h"

#include "app/AppInfo.h"

#include <QMessageBox>

namespace vorrel {

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void showErrorBox(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::Critical, kAppTitle, errorBoxText(message), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

} // namespace vorrel
