#include "MainFormFixture.h"
#include "TestFiles.h"

#include "app/ErrorBox.h"
#include "app/Main.h"
#include "app/ProgressBar.h"
#include "document/AimlReader.h"
#include "document/CategoryTable.h"
#include "document/New.h"
#include "prefs/Options.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <Qsci/qsciscintilla.h>

#include <functional>
#include <memory>

using namespace vorrel;
using namespace vorrel::test;

namespace {

using Step = std::function<void(QWidget *)>;

// Acts on the modal windows as they come up, one step each, in order, from inside their
// own event loops. Modal windows beyond the script are closed, so a test never hangs;
// `seen` names every one met.
class ModalScript final : public QObject
{
public:
    explicit ModalScript(QList<Step> steps) : m_steps(std::move(steps))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    QStringList seen;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Hide && watched == m_current) {
            watched->removeEventFilter(this);
            m_current = nullptr;
        }
        return false;
    }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_current || !modal->isVisible())
            return;
        m_current = modal;
        modal->installEventFilter(this);
        seen.append(modal->objectName());
        const Step step = m_next < m_steps.size() ? m_steps[m_next++] : Step([](QWidget *w) { w->close(); });
        // Acted on from a posted call, so that a modal window the step opens in turn
        // finds this timer free to fire again.
        QMetaObject::invokeMethod(
            this,
            [step, window = QPointer<QWidget>(modal)] {
                if (window)
                    step(window);
            },
            Qt::QueuedConnection);
    }

    QList<Step> m_steps;
    qsizetype m_next = 0;
    QTimer m_timer;
    QWidget *m_current = nullptr;
};

Step press(const char *button)
{
    return [button](QWidget *modal) {
        if (auto *b = modal->findChild<QAbstractButton *>(QLatin1String(button)))
            b->click();
        else
            modal->close();
    };
}

Step answer(QMessageBox::StandardButton which)
{
    return [which](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box && box->button(which))
            box->button(which)->click();
        else
            modal->close();
    };
}

Step choose(const QString &fileName)
{
    return [fileName](QWidget *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            // selectFile() leaves a focused name field alone: type the name instead.
            dialog->setDirectory(QFileInfo(fileName).absolutePath());
            if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                edit->setText(QFileInfo(fileName).fileName());
            static_cast<QDialog *>(dialog)->accept();
        } else {
            modal->close();
        }
    };
}

Step cancel()
{
    return [](QWidget *modal) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    };
}

Step readBox(QString *text)
{
    return [text](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            *text = box->windowTitle() + QLatin1Char('|') + box->text();
        modal->close();
    };
}

const QByteArray kTwoCategories
    = "<?xml version=\"1.0\"?>\r\n"
      "<aiml version=\"1.0\">\r\n"
      "<category>\r\n<pattern>hello</pattern>\r\n<template>\r\n  Hi there\r\n</template>\r\n"
      "</category>\r\n"
      "<category>\r\n<pattern>YES</pattern>\r\n<that>HI THERE</that>\r\n"
      "<template>Good.\r\nVery good.</template>\r\n</category>\r\n"
      "</aiml>\r\n";

} // namespace

class TestDocuments final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newDocumentFromTemplate_data();
    void newDocumentFromTemplate();
    void newDialogLayout();
    void newDialogKeepsItsFields();
    void newThenSaveAsksForAName();
    void saveAsNames_data();
    void saveAsNames();
    void saveAsCancelChangesNothing();
    void openThenSaveWritesStraight();
    void openFillsTableThroughProgressWindow();
    void openCancelKeepsTheDocument();
    void upcaseSettingApplies();
    void saveWithoutRefreshWritesOldText();
    void refreshRebuildsPreview();
    void refreshOfNewDocument();
    void refreshFailureChangesNothing();
    void saveQuestion_data();
    void saveQuestion();
    void newAndOpenAskFirst();
    void noQuestionAfterClose();
    void yesThenSaveAsCancelStillGoesOn();
    void closeRecordsTheTitle();
    void closeResetsTheDocument();
    void typingMarksTheDocumentChanged();
    void roundTrips_data();
    void roundTrips();
    void lineFeedDocumentsComeBackWithCrLf();
    void largeDocumentReadInPieces();
    void corpusRoundTrips();
    void failedSaveKeepsState();
    void unreadableFileKeepsState_data();
    void unreadableFileKeepsState();
    void unreadableTemplateKeepsState();
    void badInputOpens_data();
    void badInputOpens();

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

