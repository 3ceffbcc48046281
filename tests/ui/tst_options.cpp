// The Options dialog in the running main window: its layout, keyboard order, the four
// commands, and what OK stores and a later start-up reads back.

#include "MainFormFixture.h"
#include "TestFiles.h"

#include "app/Main.h"
#include "base/ProgramFiles.h"
#include "document/Document.h"
#include "document/ui/PreviewEditor.h"
#include "prefs/IniProfile.h"
#include "prefs/Settings.h"
#include "prefs/ui/Options.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

#include <Qsci/qsciscintilla.h>

#include <functional>
#include <memory>

using namespace vorrel;
using namespace vorrel::test;

namespace {

void press(QWidget *window, const char *button)
{
    auto *b = window->findChild<QAbstractButton *>(QLatin1String(button));
    QVERIFY2(b, button);
    b->click();
}

// The preview's style 0 (the text) as Scintilla holds it.
QString styleFace(const QsciScintilla *code)
{
    char face[256] = {};
    code->SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, 0ul, static_cast<void *>(face));
    return QString::fromUtf8(face);
}

long styleValue(const QsciScintilla *code, unsigned int message)
{
    return code->SendScintilla(message, 0ul);
}

// One key of opts.ini as written, or the fallback where it is missing.
QString storedKey(const QString &file, const char *section, const char *key, const char *fallback = "")
{
    return IniProfile::load(file).readString(QLatin1String(section), QLatin1String(key), QLatin1String(fallback));
}

} // namespace

class TestOptions final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void layoutDetails();
    void tabOrder();
    void centredOnDesktop();
    void menuShowsItModally();
    void escapeAndEnter();
    void codeCompRange_data();
    void codeCompRange();
    void setToDefaults_data();
    void setToDefaults();
    void cancelKeepsChangesWritesNothing();
    void okRoundTrip_data();
    void okRoundTrip();
    void changeFontThenOk();
    void botPage();
    void browse();
    void writeFailure_data();
    void writeFailure();

private:
    // A main window after its start-up routine, with opts.ini holding these bytes (none if null).
    TMainForm *start(const QByteArray &opts = kQuietOpts);
    QString optsFile() const { return m_dir->file(QStringLiteral("opts.ini")); }
    // Shows the dialog from its menu item, runs before on it and presses one of its buttons.
    bool runDialog(const char *button, std::function<void(TfrmOptions *)> before = {});

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<TMainForm> m_main;
};

void TestOptions::init()
{
    m_dir = std::make_unique<ProgramDir>();
    QVERIFY(m_dir->isValid());
}

void TestOptions::cleanup()
{
    m_main.reset();
    m_dir.reset();
}

TMainForm *TestOptions::start(const QByteArray &opts)
{
    // QVERIFY returns from the function it stands in, so it gets one of its own here.
    const auto writeOpts = [&] { QVERIFY(writeFile(optsFile(), opts)); };
    if (!opts.isNull())
        writeOpts();
    m_main.reset();
    m_main = startedMainForm();
    m_main->iButMenu(true);
    return m_main.get();
}

bool TestOptions::runDialog(const char *button, std::function<void(TfrmOptions *)> before)
{
    const auto done = whenModal(QStringLiteral("frmOptions"), [=](QWidget *w) {
        if (before)
            before(static_cast<TfrmOptions *>(w));
        if (button)
            press(w, button);
    });
    m_main->mnuOptions->trigger();
    return *done;
}

