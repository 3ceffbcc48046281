// Printing the preview: job names, one job per copy, pages, the print and page set-up dialogs.

#include "MainFormFixture.h"
#include "TestFiles.h"

#include "app/Main.h"
#include "document/Document.h"
#include "document/ui/PreviewEditor.h"
#include "report/ui/Printing.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <Qsci/qsciscintilla.h>

using namespace vorrel;
using namespace vorrel::test;

namespace {

// Pages of a PDF as Qt writes it: one page object each.
int pdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(pdf).count(page));
}

// The document title from the PDF's information dictionary: a literal string, either plain
// or UTF-16 with a byte-order mark.
QString pdfTitle(const QByteArray &pdf)
{
    const qsizetype at = pdf.indexOf("/Title");
    if (at < 0)
        return QString();
    qsizetype i = pdf.indexOf('(', at);
    if (i < 0)
        return QString();
    QByteArray raw;
    for (++i; i < pdf.size() && pdf.at(i) != ')'; ++i) {
        if (pdf.at(i) == '\\' && i + 1 < pdf.size())
            ++i;
        raw += pdf.at(i);
    }
    if (raw.startsWith("\xfe\xff")) {
        QString title;
        for (qsizetype k = 2; k + 1 < raw.size(); k += 2)
            title += QChar(char16_t((uchar(raw.at(k)) << 8) | uchar(raw.at(k + 1))));
        return title;
    }
    return QString::fromLatin1(raw);
}

QSizeF pdfMediaBox(const QByteArray &pdf)
{
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)"));
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

QString lines(int count, const QString &line = QStringLiteral("<category><pattern>LINE</pattern></category>"))
{
    QStringList all;
    for (int i = 0; i < count; ++i)
        all << line;
    return all.join(QStringLiteral("\r\n"));
}

void setUpPdf(QPrinter &printer, const QString &fileName)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
}

// The print dialog keeps its own printer choice and file name; point it at a PDF file.
bool choosePdfFile(QWidget *dialog, const QString &fileName)
{
    auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
    auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
    if (!printers || !file || printers->count() == 0)
        return false;
    printers->setCurrentIndex(printers->count() - 1);
    file->setText(fileName);
    return true;
}

} // namespace

class TestPrinting final : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void jobName_data();
    void jobName();
    void copyFileName_data();
    void copyFileName();
    void oneJobIsOnePdf();
    void pagesGrowWithTheText();
    void longLinesWrapOntoLaterPages();
    void printsInThePreviewFont();
    void copiesAreSeparateJobs();
    void printCommand_data();
    void printCommand();
    void cancelledPrintPrintsNothing();
    void pageSetupAppliesToLaterPrinting();
};

void TestPrinting::cleanup()
{
    cancelModalWaits();
}

void TestPrinting::jobName_data()
{
    QTest::addColumn<QString>("pathLine");
    QTest::addColumn<QString>("job");

    QTest::newRow("backslashes") << QStringLiteral("C:\\Docs\\bot.aiml") << QStringLiteral("bot.aiml");
    QTest::newRow("slashes") << QStringLiteral("/home/me/bots/bot.aiml") << QStringLiteral("bot.aiml");
    QTest::newRow("drive only") << QStringLiteral("C:bot.aiml") << QStringLiteral("bot.aiml");
    QTest::newRow("blanks stay") << QStringLiteral("/home/me/My Bots/my bot.aiml") << QStringLiteral("my bot.aiml");
    QTest::newRow("plain title") << QStringLiteral("NewDocument") << QStringLiteral("NewDocument");
    QTest::newRow("title with blanks") << QStringLiteral("My new bot") << QStringLiteral("My new bot");
    QTest::newRow("last separator wins") << QStringLiteral("a\\b/c:d") << QStringLiteral("d");
    QTest::newRow("slash after backslash") << QStringLiteral("C:\\x/y.aiml") << QStringLiteral("y.aiml");
    QTest::newRow("ends in separator") << QStringLiteral("/home/me/") << QString();
}

void TestPrinting::jobName()
{
    QFETCH(QString, pathLine);
    QFETCH(QString, job);
    QCOMPARE(printJobName(pathLine), job);
}

