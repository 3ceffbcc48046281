// The atomic writer: what it keeps of the old file, what it refuses and why, how it reports
// each failing system call, and what a process killed while saving leaves behind.

#include "SaveHelpers.h"
#include "TestFiles.h"

#include "base/SafeWrite.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vorrel;
using namespace vorrel::test;

namespace {

const QByteArray kOld = "old contents\r\n";
const QByteArray kNew = "new contents\r\n";

struct stat statOf(const QString &fileName)
{
    struct stat st
    {
    };
    ::lstat(QFile::encodeName(fileName).constData(), &st);
    return st;
}

// Every path below the folder, relative to it, folders included.
QStringList tree(const QString &folder)
{
    QStringList paths;
    QDirIterator it(
        folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(QDir(folder).relativeFilePath(it.next()));
    paths.sort();
    return paths;
}

} // namespace

class TestSafeWrite final : public QObject
{
    Q_OBJECT

private slots:
    void keepsModeAndOwner_data();
    void keepsModeAndOwner();
    void newFileMode_data();
    void newFileMode();
    void symbolicLinks_data();
    void symbolicLinks();
    void linksInSharedFolders_data();
    void linksInSharedFolders();
    void hardLinks();
    void refused_data();
    void refused();
    void readOnlyFolder();
    void faults_data();
    void faults();
    void killedWhileSaving();
    void staleCopies_data();
    void staleCopies();
};

void TestSafeWrite::keepsModeAndOwner_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("owner"); // -1: the process's own

    QTest::newRow("read-only 0444") << 0444 << -1;
    QTest::newRow("private 0600") << 0600 << -1;
    QTest::newRow("executable 0755") << 0755 << -1;
    QTest::newRow("another user's 0640") << 0640 << 1234;
}

void TestSafeWrite::keepsModeAndOwner()
{
    QFETCH(int, mode);
    QFETCH(int, owner);
    if (owner >= 0 && ::geteuid() != 0)
        QSKIP("only root may give a file to another user");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("doc.aiml"));
    QVERIFY(writeFile(file, kOld));
    const QByteArray path = QFile::encodeName(file);
    QCOMPARE(::chmod(path.constData(), mode_t(mode)), 0);
    if (owner >= 0)
        QCOMPARE(::chown(path.constData(), uid_t(owner), gid_t(owner + 1)), 0);
    const struct stat before = statOf(file);

    const WriteResult result = writeFileAtomically(file, kNew);
    QVERIFY2(result.ok, qPrintable(result.reason));
    QCOMPARE(readFile(file), kNew);
    const struct stat after = statOf(file);
    QCOMPARE(int(after.st_mode & 07777), mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    // A replacement, not the old file written over.
    QVERIFY(after.st_ino != before.st_ino);
    QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("doc.aiml") });
}

void TestSafeWrite::newFileMode_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");

    QTest::newRow("umask 022") << 022 << 0644;
    QTest::newRow("umask 077") << 077 << 0600;
    QTest::newRow("umask 002") << 002 << 0664;
}

void TestSafeWrite::newFileMode()
{
    QFETCH(int, mask);
    QFETCH(int, mode);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("new.aiml"));
    const mode_t previous = ::umask(mode_t(mask));
    const auto restore = qScopeGuard([previous] { ::umask(previous); });

    const WriteResult result = writeFileAtomically(file, kNew);
    QVERIFY2(result.ok, qPrintable(result.reason));
    QCOMPARE(readFile(file), kNew);
    QCOMPARE(int(statOf(file).st_mode & 07777), mode);
    QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("new.aiml") });
}

