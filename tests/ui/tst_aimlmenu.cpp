// The AIML menu's Check Document and Interpret AIML, driven through the real window: the problem
// list and the way to a problem's place; the switch in opts.ini, the interpreter's answers on the
// Vessra page, the table reaching it, and the commands that end a conversation.

#include "MainFormFixture.h"
#include "TableRows.h"

#include "app/Main.h"
#include "bot/TableBot.h"
#include "document/CategoryTable.h"
#include "document/Checker.h"
#include "document/Document.h"
#include "document/ui/CheckPanel.h"
#include "document/ui/PreviewEditor.h"
#include "editing/ui/FindDialog.h"
#include "prefs/ui/Options.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStringEncoder>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace vorrel;
using namespace vorrel::test;

namespace {

// A category on one line: <pattern> at column 11, <template> at 31 + the pattern's length.
QByteArray cat(const QByteArray &pattern, const QByteArray &templ)
{
    return "<category><pattern>" + pattern + "</pattern><template>" + templ + "</template></category>";
}

// The body starts on line 2.
QByteArray aiml(const QByteArray &body)
{
    return "<aiml>\n" + body + "\n</aiml>\n";
}

QByteArray utf16(const QByteArray &utf8)
{
    return QStringEncoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom)(QString::fromUtf8(utf8));
}

// "E@line:column" or "W@line:column" for each line of the list.
QString listed(const QTreeWidget *list)
{
    QStringList parts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        const bool error = item->data(CheckPanel::SeverityColumn, Qt::ToolTipRole).toString() == u"Error";
        parts.append(QStringLiteral("%1@%2:%3")
                         .arg(error ? QLatin1Char('E') : QLatin1Char('W'))
                         .arg(item->text(CheckPanel::LineColumn), item->text(CheckPanel::ColumnColumn)));
    }
    return parts.join(QLatin1Char(' '));
}

QImage image(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage();
}

// Wildcards, a that, a srai, a loop and a reply over several lines, the blank row last.
Rows botTable()
{
    return { { "1", "HELLO *", "", "Hi, <star/>!" }, { "2", "HELLO", "", "Hello   yourself." },
        { "3", "YES", "DO YOU LIKE CATS", "Cats it is." }, { "4", "YES", "", "Yes what?" },
        { "5", "GREET *", "", "<srai>HELLO <star/></srai>" }, { "6", "LOOP", "", "<srai>LOOP</srai>" },
        { "7", "POEM", "", "Roses\r\n  are\r\n\r\nred" }, { "8", "ASK", "", "Do you like cats?" },
        { "9", "", "", "" } };
}

// A predicate set and read back.
Rows nameTable()
{
    return { { "1", "MY NAME IS *", "", "<think><set name=\"name\"><star/></set></think>Noted." },
        { "2", "WHO AM I", "", "You are <get name=\"name\"/>." } };
}

QString lastReply(const QPlainTextEdit *log)
{
    const QStringList lines = log->toPlainText().split(QLatin1Char('\n'));
    return lines.value(lines.size() - 2);
}

} // namespace

class TestAimlMenu final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuItems_data();
    void menuItems();

    void listsTheProblems_data();
    void listsTheProblems();
    void panelTakesTheBottomOfTheWindow();
    void problemShowsItsPlace_data();
    void problemShowsItsPlace();
    void f7FromTheFocusedControl_data();
    void f7FromTheFocusedControl();

    void startUpReadsTheSwitch_data();
    void startUpReadsTheSwitch();
    void toggleWritesInPlace_data();
    void toggleWritesInPlace();
    void writeFailureLeavesTheItem_data();
    void writeFailureLeavesTheItem();
    void answers_data();
    void answers();
    void tableChangesReachTheBotOnce_data();
    void tableChangesReachTheBotOnce();
    void commandsEndTheConversation_data();
    void commandsEndTheConversation();
    void wholeFolder();