void TestPrinting::copyFileName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("copy");
    QTest::addColumn<QString>("result");

    QTest::newRow("first copy keeps the name") << QStringLiteral("/tmp/out.pdf") << 1 << QStringLiteral("/tmp/out.pdf");
    QTest::newRow("second copy") << QStringLiteral("/tmp/out.pdf") << 2 << QStringLiteral("/tmp/out-2.pdf");
    QTest::newRow("tenth copy") << QStringLiteral("/tmp/out.pdf") << 10 << QStringLiteral("/tmp/out-10.pdf");
    QTest::newRow("no extension") << QStringLiteral("/tmp/out") << 3 << QStringLiteral("/tmp/out-3");
    QTest::newRow("dot in the folder") << QStringLiteral("/tmp/v1.0/out") << 2 << QStringLiteral("/tmp/v1.0/out-2");
    QTest::newRow("hidden file") << QStringLiteral("/tmp/.pdf") << 2 << QStringLiteral("/tmp/.pdf-2");
    QTest::newRow("two dots") << QStringLiteral("/tmp/bot.aiml.pdf") << 2 << QStringLiteral("/tmp/bot.aiml-2.pdf");
    QTest::newRow("blanks") << QStringLiteral("/tmp/My Prints/bot one.pdf") << 2
                            << QStringLiteral("/tmp/My Prints/bot one-2.pdf");
}

void TestPrinting::copyFileName()
{
    QFETCH(QString, fileName);
    QFETCH(int, copy);
    QFETCH(QString, result);
    QCOMPARE(vorrel::copyFileName(fileName, copy), result);
}

void TestPrinting::oneJobIsOnePdf()
{
    QTemporaryDir dir;
    QsciScintilla editor;
    editor.setText(QStringLiteral("<aiml>\r\n<category><pattern>HI</pattern><template>Hello</template></category>\r\n"
                                  "</aiml>\r\n"));
    QPrinter printer;
    const QString out = dir.filePath(QStringLiteral("job.pdf"));
    setUpPdf(printer, out);

    const int pages = printEditorJob(printer, editor, QStringLiteral("bot.aiml"));
    QCOMPARE(pages, 1);
    const QByteArray pdf = readFile(out);
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pdfPageCount(pdf), 1);
    QCOMPARE(pdfTitle(pdf), QStringLiteral("bot.aiml"));
    // Nothing is added to the page: no header, footer or page number.
    QVERIFY(!pdf.contains("Page 1"));
}

void TestPrinting::pagesGrowWithTheText()
{
    QTemporaryDir dir;
    QsciScintilla editor;
    editor.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    QPrinter printer;
    int previous = 0;
    for (const int count : { 1, 120, 400, 1500 }) {
        editor.setText(lines(count));
        const QString out = dir.filePath(QStringLiteral("lines-%1.pdf").arg(count));
        setUpPdf(printer, out);
        const int pages = printEditorJob(printer, editor, QStringLiteral("lines"));
        QCOMPARE(pdfPageCount(readFile(out)), pages);
        QVERIFY2(pages > previous, qPrintable(QStringLiteral("%1 lines: %2 pages").arg(count).arg(pages)));
        previous = pages;
    }
    // Roughly sixty lines of ten points to a page: every line is printed.
    QVERIFY(previous >= 1500 / 90);
}

void TestPrinting::longLinesWrapOntoLaterPages()
{
    QTemporaryDir dir;
    QsciScintilla editor;
    editor.setWrapMode(QsciScintilla::WrapNone);
    QStringList words;
    for (int i = 0; i < 20000; ++i)
        words << QStringLiteral("word%1").arg(i);
    editor.setText(words.join(QLatin1Char(' ')));
    QCOMPARE(editor.lines(), 1);
    QPrinter printer;
    const QString out = dir.filePath(QStringLiteral("long.pdf"));
    setUpPdf(printer, out);
    QVERIFY(printEditorJob(printer, editor, QStringLiteral("long")) > 1);
    QVERIFY(pdfPageCount(readFile(out)) > 1);
    QCOMPARE(editor.wrapMode(), QsciScintilla::WrapNone);
}