void TestSafeWrite::symbolicLinks_data()
{
    QTest::addColumn<QStringList>("links"); // "name>target", made in this order; "@" is the folder
    QTest::addColumn<QString>("path"); // what is written
    QTest::addColumn<QString>("target"); // the file that takes the bytes

    QTest::newRow("link beside its target") << QStringList { QStringLiteral("link.aiml>doc.aiml") }
                                            << QStringLiteral("link.aiml") << QStringLiteral("doc.aiml");
    QTest::newRow("chain of links") << QStringList { QStringLiteral("a.aiml>b.aiml"),
        QStringLiteral("b.aiml>sub/doc.aiml") }
                                    << QStringLiteral("a.aiml") << QStringLiteral("sub/doc.aiml");
    QTest::newRow("relative to the link's folder") << QStringList { QStringLiteral("sub/link.aiml>../doc.aiml") }
                                                   << QStringLiteral("sub/link.aiml") << QStringLiteral("doc.aiml");
    QTest::newRow("absolute target") << QStringList { QStringLiteral("link.aiml>@/sub/doc.aiml") }
                                     << QStringLiteral("link.aiml") << QStringLiteral("sub/doc.aiml");
    QTest::newRow("dangling link creates its target") << QStringList { QStringLiteral("link.aiml>sub/new.aiml") }
                                                      << QStringLiteral("link.aiml") << QStringLiteral("sub/new.aiml");
}

void TestSafeWrite::symbolicLinks()
{
    QFETCH(QStringList, links);
    QFETCH(QString, path);
    QFETCH(QString, target);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDir root(dir.path());
    QVERIFY(root.mkdir(QStringLiteral("sub")));
    QVERIFY(writeFile(root.filePath(QStringLiteral("doc.aiml")), kOld));
    QVERIFY(writeFile(root.filePath(QStringLiteral("sub/doc.aiml")), kOld));
    for (const QString &link : std::as_const(links)) {
        const QStringList parts = link.split(QLatin1Char('>'));
        QString to = parts[1];
        to.replace(QLatin1Char('@'), dir.path());
        QCOMPARE(
            ::symlink(QFile::encodeName(to).constData(), QFile::encodeName(root.filePath(parts[0])).constData()), 0);
    }
    QStringList expected = tree(dir.path());
    if (!expected.contains(target)) {
        expected.append(target);
        expected.sort();
    }
    const struct stat before = statOf(root.filePath(target));

    const WriteResult result = writeFileAtomically(root.filePath(path), kNew);
    QVERIFY2(result.ok, qPrintable(result.reason));
    QCOMPARE(readFile(root.filePath(target)), kNew);
    QVERIFY(S_ISREG(statOf(root.filePath(target)).st_mode));
    if (before.st_ino != 0)
        QCOMPARE(int(statOf(root.filePath(target)).st_mode & 07777), int(before.st_mode & 07777));
    // Every link still a link, and nothing added but the new target.
    for (const QString &link : std::as_const(links))
        QVERIFY2(QFileInfo(root.filePath(link.section(QLatin1Char('>'), 0, 0))).isSymLink(), qPrintable(link));
    QCOMPARE(tree(dir.path()), expected);
}

void TestSafeWrite::linksInSharedFolders_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("folderOwner"); // -1: the process's own
    QTest::addColumn<int>("linkOwner");
    QTest::addColumn<bool>("followed");

    QTest::newRow("another user's link in a sticky folder anyone may write") << 01777 << -1 << 1234 << false;
    QTest::newRow("our own link there") << 01777 << -1 << -1 << true;
    QTest::newRow("the folder owner's link there") << 01777 << 1234 << 1234 << true;
    QTest::newRow("another user's link, folder not sticky") << 0777 << -1 << 1234 << true;
}

