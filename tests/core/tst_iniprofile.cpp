// The settings file: reading values by the INI rules, and rewriting it so that every other line
// keeps its bytes, a failed write leaves the old file whole and says why, and a process killed
// while writing leaves one whole version.

#include "SaveHelpers.h"
#include "TestFiles.h"

#include "prefs/IniProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace vorrel;
using namespace vorrel::test;

namespace {

// "Section|Key|Value" as the tables spell a write.
QStringList splitWrite(const QString &write)
{
    QStringList parts = write.split(QLatin1Char('|'));
    while (parts.size() < 3)
        parts.append(QString());
    return parts;
}

// Bytes that hold no line end and no bracket, so they can never spell a line of their own.
QByteArray noise(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes) {
        do
            c = static_cast<char>(random.bounded(256));
        while (c == '\r' || c == '\n' || c == '[');
    }
    return bytes;
}

} // namespace

class TestIniProfile final : public QObject
{
    Q_OBJECT

private slots:
    void readInteger_data();
    void readInteger();
    void readString_data();
    void readString();
    void readBool_data();
    void readBool();
    void randomBytes();
    void largeFiles();
    void writer_data();
    void writer();
    void unwritable_data();
    void unwritable();
    void unreadable();
    void throughLink();
    void killedWhileWriting();
};

void TestIniProfile::readInteger_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("expected");

    QTest::newRow("decimal") << QByteArray("[Font]\r\nSize=12\r\n") << 12;
    QTest::newRow("other letter case") << QByteArray("[fONT]\r\nsIZE=12\r\n") << 12;
    QTest::newRow("blanks around names") << QByteArray("[ Font ]\r\n  Size = 12\r\n") << 12;
    QTest::newRow("negative") << QByteArray("[Font]\r\nSize=-7\r\n") << -7;
    QTest::newRow("plus sign") << QByteArray("[Font]\r\nSize=+7\r\n") << 7;
    QTest::newRow("dollar hex") << QByteArray("[Font]\r\nSize=$10\r\n") << 16;
    QTest::newRow("0x hex") << QByteArray("[Font]\r\nSize=0x1A\r\n") << 26;
    QTest::newRow("leading blank") << QByteArray("[Font]\r\nSize= 12\r\n") << 12;
    QTest::newRow("LF only") << QByteArray("[Font]\nSize=13\n") << 13;
    QTest::newRow("CR only") << QByteArray("[Font]\rSize=14\r") << 14;
    QTest::newRow("no final line end") << QByteArray("[Font]\r\nSize=15") << 15;
    QTest::newRow("first of two") << QByteArray("[Font]\r\nSize=16\r\nSize=17\r\n") << 16;
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf[Font]\r\nSize=19\r\n") << 19;
    QTest::newRow("section given twice") << QByteArray("[Font]\r\nName=x\r\n[Other]\r\n[font]\r\nSize=18\r\n") << 18;
    // Everything below is no number, or no key, and gives the default.
    QTest::newRow("trailing letters") << QByteArray("[Font]\r\nSize=12pt\r\n") << 99;
    QTest::newRow("word") << QByteArray("[Font]\r\nSize=big\r\n") << 99;
    QTest::newRow("empty value") << QByteArray("[Font]\r\nSize=\r\n") << 99;
    QTest::newRow("dollar alone") << QByteArray("[Font]\r\nSize=$\r\n") << 99;
    QTest::newRow("too large") << QByteArray("[Font]\r\nSize=99999999999\r\n") << 99;
    QTest::newRow("other section") << QByteArray("[Preferences]\r\nSize=12\r\n") << 99;
    QTest::newRow("before any section") << QByteArray("Size=12\r\n[Font]\r\n") << 99;
    QTest::newRow("commented out") << QByteArray("[Font]\r\n;Size=12\r\n") << 99;
    QTest::newRow("no equals sign") << QByteArray("[Font]\r\nSize 12\r\n") << 99;
    QTest::newRow("unclosed section") << QByteArray("[Font\r\nSize=12\r\n") << 99;
    QTest::newRow("empty file") << QByteArray() << 99;
}

void TestIniProfile::readInteger()
{
    QFETCH(QByteArray, file);
    QFETCH(int, expected);
    QCOMPARE(IniProfile::fromBytes(file).readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 99), expected);
}