private:
    void start(const QByteArray &opts = kQuietOpts);
    // Writes the document to the work folder and opens it, as Open does after its dialog.
    void open(const QByteArray &bytes);
    void showActive();
    // "Say it", also where the page is disabled because no document is open.
    void say(const QString &sentence);
    QTreeWidget *list() const { return m_form->findChild<QTreeWidget *>(QStringLiteral("checkProblems")); }
    QLabel *summaryLine() const { return m_form->findChild<QLabel *>(QStringLiteral("checkSummary")); }
    QWidget *panel() const { return m_form->findChild<QWidget *>(QStringLiteral("checkList")); }
    QString opts() const { return m_dir->file(QStringLiteral("opts.ini")); }

    std::unique_ptr<ProgramDir> m_dir;
    QTemporaryDir m_work;
    std::unique_ptr<TMainForm> m_form;
};

void TestAimlMenu::init()
{
    QVERIFY(m_work.isValid());
}

void TestAimlMenu::cleanup()
{
    cancelModalWaits();
    m_form.reset();
    m_dir.reset();
}

void TestAimlMenu::start(const QByteArray &optsBytes)
{
    m_dir = std::make_unique<ProgramDir>(optsBytes);
    m_form = startedMainForm();
}

void TestAimlMenu::open(const QByteArray &bytes)
{
    start();
    const QString file = m_work.filePath(QStringLiteral("checked.aiml"));
    QVERIFY(writeFile(file, bytes));
    m_form->openDocument(file);
    QVERIFY(!m_form->document()->DocChanged());
}

void TestAimlMenu::showActive()
{
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestAimlMenu::say(const QString &sentence)
{
    m_form->input->setPlainText(sentence);
    m_form->SayItClick();
}

void TestAimlMenu::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("checkable");
    QTest::newRow("mnuCheck") << "mnuCheck"
                              << "Check &Document"
                              << "F7"
                              << "Check the document for errors and warnings" << false;
    QTest::newRow("mnuInterpret") << "mnuInterpret"
                                  << "&Interpret AIML"
                                  << ""
                                  << "Answer on the Vessra page as an AIML interpreter would" << true;
}

void TestAimlMenu::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(QString, hint);
    QFETCH(bool, checkable);
    start();
    auto *item = m_form->findChild<QAction *>(name);
    QVERIFY(item && m_form->mnuAIML->actions().contains(item));
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), QKeySequence(shortcut));
    QCOMPARE(item->statusTip(), hint);
    QCOMPARE(item->isCheckable(), checkable);
    QVERIFY(!item->isChecked());
    // Enabled with the other document commands; F7 does nothing without a document.
    QVERIFY(!item->isEnabled());
    showActive();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_form.get(), Qt::Key_F7);
    QVERIFY(panel()->isHidden());
    m_form->iButMenu(true);
    QVERIFY(item->isEnabled());
}

void TestAimlMenu::listsTheProblems_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("upcase");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("summary");
    QTest::newRow("errors and warnings") << aiml(cat("A", "Tom & Jerry") + '\n' + cat("A", "x") + '\n' + cat("B?", ""))
                                         << true << "E@2:46 W@3:1 W@4:11 W@4:32"
                                         << "1 error, 3 warnings";
    QTest::newRow("two errors") << aiml(
        "<category><template>x</template></category>\n<category><template>y</template></category>")
                                << true << "E@2:1 E@3:1"
                                << "2 errors, 0 warnings";
    QTest::newRow("lower case, patterns upcased") << aiml(cat("hello", "Hi.")) << true << "W@2:11"
                                                  << "0 errors, 1 warning";
    QTest::newRow("lower case, patterns as typed") << aiml(cat("hello", "Hi.")) << false << ""
                                                   << "No problems found";
    // Checked as the file holds it, so the declaration agrees with the bytes.
    QTest::newRow("UTF-16") << utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + aiml(cat("HI", "<foo/>")))
                            << true << "W@3:42"
                            << "0 errors, 1 warning";
}