void TestDocuments::init()
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

void TestDocuments::cleanup()
{
    m_form.reset();
    m_work.reset();
    m_program.reset();
}

void TestDocuments::openThroughDialog(const QString &fileName)
{
    ModalScript script({ choose(fileName) });
    m_form->FileOpenItem->trigger();
    QCOMPARE(script.seen, QStringList { QStringLiteral("od") });
}

bool TestDocuments::openTwo()
{
    const bool written = writeFile(work("two.aiml"), kTwoCategories);
    m_form->openDocument(work("two.aiml"));
    return written;
}

void TestDocuments::newDocumentFromTemplate_data()
{
    QTest::addColumn<QString>("author");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray templ = readFile(QStringLiteral(VORREL_DATA_DIR "/template.dat"));
    QCOMPARE(templ.count("AUTHOR1"), 1);
    QCOMPARE(templ.count("LANG"), 1);
    QVERIFY(templ.indexOf("AUTHOR1") < templ.indexOf("LANG"));

    QTest::newRow("defaults") << QStringLiteral("AUTHOR1") << QStringLiteral("LANG") << templ;
    QByteArray jane = templ;
    jane.replace("AUTHOR1", "Jane").replace("LANG", "en");
    QTest::newRow("typed") << QStringLiteral("Jane") << QStringLiteral("en") << jane;
    // The author goes in first, so the language lands in the author's text.
    QByteArray school = templ;
    school.replace("AUTHOR1", "fr" + QByteArray("UAGE SCHOOL"));
    QTest::newRow("author holding LANG") << QStringLiteral("LANGUAGE SCHOOL") << QStringLiteral("fr") << school;
    QByteArray accents = templ;
    accents.replace("AUTHOR1", "Ren\xc3\xa9")
        .replace("LANG",
            "fran\xc3\xa7"
            "ais");
    QTest::newRow("accents") << QStringLiteral(u"Ren\u00e9") << QStringLiteral(u"fran\u00e7ais") << accents;
}

void TestDocuments::newDocumentFromTemplate()
{
    QFETCH(QString, author);
    QFETCH(QString, language);
    QFETCH(QByteArray, expected);

    m_form->frmNew->txtTitle->setText(QStringLiteral("My Bot"));
    m_form->frmNew->txtAuthor->setText(author);
    m_form->frmNew->txtLanguage->setText(language);
    ModalScript script({ press("cmdOK") });
    m_form->FileNewItem->trigger();
    QCOMPARE(script.seen, QStringList { QStringLiteral("frmNew") });

    QCOMPARE(m_form->previewBytes(), expected);
    QCOMPARE(m_form->path->text(), QStringLiteral("My Bot"));
    QVERIFY(!m_form->DocHasFile);
    QVERIFY(!m_form->DocChanged);
    QVERIFY(m_form->FileSaveItem->isEnabled());
    QVERIFY(m_form->tabs->isEnabled());
    QCOMPARE(m_form->table()->gridRowCount(), 2);
    QCOMPARE(m_form->table()->cell(0, 1), QStringLiteral("1"));
    QVERIFY(m_form->table()->cell(1, 1).isEmpty());
}

void TestDocuments::newDialogLayout()
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
    QCOMPARE(order, (QStringList { "txtTitle", "txtAuthor", "txtLanguage", "cmdOK", "cmdCancel" }));
}