void TestIniProfile::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");

    QTest::newRow("as stored") << QByteArray("[Font]\r\nName=Lucida Console\r\n") << QStringLiteral("Lucida Console");
    QTest::newRow("blanks trimmed") << QByteArray("[Font]\r\nName=  Courier New  \r\n")
                                    << QStringLiteral("Courier New");
    QTest::newRow("present but empty") << QByteArray("[Font]\r\nName=\r\n") << QString();
    QTest::newRow("equals sign in value") << QByteArray("[Font]\r\nName=a=b\r\n") << QStringLiteral("a=b");
    QTest::newRow("missing") << QByteArray("[Font]\r\nSize=3\r\n") << QStringLiteral("fallback");
    QTest::newRow("UTF-8 line") << QByteArray("[Font]\r\nName=Caf\xC3\xA9\r\n") << QStringLiteral("Caf\u00E9");
    QTest::newRow("Latin-1 line") << QByteArray("[Font]\r\nName=Caf\xE9\r\n") << QStringLiteral("Caf\u00E9");
    // Only ASCII blanks are blanks.
    QTest::newRow("tabs trimmed") << QByteArray("[Font]\r\n\tName\t=\tCourier\t\r\n") << QStringLiteral("Courier");
    QTest::newRow("no-break spaces kept in the value") << QByteArray("[Font]\r\nName=\xC2\xA0"
                                                                     "Caf\xC3\xA9\xC2\xA0\r\n")
                                                       << QStringLiteral("\u00A0Caf\u00E9\u00A0");
    QTest::newRow("key with a no-break space is another key")
        << QByteArray("[Font]\r\nName\xA0=x\r\n") << QStringLiteral("fallback");
    QTest::newRow("section with a no-break space is another section")
        << QByteArray("[Font\xC2\xA0]\r\nName=x\r\n") << QStringLiteral("fallback");
}

void TestIniProfile::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    const QString value = IniProfile::fromBytes(file).readString(
        QStringLiteral("Font"), QStringLiteral("Name"), QStringLiteral("fallback"));
    QCOMPARE(value, expected);
}

void TestIniProfile::readBool_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<bool>("expected");

    QTest::newRow("0") << QByteArray("0") << true << false;
    QTest::newRow("1") << QByteArray("1") << false << true;
    QTest::newRow("2 is on") << QByteArray("2") << false << true;
    QTest::newRow("-1 is on") << QByteArray("-1") << false << true;
    QTest::newRow("yes gives default on") << QByteArray("yes") << true << true;
    QTest::newRow("yes gives default off") << QByteArray("yes") << false << false;
    QTest::newRow("empty gives default") << QByteArray("") << true << true;
}

void TestIniProfile::readBool()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, fallback);
    QFETCH(bool, expected);
    const IniProfile ini = IniProfile::fromBytes("[Preferences]\r\nDlg=" + value + "\r\n");
    QCOMPARE(ini.readBool(QStringLiteral("Preferences"), QStringLiteral("Dlg"), fallback), expected);
}

void TestIniProfile::randomBytes()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("opts.ini"));
    // Random bytes around one good section; their own line ends are mixed on purpose.
    QByteArray junk = noise(40000, 7);
    for (int i = 500; i < junk.size(); i += 997)
        junk[i] = (i / 997) % 2 ? '\n' : '\r';
    QVERIFY(writeFile(fileName, junk + "\r\n[Font]\r\nSize=33\r\n" + junk));

    const IniProfile ini = IniProfile::load(fileName);
    QCOMPARE(ini.readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 10), 33);
    QCOMPARE(ini.readString(QStringLiteral("Font"), QStringLiteral("Name"), QStringLiteral("x")), QStringLiteral("x"));

    // Rewriting it changes that one line and keeps every other line's bytes.
    QVERIFY(writeProfileString(QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("44"), fileName));
    const QByteArray after = readFile(fileName);
    const QByteArray expected = junk + "\r\n[Font]\r\nSize=44\r\n" + junk;
    QCOMPARE(after.size(), expected.size());
    QVERIFY(after == expected);

    // Whatever the bytes, lines and line ends of every kind, reading and writing back is exact.
    static constexpr char kAlphabet[] = "\r\n\r\n= [];aZ\t\xA0\xC3\xA9\x00";
    QRandomGenerator random(11);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(random.bounded(200), Qt::Uninitialized);
        for (char &c : bytes)
            c = kAlphabet[random.bounded(int(sizeof kAlphabet - 1))];
        QVERIFY2(IniProfile::fromBytes(bytes).toBytes() == bytes, bytes.toHex().constData());
    }
}

