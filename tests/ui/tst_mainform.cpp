#include "MainFormFixture.h"

#include "app/Main.h"
#include "app/ProgressBar.h"
#include "app/Splash.h"
#include "document/CategoryTable.h"
#include "document/Document.h"
#include "document/ui/New.h"
#include "document/ui/PreviewEditor.h"
#include "editing/ui/SelEdit.h"
#include "prefs/ui/Options.h"
#include "report/ui/Report.h"
#include "widgets/ui/About1.h"
#include "widgets/ui/ErrorBox.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QEnterEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

using namespace vorrel;
using namespace vorrel::test;

class TestMainForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsCreatedOnce();
    void menuItems_data();
    void menuItems();
    void shortcutsAreTheirOwn();
    void toolButtons_data();
    void toolButtons();
    void templateColumnTakesSpareWidth();
    void stateBeforeStartUp();
    void stateAfterStartUp();
    void documentCommandsSwitch();
    void optsIni_data();
    void optsIni();
    void welcomeWindowFollowsDlg_data();
    void welcomeWindowFollowsDlg();
    void viewPageFollowsTabs();
    void viewPageMenuShowsPage();
    void statusLineShowsLongHint();
    void lastDatOnlyWithDocument_data();
    void lastDatOnlyWithDocument();
    void errorBoxText_data();
    void errorBoxText();
    void commandErrorReachesErrorBox();
};

void TestMainForm::windowsCreatedOnce()
{
    ProgramDir dir;
    TMainForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("AIML Vorrel 3.1"));
    const struct
    {
        QWidget *window;
        const char *caption;
    } windows[] = {
        { static_cast<QWidget *>(form.frmNew), "New Document" },
        { static_cast<QWidget *>(form.frmOptions), "Options" },
        { static_cast<QWidget *>(form.AboutBox), "About" },
        { static_cast<QWidget *>(form.frmReport), "General Report" },
        { static_cast<QWidget *>(form.frmSelEdit), "Category" },
        { static_cast<QWidget *>(form.StartUp), "Welcome to Cendaro AIML Vorrel 3.0" },
        { static_cast<QWidget *>(form.pBar), "Progress" },
    };
    for (const auto &w : windows) {
        QVERIFY(w.window);
        QCOMPARE(w.window->windowTitle(), QLatin1String(w.caption));
        QVERIFY(w.window->isWindow());
        QVERIFY(!w.window->isVisible());
    }
}