void TestDocuments::newDialogKeepsItsFields()
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
        QVERIFY(m_form->previewBytes().isEmpty());
    }
    m_form->FileNew();
    QCOMPARE(script.seen, (QStringList { "frmNew", "frmNew", "frmNew" }));
    QCOMPARE(m_form->path->text(), QStringLiteral("Bot"));
    QCOMPARE(m_form->frmNew->txtTitle->text(), QStringLiteral("Bot"));
}

void TestDocuments::newThenSaveAsksForAName()
{
    ModalScript script({ press("cmdOK"), choose(work("notes")) });
    m_form->FileNew();
    const QByteArray text = m_form->previewBytes();
    m_form->FileSaveItem->trigger();
    QCOMPARE(script.seen, (QStringList { "frmNew", "sd" }));
    QCOMPARE(readFile(work("notes.aiml")), text);
    QCOMPARE(m_form->path->text(), work("notes.aiml"));
    QVERIFY(m_form->DocHasFile);
    QVERIFY(!m_form->DocChanged);
}

void TestDocuments::saveAsNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    const auto row = [](const char *name, const char *typed, const char *written) {
        QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(written);
    };
    row("no extension", "notes", "notes.aiml");
    row("extension", "notes.aiml", "notes.aiml");
    row("capital extension", "notes.AIML", "notes.AIML.aiml");
    row("ends in aiml", "myaiml", "myaiml");
}

void TestDocuments::saveAsNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    ModalScript script({ press("cmdOK"), choose(work(typed)) });
    m_form->FileNew();
    m_form->FileSaveAsItem->trigger();
    QCOMPARE(script.seen, (QStringList { "frmNew", "sd" }));
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Files), QStringList { written });
    QCOMPARE(m_form->path->text(), work(written));
    QCOMPARE(readFile(work(written)), m_form->previewBytes());
}

void TestDocuments::saveAsCancelChangesNothing()
{
    ModalScript script({ press("cmdOK"), cancel() });
    m_form->FileNew();
    m_form->code->append(QStringLiteral("x"));
    QVERIFY(m_form->DocChanged);
    m_form->FileSaveAs();
    QCOMPARE(script.seen, (QStringList { "frmNew", "sd" }));
    QVERIFY(m_form->DocChanged);
    QVERIFY(!m_form->DocHasFile);
    QCOMPARE(m_form->path->text(), QStringLiteral("NewDocument"));
    QVERIFY(QDir(m_work->path()).isEmpty());
}

void TestDocuments::openThenSaveWritesStraight()
{
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    openThroughDialog(work("two.aiml"));
    QCOMPARE(m_form->path->text(), work("two.aiml"));
    QVERIFY(m_form->DocHasFile);
    QVERIFY(!m_form->DocChanged);
    m_form->code->append(QStringLiteral("<!-- more -->\r\n"));
    QVERIFY(m_form->DocChanged);

    ModalScript none({});
    m_form->FileSaveItem->trigger();
    QVERIFY(none.seen.isEmpty());
    QCOMPARE(readFile(work("two.aiml")), kTwoCategories + "<!-- more -->\r\n");
    QVERIFY(!m_form->DocChanged);
}

void TestDocuments::openFillsTableThroughProgressWindow()
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

void TestDocuments::openCancelKeepsTheDocument()
{
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    openThroughDialog(work("two.aiml"));
    ModalScript script({ cancel() });
    m_form->FileOpenItemClick();
    QCOMPARE(script.seen, QStringList { "od" });
    QCOMPARE(m_form->path->text(), work("two.aiml"));
    QCOMPARE(m_form->previewBytes(), kTwoCategories);
    QCOMPARE(m_form->table()->gridRowCount(), 4);
}

void TestDocuments::upcaseSettingApplies()
{
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    m_form->frmOptions->upcase->setChecked(false);
    m_form->openDocument(work("two.aiml"));
    QCOMPARE(m_form->table()->cell(1, 1), QStringLiteral("hello"));
    m_form->frmOptions->upcase->setChecked(true);
    m_form->openDocument(work("two.aiml"));
    QCOMPARE(m_form->table()->cell(1, 1), QStringLiteral("HELLO"));
}

