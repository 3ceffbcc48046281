// The "General Report" window as the menu command shows it.

#include "MainFormFixture.h"

#include "app/Main.h"
#include "document/CategoryTable.h"
#include "document/Document.h"
#include "document/ui/PreviewEditor.h"
#include "report/ui/Report.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <Qsci/qsciscintilla.h>

using namespace vorrel::test;

namespace {

struct Shown
{
    bool seen = false;
    bool modal = false;
    QStringList values;
    QRect frame;
};

const char *const kBoxes[] = { "txtWords", "chars", "version", "cats", "random", "srai", "think" };

// Runs the report command and reads the boxes while the window is up, then presses Close.
Shown runReport(TMainForm &form, bool throughMenu = false)
{
    auto shown = std::make_shared<Shown>();
    whenModal([](QWidget *w) { return w->objectName() == QLatin1String("frmReport"); },
        [shown](QWidget *w) {
            shown->seen = true;
            shown->modal = w->isModal();
            shown->frame = w->frameGeometry();
            for (const char *name : kBoxes) {
                auto *box = w->findChild<QLabel *>(QLatin1String(name));
                shown->values << (box ? box->text() : QStringLiteral("<missing>"));
            }
            if (auto *close = w->findChild<QPushButton *>(QStringLiteral("cmdClose")))
                close->click();
        });
    if (throughMenu)
        form.mnuReport->trigger();
    else
        form.mnuReportClick();
    return *shown;
}

} // namespace

class TestReportWindow final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layout();
    void figures_data();
    void figures();
    void countsThePreviewNotTheTable();
    void leavesThePreviewAlone();
    void refilledEachTime();
    void centredOnTheScreen();

private:
    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<TMainForm> m_form;
};

void TestReportWindow::init()
{
    m_dir = std::make_unique<ProgramDir>(kQuietOpts);
    QVERIFY(m_dir->isValid());
    m_form = startedMainForm();
    m_form->iButMenu(true);
}

void TestReportWindow::cleanup()
{
    cancelModalWaits();
    m_form.reset();
    m_dir.reset();
}

void TestReportWindow::layout()
{
    TfrmReport *report = m_form->frmReport;
    QCOMPARE(report->windowTitle(), QStringLiteral("General Report"));
    QCOMPARE(report->GroupBox1->title(), QStringLiteral("Text Report"));
    QCOMPARE(report->GroupBox2->title(), QStringLiteral("AIML Report"));
    QCOMPARE(report->buttons->standardButtons(), QDialogButtonBox::Close);
    QVERIFY(!(report->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(report->windowFlags() & Qt::WindowMinimizeButtonHint));

    QStringList captions;
    for (QGroupBox *group : { report->GroupBox1, report->GroupBox2 }) {
        const auto labels = group->findChildren<QLabel *>();
        for (QLabel *label : labels) {
            if (label->objectName().isEmpty())
                captions << label->text();
        }
    }
    QCOMPARE(captions,
        QStringList({ QStringLiteral("Words:"), QStringLiteral("Characters:"), QStringLiteral("AIML version:"),
            QStringLiteral("Categories:"), QStringLiteral("<random> tags:"), QStringLiteral("<srai> tags:"),
            QStringLiteral("<think> tags:") }));
    for (const char *name : kBoxes) {
        auto *box = report->findChild<QLabel *>(QLatin1String(name));
        QVERIFY2(box, name);
        QCOMPARE(box->alignment(), Qt::AlignCenter);
        QCOMPARE(box->frameShape(), QFrame::Box);
        QCOMPARE(box->textFormat(), Qt::PlainText);
    }
}

void TestReportWindow::figures_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("empty") << QByteArray() << QStringList({ "0", "0", "AIML (none)", "0", "0", "0", "0" });
    QTest::newRow("one category") << QByteArray(
        "<?xml version=\"1.0\"?>\r\n<aiml version=\"1.0.1\">\r\n<category>\r\n<pattern>HI</pattern>\r\n<template>\r\n"
        "<random><li>a</li><li><srai>HELLO</srai></li></random><random></random>\r\n"
        "</template>\r\n</category>\r\n</aiml>\r\n")
                                  << QStringList({ "29", "202", "AIML 1.0.1", "1", "2", "1", "0" });
    QTest::newRow("version mark") << QByteArray("<think>x</think>\r\naiml version* 1.0")
                                  << QStringList({ "7", "35", "AIML version* 1.0", "0", "0", "0", "1" });
}

void TestReportWindow::figures()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, values);

    setPreviewBytes(*m_form, text);
    const Shown shown = runReport(*m_form);
    QVERIFY(shown.seen);
    QVERIFY(shown.modal);
    QCOMPARE(shown.values, values);
    QVERIFY(!m_form->frmReport->isVisible());
    // The window's own word count agrees with the figure it shows.
    QCOMPARE(QString::number(TMainForm::CountWords(QString::fromUtf8(text))), values.at(0));
}

void TestReportWindow::countsThePreviewNotTheTable()
{
    setPreviewBytes(*m_form, "<category><pattern>A</pattern><template>B</template></category>\r\n");
    vorrel::CategoryTable *table = m_form->table();
    table->setGridRowCount(5);
    for (int row = 1; row < 5; ++row) {
        table->setCell(1, row, QStringLiteral("PATTERN %1").arg(row));
        table->setCell(3, row, QStringLiteral("<srai>X</srai>"));
    }
    const Shown shown = runReport(*m_form, true);
    QVERIFY(shown.seen);
    QCOMPARE(shown.values.at(3), QStringLiteral("1"));
    QCOMPARE(shown.values.at(5), QStringLiteral("0"));
}

void TestReportWindow::leavesThePreviewAlone()
{
    const QByteArray text("<category>\r\n<pattern>HELLO</pattern>\r\n</category>\r\n");
    setPreviewBytes(*m_form, text);
    m_form->document()->setDocChanged(false);
    m_form->code->setSelection(1, 2, 1, 5);
    runReport(*m_form);
    QCOMPARE(previewBytes(*m_form), text);
    QVERIFY(!m_form->document()->DocChanged());
    int lineFrom = 0, indexFrom = 0, lineTo = 0, indexTo = 0;
    m_form->code->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    QCOMPARE(QList<int>({ lineFrom, indexFrom, lineTo, indexTo }), QList<int>({ 1, 2, 1, 5 }));
}

void TestReportWindow::refilledEachTime()
{
    setPreviewBytes(*m_form, "<srai>a</srai>");
    QCOMPARE(runReport(*m_form).values.at(5), QStringLiteral("1"));
    setPreviewBytes(*m_form, "<srai>a</srai><srai>b</srai><srai>c</srai>");
    QCOMPARE(runReport(*m_form).values.at(5), QStringLiteral("3"));
    setPreviewBytes(*m_form, QByteArray());
    QCOMPARE(runReport(*m_form).values, QStringList({ "0", "0", "AIML (none)", "0", "0", "0", "0" }));
}

void TestReportWindow::centredOnTheScreen()
{
    setPreviewBytes(*m_form, "hello");
    const Shown shown = runReport(*m_form);
    QVERIFY(shown.seen);
    const QPoint centre = m_form->frmReport->screen()->availableGeometry().center();
    QVERIFY2((shown.frame.center() - centre).manhattanLength() <= 2,
        qPrintable(QStringLiteral("window centre %1,%2; screen centre %3,%4")
                       .arg(shown.frame.center().x())
                       .arg(shown.frame.center().y())
                       .arg(centre.x())
                       .arg(centre.y())));
}

QTEST_MAIN(TestReportWindow)
#include "tst_reportwindow.moc"
