// The document's controller without a window: which questions each command asks after which
// edits, what the file holds afterwards, and the table's history against Refresh.

#include "TableRows.h"
#include "TestFiles.h"

#include "document/CategoryTable.h"
#include "document/Document.h"
#include "document/DocumentController.h"
#include "document/PreviewEditor.h"
#include "editing/CategoryEdit.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <memory>

#include <sys/stat.h>

using namespace vorrel;
using namespace vorrel::test;

namespace {

// Answers from a list, in order, noting each question: "save", "regenerate", "read-only",
// "open" and "save as". An answer is "yes", "no", "cancel", or a file's name for the dialogs.
class ScriptedQuestions final : public DocumentQuestions
{
public:
    QStringList asked;
    QStringList answers;

    Answer askSave() override { return threeWay(QStringLiteral("save")); }
    Answer askRegenerate() override { return threeWay(QStringLiteral("regenerate")); }
    bool askReplaceReadOnly() override { return next(QStringLiteral("read-only")) == QLatin1String("yes"); }
    QString chooseFileToOpen() override { return fileName(QStringLiteral("open")); }
    QString chooseFileToSave() override { return fileName(QStringLiteral("save as")); }
    QString folder;

private:
    QString next(const QString &question)
    {
        asked.append(question);
        return answers.isEmpty() ? QStringLiteral("cancel") : answers.takeFirst();
    }
    Answer threeWay(const QString &question)
    {
        const QString a = next(question);
        return a == QLatin1String("yes") ? Answer::Yes : a == QLatin1String("no") ? Answer::No : Answer::Cancel;
    }
    QString fileName(const QString &question)
    {
        const QString a = next(question);
        return a == QLatin1String("cancel") ? QString() : folder + QLatin1Char('/') + a;
    }
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
    void freshHistory_data();
    void freshHistory();

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
    QVERIFY(m_program->isValid() && m_work->isValid());
    QVERIFY(m_program->write(QStringLiteral("template.dat"), "<aiml>\r\n</aiml>\r\n"));
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    QVERIFY(writeFile(work("other.aiml"), "<aiml>\r\n</aiml>\r\n"));
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
    // "FILE: TEXT": the file afterwards, "two" the document's, "as" the one Save As names;
    // the text "old", "note" (the preview's edit), "regenerated", "note+regenerated" or "none".
    QTest::addColumn<QString>("file");
    // What still counts as changed afterwards, when the document is still open: "text", "table".
    QTest::addColumn<QStringList>("changed");

    using L = QStringList;
    const L save { "save" };
    const L saveRegenerate { "save", "regenerate" };
    const L regenerate { "regenerate" };
    const L table { "table" };
    const L none;