void TestSafeWrite::linksInSharedFolders()
{
    QFETCH(int, folderMode);
    QFETCH(int, folderOwner);
    QFETCH(int, linkOwner);
    QFETCH(bool, followed);
    if ((folderOwner >= 0 || linkOwner >= 0) && ::geteuid() != 0)
        QSKIP("only root may give a link to another user");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("private.aiml"));
    QVERIFY(writeFile(target, kOld));
    QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0600), 0);
    const QByteArray shared = QFile::encodeName(dir.filePath(QStringLiteral("shared")));
    QCOMPARE(::mkdir(shared.constData(), 0700), 0);
    const QByteArray link = shared + "/doc.aiml";
    QCOMPARE(::symlink(QFile::encodeName(target).constData(), link.constData()), 0);
    if (linkOwner >= 0)
        QCOMPARE(::lchown(link.constData(), uid_t(linkOwner), gid_t(linkOwner)), 0);
    if (folderOwner >= 0)
        QCOMPARE(::chown(shared.constData(), uid_t(folderOwner), gid_t(folderOwner)), 0);
    QCOMPARE(::chmod(shared.constData(), mode_t(folderMode)), 0);

    const WriteResult result = writeFileAtomically(QFile::decodeName(link), kNew);
    QCOMPARE(result.ok, followed);
    QCOMPARE(readFile(target), followed ? kNew : kOld);
    QVERIFY(S_ISLNK(statOf(QFile::decodeName(link)).st_mode));
    if (!followed)
        QCOMPARE(result.reason, QStringLiteral("Permission denied"));
}

void TestSafeWrite::hardLinks()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("doc.aiml"));
    const QString other = dir.filePath(QStringLiteral("other.aiml"));
    QVERIFY(writeFile(file, kOld));
    QCOMPARE(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()), 0);

    QVERIFY(writeFileAtomically(file, kNew).ok);
    // The replacement separates the names, as the header says.
    QCOMPARE(readFile(file), kNew);
    QCOMPARE(readFile(other), kOld);
    QCOMPARE(int(statOf(other).st_nlink), 1);
}

void TestSafeWrite::refused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("Is a directory");
    QTest::newRow("link to a folder") << QStringLiteral("link to folder") << QStringLiteral("Is a directory");
    QTest::newRow("folder below a regular file")
        << QStringLiteral("parent is a file") << QStringLiteral("Not a directory");
    QTest::newRow("missing folder") << QStringLiteral("missing folder") << QStringLiteral("No such file or directory");
    QTest::newRow("FIFO") << QStringLiteral("fifo") << QStringLiteral("Not a regular file");
    QTest::newRow("loop of links") << QStringLiteral("loop") << QStringLiteral("Too many levels of symbolic links");
}

void TestSafeWrite::refused()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDir root(dir.path());
    QVERIFY(writeFile(root.filePath(QStringLiteral("plain")), kOld));
    QVERIFY(root.mkdir(QStringLiteral("folder")));
    const auto link = [&root](const char *to, const char *name) {
        return ::symlink(to, QFile::encodeName(root.filePath(QLatin1String(name))).constData()) == 0;
    };
    QString path;
    if (kind == QLatin1String("folder")) {
        path = root.filePath(QStringLiteral("folder"));
    } else if (kind == QLatin1String("link to folder")) {
        QVERIFY(link("folder", "link"));
        path = root.filePath(QStringLiteral("link"));
    } else if (kind == QLatin1String("parent is a file")) {
        path = root.filePath(QStringLiteral("plain/doc.aiml"));
    } else if (kind == QLatin1String("missing folder")) {
        path = root.filePath(QStringLiteral("none/doc.aiml"));
    } else if (kind == QLatin1String("fifo")) {
        path = root.filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    } else {
        QVERIFY(link("b", "a"));
        QVERIFY(link("a", "b"));
        path = root.filePath(QStringLiteral("a"));
    }
    const QStringList before = tree(dir.path());

    const WriteResult result = writeFileAtomically(path, kNew);
    QVERIFY(!result.ok);
    QCOMPARE(result.failedStep, WriteResult::Create);
    QCOMPARE(result.reason, reason);
    QCOMPARE(tree(dir.path()), before);
    QCOMPARE(readFile(root.filePath(QStringLiteral("plain"))), kOld);
    if (kind == QLatin1String("fifo"))
        QVERIFY(S_ISFIFO(statOf(path).st_mode));
}