void TestAimlMenu::listsTheProblems()
{
    QFETCH(QByteArray, document);
    QFETCH(bool, upcase);
    QFETCH(QString, expected);
    QFETCH(QString, summary);
    open(document);
    m_form->frmOptions->upcase->setChecked(upcase);
    const QByteArray before = previewBytes(*m_form);
    const Rows rows = rowsOf(*m_form->table());
    QVERIFY(panel()->isHidden());

    m_form->mnuCheck->trigger();
    QVERIFY(!panel()->isHidden());
    QCOMPARE(listed(list()), expected);
    QCOMPARE(summaryLine()->text(), summary);
    CheckOptions options;
    options.upcasePatterns = upcase;
    const std::vector<Problem> problems = checkDocument(document, options);
    auto *checkPanel = static_cast<CheckPanel *>(panel());
    QVERIFY(image(checkPanel->severityIcon(Severity::Error)) != image(checkPanel->severityIcon(Severity::Warning)));
    for (int i = 0; i < list()->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list()->topLevelItem(i);
        QCOMPARE(item->text(CheckPanel::MessageColumn), problems.at(size_t(i)).message);
        QCOMPARE(image(item->icon(CheckPanel::SeverityColumn)),
            image(checkPanel->severityIcon(problems.at(size_t(i)).severity)));
    }
    // Checking changes nothing.
    QCOMPARE(previewBytes(*m_form), before);
    QCOMPARE(rowsOf(*m_form->table()), rows);
    QVERIFY(!m_form->document()->DocChanged());

    // A second check replaces the list.
    setPreviewBytes(*m_form, aiml(cat("HELLO", "Hi.")));
    m_form->mnuCheck->trigger();
    QCOMPARE(list()->topLevelItemCount(), 0);
    QCOMPARE(summaryLine()->text(), QStringLiteral("No problems found"));
}

void TestAimlMenu::panelTakesTheBottomOfTheWindow()
{
    open(aiml(cat("A", "&")));
    showActive();
    QWidget *client = m_form->centralWidget();
    const QRect designed(4, 56, client->width() - 11, client->height() - 58);
    QCOMPARE(m_form->tabs->geometry(), designed);

    m_form->mnuCheck->trigger();
    const QRect tabs = m_form->tabs->geometry();
    const QRect below = panel()->geometry();
    QCOMPARE(tabs, QRect(designed.topLeft(), QSize(designed.width(), tabs.height())));
    QVERIFY(tabs.height() < designed.height() - 60);
    QCOMPARE(below.left(), 4);
    QCOMPARE(below.width(), tabs.width());
    QVERIFY(below.top() > tabs.bottom() && below.bottom() <= designed.bottom());

    // The notebook follows the window's size; the panel keeps its height at the bottom.
    m_form->resize(m_form->width() + 40, m_form->height() + 100);
    QTRY_COMPARE(m_form->tabs->height(), tabs.height() + 100);
    QCOMPARE(panel()->geometry(), below.translated(0, 100).adjusted(0, 0, 40, 0));
}

void TestAimlMenu::problemShowsItsPlace_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    const QByteArray utf8 = aiml(cat("CAF\xc3\x89", "\xc3\xa9<foo/>"));
    const QByteArray latin1
        = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<aiml>\n" + cat("\xc9T\xc9", "\xe9<foo/>") + "\n</aiml>";
    const QByteArray wide
        = utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + aiml(cat("\xc3\x89T\xc3\x89", "<foo/>")));
    for (const bool enter : { false, true }) {
        const char *how = enter ? "Enter" : "double-click";
        QTest::addRow("UTF-8, %s", how) << utf8 << enter << 2 << 45;
        QTest::addRow("8-bit, %s", how) << latin1 << enter << 3 << 44;
        QTest::addRow("UTF-16, %s", how) << wide << enter << 3 << 43;
    }
}

void TestAimlMenu::problemShowsItsPlace()
{
    QFETCH(QByteArray, document);
    QFETCH(bool, enter);
    QFETCH(int, line);
    QFETCH(int, column);
    open(document);
    showActive();
    m_form->tabs->setCurrentIndex(0);
    m_form->mnuCheck->trigger();
    QCOMPARE(listed(list()), QStringLiteral("W@%1:%2").arg(line).arg(column));
    QTreeWidgetItem *item = list()->topLevelItem(0);
    if (enter) {
        list()->setFocus();
        QTRY_VERIFY(list()->hasFocus());
        QTest::keyClick(list(), Qt::Key_Return);
    } else {
        // As the window system sends it: a click, then the second press as a double-click.
        QTRY_VERIFY(list()->viewport()->rect().contains(list()->visualItemRect(item)));
        const QPoint at = list()->visualItemRect(item).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(list()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    QCOMPARE(m_form->tabs->currentWidget(), static_cast<QWidget *>(m_form->code));
    QVERIFY(m_form->mnuPreview->isChecked());
    QTRY_VERIFY(m_form->code->hasFocus());
    // The cursor stands before "<foo/>": the column counts characters, the editor holds bytes.
    int cursorLine = -1;
    int index = -1;
    m_form->code->getCursorPosition(&cursorLine, &index);
    QCOMPARE(cursorLine, line - 1);
    QCOMPARE(index, column - 1);
    const long lineStart = m_form->code->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line - 1);
    QCOMPARE(m_form->code->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS) - lineStart,
        long(previewBytes(*m_form).split('\n').value(line - 1).indexOf("<foo/>")));
    // A place past the end of its line stays on that line.
    m_form->showProblemAt(line, 500);
    m_form->code->getCursorPosition(&cursorLine, &index);
    QCOMPARE(cursorLine, line - 1);
    QVERIFY(!m_form->document()->DocChanged());
}