void TestMainForm::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("menu");

    auto row = [](const char *name, const char *caption, const char *shortcut, const char *hint, const char *menu) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption)
                            << QString::fromLatin1(shortcut) << QString::fromLatin1(hint) << QString::fromLatin1(menu);
    };
    row("FileNewItem", "&New", "Ctrl+N", "Create a new file", "mnuFile");
    row("FileOpenItem", "&Open...", "Ctrl+O", "Open an existing file", "mnuFile");
    row("FileSaveItem", "&Save", "Ctrl+S", "Save current file", "mnuFile");
    row("FileSaveAsItem", "Save &As...", "Ctrl+Shift+S", "Save current file under a new name", "mnuFile");
    row("mnuReopen", "R&eopen", "", "", "mnuFile");
    row("mnuClose", "C&lose", "Ctrl+W", "", "mnuFile");
    row("FilePrintItem", "&Print", "Ctrl+P", "Print current file", "mnuFile");
    row("FilePrintSetupItem", "P&rint Setup...", "", "Change printer setup", "mnuFile");
    row("FileExitItem", "E&xit", "Ctrl+Q", "Exit this application", "mnuFile");
    row("mnuCut", "Cu&t", "", "", "mnuEdit");
    row("EditCopyItem", "&Copy", "", "Copy selected item to clipboard", "mnuEdit");
    row("mnuPaste", "&Paste", "", "", "mnuEdit");
    row("EditUndoItem", "&Undo", "Ctrl+Z", "Undo the last change to the categories, or to the text on the Preview page",
        "mnuEdit");
    row("EditRedoItem", "&Redo", "Ctrl+Y", "Redo the last change undone", "mnuEdit");
    row("EditFindItem", "&Find...", "Ctrl+F", "Find text in the preview, or in the table on the Categories page",
        "mnuEdit");
    row("EditFindNextItem", "Find &Next", "F3", "Find the next occurrence of the text", "mnuEdit");
    row("EditFindPreviousItem", "Find Pre&vious", "Shift+F3", "Find the previous occurrence of the text", "mnuEdit");
    row("EditReplaceItem", "R&eplace...", "Ctrl+H", "Replace text in the preview", "mnuEdit");
    row("EditGoToLineItem", "&Go to Line...", "Ctrl+G", "Go to a line of the preview", "mnuEdit");
    row("mnuCreateNew", "Create &New", "F1", "Create a new category", "mnuCategory");
    row("mnuSelEdit", "&Edit Selected", "F2", "Edit the selected category", "mnuCategory");
    row("mnuSelDelete", "&Delete Selected", "Ctrl+Del", "Delete the selected category", "mnuCategory");
    row("mnuCategories", "&Categories", "", "Go to the categories page", "mnuViewPage");
    row("mnuPreview", "&Preview", "", "Go to the Preview page", "mnuViewPage");
    row("mnuDorvane", "&Vessra", "", "Go to Vessra page", "mnuViewPage");
    row("mnuRefresh", "&Refresh Document", "F5", "Refresh the Preview page", "mnuAIML");
    row("mnuReport", "&General Report", "", "Get a general report of the current AIML file", "mnuAIML");
    row("mnuOptions", "&Options", "", "View and edit AIML Vorrel preferences", "mnuAIML");
    row("HelpContentsItem", "Help &Topics", "", "Display the help contents screen", "mnuHelp");
    row("mnuTags", "AIML Ta&gs", "", "Launch the AIML tags file as provided by the ALICE AI Foundation", "mnuHelp");
    row("mnuTutorial", "AIML T&utorial", "", "Launch the AIML tutorial distributed with AIML Vorrel", "mnuHelp");
    row("HelpAboutItem", "&About...", "", "Show program information", "mnuHelp");
}

void TestMainForm::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(QString, hint);
    QFETCH(QString, menu);
    ProgramDir dir;
    TMainForm form;
    auto *action = form.findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), QKeySequence(shortcut));
    QCOMPARE(action->statusTip(), hint);
    auto *owner = form.findChild<QMenu *>(menu);
    QVERIFY(owner);
    QVERIFY(owner->actions().contains(action));
}