void TestSafeWrite::readOnlyFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Another user must be able to reach the file, which it may write but not replace.
    QVERIFY(QFile::setPermissions(dir.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
            | QFile::ExeGroup));
    const QString folder = dir.filePath(QStringLiteral("ro"));
    QVERIFY(QDir().mkdir(folder));
    const QString file = folder + QStringLiteral("/doc.aiml");
    QVERIFY(writeFile(file, kOld));
    QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0666), 0);
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);

    const std::optional<HelperRun> run
        = runHelperUnprivileged({ QStringLiteral("write"), file, QString::fromLatin1(kNew) });
    if (!run)
        QSKIP("running as root, and no way here to run the helper as another user");
    QCOMPARE(run->out, QByteArray("failed create: Permission denied\n"));
    QCOMPARE(readFile(file), kOld);
    QCOMPARE(folderEntries(folder), QStringList { QStringLiteral("doc.aiml") });
}

void TestSafeWrite::faults_data()
{
    QTest::addColumn<bool>("named"); // a file system without O_TMPFILE
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("nth");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("shortWrite");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<bool>("replaced");

    for (const bool named : { false, true }) {
        const QByteArray temp = named ? "named temporary: " : "unnamed temporary: ";
        const auto row = [&temp](const char *name) -> QTestData & { return QTest::newRow((temp + name).constData()); };
        row("no fault") << named << QString() << 1 << 0 << false << QByteArray("ok\n") << true;
        row("create") << named << QStringLiteral("create") << 1 << EACCES << false
                      << QByteArray("failed create: Permission denied\n") << false;
        row("write, disk full") << named << QStringLiteral("write") << 1 << ENOSPC << false
                                << QByteArray("failed write: No space left on device\n") << false;
        row("short write, then disk full") << named << QStringLiteral("write") << 1 << ENOSPC << true
                                           << QByteArray("failed write: No space left on device\n") << false;
        row("write, quota") << named << QStringLiteral("write") << 1 << EDQUOT << false
                            << QByteArray("failed write: Disk quota exceeded\n") << false;
        row("fchmod") << named << QStringLiteral("fchmod") << 1 << EPERM << false
                      << QByteArray("failed write: Operation not permitted\n") << false;
        row("fsync") << named << QStringLiteral("fsync") << 1 << EIO << false
                     << QByteArray("failed write: Input/output error\n") << false;
        if (!named) {
            row("link") << named << QStringLiteral("link") << 1 << ENOSPC << false
                        << QByteArray("failed write: No space left on device\n") << false;
        }
        row("close") << named << QStringLiteral("close") << 1 << EIO << false
                     << QByteArray("failed write: Input/output error\n") << false;
        row("rename") << named << QStringLiteral("rename") << 1 << EBUSY << false
                      << QByteArray("failed write: Device or resource busy\n") << false;
        // The file is in place by then; the failure is still said, since it may not last.
        row("folder sync") << named << QStringLiteral("fsync") << 2 << EIO << false
                           << QByteArray("failed write: Input/output error\n") << true;
    }
}

void TestSafeWrite::faults()
{
    QFETCH(bool, named);
    QFETCH(QString, call);
    QFETCH(int, nth);
    QFETCH(int, error);
    QFETCH(bool, shortWrite);
    QFETCH(QByteArray, output);
    QFETCH(bool, replaced);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("doc.aiml"));
    QVERIFY(writeFile(file, kOld));
    QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0644), 0);

    QProcessEnvironment environment = faultEnvironment(dir.path());
    environment.insert(QStringLiteral("VORREL_FAULT_CALL"), call);
    environment.insert(QStringLiteral("VORREL_FAULT_NTH"), QString::number(nth));
    environment.insert(QStringLiteral("VORREL_FAULT_ERRNO"), QString::number(error));
    if (shortWrite)
        environment.insert(QStringLiteral("VORREL_FAULT_SHORT"), QStringLiteral("1"));
    if (named)
        environment.insert(QStringLiteral("VORREL_FAULT_NO_TMPFILE"), QStringLiteral("1"));

    const HelperRun run = runHelper({ QStringLiteral("write"), file, QString::fromLatin1(kNew) }, environment);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(run.out, output);
    // The fault did strike where it was meant to.
    if (!call.isEmpty())
        QVERIFY2(run.err.contains("fault: " + call.toLatin1()), run.err.constData());
    if (shortWrite)
        QVERIFY2(run.err.contains("fault: short write"), run.err.constData());
    QCOMPARE(run.err.contains("fault: no O_TMPFILE"), named);
    QCOMPARE(readFile(file), replaced ? kNew : kOld);
    QCOMPARE(int(statOf(file).st_mode & 07777), 0644);
    QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("doc.aiml") });
}

