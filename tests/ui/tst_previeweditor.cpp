// The preview as an editor, in the running main window: colours and the comment style, tag
// completion, find and replace, undo and redo, and line numbers.

#include "MainFormFixture.h"
#include "TableRows.h"
#include "TestFiles.h"

#include "app/Main.h"
#include "document/CategoryTable.h"
#include "document/ui/PreviewEditor.h"
#include "editing/ui/FindDialog.h"
#include "prefs/ui/Options.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <Qsci/qscilexerxml.h>

#include <memory>

using namespace vorrel;
using namespace vorrel::test;

namespace {

const QByteArray kDocument = "<?xml version=\"1.0\"?>\r\n"
                             "<aiml version=\"1.0\">\r\n"
                             "<!-- greetings -->\r\n"
                             "<category>\r\n<pattern>HELLO</pattern>\r\n"
                             "<template>Hello, hello! &amp; helloworld <![CDATA[x<y]]></template>\r\n"
                             "</category>\r\n"
                             "</aiml>\r\n";

long sci(const QsciScintillaBase *editor, unsigned int message, unsigned long wParam = 0, long lParam = 0)
{
    return editor->SendScintilla(message, wParam, lParam);
}

QString styleFace(const QsciScintillaBase *editor, int style)
{
    char face[256] = {};
    editor->SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, static_cast<unsigned long>(style), face);
    return QString::fromUtf8(face);
}

bool italicOf(const QsciScintillaBase *editor, int style)
{
    return sci(editor, QsciScintillaBase::SCI_STYLEGETITALIC, static_cast<unsigned long>(style)) != 0;
}

QPair<long, long> selection(const QsciScintillaBase *editor)
{
    return { sci(editor, QsciScintillaBase::SCI_GETSELECTIONSTART),
        sci(editor, QsciScintillaBase::SCI_GETSELECTIONEND) };
}

} // namespace

class TestPreviewEditor final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void documentsAreColoured();
    void missingFaceMeasuresAsDrawn();
    void commentsItalicAfterOk();
    void settingsAtStartUp();
    void completionList_data();
    void completionList();
    void typedTags_data();
    void typedTags();
    void pasteTakesTheDocumentsLineEnds();
    void find_data();
    void find();
    void findFromTheWindow();
    void findInTheTable();
    void replaceAllIsOneUndoStep();
    void longSearchesStop_data();
    void longSearchesStop();
    void undoAndRedoFollowTheHistory();
    void goToLine();
    void lineNumbersWidenWithTheText();

private:
    // A main window with `opts` as its settings and kDocument open.
    void start(const QByteArray &opts = kQuietOpts);
    void showActive();
    // Puts text with the caret where "|" stands, the preview focused.
    void setMarked(const QByteArray &marked);
    QString statusText() const { return m_form->StatusLine->currentMessage(); }

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<TMainForm> m_form;
    PreviewEditor *m_code = nullptr;
};

void TestPreviewEditor::init()
{
    start();
}

void TestPreviewEditor::cleanup()
{
    cancelModalWaits();
    m_form.reset();
    m_dir.reset();
}

void TestPreviewEditor::start(const QByteArray &opts)
{
    m_form.reset();
    m_dir.reset();
    m_dir = std::make_unique<ProgramDir>(opts);
    QVERIFY(m_dir->write(QStringLiteral("doc.aiml"), kDocument));
    m_form = startedMainForm();
    m_form->openDocument(m_dir->file(QStringLiteral("doc.aiml")));
    m_code = m_form->code;
}

void TestPreviewEditor::showActive()
{
    m_form->resize(800, 600);
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    m_form->tabs->setCurrentIndex(1);
    m_code->setFocus();
    QTRY_VERIFY(m_code->hasFocus());
}

void TestPreviewEditor::setMarked(const QByteArray &marked)
{
    const qsizetype caret = marked.indexOf('|');
    setPreviewBytes(*m_form, QByteArray(marked).remove(caret, 1));
    sci(m_code, QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(caret));
}