void TestMainForm::shortcutsAreTheirOwn()
{
    ProgramDir dir;
    TMainForm form;
    QCOMPARE(form.EditRedoItem->shortcuts(),
        (QList<QKeySequence> { QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z")) }));
    // The category and document commands keep their keys.
    const QStringList reserved = { "F1", "F2", "F5", "F7", "Ctrl+Del" };
    QMap<QKeySequence, QString> owner;
    for (const QAction *a : form.mnuEdit->actions()) {
        for (const QKeySequence &key : a->shortcuts())
            QVERIFY2(!reserved.contains(key.toString()), qPrintable(a->objectName()));
    }
    QList<QAction *> items = form.menuBar()->actions();
    while (!items.isEmpty()) {
        const QAction *a = items.takeFirst();
        if (a->menu())
            items += a->menu()->actions();
        for (const QKeySequence &key : a->shortcuts()) {
            QVERIFY2(!owner.contains(key), qPrintable(key.toString() + " " + owner.value(key) + " " + a->objectName()));
            owner.insert(key, a->objectName());
        }
    }
}

void TestMainForm::toolButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("tip");
    QTest::newRow("new") << "SpeedButton1" << 8 << "New";
    QTest::newRow("open") << "SpeedButton2" << 32 << "Open";
    QTest::newRow("save") << "SpeedButton3" << 56 << "Save";
    QTest::newRow("print") << "SpeedButton4" << 84 << "Print";
    QTest::newRow("copy") << "SpeedButton7" << 112 << "Copy";
    QTest::newRow("help") << "SpeedButton9" << 140 << "Help Contents";
    QTest::newRow("about") << "SpeedButton10" << 164 << "About";
}

void TestMainForm::toolButtons()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(QString, tip);
    ProgramDir dir;
    TMainForm form;
    auto *button = form.findChild<QToolButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->geometry(), QRect(left, 4, 25, 25));
    QCOMPARE(button->toolTip(), tip);
    // The button serves its menu item's action, which keeps its long hint; the button has none.
    const QObjectList users = button->defaultAction()->associatedObjects();
    QVERIFY(std::any_of(users.cbegin(), users.cend(), [](QObject *user) { return qobject_cast<QMenu *>(user); }));
    QVERIFY(!button->defaultAction()->statusTip().isEmpty());
    form.StatusLine->showMessage(QStringLiteral("before"));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(button, &enter);
    QVERIFY(form.StatusLine->currentMessage().isEmpty());
    // A distinct greyed glyph for the disabled state.
    const QImage normal = button->icon().pixmap(18, 18, QIcon::Normal).toImage();
    const QImage disabled = button->icon().pixmap(18, 18, QIcon::Disabled).toImage();
    QVERIFY(!normal.isNull());
    QVERIFY(normal != disabled);
}

void TestMainForm::templateColumnTakesSpareWidth()
{
    ProgramDir dir(kQuietOpts);
    auto form = startedMainForm();
    QHeaderView *header = form->sg1->horizontalHeader();
    form->tabs->setCurrentIndex(0);
    form->show();
    auto filled = [&] { return header->length() == form->sg1->viewport()->width(); };

    // The template column takes the rest, the others keep theirs; a dragged column keeps its width.
    form->resize(1600, 700);
    QTRY_VERIFY(filled());
    QVERIFY(header->sectionSize(3) > 250);
    header->resizeSection(1, 400);
    QVERIFY(filled());
    QCOMPARE(QList<int>({ header->sectionSize(0), header->sectionSize(2), header->sectionSize(4) }),
        QList<int>({ 65, 250, 120 }));
    // The template column dragged keeps its width too, in any window.
    header->resizeSection(3, 300);
    form->resize(1800, 700);
    QTRY_VERIFY(form->sg1->viewport()->width() > 1700);
    QCOMPARE(header->sectionSize(3), 300);
}

void TestMainForm::stateBeforeStartUp()
{
    ProgramDir dir;
    TMainForm form;
    for (int c = 0; c < 4; ++c)
        QVERIFY(form.table()->cell(c, 0).isEmpty());
    QCOMPARE(form.table()->gridRowCount(), 2);
    QVERIFY(!form.document()->DocChanged());
    QVERIFY(!form.document()->DocHasFile());
    const auto actions = form.findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(actions.size() >= 24);
    for (QAction *a : actions) {
        if (!a->isSeparator())
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    }
    QVERIFY(form.tabs->isEnabled());
    // The notebook opens on the preview while the menu marks the categories page.
    QCOMPARE(form.tabs->currentIndex(), 1);
    QVERIFY(form.mnuCategories->isChecked());
}