void TestOptions::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place"); // width and height 0 where the form leaves them to the text
    QTest::addColumn<QString>("text");

    QTest::newRow("Label1") << "Label1" << QRect(8, 8, 0, 0) << "Preview font:";
    QTest::newRow("fontname") << "fontname" << QRect(8, 28, 189, 17) << "Lucida Console";
    QTest::newRow("fontsize") << "fontsize" << QRect(204, 28, 85, 17) << "10";
    QTest::newRow("cmdChange") << "cmdChange" << QRect(296, 28, 105, 21) << "Change";
    QTest::newRow("Label2") << "Label2" << QRect(8, 52, 0, 0) << "Initial Directory:";
    QTest::newRow("txtDir") << "txtDir" << QRect(8, 68, 329, 21) << "C:\\";
    QTest::newRow("cmdBrowse") << "cmdBrowse" << QRect(344, 68, 61, 21) << "Browse...";
    QTest::newRow("codeComp") << "codeComp" << QRect(8, 96, 393, 61) << "Code Completion (AutoText)";
    QTest::newRow("comments") << "comments" << QRect(8, 164, 0, 0) << "Make comments italics";
    QTest::newRow("dialog") << "dialog" << QRect(8, 188, 0, 0) << "Show Welcome dialog at startup";
    QTest::newRow("upcase") << "upcase" << QRect(8, 212, 0, 0) << "Automatically uppercase patterns";
    QTest::newRow("cmdDefaults") << "cmdDefaults" << QRect(8, 266, 81, 33) << "Set to defaults";
    QTest::newRow("cmdCancel") << "cmdCancel" << QRect(224, 266, 81, 33) << "Cancel";
    QTest::newRow("cmdOK") << "cmdOK" << QRect(320, 266, 81, 33) << "OK";
}

void TestOptions::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, text);

    TfrmOptions form;
    auto *w = form.findChild<QWidget *>(name);
    QVERIFY(w);
    // The settings on the first page, the buttons below the pages.
    QCOMPARE(w->parentWidget(), place.y() < 232 ? form.tsGeneral : static_cast<QWidget *>(&form));
    QCOMPARE(w->pos(), place.topLeft());
    if (place.width() > 0)
        QCOMPARE(w->size(), place.size());
    // Nothing reaches past the client area or down into the row of buttons.
    QVERIFY(form.rect().contains(w->geometry()));
    if (w->y() < 232)
        QVERIFY2(w->geometry().bottom() < 232, qPrintable(QString::number(w->geometry().bottom())));

    QString shown;
    if (auto *label = qobject_cast<QLabel *>(w))
        shown = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        shown = button->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(w))
        shown = edit->text();
    else if (auto *group = qobject_cast<QGroupBox *>(w))
        shown = group->title();
    QCOMPARE(shown, text);
}

void TestOptions::layoutDetails()
{
    TfrmOptions form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Options"));
    QCOMPARE(form.size(), QSize(409, 303));
    // The first page holds the settings' whole layout, above the buttons.
    QVERIFY(form.tsGeneral->height() >= 232);
    QVERIFY(form.pages->geometry().bottom() < form.cmdOK->y());
    QCOMPARE(form.minimumSize(), form.maximumSize());

    for (QLabel *text : { form.fontname, form.fontsize }) {
        QCOMPARE(text->frameShape(), QFrame::Box);
        QCOMPARE(text->lineWidth(), 1);
        QCOMPARE(text->alignment(), Qt::AlignCenter);
    }
    for (QPushButton *flat : { form.cmdChange, form.cmdBrowse }) {
        QVERIFY(flat->isFlat());
        QCOMPARE(flat->palette().color(QPalette::ButtonText), QColor(Qt::blue));
        // A click leaves the focus where it was; Tab still reaches the button.
        QCOMPARE(flat->focusPolicy(), Qt::TabFocus);
    }
    QVERIFY(form.txtDir->isReadOnly());
    QVERIFY(form.cmdOK->isDefault());
    QVERIFY(!form.cmdCancel->isDefault());

    const QList<QRadioButton *> items = form.codeComp->findChildren<QRadioButton *>();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0)->text(), QStringLiteral("Limited code completion"));
    QCOMPARE(items.at(1)->text(), QStringLiteral("No code completion"));
    QCOMPARE(form.codeCompIndex(), 0);
    QVERIFY(items.at(0)->isChecked());
    for (QCheckBox *box : { form.comments, form.dialog, form.upcase })
        QVERIFY(!box->isChecked());

    QCOMPARE(form.fonts->objectName(), QStringLiteral("fonts"));
    QCOMPARE(form.fonts->parent(), &form);
    QVERIFY(form.fonts->testOption(QFontDialog::ScalableFonts));
    QVERIFY(!form.fonts->isVisible());
}