void TestPreviewEditor::documentsAreColoured()
{
    const struct
    {
        const char *text;
        int offset;
        int style;
    } expected[] = {
        { "<category>", 0, QsciLexerXML::Tag },
        { "<aiml version", 6, QsciLexerXML::Attribute },
        { "\"1.0\">", 0, QsciLexerXML::HTMLDoubleQuotedString },
        { "<!--", 5, QsciLexerXML::HTMLComment },
        { "&amp;", 0, QsciLexerXML::Entity },
        { "<![CDATA[", 0, QsciLexerXML::CDATA },
        { "Hello,", 0, QsciLexerXML::Default },
    };
    // An opened file, then the same text put in afresh: each new document gets the lexer.
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
            m_code->setBytes(kDocument, TextEncoding::Utf8);
        QCOMPARE(previewBytes(*m_form), kDocument);
        sci(m_code, QsciScintillaBase::SCI_COLOURISE, 0, -1);
        for (const auto &e : expected) {
            const long at = kDocument.indexOf(e.text) + e.offset;
            QCOMPARE(sci(m_code, QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(at)), long(e.style));
        }
    }
    // Every style in the face and size of the text.
    m_code->applyFont(QStringLiteral("DejaVu Sans Mono"), 13);
    for (int style : { int(QsciLexerXML::Tag), int(QsciLexerXML::HTMLComment), int(QsciLexerXML::CDATA) }) {
        QCOMPARE(styleFace(m_code, style), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(sci(m_code, QsciScintillaBase::SCI_STYLEGETSIZE, static_cast<unsigned long>(style)), 13L);
    }
    // A size no screen can show, from a hand-edited settings file, stays a positive size.
    m_code->applyFont(QStringLiteral("DejaVu Sans Mono"), 30000000);
    QVERIFY(sci(m_code, QsciScintillaBase::SCI_STYLEGETSIZE, static_cast<unsigned long>(QsciLexerXML::Tag)) > 0);
}

void TestPreviewEditor::missingFaceMeasuresAsDrawn()
{
    // The default face is missing on many systems; a fixed-pitch face stands in for it.
    const QString missing = QStringLiteral("No Such Face Vorrel");
    QFont wanted(missing);
    wanted.setStyleHint(QFont::Monospace);
    const QFontMetrics standIn { QFont(QFontInfo(wanted).family()) };
    if (standIn.horizontalAdvance(QStringLiteral("iiii")) != standIn.horizontalAdvance(QStringLiteral("MMMM")))
        QSKIP("No fixed-pitch face to stand in");
    m_code->applyFont(missing, 10);
    QCOMPARE(styleFace(m_code, QsciLexerXML::Tag), missing);
    const auto width = [this](const char *text) {
        return m_code->SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH, QsciScintillaBase::STYLE_DEFAULT, text);
    };
    QCOMPARE(width("iiii"), width("MMMM"));
}

void TestPreviewEditor::commentsItalicAfterOk()
{
    TfrmOptions *options = m_form->frmOptions;
    QVERIFY(italicOf(m_code, QsciLexerXML::HTMLComment));
    for (const bool italic : { false, true }) {
        options->comments->setChecked(italic);
        QCOMPARE(italicOf(m_code, QsciLexerXML::HTMLComment), !italic);
        ModalScript script({ press("cmdOK") });
        m_form->mnuOptions->trigger();
        QCOMPARE(script.seen(), QStringList { "frmOptions" });
        QCOMPARE(italicOf(m_code, QsciLexerXML::HTMLComment), italic);
        QVERIFY(!italicOf(m_code, QsciLexerXML::Tag));
        QVERIFY(!italicOf(m_code, QsciLexerXML::Default));
    }
}

void TestPreviewEditor::settingsAtStartUp()
{
    QVERIFY(m_code->tagCompletion());
    start("[Preferences]\r\nDlg=0\r\nSCC=1\r\nComments=0\r\n");
    QVERIFY(!m_code->tagCompletion());
    QVERIFY(!italicOf(m_code, QsciLexerXML::HTMLComment));
}

