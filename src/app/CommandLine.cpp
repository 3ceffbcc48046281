#include "app/CommandLine.h"

#include "app/Main.h"
#include "base/MemoryReuse.h"
#include "base/ProgramFiles.h"
#include "bot/BotFiles.h"
#include "bot/ChatCommand.h"
#include "bot/ConversationTest.h"
#include "bot/TableBot.h"
#include "document/AimlReader.h"
#include "document/CheckCommand.h"
#include "document/Document.h"
#include "prefs/IniProfile.h"
#include "prefs/Settings.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QFile>
#include <QIcon>
#include <QScreen>
#include <QTextStream>

using namespace vorrel;

namespace {

constexpr int kUsageError = 2;

// Patterns are read and checked the way the window would, with the stored settings.
struct StoredSettings
{
    bool upcase = true;
    BotProperties properties;
};

StoredSettings storedSettings(const CommandLine &commandLine)
{
    const IniProfile profile = IniProfile::load(settingsFile(QStringLiteral("opts.ini")));
    StoredSettings stored { readSettings(profile).upcasePatterns, readBotProperties(profile) };
    for (const auto &[name, value] : commandLine.properties)
        stored.properties.set(name, value);
    return stored;
}

// The files, in order, as one bot; false when one cannot be read, which `err` is told.
bool loadBot(const QStringList &names, bool upcase, BotFiles &bot, QTextStream &err)
{
    for (const QString &fileName : botFileNames(names)) {
        QString error;
        if (!bot.addFile(fileName, upcase, &error)) {
            err << fileName << ": cannot read: " << error << '\n';
            return false;
        }
    }
    if (bot.fileCount() == 0) {
        err << names.join(QLatin1Char(' ')) << ": no AIML file\n";
        return false;
    }
    return true;
}

InterpreterOptions interpreterOptions(const CommandLine &commandLine, const StoredSettings &stored)
{
    InterpreterOptions options;
    options.seed = commandLine.seed;
    options.version = kMainCaption;
    options.properties = stored.properties;
    return options;
}

int runChatMode(const CommandLine &commandLine, QTextStream &in, QTextStream &out, QTextStream &err)
{
    const StoredSettings stored = storedSettings(commandLine);
    BotFiles files;
    if (!loadBot(commandLine.files, stored.upcase, files, err))
        return kUsageError;
    Interpreter bot(interpreterOptions(commandLine, stored));
    bot.setCategories(files.categories());
    ChatOptions chat;
    chat.trace = commandLine.trace;
    // One file's rows are its own; of many, the trace names the file.
    if (files.fileCount() > 1)
        chat.describe = [&files](BotAnswer answer) {
            files.locate(answer);
            return describeAnswer(answer);
        };
    return runChat(bot, in, out, err, chat);
}

int runTestMode(const CommandLine &commandLine, QTextStream &out, QTextStream &err)
{
    const QString &casesName = commandLine.files.constFirst();
    QFile casesFile(casesName);
    if (!casesFile.open(QIODevice::ReadOnly)) {
        err << casesName << ": cannot read: " << casesFile.errorString() << '\n';
        return kUsageError;
    }
    const ConversationCases cases = parseConversations(QString::fromUtf8(casesFile.readAll()));
    const StoredSettings stored = storedSettings(commandLine);
    BotFiles files;
    if (!loadBot(commandLine.files.mid(1), stored.upcase, files, err))
        return kUsageError;
    Interpreter bot(interpreterOptions(commandLine, stored));
    bot.setCategories(files.categories());
    return runConversations(casesName, cases, bot, files, out, err);
}

int runCheck(const CommandLine &commandLine, QTextStream &in, QTextStream &out, QTextStream &err)
{
    CheckRequest request;
    request.files = botFileNames(commandLine.files);
    request.format = commandLine.checkFormat;
    request.errorsOnly = commandLine.quiet;
    request.disabled = commandLine.disabledCodes;
    const StoredSettings stored = storedSettings(commandLine);
    request.upcasePatterns = stored.upcase;
    request.properties = stored.properties;
    request.toolVersion = QStringLiteral(VORREL_VERSION);
    // A stream over text, as tests give, has no device: its text is the document.
    QBuffer text;
    if (!in.device())
        text.setData(in.readAll().toUtf8());
    return runCheckCommand(request, in.device() ? *in.device() : text, out, err);
}

} // namespace

namespace {

struct Options
{
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption check { QStringLiteral("check"),
        QStringLiteral("Check each FILE (- for standard input) and print its problems, without a window.") };
    QCommandLineOption quiet { { QStringLiteral("q"), QStringLiteral("quiet") },
        QStringLiteral("With --check, print only the errors, and no summary.") };
    QCommandLineOption format { QStringLiteral("format"),
        QStringLiteral("With --check, print the problems as gcc (FILE:LINE:COLUMN: lines, the default), json or "
                       "sarif."),
        QStringLiteral("FORMAT"), QStringLiteral("gcc") };
    QCommandLineOption disable { QStringLiteral("disable"),
        QStringLiteral("With --check, silence the problems of these codes (repeatable)."),
        QStringLiteral("CODE[,CODE]") };
    QCommandLineOption chat { QStringLiteral("chat"),
        QStringLiteral("Talk to the bot of the FILEs (a folder: its *.aiml files) without a window: one sentence "
                       "a line from standard input, one reply a line to standard output.") };
    QCommandLineOption test { QStringLiteral("test"),
        QStringLiteral("Run the conversations of the first FILE on the bot of the others (a folder: its *.aiml "
                       "files) and print each reply that is not the expected one.") };
    QCommandLineOption seed { QStringLiteral("seed"), QStringLiteral("With --chat or --test, the seed of <random>."),
        QStringLiteral("N") };
    QCommandLineOption property { QStringLiteral("property"),
        QStringLiteral("With --chat or --test, a property of the bot, over those of the settings (repeatable)."),
        QStringLiteral("NAME=VALUE") };
    QCommandLineOption trace { QStringLiteral("trace"),
        QStringLiteral("With --chat, the answering row of each reply on standard error.") };
};

Options describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("An editor for AIML 1.0 chat bot documents."));
    Options options { parser.addHelpOption(), parser.addVersionOption() };
    parser.addOptions({ options.check, options.quiet, options.format, options.disable, options.chat, options.test,
        options.seed, options.property, options.trace });
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("The AIML document to open."), QStringLiteral("[FILE...]"));
    return options;
}

