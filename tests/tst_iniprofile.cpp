// The settings file: reading values by the INI rules, and rewriting a file key by key so that
// every other line survives and a failed write leaves the old file whole.

#include "TestFiles.h"

#include "prefs/IniProfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

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
    const QByteArray expected = IniProfile::fromBytes(junk + "\r\n[Font]\r\nSize=44\r\n" + junk).toBytes();
    QCOMPARE(after.size(), expected.size());
    QVERIFY(after == expected);
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
    QTest::newRow("LF lines become CR LF")
        << QByteArray("; c\n[Font]\nName=Arial\n") << QStringList { QStringLiteral("Font|Size|9") }
        << QByteArray("; c\r\n[Font]\r\nName=Arial\r\nSize=9\r\n");
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

    for (const QString &write : std::as_const(writes)) {
        const QStringList w = splitWrite(write);
        QVERIFY2(writeProfileString(w[0], w[1], w[2], fileName), qPrintable(write));
    }
    QCOMPARE(readFile(fileName), after);

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
    QTest::newRow("folder below a regular file") << QStringLiteral("parent is a file");
    QTest::newRow("opts.ini is a folder") << QStringLiteral("folder");
    QTest::newRow("line break in the value") << QStringLiteral("line break");
}

void TestIniProfile::unwritable()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray existing = "[Font]\r\nName=Arial\r\nSize=8\r\n";
    QString fileName = dir.filePath(QStringLiteral("opts.ini"));
    QString value = QStringLiteral("Courier");

    if (kind == QLatin1String("parent is a file")) {
        QVERIFY(writeFile(dir.filePath(QStringLiteral("file")), existing));
        fileName = dir.filePath(QStringLiteral("file/opts.ini"));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("opts.ini")));
    } else {
        QVERIFY(writeFile(fileName, existing));
        value = QStringLiteral("Courier\r\n[Preferences]\r\nDlg=0");
    }

    QVERIFY(!writeProfileString(QStringLiteral("Font"), QStringLiteral("Name"), value, fileName));

    // Nothing truncated or half-written, and no temporary file left behind.
    if (kind == QLatin1String("parent is a file")) {
        QVERIFY(readFile(dir.filePath(QStringLiteral("file"))) == existing);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QFileInfo(fileName).isDir());
    } else {
        QVERIFY(readFile(fileName) == existing);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 1);
}

QTEST_APPLESS_MAIN(TestIniProfile)
#include "tst_iniprofile.moc"