void TestPreviewEditor::completionList_data()
{
    QTest::addColumn<QByteArray>("marked");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("inside aiml") << QByteArray("<aiml>\r\n|\r\n</aiml>") << QStringList { "category", "topic" };
    QTest::newRow("inside a category") << QByteArray("<aiml><category>\r\n|\r\n</category></aiml>")
                                       << QStringList { "pattern", "template", "that" };
    QTest::newRow("inside a template") << QByteArray("<aiml><category><template>Hi |</template></category></aiml>")
                                       << QStringList { "bot", "condition", "date", "formal", "gender", "get", "gossip",
                                              "id", "input", "javascript", "learn", "lowercase", "person", "person2",
                                              "random", "sentence", "set", "size", "sr", "srai", "star", "system",
                                              "that", "thatstar", "think", "topicstar", "uppercase", "version" };
}

void TestPreviewEditor::completionList()
{
    QFETCH(QByteArray, marked);
    QFETCH(QStringList, names);
    showActive();
    setMarked(marked);
    QTest::keyClick(m_code, '<');
    QVERIFY(sci(m_code, QsciScintillaBase::SCI_AUTOCACTIVE));
    auto *list = m_code->findChild<QListWidget *>();
    QVERIFY(list);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    QCOMPARE(shown, names);
    // Picking one writes it after the "<".
    QTest::keyClick(m_code, Qt::Key_Down);
    QTest::keyClick(m_code, Qt::Key_Return);
    QVERIFY(previewBytes(*m_form).contains("<" + names.value(1).toUtf8()));
}

void TestPreviewEditor::typedTags_data()
{
    QTest::addColumn<bool>("completion");
    QTest::addColumn<QByteArray>("marked");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("end tag after a start tag") << true << QByteArray("<aiml><category>|</category>") << "<template>"
                                               << QByteArray("<aiml><category><template>|</template></category>");
    QTest::newRow("with attributes") << true << QByteArray("<template>|") << "<get name=\"a>b\">"
                                     << QByteArray("<template><get name=\"a>b\">|</get>");
    QTest::newRow("not after an empty-element tag")
        << true << QByteArray("<template>|") << "<star/>" << QByteArray("<template><star/>|");
    QTest::newRow("closing the innermost element") << true << QByteArray("<aiml><category><template>Hi |") << "</"
                                                   << QByteArray("<aiml><category><template>Hi </template>|");
    QTest::newRow("nothing open to close")
        << true << QByteArray("<aiml></aiml>|") << "</" << QByteArray("<aiml></aiml></|");
    QTest::newRow("off: no end tag") << false << QByteArray("<aiml><category>|") << "<template>"
                                     << QByteArray("<aiml><category><template>|");
    QTest::newRow("off: no closing") << false << QByteArray("<aiml><category><template>Hi |") << "</"
                                     << QByteArray("<aiml><category><template>Hi </|");
    // A new line ends as the document's first line does.
    QTest::newRow("Enter in LF lines") << true << QByteArray("<aiml>\n<category>|\r\n") << "\r"
                                       << QByteArray("<aiml>\n<category>\n|\r\n");
    QTest::newRow("Enter in CR LF lines")
        << true << QByteArray("<aiml>\r\n<category>|\n") << "\r" << QByteArray("<aiml>\r\n<category>\r\n|\n");
    QTest::newRow("Enter in one line") << true << QByteArray("<aiml>|") << "\r" << QByteArray("<aiml>\n|");
}

void TestPreviewEditor::typedTags()
{
    QFETCH(bool, completion);
    QFETCH(QByteArray, marked);
    QFETCH(QString, typed);
    QFETCH(QByteArray, expected);
    if (!completion) {
        m_form->frmOptions->setCodeCompIndex(1);
        ModalScript script({ press("cmdOK") });
        m_form->mnuOptions->trigger();
        QVERIFY(!m_code->tagCompletion());
    }
    showActive();
    setMarked(marked);
    for (const QChar c : typed) {
        QTest::keyClick(m_code, c.toLatin1());
        // No list with completion off.
        if (c == QLatin1Char('<'))
            QCOMPARE(sci(m_code, QsciScintillaBase::SCI_AUTOCACTIVE) != 0, completion);
    }
    const qsizetype caret = expected.indexOf('|');
    QCOMPARE(previewBytes(*m_form), QByteArray(expected).remove(caret, 1));
    QCOMPARE(sci(m_code, QsciScintillaBase::SCI_GETCURRENTPOS), long(caret));
}