    // Nothing asked about an unchanged document or about a table edit taken back.
    QTest::newRow("none, Close") << "none"
                                 << "Close" << none << none << true << "two: old" << none;
    QTest::newRow("none, Save") << "none"
                                << "Save" << none << none << true << "two: old" << none;
    QTest::newRow("table undone, New") << "table undo"
                                       << "New" << none << none << true << "two: old" << none;
    // A table edit alone is reason enough to ask.
    QTest::newRow("table, Close, No") << "table"
                                      << "Close" << L { "no" } << save << true << "two: old" << none;
    QTest::newRow("table, Close, Cancel") << "table"
                                          << "Close" << L { "cancel" } << save << false << "two: old" << table;
    QTest::newRow("table, Close, Yes, regenerate")
        << "table"
        << "Close" << L { "yes", "yes" } << saveRegenerate << true << "two: regenerated" << none;
    QTest::newRow("table, Exit, Yes, as it stands")
        << "table"
        << "Exit" << L { "yes", "no" } << saveRegenerate << true << "two: old" << table;
    QTest::newRow("table, New, Yes, regenerate cancelled")
        << "table"
        << "New" << L { "yes", "cancel" } << saveRegenerate << false << "two: old" << table;
    QTest::newRow("table, Open, No") << "table"
                                     << "Open" << L { "no", "other.aiml" } << L { "save", "open" } << true << "two: old"
                                     << none;
    QTest::newRow("table, Open Last, Cancel") << "table"
                                              << "Open Last" << L { "cancel" } << save << false << "two: old" << table;
    // A text edit alone asks nothing about regenerating.
    QTest::newRow("text, Close, Yes") << "text"
                                      << "Close" << L { "yes" } << save << true << "two: note" << none;
    QTest::newRow("text, Save") << "text"
                                << "Save" << none << none << true << "two: note" << none;
    QTest::newRow("both, Exit, Yes, regenerate")
        << "both"
        << "Exit" << L { "yes", "yes" } << saveRegenerate << true << "two: note+regenerated" << none;
    QTest::newRow("both, Exit, Yes, as it stands")
        << "both"
        << "Exit" << L { "yes", "no" } << saveRegenerate << true << "two: note" << table;
    // Refresh takes the table's change into the text; undoing past it brings the change back.
    QTest::newRow("table refreshed, New, No") << "table refresh"
                                              << "New" << L { "no" } << save << true << "two: old" << none;
    QTest::newRow("table refreshed, Save") << "table refresh"
                                           << "Save" << none << none << true << "two: regenerated" << none;
    QTest::newRow("table refreshed and undone, Save as it stands")
        << "table refresh undo"
        << "Save" << L { "no" } << regenerate << true << "two: regenerated" << table;
    // Save and Save As ask first whether to regenerate; No keeps the table's change pending.
    QTest::newRow("table, Save, Yes") << "table"
                                      << "Save" << L { "yes" } << regenerate << true << "two: regenerated" << none;
    QTest::newRow("table, Save, No") << "table"
                                     << "Save" << L { "no" } << regenerate << true << "two: old" << table;
    QTest::newRow("table, Save, Cancel") << "table"
                                         << "Save" << L { "cancel" } << regenerate << false << "two: old" << table;
    QTest::newRow("table, Save As, Yes") << "table"
                                         << "Save As" << L { "yes", "as.aiml" } << L { "regenerate", "save as" } << true
                                         << "as: regenerated" << none;
    // Whatever stops the save after Yes leaves the text as it was: nothing is regenerated.
    QTest::newRow("table, Save As, Yes, dialog cancelled")
        << "table"
        << "Save As" << L { "yes", "cancel" } << L { "regenerate", "save as" } << false << "as: none" << table;
    QTest::newRow("table, read-only, Save, Yes, No")
        << "table read-only"
        << "Save" << L { "yes", "no" } << L { "regenerate", "read-only" } << false << "two: old" << table;
    QTest::newRow("table, read-only, Save, Yes, Yes")
        << "table read-only"
        << "Save" << L { "yes", "yes" } << L { "regenerate", "read-only" } << true << "two: regenerated" << none;
    QTest::newRow("both, read-only, Close, Yes, Yes, No")
        << "both read-only"
        << "Close" << L { "yes", "yes", "no" } << L { "save", "regenerate", "read-only" } << false << "two: old"
        << L { "text", "table" };
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

    Document *document = m_controller->document();
    QVERIFY(writeFile(m_program->file(QStringLiteral("last.dat")), work("other.aiml").toUtf8() + "\r\n"));
    if (edits.contains(QLatin1String("text")) || edits.contains(QLatin1String("both")))
        m_controller->preview()->insertAt(QString::fromLatin1(kNote), 0, 0);
    if (edits.contains(QLatin1String("table")) || edits.contains(QLatin1String("both")))
        m_controller->editCell(PatternColumn, 1, QStringLiteral("CHANGED"));
    if (edits.contains(QLatin1String("refresh")))
        m_controller->refresh();
    if (edits.contains(QLatin1String("undo")))
        m_controller->history()->undo();
    if (edits.contains(QLatin1String("read-only")))
        QCOMPARE(::chmod(QFile::encodeName(work("two.aiml")).constData(), 0444), 0);
    const QByteArray text = m_controller->preview()->bytes().toByteArray();

    m_questions.answers = answers;
    bool went = false;
    if (command == QLatin1String("Close"))
        went = m_controller->close();
    else if (command == QLatin1String("Exit"))
        went = m_controller->maybeSave();
    else if (command == QLatin1String("New"))
        went = m_controller->maybeSave() && (m_controller->newDocument("T", "A", "L"), true);
    else if (command == QLatin1String("Open"))
        went = m_controller->open();
    else if (command == QLatin1String("Open Last"))
        went = m_controller->openLast();
    else if (command == QLatin1String("Save"))
        went = m_controller->save();
    else
        went = m_controller->saveAs();