void TestDocuments::saveWithoutRefreshWritesOldText()
{
    QVERIFY(openTwo());
    m_form->setPreviewBytes(m_form->previewBytes());
    QVERIFY(m_form->DocChanged);
    m_form->table()->setCell(1, 1, QStringLiteral("CHANGED"));
    m_form->FileSave();
    QCOMPARE(readFile(work("two.aiml")), kTwoCategories);
    QVERIFY(!m_form->DocChanged);
}

void TestDocuments::refreshRebuildsPreview()
{
    QVERIFY(openTwo());
    m_form->mnuRefresh->trigger();
    const QByteArray expected = "<?xml version=\"1.0\"?>\r\n<aiml version=\"1.0\">\r\n"
                                "<category>\r\n<pattern>HELLO</pattern>\r\n<template>\r\nHi there\r\n</template>\r\n"
                                "</category>\r\n \r\n"
                                "<category>\r\n<pattern>YES</pattern>\r\n<that>HI THERE</that>\r\n<template>\r\n"
                                "Good.\r\nVery good.\r\n</template>\r\n</category>\r\n \r\n"
                                "<category>\r\n<pattern></pattern>\r\n<template>\r\n\r\n</template>\r\n"
                                "</category>\r\n \r\n"
                                "</aiml>\r\n";
    QCOMPARE(m_form->previewBytes(), expected);
    QVERIFY(m_form->DocChanged);
    QCOMPARE(QKeySequence(m_form->mnuRefresh->shortcut()), QKeySequence(Qt::Key_F5));
}

void TestDocuments::refreshOfNewDocument()
{
    ModalScript script({ press("cmdOK") });
    m_form->FileNew();
    const QByteArray templ = m_form->previewBytes();
    m_form->mnuRefreshClick();
    QByteArray expected = templ;
    expected.replace("</aiml>\r\n",
        "<category>\r\n<pattern></pattern>\r\n<template>\r\n\r\n</template>\r\n</category>\r\n \r\n"
        "</aiml>\r\n");
    QCOMPARE(m_form->previewBytes(), expected);
    // Nothing of the template is lost by a second refresh.
    m_form->mnuRefreshClick();
    QCOMPARE(m_form->previewBytes(), expected);
}

void TestDocuments::refreshFailureChangesNothing()
{
    const QByteArray text = "<aiml>\r\n  <category>\r\n  </category>\r\n  </aiml>\r\n";
    QVERIFY(writeFile(work("indented.aiml"), text));
    m_form->openDocument(work("indented.aiml"));
    QVERIFY(!m_form->DocChanged);
    const int rows = m_form->table()->gridRowCount();
    QString box;
    ModalScript script({ readBox(&box) });
    m_form->mnuRefresh->trigger();
    QCOMPARE(script.seen, QStringList { "ErrorBox" });
    QCOMPARE(box, QStringLiteral("AIML Vorrel 3.0|List index out of bounds (-1)"));
    QCOMPARE(m_form->previewBytes(), text);
    QVERIFY(!m_form->DocChanged);
    QCOMPARE(m_form->table()->gridRowCount(), rows);
}

void TestDocuments::saveQuestion_data()
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

void TestDocuments::saveQuestion()
{
    QFETCH(Step, reply);
    QFETCH(bool, saved);
    QFETCH(bool, closed);

    QVERIFY(openTwo());
    m_form->code->append(QStringLiteral("<!-- x -->\r\n"));
    QVERIFY(m_form->DocChanged);

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
        reply(w);
    } });
    m_form->mnuClose->trigger();

    QCOMPARE(script.seen, QStringList { "Confirm" });
    QCOMPARE(caption, QStringLiteral("Confirm"));
    QCOMPARE(text, QStringLiteral("Do you wish to save changes to current document?"));
    QCOMPARE(icon, QMessageBox::Question);
    std::sort(buttons.begin(), buttons.end());
    QCOMPARE(buttons, (QList<QMessageBox::StandardButton> { QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel }));

    QCOMPARE(readFile(work("two.aiml")), saved ? kTwoCategories + "<!-- x -->\r\n" : kTwoCategories);
    const QString last = m_program->file(QStringLiteral("last.dat"));
    if (closed) {
        QCOMPARE(m_form->path->text(), QStringLiteral("(None)"));
        QVERIFY(m_form->previewBytes().isEmpty());
        QVERIFY(!m_form->DocChanged);
        QCOMPARE(readFile(last), work("two.aiml").toUtf8() + "\r\n");
    } else {
        QCOMPARE(m_form->path->text(), work("two.aiml"));
        QCOMPARE(m_form->previewBytes(), kTwoCategories + "<!-- x -->\r\n");
        QVERIFY(m_form->DocChanged);
        QVERIFY(!QFile::exists(last));
    }
}