// Built when it is shown: its usage line names the running program.
QString helpText()
{
    QCommandLineParser parser;
    describe(parser);
    return parser.helpText();
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const Options o = describe(parser);
    const QCommandLineOption &help = o.help;
    const QCommandLineOption &version = o.version;
    const QCommandLineOption &check = o.check;
    const QCommandLineOption &quiet = o.quiet;
    const QCommandLineOption &chat = o.chat;
    const QCommandLineOption &seed = o.seed;
    const QCommandLineOption &trace = o.trace;
    CommandLine result;
    const auto invalid = [&result](const QString &error) {
        result.mode = CommandLine::Mode::Invalid;
        result.error = error;
        return result;
    };
    if (!parser.parse(arguments))
        return invalid(parser.errorText());
    result.files = parser.positionalArguments();
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.mode = CommandLine::Mode::Help;
        return result;
    }
    if (parser.isSet(version)) {
        result.mode = CommandLine::Mode::Version;
        return result;
    }
    if (int(parser.isSet(check)) + int(parser.isSet(chat)) + int(parser.isSet(o.test)) > 1)
        return invalid(QStringLiteral("--check, --chat and --test cannot be used together."));
    const bool botMode = parser.isSet(chat) || parser.isSet(o.test);
    const QString misplaced = QStringLiteral("-q, --format and --disable belong with --check; --seed and --property "
                                             "with --chat or --test; --trace with --chat.");
    if ((!parser.isSet(check) && (parser.isSet(quiet) || parser.isSet(o.format) || parser.isSet(o.disable)))
        || ((parser.isSet(seed) || parser.isSet(o.property)) && !botMode)
        || (parser.isSet(trace) && !parser.isSet(chat)))
        return invalid(misplaced);
    if (botMode) {
        if (parser.isSet(seed)) {
            bool ok = false;
            result.seed = parser.value(seed).toUInt(&ok);
            if (!ok)
                return invalid(QStringLiteral("--seed needs a whole number from 0 to 4294967295."));
        }
        for (const QString &value : parser.values(o.property)) {
            const qsizetype eq = value.indexOf(QLatin1Char('='));
            if (eq <= 0)
                return invalid(QStringLiteral("--property needs NAME=VALUE."));
            result.properties.append({ value.first(eq).trimmed(), value.sliced(eq + 1) });
        }
    }
    if (parser.isSet(check)) {
        if (result.files.isEmpty())
            return invalid(QStringLiteral("--check needs at least one FILE."));
        result.mode = CommandLine::Mode::Check;
        result.quiet = parser.isSet(quiet);
        const auto format = checkFormatNamed(parser.value(o.format));
        if (!format)
            return invalid(QStringLiteral("--format is gcc, json or sarif."));
        result.checkFormat = *format;
        for (const QString &value : parser.values(o.disable))
            result.disabledCodes += value.split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (const auto refusal = disableRefusal(result.disabledCodes))
            return invalid(*refusal);
        return result;
    }
    if (parser.isSet(chat)) {
        if (result.files.isEmpty())
            return invalid(QStringLiteral("--chat needs at least one FILE."));
        result.mode = CommandLine::Mode::Chat;
        result.trace = parser.isSet(trace);
        return result;
    }
    if (parser.isSet(o.test)) {
        if (result.files.size() < 2)
            return invalid(QStringLiteral("--test needs the CASES file and at least one FILE of the bot."));
        result.mode = CommandLine::Mode::Test;
        return result;
    }
    if (result.files.size() > 1)
        return invalid(QStringLiteral("Only one FILE can be opened at a time."));
    return result;
}

int runConsoleMode(const CommandLine &commandLine, QTextStream &in, QTextStream &out, QTextStream &err)
{
    switch (commandLine.mode) {
    case CommandLine::Mode::Help:
        out << helpText();
        return 0;
    case CommandLine::Mode::Version:
        out << kProgramName << ' ' << VORREL_VERSION << '\n'
            << kMainCaption << ", an editor for AIML 1.0 chat bot documents.\n"
            << "Copyright (C) 2026 Cendaro.\n"
            << "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
            << "This is free software: you are free to change and redistribute it.\n"
            << "There is NO WARRANTY, to the extent permitted by law.\n";
        return 0;
    case CommandLine::Mode::Check:
        return runCheck(commandLine, in, out, err);
    case CommandLine::Mode::Chat:
        return runChatMode(commandLine, in, out, err);
    case CommandLine::Mode::Test:
        return runTestMode(commandLine, out, err);
    case CommandLine::Mode::Invalid:
        err << commandLine.error << '\n' << helpText();
        return kUsageError;
    case CommandLine::Mode::Window:
        break;
    }
    return kUsageError;
}

int runWindowMode(int &argc, char **argv, const CommandLine &commandLine)
{
    keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    nameApplication();
    // No display name: the window system would add it to every window's own caption.
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
