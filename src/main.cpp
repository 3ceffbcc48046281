#include "app/Main.h"
#include "app/CommandLine.h"
#include "base/MemoryReuse.h"
#include "base/ProgramFiles.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine commandLine = parseCommandLine(arguments);

    // The modes without windows need no display: over ssh, in scripts and in CI.
    if (commandLine.isConsoleMode()) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(vorrel::kProgramName);
        QTextStream in(stdin);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runConsoleMode(commandLine, in, out, err);
    }

    vorrel::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    QApplication::setApplicationName(vorrel::kProgramName);
    QApplication::setApplicationDisplayName(vorrel::kAppTitle);
    QGuiApplication::setDesktopFileName(QStringLiteral("com.cendaro.AimlVorrel"));
    QIcon icon;
    for (const int size : { 16, 32, 48, 64, 128, 256 })
        icon.addFile(QStringLiteral(":/icons/aimlvorrel-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    TMainForm mainForm;
    if (!commandLine.files.isEmpty())
        mainForm.openAtStart(commandLine.files.constFirst());
    // Without a window manager (a bare X server) maximising does nothing; start at full size.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        mainForm.setGeometry(screen->availableGeometry());
    mainForm.showMaximized();
    return app.exec();
}
