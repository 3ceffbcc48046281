#include "TableRows.h"

#include "bot/Matcher.h"
#include "document/AimlReader.h"
#include "document/AimlWriter.h"
#include "document/CategoryTable.h"

#include <QTest>

using namespace vorrel;
using namespace vorrel::test;

namespace {

const QString kFallback = QStringLiteral("i cannot understand that, master!");

void setHeader(CategoryTable &table)
{
    table.setCell(0, 0, QStringLiteral("Categories"));
    table.setCell(1, 0, QStringLiteral("<pattern>..</pattern>"));
    table.setCell(2, 0, QStringLiteral("<that>..</that>"));
    table.setCell(3, 0, QStringLiteral("<template>..</template>"));
}

// Categories as reading leaves them, the blank row last.
Rows readTable()
{
    return { { "1", "HELLO", "", "Hi there" }, { "2", "HELLO *", "", "Star" }, { "3", "HI", "", "First hi" },
        { "4", QStringLiteral("äpfel"), "", "Apples" }, { "5", "WHAT IS UP", "HELLO", "<srai>HELLO</srai>" },
        { "6", "HI", "WHAT", "Second hi" }, { "7", "K", "", "kay" }, { "8", "@", "", "at" },
        { "9", "TWO\nLINES", "", "Line ONE\nline TWO" }, { "10", "", "", "" } };
}

} // namespace

// The bot page's plain lookup and its capitals, on a table without a window.
class TestMatcher : public QObject
{
    Q_OBJECT

private slots:
    void matcher_data();
    void matcher();
    void eightBitDocument_data();
    void eightBitDocument();
    void emptyPatternsAndTheFallback();
    void capitalize_data();
    void capitalize();
};

void TestMatcher::matcher_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("read");
    struct Case
    {
        const char *name;
        QString sentence;
        QString reply;
    };
    const Case cases[] = {
        { "lower case", QStringLiteral("hello"), QStringLiteral("Hi there") },
        { "mixed case", QStringLiteral("hElLo"), QStringLiteral("Hi there") },
        { "punctuation counts", QStringLiteral("Hello!"), kFallback },
        { "leading blank counts", QStringLiteral(" hello"), kFallback },
        { "trailing blank counts", QStringLiteral("hello "), kFallback },
        { "inner blanks count", QStringLiteral("hello  *"), kFallback },
        { "star is a character", QStringLiteral("Hello *"), QStringLiteral("Star") },
        { "star is no wildcard", QStringLiteral("hello there"), kFallback },
        { "last of two equal patterns", QStringLiteral("hi"), QStringLiteral("Second hi") },
        { "that takes no part", QStringLiteral("what is up"), QStringLiteral("<srai>HELLO</srai>") },
        { "a that is no pattern", QStringLiteral("what"), kFallback },
        { "template shown raw", QStringLiteral("WHAT IS UP"), QStringLiteral("<srai>HELLO</srai>") },
        { "accented capital is not folded", QStringLiteral("ÄPFEL"), kFallback },
        { "accented letters equal", QStringLiteral("äpfel"), QStringLiteral("Apples") },
        { "Kelvin sign is no K", QStringLiteral("\u212A"), kFallback },
        { "k folds to K", QStringLiteral("k"), QStringLiteral("kay") },
        { "backquote is no at sign", QStringLiteral("`"), kFallback },
        { "at sign", QStringLiteral("@"), QStringLiteral("at") },
        { "line breaks as the cells'", QStringLiteral("two\nlines"), QStringLiteral("Line ONE\nline TWO") },
        { "a CR LF differs", QStringLiteral("two\r\nlines"), kFallback },
        { "header row answers", QStringLiteral("<PATTERN>..</pattern>"), QStringLiteral("<template>..</template>") },
        { "header label column is no pattern", QStringLiteral("categories"), kFallback },
        { "empty sentence, blank last row", QStringLiteral(""), QStringLiteral("") },
    };
    // Each case twice: the cells as texts, and as the bytes of a document read in.
    for (const Case &c : cases) {
        QTest::addRow("%s, texts", c.name) << c.sentence << c.reply << false;
        QTest::addRow("%s, bytes", c.name) << c.sentence << c.reply << true;
    }
}

