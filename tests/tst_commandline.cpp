// The program's command line: what each set of arguments asks for, and the modes without
// windows run as a process with no display at all.

#include "MainFormFixture.h"

#include "app/CommandLine.h"
#include "app/Main.h"
#include "app/Splash.h"
#include "base/ProgramFiles.h"
#include "document/Document.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace vorrel;
using namespace vorrel::test;

namespace {

const QByteArray kBot = "<?xml version=\"1.0\"?>\n<aiml version=\"1.0\">\n"
                        "<category><pattern>HI *</pattern><template>Hello <star/>!</template></category>\n"
                        "<category><pattern>PICK</pattern><template><random><li>one</li><li>two</li>"
                        "<li>three</li></random></template></category>\n"
                        "<category><pattern>hello</pattern><template/></category>\n"
                        "</aiml>\n";

struct Run
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// The program with no display: a window would fail to start, so only a console mode can pass.
// `home` stands in for the user's home folder.
Run run(const QStringList &arguments, const QByteArray &input = QByteArray(),
    const QString &program = QStringLiteral(VORREL_PROGRAM), const QString &home = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (!home.isEmpty()) {
        environment.insert(QStringLiteral("HOME"), home);
        environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    }
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    Run result;
    if (!process.waitForFinished(30000))
        return result;
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace

class TestCommandLine final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parsing_data();
    void parsing();
    void versionAndHelp();
    void check();
    void chat();
    void wholeBot();
    void programFilesFound_data();
    void programFilesFound();
    void settingsFolderChosen();
    void installedKeepsSettingsInConfigFolder();
    void fileAtStart();
    void unreadableFileAtStart();

private:
    QTemporaryDir m_dir;
    QString m_bot;
};

void TestCommandLine::initTestCase()
{
    m_bot = m_dir.filePath(QStringLiteral("bot.aiml"));
    QVERIFY(writeFile(m_bot, kBot));
}

void TestCommandLine::parsing_data()
{
    using M = CommandLine::Mode;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<M>("mode");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("nothing") << QStringList() << M::Window << QStringList();
    QTest::newRow("a file") << QStringList { "a.aiml" } << M::Window << QStringList { "a.aiml" };
    QTest::newRow("two files") << QStringList { "a.aiml", "b.aiml" } << M::Invalid << QStringList();
    QTest::newRow("help") << QStringList { "--help" } << M::Help << QStringList();
    QTest::newRow("version") << QStringList { "-v" } << M::Version << QStringList();
    QTest::newRow("check") << QStringList { "--check", "a", "b" } << M::Check << QStringList { "a", "b" };
    QTest::newRow("check nothing") << QStringList { "--check" } << M::Invalid << QStringList();
    QTest::newRow("chat") << QStringList { "--chat", "a", "--seed", "7" } << M::Chat << QStringList { "a" };
    QTest::newRow("chat two") << QStringList { "--chat", "a", "b" } << M::Chat << QStringList { "a", "b" };
    QTest::newRow("chat nothing") << QStringList { "--chat" } << M::Invalid << QStringList();
    QTest::newRow("test") << QStringList { "--test", "cases", "a", "--property", "master=Ann", "--seed", "2" }
                          << M::Test << QStringList { "cases", "a" };
    QTest::newRow("test without a bot") << QStringList { "--test", "cases" } << M::Invalid << QStringList();
    QTest::newRow("trace with test") << QStringList { "--test", "c", "a", "--trace" } << M::Invalid << QStringList();
    QTest::newRow("property with check") << QStringList { "--check", "a", "--property", "a=b" } << M::Invalid
                                         << QStringList();
    QTest::newRow("property without value")
        << QStringList { "--chat", "a", "--property", "master" } << M::Invalid << QStringList();
    QTest::newRow("bad seed") << QStringList { "--chat", "a", "--seed", "x" } << M::Invalid << QStringList();
    QTest::newRow("quiet alone") << QStringList { "-q", "a" } << M::Invalid << QStringList();
    QTest::newRow("seed with check") << QStringList { "--check", "a", "--seed", "3" } << M::Invalid << QStringList();
    QTest::newRow("quiet with chat") << QStringList { "--chat", "a", "-q" } << M::Invalid << QStringList();
    QTest::newRow("both modes") << QStringList { "--check", "--chat", "a" } << M::Invalid << QStringList();
    QTest::newRow("check standard input")
        << QStringList { "--check", "-", "--format", "sarif" } << M::Check << QStringList { "-" };
    QTest::newRow("unknown format") << QStringList { "--check", "a", "--format", "xml" } << M::Invalid << QStringList();
    QTest::newRow("format without check") << QStringList { "--format", "json", "a" } << M::Invalid << QStringList();
    QTest::newRow("disable") << QStringList { "--check", "a", "--disable", "duplicate,srai-target", "--disable",
        "empty-template" } << M::Check
                             << QStringList { "a" };
    QTest::newRow("disable an unknown code")
        << QStringList { "--check", "a", "--disable", "duplicates" } << M::Invalid << QStringList();
    QTest::newRow("disable what no parser reads")
        << QStringList { "--check", "a", "--disable", "encoding" } << M::Invalid << QStringList();
    QTest::newRow("unknown") << QStringList { "--frobnicate" } << M::Invalid << QStringList();
}

void TestCommandLine::parsing()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Mode, mode);
    QFETCH(QStringList, files);
    const CommandLine line = parseCommandLine(QStringList { QStringLiteral("aimlvorrel") } + arguments);
    QCOMPARE(line.mode, mode);
    if (mode != CommandLine::Mode::Invalid)
        QCOMPARE(line.files, files);
    else
        QVERIFY(!line.error.isEmpty());
}

