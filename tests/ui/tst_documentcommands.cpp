#include "MainFormFixture.h"
#include "TableRows.h"
#include "TestFiles.h"

#include "app/Main.h"
#include "app/ProgressBar.h"
#include "document/AimlReader.h"
#include "document/CategoryTable.h"
#include "document/Document.h"
#include "document/ui/New.h"
#include "document/ui/PreviewEditor.h"
#include "prefs/ui/Options.h"
#include "widgets/ui/ErrorBox.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <Qsci/qsciscintilla.h>

#include <functional>
#include <memory>

#include <sys/stat.h>

using namespace vorrel;
using namespace vorrel::test;

using PreviewChange = std::function<void(TMainForm &)>;
Q_DECLARE_METATYPE(PreviewChange)

class TestDocumentCommands final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newDocumentFromTemplate();
    void newDialogLayout();
    void newDialogKeepsItsFields();
    void newThenSaveAsksForAName();
    void saveAsCancelChangesNothing();
    void openThenSaveWritesStraight();
    void openFillsTableThroughProgressWindow();
    void openCancelKeepsTheDocument();
    void upcaseSettingApplies();
    void saveWithoutRefreshWritesOldText();
    void refreshRebuildsPreview();
    void topicsCommentsAndTaughtCategoriesSurvive_data();
    void topicsCommentsAndTaughtCategoriesSurvive();
    void tableOutlivesPreviewChanges_data();
    void tableOutlivesPreviewChanges();
    void longLineKeepsItsText();
    void refreshOfNewDocument();
    void refreshFailureChangesNothing();
    void saveQuestion_data();
    void saveQuestion();
    void newAndOpenAskFirst();
    void noQuestionAfterClose();
    void yesWithoutSavingStops_data();
    void yesWithoutSavingStops();
    void fileKeysWhereverTheFocusIs_data();
    void fileKeysWhereverTheFocusIs();
    void reopenRecentDocuments();
    void droppedDocumentOpens();
    void droppedBeforeStartUp();
    void exitAsks_data();
    void exitAsks();
    void deletionIsNotLostOnSaveAndExit();
    void closeRecordsTheTitle();
    void closeResetsTheDocument();
    void typingMarksTheDocumentChanged();
    void largeDocumentReadInPieces();
    void failedSaveKeepsState();
    void readOnlyFileAsks_data();
    void readOnlyFileAsks();
    void unreadableFileKeepsState_data();
    void unreadableFileKeepsState();
    void unreadableTemplateKeepsState();

private:
    QString work(const QString &name) const { return m_work->filePath(name); }
    // Opens through the real open dialog.
    void openThroughDialog(const QString &fileName);
    // Writes the two-category document to the work folder and opens it without the dialog.
    bool openTwo();

    std::unique_ptr<ProgramDir> m_program;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<TMainForm> m_form;
};

void TestDocumentCommands::init()
{
    m_program = std::make_unique<ProgramDir>();
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_program->isValid() && m_work->isValid());
    QVERIFY(m_program->write(QStringLiteral("opts.ini"), kQuietOpts));
    QVERIFY(
        QFile::copy(QStringLiteral(VORREL_DATA_DIR "/template.dat"), m_program->file(QStringLiteral("template.dat"))));
    m_form = startedMainForm();
    QCOMPARE(m_form->path->text(), QStringLiteral("(None)"));
}

void TestDocumentCommands::cleanup()
{
    m_form.reset();
    m_work.reset();
    m_program.reset();
}

void TestDocumentCommands::openThroughDialog(const QString &fileName)
{
    ModalScript script({ choose(fileName) });
    m_form->FileOpenItem->trigger();
    QCOMPARE(script.seen(), QStringList { QStringLiteral("od") });
}

bool TestDocumentCommands::openTwo()
{
    const bool written = writeFile(work("two.aiml"), kTwoCategories);
    m_form->openDocument(work("two.aiml"));
    return written;
}

void TestDocumentCommands::newDocumentFromTemplate()
{
    m_form->frmNew->txtTitle->setText(QStringLiteral("My Bot"));
    m_form->frmNew->txtAuthor->setText(QStringLiteral("Jane"));
    m_form->frmNew->txtLanguage->setText(QStringLiteral("en"));
    ModalScript script({ press("cmdOK") });
    m_form->FileNewItem->trigger();
    QCOMPARE(script.seen(), QStringList { QStringLiteral("frmNew") });

    QByteArray expected = readFile(QStringLiteral(VORREL_DATA_DIR "/template.dat"));
    // LF lines, whatever the file holds.
    expected.replace("AUTHOR1", "Jane").replace("LANG", "en").replace("\r\n", "\n");
    QCOMPARE(previewBytes(*m_form), expected);
    QCOMPARE(m_form->path->text(), QStringLiteral("My Bot"));
    QVERIFY(!m_form->document()->DocHasFile());
    QVERIFY(!m_form->document()->DocChanged());
    QVERIFY(m_form->FileSaveItem->isEnabled());
    QVERIFY(m_form->tabs->isEnabled());
    QCOMPARE(m_form->table()->gridRowCount(), 2);
    QCOMPARE(m_form->table()->cell(0, 1), QStringLiteral("1"));
    QVERIFY(m_form->table()->cell(1, 1).isEmpty());
}

