// Word, character, tag and version counts of the general report, without a window.

#include "CountOracle.h"
#include "report/ReportCounts.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

using namespace vorrel;
using namespace vorrel::test;

namespace {

QString decoded(const QByteArray &bytes, bool utf8)
{
    return utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

TextEncoding encodingOf(bool utf8)
{
    return utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1;
}

// Straightforward versions of the report's rules, to hold the one-pass scan against.
qsizetype referenceCharacters(const QString &text)
{
    // A surrogate pair is one character.
    return text.size() - std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
}

QString referenceVersion(const QString &text)
{
    const qsizetype p = text.indexOf(QLatin1String("aiml version*"));
    if (p >= 0)
        return QStringLiteral("AIML ") + text.mid(p + 5, 14);
    static const QRegularExpression root(
        QStringLiteral("^[^<]*(?:<[?!][^>]*>\\s*)*<aiml\\b[^>]*\\sversion=\"([^\"]+)\""));
    const QRegularExpressionMatch match = root.match(text);
    return QStringLiteral("AIML ") + (match.hasMatch() ? match.captured(1) : QStringLiteral("(none)"));
}

} // namespace

class TestReportCounts final : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
    void tags_data();
    void tags();
    void characters_data();
    void characters();
    void version_data();
    void version();
    void randomTextsAgreeWithPlainRules();
    void corpusAgreesWithPlainRules();
};

void TestReportCounts::words_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<int>("words");

    QTest::newRow("empty") << QByteArray() << true << 0;
    QTest::newRow("apostrophe") << QByteArray("don't stop") << true << 2;
    QTest::newRow("hyphen") << QByteArray("well-known") << true << 1;
    QTest::newRow("decimal point") << QByteArray("3.14") << true << 2;
    QTest::newRow("accented letter splits") << QByteArray("na\xc3\xafve") << true << 2;
    QTest::newRow("accented letter splits, 8-bit") << QByteArray("na\xefve") << false << 2;
    QTest::newRow("escape hides word") << QByteArray("\\par text") << true << 1;
    QTest::newRow("backslash joins") << QByteArray("a\\b") << true << 1;
    QTest::newRow("tag names are words") << QByteArray("<pattern>HELLO THERE</pattern>") << true << 4;
    QTest::newRow("lone hyphen") << QByteArray("a - b") << true << 3;
    QTest::newRow("quotes are word characters") << QByteArray("'quoted'") << true << 1;
    QTest::newRow("blanks around") << QByteArray("  two words  ") << true << 2;
    QTest::newRow("line breaks") << QByteArray("line one\r\nline two") << true << 4;
    QTest::newRow("tab") << QByteArray("tab\tseparated") << true << 2;
    QTest::newRow("backslash alone") << QByteArray("\\") << true << 0;
    QTest::newRow("trailing backslash") << QByteArray("word\\") << true << 1;
    QTest::newRow("attribute") << QByteArray("<set name=\"topic\">x</set>") << true << 5;
    QTest::newRow("word across 64 bytes") << QByteArray(60, ' ') + "abcdefgh" << true << 1;
    QTest::newRow("word ends at 64 bytes") << QByteArray(63, 'x') + " y" << true << 2;
    QTest::newRow("escape across 64 bytes") << QByteArray(63, ' ') + "\\abc def" << true << 1;
    QTest::newRow("backslash joins across 64 bytes") << QByteArray(63, 'x') + "\\abc" << true << 1;
    QTest::newRow("many blocks") << QByteArray("one two ").repeated(100) << true << 200;
    QTest::newRow("separator at 128") << QByteArray(127, 'x') + "\xe9y" << false << 2;
}

void TestReportCounts::words()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, utf8);
    QFETCH(int, words);

    QCOMPARE(countWords(QByteArrayView(text)), words);
    QCOMPARE(countWords(QStringView(decoded(text, utf8))), words);
    QCOMPARE(computeReport(text, encodingOf(utf8)).words, words);
}