void TestDocuments::newAndOpenAskFirst()
{
    QVERIFY(openTwo());
    m_form->code->append(QStringLiteral("x"));
    ModalScript script({ answer(QMessageBox::Cancel), answer(QMessageBox::Cancel), answer(QMessageBox::No), cancel(),
        answer(QMessageBox::No), press("cmdCancel") });
    m_form->FileNewItem->trigger();
    m_form->SpeedButton2->click();
    m_form->FileOpenItem->trigger();
    m_form->SpeedButton1->click();
    QCOMPARE(script.seen, (QStringList { "Confirm", "Confirm", "Confirm", "od", "Confirm", "frmNew" }));
    QCOMPARE(m_form->path->text(), work("two.aiml"));
    QVERIFY(m_form->DocChanged);
}

void TestDocuments::noQuestionAfterClose()
{
    QVERIFY(openTwo());
    m_form->mnuRefreshClick();
    ModalScript script({ answer(QMessageBox::No), press("cmdCancel"), cancel() });
    m_form->mnuCloseClick();
    QVERIFY(!m_form->DocChanged);
    QVERIFY(m_form->DocHasFile);
    m_form->FileNew();
    m_form->FileOpenItemClick();
    QCOMPARE(script.seen, (QStringList { "Confirm", "frmNew", "od" }));
}

void TestDocuments::yesThenSaveAsCancelStillGoesOn()
{
    ModalScript script(
        { press("cmdOK"), answer(QMessageBox::Yes), cancel(), press("cmdOK"), answer(QMessageBox::Yes), cancel() });
    m_form->FileNew();
    m_form->code->append(QStringLiteral("x"));
    m_form->FileNew();
    QCOMPARE(script.seen, (QStringList { "frmNew", "Confirm", "sd", "frmNew" }));
    QVERIFY(!m_form->previewBytes().endsWith("x"));
    QVERIFY(!m_form->DocChanged);

    m_form->code->append(QStringLiteral("x"));
    m_form->mnuCloseClick();
    QCOMPARE(script.seen.size(), 6);
    QCOMPARE(m_form->path->text(), QStringLiteral("(None)"));
    QVERIFY(m_form->previewBytes().isEmpty());
    QVERIFY(!m_form->DocChanged);
    QVERIFY(QDir(m_work->path()).isEmpty());
    QCOMPARE(readFile(m_program->file(QStringLiteral("last.dat"))), QByteArray("NewDocument\r\n"));
}

void TestDocuments::closeRecordsTheTitle()
{
    ModalScript script({ press("cmdOK") });
    m_form->FileNew();
    m_form->mnuClose->trigger();
    QCOMPARE(script.seen, QStringList { "frmNew" });
    QCOMPARE(readFile(m_program->file(QStringLiteral("last.dat"))), QByteArray("NewDocument\r\n"));
}

void TestDocuments::closeResetsTheDocument()
{
    QVERIFY(openTwo());
    m_form->mnuCloseClick();
    QCOMPARE(m_form->path->text(), QStringLiteral("(None)"));
    QCOMPARE(m_form->table()->gridRowCount(), 2);
    QVERIFY(m_form->table()->cell(1, 1).isEmpty());
    QVERIFY(m_form->table()->cell(3, 1).isEmpty());
    QVERIFY(!m_form->FileSaveItem->isEnabled());
    QVERIFY(!m_form->tabs->isEnabled());
    QVERIFY(m_form->DocHasFile);
    QVERIFY(!m_form->DocChanged);
    QVERIFY(m_form->previewBytes().isEmpty());
}