void TestCommandLine::versionAndHelp()
{
    const Run version = run({ QStringLiteral("--version") });
    QCOMPARE(version.code, 0);
    // The program's name and version on the first line, as scripts and packagers expect.
    QVERIFY2(version.out.startsWith("aimlvorrel " VORREL_VERSION "\n"), version.out.constData());
    const Run help = run({ QStringLiteral("--help") });
    QCOMPARE(help.code, 0);
    for (const char *option :
        { "--check", "--chat", "--seed", "--trace", "--quiet", "--format", "--disable", "--version", "FILE" })
        QVERIFY2(help.out.contains(option), option);
    const Run wrong = run({ QStringLiteral("--frobnicate") });
    QCOMPARE(wrong.code, 2);
    QVERIFY(wrong.err.contains("frobnicate"));

    // Output that cannot be written is a failure, not a clean run.
    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        QProcess full;
        full.setStandardOutputFile(QStringLiteral("/dev/full"));
        full.start(QStringLiteral(VORREL_PROGRAM), { QStringLiteral("--version") });
        QVERIFY(full.waitForFinished(30000));
        QCOMPARE(full.exitCode(), 2);
        QVERIFY(full.readAllStandardError().contains("Cannot write to standard output."));
    }
}

void TestCommandLine::check()
{
    const QString broken = m_dir.filePath(QStringLiteral("broken.aiml"));
    QVERIFY(writeFile(broken, "<aiml>\n<category><pattern>A</pattern></category>\n"));
    const Run warnings = run({ QStringLiteral("--check"), m_bot });
    QCOMPARE(warnings.code, 0);
    // Compiler style: FILE:LINE:COLUMN: severity: message [code].
    QVERIFY2(warnings.out.startsWith(m_bot.toUtf8() + ":5:"), warnings.out.constData());
    QVERIFY2(
        warnings.out.contains(": warning: ") && warnings.out.contains("[pattern-syntax]"), warnings.out.constData());

    const Run errors = run({ QStringLiteral("--check"), m_bot, broken });
    QCOMPARE(errors.code, 1);
    QVERIFY(errors.out.contains(broken.toUtf8() + ":") && errors.out.contains(": error: "));
    const Run quiet = run({ QStringLiteral("--check"), QStringLiteral("-q"), m_bot, broken });
    QCOMPARE(quiet.code, 1);
    QVERIFY(!quiet.out.contains(": warning: "));
    QVERIFY(quiet.out.contains(": error: "));

    const Run missing = run({ QStringLiteral("--check"), broken, m_dir.filePath(QStringLiteral("none.aiml")) });
    QCOMPARE(missing.code, 2);
    QVERIFY(missing.err.contains("none.aiml"));

    // Standard input, as JSON, silenced codes left out of the count.
    const Run piped = run({ QStringLiteral("--check"), QStringLiteral("-"), QStringLiteral("--format"),
                              QStringLiteral("json"), QStringLiteral("--disable"), QStringLiteral("pattern-syntax") },
        kBot + "<aiml/>");
    QCOMPARE(piped.code, 1);
    const QJsonArray problems = QJsonDocument::fromJson(piped.out).array();
    QCOMPARE(problems.size(), 2);
    QCOMPARE(problems[0][u"file"].toString(), QStringLiteral("-"));
    QCOMPARE(problems[0][u"code"].toString(), QStringLiteral("empty-template"));
    QCOMPARE(problems[1][u"severity"].toString(), QStringLiteral("error"));
    QCOMPARE(piped.err, QByteArray("1 file, 1 error, 1 warning\n"));
}