void TestPreviewEditor::pasteTakesTheDocumentsLineEnds()
{
    showActive();
    QGuiApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree"));
    setMarked("<aiml>\n|</aiml>\n");
    m_code->paste();
    QCOMPARE(previewBytes(*m_form), QByteArray("<aiml>\none\ntwo\nthree</aiml>\n"));
}

void TestPreviewEditor::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flags"); // c: match case, w: whole words, r: regular expression, b: backwards
    QTest::addColumn<QByteArray>("from"); // the caret goes before it
    QTest::addColumn<QByteArray>("found"); // what is selected, found before or after "from"; empty: nothing
    QTest::addColumn<int>("result");

    const int found = int(PreviewEditor::FindResult::Found);
    const int wrapped = int(PreviewEditor::FindResult::Wrapped);
    const int notFound = int(PreviewEditor::FindResult::NotFound);
    QTest::newRow("ignoring case") << "hello"
                                   << "" << QByteArray("ello,") << QByteArray("hello! ") << found;
    QTest::newRow("match case") << "Hello"
                                << "c" << QByteArray("HELLO<") << QByteArray("Hello, ") << found;
    QTest::newRow("whole words") << "hello"
                                 << "w" << QByteArray("helloworld") << QByteArray("HELLO<") << wrapped;
    QTest::newRow("regular expression") << "<(pat|tem)[a-z]+>"
                                        << "r" << QByteArray("<category>") << QByteArray("<pattern>") << found;
    QTest::newRow("backwards") << "hello"
                               << "b" << QByteArray("helloworld") << QByteArray("hello! ") << found;
    QTest::newRow("backwards round the start") << "aiml"
                                               << "b" << QByteArray("<?xml") << QByteArray("aiml>\r\n") << wrapped;
    QTest::newRow("not found") << "goodbye"
                               << "" << QByteArray("<category>") << QByteArray() << notFound;
    QTest::newRow("bad expression") << "(unclosed"
                                    << "r" << QByteArray("<category>") << QByteArray()
                                    << int(PreviewEditor::FindResult::BadExpression);
}

void TestPreviewEditor::find()
{
    QFETCH(QString, text);
    QFETCH(QString, flags);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, found);
    QFETCH(int, result);

    SearchOptions options;
    options.text = text;
    options.matchCase = flags.contains(QLatin1Char('c'));
    options.wholeWords = flags.contains(QLatin1Char('w'));
    options.regExp = flags.contains(QLatin1Char('r'));
    const long caret = kDocument.indexOf(from);
    sci(m_code, QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(caret));
    QCOMPARE(int(m_code->find(options, !flags.contains(QLatin1Char('b')))), result);
    if (found.isEmpty()) {
        // The cursor stays.
        QCOMPARE(selection(m_code), qMakePair(caret, caret));
    } else {
        const long start = flags.contains(QLatin1Char('b')) ? kDocument.lastIndexOf(found) : kDocument.indexOf(found);
        QCOMPARE(selection(m_code).first, start);
        QVERIFY(!m_code->selectedText().isEmpty());
        QVERIFY(QString::fromUtf8(found).startsWith(m_code->selectedText()));
    }
}

void TestPreviewEditor::findFromTheWindow()
{
    m_form->tabs->setCurrentIndex(1);
    m_code->setSelection(4, 0, 4, 9); // "<pattern>"
    m_form->EditFindItem->trigger();
    TfrmFind *find = m_form->frmFind;
    QVERIFY(find->isVisible());
    QVERIFY(!find->isModal());
    QCOMPARE(find->txtFind->text(), QStringLiteral("<pattern>"));

    find->txtFind->setText(QStringLiteral("hello"));
    find->cmdFindNext->click();
    QCOMPARE(selection(m_code).first, long(kDocument.indexOf("HELLO<")));
    m_form->EditFindNextItem->trigger();
    QCOMPARE(selection(m_code).first, long(kDocument.indexOf("Hello,")));
    m_form->EditFindPreviousItem->trigger();
    QCOMPARE(selection(m_code).first, long(kDocument.indexOf("HELLO<")));

    const auto before = selection(m_code);
    find->txtFind->setText(QStringLiteral("goodbye"));
    find->cmdFindNext->click();
    QCOMPARE(statusText(), QStringLiteral("Cannot find \"goodbye\""));
    QCOMPARE(selection(m_code), before);

    // Closing the document takes the window away.
    m_form->document()->setDocChanged(false);
    m_form->mnuCloseClick();
    QVERIFY(!find->isVisible());
}