void TestDocuments::typingMarksTheDocumentChanged()
{
    QVERIFY(openTwo());
    QVERIFY(!m_form->DocChanged);
    m_form->code->setFocus();
    QTest::keyClick(m_form->code, Qt::Key_Delete);
    QVERIFY(m_form->DocChanged);
    // Typing changes the text only, not the table.
    QCOMPARE(m_form->table()->cell(1, 1), QStringLiteral("HELLO"));
}

void TestDocuments::roundTrips_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("template1");

    const QByteArray head = "<aiml>\r\n<category>\r\n<pattern>A</pattern>\r\n<template>";
    const QByteArray tail = "</template>\r\n</category>\r\n</aiml>\r\n";
    QTest::newRow("8-bit accents") << head + "caf\xe9 \xe0 \xff" + tail << false
                                   << QStringLiteral(u"caf\u00e9 \u00e0 \u00ff");
    QTest::newRow("utf-8") << head + "caf\xc3\xa9 \xe2\x82\xac" + tail << true << QStringLiteral(u"caf\u00e9 \u20ac");
    // Outer NULs are trimmed from the template like any control character.
    QTest::newRow("NUL bytes") << head + QByteArray("\0a\0b\0", 5) + tail << true << QStringView(u"a\0b", 3).toString();
    QTest::newRow("NUL and 8-bit") << head + QByteArray("\xe9\0\xe9", 3) + tail << false
                                   << QStringView(u"\u00e9\0\u00e9", 3).toString();
    QTest::newRow("byte order mark") << "\xef\xbb\xbf" + head + "x" + tail << true << QStringLiteral("x");
    QTest::newRow("multi-line template") << head + "\r\n  one\r\n  two\r\n" + tail << true
                                         << QStringLiteral("one\r\n  two");
    QTest::newRow("lone CR kept") << head + "a\rb" + tail << true << QStringLiteral("a\rb");
    QTest::newRow("no line end at the end") << head + "x" + tail.chopped(2) << true << QStringLiteral("x");
    QTest::newRow("empty") << QByteArray() << true << QString();
    QByteArray binary;
    QRandomGenerator random(7);
    for (int i = 0; i < 100000; ++i) {
        const char c = static_cast<char>(random.bounded(256));
        binary += c == '\n' ? ' ' : c;
    }
    QTest::newRow("binary without line feeds") << binary << false << QString();
}

void TestDocuments::roundTrips()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    QFETCH(QString, template1);
    QVERIFY(writeFile(work("doc.aiml"), bytes));
    m_form->openDocument(work("doc.aiml"));
    QCOMPARE(m_form->previewIsUtf8, utf8);
    QCOMPARE(m_form->code->isUtf8(), utf8);
    QCOMPARE(m_form->previewBytes(), bytes);
    QCOMPARE(m_form->table()->cell(3, 1), template1);

    // Something typed and taken back still leaves the bytes as they were.
    m_form->code->insert(QStringLiteral("x"));
    m_form->code->undo();
    QVERIFY(m_form->DocChanged);
    QVERIFY(QFile::remove(work("doc.aiml")));
    m_form->FileSaveItem->trigger();
    QVERIFY(!m_form->DocChanged);
    QCOMPARE(readFile(work("doc.aiml")), bytes);
}

void TestDocuments::lineFeedDocumentsComeBackWithCrLf()
{
    const QByteArray lf = "<aiml>\n<category>\n<pattern>A</pattern>\n<template>\none\ntwo\n</template>\n</category>\n"
                          "</aiml>\n";
    QVERIFY(writeFile(work("lf.aiml"), lf));
    m_form->openDocument(work("lf.aiml"));
    QCOMPARE(m_form->table()->cell(3, 1), QStringLiteral("one\r\ntwo"));
    QVERIFY(!m_form->DocChanged);
    m_form->FileSave();
    QCOMPARE(readFile(work("lf.aiml")), QByteArray(lf).replace("\n", "\r\n"));
}