void TestAimlMenu::f7FromTheFocusedControl_data()
{
    QTest::addColumn<QString>("place");
    QTest::newRow("preview") << "preview";
    QTest::newRow("cell being edited") << "cell";
    QTest::newRow("sentence box") << "input";
}

void TestAimlMenu::f7FromTheFocusedControl()
{
    QFETCH(QString, place);
    open(aiml(cat("A", "x") + '\n' + cat("A", "y")));
    showActive();
    if (place == QLatin1String("preview")) {
        m_form->tabs->setCurrentIndex(1);
        m_form->code->setFocus();
    } else if (place == QLatin1String("input")) {
        m_form->tabs->setCurrentIndex(2);
        m_form->input->setFocus();
    } else {
        m_form->tabs->setCurrentIndex(0);
        m_form->sg1->setCurrentIndex(m_form->table()->index(0, PatternColumn));
        m_form->sg1->setFocus();
        m_form->sg1->edit(m_form->sg1->currentIndex());
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cellEditor"));
    }
    QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == m_form.get());
    const QByteArray before = previewBytes(*m_form);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    QVERIFY(!panel()->isHidden());
    QCOMPARE(summaryLine()->text(), QStringLiteral("0 errors, 1 warning"));
    QCOMPARE(previewBytes(*m_form), before);
    QVERIFY(!m_form->document()->DocChanged());
}

void TestAimlMenu::startUpReadsTheSwitch_data()
{
    QTest::addColumn<QByteArray>("optsBytes");
    QTest::addColumn<bool>("checked");
    QTest::newRow("on") << QByteArray("[Preferences]\r\nDlg=0\r\nInterp=1\r\n") << true;
    QTest::newRow("off") << QByteArray("[Preferences]\r\nDlg=0\r\nInterp=0\r\n") << false;
    QTest::newRow("missing") << kQuietOpts << false;
    QTest::newRow("other section") << QByteArray("[Preferences]\r\nDlg=0\r\n[Font]\r\nInterp=1\r\n") << false;
}

void TestAimlMenu::startUpReadsTheSwitch()
{
    QFETCH(QByteArray, optsBytes);
    QFETCH(bool, checked);
    start(optsBytes);
    QCOMPARE(m_form->mnuInterpret->isChecked(), checked);
}

void TestAimlMenu::toggleWritesInPlace_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("on");
    QTest::newRow("added at the end of its section")
        << QByteArray("[Font]\r\nName=Arial\r\n[Preferences]\r\nDlg=0\r\n; note\r\n[Other]\r\nx=1\r\n")
        << QByteArray("[Font]\r\nName=Arial\r\n[Preferences]\r\nDlg=0\r\n; note\r\nInterp=1\r\n[Other]\r\nx=1\r\n");
    QTest::newRow("replaced where it stands, LF kept")
        << QByteArray("[Preferences]\nInterp=0\nDlg=0\n") << QByteArray("[Preferences]\nInterp=1\nDlg=0\n");
}

void TestAimlMenu::toggleWritesInPlace()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, on);
    start(before);
    m_form->iButMenu(true);
    m_form->mnuInterpret->trigger();
    QVERIFY(m_form->mnuInterpret->isChecked());
    QCOMPARE(m_dir->read(QStringLiteral("opts.ini")), on);
    m_form->mnuInterpret->trigger();
    QVERIFY(!m_form->mnuInterpret->isChecked());
    QCOMPARE(m_dir->read(QStringLiteral("opts.ini")), QByteArray(on).replace("Interp=1", "Interp=0"));
    // The Options dialog's OK keeps the key.
    m_form->frmOptions->cmdOKClick();
    QVERIFY(m_dir->read(QStringLiteral("opts.ini")).contains("Interp=0"));
}