void TestPreviewEditor::findInTheTable()
{
    setRows(*m_form->table(),
        { { "1", "HELLO", "", "Hi" }, { "2", "WHO", "HELLO THERE", "Me" }, { "3", "BYE", "", "hello again" } });
    m_form->tabs->setCurrentIndex(0);
    m_form->sg1->setCurrentIndex(m_form->table()->index(0, 1));
    m_form->EditFindItem->trigger();
    // Nothing is replaced in the table.
    QVERIFY(!m_form->frmFind->cmdReplaceAll->isEnabled());
    m_form->frmFind->txtFind->setText(QStringLiteral("hello"));
    const QPoint order[] = { { 2, 2 }, { 3, 3 }, { 1, 1 } };
    for (const QPoint &cell : order) {
        m_form->frmFind->cmdFindNext->click();
        const QModelIndex current = m_form->sg1->currentIndex();
        QCOMPARE(QPoint(current.column(), current.row() + 1), cell);
    }
    QCOMPARE(m_form->tabs->currentIndex(), 0);
    m_form->frmFind->txtFind->setText(QStringLiteral("nowhere"));
    m_form->EditFindNextItem->trigger();
    QCOMPARE(statusText(), QStringLiteral("Cannot find \"nowhere\""));
    QCOMPARE(m_form->sg1->currentIndex(), m_form->table()->index(0, 1));
}

void TestPreviewEditor::replaceAllIsOneUndoStep()
{
    QVERIFY(!m_form->EditUndoItem->isEnabled());
    m_form->EditReplaceItem->trigger();
    TfrmFind *find = m_form->frmFind;
    find->txtFind->setText(QStringLiteral("<(pattern|that)>([A-Z]+)"));
    find->chkRegExp->setChecked(true);
    find->chkCase->setChecked(true);
    find->txtReplace->setText(QStringLiteral("<\\1>\\2\\2"));
    find->cmdReplaceAll->click();
    QByteArray replaced = kDocument;
    replaced.replace("<pattern>HELLO", "<pattern>HELLOHELLO");
    QCOMPARE(previewBytes(*m_form), replaced);
    QCOMPARE(statusText(), QStringLiteral("Replaced 1 occurrence"));

    find->chkRegExp->setChecked(false);
    find->chkCase->setChecked(false);
    find->txtFind->setText(QStringLiteral("hello"));
    find->txtReplace->setText(QStringLiteral("bye"));
    find->cmdReplaceAll->click();
    QCOMPARE(statusText(), QStringLiteral("Replaced 5 occurrences"));
    QVERIFY(!previewBytes(*m_form).contains("ello"));

    m_form->EditUndoItem->trigger();
    QCOMPARE(previewBytes(*m_form), replaced);
    m_form->EditUndoItem->trigger();
    QCOMPARE(previewBytes(*m_form), kDocument);
    QVERIFY(!m_form->EditUndoItem->isEnabled());
    QVERIFY(m_form->EditRedoItem->isEnabled());
}

void TestPreviewEditor::longSearchesStop_data()
{
    QTest::addColumn<bool>("replacing");
    QTest::addColumn<QString>("status");
    QTest::newRow("Replace All") << true << QStringLiteral("Replace All stopped; nothing was replaced");
    QTest::newRow("Find Previous") << false << QStringLiteral("Search stopped");
}