void TestDocumentCommands::newDialogLayout()
{
    TfrmNew *dialog = m_form->frmNew;
    QCOMPARE(dialog->windowTitle(), QStringLiteral("New Document"));
    QCOMPARE(dialog->size(), QSize(357, 176));
    QCOMPARE(dialog->txtTitle->geometry(), QRect(4, 20, 349, 21));
    QCOMPARE(dialog->txtAuthor->geometry(), QRect(4, 64, 349, 21));
    QCOMPARE(dialog->txtLanguage->geometry(), QRect(4, 108, 349, 21));
    QCOMPARE(dialog->cmdCancel->geometry(), QRect(92, 136, 81, 33));
    QCOMPARE(dialog->cmdOK->geometry(), QRect(200, 136, 81, 33));
    QCOMPARE(dialog->Label1->text(), QStringLiteral("Title:"));
    QCOMPARE(dialog->Label2->text(), QStringLiteral("Author:"));
    QCOMPARE(dialog->Label3->text(), QStringLiteral("Language:"));
    QCOMPARE(dialog->Label2->pos(), QPoint(4, 48));
    QVERIFY(dialog->cmdOK->isDefault());
    QVERIFY(!dialog->cmdCancel->isDefault());

    QStringList order;
    QWidget *w = dialog->txtTitle;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order.append(w->objectName());
        w = w->nextInFocusChain();
    } while (w != dialog->txtTitle);
    QCOMPARE(order, (QStringList { "txtTitle", "txtAuthor", "txtLanguage", "cmdCancel", "cmdOK" }));
}

void TestDocumentCommands::newDialogKeepsItsFields()
{
    QCOMPARE(m_form->frmNew->txtTitle->text(), QStringLiteral("NewDocument"));
    QCOMPARE(m_form->frmNew->txtAuthor->text(), QStringLiteral("AUTHOR1"));
    QCOMPARE(m_form->frmNew->txtLanguage->text(), QStringLiteral("LANG"));
    ModalScript script({ [](QWidget *modal) {
                            modal->findChild<QLineEdit *>(QStringLiteral("txtTitle"))->setText(QStringLiteral("Bot"));
                            QTest::keyClick(modal, Qt::Key_Escape);
                        },
        press("cmdCancel"), press("cmdOK") });
    // Escape and the Cancel button both leave no document.
    for (int cancelled = 0; cancelled < 2; ++cancelled) {
        m_form->FileNew();
        QCOMPARE(m_form->path->text(), QStringLiteral("(None)"));
        QVERIFY(!m_form->FileSaveItem->isEnabled());
        QVERIFY(previewBytes(*m_form).isEmpty());
    }
    m_form->FileNew();
    QCOMPARE(script.seen(), (QStringList { "frmNew", "frmNew", "frmNew" }));
    QCOMPARE(m_form->path->text(), QStringLiteral("Bot"));
    QCOMPARE(m_form->frmNew->txtTitle->text(), QStringLiteral("Bot"));
}

void TestDocumentCommands::newThenSaveAsksForAName()
{
    ModalScript script({ press("cmdOK"), choose(work("notes")) });
    m_form->FileNew();
    const QByteArray text = previewBytes(*m_form);
    m_form->FileSaveItem->trigger();
    QCOMPARE(script.seen(), (QStringList { "frmNew", "sd" }));
    QCOMPARE(readFile(work("notes.aiml")), text);
    QCOMPARE(m_form->path->text(), work("notes.aiml"));
    QVERIFY(m_form->document()->DocHasFile());
    QVERIFY(!m_form->document()->DocChanged());
}

void TestDocumentCommands::saveAsCancelChangesNothing()
{
    ModalScript script({ press("cmdOK"), cancel() });
    m_form->FileNew();
    m_form->code->append(QStringLiteral("x"));
    QVERIFY(m_form->document()->DocChanged());
    m_form->FileSaveAs();
    QCOMPARE(script.seen(), (QStringList { "frmNew", "sd" }));
    QVERIFY(m_form->document()->DocChanged());
    QVERIFY(!m_form->document()->DocHasFile());
    QCOMPARE(m_form->path->text(), QStringLiteral("NewDocument"));
    QVERIFY(QDir(m_work->path()).isEmpty());
}

void TestDocumentCommands::openThenSaveWritesStraight()
{
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    openThroughDialog(work("two.aiml"));
    QCOMPARE(m_form->path->text(), work("two.aiml"));
    QVERIFY(m_form->document()->DocHasFile());
    QVERIFY(!m_form->document()->DocChanged());
    m_form->code->append(QStringLiteral("<!-- more -->\r\n"));
    QVERIFY(m_form->document()->DocChanged());

    ModalScript none({});
    m_form->FileSaveItem->trigger();
    QVERIFY(none.seen().isEmpty());
    QCOMPARE(readFile(work("two.aiml")), kTwoCategories + "<!-- more -->\r\n");
    QVERIFY(!m_form->document()->DocChanged());
}

void TestDocumentCommands::openFillsTableThroughProgressWindow()
{
    // Every status the progress window paints while it reads.
    struct StatusSpy final : QObject
    {
        QStringList painted;
        bool eventFilter(QObject *watched, QEvent *e) override
        {
            if (e->type() == QEvent::Paint) {
                const QString text = static_cast<QLabel *>(watched)->text();
                if (painted.isEmpty() || painted.back() != text)
                    painted.append(text);
            }
            return false;
        }
    } spy;
    TpBar *bar = m_form->pBar;
    // Reading handles no events, so only a window the platform has already exposed can
    // show its statuses; each must then be painted the moment it is set.
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar));
    bar->stat->installEventFilter(&spy);
    QCOMPARE(bar->windowTitle(), QStringLiteral("Progress"));
    QCOMPARE(bar->stat->font().pointSize(), 9);

    QByteArray text = kTwoCategories;
    text.replace("</aiml>", "<category><pattern>A</pattern></category><category></category>\r\n</aiml>");
    QVERIFY(writeFile(work("four.aiml"), text));
    openThroughDialog(work("four.aiml"));

    QCOMPARE(spy.painted,
        (QStringList { "Allocating resources...", "Loading: Scanning patterns...", "Loading: Scanning that tags...",
            "Loading: Scanning templates..." }));
    QVERIFY(!bar->isVisible());
    QCOMPARE(bar->pb1->maximum(), 4);
    QCOMPARE(bar->pb1->value(), 0);
    QVERIFY(!m_form->tabs->testAttribute(Qt::WA_SetCursor));

    CategoryTable *t = m_form->table();
    QCOMPARE(t->gridRowCount(), 5);
    const QStringList labels = t->column(0);
    QCOMPARE(labels, (QStringList { "Categories", "1", "2", "3", "4" }));
    QCOMPARE(t->column(1), (QStringList { "<pattern>..</pattern>", "HELLO", "YES", "A", "" }));
    QCOMPARE(t->column(2), (QStringList { "<that>..</that>", "", "HI THERE", "", "" }));
    QCOMPARE(t->column(3), (QStringList { "<template>..</template>", "Hi there", "Good.\r\nVery good.", "", "" }));
    QVERIFY(m_form->tabs->isEnabled());
    QVERIFY(m_form->mnuRefresh->isEnabled());
}

