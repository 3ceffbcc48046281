// The welcome window inside a real main window, offscreen: layout, hover colours, the six
// links, and when the start-up routine shows it.

#include "MainFormFixture.h"
#include "ShellDouble.h"
#include "TestFiles.h"

#include "app/Main.h"
#include "app/Splash.h"
#include "base/ProgramFiles.h"
#include "base/Shell.h"
#include "document/Document.h"
#include "document/PreviewEditor.h"
#include "prefs/Options.h"
#include "widgets/ErrorBox.h"
#include "widgets/Gradient.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace vorrel;
using namespace vorrel::test;

namespace {

// Rejects every modal window that opens while it lives, noting what it was and whether the
// welcome window was still up then.
class ModalWatcher final
{
public:
    struct Seen
    {
        QString objectName;
        QString title;
        QString text;
        QMessageBox::Icon icon;
        bool welcomeShown;
    };

    explicit ModalWatcher(QWidget *welcome) : m_script({})
    {
        m_script.observe = [this, welcome](QWidget *) {
            const MetWindow &met = m_script.met.back();
            seen.append({ met.objectName, met.title, met.text, met.icon, welcome->isVisible() });
        };
    }

    QList<Seen> seen;

private:
    ModalScript m_script;
};

QColor linkColor(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);

} // namespace

class TestSplash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void layout();
    void centredWithoutCloseBox();
    void hoverColours();
    void closeLink();
    void escapeCloses();
    void linksFromTheKeyboard();
    void newLinkClosesThenRunsNew();
    void openLinkClosesThenRunsOpen();
    void helpLinkClosesThenOpensHelp();
    void tutorialLink();
    void tutorialLinkFailure();
    void openLastWithoutLastDat();
    void openLastWithUnreadableLastDat();
    void openLastWithATitle();
    void openLastAsksBeforeReplacing();
    void closedByAnyOpening();
    void openLastEnablesTheCommands();
    void shownOnlyWhenTheSettingAsks();
    void neverShownAgain();

private:
    void showWelcome();

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<TMainForm> m_main;
    TStartUp *m_welcome = nullptr;
    // Records every shell request, noting whether the welcome window was still up.
    ShellDouble m_shell;
};

void TestSplash::init()
{
    m_dir = std::make_unique<ProgramDir>();
    QVERIFY(m_dir->isValid());
    m_shell = ShellDouble();
    Shell::setInstance(&m_shell);
    m_main = std::make_unique<TMainForm>();
    // The tests run the start-up routine themselves when they need it.
    m_main->Timer1->stop();
    m_welcome = m_main->findChild<TStartUp *>(QStringLiteral("StartUp"));
    QVERIFY(m_welcome);
    QCOMPARE(m_welcome, m_main->StartUp);
    m_shell.observed = m_welcome;
}

void TestSplash::cleanup()
{
    // Nothing to record in "last.dat" on the way out, which a test may have made unwritable.
    if (m_main)
        m_main->document()->setClosed();
    m_main.reset();
    Shell::setInstance(nullptr);
    m_dir.reset();
}

void TestSplash::showWelcome()
{
    m_welcome->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_welcome));
}

