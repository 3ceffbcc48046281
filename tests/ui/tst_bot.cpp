// The test bot's page: the exchange with its transcript lines and the Enter key, and the
// window's Capitalize (the matcher's own tables run without a window).

#include "MainFormFixture.h"
#include "TableRows.h"

#include "app/Main.h"
#include "bot/Matcher.h"
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

    void capitalizeIsTheBots();

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

void TestBot::capitalizeIsTheBots()
{
    // The window's Capitalize is the bot's own rule, tested with the matcher.
    for (const QString &text : { QStringLiteral("hELLO tHERE"), QStringLiteral("éCOLE") })
        QCOMPARE(TMainForm::Capitalize(text), vorrel::capitalize(text));
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
