// The help commands: documents from the program's directory through the shell, the "Error"
// box when the shell fails, and the documents shipped in data/.

#include "MainFormFixture.h"
#include "ShellDouble.h"
#include "TestFiles.h"

#include "app/Main.h"
#include "base/ProgramFiles.h"
#include "base/ui/Shell.h"
#include "document/Document.h"
#include "document/ui/PreviewEditor.h"
#include "report/ui/HelpDocuments.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace vorrel;
using namespace vorrel::test;

namespace {

struct BoxSeen
{
    int count = 0;
    QString title;
    QString text;
    QString objectName;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;
};

// Reads and dismisses the next message box, if one comes.
std::shared_ptr<BoxSeen> watchForBox()
{
    auto seen = std::make_shared<BoxSeen>();
    whenModal([](QWidget *w) { return qobject_cast<QMessageBox *>(w) != nullptr; },
        [seen](QWidget *w) {
            auto *box = static_cast<QMessageBox *>(w);
            ++seen->count;
            seen->title = box->windowTitle();
            seen->text = box->text();
            seen->objectName = box->objectName();
            seen->icon = box->icon();
            seen->buttons = box->standardButtons();
            seen->parent = box->parentWidget();
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
        });
    return seen;
}

enum class Trigger { HelpTopics, HelpButton, Tags, Tutorial, HelpTopicsHandler };

void fire(TMainForm &form, Trigger trigger)
{
    switch (trigger) {
    case Trigger::HelpTopics:
        form.HelpContentsItem->trigger();
        break;
    case Trigger::HelpButton:
        form.SpeedButton9->click();
        break;
    case Trigger::Tags:
        form.mnuTags->trigger();
        break;
    case Trigger::Tutorial:
        form.mnuTutorial->trigger();
        break;
    case Trigger::HelpTopicsHandler:
        form.HelpContentsItemClick();
        break;
    }
}

QByteArray dataFile(const QString &name)
{
    return readFile(QStringLiteral(VORREL_DATA_DIR "/") + name);
}

QString plain(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

} // namespace

Q_DECLARE_METATYPE(Trigger)

class TestHelp final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void failureShowsErrorBox_data();
    void failureShowsErrorBox();
    void statusDecides_data();
    void statusDecides();
    void blanksStayWhole();
    void realShellOnMissingFile();
    void sharedOpenerForOtherWindows();
    void shippedDocumentsExist();
    void helpPageCoversTheProgram();
    void tagReferenceCoversTheElements();
    void tutorialIsValidRtf();

private:
    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<TMainForm> m_form;
    // Records what the shell is asked to open and answers with a chosen status.
    ShellDouble m_shell;
};

void TestHelp::init()
{
    m_dir = std::make_unique<ProgramDir>(kQuietOpts);
    QVERIFY(m_dir->isValid());
    m_form = startedMainForm();
    m_form->iButMenu(true);
    m_shell = ShellDouble(kShellFileNotFound);
    Shell::setInstance(&m_shell);
}

void TestHelp::cleanup()
{
    cancelModalWaits();
    Shell::setInstance(nullptr);
    m_form.reset();
    m_dir.reset();
}

void TestHelp::failureShowsErrorBox_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("message");

    QTest::newRow("Help Topics") << Trigger::HelpTopics << QStringLiteral("help.html")
                                 << QStringLiteral("Could not execute the help file");
    QTest::newRow("Help Contents button")
        << Trigger::HelpButton << QStringLiteral("help.html") << QStringLiteral("Could not execute the help file");
    QTest::newRow("AIML Tags") << Trigger::Tags << QStringLiteral("AIML Tags.htm")
                               << QStringLiteral("Could not execute the AIML Tags file");
    QTest::newRow("AIML Tutorial") << Trigger::Tutorial << QStringLiteral("AIML Tutorial 2.rtf")
                                   << QStringLiteral("Could not execute the AIML Tutorial file");
    QTest::newRow("Help Topics, called directly") << Trigger::HelpTopicsHandler << QStringLiteral("help.html")
                                                  << QStringLiteral("Could not execute the help file");
}