void TestMainForm::stateAfterStartUp()
{
    ProgramDir dir(kQuietOpts);
    auto form = startedMainForm();
    CategoryTable *t = form->table();
    QCOMPARE(t->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Categories"));
    QCOMPARE(t->headerData(1, Qt::Horizontal).toString(), QStringLiteral("<pattern>..</pattern>"));
    QCOMPARE(t->headerData(2, Qt::Horizontal).toString(), QStringLiteral("<that>..</that>"));
    QCOMPARE(t->headerData(3, Qt::Horizontal).toString(), QStringLiteral("<template>..</template>"));
    QCOMPARE(t->headerData(4, Qt::Horizontal).toString(), QStringLiteral("<topic>"));
    QCOMPARE(t->gridRowCount(), 2);
    QCOMPARE(t->cell(0, 1), QStringLiteral("1"));
    for (int c = 1; c < 5; ++c)
        QVERIFY(t->cell(c, 1).isEmpty());
    const int widths[] = { 65, 250, 250, 250, 120 };
    for (int c = 0; c < 5; ++c)
        QCOMPARE(form->sg1->columnWidth(c), widths[c]);
    QCOMPARE(form->sg1->verticalHeader()->defaultSectionSize(), 40);
    QCOMPARE(form->path->text(), QStringLiteral("(None)"));
    QVERIFY(!form->tabs->isEnabled());
    QVERIFY(!form->Timer1->isActive());

    const QStringList alwaysOn
        = { QStringLiteral("FileNewItem"), QStringLiteral("FileOpenItem"), QStringLiteral("FileExitItem"),
              QStringLiteral("mnuCut"), QStringLiteral("mnuPaste"), QStringLiteral("HelpContentsItem"),
              QStringLiteral("mnuTags"), QStringLiteral("mnuTutorial"), QStringLiteral("HelpAboutItem") };
    const auto actions = form->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(actions.size() >= 24);
    for (QAction *a : actions) {
        if (a->isSeparator() || a->objectName().isEmpty() || a->menu())
            continue;
        QCOMPARE(a->isEnabled(), alwaysOn.contains(a->objectName()));
    }
    QVERIFY(!form->mnuAIML->menuAction()->isEnabled());
    // A button is on as its menu item is.
    for (QToolButton *b : { form->SpeedButton1, form->SpeedButton2, form->SpeedButton9, form->SpeedButton10 })
        QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    for (QToolButton *b : { form->SpeedButton3, form->SpeedButton4, form->SpeedButton7 })
        QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
}

void TestMainForm::documentCommandsSwitch()
{
    ProgramDir dir(kQuietOpts);
    auto form = startedMainForm();
    form->iButMenu(true);
    QVERIFY(form->tabs->isEnabled());
    QVERIFY(form->mnuSelDelete->isEnabled());
    QVERIFY(form->mnuAIML->menuAction()->isEnabled());
    QVERIFY(form->SpeedButton3->isEnabled());
    form->iButMenu(false);
    // A shortcut of an item in a disabled menu must do nothing: the items themselves go off.
    QVERIFY(!form->mnuCreateNew->isEnabled());
    QVERIFY(!form->mnuRefresh->isEnabled());
    QVERIFY(form->FileNewItem->isEnabled());
}

void TestMainForm::optsIni_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<QString>("fontSize");
    QTest::addColumn<int>("scc");
    QTest::addColumn<bool>("comments");
    QTest::addColumn<QString>("initDir");
    QTest::addColumn<bool>("dlg");
    QTest::addColumn<bool>("ucase");

    const QString lucida = QStringLiteral("Lucida Console");
    QTest::newRow("missing file") << QByteArray() << lucida << "10" << 0 << true << "/" << true << true;
    QTest::newRow("Dlg=0") << QByteArray("[Preferences]\r\nDlg=0\r\n") << lucida << "10" << 0 << true << "/" << false
                           << true;
    QTest::newRow("Dlg=yes is no number")
        << QByteArray("[Preferences]\r\nDlg=yes\r\n") << lucida << "10" << 0 << true << "/" << true << true;
    QTest::newRow("Dlg=2 is on") << QByteArray("[Preferences]\r\nDlg=2\r\nUCase=0\r\n") << lucida << "10" << 0 << true
                                 << "/" << true << false;
    QTest::newRow("hex with $") << QByteArray("[Font]\r\nSize=$10\r\n") << lucida << "16" << 0 << true << "/" << true
                                << true;
    QTest::newRow("hex with 0x") << QByteArray("[Font]\r\nSize=0x1A\r\n") << lucida << "26" << 0 << true << "/" << true
                                 << true;
    QTest::newRow("leading blank") << QByteArray("[Font]\r\nSize= 12\r\n") << lucida << "12" << 0 << true << "/" << true
                                   << true;
    QTest::newRow("empty value") << QByteArray("[Preferences]\r\nInitDir=\r\nComments=0\r\n") << lucida << "10" << 0
                                 << false << "" << true << true;
    QTest::newRow("other letter case") << QByteArray("[FONT]\r\nname=Courier New\r\n[preferences]\r\nscc=1\r\n"
                                                     "INITDIR=/tmp\r\ndlg=0\r\nUcase=0\r\n")
                                       << "Courier New"
                                       << "10" << 1 << true << "/tmp" << false << false;
    QTest::newRow("LF line ends") << QByteArray("[Preferences]\nSCC=7\nDlg=0\n") << lucida << "10" << 1 << true << "/"
                                  << false << true;
    QTest::newRow("SCC below range") << QByteArray("[Preferences]\r\nSCC=-5\r\n") << lucida << "10" << -1 << true << "/"
                                     << true << true;
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 256);
    QTest::newRow("random bytes") << noise << lucida << "10" << 0 << true << "/" << true << true;
}

