#include "app/Main.h"
#include "base/MemoryReuse.h"
#include "base/ProgramFiles.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    vorrel::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    QApplication::setApplicationName(vorrel::kProgramName);
    QApplication::setApplicationDisplayName(vorrel::kAppTitle);
    TMainForm mainForm;
    // Without a window manager (a bare X server) maximising does nothing; start at full size.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        mainForm.setGeometry(screen->availableGeometry());
    mainForm.showMaximized();
    return app.exec();
}