void TestHelp::failureShowsErrorBox()
{
    QFETCH(Trigger, trigger);
    QFETCH(QString, fileName);
    QFETCH(QString, message);

    m_shell.status = kShellFileNotFound;
    const auto box = watchForBox();
    fire(*m_form, trigger);

    QCOMPARE(m_shell.calls.size(), 1);
    const ShellDouble::Call call = m_shell.calls.first();
    QCOMPARE(call.target, programDir() + fileName);
    QVERIFY(call.target.startsWith(m_dir->path()));
    QCOMPARE(call.verb, QString());
    QCOMPARE(call.owner, m_form.get());
    QVERIFY(call.mode == ShowMode::Plain);

    QTRY_COMPARE(box->count, 1);
    QCOMPARE(box->title, QStringLiteral("Error"));
    QCOMPARE(box->text, message);
    QCOMPARE(box->icon, QMessageBox::Warning);
    QCOMPARE(box->buttons, QMessageBox::Ok);
    QCOMPARE(box->objectName, QStringLiteral("ErrorShellBox"));
    QCOMPARE(box->parent, m_form.get());
}

void TestHelp::statusDecides_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("box");

    QTest::newRow("0") << 0 << true;
    QTest::newRow("file not found") << kShellFileNotFound << true;
    QTest::newRow("no association") << kShellNoAssociation << true;
    QTest::newRow("32") << 32 << true;
    QTest::newRow("33") << 33 << false;
    QTest::newRow("success") << kShellSuccess << false;
}

void TestHelp::statusDecides()
{
    QFETCH(int, status);
    QFETCH(bool, box);

    m_shell.status = status;
    const auto seen = watchForBox();
    fire(*m_form, Trigger::Tags);
    // The box is modal: had one been shown, the command would only have returned after it closed.
    QCOMPARE(seen->count, box ? 1 : 0);
    QCOMPARE(m_shell.calls.size(), 1);
}

void TestHelp::blanksStayWhole()
{
    QTemporaryDir base;
    const QString dir = base.filePath(QStringLiteral("My Program Files"));
    QVERIFY(QDir().mkpath(dir));
    setProgramDirOverride(dir);
    m_shell.status = kShellSuccess;
    fire(*m_form, Trigger::Tags);
    fire(*m_form, Trigger::Tutorial);
    QCOMPARE(m_shell.calls.size(), 2);
    QCOMPARE(m_shell.calls.at(0).target, dir + QStringLiteral("/AIML Tags.htm"));
    QCOMPARE(m_shell.calls.at(1).target, dir + QStringLiteral("/AIML Tutorial 2.rtf"));
    setProgramDirOverride(m_dir->path());
}

void TestHelp::realShellOnMissingFile()
{
    Shell::setInstance(nullptr);
    QVERIFY(!QFile::exists(programFile(QStringLiteral("help.html"))));
    const auto box = watchForBox();
    fire(*m_form, Trigger::HelpButton);
    QTRY_COMPARE(box->count, 1);
    QCOMPARE(box->title, QStringLiteral("Error"));
    QCOMPARE(box->text, QStringLiteral("Could not execute the help file"));
}

void TestHelp::sharedOpenerForOtherWindows()
{
    m_shell.status = kShellSuccess;
    QVERIFY(openProgramDocument(m_form.get(), kTutorialFile, kTutorialFailure));
    m_shell.status = kShellNoAssociation;
    const auto box = watchForBox();
    QVERIFY(!openProgramDocument(nullptr, kTutorialFile, kTutorialFailure));
    QCOMPARE(box->count, 1);
    QCOMPARE(box->text, QStringLiteral("Could not execute the AIML Tutorial file"));
    QCOMPARE(m_shell.calls.size(), 2);
    QCOMPARE(m_shell.calls.at(1).target, programDir() + QStringLiteral("AIML Tutorial 2.rtf"));
}