void TestDocuments::largeDocumentReadInPieces()
{
    // Line ends across the boundaries of the 1 MB reads: a CR LF split between two reads,
    // and a bare LF opening the third.
    const QByteArray category = "<category>\r\n<pattern>P</pattern>\r\n<template>T</template>\r\n</category>\r\n";
    QByteArray bytes = "<aiml>\r\n";
    while (bytes.size() < (qsizetype(1) << 20) - 1)
        bytes += category;
    bytes.truncate((qsizetype(1) << 20) - 1);
    bytes += "\r\n";
    while (bytes.size() < (qsizetype(2) << 20) - 1)
        bytes += category;
    bytes.truncate((qsizetype(2) << 20) - 1);
    bytes += "x\n";
    for (int i = 0; i < 1000; ++i)
        bytes += category;
    bytes += "</aiml>\r\n";
    QVERIFY(writeFile(work("large.aiml"), bytes));

    QSignalSpy changes(m_form->code, &QsciScintilla::textChanged);
    m_form->openDocument(work("large.aiml"));
    QVERIFY(!changes.isEmpty());
    QVERIFY(!m_form->DocChanged);
    QVERIFY(!m_form->code->isUndoAvailable());
    QByteArray expected = bytes;
    expected.replace("x\n", "x\r\n");
    QCOMPARE(m_form->previewBytes(), expected);
    QCOMPARE(m_form->table()->gridRowCount(), Hits(bytes, "</pattern>") + 2);
    m_form->FileSave();
    QCOMPARE(readFile(work("large.aiml")), expected);
}

void TestDocuments::corpusRoundTrips()
{
    const QDir corpus(QStringLiteral(VORREL_CORPUS_DIR "/free-aiml"));
    const QStringList files = corpus.entryList({ QStringLiteral("*.aiml") }, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("corpus not present");
    int crlf = 0;
    int lf = 0;
    for (const QString &name : files) {
        const QByteArray original = readFile(corpus.filePath(name));
        QVERIFY(!original.isEmpty());
        const QString copy = work(name);
        QVERIFY(writeFile(copy, original));
        m_form->openDocument(copy);
        QVERIFY2(m_form->table()->gridRowCount() >= Hits(original, "<pattern>"), qPrintable(name));
        m_form->FileSave();
        const QByteArray saved = readFile(copy);
        if (original.count("\n") == original.count("\r\n")) {
            ++crlf;
            QVERIFY2(saved == original, qPrintable(name));
        } else if (!original.contains('\r')) {
            ++lf;
            QVERIFY2(saved == QByteArray(original).replace("\n", "\r\n"), qPrintable(name));
        }
    }
    qInfo("%d CR LF and %d LF documents checked", crlf, lf);
    QVERIFY(crlf + lf > 0);
}

void TestDocuments::failedSaveKeepsState()
{
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    QVERIFY(writeFile(work("plain"), "not a folder"));
    m_form->openDocument(work("two.aiml"));
    m_form->code->append(QStringLiteral("x"));
    // A file cannot be a folder, whoever runs the test.
    const QString impossible = work("plain") + QStringLiteral("/two.aiml");
    m_form->path->setText(impossible);
    QString box;
    ModalScript script({ readBox(&box) });
    m_form->FileSaveItem->trigger();
    QCOMPARE(script.seen, QStringList { "ErrorBox" });
    QVERIFY2(box.startsWith(QStringLiteral("AIML Vorrel 3.0|Cannot create file \"")), qPrintable(box));
    QVERIFY(m_form->DocChanged);
    QCOMPARE(m_form->path->text(), impossible);
    QCOMPARE(readFile(work("plain")), QByteArray("not a folder"));
    QCOMPARE(readFile(work("two.aiml")), kTwoCategories);
}

void TestDocuments::unreadableFileKeepsState_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("folder");
    QTest::newRow("no document, missing file") << 0 << false;
    QTest::newRow("new document, missing file") << 1 << false;
    QTest::newRow("opened document, missing file") << 2 << false;
    QTest::newRow("opened document, folder") << 2 << true;
}

