// The category editing rules without the dialog: upper-casing a pattern, the srai wrapping,
// the cell texts of a field, and the lines of a random list.

#include "editing/CategoryEdit.h"

#include <QTest>

using namespace vorrel;

class TestEditRules : public QObject
{
    Q_OBJECT

private slots:
    void pureHelpers_data();
    void pureHelpers();
    void randomListLines_data();
    void randomListLines();
};

void TestEditRules::pureHelpers_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("upcased");
    QTest::newRow("plain") << QStringLiteral("what is your name") << QStringLiteral("WHAT IS YOUR NAME");
    QTest::newRow("accents stay") << QStringLiteral("café über ÿ") << QStringLiteral("CAFé üBER ÿ");
    QTest::newRow("digits and signs") << QStringLiteral("a1_*<b>") << QStringLiteral("A1_*<B>");
    QTest::newRow("empty") << QStringLiteral("") << QStringLiteral("");
}

void TestEditRules::pureHelpers()
{
    QFETCH(QString, pattern);
    QFETCH(QString, upcased);
    QCOMPARE(upcasePattern(pattern), upcased);
    QCOMPARE(wrapInSrai(pattern), QStringLiteral("<srai>") + pattern + QStringLiteral("</srai>"));
    for (const LineEnd lineEnd : { LineEnd::Lf, LineEnd::CrLf })
        QCOMPARE(fieldTextFromCell(cellTextFromRaw(pattern, lineEnd)), pattern);
}

void TestEditRules::randomListLines_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty, 2") << "" << 2 << "<random>\r\n<li>..</li>\r\n<li>..</li>\r\n</random>";
    QTest::newRow("negative") << "" << -5 << "<random>\r\n</random>";
    QTest::newRow("open last line") << "a" << 1 << "a\r\n<random>\r\n<li>..</li>\r\n</random>";
    QTest::newRow("closed last line") << "a\r\n" << 0 << "a\r\n<random>\r\n</random>";
}

void TestEditRules::randomListLines()
{
    QFETCH(QString, before);
    QFETCH(int, count);
    QFETCH(QString, after);
    QCOMPARE(appendRandomList(before, count), after);
}

QTEST_APPLESS_MAIN(TestEditRules)
#include "tst_editrules.moc"