void TestSafeWrite::killedWhileSaving()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("doc.aiml"));
    const QByteArray versions[] = { documentVersion(0), documentVersion(1) };
    QVERIFY(writeFile(file, versions[1]));

    QRandomGenerator random(20261208);
    constexpr int kRounds = 24;
    int windowHits = 0;
    for (int round = 0; round < kRounds; ++round) {
        const QString failed = killWhileSaving({ QStringLiteral("document-loop"), file }, random, 40);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        const QByteArray bytes = readFile(file);
        QVERIFY2(bytes == versions[0] || bytes == versions[1],
            qPrintable(QStringLiteral("round %1: a file of %2 bytes, neither version").arg(round).arg(bytes.size())));
        // An unnamed temporary vanishes with the process. Only between naming it and the rename,
        // a few system calls after it was written and synced whole, can one be left.
        for (const QString &name : folderEntries(dir.path())) {
            if (name == QLatin1String("doc.aiml"))
                continue;
            const QByteArray left = readFile(dir.filePath(name));
            QVERIFY2(left == versions[0] || left == versions[1],
                qPrintable(QStringLiteral("round %1: %2 left behind, %3 bytes").arg(round).arg(name).arg(left.size())));
            ++windowHits;
        }
        // The next save of the file takes away what the killed one left.
        QVERIFY(writeFileAtomically(file, versions[1]).ok);
        QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("doc.aiml") });
    }
    qInfo("%d of %d kills struck between naming the temporary file and the rename", windowHits, kRounds);
    // That window is a few system calls long; a temporary named any earlier would be hit often.
    QVERIFY2(windowHits <= kRounds / 4, qPrintable(QString::number(windowHits)));
}

void TestSafeWrite::staleCopies_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("removed");

    const QString copy = QStringLiteral(".doc.aiml.saving-k1ll3d00");
    QTest::newRow("left by a killed save") << copy << QStringLiteral("file") << true;
    QTest::newRow("held by a save under way") << copy << QStringLiteral("locked") << false;
    QTest::newRow("another file's") << QStringLiteral(".doc.aiml2.saving-k1ll3d00") << QStringLiteral("file") << false;
    QTest::newRow("a link") << copy << QStringLiteral("link") << false;
    QTest::newRow("another user's") << copy << QStringLiteral("another user's") << false;
}

void TestSafeWrite::staleCopies()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, removed);
    if (kind == QLatin1String("another user's") && ::geteuid() != 0)
        QSKIP("only root may give a file to another user");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("doc.aiml"));
    QVERIFY(writeFile(file, kOld));
    const QString planted = dir.filePath(name);
    const QByteArray path = QFile::encodeName(planted);
    if (kind == QLatin1String("link"))
        QCOMPARE(::symlink("doc.aiml", path.constData()), 0);
    else
        QVERIFY(writeFile(planted, kNew));
    if (kind == QLatin1String("another user's"))
        QCOMPARE(::chown(path.constData(), 1234, 1234), 0);
    const int held = kind == QLatin1String("locked") ? ::open(path.constData(), O_RDONLY | O_CLOEXEC) : -1;
    const auto release = qScopeGuard([held] {
        if (held >= 0)
            ::close(held);
    });
    if (held >= 0)
        QCOMPARE(::flock(held, LOCK_EX), 0);

    QVERIFY(writeFileAtomically(file, kNew).ok);
    QCOMPARE(folderEntries(dir.path()).contains(name), !removed);
}

QTEST_GUILESS_MAIN(TestSafeWrite)
#include "tst_safewrite.moc"