void TestDocumentCommands::openCancelKeepsTheDocument()
{
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    openThroughDialog(work("two.aiml"));
    ModalScript script({ cancel() });
    m_form->FileOpenItemClick();
    QCOMPARE(script.seen(), QStringList { "od" });
    QCOMPARE(m_form->path->text(), work("two.aiml"));
    QCOMPARE(previewBytes(*m_form), kTwoCategories);
    QCOMPARE(m_form->table()->gridRowCount(), 4);
}

void TestDocumentCommands::upcaseSettingApplies()
{
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    m_form->frmOptions->upcase->setChecked(false);
    m_form->openDocument(work("two.aiml"));
    QCOMPARE(m_form->table()->cell(1, 1), QStringLiteral("hello"));
    m_form->frmOptions->upcase->setChecked(true);
    m_form->openDocument(work("two.aiml"));
    QCOMPARE(m_form->table()->cell(1, 1), QStringLiteral("HELLO"));
}

void TestDocumentCommands::saveWithoutRefreshWritesOldText()
{
    QVERIFY(openTwo());
    setPreviewBytes(*m_form, previewBytes(*m_form));
    QVERIFY(m_form->document()->DocChanged());
    m_form->table()->setCell(1, 1, QStringLiteral("CHANGED"));
    m_form->FileSave();
    QCOMPARE(readFile(work("two.aiml")), kTwoCategories);
    QVERIFY(!m_form->document()->DocChanged());
}

void TestDocumentCommands::refreshRebuildsPreview()
{
    QVERIFY(openTwo());
    m_form->mnuRefresh->trigger();
    const QByteArray expected = "<?xml version=\"1.0\"?>\r\n<aiml version=\"1.0\">\r\n"
                                "<category>\r\n<pattern>HELLO</pattern>\r\n<template>\r\nHi there\r\n</template>\r\n"
                                "</category>\r\n \r\n"
                                "<category>\r\n<pattern>YES</pattern>\r\n<that>HI THERE</that>\r\n<template>\r\n"
                                "Good.\r\nVery good.\r\n</template>\r\n</category>\r\n \r\n"
                                "</aiml>\r\n";
    QCOMPARE(previewBytes(*m_form), expected);
    QVERIFY(m_form->document()->DocChanged());
    QCOMPARE(QKeySequence(m_form->mnuRefresh->shortcut()), QKeySequence(Qt::Key_F5));
}

void TestDocumentCommands::topicsCommentsAndTaughtCategoriesSurvive_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
}

// Opened, refreshed and saved, in the file's own line ends.
void TestDocumentCommands::topicsCommentsAndTaughtCategoriesSurvive()
{
    QFETCH(QByteArray, eol);
    const QByteArray taught = "<learn><category><pattern>X</pattern><template>Y</template></category></learn>";
    const QByteArray text = "<?xml version=\"1.0\"?>\r\n<aiml>\r\n<topic name=\"GAMES\">\r\n"
                            "<category><pattern>PLAY</pattern><template>Chess?</template></category>\r\n"
                            "</topic>\r\n<!-- teaching -->\r\n"
                            "<category><pattern>TEACH</pattern><template>"
        + taught + "</template></category>\r\n</aiml>\r\n";
    QVERIFY(writeFile(work("topics.aiml"), QByteArray(text).replace("\r\n", eol)));
    openThroughDialog(work("topics.aiml"));
    const Rows rows { { "1", "PLAY", "", "Chess?", "GAMES" },
        { "2", "TEACH", "", QString::fromLatin1(taught), "", "<!-- teaching -->" }, { "3", "", "", "" } };
    QCOMPARE(rowsOf(*m_form->table()), rows);
    QCOMPARE(m_form->sg1->model()->headerData(TopicColumn, Qt::Horizontal).toString(), QStringLiteral("<topic>"));

    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_F5);
    ModalScript none({});
    m_form->FileSaveItem->trigger();
    QVERIFY(none.seen().isEmpty());
    QCOMPARE(readFile(work("topics.aiml")),
        QByteArray(
            "<?xml version=\"1.0\"?>\r\n<aiml>\r\n<topic name=\"GAMES\">\r\n<category>\r\n<pattern>PLAY</pattern>\r\n"
            "<template>\r\nChess?\r\n</template>\r\n</category>\r\n \r\n</topic>\r\n<!-- teaching -->\r\n"
            "<category>\r\n<pattern>TEACH</pattern>\r\n<template>\r\n"
            + taught + "\r\n</template>\r\n</category>\r\n \r\n</aiml>\r\n")
            .replace("\r\n", eol));
    m_form->openDocument(work("topics.aiml"));
    QCOMPARE(rowsOf(*m_form->table()), rows);
}