void TestHelp::shippedDocumentsExist()
{
    for (const QString &name : { kHelpFile, kTagsFile, kTutorialFile })
        QVERIFY2(dataFile(name).size() > 2000, qPrintable(name));
}

void TestHelp::helpPageCoversTheProgram()
{
    const QString html = QString::fromUtf8(dataFile(kHelpFile));
    QVERIFY(html.startsWith(QLatin1String("<!DOCTYPE html>")));
    QVERIFY(html.contains(QLatin1String("</html>")));
    // Self-contained: nothing is fetched from elsewhere.
    for (const char *external : { "<script", "<link", "<img", "<iframe", "src=", "url(" })
        QVERIFY2(!html.contains(QLatin1String(external), Qt::CaseInsensitive), external);

    // Every menu command and tool button of the running program is described.
    QStringList missing;
    QList<QAction *> actions = m_form->menuBar()->actions();
    while (!actions.isEmpty()) {
        QAction *action = actions.takeFirst();
        if (action->menu())
            actions += action->menu()->actions();
        const QString caption = plain(action->text());
        if (!caption.isEmpty() && !action->isSeparator() && !html.contains(caption.toHtmlEscaped()))
            missing << caption;
    }
    const auto buttons = m_form->findChildren<QToolButton *>(QRegularExpression(QStringLiteral("^SpeedButton")));
    for (QToolButton *button : buttons) {
        if (!html.contains(button->toolTip()))
            missing << button->toolTip();
    }
    for (const char *text : { "General Report", "Text Report", "AIML Report", "Options", "New Document", "Category",
             "AutoText", "SRAI", "RANDOM", "Vessra", "Say it", "opts.ini", "defs.dat", "template.dat", "last.dat",
             "Set to defaults", "Automatically uppercase patterns", "Show Welcome dialog at startup",
             "Make comments italics", "Refresh Document", "F5" }) {
        if (!html.contains(QLatin1String(text)))
            missing << QLatin1String(text);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

void TestHelp::tagReferenceCoversTheElements()
{
    const QString html = QString::fromUtf8(dataFile(kTagsFile));
    QVERIFY(html.contains(QLatin1String("</html>")));
    for (const char *external : { "<script", "<link", "<img", "<iframe", "src=", "url(" })
        QVERIFY2(!html.contains(QLatin1String(external), Qt::CaseInsensitive), external);
    QStringList missing;
    for (const char *element : { "aiml", "category", "pattern", "that", "template", "topic", "srai", "sr", "random",
             "li", "condition", "think", "set", "get", "star", "thatstar", "topicstar", "input", "bot", "person",
             "person2", "gender", "uppercase", "lowercase", "formal", "sentence", "date", "id", "size", "version",
             "gossip", "learn", "system", "javascript" }) {
        // Each element has its own section, named by its anchor.
        if (!html.contains(QStringLiteral("id=\"%1\"").arg(QLatin1String(element))))
            missing << QLatin1String(element);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

void TestHelp::tutorialIsValidRtf()
{
    const QByteArray rtf = dataFile(kTutorialFile);
    QVERIFY(rtf.startsWith("{\\rtf1"));
    // Braces balance, leaving escaped ones aside, and the last one closes the document.
    int depth = 0;
    qsizetype closedAt = -1;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '\\') {
            ++i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            --depth;
            QVERIFY2(depth >= 0, "a brace closes more than was opened");
            if (depth == 0) {
                QVERIFY2(closedAt < 0, "text after the document's last brace");
                closedAt = i;
            }
        }
    }
    QCOMPARE(depth, 0);
    QVERIFY(rtf.mid(closedAt + 1).trimmed().isEmpty());
    // Plain 7-bit text: anything else is written as an RTF escape.
    for (const char c : rtf)
        QVERIFY(uchar(c) < 128);
    for (const char *topic : { "<category>", "<pattern>", "<template>", "<srai>", "<random>", "<li>", "<that>" })
        QVERIFY2(rtf.contains(topic), topic);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