void TestSplash::layout()
{
    QCOMPARE(m_welcome->windowTitle(), QStringLiteral("Welcome to Cendaro AIML Vorrel 3.0"));
    QVERIFY(!m_welcome->isVisible());
    QVERIFY(!m_welcome->isModal());
    QCOMPARE(m_welcome->size(), QSize(433, 249));
    QCOMPARE(m_welcome->minimumSize(), m_welcome->maximumSize());

    TGradient *g = m_welcome->Gradient1;
    QCOMPARE(g->geometry(), QRect(0, 0, 433, 249));
    QCOMPARE(g->ColorBegin(), rgbColor(128, 128, 0));
    QCOMPARE(g->ColorEnd(), rgbColor(0, 0, 128));
    QCOMPARE(int(g->Rotation()), 5);
    QCOMPARE(int(g->Shift()), -10);
    QCOMPARE(g->Style(), gsRadialC);
    QCOMPARE(g->Reverse(), false);
    // Beneath everything else.
    QCOMPARE(m_welcome->children().indexOf(g), 0);
    // Olive at the corners (entry 255), (13, 13, 115) at entry 242.
    QCOMPARE(g->Pattern().pixel(0, 0), qRgb(128, 128, 0));

    struct Expected
    {
        QLabel *label;
        const char *caption;
        QPoint at;
        QLabel *image;
        QPoint imageAt;
    };
    const Expected links[] = {
        { m_welcome->NewFile, "New AIML Document", { 68, 24 }, m_welcome->Image1, { 36, 24 } },
        { m_welcome->OpenLastFile, "Open Last Edited AIML Document", { 68, 52 }, m_welcome->Image2, { 36, 52 } },
        { m_welcome->OpenFile, "Open Existing AIML Document...", { 68, 80 }, m_welcome->Image3, { 36, 80 } },
        { m_welcome->Help, "Help On AIML Vorrel 3.0", { 68, 108 }, m_welcome->Image4, { 36, 108 } },
        { m_welcome->Tutorial, "Tutorial on AIML 1.0", { 68, 136 }, m_welcome->Image5, { 36, 136 } },
        { m_welcome->CloseWin, "Close", { 40, 224 }, m_welcome->Image6, { 12, 224 } },
    };
    for (const Expected &e : links) {
        QCOMPARE(e.label->text(), QLatin1String(e.caption));
        QCOMPARE(e.label->pos(), e.at);
        QCOMPARE(linkColor(e.label), kRed);
        QCOMPARE(e.label->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(e.label->font().pointSize(), 10);
        QVERIFY(!e.label->autoFillBackground());
        QCOMPARE(e.image->geometry(), QRect(e.imageAt, QSize(29, 29)));
        QCOMPARE(e.image->pixmap().size(), QSize(29, 29));
    }
}

void TestSplash::centredWithoutCloseBox()
{
    const Qt::WindowFlags flags = m_welcome->windowFlags();
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QVERIFY(!(flags & Qt::WindowMinMaxButtonsHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
    showWelcome();
    // Centred on the screen's free area, like every other dialog.
    QCOMPARE(m_welcome->frameGeometry().center(), m_welcome->screen()->availableGeometry().center());
}

void TestSplash::hoverColours()
{
    showWelcome();
    const QFont before = m_welcome->NewFile->font();
    QTest::mouseMove(m_welcome->NewFile, QPoint(5, 5));
    QTRY_COMPARE(linkColor(m_welcome->NewFile), kLime);
    QCOMPARE(linkColor(m_welcome->OpenLastFile), kRed);
    QCOMPARE(m_welcome->NewFile->font(), before);

    // No reset on leaving: onto another link, onto an icon, out of the window.
    QTest::mouseMove(m_welcome->OpenLastFile, QPoint(5, 5));
    QTRY_COMPARE(linkColor(m_welcome->OpenLastFile), kLime);
    QTest::mouseMove(m_welcome->Image1, QPoint(14, 14));
    QTest::mouseMove(m_main.get(), QPoint(5, 5));
    QTest::qWait(20);
    QCOMPARE(linkColor(m_welcome->NewFile), kLime);
    QCOMPARE(linkColor(m_welcome->OpenLastFile), kLime);

    // Over the background, every link is red again.
    QTest::mouseMove(m_welcome, QPoint(380, 200));
    QTRY_COMPARE(linkColor(m_welcome->NewFile), kRed);
    QCOMPARE(linkColor(m_welcome->OpenLastFile), kRed);
    QCOMPARE(linkColor(m_welcome->CloseWin), kRed);
}

void TestSplash::closeLink()
{
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::mouseClick(m_welcome->CloseWin, Qt::LeftButton);
    QVERIFY(!m_welcome->isVisible());
    QVERIFY(watcher.seen.isEmpty());
    QVERIFY(m_shell.calls.isEmpty());
}

void TestSplash::escapeCloses()
{
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::keyClick(m_welcome, Qt::Key_Escape);
    QVERIFY(!m_welcome->isVisible());
    QVERIFY(watcher.seen.isEmpty());
}

void TestSplash::linksFromTheKeyboard()
{
    showWelcome();
    QApplication::setActiveWindow(m_welcome);
    QVERIFY(QTest::qWaitForWindowActive(m_welcome));
    m_welcome->NewFile->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), m_welcome->NewFile);
    // The one with focus shows it; the others do not.
    QVERIFY(m_welcome->NewFile->font().underline());
    QVERIFY(!m_welcome->CloseWin->font().underline());
    for (QLabel *next :
        { m_welcome->OpenLastFile, m_welcome->OpenFile, m_welcome->Help, m_welcome->Tutorial, m_welcome->CloseWin }) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QVERIFY(!m_welcome->NewFile->font().underline());
    QVERIFY(m_welcome->CloseWin->font().underline());
    // Space runs the link with focus as a click would: Close closes the window.
    QTest::keyClick(m_welcome->CloseWin, Qt::Key_Space);
    QVERIFY(!m_welcome->isVisible());

    // Enter on the tutorial closes the window, then hands the document to the shell.
    showWelcome();
    QTest::keyClick(m_welcome->Tutorial, Qt::Key_Return);
    QVERIFY(!m_welcome->isVisible());
    QCOMPARE(m_shell.calls.size(), 1);
}

void TestSplash::newLinkClosesThenRunsNew()
{
    // With unsaved changes New asks the save question first; Cancel there ends it.
    m_main->document()->setDocChanged(true);
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::mouseClick(m_welcome->NewFile, Qt::LeftButton);
    QVERIFY(!m_welcome->isVisible());
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(watcher.seen[0].title, QStringLiteral("Confirm"));
    QVERIFY(!watcher.seen[0].welcomeShown);
}

void TestSplash::openLinkClosesThenRunsOpen()
{
    m_main->document()->setDocChanged(true);
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::mouseClick(m_welcome->OpenFile, Qt::LeftButton);
    QVERIFY(!m_welcome->isVisible());
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(watcher.seen[0].title, QStringLiteral("Confirm"));
    QVERIFY(!watcher.seen[0].welcomeShown);
}

void TestSplash::helpLinkClosesThenOpensHelp()
{
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::mouseClick(m_welcome->Help, Qt::LeftButton);
    QVERIFY(!m_welcome->isVisible());
    QCOMPARE(m_shell.calls.size(), 1);
    QCOMPARE(m_shell.calls[0].target, programFile(QStringLiteral("help.html")));
    QVERIFY(!m_shell.calls[0].observedVisible);
    QVERIFY(watcher.seen.isEmpty());
}

void TestSplash::tutorialLink()
{
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::mouseClick(m_welcome->Tutorial, Qt::LeftButton);
    QVERIFY(!m_welcome->isVisible());
    QCOMPARE(m_shell.calls.size(), 1);
    const ShellDouble::Call &call = m_shell.calls[0];
    QCOMPARE(call.target, programFile(QStringLiteral("AIML Tutorial 2.rtf")));
    QCOMPARE(call.owner, m_main.get());
    QVERIFY(call.verb.isEmpty());
    QVERIFY(call.mode == ShowMode::Plain);
    QVERIFY(!call.observedVisible);
    QVERIFY(watcher.seen.isEmpty());
}

void TestSplash::tutorialLinkFailure()
{
    m_shell.status = kShellFileNotFound;
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::mouseClick(m_welcome->Tutorial, Qt::LeftButton);
    QVERIFY(!m_welcome->isVisible());
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(watcher.seen[0].title, QStringLiteral("Error"));
    QCOMPARE(watcher.seen[0].text, QStringLiteral("Could not execute the AIML Tutorial file"));
    QCOMPARE(watcher.seen[0].icon, QMessageBox::Warning);
    QVERIFY(!watcher.seen[0].welcomeShown);
}

void TestSplash::openLastWithoutLastDat()
{
    m_main->document()->setClosed();
    // The error reaches the application's error box and the window stays.
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::mouseClick(m_welcome->OpenLastFile, Qt::LeftButton);
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(watcher.seen[0].objectName, QStringLiteral("ErrorBox"));
    QCOMPARE(watcher.seen[0].title, QStringLiteral("AIML Vorrel 3.0"));
    QCOMPARE(watcher.seen[0].text,
        QStringLiteral("Cannot open file \"%1\". No such file or directory.")
            .arg(programFile(QStringLiteral("last.dat"))));
    QVERIFY(m_welcome->isVisible());
    QVERIFY(!m_main->document()->isOpen());
}

void TestSplash::openLastWithUnreadableLastDat()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("last.dat")));
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::mouseClick(m_welcome->OpenLastFile, Qt::LeftButton);
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(watcher.seen[0].objectName, QStringLiteral("ErrorBox"));
    QVERIFY(watcher.seen[0].text.startsWith(QStringLiteral("Cannot ")));
    QVERIFY(m_welcome->isVisible());
}