void TestOptions::tabOrder()
{
    TfrmOptions form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));

    // The group's items are named codeComp0 and codeComp1.
    const auto focusName = [] {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    };
    // The first showing starts in the code-completion choice, on its chosen item; Tab goes
    // top to bottom and each row left to right.
    QCOMPARE(focusName(), QStringLiteral("codeComp0"));
    const QStringList order = { "comments", "dialog", "upcase", "cmdDefaults", "cmdCancel", "cmdOK", "cmdChange",
        "txtDir", "cmdBrowse", "codeComp0" };
    for (const QString &next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), next);
    }
    // The group is one stop, and that stop is its chosen item.
    form.setCodeCompIndex(1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(focusName(), QStringLiteral("cmdBrowse"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("codeComp1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("comments"));
}

void TestOptions::centredOnDesktop()
{
    TMainForm *main = start();
    // Away from the desktop's centre, so that centring on the main window would show.
    main->setGeometry(0, 0, 300, 200);
    main->frmOptions->show();
    const QPoint centre = main->frmOptions->geometry().center();
    const QPoint desk = main->frmOptions->screen()->availableGeometry().center();
    main->frmOptions->hide();
    QVERIFY2(
        (centre - desk).manhattanLength() < 40, qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
}

void TestOptions::menuShowsItModally()
{
    TMainForm *main = start();
    QCOMPARE(main->mnuOptions->text(), QStringLiteral("&Options"));
    Qt::WindowModality modality = Qt::NonModal;
    QVERIFY(runDialog("cmdCancel", [&modality](TfrmOptions *form) { modality = form->windowModality(); }));
    QVERIFY(modality != Qt::NonModal);
    QVERIFY(!main->frmOptions->isVisible());
    QCOMPARE(main->frmOptions->result(), int(QDialog::Rejected));
}

void TestOptions::escapeAndEnter()
{
    TMainForm *main = start();
    QVERIFY(QFile::remove(optsFile()));

    QVERIFY(runDialog(nullptr, [](TfrmOptions *form) { QTest::keyClick(form->comments, Qt::Key_Escape); }));
    QCOMPARE(main->frmOptions->result(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(optsFile()));

    const auto done = whenModal(QStringLiteral("frmOptions"), [](QWidget *w) {
        auto *form = static_cast<TfrmOptions *>(w);
        form->comments->setFocus();
        QTest::keyClick(form->comments, Qt::Key_Return);
    });
    main->mnuOptionsClick();
    QVERIFY(*done);
    QCOMPARE(main->frmOptions->result(), int(QDialog::Accepted));
    QVERIFY(QFile::exists(optsFile()));
}

void TestOptions::codeCompRange_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("index");

    QTest::newRow("0") << QByteArray("0") << 0;
    QTest::newRow("1") << QByteArray("1") << 1;
    QTest::newRow("2 selects the last") << QByteArray("2") << 1;
    QTest::newRow("7 selects the last") << QByteArray("7") << 1;
    QTest::newRow("-1 selects none") << QByteArray("-1") << -1;
    QTest::newRow("-5 becomes -1") << QByteArray("-5") << -1;
    QTest::newRow("no number") << QByteArray("two") << 0;
}

void TestOptions::codeCompRange()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, index);

    TMainForm *main = start(kQuietOpts + "SCC=" + stored + "\r\n");
    TfrmOptions *form = main->frmOptions;
    QCOMPARE(form->codeCompIndex(), index);
    const QList<QRadioButton *> items = form->codeComp->findChildren<QRadioButton *>();
    QCOMPARE(items.at(0)->isChecked(), index == 0);
    QCOMPARE(items.at(1)->isChecked(), index == 1);

    QVERIFY(runDialog("cmdOK"));
    QCOMPARE(storedKey(optsFile(), "Preferences", "SCC"), QString::number(index));
}

void TestOptions::setToDefaults_data()
{
    QTest::addColumn<QByteArray>("defs"); // null: no defs.dat
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("scc");
    QTest::addColumn<bool>("comments");
    QTest::addColumn<bool>("dialog");

    QTest::newRow("no defs.dat") << QByteArray() << "Lucida Console" << 10 << 0 << true << true;
    QTest::newRow("every key, InitDir and UCase too")
        << QByteArray("[Font]\r\nName=Nimbus Sans\r\nSize=14\r\n[Preferences]\r\nSCC=1\r\nComments=0\r\n"
                      "InitDir=/usr\r\nDlg=0\r\nUCase=1\r\n")
        << "Nimbus Sans" << 14 << 1 << false << false;
    QTest::newRow("some keys, other case")
        << QByteArray("[font]\r\nSIZE=12\r\n") << "Lucida Console" << 12 << 0 << true << true;
    QTest::newRow("no numbers") << QByteArray("[Font]\r\nSize=big\r\n[Preferences]\r\nSCC=9\r\nComments=yes\r\n")
                                << "Lucida Console" << 10 << 1 << true << true;
    QTest::newRow("shipped file") << readFile(QStringLiteral(VORREL_DATA_DIR "/defs.dat")) << "Lucida Console" << 10
                                  << 0 << true << true;
}

void TestOptions::setToDefaults()
{
    QFETCH(QByteArray, defs);
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(int, scc);
    QFETCH(bool, comments);
    QFETCH(bool, dialog);

    if (QTest::currentDataTag() == QLatin1String("shipped file"))
        QVERIFY2(!defs.isEmpty(), "data/defs.dat is missing");
    const QByteArray opts = "[Font]\r\nName=DejaVu Serif\r\nSize=20\r\n[Preferences]\r\nDlg=0\r\nSCC=-1\r\n"
                            "Comments=0\r\nInitDir=/tmp\r\nUCase=0\r\n";
    TMainForm *main = start(opts);
    if (!defs.isNull())
        QVERIFY(m_dir->write(QStringLiteral("defs.dat"), defs));
    main->code->setText(QStringLiteral("<category>\r\n</category>"));
    QCOMPARE(styleFace(main->code), QStringLiteral("DejaVu Serif"));

    TfrmOptions *form = main->frmOptions;
    form->dialog->setChecked(!dialog);
    form->cmdDefaults->click();

    QCOMPARE(form->fontname->text(), name);
    QCOMPARE(form->fontsize->text(), QString::number(size));
    QCOMPARE(form->codeCompIndex(), scc);
    QCOMPARE(form->comments->isChecked(), comments);
    QCOMPARE(form->dialog->isChecked(), dialog);
    // Never taken from the defaults.
    QCOMPARE(form->txtDir->text(), QStringLiteral("/tmp"));
    QVERIFY(!form->upcase->isChecked());
    // The preview's own font changes at once, without a selection; nothing is stored.
    QCOMPARE(styleFace(main->code), name);
    QCOMPARE(styleValue(main->code, QsciScintillaBase::SCI_STYLEGETSIZE), long(size));
    QVERIFY(!main->code->hasSelectedText());
    QCOMPARE(readFile(optsFile()), opts);
}

void TestOptions::cancelKeepsChangesWritesNothing()
{
    const QByteArray opts
        = "[Font]\r\nName=DejaVu Serif\r\nSize=20\r\n[Preferences]\r\nDlg=0\r\nUCase=1\r\nComments=0\r\n";
    TMainForm *main = start(opts);
    TfrmOptions *form = main->frmOptions;
    QVERIFY(form->upcase->isChecked());

    QVERIFY(runDialog("cmdCancel", [](TfrmOptions *f) {
        f->upcase->click();
        f->cmdDefaults->click();
    }));
    QCOMPARE(form->result(), int(QDialog::Rejected));
    QCOMPARE(readFile(optsFile()), opts);
    // Nothing is undone: the boxes, the defaults and the preview's font stay as they were made.
    QVERIFY(!form->upcase->isChecked());
    QVERIFY(form->comments->isChecked());
    QVERIFY(form->dialog->isChecked());
    QCOMPARE(form->fontname->text(), QStringLiteral("Lucida Console"));
    QCOMPARE(styleFace(main->code), QStringLiteral("Lucida Console"));

    // The next showing presents the controls as they stand, not as the file has them.
    bool upcaseShown = true;
    QVERIFY(runDialog("cmdCancel", [&upcaseShown](TfrmOptions *f) { upcaseShown = f->upcase->isChecked(); }));
    QVERIFY(!upcaseShown);
    QCOMPARE(readFile(optsFile()), opts);
}

void TestOptions::okRoundTrip_data()
{
    QTest::addColumn<bool>("fresh"); // no opts.ini before OK
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("scc");
    QTest::addColumn<bool>("comments");
    QTest::addColumn<QString>("initDir");
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<bool>("upcase");

    QTest::newRow("from nothing") << true << "Lucida Console" << 10 << 0 << true << "/" << true << true;
    QTest::newRow("blanks in name, empty folder")
        << false << "DejaVu Sans Mono" << 14 << 1 << false << "" << false << false;
    QTest::newRow("no item chosen") << false << "Nimbus Roman" << 7 << -1 << true << "/tmp/some dir" << false << true;
}

void TestOptions::okRoundTrip()
{
    QFETCH(bool, fresh);
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(int, scc);
    QFETCH(bool, comments);
    QFETCH(QString, initDir);
    QFETCH(bool, dialog);
    QFETCH(bool, upcase);

    TMainForm *main = start("; kept\r\n[Font]\r\nName=Arial\r\nSize=9\r\n[Preferences]\r\nDlg=0\r\nSCC=1\r\n");
    if (fresh)
        QVERIFY(QFile::remove(optsFile()));
    main->code->setText(QStringLiteral("<aiml>\r\n</aiml>"));

    QVERIFY(runDialog("cmdOK", [&](TfrmOptions *form) {
        form->fontname->setText(name);
        form->fontsize->setText(QString::number(size));
        form->setCodeCompIndex(scc);
        form->comments->setChecked(comments);
        form->txtDir->setText(initDir);
        form->dialog->setChecked(dialog);
        form->upcase->setChecked(upcase);
    }));
    QCOMPARE(main->frmOptions->result(), int(QDialog::Accepted));
    QCOMPARE(styleFace(main->code), name);
    QCOMPARE(styleValue(main->code, QsciScintillaBase::SCI_STYLEGETSIZE), long(size));

    const QByteArray written = readFile(optsFile());
    if (fresh) {
        QCOMPARE(written,
            QByteArray("[Font]\r\nName=Lucida Console\r\nSize=10\r\n[Preferences]\r\nSCC=0\r\nComments=1\r\n"
                       "InitDir=/\r\nDlg=1\r\nUCase=1\r\n"));
    } else {
        QVERIFY(written.startsWith("; kept\r\n[Font]\r\n"));
    }

    // A fresh start reads back all seven.
    TMainForm *next = start(QByteArray());
    TfrmOptions *form = next->frmOptions;
    QCOMPARE(form->fontname->text(), name);
    QCOMPARE(form->fontsize->text(), QString::number(size));
    QCOMPARE(form->codeCompIndex(), scc);
    QCOMPARE(form->comments->isChecked(), comments);
    QCOMPARE(form->txtDir->text(), initDir);
    QCOMPARE(form->dialog->isChecked(), dialog);
    QCOMPARE(form->upcase->isChecked(), upcase);
    QCOMPARE(styleFace(next->code), name);
}

void TestOptions::botPage()
{
    TMainForm *main = start("[Preferences]\r\nDlg=0\r\n[Bot]\r\nmaster=Ann\r\n; kept\r\n");
    QTableWidget *grid = main->frmOptions->botProps;
    QCOMPARE(main->frmOptions->botProps->parentWidget(), main->frmOptions->tsBot);
    // The stored ones over the built-in name, and an empty row for a new one.
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("master"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Vessra"));

    QVERIFY(runDialog("cmdOK", [](TfrmOptions *form) {
        form->botProps->setItem(2, 0, new QTableWidgetItem(QStringLiteral("location")));
        form->botProps->setItem(2, 1, new QTableWidgetItem(QStringLiteral("Oslo")));
        // A row without a name is left out.
        form->botProps->item(0, 0)->setText(QString());
    }));
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(readFile(optsFile()),
        QByteArray("[Preferences]\r\nDlg=0\r\nSCC=0\r\nComments=1\r\nInitDir=/\r\nUCase=1\r\n[Bot]\r\n; kept\r\n"
                   "location=Oslo\r\nname=Vessra\r\n[Font]\r\nName=Lucida Console\r\nSize=10\r\n"));
    const BotProperties stored = readBotProperties(IniProfile::load(optsFile()));
    QCOMPARE(stored.names(), QStringList({ "location", "name" }));
    QCOMPARE(stored.value(u"location"), QStringLiteral("Oslo"));
    QCOMPARE(main->frmOptions->botProperties(), stored);
}

void TestOptions::changeFontThenOk()
{
    TMainForm *main = start();
    TfrmOptions *form = main->frmOptions;
    const QString text = QStringLiteral("<category>\r\n<pattern>HI</pattern>\r\n</category>");
    main->code->setText(text);
    const QString faceBefore = styleFace(main->code);

    QFont first;
    QFont chosen(QStringLiteral("DejaVu Serif"), 14, QFont::Bold, true);
    auto done = whenModal(QStringLiteral("fonts"), [&](QWidget *w) {
        auto *dlg = static_cast<QFontDialog *>(w);
        first = dlg->currentFont();
        dlg->setCurrentFont(chosen);
        dlg->accept();
    });
    form->cmdChange->click();
    QVERIFY(*done);
    // Its own font at first: the requested face, or the sans-serif face standing in for it.
    QFont wanted(QStringLiteral("MS Sans Serif"), 8);
    wanted.setStyleHint(QFont::SansSerif);
    QCOMPARE(first.family(), QFontInfo(wanted).family());
    QCOMPARE(first.pointSize(), 8);
    QVERIFY(form->fonts->selectedFont().bold() && form->fonts->selectedFont().italic());
    QCOMPARE(form->fontname->text(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(form->fontsize->text(), QStringLiteral("14"));
    QCOMPARE(styleFace(main->code), faceBefore); // not before OK

    // Cancelled, even after looking at another font: nothing changes, and the next opening
    // still shows the last font chosen.
    QFont reopened;
    done = whenModal(QStringLiteral("fonts"), [&](QWidget *w) {
        auto *dlg = static_cast<QFontDialog *>(w);
        reopened = dlg->currentFont();
        dlg->setCurrentFont(QFont(QStringLiteral("Nimbus Sans"), 30));
        dlg->reject();
    });
    form->cmdChange->click();
    QVERIFY(*done);
    QCOMPARE(reopened.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(reopened.pointSize(), 14);
    QVERIFY(reopened.bold());
    QCOMPARE(form->fontname->text(), QStringLiteral("DejaVu Serif"));
    done = whenModal(QStringLiteral("fonts"), [&](QWidget *w) {
        reopened = static_cast<QFontDialog *>(w)->currentFont();
        static_cast<QDialog *>(w)->reject();
    });
    form->cmdChange->click();
    QVERIFY(*done);
    QCOMPARE(reopened.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(reopened.pointSize(), 14);

    QVERIFY(runDialog("cmdOK"));
    // The whole text is left selected, in the face and size only: not bold, not italic.
    QVERIFY(main->code->hasSelectedText());
    QCOMPARE(main->code->selectedText(), main->code->text());
    QCOMPARE(styleFace(main->code), QStringLiteral("DejaVu Serif"));
    QCOMPARE(styleValue(main->code, QsciScintillaBase::SCI_STYLEGETSIZE), 14l);
    QCOMPARE(styleValue(main->code, QsciScintillaBase::SCI_STYLEGETBOLD), 0l);
    QCOMPARE(styleValue(main->code, QsciScintillaBase::SCI_STYLEGETITALIC), 0l);
    QCOMPARE(storedKey(optsFile(), "Font", "Name"), QStringLiteral("DejaVu Serif"));
    QCOMPARE(storedKey(optsFile(), "Font", "Size"), QStringLiteral("14"));
}

void TestOptions::browse()
{
    TMainForm *main = start();
    TfrmOptions *form = main->frmOptions;
    QDir root(m_dir->path());
    QVERIFY(root.mkpath(QStringLiteral("start/child")));
    const QString startDir = root.filePath(QStringLiteral("start"));
    const QString child = root.filePath(QStringLiteral("start/child"));
    const QString odBefore = main->od->directory().absolutePath();

    struct Case
    {
        QString text; // txtDir before
        QString opensAt;
        bool accept;
        QString after; // txtDir after
    };
    const Case cases[] = {
        { startDir, startDir, true, child },
        { startDir, startDir, false, startDir },
        { QStringLiteral("C:\\"), QDir::rootPath(), false, QStringLiteral("C:\\") },
        { QString(), QDir::rootPath(), false, QString() },
    };
    for (const Case &c : cases) {
        form->txtDir->setText(c.text);
        QString title;
        QString opened;
        const auto done = whenModal(QStringLiteral("folderBrowser"), [&](QWidget *w) {
            auto *browser = static_cast<QFileDialog *>(w);
            title = browser->windowTitle();
            opened = browser->directory().absolutePath();
            if (c.accept) {
                browser->setDirectory(child);
                static_cast<QDialog *>(browser)->accept();
            } else {
                browser->reject();
            }
        });
        form->cmdBrowse->click();
        QVERIFY(*done);
        QCOMPARE(title, QStringLiteral("Select Initial Directory..."));
        QCOMPARE(opened, c.opensAt);
        QCOMPARE(form->txtDir->text(), c.after);
    }
    // The open dialog learns of the new folder only at the next start.
    QCOMPARE(main->od->directory().absolutePath(), odBefore);
}

void TestOptions::writeFailure_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("program folder below a regular file") << QStringLiteral("parent is a file");
    QTest::newRow("opts.ini is a folder") << QStringLiteral("folder");
    QTest::newRow("fifth key cannot be written") << QStringLiteral("line break");
}

void TestOptions::writeFailure()
{
    QFETCH(QString, kind);
    const QByteArray opts = "[Font]\r\nName=Nimbus Sans\r\nSize=9\r\n[Preferences]\r\nDlg=0\r\nComments=0\r\n";
    TMainForm *main = start(opts);
    TfrmOptions *form = main->frmOptions;
    const QString faceBefore = styleFace(main->code);

    QString target = optsFile();
    if (kind == QLatin1String("parent is a file")) {
        QVERIFY(m_dir->write(QStringLiteral("plain"), "x"));
        setProgramDirOverride(m_dir->file(QStringLiteral("plain/program")));
        target = m_dir->file(QStringLiteral("plain/program/opts.ini"));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QFile::remove(target));
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("opts.ini")));
    } else {
        form->txtDir->setText(QStringLiteral("/tmp/one\nline too many"));
        if (!form->txtDir->text().contains(QLatin1Char('\n')))
            QSKIP("the one-line edit drops line breaks itself");
    }

    QString message;
    QString caption;
    const auto boxShown = whenModal(QStringLiteral("ErrorBox"), [&](QWidget *w) {
        auto *box = static_cast<QMessageBox *>(w);
        message = box->text();
        caption = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    QVERIFY(runDialog("cmdOK", [](TfrmOptions *f) {
        f->fontname->setText(QStringLiteral("DejaVu Serif"));
        f->fontsize->setText(QStringLiteral("15"));
        f->comments->setChecked(true);
        f->dialog->setChecked(true);
        f->upcase->setChecked(false);
    }));
    QVERIFY(*boxShown);
    // The system's reason follows the message.
    QVERIFY2(message.startsWith(QStringLiteral("Unable to write to %1. ").arg(target)), qPrintable(message));
    QVERIFY2(message.size() > target.size() + 22 && message.endsWith(QLatin1Char('.')), qPrintable(message));
    QCOMPARE(caption, QStringLiteral("AIML Vorrel 3.0"));
    // The dialog closed all the same, the font was not applied, the controls kept their states.
    QVERIFY(!form->isVisible());
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(styleFace(main->code), faceBefore);
    QCOMPARE(form->fontname->text(), QStringLiteral("DejaVu Serif"));
    QVERIFY(form->dialog->isChecked());
    QVERIFY(!form->upcase->isChecked());

    // The file is replaced whole or not at all: no key of this OK was stored.
    if (kind == QLatin1String("folder"))
        QVERIFY(QFileInfo(target).isDir());
    else
        QCOMPARE(readFile(optsFile()), opts);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