void TestAimlMenu::writeFailureLeavesTheItem_data()
{
    QTest::addColumn<bool>("wasOn");
    QTest::newRow("turning on") << false;
    QTest::newRow("turning off") << true;
}

void TestAimlMenu::writeFailureLeavesTheItem()
{
    QFETCH(bool, wasOn);
    start(wasOn ? QByteArray("[Preferences]\r\nDlg=0\r\nInterp=1\r\n") : kQuietOpts);
    m_form->iButMenu(true);
    QVERIFY(QFile::remove(opts()) && QDir(m_dir->path()).mkdir(QStringLiteral("opts.ini")));
    QString text;
    ModalScript script({ readBox(&text) });
    m_form->mnuInterpret->trigger();
    QCOMPARE(script.seen(), QStringList { QStringLiteral("ErrorBox") });
    // The system's reason follows the file's name.
    const QString prefix
        = QStringLiteral("AIML Vorrel 3.0|Unable to write to %1. ").arg(QDir::toNativeSeparators(opts()));
    QVERIFY2(text.startsWith(prefix) && text.size() > prefix.size() + 1, qPrintable(text));
    QCOMPARE(m_form->mnuInterpret->isChecked(), wasOn);
}

void TestAimlMenu::answers_data()
{
    // Said first, when not empty; then the sentence.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("interpreted");
    QTest::addColumn<QString>("status");
    // Grid row that becomes the current one; 2, where the test leaves it, when none answered.
    QTest::addColumn<int>("row");
    // The first line of the exact lookup's reply, with the item unticked.
    QTest::addColumn<QString>("exact");
    const QString fallback = QStringLiteral("I cannot understand that, master!");
    const auto row = [](const char *name, const QString &before, const QString &sentence, const QString &interpreted,
                         const QString &status, int answering, const QString &exact) {
        QTest::newRow(name) << before << sentence << interpreted << status << answering << exact;
    };
    row("wildcard", "", "hello there", "Hi, THERE!", "Row 1: HELLO *", 1, fallback);
    row("runs of blanks become one", "", "Hello", "Hello yourself.", "Row 2: HELLO", 2, "Hello   yourself.");
    row("that not said", "", "yes", "Yes what?", "Row 4: YES", 4, "Yes what?");
    row("that said", "ask", "yes", "Cats it is.", "Row 3: YES · that DO YOU LIKE CATS", 3, "Yes what?");
    row("srai", "", "greet you", "Hi, YOU!", "Row 5: GREET *", 5, fallback);
    row("no category matched", "", "what now", fallback, "No category matched", 2, fallback);
    row("srai limit", "", "loop", "", "Row 6: LOOP · srai limit reached", 6, "<srai>loop</srai>");
    row("line breaks become one blank", "", "poem", "Roses are red", "Row 7: POEM", 7, "Roses");
    row("star is a word to the interpreter", "", "Hello *", "Hi, *!", "Row 1: HELLO *", 1, "Hi, <star/>!");
}

void TestAimlMenu::answers()
{
    QFETCH(QString, before);
    QFETCH(QString, sentence);
    QFETCH(QString, interpreted);
    QFETCH(QString, status);
    QFETCH(int, row);
    QFETCH(QString, exact);
    start();
    m_form->iButMenu(true);
    setRows(*m_form->table(), botTable());
    // Unticked, then ticked, on the same table: unticked is the exact lookup, as before.
    for (const bool on : { false, true }) {
        m_form->mnuInterpret->setChecked(on);
        if (!before.isEmpty())
            say(before);
        m_form->log->clear();
        m_form->sg1->setCurrentIndex(m_form->table()->index(1, PatternColumn));
        m_form->StatusLine->clearMessage();
        m_form->input->setPlainText(sentence);
        QTest::mouseClick(m_form->findChild<QPushButton *>(QStringLiteral("SayIt")), Qt::LeftButton);
        const QStringList lines = m_form->log->toPlainText().split(QLatin1Char('\n'));
        const QString you = QStringLiteral("You: ") + TMainForm::Capitalize(sentence);
        if (on) {
            QCOMPARE(lines, (QStringList { you, QStringLiteral("Vessra: ") + interpreted, QString() }));
            QCOMPARE(m_form->StatusLine->currentMessage(), status);
            QCOMPARE(m_form->currentRow(), row);
        } else {
            QCOMPARE(lines.mid(0, 2), (QStringList { you, QStringLiteral("Vessra: ") + exact }));
            QCOMPARE(m_form->StatusLine->currentMessage(), QString());
            QCOMPARE(m_form->currentRow(), 2);
        }
        QCOMPARE(m_form->sg1->currentIndex().column(), int(PatternColumn));
    }
}

