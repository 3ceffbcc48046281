// A bot of many files: conversation files run on it, and the check finds across its files.
#include "TestFiles.h"

#include "bot/BotFiles.h"
#include "bot/ConversationTest.h"
#include "bot/Interpreter.h"
#include "document/CheckCommand.h"
#include "document/Checker.h"
#include "document/FileSearch.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace vorrel;
using namespace vorrel::test;

namespace {

const QByteArray kGreetings = "<aiml>\n"
                              "<category><pattern>HELLO *</pattern><template>Hi <star/>.</template></category>\n"
                              "<category><pattern>MY NAME IS *</pattern>"
                              "<template><set name=\"user\"><star/></set> it is.</template></category>\n"
                              "</aiml>\n";
const QByteArray kMore = "<aiml>\n\n"
                         "<category><pattern>WHO AM I</pattern><template>You are <get name=\"user\"/>.</template>"
                         "</category>\n"
                         "<category><pattern>HI</pattern><template><srai>MY NAME IS BOB</srai></template></category>\n"
                         "<category><pattern>HELLO *</pattern><template>Later.</template></category>\n"
                         "</aiml>\n";

} // namespace

class TestBotFiles final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void replyMatches_data();
    void replyMatches();
    void conversations_data();
    void conversations();
    void checkAcrossFiles();
    void findInFiles();

private:
    QTemporaryDir m_dir;
    BotFiles m_files;
};

void TestBotFiles::initTestCase()
{
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("a.aiml")), kGreetings));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("b.aiml")), kMore));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("notes.txt")), "HELLO\n"));
    for (const QString &file : botFileNames({ m_dir.path() }))
        QVERIFY(m_files.addFile(file, true, nullptr));
    QCOMPARE(m_files.fileCount(), 2);
}

void TestBotFiles::replyMatches_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("matches");
    QTest::newRow("same") << "Hi there."
                          << "Hi there." << true;
    QTest::newRow("blanks and case") << "  hi   THERE. "
                                     << "Hi there." << true;
    QTest::newRow("other") << "Hi there."
                           << "Hi here." << false;
    QTest::newRow("star at the end") << "Hi *"
                                     << "Hi there." << true;
    QTest::newRow("star for nothing") << "Hi there.*"
                                      << "Hi there." << true;
    QTest::newRow("stars inside") << "I * from * now."
                                  << "I come from Oslo now." << true;
    QTest::newRow("star keeps the order") << "* now * from"
                                          << "I come from Oslo now." << false;
    QTest::newRow("ends do not overlap") << "ab*ba"
                                         << "aba" << false;
    QTest::newRow("empty") << ""
                           << "" << true;
}

void TestBotFiles::replyMatches()
{
    QFETCH(QString, expected);
    QFETCH(QString, reply);
    QTEST(vorrel::replyMatches(expected, reply), "matches");
}

void TestBotFiles::conversations_data()
{
    QTest::addColumn<QString>("cases");
    QTest::addColumn<QString>("failures");
    QTest::addColumn<int>("code");
    QTest::newRow("passing, across files")
        << "\uFEFF# greetings\n> hello bob\nLater.\n> hi\nbob it is.\n> who am i\nYou are Bob.\n"
        << QString() << 0;
    QTest::newRow("a reply over two lines") << "> my name is Ann\nAnn\nit is.\n> who am i\nYou are *.\n"
                                            << QString() << 0;
    // The later of two files' categories on one path answers, and the failure names it.
    QTest::newRow("failing") << "\n> hello you\nHi you.\n"
                             << "C:2: error: expected \"Hi you.\", got \"Later.\" (%1/b.aiml:5 HELLO *)\n"
                             << 1;
    QTest::newRow("no category") << "> what\nyes\n"
                                 << "C:1: error: expected \"yes\", got \"I cannot understand that, master!\" "
                                    "(no category matched)\n"
                                 << 1;
    QTest::newRow("a blank line forgets the predicates")
        << "> my name is Ann\n* it is.\n\n# a new conversation\n> who am i\nYou are Ann.\n"
        << "C:5: error: expected \"You are Ann.\", got \"You are .\" (%1/b.aiml:3 WHO AM I)\n"
        << 1;
    QTest::newRow("a reply without input") << "Hello\n> hi\nBob it is.\n"
                                           << "C:1: error: a reply without a \"> \" line before it\n"
                                           << 1;
}

void TestBotFiles::conversations()
{
    QFETCH(QString, cases);
    QFETCH(QString, failures);
    QFETCH(int, code);
    Interpreter bot;
    bot.setCategories(m_files.categories());
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QCOMPARE(
        runConversations(QStringLiteral("C"), parseConversations(cases), bot, m_files, outStream, errStream), code);
    QCOMPARE(out, failures.contains(u"%1") ? failures.arg(m_dir.path()) : failures);
    QVERIFY2(err.endsWith(QStringLiteral(" %1 failed\n").arg(failures.count(u'\n'))), qPrintable(err));
}

void TestBotFiles::checkAcrossFiles()
{
    // Each file alone: a srai with no target, no duplicate.
    const QString a = m_dir.filePath(QStringLiteral("a.aiml"));
    const QString b = m_dir.filePath(QStringLiteral("b.aiml"));
    const auto codes = [](const std::vector<Problem> &problems) {
        QStringList found;
        for (const Problem &p : problems)
            found << QString::number(p.line) + QLatin1Char(' ') + p.code;
        return found;
    };
    QCOMPARE(codes(checkDocument(kMore)), QStringList { "4 srai-target" });
    // In its folder, the other file answers the srai; its duplicate is that file's problem.
    QCOMPARE(codes(checkInFolder(kMore, b, {})), QStringList());
    QCOMPARE(codes(checkInFolder(kGreetings, a, {})), QStringList());

    // The command: one bot, the duplicate naming the other file and line.
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    CheckRequest request;
    request.files = botFileNames({ m_dir.path() });
    QBuffer none;
    QCOMPARE(runCheckCommand(request, none, outStream, errStream), kCheckPassed);
    outStream.flush();
    QCOMPARE(out,
        b
            + QStringLiteral(
                ":5:1: warning: duplicate category: same pattern, that and topic as the category on line 2 "
                "of %1 [duplicate]\n")
                  .arg(a));
    QCOMPARE(err, QStringLiteral("2 files, 0 errors, 1 warning\n"));
}

void TestBotFiles::findInFiles()
{
    SearchOptions options;
    options.text = QStringLiteral("hello");
    // The open document's text stands in for its file; lines end in CR LF, LF or CR.
    const SearchedFile open { m_dir.filePath(QStringLiteral("a.aiml")), "x\r\ny\rz hello HELLO\n", TextEncoding::Utf8 };
    QStringList found;
    for (const FileHit &hit : vorrel::findInFiles(botFileNames({ m_dir.path() }), open, options))
        found << QStringLiteral("%1:%2:%3 %4")
                     .arg(QFileInfo(hit.fileName).fileName())
                     .arg(hit.line)
                     .arg(hit.column)
                     .arg(hit.text);
    QCOMPARE(found,
        QStringList({ "a.aiml:3:3 z hello HELLO", "a.aiml:3:9 z hello HELLO",
            "b.aiml:5:20 <category><pattern>HELLO *</pattern><template>Later.</template></category>" }));
}

QTEST_APPLESS_MAIN(TestBotFiles)
#include "tst_botfiles.moc"
