// The document's controller without a window: which questions each command asks after which
// edits, what the file holds afterwards, and the table's history against Refresh.

#include "TableRows.h"
#include "TestFiles.h"

#include "document/CategoryTable.h"
#include "document/ui/DocumentController.h"
#include "document/ui/PreviewEditor.h"

#include <QFile>
#include <QTest>
#include <QUndoStack>

using namespace vorrel;
using namespace vorrel::test;

namespace {

// Answers from a list, in order, noting each question; a file dialog's answer is a name in `folder`.
class ScriptedQuestions final : public DocumentQuestions
{
public:
    QStringList asked;
    QStringList answers;
    QString folder;

    Answer askSave() override { return threeWay(next("save")); }
    Answer askRegenerate() override { return threeWay(next("regenerate")); }
    bool askReplaceReadOnly() override { return next("read-only") == u"yes"; }
    QString chooseFileToOpen() override { return fileName(next("open")); }
    QString chooseFileToSave() override { return fileName(next("save as")); }

private:
    QString next(const char *question)
    {
        asked.append(QLatin1String(question));
        return answers.isEmpty() ? QStringLiteral("cancel") : answers.takeFirst();
    }
    static Answer threeWay(const QString &a)
    {
        return a == u"yes" ? Answer::Yes : a == u"no" ? Answer::No : Answer::Cancel;
    }
    QString fileName(const QString &a) const { return a == u"cancel" ? QString() : folder + u'/' + a; }
};

// A line before everything, which regenerating keeps, as it keeps the header.
const QByteArray kNote = "<!-- note -->\r\n";

// The two categories regenerated after the first pattern became "CHANGED".
const QByteArray kRegenerated = "<?xml version=\"1.0\"?>\r\n<aiml version=\"1.0\">\r\n"
                                "<category>\r\n<pattern>CHANGED</pattern>\r\n<template>\r\nHi there\r\n</template>\r\n"
                                "</category>\r\n \r\n"
                                "<category>\r\n<pattern>YES</pattern>\r\n<that>HI THERE</that>\r\n<template>\r\n"
                                "Good.\r\nVery good.\r\n</template>\r\n</category>\r\n \r\n"
                                "</aiml>\r\n";

QStringList list(const char *items)
{
    return QString::fromLatin1(items).split(u',', Qt::SkipEmptyParts);
}

} // namespace

class TestDocumentController final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void scenarios_data();
    void scenarios();
    void undoAcrossRefresh();

private:
    QString work(const QString &name) const { return m_work->filePath(name); }

    std::unique_ptr<ProgramDir> m_program;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<DocumentController> m_controller;
    ScriptedQuestions m_questions;
};

void TestDocumentController::init()
{
    m_program = std::make_unique<ProgramDir>(kQuietOpts);
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_program->write(QStringLiteral("template.dat"), "<aiml>\r\n</aiml>\r\n"));
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    QVERIFY(writeFile(work("other.aiml"), "<aiml>\r\n</aiml>\r\n"));
    QVERIFY(m_program->write(QStringLiteral("last.dat"), work("other.aiml").toUtf8() + "\r\n"));
    m_questions = ScriptedQuestions();
    m_questions.folder = m_work->path();
    m_controller = std::make_unique<DocumentController>();
    m_controller->setQuestions(&m_questions);
    m_controller->openFile(work("two.aiml"));
}

void TestDocumentController::cleanup()
{
    m_controller.reset();
    m_work.reset();
    m_program.reset();
}

void TestDocumentController::scenarios_data()
{
    QTest::addColumn<QString>("edits");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("done");
    // The file afterwards: "two" the document's, "as" the one Save As names; its text "old",
    // "note" (the text's edit), "regenerated", "note+regenerated" or "none" (no file).
    QTest::addColumn<QString>("file");
    // What still counts as changed when the document stays open: "text", "table".
    QTest::addColumn<QStringList>("changed");
    const auto row = [](const char *edits, const char *command, const char *answers, const char *asked, bool done,
                         const char *file, const char *changed) {
        QTest::addRow("%s; %s; %s", edits, command, answers)
            << QString::fromLatin1(edits) << QString::fromLatin1(command) << list(answers) << list(asked) << done
            << QString::fromLatin1(file) << list(changed);
    };
    // Nothing asked about an unchanged document or a table edit taken back.
    row("none", "Close", "", "", true, "two: old", "");
    row("table undo", "New", "", "", true, "two: old", "");
    // A table edit alone is reason to ask; Yes asks whether to regenerate.
    row("table", "Close", "no", "save", true, "two: old", "");
    row("table", "Close", "cancel", "save", false, "two: old", "table");
    row("table", "Close", "yes,yes", "save,regenerate", true, "two: regenerated", "");
    row("table", "Exit", "yes,no", "save,regenerate", true, "two: old", "table");
    row("table", "New", "yes,cancel", "save,regenerate", false, "two: old", "table");
    row("table", "Open", "no,other.aiml", "save,open", true, "two: old", "");
    row("table", "Open Last", "no", "save", true, "two: old", "");
    // A text edit alone asks nothing about regenerating.
    row("text", "Save", "", "", true, "two: note", "");
    row("both", "Exit", "yes,yes", "save,regenerate", true, "two: note+regenerated", "");
    // Refresh takes the table's change into the text; undoing past it brings the change back.
    row("table refresh", "Save", "", "", true, "two: regenerated", "");
    row("table refresh undo", "Save", "no", "regenerate", true, "two: regenerated", "table");
    // No keeps the table's change unsaved; whatever stops a save after Yes leaves the text as it was.
    row("table", "Save", "yes", "regenerate", true, "two: regenerated", "");
    row("table", "Save", "no", "regenerate", true, "two: old", "table");
    row("table", "Save", "cancel", "regenerate", false, "two: old", "table");
    row("table", "Save As", "yes,as.aiml", "regenerate,save as", true, "as: regenerated", "");
    row("table", "Save As", "yes,cancel", "regenerate,save as", false, "as: none", "table");
    row("table read-only", "Save", "yes,no", "regenerate,read-only", false, "two: old", "table");
    row("table read-only", "Save", "yes,yes", "regenerate,read-only", true, "two: regenerated", "");
    row("both read-only", "Close", "yes,yes,no", "save,regenerate,read-only", false, "two: old", "text,table");
}