void TestCommandLine::chat()
{
    const QByteArray script = "hi bob. pick\nHello\nwhat now\n";
    const Run first = run(
        { QStringLiteral("--chat"), m_bot, QStringLiteral("--seed"), QStringLiteral("5"), QStringLiteral("--trace") },
        script);
    QCOMPARE(first.code, 0);
    const QList<QByteArray> replies = first.out.split('\n');
    QCOMPARE(replies.size(), 4);
    QVERIFY2(replies[0].startsWith("Hello BOB! "), replies[0].constData());
    QCOMPARE(replies[2], QByteArray("I cannot understand that, master!"));
    QVERIFY2(first.err.contains("Row 2: PICK") && first.err.contains("No category matched"), first.err.constData());
    // The same seed gives the same conversation.
    const Run again = run({ QStringLiteral("--chat"), m_bot, QStringLiteral("--seed"), QStringLiteral("5") }, script);
    QCOMPARE(again.out, first.out);

    const Run unreadable = run({ QStringLiteral("--chat"), m_dir.filePath(QStringLiteral("none.aiml")) });
    QCOMPARE(unreadable.code, 2);
    QVERIFY(!unreadable.err.isEmpty());
}

void TestCommandLine::wholeBot()
{
    // A folder is its *.aiml files in the order of their names: the later file's duplicate
    // answers, and a srai finds its target in the other file.
    QTemporaryDir folder;
    QVERIFY(writeFile(folder.filePath(QStringLiteral("a.aiml")), kBot));
    QVERIFY(writeFile(folder.filePath(QStringLiteral("b.aiml")),
        "<aiml>\n<category><pattern>HI *</pattern><template>Yo <bot name=\"master\"/>.</template></category>\n"
        "<category><pattern>GREET</pattern><template><srai>HI YOU</srai></template></category>\n</aiml>\n"));
    const Run check = run({ QStringLiteral("--check"), folder.path() });
    QCOMPARE(check.code, 0);
    QVERIFY2(!check.out.contains("srai-target"), check.out.constData());
    QVERIFY2(check.out.contains("b.aiml:2:1: warning: duplicate category: same pattern, that and topic as the category "
                                "on line 3 of "
                 + folder.filePath(QStringLiteral("a.aiml")).toUtf8()),
        check.out.constData());
    QVERIFY2(check.err.startsWith("2 files,"), check.err.constData());

    const Run chat = run({ QStringLiteral("--chat"), folder.path(), QStringLiteral("--property"),
                             QStringLiteral("master=Ann"), QStringLiteral("--trace") },
        "greet\npick\n");
    QCOMPARE(chat.code, 0);
    QVERIFY2(chat.out.startsWith("Yo Ann.\n"), chat.out.constData());
    QVERIFY2(chat.err.startsWith("b.aiml row 2: GREET\na.aiml row 2: PICK\n"), chat.err.constData());

    const QString cases = folder.filePath(QStringLiteral("cases.txt"));
    QVERIFY(writeFile(cases, "# the master\n> greet\nYo Ann.\n"));
    const Run passing = run(
        { QStringLiteral("--test"), cases, folder.path(), QStringLiteral("--property"), QStringLiteral("master=Ann") });
    QCOMPARE(passing.code, 0);
    QCOMPARE(passing.out, QByteArray());
    QCOMPARE(passing.err, QByteArray("1 exchange, 0 failed\n"));
    const Run failing = run({ QStringLiteral("--test"), cases, folder.path() });
    QCOMPARE(failing.code, 1);
    QCOMPARE(failing.out,
        cases.toUtf8() + ":2: error: expected \"Yo Ann.\", got \"Yo .\" ("
            + folder.filePath(QStringLiteral("b.aiml")).toUtf8() + ":3 GREET)\n");
    QCOMPARE(run({ QStringLiteral("--test"), folder.filePath(QStringLiteral("none.txt")), folder.path() }).code, 2);
}

void TestCommandLine::programFilesFound_data()
{
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("found");
    QTest::newRow("beside the program") << true << false << "bin";
    QTest::newRow("both: beside wins") << true << true << "bin";
    QTest::newRow("installed only") << false << true << "share";
    // Named where it was expected, so that a message says where to put it.
    QTest::newRow("nowhere") << false << false << "bin";
}