void TestDocuments::unreadableFileKeepsState()
{
    QFETCH(int, before);
    QFETCH(bool, folder);
    if (before == 1) {
        ModalScript script({ press("cmdOK") });
        m_form->FileNew();
    } else if (before == 2) {
        QVERIFY(openTwo());
    }
    const bool hadFile = m_form->DocHasFile;
    const bool enabled = m_form->FileSaveItem->isEnabled();
    const int rows = m_form->table()->gridRowCount();
    const bool hadText = !m_form->previewBytes().isEmpty();

    const QString bad = work(folder ? "folder.aiml" : "missing.aiml");
    if (folder)
        QVERIFY(QDir(m_work->path()).mkdir(QStringLiteral("folder.aiml")));
    QString box;
    ModalScript script({ readBox(&box) });
    runCommand(m_form.get(), [&] { m_form->openDocument(bad); });
    QCOMPARE(script.seen, QStringList { "ErrorBox" });
    QVERIFY2(box.contains(QDir::toNativeSeparators(bad)), qPrintable(box));
    QCOMPARE(m_form->path->text(), bad);
    QVERIFY(m_form->previewBytes().isEmpty());
    QCOMPARE(m_form->DocChanged, hadText);
    QCOMPARE(m_form->DocHasFile, hadFile);
    QCOMPARE(m_form->FileSaveItem->isEnabled(), enabled);
    QCOMPARE(m_form->table()->gridRowCount(), rows);
}

void TestDocuments::unreadableTemplateKeepsState()
{
    QVERIFY(openTwo());
    QVERIFY(QFile::remove(m_program->file(QStringLiteral("template.dat"))));
    QString box;
    ModalScript script({ press("cmdOK"), readBox(&box) });
    m_form->FileNew();
    QCOMPARE(script.seen, (QStringList { "frmNew", "ErrorBox" }));
    QVERIFY2(box.contains(QStringLiteral("template.dat")), qPrintable(box));
    QCOMPARE(m_form->path->text(), QStringLiteral("NewDocument"));
    QVERIFY(m_form->previewBytes().isEmpty());
    QVERIFY(m_form->DocChanged);
    QVERIFY(m_form->DocHasFile);
    QCOMPARE(m_form->table()->gridRowCount(), 4);
}

void TestDocuments::badInputOpens_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");

    QRandomGenerator random(11);
    QByteArray binary(1 << 20, Qt::Uninitialized);
    for (char &c : binary)
        c = static_cast<char>(random.bounded(256));
    QTest::newRow("random bytes") << binary << -1;
    QTest::newRow("one long line")
        << QByteArray("<category><pattern>A</pattern><template>B</template></category>").repeated(20000) << 20001;
    QTest::newRow("only opening tags") << QByteArray("<category><pattern><that><template>").repeated(50000) << 1;
    QTest::newRow("only closing tags") << QByteArray("</category></pattern></that></template>").repeated(50000) << 1;
    QTest::newRow("unclosed pattern") << QByteArray(
        "<category><pattern>A</pattern><template>B</template></category><pattern>open")
                                      << 2;
}

void TestDocuments::badInputOpens()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QVERIFY(writeFile(work("bad.aiml"), bytes));
    m_form->openDocument(work("bad.aiml"));
    QCOMPARE(m_form->previewBytes(), QByteArray(bytes).replace("\n", "\r\n").replace("\r\r\n", "\r\n"));
    if (rows >= 0)
        QCOMPARE(m_form->table()->gridRowCount(), rows + 1);
    QVERIFY(m_form->FileSaveItem->isEnabled());
    QVERIFY(!m_form->pBar->isVisible());
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