void TestSplash::openLastWithATitle()
{
    QVERIFY(writeFile(programFile(QStringLiteral("last.dat")), "Untitled Bot\r\n"));
    m_main->document()->setClosed();
    m_main->iButMenu(false);
    showWelcome();
    ModalWatcher watcher(m_welcome);
    QTest::mouseClick(m_welcome->OpenLastFile, Qt::LeftButton);
    QTest::qWait(20);
    QVERIFY(watcher.seen.isEmpty());
    QVERIFY(m_welcome->isVisible());
    QVERIFY(!m_main->document()->isOpen());
    QVERIFY(!m_main->FileSaveItem->isEnabled());
    QVERIFY(!m_main->tabs->isEnabled());
}

void TestSplash::openLastAsksBeforeReplacing()
{
    const QString last = m_dir->file(QStringLiteral("last bot.aiml"));
    const QByteArray text = "<aiml>\r\n<category>\r\n<pattern>HI</pattern>\r\n<template>Hello</template>\r\n"
                            "</category>\r\n</aiml>\r\n";
    QVERIFY(writeFile(last, text));
    // Only the first line counts.
    QVERIFY(writeFile(programFile(QStringLiteral("last.dat")), last.toUtf8() + "\r\nsecond line\r\n"));

    // Another document is open, with unsaved changes: Cancel keeps it and the window.
    const QString other = m_dir->file(QStringLiteral("other.aiml"));
    m_main->document()->setCreated(other, TextEncoding::Utf8);
    setPreviewBytes(*m_main, "<aiml>\r\n</aiml>\r\n");
    m_main->document()->setDocChanged(true);
    showWelcome();
    {
        ModalWatcher watcher(m_welcome);
        QTest::mouseClick(m_welcome->OpenLastFile, Qt::LeftButton);
        QCOMPARE(watcher.seen.size(), 1);
        QCOMPARE(watcher.seen[0].objectName, QStringLiteral("Confirm"));
        QVERIFY(watcher.seen[0].welcomeShown);
    }
    QCOMPARE(m_main->path->text(), other);
    QVERIFY(m_welcome->isVisible());

    ModalScript script({ answer(QMessageBox::No) });
    QTest::mouseClick(m_welcome->OpenLastFile, Qt::LeftButton);
    QCOMPARE(script.seen(), QStringList { QStringLiteral("Confirm") });
    QCOMPARE(m_main->path->text(), last);
    QCOMPARE(previewBytes(*m_main), text);
    QVERIFY(m_main->document()->DocHasFile());
    QVERIFY(!m_main->document()->DocChanged());
    QVERIFY(!m_welcome->isVisible());
}

