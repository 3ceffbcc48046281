// Finding in the category table: the order of the cells, going round, and what matches.

#include "document/CategoryTable.h"
#include "document/TextSearch.h"

#include "TableRows.h"

#include <QTest>

using namespace vorrel;
using namespace vorrel::test;

class TestTextSearch final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findCell_data();
    void findCell();
};

void TestTextSearch::findCell_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flags"); // c: match case, w: whole words, r: regular expression, b: backwards
    QTest::addColumn<QPoint>("from"); // column, row
    QTest::addColumn<QPoint>("found"); // column, row; (0, 0) for nothing
    QTest::addColumn<bool>("wrapped");

    QTest::newRow("same row first") << "hello"
                                    << "" << QPoint(1, 1) << QPoint(3, 1) << false;
    QTest::newRow("then the next rows") << "hello"
                                        << "" << QPoint(3, 1) << QPoint(2, 2) << false;
    QTest::newRow("round to the start") << "hello"
                                        << "" << QPoint(3, 3) << QPoint(1, 1) << true;
    QTest::newRow("from the label column") << "hello"
                                           << "" << QPoint(0, 1) << QPoint(1, 1) << false;
    QTest::newRow("match case") << "HELLO"
                                << "c" << QPoint(1, 1) << QPoint(2, 2) << false;
    QTest::newRow("whole words") << "bye"
                                 << "w" << QPoint(1, 1) << QPoint(1, 3) << false;
    QTest::newRow("no whole word") << "good"
                                   << "w" << QPoint(1, 1) << QPoint(0, 0) << false;
    QTest::newRow("regular expression") << "^who|^bye"
                                        << "r" << QPoint(1, 1) << QPoint(1, 2) << false;
    QTest::newRow("invalid expression") << "("
                                        << "r" << QPoint(1, 1) << QPoint(0, 0) << false;
    QTest::newRow("backwards") << "hello"
                               << "b" << QPoint(2, 2) << QPoint(3, 1) << false;
    QTest::newRow("backwards round the start") << "bye"
                                               << "b" << QPoint(1, 1) << QPoint(3, 3) << true;
    QTest::newRow("the start cell last") << "I am"
                                         << "" << QPoint(3, 2) << QPoint(3, 2) << true;
    QTest::newRow("nowhere") << "xyz"
                             << "" << QPoint(1, 1) << QPoint(0, 0) << false;
}

void TestTextSearch::findCell()
{
    QFETCH(QString, text);
    QFETCH(QString, flags);
    QFETCH(QPoint, from);
    QFETCH(QPoint, found);
    QFETCH(bool, wrapped);

    CategoryTable table;
    setRows(table,
        { { "1", "HELLO", "", "hello there" }, { "2", "WHO ARE YOU", "HELLO", "I am a bot" },
            { "3", "BYE", "", "Goodbye, hello" } });
    SearchOptions options;
    options.text = text;
    options.matchCase = flags.contains(QLatin1Char('c'));
    options.wholeWords = flags.contains(QLatin1Char('w'));
    options.regExp = flags.contains(QLatin1Char('r'));
    const std::optional<CellMatch> match
        = vorrel::findCell(table, from.y(), from.x(), options, !flags.contains(QLatin1Char('b')));
    QCOMPARE(match.has_value(), !found.isNull());
    if (match) {
        QCOMPARE(QPoint(match->column, match->row), found);
        QCOMPARE(match->wrapped, wrapped);
    }
}

QTEST_APPLESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