void TestDocumentController::scenarios()
{
    QFETCH(QString, edits);
    QFETCH(QString, command);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, asked);
    QFETCH(bool, done);
    QFETCH(QString, file);
    QFETCH(QStringList, changed);

    if (edits.contains(u"text") || edits.contains(u"both"))
        m_controller->preview()->insertAt(QString::fromLatin1(kNote), 0, 0);
    if (edits.contains(u"table") || edits.contains(u"both"))
        m_controller->editCell(PatternColumn, 1, QStringLiteral("CHANGED"));
    if (edits.contains(u"refresh"))
        m_controller->refresh();
    if (edits.contains(u"undo"))
        m_controller->history()->undo();
    if (edits.contains(u"read-only"))
        QVERIFY(QFile::setPermissions(work("two.aiml"), QFile::ReadOwner));
    const QByteArray text = m_controller->preview()->bytes().toByteArray();

    m_questions.answers = answers;
    bool went = false;
    if (command == u"Close")
        went = m_controller->close();
    else if (command == u"Exit")
        went = m_controller->maybeSave();
    else if (command == u"New")
        went = m_controller->maybeSave() && (m_controller->newDocument("T", "A", "L"), true);
    else if (command == u"Open")
        went = m_controller->open();
    else if (command == u"Open Last")
        went = m_controller->openLast();
    else if (command == u"Save")
        went = m_controller->save();
    else
        went = m_controller->saveAs();

    QCOMPARE(m_questions.asked, asked);
    QVERIFY(m_questions.answers.isEmpty());
    QCOMPARE(went, done);
    const QString written = work(file.startsWith(u"as") ? "as.aiml" : "two.aiml");
    const QString content = file.section(QStringLiteral(": "), 1);
    const QByteArray expected = content == u"none" ? QByteArray()
        : content == u"old"                        ? kTwoCategories
        : content == u"note"                       ? kNote + kTwoCategories
        : content == u"regenerated"                ? kRegenerated
                                                   : kNote + kRegenerated;
    QCOMPARE(readFile(written), expected);

    Document *document = m_controller->document();
    if (!done || command.startsWith(u"Save") || command == u"Exit") {
        // A stopped command leaves the text as it stood.
        if (!done)
            QCOMPARE(m_controller->preview()->bytes().toByteArray(), text);
        QCOMPARE(document->DocChanged(), changed.contains(u"text"));
        QCOMPARE(document->TableChanged(), changed.contains(u"table"));
    } else {
        // The next document starts with nothing changed and nothing to undo.
        QCOMPARE(document->fileName(),
            command == u"Close"     ? Document::kNoDocument
                : command == u"New" ? QStringLiteral("T")
                                    : work("other.aiml"));
        QVERIFY(!document->DocChanged() && !document->TableChanged());
        QCOMPARE(m_controller->history()->count(), 0);
    }
}

void TestDocumentController::undoAcrossRefresh()
{
    QUndoStack *history = m_controller->history();
    const Rows read = rowsOf(*m_controller->table());
    // The row's cells still refer into the text that Refresh replaces.
    QVERIFY(m_controller->deleteCategory(1));
    m_controller->refresh();
    const QByteArray refreshed = m_controller->preview()->bytes().toByteArray();
    QVERIFY(!m_controller->document()->TableChanged());
    history->undo();
    QCOMPARE(rowsOf(*m_controller->table()), read);
    QVERIFY(m_controller->document()->TableChanged());
    history->redo();
    QVERIFY(!m_controller->document()->TableChanged());
    // Undoing the table leaves the text alone.
    QCOMPARE(m_controller->preview()->bytes().toByteArray(), refreshed);
}

QTEST_MAIN(TestDocumentController)
#include "tst_documentcontroller.moc"