void TestReportCounts::tags_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("categories");
    QTest::addColumn<int>("randoms");
    QTest::addColumn<int>("srais");
    QTest::addColumn<int>("thinks");

    QTest::newRow("empty") << QByteArray() << 0 << 0 << 0 << 0;
    QTest::newRow("one category") << QByteArray(
        "<category>\r\n<pattern>HI</pattern>\r\n<template>\r\n"
        "<random><li>a</li></random><srai>X</srai><random><li>b</li></random>\r\n"
        "</template>\r\n</category>\r\n")
                                  << 1 << 2 << 1 << 0;
    QTest::newRow("categories touching") << QByteArray("<category><category>") << 1 << 0 << 0 << 0;
    QTest::newRow("category 11 after") << QByteArray("<category>1<category>") << 1 << 0 << 0 << 0;
    QTest::newRow("category 12 after") << QByteArray("<category>12<category>") << 2 << 0 << 0 << 0;
    QTest::newRow("three touching") << QByteArray("<category><category><category>") << 2 << 0 << 0 << 0;
    QTest::newRow("skipped one does not move the next")
        << QByteArray("<category>1<category>xx<category>") << 2 << 0 << 0 << 0;
    QTest::newRow("capitals") << QByteArray("<CATEGORY><RANDOM><SRAI>x</SRAI><Think>") << 0 << 0 << 0 << 0;
    QTest::newRow("attributes") << QByteArray("<category id=\"1\"><random x=\"y\"><srai >") << 0 << 0 << 0 << 0;
    QTest::newRow("closing and empty tags") << QByteArray("</category></random><srai/></think>") << 0 << 0 << 0 << 0;
    QTest::newRow("srai after srai") << QByteArray("<srai><srai>") << 0 << 0 << 2 << 0;
    QTest::newRow("think after think") << QByteArray("<think></think><think>") << 0 << 0 << 0 << 2;
    QTest::newRow("random after random") << QByteArray("<random><random>") << 0 << 2 << 0 << 0;
    QTest::newRow("cut short at the end") << QByteArray("<categ") << 0 << 0 << 0 << 0;
    QTest::newRow("angle bracket last") << QByteArray("text <") << 0 << 0 << 0 << 0;
    QTest::newRow("tag across 64 bytes") << QByteArray(60, ' ') + "<category>" << 1 << 0 << 0 << 0;
    QTest::newRow("tags inside text") << QByteArray("a<srai>b<think>c<random>d<category>") << 1 << 1 << 1 << 1;
}

void TestReportCounts::tags()
{
    QFETCH(QByteArray, text);
    QFETCH(int, categories);
    QFETCH(int, randoms);
    QFETCH(int, srais);
    QFETCH(int, thinks);

    QCOMPARE(countTag(text, "<category>", 12), categories);
    QCOMPARE(countTag(text, "<random>", 8), randoms);
    QCOMPARE(countTag(text, "<srai>", 6), srais);
    QCOMPARE(countTag(text, "<think>", 7), thinks);

    const ReportFigures f = computeReport(text, TextEncoding::Utf8);
    QCOMPARE(f.categories, categories);
    QCOMPARE(f.randoms, randoms);
    QCOMPARE(f.srais, srais);
    QCOMPARE(f.thinks, thinks);
}

void TestReportCounts::characters_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<int>("characters");

    QTest::newRow("empty") << QByteArray() << true << 0;
    QTest::newRow("plain") << QByteArray("abc") << true << 3;
    QTest::newRow("CR LF counts two") << QByteArray("a\r\nb") << true << 4;
    QTest::newRow("LF counts one") << QByteArray("a\nb") << true << 3;
    QTest::newRow("lone CR counts one") << QByteArray("a\rb") << true << 3;
    QTest::newRow("LF then CR") << QByteArray("\n\r") << true << 2;
    QTest::newRow("two empty lines") << QByteArray("\r\n\r\n") << true << 4;
    QTest::newRow("UTF-8 letter is one") << QByteArray("na\xc3\xafve") << true << 5;
    QTest::newRow("8-bit letter is one") << QByteArray("na\xefve") << false << 5;
    QTest::newRow("8-bit bytes that look like UTF-8") << QByteArray("\xc3\xaf") << false << 2;
    QTest::newRow("three-byte characters") << QByteArray("\xe6\x97\xa5\xe6\x9c\xac") << true << 2;
    QTest::newRow("four-byte character") << QByteArray("\xf0\x9f\x98\x80") << true << 1;
    QTest::newRow("markup and blanks") << QByteArray("<srai> X </srai>") << true << 16;
    QTest::newRow("CR LF across 64 bytes") << QByteArray(63, 'x') + "\r\n" << true << 65;
    QTest::newRow("CR LF after 64 bytes") << QByteArray(64, 'x') + "\r\n" << true << 66;
    QTest::newRow("lone CR ends block") << QByteArray(63, 'x') + "\ry" << true << 65;
}

void TestReportCounts::characters()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, utf8);
    QFETCH(int, characters);

    QCOMPARE(computeReport(text, encodingOf(utf8)).characters, characters);
}

