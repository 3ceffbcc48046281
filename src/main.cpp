#include "app/CommandLine.h"
#include "base/ProgramFiles.h"
#include "base/Translations.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>

namespace {

// Run as the application object is made, whichever mode makes it, before the first text is shown.
void startInDesktopLanguage()
{
    vorrel::installTranslators();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startInDesktopLanguage)

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine commandLine = parseCommandLine(arguments);
    if (!commandLine.isConsoleMode())
        return runWindowMode(argc, argv, commandLine);

    // The modes without windows need no display: over ssh, in scripts and in CI.
    QCoreApplication app(argc, argv);
    vorrel::nameApplication();
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = runConsoleMode(commandLine, in, out, err);
    // A full disk or a closed pipe must not look like a clean run to a script.
    out.flush();
    if (out.status() != QTextStream::Ok) {
        err << "Cannot write to standard output.\n";
        return std::max(code, 2);
    }
    return code;
}