    QCOMPARE(m_questions.asked, asked);
    QVERIFY(m_questions.answers.isEmpty());
    QCOMPARE(went, done);
    const QStringList expected = file.split(QStringLiteral(": "));
    const QString written = work(expected[0] == QLatin1String("as") ? "as.aiml" : "two.aiml");
    const QString &content = expected[1];
    if (content == QLatin1String("none"))
        QVERIFY(!QFile::exists(written));
    else if (content == QLatin1String("old"))
        QCOMPARE(readFile(written), kTwoCategories);
    else if (content == QLatin1String("note"))
        QCOMPARE(readFile(written), kNote + kTwoCategories);
    else if (content == QLatin1String("regenerated"))
        QCOMPARE(readFile(written), kRegenerated);
    else
        QCOMPARE(readFile(written), kNote + kRegenerated);

    const bool stillOpen = !done || command == QLatin1String("Save") || command == QLatin1String("Save As")
        || command == QLatin1String("Exit");
    if (stillOpen) {
        // A stopped command leaves the text as it stood.
        if (!done)
            QCOMPARE(m_controller->preview()->bytes().toByteArray(), text);
        QCOMPARE(document->DocChanged(), changed.contains(QLatin1String("text")));
        QCOMPARE(document->TableChanged(), changed.contains(QLatin1String("table")));
    } else {
        // The next document starts with nothing changed and nothing to undo.
        const QString next = command == QLatin1String("Close") ? Document::kNoDocument
            : command == QLatin1String("New")                  ? QStringLiteral("T")
                                                               : work("other.aiml");
        QCOMPARE(document->fileName(), next);
        QVERIFY(!document->DocChanged() && !document->TableChanged());
        QCOMPARE(m_controller->history()->count(), 0);
    }
}

void TestDocumentController::undoAcrossRefresh()
{
    QUndoStack *history = m_controller->history();
    Document *document = m_controller->document();
    const Rows read = rowsOf(*m_controller->table());
    // The row's cells still refer into the text that Refresh is about to replace.
    QVERIFY(m_controller->deleteCategory(1));
    QVERIFY(document->TableChanged());
    QCOMPARE(history->undoText(), QStringLiteral("Delete Category"));
    m_controller->refresh();
    QVERIFY(!document->TableChanged());
    QVERIFY(!m_controller->preview()->bytes().contains("hello"));

    history->undo();
    QCOMPARE(rowsOf(*m_controller->table()), read);
    QVERIFY(document->TableChanged());
    // Undoing the table leaves the text alone.
    QVERIFY(!m_controller->preview()->bytes().contains("hello"));
    history->redo();
    QVERIFY(!document->TableChanged());
    history->undo();

    // A new change after undoing past the refresh can never get back to it.
    m_controller->editCell(TopicColumn, 2, QStringLiteral("games"));
    QCOMPARE(history->undoText(), QStringLiteral("Edit Cell"));
    history->undo();
    QVERIFY(document->TableChanged());
    QVERIFY(!history->canRedo() || history->redoText() == QLatin1String("Edit Cell"));
}

void TestDocumentController::freshHistory_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("New") << "New";
    QTest::newRow("Open") << "Open";
    QTest::newRow("Open Last") << "Open Last";
    QTest::newRow("Close") << "Close";
}

void TestDocumentController::freshHistory()
{
    QFETCH(QString, command);
    QVERIFY(writeFile(m_program->file(QStringLiteral("last.dat")), work("two.aiml").toUtf8() + "\r\n"));
    m_controller->createCategory({ QStringLiteral("A"), {}, QStringLiteral("a"), {} });
    m_controller->refresh();
    m_controller->deleteCategory(1);
    m_questions.answers = { QStringLiteral("no"), QStringLiteral("two.aiml") };
    if (command == QLatin1String("New"))
        QVERIFY(m_controller->maybeSave() && (m_controller->newDocument("T", "A", "L"), true));
    else if (command == QLatin1String("Open"))
        QVERIFY(m_controller->open());
    else if (command == QLatin1String("Open Last"))
        QVERIFY(m_controller->openLast());
    else
        QVERIFY(m_controller->close());
    QCOMPARE(m_controller->history()->count(), 0);
    QVERIFY(!m_controller->document()->TableChanged());
}

QTEST_MAIN(TestDocumentController)
#include "tst_documentcontroller.moc"