void TestDocumentCommands::tableOutlivesPreviewChanges_data()
{
    QTest::addColumn<PreviewChange>("change");
    const auto send = [](TMainForm &form, unsigned int message, unsigned long w, const char *l) {
        form.code->SendScintilla(message, w, l);
    };
    QTest::newRow("typing at the start") << PreviewChange(
        [send](TMainForm &form) { send(form, QsciScintillaBase::SCI_INSERTTEXT, 0, "typed "); });
    QTest::newRow("deleting the first line") << PreviewChange([](TMainForm &form) {
        form.code->SendScintilla(
            QsciScintillaBase::SCI_DELETERANGE, 0UL, static_cast<long>(kTwoCategories.indexOf('\n') + 1));
    });
    QTest::newRow("typing, then undo") << PreviewChange([send](TMainForm &form) {
        send(form, QsciScintillaBase::SCI_INSERTTEXT, 0, "typed ");
        form.code->undo();
    });
    QTest::newRow("whole text replaced") << PreviewChange(
        [](TMainForm &form) { setPreviewBytes(form, "<aiml>\r\n</aiml>\r\n"); });
    QTest::newRow("refreshed twice") << PreviewChange([](TMainForm &form) {
        form.mnuRefreshClick();
        form.mnuRefreshClick();
    });
}

// The cells refer into the preview's text after opening; whatever changes the text, they
// keep what was read, and a refresh writes them.
void TestDocumentCommands::tableOutlivesPreviewChanges()
{
    QFETCH(PreviewChange, change);
    QVERIFY(openTwo());
    CategoryTable *t = m_form->table();
    const QStringList patterns = t->column(PatternColumn);
    const QStringList thats = t->column(ThatColumn);
    const QStringList templates = t->column(TemplateColumn);
    change(*m_form);
    QCOMPARE(t->column(PatternColumn), patterns);
    QCOMPARE(t->column(ThatColumn), thats);
    QCOMPARE(t->column(TemplateColumn), templates);
    m_form->mnuRefreshClick();
    ReadOptions options;
    options.upcase = true;
    const CategoryRows again = readCategories(previewBytes(*m_form), options);
    QCOMPARE(again.text(1, ThatColumn), thats[2]);
    QCOMPARE(again.text(1, TemplateColumn), templates[2]);
}

void TestDocumentCommands::longLineKeepsItsText()
{
    const QByteArray line
        = QByteArray("<category><pattern>A B</pattern><template>C D</template></category>").repeated(3000);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->code->setBytes(line, TextEncoding::Utf8);
    m_form->repaint();
    QCOMPARE(previewBytes(*m_form), line);
    // The layout of every line on screen is kept across repaints and new texts.
    QCOMPARE(
        m_form->code->SendScintilla(QsciScintillaBase::SCI_GETLAYOUTCACHE), long(QsciScintillaBase::SC_CACHE_PAGE));
}

void TestDocumentCommands::refreshOfNewDocument()
{
    ModalScript script({ press("cmdOK") });
    m_form->FileNew();
    const QByteArray templ = previewBytes(*m_form);
    m_form->mnuRefreshClick();
    QByteArray expected = templ;
    expected.replace(
        "</aiml>\n", "<category>\n<pattern></pattern>\n<template>\n\n</template>\n</category>\n \n</aiml>\n");
    QCOMPARE(previewBytes(*m_form), expected);
    // Nothing of the template is lost by a second refresh.
    m_form->mnuRefreshClick();
    QCOMPARE(previewBytes(*m_form), expected);
}

void TestDocumentCommands::refreshFailureChangesNothing()
{
    // Neither a category tag nor a closing line of its own.
    const QByteArray text = "<aiml>\r\n  <pattern>A</pattern>\r\n  </aiml>\r\n";
    QVERIFY(writeFile(work("indented.aiml"), text));
    m_form->openDocument(work("indented.aiml"));
    QVERIFY(!m_form->document()->DocChanged());
    const int rows = m_form->table()->gridRowCount();
    QString box;
    ModalScript script({ readBox(&box) });
    m_form->mnuRefresh->trigger();
    QCOMPARE(script.seen(), QStringList { "ErrorBox" });
    QCOMPARE(box, QStringLiteral("AIML Vorrel 3.0|List index out of bounds (-1)"));
    QCOMPARE(previewBytes(*m_form), text);
    QVERIFY(!m_form->document()->DocChanged());
    QCOMPARE(m_form->table()->gridRowCount(), rows);
}

void TestDocumentCommands::saveQuestion_data()
{
    QTest::addColumn<Step>("reply");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("closed");
    QTest::newRow("yes") << answer(QMessageBox::Yes) << true << true;
    QTest::newRow("no") << answer(QMessageBox::No) << false << true;
    QTest::newRow("cancel") << answer(QMessageBox::Cancel) << false << false;
    QTest::newRow("escape") << Step([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); }) << false << false;
    QTest::newRow("close box") << Step([](QWidget *w) { w->close(); }) << false << false;
}

void TestDocumentCommands::saveQuestion()
{
    QFETCH(Step, reply);
    QFETCH(bool, saved);
    QFETCH(bool, closed);

    QVERIFY(openTwo());
    m_form->code->append(QStringLiteral("<!-- x -->\r\n"));
    QVERIFY(m_form->document()->DocChanged());

    QString caption;
    QString text;
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalScript script({ [&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (box) {
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton *b : box->buttons())
                buttons.append(box->standardButton(b));
        }
        reply.action(w);
    } });
    m_form->mnuClose->trigger();

    QCOMPARE(script.seen(), QStringList { "Confirm" });
    QCOMPARE(caption, QStringLiteral("Confirm"));
    QCOMPARE(text, QStringLiteral("Do you wish to save changes to current document?"));
    QCOMPARE(icon, QMessageBox::Question);
    std::sort(buttons.begin(), buttons.end());
    QCOMPARE(buttons, (QList<QMessageBox::StandardButton> { QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel }));

    QCOMPARE(readFile(work("two.aiml")), saved ? kTwoCategories + "<!-- x -->\r\n" : kTwoCategories);
    const QString last = m_program->file(QStringLiteral("last.dat"));
    if (closed) {
        QCOMPARE(m_form->path->text(), QStringLiteral("(None)"));
        QVERIFY(previewBytes(*m_form).isEmpty());
        QVERIFY(!m_form->document()->DocChanged());
        QCOMPARE(readFile(last), work("two.aiml").toUtf8() + "\r\n");
    } else {
        QCOMPARE(m_form->path->text(), work("two.aiml"));
        QCOMPARE(previewBytes(*m_form), kTwoCategories + "<!-- x -->\r\n");
        QVERIFY(m_form->document()->DocChanged());
        QVERIFY(!QFile::exists(last));
    }
}