void TestMainForm::optsIni()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, fontName);
    QFETCH(QString, fontSize);
    QFETCH(int, scc);
    QFETCH(bool, comments);
    QFETCH(QString, initDir);
    QFETCH(bool, dlg);
    QFETCH(bool, ucase);

    ProgramDir dir(ini);
    auto form = startedMainForm();
    TfrmOptions *o = form->frmOptions;
    QCOMPARE(o->fontname->text(), fontName);
    QCOMPARE(o->fontsize->text(), fontSize);
    QCOMPARE(o->codeCompIndex(), scc);
    QCOMPARE(o->comments->isChecked(), comments);
    QCOMPARE(o->txtDir->text(), initDir);
    // The root, the stored default, stands for no choice made: the dialogs start at home.
    const QString start = initDir == QLatin1String("/") ? QDir::homePath() : initDir;
    if (!start.isEmpty()) {
        QCOMPARE(form->od->directory().absolutePath(), start);
        QCOMPARE(form->sd->directory().absolutePath(), start);
    }
    QCOMPARE(o->dialog->isChecked(), dlg);
    QCOMPARE(o->upcase->isChecked(), ucase);
    QCOMPARE(form->StartUp->isVisible(), dlg);
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("opts.ini"))) || !ini.isNull());
}

void TestMainForm::welcomeWindowFollowsDlg_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("shown");
    QTest::newRow("no settings file") << QByteArray() << true;
    QTest::newRow("only Dlg=0") << QByteArray("[Preferences]\r\nDlg=0\r\n") << false;
    QTest::newRow("Dlg=1") << QByteArray("[Preferences]\r\nDlg=1\r\n") << true;
}

void TestMainForm::welcomeWindowFollowsDlg()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, shown);
    ProgramDir dir(ini);
    TMainForm form;
    form.show();
    QVERIFY(!form.StartUp->isVisible());
    // The start-up routine runs from the timer once the loop is going, and only once.
    QTRY_VERIFY(!form.path->text().isEmpty());
    QCOMPARE(form.StartUp->isVisible(), shown);
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("opts.ini"))) || !ini.isNull());
}

void TestMainForm::viewPageFollowsTabs()
{
    ProgramDir dir(kQuietOpts);
    auto form = startedMainForm();
    form->iButMenu(true);
    form->tabs->setCurrentIndex(2);
    QVERIFY(form->mnuDorvane->isChecked());
    QVERIFY(!form->mnuCategories->isChecked());
    form->tabs->setCurrentIndex(0);
    QVERIFY(form->mnuCategories->isChecked());
    QVERIFY(!form->mnuDorvane->isChecked());
    form->tabs->setCurrentIndex(1);
    QVERIFY(form->mnuPreview->isChecked());
}