void TestAimlMenu::tableChangesReachTheBotOnce_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("reply");
    QTest::newRow("none") << "none"
                          << "Old.";
    QTest::newRow("cell typed") << "cell"
                                << "Typed.";
    QTest::newRow("row added") << "add"
                               << "Added.";
    QTest::newRow("table emptied") << "reset"
                                   << "I cannot understand that, master!";
}

void TestAimlMenu::tableChangesReachTheBotOnce()
{
    QFETCH(QString, change);
    QFETCH(QString, reply);
    start();
    m_form->mnuInterpret->setChecked(true);
    CategoryTable &table = *m_form->table();
    setRows(table, { { "1", "OTHER", "", "x" }, { "2", "ASK", "", "Old." } });
    say(QStringLiteral("ask"));
    say(QStringLiteral("other"));
    QCOMPARE(m_form->bot()->builds(), 1);
    if (change == QLatin1String("cell")) {
        // Through the model, as the grid's cell editor writes.
        QVERIFY(table.setData(table.index(1, TemplateColumn), QStringLiteral("Typed.")));
    } else if (change == QLatin1String("add")) {
        table.setGridRowCount(4);
        table.setCell(PatternColumn, 3, QStringLiteral("ASK"));
        table.setCell(TemplateColumn, 3, QStringLiteral("Added."));
    } else if (change == QLatin1String("reset")) {
        table.reset();
    }
    say(QStringLiteral("ask"));
    say(QStringLiteral("ask"));
    QCOMPARE(lastReply(m_form->log), QStringLiteral("Vessra: ") + reply);
    QCOMPARE(m_form->bot()->builds(), change == QLatin1String("none") ? 1 : 2);
}

void TestAimlMenu::commandsEndTheConversation_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("forgotten");
    QTest::newRow("none") << "none" << false;
    QTest::newRow("Refresh") << "Refresh" << false;
    QTest::newRow("New") << "New" << true;
    QTest::newRow("Open") << "Open" << true;
    QTest::newRow("Open Last") << "Open Last" << true;
    QTest::newRow("Close") << "Close" << true;
}

void TestAimlMenu::commandsEndTheConversation()
{
    QFETCH(QString, command);
    QFETCH(bool, forgotten);
    open(aiml(cat("A", "B")));
    QVERIFY(QFile::copy(QStringLiteral(VORREL_DATA_DIR "/template.dat"), m_dir->file(QStringLiteral("template.dat"))));
    m_form->SaveLast();
    m_form->mnuInterpret->setChecked(true);
    setRows(*m_form->table(), nameTable());
    m_form->document()->setDocChanged(false);
    say(QStringLiteral("my name is Ann"));
    QCOMPARE(lastReply(m_form->log), QStringLiteral("Vessra: Noted."));

    if (command == QLatin1String("New")) {
        ModalScript script({ press("cmdOK") });
        m_form->FileNewItem->trigger();
        QCOMPARE(script.seen(), QStringList { QStringLiteral("frmNew") });
    } else if (command == QLatin1String("Open")) {
        ModalScript script({ choose(m_work.filePath(QStringLiteral("checked.aiml"))) });
        m_form->FileOpenItem->trigger();
        QCOMPARE(script.seen(), QStringList { QStringLiteral("od") });
    } else if (command == QLatin1String("Open Last")) {
        QVERIFY(m_form->openLastDocument());
    } else if (command == QLatin1String("Close")) {
        m_form->mnuClose->trigger();
        QVERIFY(!m_form->document()->isOpen());
    } else if (command == QLatin1String("Refresh")) {
        m_form->mnuRefresh->trigger();
    }
    // The commands replace the table's rows; the question's rows come back.
    setRows(*m_form->table(), nameTable());
    say(QStringLiteral("who am I"));
    QCOMPARE(lastReply(m_form->log), QStringLiteral("Vessra: You are %1.").arg(forgotten ? "" : "ANN"));
}