void TestIniProfile::largeFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("opts.ini"));
    const QByteArray head = "[Font]\r\nSize=12\r\n";

    // A big file of comments is still read.
    QByteArray comments;
    while (comments.size() < 900 * 1024)
        comments += ";" + QByteArray(78, 'c') + "\r\n";
    QVERIFY(writeFile(fileName, head + comments));
    QCOMPARE(IniProfile::load(fileName).readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 10), 12);

    // An enormous one is no settings file: it reads as defaults and is never rewritten, since
    // writing it back whole was never possible.
    const QByteArray enormous = head + QByteArray(3 * 1024 * 1024, ';') + "\r\n";
    QVERIFY(writeFile(fileName, enormous));
    QCOMPARE(IniProfile::load(fileName).readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 10), 10);
    QVERIFY(!writeProfileString(QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("9"), fileName));
    QVERIFY(readFile(fileName) == enormous);

    // A device without end is read no further than a settings file can be long.
    QVERIFY(IniProfile::load(QStringLiteral("/dev/zero")).lines().isEmpty());
}

void TestIniProfile::writer_data()
{
    QTest::addColumn<QByteArray>("before"); // a null array: no file at all
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<QByteArray>("after");

    const QStringList seven = {
        QStringLiteral("Font|Name|Lucida Console"),
        QStringLiteral("Font|Size|10"),
        QStringLiteral("Preferences|SCC|0"),
        QStringLiteral("Preferences|Comments|1"),
        QStringLiteral("Preferences|InitDir|C:\\"),
        QStringLiteral("Preferences|Dlg|1"),
        QStringLiteral("Preferences|UCase|1"),
    };
    QTest::newRow("from nothing") << QByteArray() << seven
                                  << QByteArray("[Font]\r\nName=Lucida Console\r\nSize=10\r\n[Preferences]\r\nSCC=0\r\n"
                                                "Comments=1\r\nInitDir=C:\\\r\nDlg=1\r\nUCase=1\r\n");
    QTest::newRow("empty file") << QByteArray("") << QStringList { QStringLiteral("Preferences|Dlg|0") }
                                << QByteArray("[Preferences]\r\nDlg=0\r\n");
    QTest::newRow("byte order mark kept, section found")
        << QByteArray("\xef\xbb\xbf[Font]\r\nSize=14\r\n") << QStringList { QStringLiteral("Font|Size|9") }
        << QByteArray("\xef\xbb\xbf[Font]\r\nSize=9\r\n");

    QTest::newRow("in place, other lines kept")
        << QByteArray("; my settings\r\n[Font]\r\nName=Arial\r\nColor=red\r\nSize=8\r\n\r\n[Other]\r\nx=1\r\n"
                      "[Preferences]\r\n; note\r\nSCC=1\r\nComments=0\r\nInitDir=/tmp\r\nDlg=0\r\nUCase=0\r\n\r\n")
        << seven
        << QByteArray("; my settings\r\n[Font]\r\nName=Lucida Console\r\nColor=red\r\nSize=10\r\n\r\n[Other]\r\nx=1\r\n"
                      "[Preferences]\r\n; note\r\nSCC=0\r\nComments=1\r\nInitDir=C:\\\r\nDlg=1\r\nUCase=1\r\n\r\n");
    QTest::newRow("key missing") << QByteArray("[Font]\r\nName=Arial\r\n\r\n[Preferences]\r\nDlg=0\r\n")
                                 << QStringList { QStringLiteral("Font|Size|12"),
                                        QStringLiteral("Preferences|UCase|0") }
                                 << QByteArray(
                                        "[Font]\r\nName=Arial\r\nSize=12\r\n\r\n[Preferences]\r\nDlg=0\r\nUCase=0\r\n");
    QTest::newRow("section missing")
        << QByteArray("[Font]\r\nName=Arial\r\n[Other]\r\ny=2\r\n")
        << QStringList { QStringLiteral("Preferences|SCC|1"), QStringLiteral("Preferences|Dlg|0") }
        << QByteArray("[Font]\r\nName=Arial\r\n[Other]\r\ny=2\r\n[Preferences]\r\nSCC=1\r\nDlg=0\r\n");
    QTest::newRow("empty section gets the key")
        << QByteArray("[Preferences]\r\n[Font]\r\n") << QStringList { QStringLiteral("Preferences|Dlg|1") }
        << QByteArray("[Preferences]\r\nDlg=1\r\n[Font]\r\n");
    QTest::newRow("other letter case") << QByteArray("[FONT]\r\nNAME=Arial\r\n[preferences]\r\ninitdir=/a\r\n")
                                       << QStringList { QStringLiteral("Font|Name|Courier"),
                                              QStringLiteral("Preferences|InitDir|/b") }
                                       << QByteArray("[FONT]\r\nNAME=Courier\r\n[preferences]\r\ninitdir=/b\r\n");
    QTest::newRow("blanks around the key kept")
        << QByteArray("[Font]\r\n  Name = Arial\r\n") << QStringList { QStringLiteral("Font|Name|Courier") }
        << QByteArray("[Font]\r\n  Name =Courier\r\n");
    QTest::newRow("equals sign in value")
        << QByteArray("[Font]\r\nName=x=y\r\n")
        << QStringList { QStringLiteral("Font|Name|a=b"), QStringLiteral("Font|Size|=") }
        << QByteArray("[Font]\r\nName=a=b\r\nSize==\r\n");
    QTest::newRow("empty value") << QByteArray("[Preferences]\r\nInitDir=/a\r\n")
                                 << QStringList { QStringLiteral("Preferences|InitDir|") }
                                 << QByteArray("[Preferences]\r\nInitDir=\r\n");
    QTest::newRow("no final line end") << QByteArray("[Preferences]\r\nDlg=0")
                                       << QStringList { QStringLiteral("Preferences|UCase|1") }
                                       << QByteArray("[Preferences]\r\nDlg=0\r\nUCase=1\r\n");
    QTest::newRow("no final line end, in place")
        << QByteArray("[Preferences]\r\nDlg=0") << QStringList { QStringLiteral("Preferences|Dlg|1") }
        << QByteArray("[Preferences]\r\nDlg=1\r\n");
    QTest::newRow("LF lines stay LF") << QByteArray("; c\n[Font]\nName=Arial\n")
                                      << QStringList { QStringLiteral("Font|Size|9") }
                                      << QByteArray("; c\n[Font]\nName=Arial\nSize=9\n");
    QTest::newRow("lone CR lines stay") << QByteArray("[Font]\rName=Arial\r[Preferences]\rDlg=0\r")
                                        << QStringList { QStringLiteral("Preferences|Dlg|1"),
                                               QStringLiteral("Font|Size|9") }
                                        << QByteArray("[Font]\rName=Arial\rSize=9\r[Preferences]\rDlg=1\r");
    QTest::newRow("mixed line ends stay, new lines take the first")
        << QByteArray("; a\r\n[Font]\nName=Arial\rSize=8\n")
        << QStringList { QStringLiteral("Font|Size|9"), QStringLiteral("Font|Color|red") }
        << QByteArray("; a\r\n[Font]\nName=Arial\rSize=9\nColor=red\r\n");
    QTest::newRow("key with a no-break space kept")
        << QByteArray("[Font]\r\nName\xA0=x\r\n") << QStringList { QStringLiteral("Font|Name|Courier") }
        << QByteArray("[Font]\r\nName\xA0=x\r\nName=Courier\r\n");
    QTest::newRow("UTF-8 lines kept") << QByteArray("; caf\xC3\xA9\r\n[Font]\r\nName=Caf\xC3\xA9 \xC2\xA0\r\n")
                                      << QStringList { QStringLiteral("Font|Size|9") }
                                      << QByteArray(
                                             "; caf\xC3\xA9\r\n[Font]\r\nName=Caf\xC3\xA9 \xC2\xA0\r\nSize=9\r\n");
    QTest::newRow("tabs around the key kept")
        << QByteArray("[Font]\r\n\tName\t=Arial\r\n") << QStringList { QStringLiteral("Font|Name|Courier") }
        << QByteArray("[Font]\r\n\tName\t=Courier\r\n");
    QTest::newRow("Latin-1 line rewritten in UTF-8")
        << QByteArray("[Font]\r\nName=Caf\xE9\r\n") << QStringList { QStringLiteral("Font|Name|Caf\u00E9s") }
        << QByteArray("[Font]\r\nName=Caf\xC3\xA9s\r\n");
    QTest::newRow("Latin-1 bytes of other lines kept")
        << QByteArray("; caf\xE9\r\n[Font]\r\nName=Caf\xE9\r\n") << QStringList { QStringLiteral("Font|Size|9") }
        << QByteArray("; caf\xE9\r\n[Font]\r\nName=Caf\xE9\r\nSize=9\r\n");
    QTest::newRow("value beyond Latin-1")
        << QByteArray() << QStringList { QStringLiteral("Preferences|InitDir|/home/\u4E2D\u6587 dir") }
        << QByteArray("[Preferences]\r\nInitDir=/home/\xE4\xB8\xAD\xE6\x96\x87 dir\r\n");
}