void TestDocumentCommands::newAndOpenAskFirst()
{
    QVERIFY(openTwo());
    m_form->code->append(QStringLiteral("x"));
    ModalScript script({ answer(QMessageBox::Cancel), answer(QMessageBox::Cancel), answer(QMessageBox::No), cancel(),
        answer(QMessageBox::No), press("cmdCancel") });
    m_form->FileNewItem->trigger();
    m_form->SpeedButton2->click();
    m_form->FileOpenItem->trigger();
    m_form->SpeedButton1->click();
    QCOMPARE(script.seen(), (QStringList { "Confirm", "Confirm", "Confirm", "od", "Confirm", "frmNew" }));
    QCOMPARE(m_form->path->text(), work("two.aiml"));
    QVERIFY(m_form->document()->DocChanged());
}

void TestDocumentCommands::noQuestionAfterClose()
{
    QVERIFY(openTwo());
    m_form->mnuRefreshClick();
    ModalScript script({ answer(QMessageBox::No), press("cmdCancel"), cancel() });
    m_form->mnuCloseClick();
    QVERIFY(!m_form->document()->DocChanged());
    QVERIFY(m_form->document()->DocHasFile());
    m_form->FileNew();
    m_form->FileOpenItemClick();
    QCOMPARE(script.seen(), (QStringList { "Confirm", "frmNew", "od" }));
}

void TestDocumentCommands::yesWithoutSavingStops_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("writeFails");
    for (const char *command : { "New", "Open", "Close" }) {
        QTest::addRow("%s, save dialog cancelled", command) << QString::fromLatin1(command) << false;
        QTest::addRow("%s, write failed", command) << QString::fromLatin1(command) << true;
    }
}

void TestDocumentCommands::yesWithoutSavingStops()
{
    QFETCH(QString, command);
    QFETCH(bool, writeFails);
    if (writeFails) {
        // A file whose folder has become a plain file cannot be written, whoever runs the test.
        QVERIFY(QDir(m_work->path()).mkdir(QStringLiteral("gone")));
        QVERIFY(writeFile(work("gone/two.aiml"), kTwoCategories));
        m_form->openDocument(work("gone/two.aiml"));
        QVERIFY(QFile::remove(work("gone/two.aiml")) && QDir(m_work->path()).rmdir(QStringLiteral("gone")));
        QVERIFY(writeFile(work("gone"), "a file now"));
    } else {
        ModalScript script({ press("cmdOK") });
        m_form->FileNew();
    }
    m_form->code->append(QStringLiteral("x"));
    const QString name = m_form->path->text();
    const QByteArray text = previewBytes(*m_form);
    const int rows = m_form->table()->gridRowCount();

    ModalScript script({ answer(QMessageBox::Yes), cancel() });
    if (command == QLatin1String("New"))
        m_form->FileNewItem->trigger();
    else if (command == QLatin1String("Open"))
        m_form->FileOpenItem->trigger();
    else
        m_form->mnuClose->trigger();
    // Nothing after the unsaved Yes: no New Document or open dialog.
    QCOMPARE(script.seen(), (QStringList { "Confirm", writeFails ? "ErrorBox" : "sd" }));
    QCOMPARE(m_form->path->text(), name);
    QCOMPARE(previewBytes(*m_form), text);
    QCOMPARE(m_form->table()->gridRowCount(), rows);
    QVERIFY(m_form->document()->DocChanged());
    QVERIFY(m_form->FileSaveItem->isEnabled());
    QVERIFY(!QFile::exists(m_program->file(QStringLiteral("last.dat"))));
}

void TestDocumentCommands::fileKeysWhereverTheFocusIs_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("seen");
    QTest::newRow("Ctrl+N in the preview") << 1 << QKeySequence("Ctrl+N") << "Confirm";
    QTest::newRow("Ctrl+O on the grid") << 0 << QKeySequence("Ctrl+O") << "Confirm";
    QTest::newRow("Ctrl+S in the preview") << 1 << QKeySequence("Ctrl+S") << "";
    QTest::newRow("Ctrl+Shift+S on the grid") << 0 << QKeySequence("Ctrl+Shift+S") << "sd";
    QTest::newRow("Ctrl+W in the sentence box") << 2 << QKeySequence("Ctrl+W") << "Confirm";
    QTest::newRow("Ctrl+P in the preview") << 1 << QKeySequence("Ctrl+P") << "PrintDialog";
    QTest::newRow("Ctrl+Q on the grid") << 0 << QKeySequence("Ctrl+Q") << "Confirm";
}

// The keys reach the commands from the control with the focus; every window that comes up is
// cancelled, so only Save writes.
void TestDocumentCommands::fileKeysWhereverTheFocusIs()
{
    QFETCH(int, page);
    QFETCH(QKeySequence, key);
    QFETCH(QString, seen);
    QVERIFY(openTwo());
    m_form->code->append(QStringLiteral("<!-- x -->\r\n"));
    const QByteArray text = previewBytes(*m_form);
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    m_form->tabs->setCurrentIndex(page);
    QWidget *target = QList<QWidget *> { m_form->sg1, m_form->code, m_form->input }.at(page);
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    ModalScript script({});
    QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
    QCOMPARE(script.seen().join(QString()), seen);
    QCOMPARE(readFile(work("two.aiml")), seen.isEmpty() ? text : kTwoCategories);
}

