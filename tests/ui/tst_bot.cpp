// The test bot: the matcher and Capitalize as data tables, then the exchange on the
// conversation page with its transcript lines and the Enter key.

#include "MainFormFixture.h"
#include "TableRows.h"

#include "app/Main.h"
#include "bot/Matcher.h"
#include "document/AimlReader.h"
#include "document/AimlWriter.h"
#include "document/CategoryTable.h"
#include "document/Document.h"
#include "document/ui/PreviewEditor.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
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

// The transcript's lines.
QStringList logLines(const QPlainTextEdit *log)
{
    return log->toPlainText().split(QLatin1Char('\n'));
}

} // namespace

class TestBot : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void matcher_data();
    void matcher();
    void eightBitDocument_data();
    void eightBitDocument();
    void emptyPatternsAndTheFallback();
    void capitalize_data();
    void capitalize();

    void transcript_data();
    void transcript();
    void transcriptOnlyGrows();
    void enterInInputPressesSayIt_data();
    void enterInInputPressesSayIt();
    void answersFromTheTableAsItStands();

private:
    std::unique_ptr<TMainForm> startedWithRows(const Rows &rows);

    ProgramDir m_dir { kQuietOpts };
};

void TestBot::cleanup()
{
    cancelModalWaits();
}

std::unique_ptr<TMainForm> TestBot::startedWithRows(const Rows &rows)
{
    auto form = startedMainForm();
    form->iButMenu(true);
    setRows(*form->table(), rows);
    return form;
}

void TestBot::matcher_data()
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

void TestBot::matcher()
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

void TestBot::eightBitDocument_data()
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
void TestBot::eightBitDocument()
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

void TestBot::emptyPatternsAndTheFallback()
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

void TestBot::capitalize_data()
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

void TestBot::capitalize()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(vorrel::capitalize(text), shown);
    QCOMPARE(TMainForm::Capitalize(text), shown);
}

void TestBot::transcript_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("match") << "hello" << QStringList { "You: Hello", "Vessra: Hi there", "" };
    QTest::newRow("capitalised both ways") << "hELLO" << QStringList { "You: Hello", "Vessra: Hi there", "" };
    QTest::newRow("no match") << "Hello!"
                              << QStringList { "You: Hello!", "Vessra: I cannot understand that, master!", "" };
    QTest::newRow("empty input") << "" << QStringList { "You: ", "Vessra: ", "" };
    QTest::newRow("tags raw, lower case after the first")
        << "what is up" << QStringList { "You: What is up", "Vessra: <srai>hello</srai>", "" };
    QTest::newRow("reply over two lines")
        << "TWO\nlines" << QStringList { "You: Two", "lines", "Vessra: Line one", "line two", "" };
    QTest::newRow("header row") << "<pattern>..</pattern>"
                                << QStringList { "You: <pattern>..</pattern>", "Vessra: <template>..</template>", "" };
}

void TestBot::transcript()
{
    QFETCH(QString, input);
    QFETCH(QStringList, lines);
    auto form = startedWithRows(readTable());
    form->document()->setDocChanged(false);
    form->input->setPlainText(input);
    QTest::mouseClick(form->SayIt, Qt::LeftButton);
    QCOMPARE(logLines(form->log), lines);
    // Nothing else changes: the sentence stays for another press, the table and flag as they were.
    QCOMPARE(form->input->toPlainText(), input);
    QCOMPARE(rowsOf(*form->table()), readTable());
    QVERIFY(!form->document()->DocChanged());
}

void TestBot::transcriptOnlyGrows()
{
    auto form = startedWithRows(readTable());
    form->input->setPlainText(QStringLiteral("hello"));
    form->SayItClick();
    form->input->setPlainText(QStringLiteral("nothing"));
    form->SayItClick();
    form->SayItClick();
    const QStringList expected { "You: Hello", "Vessra: Hi there", "", "You: Nothing",
        "Vessra: I cannot understand that, master!", "", "You: Nothing", "Vessra: I cannot understand that, master!",
        "" };
    QCOMPARE(logLines(form->log), expected);
    QVERIFY(form->log->isReadOnly());
}

void TestBot::enterInInputPressesSayIt_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void TestBot::enterInInputPressesSayIt()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    auto form = startedWithRows(readTable());
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->tabs->setCurrentIndex(2);
    form->input->setFocus();
    QTRY_VERIFY(form->input->hasFocus());
    QVERIFY(form->SayIt->isDefault());

    QTest::keyClicks(form->input, QStringLiteral("hello"));
    QTest::keyClick(form->input, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(logLines(form->log), (QStringList { "You: Hello", "Vessra: Hi there", "" }));
    QCOMPARE(form->input->toPlainText(), QStringLiteral("hello"));
    QVERIFY(form->input->hasFocus());
    // Enter again repeats the same exchange.
    QTest::keyClick(form->input, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(logLines(form->log).size(), 6);
    QCOMPARE(form->input->toPlainText(), QStringLiteral("hello"));
    // The sentence is selected, so the next one replaces it.
    QTest::keyClicks(form->input, QStringLiteral("bye"));
    QCOMPARE(form->input->toPlainText(), QStringLiteral("bye"));
}

void TestBot::answersFromTheTableAsItStands()
{
    auto form = startedWithRows(readTable());
    form->input->setPlainText(QStringLiteral("new one"));
    form->SayItClick();
    const int row = form->table()->gridRowCount();
    form->table()->setGridRowCount(row + 1);
    form->table()->setCell(1, row, QStringLiteral("NEW ONE"));
    form->table()->setCell(3, row, QStringLiteral("Added"));
    form->SayItClick();
    form->table()->setCell(1, row, QStringLiteral("OTHER"));
    form->SayItClick();
    const QStringList lines = logLines(form->log);
    QCOMPARE(lines.value(1), QStringLiteral("Vessra: I cannot understand that, master!"));
    QCOMPARE(lines.value(4), QStringLiteral("Vessra: Added"));
    QCOMPARE(lines.value(7), QStringLiteral("Vessra: I cannot understand that, master!"));
}

QTEST_MAIN(TestBot)
#include "tst_bot.moc"