void TestPrinting::printsInThePreviewFont()
{
    QTemporaryDir dir;
    QPrinter printer;
    const QString family[] = { QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Mono") };
    const QByteArray baseFont[] = { "DejaVuSerif", "LiberationMono" };
    for (int i = 0; i < 2; ++i) {
        if (!QFontInfo(QFont(family[i])).exactMatch())
            QSKIP("The test fonts are not installed");
        QsciScintilla editor;
        editor.SendScintilla(
            QsciScintillaBase::SCI_STYLESETFONT, QsciScintillaBase::STYLE_DEFAULT, family[i].toUtf8().constData());
        editor.SendScintilla(QsciScintillaBase::SCI_STYLECLEARALL);
        editor.setText(QStringLiteral("<pattern>HELLO</pattern>"));
        const QString out = dir.filePath(QStringLiteral("font-%1.pdf").arg(i));
        setUpPdf(printer, out);
        QCOMPARE(printEditorJob(printer, editor, QStringLiteral("font")), 1);
        const QByteArray pdf = readFile(out);
        QVERIFY2(pdf.contains(baseFont[i]), baseFont[i].constData());
        QVERIFY(!pdf.contains(baseFont[1 - i]));
    }
}

void TestPrinting::copiesAreSeparateJobs()
{
    QTemporaryDir dir;
    QsciScintilla editor;
    editor.setText(lines(100));
    QPrinter printer;
    const QString out = dir.filePath(QStringLiteral("copies.pdf"));
    setUpPdf(printer, out);
    printer.setCopyCount(3);

    QCOMPARE(printCopies(printer, editor, QStringLiteral("bot.aiml"), 3), 3);
    const QStringList written = QDir(dir.path()).entryList({ QStringLiteral("*.pdf") }, QDir::Files, QDir::Name);
    QCOMPARE(written, QStringList({ "copies-2.pdf", "copies-3.pdf", "copies.pdf" }));
    const int pages = pdfPageCount(readFile(out));
    QVERIFY(pages > 1);
    for (const QString &name : written) {
        const QByteArray pdf = readFile(dir.filePath(name));
        QCOMPARE(pdfTitle(pdf), QStringLiteral("bot.aiml"));
        // Each job holds the whole text once, not several copies of it.
        QCOMPARE(pdfPageCount(pdf), pages);
    }
    QCOMPARE(printer.copyCount(), 3);
    QCOMPARE(printer.outputFileName(), out);

    QCOMPARE(printCopies(printer, editor, QStringLiteral("none"), 0), 0);
    QCOMPARE(printCopies(printer, editor, QStringLiteral("none"), -1), 0);
    QCOMPARE(QDir(dir.path()).entryList({ QStringLiteral("*.pdf") }, QDir::Files).size(), 3);
}

void TestPrinting::printCommand_data()
{
    QTest::addColumn<QString>("pathLine");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("job");

    QTest::newRow("one copy") << QStringLiteral("C:\\Docs\\bot.aiml") << 1 << QStringLiteral("bot.aiml");
    QTest::newRow("three copies") << QStringLiteral("C:\\Docs\\bot.aiml") << 3 << QStringLiteral("bot.aiml");
    QTest::newRow("new document") << QStringLiteral("NewDocument") << 2 << QStringLiteral("NewDocument");
    QTest::newRow("path with blanks") << QStringLiteral("/home/me/My Bots/my bot.aiml") << 1
                                      << QStringLiteral("my bot.aiml");
}

// The whole command through the real print dialog, printing to a PDF file.
void TestPrinting::printCommand()
{
    QFETCH(QString, pathLine);
    QFETCH(int, copies);
    QFETCH(QString, job);

    ProgramDir dir(kQuietOpts);
    QTemporaryDir outDir;
    auto form = startedMainForm();
    form->iButMenu(true);
    setPreviewBytes(*form, lines(150).toUtf8());
    form->document()->setCreated(pathLine, TextEncoding::Utf8);
    const QString out = outDir.filePath(QStringLiteral("print.pdf"));
    setUpPdf(form->printer, out);

    auto checked = std::make_shared<bool>(false);
    auto options = std::make_shared<QString>();
    whenModal([](QWidget *w) { return qobject_cast<QPrintDialog *>(w) != nullptr; },
        [copies, checked, options, out](QWidget *w) {
            auto *dialog = static_cast<QPrintDialog *>(w);
            if (!choosePdfFile(dialog, out))
                *options += QStringLiteral("no file printer; ");
            if (!dialog->testOption(QAbstractPrintDialog::PrintToFile))
                *options += QStringLiteral("no print to file; ");
            if (dialog->testOption(QAbstractPrintDialog::PrintSelection))
                *options += QStringLiteral("selection; ");
            if (dialog->testOption(QAbstractPrintDialog::PrintPageRange))
                *options += QStringLiteral("page range; ");
            if (auto *spin = dialog->findChild<QSpinBox *>(QStringLiteral("copies"))) {
                spin->setValue(copies);
                *checked = true;
            }
            dialog->accept();
        });
    form->FilePrintItem->trigger();
    QVERIFY2(*checked, "the print dialog was not shown");
    QCOMPARE(*options, QString());

    QStringList expected;
    for (int copy = 1; copy <= copies; ++copy)
        expected << QFileInfo(vorrel::copyFileName(out, copy)).fileName();
    expected.sort();
    QCOMPARE(QDir(outDir.path()).entryList({ QStringLiteral("*.pdf") }, QDir::Files, QDir::Name), expected);
    int pages = -1;
    for (const QString &name : std::as_const(expected)) {
        const QByteArray pdf = readFile(outDir.filePath(name));
        QCOMPARE(pdfTitle(pdf), job);
        if (pages < 0)
            pages = pdfPageCount(pdf);
        QCOMPARE(pdfPageCount(pdf), pages);
    }
    QVERIFY(pages >= 2);
    // The dialog shows the same number of copies next time.
    QCOMPARE(form->printer.copyCount(), copies);
}

void TestPrinting::cancelledPrintPrintsNothing()
{
    ProgramDir dir(kQuietOpts);
    QTemporaryDir outDir;
    auto form = startedMainForm();
    form->iButMenu(true);
    setPreviewBytes(*form, "<aiml></aiml>");
    form->document()->setCreated(QStringLiteral("/tmp/bot.aiml"), TextEncoding::Utf8);
    setUpPdf(form->printer, outDir.filePath(QStringLiteral("print.pdf")));

    auto shown = std::make_shared<bool>(false);
    whenModal([](QWidget *w) { return qobject_cast<QPrintDialog *>(w) != nullptr; },
        [shown](QWidget *w) {
            *shown = true;
            static_cast<QDialog *>(w)->reject();
        });
    form->SpeedButton4->click();
    QVERIFY(*shown);
    QVERIFY(QDir(outDir.path()).isEmpty());
}

void TestPrinting::pageSetupAppliesToLaterPrinting()
{
    ProgramDir dir(kQuietOpts);
    QTemporaryDir outDir;
    auto form = startedMainForm();
    form->iButMenu(true);
    setPreviewBytes(*form, lines(10).toUtf8());
    form->document()->setCreated(QStringLiteral("/tmp/bot.aiml"), TextEncoding::Utf8);
    const QString out = outDir.filePath(QStringLiteral("print.pdf"));
    setUpPdf(form->printer, out);
    form->printer.setPageOrientation(QPageLayout::Portrait);

    auto chosen = std::make_shared<bool>(false);
    whenModal([](QWidget *w) { return qobject_cast<QPageSetupDialog *>(w) != nullptr; },
        [chosen](QWidget *w) {
            if (auto *landscape = w->findChild<QRadioButton *>(QStringLiteral("landscape"))) {
                landscape->click();
                *chosen = true;
            }
            static_cast<QDialog *>(w)->accept();
        });
    form->FilePrintSetupItem->trigger();
    QVERIFY2(*chosen, "the page set-up dialog was not shown");
    QCOMPARE(form->printer.pageLayout().orientation(), QPageLayout::Landscape);

    whenModal([](QWidget *w) { return qobject_cast<QPrintDialog *>(w) != nullptr; },
        [out](QWidget *w) {
            choosePdfFile(w, out);
            static_cast<QDialog *>(w)->accept();
        });
    form->FilePrint();
    const QSizeF box = pdfMediaBox(readFile(out));
    QVERIFY2(box.width() > box.height(), qPrintable(QStringLiteral("%1 x %2").arg(box.width()).arg(box.height())));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
