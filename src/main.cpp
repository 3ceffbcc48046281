#include "app/CommandLine.h"
#include "base/ProgramFiles.h"

#include <QCoreApplication>
#include <QTextStream>

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
    QCoreApplication::setApplicationName(vorrel::kProgramName);
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runConsoleMode(commandLine, in, out, err);
}