void TestCommandLine::programFilesFound()
{
    QFETCH(bool, beside);
    QFETCH(bool, installed);
    QFETCH(QString, found);
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")) && QDir(prefix.path()).mkpath(QStringLiteral("share")));
    if (beside)
        QVERIFY(writeFile(prefix.filePath(QStringLiteral("bin/template.dat")), "x"));
    if (installed)
        QVERIFY(writeFile(prefix.filePath(QStringLiteral("share/template.dat")), "x"));
    QCOMPARE(findProgramFile(QStringLiteral("template.dat"), prefix.filePath(QStringLiteral("bin")),
                 prefix.filePath(QStringLiteral("share"))),
        prefix.filePath(found + QStringLiteral("/template.dat")));
}

// The cases the installed program below does not meet: a copy with its files that it may not
// write beside, and no configuration folder at all.
void TestCommandLine::settingsFolderChosen()
{
    QTemporaryDir prefix;
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    const QString config = prefix.filePath(QStringLiteral("config"));
    QVERIFY(QDir().mkpath(bin) && writeFile(bin + QStringLiteral("/template.dat"), "x"));
    QCOMPARE(settingsFolder(bin, QString()), bin + QLatin1Char('/'));
    if (::geteuid() == 0)
        QSKIP("root may write into any folder");
    QCOMPARE(::chmod(QFile::encodeName(bin).constData(), 0500), 0);
    const auto restore = qScopeGuard([&] { ::chmod(QFile::encodeName(bin).constData(), 0700); });
    QCOMPARE(settingsFolder(bin, config), config + QLatin1Char('/'));
}

// The installed program, run as the user runs it: its settings folder is ~/.config/aimlvorrel,
// made the user's alone whatever the umask, and nothing is made beside the program; a copy with
// its program files beside it keeps its settings there.
void TestCommandLine::installedKeepsSettingsInConfigFolder()
{
    // Beside the program, so that a hard link can stand for an installed copy of it.
    QTemporaryDir prefix(
        QFileInfo(QStringLiteral(VORREL_PROGRAM)).absolutePath() + QStringLiteral("/installed-XXXXXX"));
    QVERIFY(prefix.isValid());
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    const QString home = prefix.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(bin) && QDir().mkpath(home));
    const QString program = bin + QStringLiteral("/aimlvorrel");
    if (::link(VORREL_PROGRAM, QFile::encodeName(program).constData()) != 0)
        QVERIFY(QFile::copy(QStringLiteral(VORREL_PROGRAM), program));
    const QString config = home + QStringLiteral("/.config");

    {
        const ScopedUmask open(0);
        QCOMPARE(run({ QStringLiteral("--check"), m_bot }, {}, program, home).code, 0);
    }
    QCOMPARE(modeOf(config), 0700);
    QCOMPARE(modeOf(config + QStringLiteral("/aimlvorrel")), 0700);
    QCOMPARE(QDir(bin).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { QStringLiteral("aimlvorrel") });

    QVERIFY(QDir(config).removeRecursively());
    QVERIFY(writeFile(bin + QStringLiteral("/template.dat"), "x"));
    QCOMPARE(run({ QStringLiteral("--check"), m_bot }, {}, program, home).code, 0);
    QVERIFY(!QFileInfo::exists(config));
}

void TestCommandLine::fileAtStart()
{
    ProgramDir dir(QByteArray("[Preferences]\r\nDlg=1\r\n"));
    TMainForm form;
    form.openAtStart(m_bot);
    form.Timer1Timer();
    QCOMPARE(form.path->text(), m_bot);
    QVERIFY(form.document()->DocHasFile() && !form.document()->DocChanged());
    // The file takes the welcome window's place.
    QVERIFY(!form.StartUp->isVisible());
}

void TestCommandLine::unreadableFileAtStart()
{
    ProgramDir dir(kQuietOpts);
    TMainForm form;
    form.openAtStart(m_dir.filePath(QStringLiteral("none.aiml")));
    QString box;
    ModalScript script({ readBox(&box) });
    form.Timer1Timer();
    QCOMPARE(script.seen(), QStringList { QStringLiteral("ErrorBox") });
    QVERIFY2(box.contains(QStringLiteral("none.aiml")), qPrintable(box));
    QVERIFY(!form.document()->isOpen());
    QVERIFY(!form.FileSaveItem->isEnabled());
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
