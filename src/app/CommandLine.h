#pragma once

#include "document/CheckCommand.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

// What the program was asked to do on its command line.
struct CommandLine
{
    enum class Mode {
        // The windows, opening `files.first()` when a file was named.
        Window,
        Help,
        Version,
        // --check FILE... ("-" is standard input)
        Check,
        // --chat FILE...: the files, and the folders' *.aiml files, as one bot
        Chat,
        // --test CASES FILE...: the conversations of CASES with that bot
        Test,
        // The arguments make no sense; `error` says why.
        Invalid,
    };

    Mode mode = Mode::Window;
    QStringList files;
    // --check -q: errors only. --format and --disable: how problems are printed and which
    // codes are silenced.
    bool quiet = false;
    vorrel::CheckFormat checkFormat = vorrel::CheckFormat::Gcc;
    QStringList disabledCodes;
    // --chat and --test: the seed of <random>; --chat: the answering row of each reply on
    // standard error.
    std::optional<quint32> seed;
    bool trace = false;
    // --property NAME=VALUE, over the bot's properties of the settings file.
    QList<std::pair<QString, QString>> properties;
    QString error;

    // Whether the mode runs without windows, and so without a display.
    bool isConsoleMode() const { return mode != Mode::Window; }
};

// `arguments` as a process gets them, the program's name first.
CommandLine parseCommandLine(const QStringList &arguments);

// Runs a mode that needs no window; returns the process's exit code.
int runConsoleMode(const CommandLine &commandLine, QTextStream &in, QTextStream &out, QTextStream &err);

// Starts the windows, opening the file the command line names, and runs them until the
// program ends; returns the process's exit code.
int runWindowMode(int &argc, char **argv, const CommandLine &commandLine);