void TestMainForm::viewPageMenuShowsPage()
{
    ProgramDir dir(kQuietOpts);
    auto form = startedMainForm();
    form->iButMenu(true);
    form->mnuDorvane->trigger();
    QCOMPARE(form->tabs->tabText(form->tabs->currentIndex()), QStringLiteral("Vessra"));
    QVERIFY(form->mnuDorvane->isChecked());
    form->mnuCategories->trigger();
    QCOMPARE(form->tabs->currentIndex(), 0);
    form->mnuPreview->trigger();
    QCOMPARE(form->tabs->tabText(form->tabs->currentIndex()), QStringLiteral("Preview"));
    QVERIFY(form->mnuPreview->isChecked());
    QVERIFY(!form->mnuCategories->isChecked());
}

void TestMainForm::statusLineShowsLongHint()
{
    ProgramDir dir;
    TMainForm form;
    form.show();
    form.FileOpenItem->showStatusText();
    QCOMPARE(form.StatusLine->currentMessage(), QStringLiteral("Open an existing file"));
    // An item without a hint empties the line.
    form.mnuClose->showStatusText();
    QVERIFY(form.StatusLine->currentMessage().isEmpty());
}

void TestMainForm::lastDatOnlyWithDocument_data()
{
    QTest::addColumn<QString>("pathLine");
    QTest::addColumn<bool>("written");
    QTest::newRow("no document") << "(None)" << false;
    QTest::newRow("new document title") << "NewDocument" << true;
    QTest::newRow("file path") << "/home/me/bots/my bot.aiml" << true;
    QTest::newRow("none in other case") << "(none)" << true;
}

void TestMainForm::lastDatOnlyWithDocument()
{
    QFETCH(QString, pathLine);
    QFETCH(bool, written);
    ProgramDir dir(kQuietOpts);
    dir.write(QStringLiteral("last.dat"), "older\r\n");
    {
        auto form = startedMainForm();
        if (pathLine == QLatin1String("(None)"))
            form->document()->setClosed();
        else
            form->document()->setCreated(pathLine, TextEncoding::Utf8);
    }
    QCOMPARE(dir.read(QStringLiteral("last.dat")), written ? pathLine.toUtf8() + "\r\n" : QByteArray("older\r\n"));
}

void TestMainForm::errorBoxText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Unable to write to /x/opts.ini"
                            << "Unable to write to /x/opts.ini.";
    QTest::newRow("digit") << "List index out of bounds (-1"
                           << "List index out of bounds (-1.";
    QTest::newRow("bracket sorts before full stop") << "List index out of bounds (-1)"
                                                    << "List index out of bounds (-1)";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("exclamation") << "Stop!"
                                 << "Stop!";
    QTest::newRow("quote") << "'x' is not a valid integer value"
                           << "'x' is not a valid integer value.";
    QTest::newRow("slash sorts after full stop") << "/tmp/"
                                                 << "/tmp/.";
    QTest::newRow("empty") << ""
                           << "";
}

void TestMainForm::errorBoxText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(vorrel::errorBoxText(message), shown);
}

void TestMainForm::commandErrorReachesErrorBox()
{
    ProgramDir dir;
    TMainForm form;
    QAction probe(&form);
    bool secondStepRan = false;
    int firstStep = 0;
    QObject::connect(&probe, &QAction::triggered, &form, guarded(&form, [&] {
        ++firstStep;
        throw VorrelError(QStringLiteral("Unable to write to /nowhere/opts.ini"));
        secondStepRan = true;
    }));
    QString text;
    QString caption;
    expectMessageBox(&text, &caption);
    probe.trigger();
    QCOMPARE(text, QStringLiteral("Unable to write to /nowhere/opts.ini."));
    QCOMPARE(caption, QStringLiteral("AIML Vorrel 3.0"));
    QCOMPARE(firstStep, 1);
    QVERIFY(!secondStepRan);
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