void TestDocumentCommands::reopenRecentDocuments()
{
    QStringList files;
    for (int i = 1; i <= 9; ++i) {
        files.prepend(work(QStringLiteral("doc%1.aiml").arg(i)));
        QVERIFY(writeFile(files.first(), kTwoCategories));
        m_form->openDocument(files.first());
    }
    QList<QAction *> items = m_form->mnuReopen->actions();
    QCOMPARE(items.size(), 8);

    // Through the save question, as Open; the document goes first again.
    m_form->code->append(QStringLiteral("x"));
    {
        ModalScript question({ answer(QMessageBox::No) });
        items.at(3)->trigger();
        QCOMPARE(question.seen(), QStringList { "Confirm" });
    }
    QCOMPARE(m_form->path->text(), files[3]);
    QCOMPARE(m_form->mnuReopen->actions().at(0)->statusTip(), files[3]);

    // A file gone leaves the list with a message, and asks nothing about the document.
    m_form->code->append(QStringLiteral("x"));
    QVERIFY(QFile::remove(files[5]));
    QString message;
    QString caption;
    expectMessageBox(&message, &caption);
    m_form->mnuReopen->actions().at(5)->trigger();
    QVERIFY2(message.contains(files[5]), qPrintable(message));
    QCOMPARE(m_form->path->text(), files[3]);

    // Kept in opts.ini for the next run.
    m_form->document()->setDocChanged(false);
    m_form = startedMainForm();
    items = m_form->mnuReopen->actions();
    QCOMPARE(items.size(), 7);
    QCOMPARE(items.at(0)->statusTip(), files[3]);
    QCOMPARE(items.at(5)->statusTip(), files[6]);
}

void TestDocumentCommands::droppedDocumentOpens()
{
    QVERIFY(openTwo());
    m_form->code->append(QStringLiteral("x"));
    QVERIFY(writeFile(work("other.aiml"), "<aiml>\r\n</aiml>\r\n"));
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(work("other.aiml")) });
    data.setText(work("other.aiml"));
    // Dropped on the preview, it opens like Open, not as text in the preview.
    QWidget *target = m_form->code->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    ModalScript script({ answer(QMessageBox::No) });
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCOMPARE(script.seen(), QStringList { "Confirm" });
    QCOMPARE(m_form->path->text(), work("other.aiml"));
    QCOMPARE(previewBytes(*m_form), QByteArray("<aiml>\r\n</aiml>\r\n"));

    // Anything but one AIML document is left to the control.
    data.setUrls({ QUrl::fromLocalFile(work("notes.txt")) });
    QDragEnterEvent other(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_form.get(), &other);
    QVERIFY(!other.isAccepted());
}

void TestDocumentCommands::droppedBeforeStartUp()
{
    QVERIFY(writeFile(work("early.aiml"), kTwoCategories));
    // A window whose start-up routine has not run yet.
    TMainForm form;
    QVERIFY(form.Timer1->isActive());
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(work("early.aiml")) });
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.code->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.code->viewport(), &drop);
    form.Timer1Timer();
    QCOMPARE(form.path->text(), work("early.aiml"));
    QVERIFY(form.mnuReport->isEnabled());
    QCOMPARE(previewBytes(form), kTwoCategories);
}

void TestDocumentCommands::exitAsks_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("hasFile");
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QStringList>("seen");
    QTest::addColumn<bool>("exits");
    QTest::addColumn<bool>("saved");
    const QList<Step> none;
    QTest::newRow("unchanged") << false << true << none << QStringList() << true << false;
    QTest::newRow("cancel") << true << true << QList<Step> { answer(QMessageBox::Cancel) } << QStringList { "Confirm" }
                            << false << false;
    QTest::newRow("close box") << true << true << QList<Step> { cancel() } << QStringList { "Confirm" } << false
                               << false;
    QTest::newRow("no") << true << true << QList<Step> { answer(QMessageBox::No) } << QStringList { "Confirm" } << true
                        << false;
    QTest::newRow("yes") << true << true << QList<Step> { answer(QMessageBox::Yes) } << QStringList { "Confirm" }
                         << true << true;
    QTest::newRow("yes, save as") << true << false << QList<Step> { answer(QMessageBox::Yes), choose(QString()) }
                                  << QStringList { "Confirm", "sd" } << true << true;
    QTest::newRow("yes, save as cancelled") << true << false << QList<Step> { answer(QMessageBox::Yes), cancel() }
                                            << QStringList { "Confirm", "sd" } << false << false;
}

void TestDocumentCommands::exitAsks()
{
    QFETCH(bool, changed);
    QFETCH(bool, hasFile);
    QFETCH(QList<Step>, steps);
    QFETCH(QStringList, seen);
    QFETCH(bool, exits);
    QFETCH(bool, saved);
    if (hasFile) {
        QVERIFY(openTwo());
    } else {
        ModalScript script({ press("cmdOK") });
        m_form->FileNew();
    }
    if (changed)
        m_form->code->append(QStringLiteral("<!-- x -->\r\n"));
    const QByteArray text = previewBytes(*m_form);
    // Save As is given the work folder's "new.aiml".
    if (seen.contains(QStringLiteral("sd")) && saved)
        steps[1] = choose(work("new.aiml"));
    m_form->show();
    ModalScript script(steps);
    m_form->FileExitItem->trigger();
    QCOMPARE(script.seen(), seen);
    QCOMPARE(m_form->isVisible(), !exits);
    QCOMPARE(m_form->document()->DocChanged(), changed && !saved);
    const QString file = hasFile ? work("two.aiml") : work("new.aiml");
    QCOMPARE(readFile(file), saved ? text : (hasFile ? kTwoCategories : QByteArray()));
    if (exits) {
        m_form.reset();
        // The last document is recorded on the way out, as before.
        const QByteArray last = readFile(m_program->file(QStringLiteral("last.dat")));
        QCOMPARE(last, (saved || hasFile ? file : QStringLiteral("NewDocument")).toUtf8() + "\r\n");
    }
}