void TestMatcher::matcher()
{
    QFETCH(QString, sentence);
    QFETCH(QString, reply);
    QFETCH(bool, read);
    CategoryTable table;
    setHeader(table);
    if (read) {
        const QByteArray document = refreshText(categoryRows(readTable()), "</aiml>", TextEncoding::Utf8).text;
        table.assignRows(readCategories(document, ReadOptions()));
    } else {
        setRows(table, readTable());
    }
    QCOMPARE(botReply(table, sentence), reply);
    QCOMPARE(lastMatchingTemplate(table, sentence).has_value(), reply != kFallback);
}

void TestMatcher::eightBitDocument_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("reply");
    QTest::newRow("accented capital") << QStringLiteral("CAF\u00c9") << QStringLiteral("cafe");
    QTest::newRow("a-z folded, accent not") << QStringLiteral("caf\u00e9") << kFallback;
    QTest::newRow("question mark") << QStringLiteral("?") << QStringLiteral("question");
    // An 8-bit document writes it as "?", but it is no question mark.
    QTest::newRow("character without a byte") << QStringLiteral("\u20ac") << kFallback;
}

// Cells of an 8-bit document compared as its bytes.
void TestMatcher::eightBitDocument()
{
    QFETCH(QString, sentence);
    QFETCH(QString, reply);
    ReadOptions options;
    options.encoding = TextEncoding::Latin1;
    CategoryTable table;
    table.assignRows(readCategories("<category><pattern>CAF\xc9</pattern><template>cafe</template></category>"
                                    "<category><pattern>?</pattern><template>question</template></category>",
        options));
    QCOMPARE(botReply(table, sentence), reply);
}

void TestMatcher::emptyPatternsAndTheFallback()
{
    CategoryTable table;
    setHeader(table);
    // The last empty pattern wins, even when an earlier one has a template.
    setRows(table, { { "1", "", "", "first" }, { "2", "A", "", "a" }, { "3", "", "", "second" } });
    QCOMPARE(botReply(table, u""), QStringLiteral("second"));
    // Without any empty pattern the empty sentence gets the fallback.
    setRows(table, { { "1", "A", "", "a" } });
    QCOMPARE(botReply(table, u""), kFallback);
    // Before the start-up routine the header is empty too, and answers the empty sentence.
    CategoryTable bare;
    setRows(bare, { { "1", "A", "", "a" } });
    QCOMPARE(lastMatchingTemplate(bare, u"").value_or(QStringLiteral("none")), QString());
}

void TestMatcher::capitalize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("mixed") << "hELLO tHERE"
                           << "Hello there";
    QTest::newRow("fallback") << kFallback << "I cannot understand that, master!";
    QTest::newRow("tags") << "<random><li>Hi THERE</li></random>"
                          << "<random><li>hi there</li></random>";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("one letter") << "a"
                                << "A";
    QTest::newRow("first is a digit") << "1ABC"
                                      << "1abc";
    QTest::newRow("accented first") << QStringLiteral("éCOLE") << QStringLiteral("école");
    QTest::newRow("accented capitals stay") << QStringLiteral("xÀÉ") << QStringLiteral("XÀÉ");
    QTest::newRow("line breaks") << "ab\r\nCD"
                                 << "Ab\r\ncd";
    QTest::newRow("signs next to letters") << "@[`{Z"
                                           << "@[`{z";
}

void TestMatcher::capitalize()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(vorrel::capitalize(text), shown);
}

QTEST_APPLESS_MAIN(TestMatcher)
#include "tst_matcher.moc"