void TestIniProfile::writer()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("opts.ini"));
    if (!before.isNull())
        QVERIFY(writeFile(fileName, before));

    {
        // The settings are the user's alone, whatever the umask and the old file's bits.
        const ScopedUmask open(0);
        for (const QString &write : std::as_const(writes)) {
            const QStringList w = splitWrite(write);
            QVERIFY2(writeProfileString(w[0], w[1], w[2], fileName), qPrintable(write));
        }
    }
    QCOMPARE(readFile(fileName), after);
    QCOMPARE(modeOf(fileName), 0600);

    // Whatever was written reads back as it was given.
    const IniProfile ini = IniProfile::load(fileName);
    for (const QString &write : std::as_const(writes)) {
        const QStringList w = splitWrite(write);
        QCOMPARE(ini.readString(w[0], w[1], QStringLiteral("missing")), w[2]);
    }
}

void TestIniProfile::unwritable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    QTest::newRow("folder below a regular file")
        << QStringLiteral("parent is a file") << QStringLiteral("Not a directory");
    QTest::newRow("opts.ini is a folder") << QStringLiteral("folder") << QStringLiteral("Is a directory");
    QTest::newRow("larger than a settings file")
        << QStringLiteral("oversized") << QStringLiteral("The file is larger than 1 MiB");
    // Neither may block or be read: nothing would ever end them.
    QTest::newRow("FIFO") << QStringLiteral("fifo") << QStringLiteral("Not a regular file");
    QTest::newRow("link to a device") << QStringLiteral("device") << QStringLiteral("Not a regular file");
    QTest::newRow("line break in the value")
        << QStringLiteral("line break") << QStringLiteral("The value holds a line break");
    // Reading trims them: the folder "/srv/aiml " would come back as "/srv/aiml".
    QTest::newRow("blank at the value's end")
        << QStringLiteral("edge blank") << QStringLiteral("The value starts or ends with a blank");
}

