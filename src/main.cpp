#include "app/AppInfo.h"
#include "app/Main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(vorrel::kAppTitle);
    QApplication::setApplicationDisplayName(vorrel::kAppTitle);
    TMainForm mainForm;
    mainForm.showMaximized();
    return app.exec();
}