// A category deleted with Ctrl+Del reaches the file only through the regenerate question, and
// Exit asks about it until it does; Ctrl+Z and Ctrl+Y on the grid take it back and again.
void TestDocumentCommands::deletionIsNotLostOnSaveAndExit()
{
    QVERIFY(openTwo());
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    m_form->mnuCategoriesClick();
    m_form->sg1->setCurrentIndex(m_form->table()->index(0, 1));
    m_form->sg1->setFocus();
    QTRY_VERIFY(m_form->sg1->hasFocus());
    bool threeButtons = false;
    ModalScript script({ answer(QMessageBox::Yes),
        Step(QStringLiteral("RegenerateConfirm"),
            [&](QWidget *w) {
                auto *box = static_cast<QMessageBox *>(w);
                threeButtons = box->standardButtons() == (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
                box->button(QMessageBox::No)->click();
            }),
        answer(QMessageBox::Cancel), answer(QMessageBox::Yes) });
    QTest::keyClick(m_form->sg1, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_form->EditUndoItem->text(), QStringLiteral("&Undo Delete Category"));
    // The offscreen platform gives the window back its activation only when asked.
    m_form->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_form.get());
    QTest::keyClick(m_form->sg1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_form->table()->cell(PatternColumn, 1), QStringLiteral("HELLO"));
    QTest::keyClick(m_form->sg1, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(m_form->table()->cell(PatternColumn, 1), QStringLiteral("YES"));

    // No saves the text as it stands, and the deletion is still to be saved.
    m_form->FileSaveItem->trigger();
    QCOMPARE(readFile(work("two.aiml")), kTwoCategories);
    m_form->FileExitItem->trigger();
    QVERIFY(m_form->isVisible());
    m_form->SpeedButton3->click();
    QCOMPARE(script.seen(), (QStringList { "DeleteConfirm", "RegenerateConfirm", "Confirm", "RegenerateConfirm" }));
    QCOMPARE(script.met[1].text,
        QStringLiteral("The categories have changed since the text was last regenerated. "
                       "Regenerate the text before saving?"));
    QVERIFY(threeButtons);
    const QByteArray saved = readFile(work("two.aiml"));
    QVERIFY(!saved.contains("HELLO") && saved.contains("<pattern>YES</pattern>"));
    QCOMPARE(previewBytes(*m_form), saved);
    // Nothing is left unsaved: Exit asks nothing.
    ModalScript none({});
    m_form->FileExitItem->trigger();
    QVERIFY(none.met.isEmpty());
    QVERIFY(!m_form->isVisible());
}

void TestDocumentCommands::closeRecordsTheTitle()
{
    ModalScript script({ press("cmdOK") });
    m_form->FileNew();
    m_form->mnuClose->trigger();
    QCOMPARE(script.seen(), QStringList { "frmNew" });
    QCOMPARE(readFile(m_program->file(QStringLiteral("last.dat"))), QByteArray("NewDocument\r\n"));
}

void TestDocumentCommands::closeResetsTheDocument()
{
    QVERIFY(openTwo());
    m_form->mnuCloseClick();
    QCOMPARE(m_form->path->text(), QStringLiteral("(None)"));
    QCOMPARE(m_form->table()->gridRowCount(), 2);
    QVERIFY(m_form->table()->cell(1, 1).isEmpty());
    QVERIFY(m_form->table()->cell(3, 1).isEmpty());
    QVERIFY(!m_form->FileSaveItem->isEnabled());
    QVERIFY(!m_form->tabs->isEnabled());
    QVERIFY(m_form->document()->DocHasFile());
    QVERIFY(!m_form->document()->DocChanged());
    QVERIFY(previewBytes(*m_form).isEmpty());
}

void TestDocumentCommands::typingMarksTheDocumentChanged()
{
    QVERIFY(openTwo());
    QVERIFY(!m_form->document()->DocChanged());
    m_form->code->setFocus();
    QTest::keyClick(m_form->code, Qt::Key_Delete);
    QVERIFY(m_form->document()->DocChanged());
    // Typing changes the text only, not the table.
    QCOMPARE(m_form->table()->cell(1, 1), QStringLiteral("HELLO"));
}

void TestDocumentCommands::largeDocumentReadInPieces()
{
    QByteArray bytes = "<aiml>\r\n";
    while (bytes.size() < (qsizetype(3) << 20))
        bytes += "<category>\n<pattern>P</pattern>\n<template>T</template>\n</category>\n";
    bytes += "</aiml>\r\n";
    QVERIFY(writeFile(work("large.aiml"), bytes));

    QSignalSpy changes(m_form->code, &QsciScintilla::textChanged);
    m_form->openDocument(work("large.aiml"));
    QVERIFY(!changes.isEmpty());
    QVERIFY(!m_form->document()->DocChanged());
    QVERIFY(!m_form->code->isUndoAvailable());
    QCOMPARE(previewBytes(*m_form), bytes);
    QCOMPARE(m_form->table()->gridRowCount(), Hits(bytes, "</pattern>") + 2);
}

void TestDocumentCommands::failedSaveKeepsState()
{
    QVERIFY(writeFile(work("plain"), "not a folder"));
    QString box;
    ModalScript script({ press("cmdOK"), choose(work("plain") + QStringLiteral("/two.aiml")), readBox(&box) });
    m_form->FileNew();
    m_form->code->append(QStringLiteral("x"));
    m_form->FileSaveItem->trigger();
    QCOMPARE(script.seen(), (QStringList { "frmNew", "sd", "ErrorBox" }));
    QVERIFY2(box.startsWith(QStringLiteral("AIML Vorrel 3.0|Cannot create file \"")), qPrintable(box));
    QVERIFY(m_form->document()->DocChanged());
    QCOMPARE(m_form->path->text(), QStringLiteral("NewDocument"));
    QCOMPARE(readFile(work("plain")), QByteArray("not a folder"));
}

void TestDocumentCommands::readOnlyFileAsks_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QStringList>("seen");
    QTest::addColumn<bool>("replaced");

    const QString confirm = QStringLiteral("ReadOnlyConfirm");
    QTest::newRow("Save, yes") << "Save" << QList<Step> { answer(QMessageBox::Yes) } << QStringList { confirm } << true;
    QTest::newRow("Save, no") << "Save" << QList<Step> { answer(QMessageBox::No) } << QStringList { confirm } << false;
    QTest::newRow("Save, Enter takes the default")
        << "Save" << QList<Step> { Step([](QWidget *w) { QTest::keyClick(w, Qt::Key_Return); }) }
        << QStringList { confirm } << false;
    QTest::newRow("Save through a link, yes")
        << "Link" << QList<Step> { answer(QMessageBox::Yes) } << QStringList { confirm } << true;
    QTest::newRow("Save As, no") << "Save As" << QList<Step> { choose(QString()), answer(QMessageBox::No) }
                                 << QStringList { "sd", confirm } << false;
    QTest::newRow("Close, yes to saving, no to replacing")
        << "Close" << QList<Step> { answer(QMessageBox::Yes), answer(QMessageBox::No) }
        << QStringList { "Confirm", confirm } << false;
}