void TestIniProfile::unwritable()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QByteArray existing = "[Font]\r\nName=Arial\r\nSize=8\r\n";
    QString fileName = dir.filePath(QStringLiteral("opts.ini"));
    const QByteArray path = QFile::encodeName(fileName);
    QString value = QStringLiteral("Courier");

    if (kind == QLatin1String("parent is a file")) {
        QVERIFY(writeFile(dir.filePath(QStringLiteral("file")), existing));
        fileName = dir.filePath(QStringLiteral("file/opts.ini"));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("opts.ini")));
    } else if (kind == QLatin1String("oversized")) {
        existing += QByteArray(1024 * 1024, ';');
        QVERIFY(writeFile(fileName, existing));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(path.constData(), 0644), 0);
    } else if (kind == QLatin1String("device")) {
        QCOMPARE(::symlink("/dev/zero", path.constData()), 0);
    } else {
        QVERIFY(writeFile(fileName, existing));
        value = kind == QLatin1String("edge blank") ? QStringLiteral("/srv/aiml ")
                                                    : QStringLiteral("Courier\r\n[Preferences]\r\nDlg=0");
    }
    const QStringList before = folderEntries(dir.path());

    // Started from a read that cannot be had, the dialog learns why before it writes anything.
    QString readReason;
    if (kind != QLatin1String("line break") && kind != QLatin1String("edge blank")) {
        QVERIFY(!IniProfile::loadForWriting(fileName, &readReason));
        QCOMPARE(readReason, reason);
        QVERIFY(IniProfile::load(fileName).lines().isEmpty());
    }
    QString writeReason;
    QVERIFY(!writeProfileString(QStringLiteral("Font"), QStringLiteral("Name"), value, fileName, &writeReason));
    QCOMPARE(writeReason, reason);

    // Nothing truncated, replaced or half-written, and no temporary file left behind.
    QCOMPARE(folderEntries(dir.path()), before);
    if (kind == QLatin1String("parent is a file")) {
        QVERIFY(readFile(dir.filePath(QStringLiteral("file"))) == existing);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QFileInfo(fileName).isDir());
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(QFileInfo(fileName).isFile() == false && QFileInfo(fileName).exists());
    } else if (kind == QLatin1String("device")) {
        QCOMPARE(QFileInfo(fileName).symLinkTarget(), QStringLiteral("/dev/zero"));
    } else {
        QVERIFY(readFile(fileName) == existing);
    }
}

