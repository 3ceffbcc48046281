// Finding in the category table: the order of the cells, going round, and what matches; and
// finding in a document's bytes by their characters.

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
    void findInText_data();
    void findInText();
    void replacements();
    void replaceAll_data();
    void replaceAll();
};

namespace {

// Every match of `options` in `text`, as "start-end" byte ranges: forward from each
// position, and backward from the end.
QString matchesIn(const QByteArray &text, TextEncoding encoding, const SearchOptions &options)
{
    const TextFinder finder(text, encoding, options);
    QStringList forward;
    for (const MatchSpan &m : finder.all())
        forward.append(QStringLiteral("%1-%2").arg(m.start).arg(m.end));
    const std::optional<TextMatch> last = finder.previous(text.size() + 1);
    return forward.join(QLatin1Char(' ')) + QStringLiteral(" | ")
        + (last ? QStringLiteral("%1-%2").arg(last->start).arg(last->end) : QString());
}

SearchOptions optionsOf(const QString &text, const QString &flags)
{
    SearchOptions options;
    options.text = text;
    options.matchCase = flags.contains(QLatin1Char('c'));
    options.wholeWords = flags.contains(QLatin1Char('w'));
    options.regExp = flags.contains(QLatin1Char('r'));
    return options;
}

} // namespace

void TestTextSearch::findInText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QString>("matches");

    const QByteArray cafe = "Un caf\xc3\xa9, CAF\xc3\x89!";
    QTest::newRow("any letter's case, in bytes") << cafe << true << QStringLiteral(u"caf\u00e9") << ""
                                                 << "3-8 10-15 | 10-15";
    QTest::newRow("8-bit text") << QByteArray("Un caf\xe9, CAF\xc9!") << false << QStringLiteral(u"CAF\u00c9") << ""
                                << "3-7 9-13 | 9-13";
    QTest::newRow("whole words beside guillemets") << QByteArray("\xc2\xab\xc2\xa0"
                                                                 "bonjour\xc2\xa0\xc2\xbb \xc2\xab"
                                                                 "bonjours")
                                                   << true << "bonjour"
                                                   << "w"
                                                   << "4-11 | 4-11";
    QTest::newRow("a character 8-bit text cannot hold")
        << QByteArray("5 ? or 6 ?") << false << QStringLiteral(u"\u20ac") << ""
        << " | ";
    QTest::newRow("word boundary sees the text before") << QByteArray("abab") << true << "\\bab"
                                                        << "r"
                                                        << "0-2 | 0-2";
    QTest::newRow("overlapping whole words, backwards") << QByteArray("a-a-ab") << true << "a-a"
                                                        << "w"
                                                        << "0-3 | 0-3";
    QTest::newRow("characters beyond U+FFFF") << QByteArray("\xf0\x9f\x98\x80"
                                                            "a")
                                              << true << "."
                                              << "r"
                                              << "0-4 4-5 | 4-5";
    QTest::newRow("line starts") << QByteArray("a\r\nb\nc") << true << "^"
                                 << "r"
                                 << "0-0 3-3 5-5 | 5-5";
    QTest::newRow("line ends before CR LF") << QByteArray("ab\r\nb") << true << "b$"
                                            << "r"
                                            << "1-2 4-5 | 4-5";
}

void TestTextSearch::findInText()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, utf8);
    QFETCH(QString, search);
    QFETCH(QString, flags);
    QFETCH(QString, matches);
    QCOMPARE(matchesIn(text, utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1, optionsOf(search, flags)), matches);
}

void TestTextSearch::replacements()
{
    const QByteArray text = "price: 5 EUR";
    const TextFinder latin1(text, TextEncoding::Latin1, optionsOf("(\\d) EUR", "r"));
    const std::optional<TextMatch> match = latin1.next(0);
    QVERIFY(match);
    QCOMPARE(latin1.replacement(QStringLiteral("\\1\\tEUR\\\\"), *match), QByteArray("5\tEUR\\"));
    QCOMPARE(latin1.replacement(QStringLiteral(u"\\1 \u00a3"), *match), QByteArray("5 \xa3"));
    // An 8-bit text cannot hold the euro sign: no replacement rather than a "?".
    QCOMPARE(latin1.replacement(QStringLiteral(u"\\1 \u20ac"), *match), std::nullopt);
    // The selection is a match only with what follows it.
    const TextFinder ahead("foobar", TextEncoding::Utf8, optionsOf("foo(?=bar)", "r"));
    QVERIFY(ahead.at(0));
    QCOMPARE(ahead.at(0)->end, 3);
    QVERIFY(!ahead.at(1));
}

void TestTextSearch::replaceAll_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("flags"); // c, w, r as above
    QTest::addColumn<QString>("with");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("replaced"); // the whole text afterwards
    QTest::addColumn<int>("count");

    const int done = ReplacedText::Done;
    QTest::newRow("every empty match") << QByteArray("xxaxb") << true << "x*"
                                       << "r"
                                       << "-" << done << QByteArray("--a--b-") << 5;
    QTest::newRow("groups and escapes") << QByteArray("5 EUR, 6 EUR") << true << "(\\d) EUR"
                                        << "r"
                                        << "\\1\\tEUR\\\\1" << done << QByteArray("5\tEUR\\1, 6\tEUR\\1") << 2;
    QTest::newRow("characters of many bytes around")
        << QByteArray("caf\xc3\xa9 \xe2\x98\x95 CAF\xc3\x89!") << true << QStringLiteral(u"\u00e9") << ""
        << QStringLiteral(u"\u00e8") << done << QByteArray("caf\xc3\xa8 \xe2\x98\x95 CAF\xc3\xa8!") << 2;
    QTest::newRow("8-bit text") << QByteArray("caf\xe9\r\nCAF\xc9") << false << QStringLiteral(u"\u00e9") << ""
                                << "e" << done << QByteArray("cafe\r\nCAFe") << 2;
    QTest::newRow("8-bit text cannot hold the replacement")
        << QByteArray("caf\xe9") << false << "caf"
        << "" << QStringLiteral(u"\u20ac") << int(ReplacedText::Unwritable) << QByteArray("caf\xe9") << 0;
    QTest::newRow("growing past the largest text")
        << QByteArray("abcabc") << true << "b"
        << ""
        << "bbbbbb" << int(ReplacedText::TooLarge) << QByteArray("abcabc") << 0;
}

void TestTextSearch::replaceAll()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, utf8);
    QFETCH(QString, search);
    QFETCH(QString, flags);
    QFETCH(QString, with);
    QFETCH(int, status);
    QFETCH(QByteArray, replaced);
    QFETCH(int, count);

    const TextFinder finder(text, utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1, optionsOf(search, flags));
    SearchControl control;
    // Room for the text and five bytes more.
    const ReplacedText result = finder.replaceAll(with, text.size() + 5, control);
    QCOMPARE(int(result.status), status);
    QCOMPARE(int(result.count), count);
    if (count > 0)
        QCOMPARE(text.first(result.start) + result.bytes + text.sliced(result.end), replaced);
    else
        QVERIFY(result.bytes.isEmpty());
}

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
    QTest::newRow("topic cells too") << "games"
                                     << "" << QPoint(3, 1) << QPoint(4, 2) << false;
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
        { { "1", "HELLO", "", "hello there" }, { "2", "WHO ARE YOU", "HELLO", "I am a bot", "games" },
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