void TestReportCounts::version_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("version");

    QTest::newRow("cut short by the end")
        << QByteArray("the text ends aiml version* 1.0") << true << QStringLiteral("AIML version* 1.0");
    QTest::newRow("fourteen characters") << QByteArray("aiml version* 2.0 of the document") << true
                                         << QStringLiteral("AIML version* 2.0 o");
    QTest::newRow("mark is the whole rest") << QByteArray("xaiml version*") << true << QStringLiteral("AIML version*");
    QTest::newRow("first mark counts") << QByteArray("aiml version* 1 aiml version* 2") << true
                                       << QStringLiteral("AIML version* 1 aim");
    QTest::newRow("no mark: the root's version") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                                               "<!-- <aiml version=\"9\"> -->\r\n"
                                                               "<aiml xmlns=\"urn:x\" version=\"1.0.1\">\r\n<category>")
                                                 << true << QStringLiteral("AIML 1.0.1");
    QTest::newRow("root without a version")
        << QByteArray("<aiml>\n<category><pattern>A</pattern>") << true << QStringLiteral("AIML (none)");
    QTest::newRow("root is not aiml") << QByteArray("<bot version=\"2\"><aiml version=\"1\">") << true
                                      << QStringLiteral("AIML (none)");
    QTest::newRow("not XML") << QByteArray("aiml version=1.0") << true << QStringLiteral("AIML (none)");
    QTest::newRow("8-bit text, declared otherwise")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- caf\xe9 --><aiml version=\"1.0\">") << false
        << QStringLiteral("AIML 1.0");
    QTest::newRow("byte order mark, root after 4 KB") << QByteArray("\xef\xbb\xbf<!--") + QByteArray(5000, ' ')
            + "--><aiml version='2.0'>" << true << QStringLiteral("AIML 2.0");
    QTest::newRow("capitals are no mark") << QByteArray("AIML VERSION* 1.0") << true << QStringLiteral("AIML (none)");
    QTest::newRow("empty") << QByteArray() << true << QStringLiteral("AIML (none)");
    QTest::newRow("UTF-8 in the excerpt") << QByteArray("aiml version* \xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc")
                                          << true << QStringLiteral("AIML version* \u00fc\u00fc\u00fc\u00fc\u00fc");
    QTest::newRow("8-bit excerpt") << QByteArray("aiml version* \xe9") << false
                                   << QStringLiteral("AIML version* \u00e9");
    QTest::newRow("mark across 64 bytes")
        << QByteArray(58, ' ') + "aiml version* 9" << true << QStringLiteral("AIML version* 9");
    QTest::newRow("line break in the excerpt")
        << QByteArray("aiml version* 1\r\nnext") << true << QStringLiteral("AIML version* 1\r\nne");
}

void TestReportCounts::version()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, utf8);
    QFETCH(QString, version);

    QCOMPARE(computeReport(text, encodingOf(utf8)).version, version);
}

// The one-pass scan works in blocks; texts of random length and content put every figure's
// boundaries at every place in a block.
void TestReportCounts::randomTextsAgreeWithPlainRules()
{
    static const char *const pieces[] = { "<category>", "<random>", "<srai>", "<think>", "aiml version*", "<", "*",
        "\\", "'", "-", "a", "Z", "7", " ", "\r\n", "\r", "\n", "\xe9", ".", "<cat", "aiml " };
    QRandomGenerator random(20240501);
    for (int round = 0; round < 400; ++round) {
        QByteArray text;
        const int count = random.bounded(0, 120);
        for (int i = 0; i < count; ++i)
            text += pieces[random.bounded(int(std::size(pieces)))];
        const QString latin = QString::fromLatin1(text);
        const ReportFigures f = computeReport(text, TextEncoding::Latin1);
        QCOMPARE(f.words, countWords(QStringView(latin)));
        QCOMPARE(f.characters, referenceCharacters(latin));
        QCOMPARE(f.categories, countTag(text, "<category>", 12));
        QCOMPARE(f.randoms, countTag(text, "<random>", 8));
        QCOMPARE(f.srais, countTag(text, "<srai>", 6));
        QCOMPARE(f.thinks, countTag(text, "<think>", 7));
        QCOMPARE(f.version, referenceVersion(latin));
    }
}

void TestReportCounts::corpusAgreesWithPlainRules()
{
    const QDir corpus(QStringLiteral(VORREL_CORPUS_DIR "/free-aiml"));
    const QStringList files = corpus.entryList({ QStringLiteral("*.aiml") }, QDir::Files);
    if (files.isEmpty())
        QSKIP("The AIML corpus is not available");
    for (const QString &name : files) {
        QFile file(corpus.filePath(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
        const QByteArray text = file.readAll();
        const QString latin = QString::fromLatin1(text);
        const ReportFigures f = computeReport(text, TextEncoding::Latin1);
        QCOMPARE(f.words, countWords(QStringView(latin)));
        QCOMPARE(f.characters, referenceCharacters(latin));
        QCOMPARE(f.categories, countTag(text, "<category>", 12));
        QCOMPARE(f.srais, countTag(text, "<srai>", 6));
        QCOMPARE(f.version, referenceVersion(latin));
        // Every real category in these files is longer than twelve characters.
        QCOMPARE(f.categories, qsizetype(latin.count(QLatin1String("<category>"))));
    }
}

QTEST_APPLESS_MAIN(TestReportCounts)
#include "tst_report.moc"