void TestIniProfile::unreadable()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QFile::setPermissions(dir.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
            | QFile::ExeGroup));
    const QString fileName = dir.filePath(QStringLiteral("opts.ini"));
    QVERIFY(writeFile(fileName, "[Font]\r\nSize=8\r\n"));
    QCOMPARE(::chmod(QFile::encodeName(fileName).constData(), 0), 0);

    const std::optional<HelperRun> run = runHelperUnprivileged({ QStringLiteral("read-ini"), fileName });
    if (!run)
        QSKIP("running as root, and no way here to run the helper as another user");
    QCOMPARE(run->out, QByteArray("failed: Permission denied\n"));
}

void TestIniProfile::throughLink()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("opts.ini"));
    const QString target = dir.filePath(QStringLiteral("shared.ini"));
    QVERIFY(writeFile(target, "[Font]\r\nSize=8\r\n"));
    QCOMPARE(::symlink("shared.ini", QFile::encodeName(link).constData()), 0);

    QString reason;
    std::optional<IniProfile> profile = IniProfile::loadForWriting(link, &reason);
    QVERIFY2(profile, qPrintable(reason));
    QVERIFY(profile->writeString(QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("9")));
    QVERIFY2(profile->save(link, &reason), qPrintable(reason));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readFile(target), QByteArray("[Font]\r\nSize=9\r\n"));
    QCOMPARE(folderEntries(dir.path()), (QStringList { QStringLiteral("opts.ini"), QStringLiteral("shared.ini") }));
}

void TestIniProfile::killedWhileWriting()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("opts.ini"));
    // Lines of the user's own around the seven keys, which every OK rewrites at once.
    const QByteArray initial = "; mine\r\n[Font]\r\nName=Arial\r\nName\xA0=x\r\nSize=8\r\n\r\n[Other]\rcaf\xE9=1\r"
                               "[Preferences]\nSCC=1\nComments=0\nInitDir=/\nDlg=0\nUCase=0\nlast=no line end";
    QByteArray versions[2];
    for (int i = 0; i < 2; ++i) {
        IniProfile profile = IniProfile::fromBytes(initial);
        writeOptionsVersion(profile, i);
        versions[i] = profile.toBytes();
    }
    QVERIFY(versions[0] != versions[1]);
    QVERIFY(writeFile(fileName, initial));

    QRandomGenerator random(20261209);
    constexpr int kRounds = 24;
    int windowHits = 0;
    for (int round = 0; round < kRounds; ++round) {
        const QString failed = killWhileSaving({ QStringLiteral("options-loop"), fileName }, random, 30);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        const QByteArray bytes = readFile(fileName);
        QVERIFY2(bytes == versions[0] || bytes == versions[1],
            qPrintable(QStringLiteral("round %1: %2").arg(round).arg(QString::fromLatin1(bytes))));
        // Only a kill between naming the finished temporary file and the rename leaves one.
        for (const QString &name : folderEntries(dir.path())) {
            if (name == QLatin1String("opts.ini"))
                continue;
            const QByteArray left = readFile(dir.filePath(name));
            QVERIFY2(left == versions[0] || left == versions[1],
                qPrintable(QStringLiteral("round %1: %2 left behind").arg(round).arg(name)));
            QVERIFY(QFile::remove(dir.filePath(name)));
            ++windowHits;
        }
    }
    qInfo("%d of %d kills struck between naming the temporary file and the rename", windowHits, kRounds);
    // That window is a few system calls long; a temporary named any earlier would be hit often.
    QVERIFY2(windowHits <= kRounds / 4, qPrintable(QString::number(windowHits)));
}

QTEST_GUILESS_MAIN(TestIniProfile)
#include "tst_iniprofile.moc"