void TestAimlMenu::wholeFolder()
{
    // The two switches as start-up reads them.
    start(kQuietOpts + "Interp=1\r\nFolder=1\r\n");
    QVERIFY(m_form->mnuInterpret->isChecked() && m_form->mnuFolder->isChecked());
    QTemporaryDir folder;
    const QString greetings = folder.filePath(QStringLiteral("greetings.aiml"));
    const QString mine = folder.filePath(QStringLiteral("mine.aiml"));
    QVERIFY(writeFile(greetings,
        aiml(cat("HELLO *", "Hi from there.") + "\n" + cat("WHERE", "In <bot name=\"location\"/>.") + "\n"
            + cat("HI", "Theirs."))));
    QVERIFY(writeFile(mine, aiml(cat("OTHER", "x") + "\n" + cat("HI", "<srai>HELLO YOU</srai>"))));
    m_form->openDocument(mine);

    // Another file answers and is named, and the current row stays; the document's own rows win.
    const int current = m_form->sg1->currentIndex().row();
    say(QStringLiteral("hello there"));
    QCOMPARE(lastReply(m_form->log), QStringLiteral("Vessra: Hi from there."));
    QCOMPARE(m_form->StatusLine->currentMessage(), QStringLiteral("greetings.aiml row 1: HELLO *"));
    QCOMPARE(m_form->sg1->currentIndex().row(), current);
    say(QStringLiteral("hi"));
    QCOMPARE(m_form->StatusLine->currentMessage(), QStringLiteral("mine.aiml row 2: HI"));
    QCOMPARE(m_form->sg1->currentIndex().row(), 1);
    // The Bot page's properties, as the grid holds them.
    m_form->frmOptions->botProps->setItem(1, 0, new QTableWidgetItem(QStringLiteral("location")));
    m_form->frmOptions->botProps->setItem(1, 1, new QTableWidgetItem(QStringLiteral("Oslo")));
    say(QStringLiteral("where"));
    QCOMPARE(lastReply(m_form->log), QStringLiteral("Vessra: In Oslo."));

    // The check finds the srai's target in the folder, and only there.
    m_form->mnuCheck->trigger();
    QCOMPARE(listed(list()), QString());
    m_form->mnuFolder->trigger();
    QVERIFY(readFile(opts()).contains("Folder=0"));
    m_form->mnuCheck->trigger();
    QCOMPARE(listed(list()), QStringLiteral("W@3:42"));
    say(QStringLiteral("hello there"));
    QCOMPARE(lastReply(m_form->log), QStringLiteral("Vessra: I cannot understand that, master!"));

    // Find in Files lists both files; a line of the other opens it there.
    m_form->frmFind->txtFind->setText(QStringLiteral("hello"));
    m_form->mnuFindInFiles->trigger();
    QCOMPARE(list()->topLevelItemCount(), 2);
    QCOMPARE(summaryLine()->text(), QStringLiteral("2 lines found in 2 files"));
    QTreeWidgetItem *theirs = list()->topLevelItem(0);
    QCOMPARE(theirs->text(0) + theirs->text(1), QStringLiteral("greetings.aiml2"));
    m_form->code->setText(QStringLiteral("changed"));
    // Cancel at the save question keeps the document.
    const auto cancelled = whenModal(QStringLiteral("Confirm"),
        [](QWidget *box) { static_cast<QMessageBox *>(box)->button(QMessageBox::Cancel)->click(); });
    Q_EMIT list()->itemActivated(theirs, 0);
    QVERIFY(*cancelled);
    QCOMPARE(m_form->document()->fileName(), mine);
    const auto declined = whenModal(QStringLiteral("Confirm"),
        [](QWidget *box) { static_cast<QMessageBox *>(box)->button(QMessageBox::No)->click(); });
    Q_EMIT list()->itemActivated(theirs, 0);
    QVERIFY(*declined);
    QCOMPARE(m_form->document()->fileName(), greetings);
    int line = -1;
    int index = -1;
    m_form->code->getCursorPosition(&line, &index);
    QCOMPARE(line, 1);
}

QTEST_MAIN(TestAimlMenu)
#include "tst_aimlmenu.moc"