// Every one of a hundred thousand matches reads on to the end of the line: hours of work,
// stopped by Escape in its progress window.
void TestPreviewEditor::longSearchesStop()
{
    QFETCH(bool, replacing);
    QFETCH(QString, status);
    const QByteArray text = QByteArray(100000, 'a') + QByteArray(100000, 'b');
    setMarked(text + '|');
    m_form->document()->setDocChanged(false);
    m_form->tabs->setCurrentIndex(1);
    TfrmFind *find = m_form->frmFind;
    find->txtFind->setText(QStringLiteral("a(?=[ab]*$)"));
    find->chkRegExp->setChecked(true);
    find->txtReplace->setText(QStringLiteral("c"));

    ModalScript script(
        { Step(QStringLiteral("SearchProgress"), [](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); }) });
    if (replacing)
        find->cmdReplaceAll->click();
    else
        m_form->EditFindPreviousItem->trigger();
    QCOMPARE(script.seen(), QStringList { QStringLiteral("SearchProgress") });
    QCOMPARE(statusText(), status);
    QVERIFY(previewBytes(*m_form) == text);
    QCOMPARE(selection(m_code), qMakePair(long(text.size()), long(text.size())));
    QVERIFY(!m_form->document()->DocChanged());
    QVERIFY(!m_code->isUndoAvailable());
}

void TestPreviewEditor::undoAndRedoFollowTheHistory()
{
    QVERIFY(!m_form->EditUndoItem->isEnabled());
    QVERIFY(!m_form->EditRedoItem->isEnabled());
    showActive();
    QTest::keyClicks(m_code, QStringLiteral("xy"));
    QVERIFY(m_form->EditUndoItem->isEnabled());
    QVERIFY(!m_form->EditRedoItem->isEnabled());
    m_form->EditUndoItem->trigger();
    QCOMPARE(previewBytes(*m_form), kDocument);
    QVERIFY(!m_form->EditUndoItem->isEnabled());
    QVERIFY(m_form->EditRedoItem->isEnabled());
    // The second key for Redo: the preview itself has no use for it.
    QTest::keyClick(m_code, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(previewBytes(*m_form), "xy" + kDocument);
    QVERIFY(!m_form->EditRedoItem->isEnabled());

    // Refresh is one step back to the text before it.
    const QByteArray typed = previewBytes(*m_form);
    m_form->mnuRefreshClick();
    QVERIFY(previewBytes(*m_form) != typed);
    m_form->EditUndoItem->trigger();
    QCOMPARE(previewBytes(*m_form), typed);

    // A document put in starts a fresh history.
    m_form->openDocument(m_dir->file(QStringLiteral("doc.aiml")));
    QVERIFY(!m_form->EditUndoItem->isEnabled());
    QVERIFY(!m_form->EditRedoItem->isEnabled());
}

void TestPreviewEditor::goToLine()
{
    m_form->tabs->setCurrentIndex(0);
    int maximum = 0;
    ModalScript script({ Step(QStringLiteral("GoToLine"), [&maximum](QWidget *w) {
        auto *box = static_cast<QInputDialog *>(w);
        maximum = box->intMaximum();
        box->setIntValue(5);
        box->accept();
    }) });
    m_form->EditGoToLineItem->trigger();
    QCOMPARE(script.seen(), QStringList { "GoToLine" });
    QCOMPARE(maximum, m_code->lineCount());
    QCOMPARE(m_code->currentLine(), 5);
    QCOMPARE(sci(m_code, QsciScintillaBase::SCI_GETCURRENTPOS), long(kDocument.indexOf("<pattern>")));
    QCOMPARE(m_form->tabs->currentIndex(), 1);
}

void TestPreviewEditor::lineNumbersWidenWithTheText()
{
    const long few = sci(m_code, QsciScintillaBase::SCI_GETMARGINWIDTHN, 0);
    QVERIFY(few > 0);
    setPreviewBytes(*m_form, QByteArray("x\n").repeated(12000));
    const long many = sci(m_code, QsciScintillaBase::SCI_GETMARGINWIDTHN, 0);
    QVERIFY(many > few);
    // Typing lines follows too.
    m_code->setBytes(kDocument, TextEncoding::Utf8);
    QCOMPARE(sci(m_code, QsciScintillaBase::SCI_GETMARGINWIDTHN, 0), few);
    m_code->append(QString(QStringLiteral("\r\n")).repeated(12000));
    QCOMPARE(sci(m_code, QsciScintillaBase::SCI_GETMARGINWIDTHN, 0), many);
}

QTEST_MAIN(TestPreviewEditor)
#include "tst_previeweditor.moc"