void TestSplash::closedByAnyOpening()
{
    const QString file = m_dir->file(QStringLiteral("bot.aiml"));
    QVERIFY(writeFile(file, "<aiml>\r\n</aiml>\r\n"));
    QVERIFY(writeFile(programFile(QStringLiteral("template.dat")), "<aiml>\r\n</aiml>\r\n"));
    // Opened the way a drop or a file argument opens it, then created by File > New.
    showWelcome();
    m_main->openDocument(file);
    QVERIFY(!m_welcome->isVisible());
    showWelcome();
    ModalScript script({ press("cmdOK") });
    m_main->FileNewItem->trigger();
    QCOMPARE(m_main->path->text(), QStringLiteral("NewDocument"));
    QVERIFY(!m_welcome->isVisible());
}

void TestSplash::openLastEnablesTheCommands()
{
    const QString last = m_dir->file(QStringLiteral("bot.aiml"));
    QVERIFY(writeFile(last, "<aiml>\r\n</aiml>\r\n"));
    QVERIFY(writeFile(programFile(QStringLiteral("last.dat")), last.toUtf8() + "\r\n"));
    m_main->iButMenu(false);
    QVERIFY(!m_main->tabs->isEnabled());
    m_welcome->OpenLastFileClick();
    QVERIFY(m_main->tabs->isEnabled());
    QVERIFY(m_main->FileSaveItem->isEnabled());
    QVERIFY(m_main->mnuClose->isEnabled());
    QCOMPARE(m_main->path->text(), last);
}

void TestSplash::shownOnlyWhenTheSettingAsks()
{
    QVERIFY(writeFile(programFile(QStringLiteral("opts.ini")), kQuietOpts));
    m_main->Timer1Timer();
    QVERIFY(!m_welcome->isVisible());
    QVERIFY(!m_main->frmOptions->dialog->isChecked());
}

void TestSplash::neverShownAgain()
{
    // No settings file: the welcome window is shown.
    m_main->Timer1->start();
    QTRY_VERIFY(m_welcome->isVisible());
    QVERIFY(!m_main->Timer1->isActive());
    QTest::mouseClick(m_welcome->CloseWin, Qt::LeftButton);
    QVERIFY(!m_welcome->isVisible());
    QTest::qWait(700);
    QVERIFY(!m_welcome->isVisible());
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