void TestDocumentCommands::readOnlyFileAsks()
{
    QFETCH(QString, command);
    QFETCH(QList<Step>, steps);
    QFETCH(QStringList, seen);
    QFETCH(bool, replaced);
    const QString file = work("two.aiml");
    QVERIFY(writeFile(file, kTwoCategories));
    QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    const QString opened = command == QLatin1String("Link") ? work("link.aiml") : file;
    if (opened != file)
        QVERIFY(QFile::link(file, opened));
    m_form->openDocument(opened);
    m_form->code->append(QStringLiteral("<!-- more -->\r\n"));
    const QByteArray text = previewBytes(*m_form);
    // Save As is given the name without its extension, which it then writes without the save
    // dialog's own question about replacing.
    if (command == QLatin1String("Save As"))
        steps[0] = choose(work("two"));

    ModalScript script(steps);
    if (command == QLatin1String("Save As"))
        m_form->FileSaveAsItem->trigger();
    else if (command == QLatin1String("Close"))
        m_form->mnuClose->trigger();
    else
        m_form->FileSaveItem->trigger();
    QCOMPARE(script.seen(), seen);
    QCOMPARE(readFile(file), replaced ? text : kTwoCategories);
    QCOMPARE(int(QFileInfo(file).permissions() & QFile::WriteOwner), 0);
    QVERIFY(QFileInfo(opened).isSymLink() == (opened != file));
    QCOMPARE(m_form->document()->DocChanged(), !replaced);
    QCOMPARE(m_form->path->text(), opened);
}

void TestDocumentCommands::unreadableFileKeepsState_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("folder");
    QTest::newRow("no document, missing file") << 0 << false;
    QTest::newRow("new document, missing file") << 1 << false;
    QTest::newRow("opened document, missing file") << 2 << false;
    QTest::newRow("opened document, folder") << 2 << true;
}

void TestDocumentCommands::unreadableFileKeepsState()
{
    QFETCH(int, before);
    QFETCH(bool, folder);
    if (before == 1) {
        ModalScript script({ press("cmdOK") });
        m_form->FileNew();
    } else if (before == 2) {
        QVERIFY(openTwo());
        m_form->code->append(QStringLiteral("x"));
    }
    const QString name = m_form->path->text();
    const QByteArray text = previewBytes(*m_form);
    const bool changed = m_form->document()->DocChanged();
    const bool hadFile = m_form->document()->DocHasFile();
    const bool enabled = m_form->FileSaveItem->isEnabled();
    const int rows = m_form->table()->gridRowCount();

    const QString bad = work(folder ? "folder.aiml" : "missing.aiml");
    if (folder)
        QVERIFY(QDir(m_work->path()).mkdir(QStringLiteral("folder.aiml")));
    QString box;
    ModalScript script({ readBox(&box) });
    runCommand(m_form.get(), [&] { m_form->openDocument(bad); });
    QCOMPARE(script.seen(), QStringList { "ErrorBox" });
    QVERIFY2(box.contains(QDir::toNativeSeparators(bad)), qPrintable(box));
    // The open document stays exactly as it was, so that Save cannot write an empty text
    // over the file that could not be read.
    QCOMPARE(m_form->path->text(), name);
    QCOMPARE(previewBytes(*m_form), text);
    QCOMPARE(m_form->document()->DocChanged(), changed);
    QCOMPARE(m_form->document()->DocHasFile(), hadFile);
    QCOMPARE(m_form->FileSaveItem->isEnabled(), enabled);
    QCOMPARE(m_form->table()->gridRowCount(), rows);
}

void TestDocumentCommands::unreadableTemplateKeepsState()
{
    QVERIFY(openTwo());
    QVERIFY(QFile::remove(m_program->file(QStringLiteral("template.dat"))));
    QString box;
    ModalScript script({ press("cmdOK"), readBox(&box) });
    m_form->FileNew();
    QCOMPARE(script.seen(), (QStringList { "frmNew", "ErrorBox" }));
    QVERIFY2(box.contains(QStringLiteral("template.dat")), qPrintable(box));
    QCOMPARE(m_form->path->text(), work("two.aiml"));
    QCOMPARE(previewBytes(*m_form), kTwoCategories);
    QVERIFY(!m_form->document()->DocChanged());
    QVERIFY(m_form->document()->DocHasFile());
    QCOMPARE(m_form->table()->gridRowCount(), 4);
}

QTEST_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
