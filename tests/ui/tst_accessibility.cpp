// Every window walked as a screen reader and a keyboard user meet it: a name for each control
// Tab reaches, access letters unique in each menu and window, Tab in the order the eye reads,
// and a German translation with nothing left unfinished.

#include "MainFormFixture.h"

#include "app/Main.h"
#include "app/ProgressBar.h"
#include "app/Splash.h"
#include "base/ProgramFiles.h"
#include "base/Translations.h"
#include "document/ui/CheckPanel.h"
#include "document/ui/New.h"
#include "editing/ui/FindDialog.h"
#include "editing/ui/SelEdit.h"
#include "prefs/ui/Options.h"
#include "report/ui/Report.h"
#include "widgets/ui/About1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

#include <functional>
#include <memory>
#include <vector>

using namespace vorrel;

namespace {

// How a window is read: in rows, top to bottom and each row left to right, or in columns.
enum class Reading { Rows, Columns };

using WindowMaker = std::function<std::unique_ptr<QWidget>()>;

template<typename W> WindowMaker maker()
{
    return [] { return std::unique_ptr<QWidget>(new W); };
}

// The windows walked, each made as the program makes it.
const std::vector<std::tuple<const char *, WindowMaker, Reading>> &windows()
{
    static const std::vector<std::tuple<const char *, WindowMaker, Reading>> all = {
        { "category dialog", maker<TfrmSelEdit>(), Reading::Rows },
        { "find window", maker<TfrmFind>(), Reading::Columns },
        { "options", maker<TfrmOptions>(), Reading::Rows },
        { "new document", maker<TfrmNew>(), Reading::Rows },
        { "report", maker<TfrmReport>(), Reading::Rows },
        { "about", maker<TAboutBox>(), Reading::Rows },
        { "welcome", maker<TStartUp>(), Reading::Rows },
        { "progress", maker<TpBar>(), Reading::Rows },
        { "check panel", maker<CheckPanel>(), Reading::Rows },
        { "main window", [] { return std::unique_ptr<QWidget>(test::startedMainForm()); }, Reading::Rows },
    };
    return all;
}

// Qt's own dialogs (file, font, print) name their own controls.
bool insideQtDialog(const QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        if (w->isWindow() && w->metaObject()->className()[0] == 'Q')
            return true;
    }
    return false;
}

QString describe(const QWidget *w)
{
    return QStringLiteral("%1 \"%2\" in %3")
        .arg(QLatin1String(w->metaObject()->className()), w->objectName(), w->window()->objectName());
}

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

bool reachedByTab(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->isVisibleTo(w->window());
}

// The windows inside `top` (itself, its dialogs and boxes) that are the program's own.
QList<QWidget *> ownWindows(QWidget *top)
{
    QList<QWidget *> found { top };
    for (QWidget *w : top->findChildren<QWidget *>()) {
        if (w->isWindow() && !qobject_cast<QMenu *>(w) && !insideQtDialog(w))
            found.append(w);
    }
    return found;
}

QStringList unnamedControls(QWidget *window)
{
    QStringList problems;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        if (w->window() != window || insideQtDialog(w))
            continue;
        const QString name = accessibleName(w);
        // Tool buttons are not on the Tab chain, but a pointer and a screen reader reach them.
        const bool reached = reachedByTab(w) || (qobject_cast<QAbstractButton *>(w) && w->isVisibleTo(window));
        if (reached && name.trimmed().isEmpty())
            problems << QStringLiteral("no accessible name: ") + describe(w);
        if (name.contains(QLatin1String("  ")))
            problems << QStringLiteral("blanks in the accessible name \"%1\": %2").arg(name, describe(w));
    }
    return problems;
}

QString mnemonicOf(const QString &text)
{
    return QKeySequence::mnemonic(text).toString().toLower();
}

QStringList menuLetterProblems(const QMenu *menu, const QString &where)
{
    QStringList problems;
    QHash<QString, QString> taken;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible() || action->text().isEmpty())
            continue;
        const QString letter = mnemonicOf(action->text());
        if (letter.isEmpty())
            problems << QStringLiteral("no access letter: \"%1\" in %2").arg(action->text(), where);
        else if (taken.contains(letter))
            problems << QStringLiteral("access letter %1 twice: \"%2\" and \"%3\" in %4")
                            .arg(letter, taken.value(letter), action->text(), where);
        else
            taken.insert(letter, action->text());
    }
    return problems;
}

// Every menu item has a letter of its own in its menu, and no two controls of a window share one.
QStringList accessLetterProblems(QWidget *window)
{
    QStringList problems;
    for (const QMenu *menu : window->findChildren<QMenu *>())
        problems << menuLetterProblems(menu, menu->objectName() + QStringLiteral(" of ") + window->objectName());
    if (const QMenuBar *bar = window->findChild<QMenuBar *>()) {
        QMenu top;
        top.addActions(bar->actions());
        problems << menuLetterProblems(&top, QStringLiteral("the menu bar of ") + window->objectName());
    }
    QHash<QString, QString> taken;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || insideQtDialog(w) || !w->isVisibleTo(window))
            continue;
        QString text;
        if (const auto *button = qobject_cast<QAbstractButton *>(w))
            text = button->text();
        else if (const auto *label = qobject_cast<QLabel *>(w); label && label->buddy())
            text = label->text();
        else if (const auto *group = qobject_cast<QGroupBox *>(w))
            text = group->title();
        const QString letter = mnemonicOf(text);
        if (letter.isEmpty())
            continue;
        if (taken.contains(letter))
            problems << QStringLiteral("access letter %1 twice in %2: \"%3\" and \"%4\"")
                            .arg(letter, window->objectName(), taken.value(letter), text);
        taken.insert(letter, text);
    }
    return problems;
}

// Tab goes through the controls in the order the window is read.
QStringList tabOrderProblems(QWidget *window, Reading reading)
{
    constexpr int kSameLine = 12;
    QList<QWidget *> chain;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (w->window() == window && reachedByTab(w) && !insideQtDialog(w))
            chain.append(w);
    }
    QStringList problems;
    for (qsizetype i = 1; i < chain.size(); ++i) {
        const QWidget *a = chain.at(i - 1);
        const QWidget *b = chain.at(i);
        const QPoint pa = a->mapTo(window, QPoint());
        const QPoint pb = b->mapTo(window, QPoint());
        const bool follows = reading == Reading::Rows
            ? pb.y() > pa.y() + kSameLine || (std::abs(pb.y() - pa.y()) <= kSameLine && pb.x() > pa.x())
            : (std::abs(pb.x() - pa.x()) <= kSameLine && pb.y() > pa.y()) || pb.x() >= pa.x() + a->width();
        if (!follows)
            problems << QStringLiteral("Tab goes back from %1 to %2").arg(describe(a), describe(b));
    }
    return problems;
}

QStringList walkProblems(QWidget *top, Reading reading)
{
    top->show();
    QStringList problems = tabOrderProblems(top, reading);
    for (QWidget *window : ownWindows(top))
        problems << unnamedControls(window) << accessLetterProblems(window);
    // A notebook shows the controls of one page at a time: each page in turn.
    for (QTabWidget *notebook : top->findChildren<QTabWidget *>()) {
        for (int page = 0; notebook->window() == top && page < notebook->count(); ++page) {
            notebook->setCurrentIndex(page);
            problems << tabOrderProblems(top, reading) << unnamedControls(top);
        }
    }
    top->hide();
    problems.removeDuplicates();
    return problems;
}

// The German translation, installed for one test.
class German final
{
public:
    German()
        : m_installed(
            installTranslators(QLocale(QLocale::German, QLocale::Germany), { QStringLiteral(VORREL_BUILD_DIR) }))
    {
    }
    ~German()
    {
        for (QTranslator *t : m_installed) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
    German(const German &) = delete;
    German &operator=(const German &) = delete;

    std::size_t count() const { return m_installed.size(); }

private:
    std::vector<QTranslator *> m_installed;
};

} // namespace

class TestAccessibility final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void walk_data();
    void walk();
    void walkInGerman_data() { walk_data(); }
    void walkInGerman();
    void namesOfTheCategoryDialog();
    void findOptionsHaveAccessLetters();
    void germanTranslationComplete();
    void germanCaptions();
    void otherLanguagesStayEnglish();
    void desktopLanguage();
};

void TestAccessibility::walk_data()
{
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < windows().size(); ++i)
        QTest::newRow(std::get<0>(windows()[i])) << int(i);
}

void TestAccessibility::walk()
{
    QFETCH(int, index);
    const auto &[name, make, reading] = windows().at(std::size_t(index));
    const std::unique_ptr<QWidget> window = make();
    const QStringList problems = walkProblems(window.get(), reading);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestAccessibility::walkInGerman()
{
    // The translator's access letters must not collide either.
    const German german;
    QVERIFY(german.count() > 0);
    walk();
}

void TestAccessibility::namesOfTheCategoryDialog()
{
    TfrmSelEdit dialog;
    QCOMPARE(accessibleName(dialog.txtTopic), QStringLiteral("Topic"));
    QCOMPARE(accessibleName(dialog.txtPattern), QStringLiteral("Pattern"));
    QCOMPARE(accessibleName(dialog.txtThat), QStringLiteral("That"));
    QCOMPARE(accessibleName(dialog.template_), QStringLiteral("Template"));
    QCOMPARE(accessibleName(dialog.Label3), QStringLiteral("<pattern> </pattern>"));
    QCOMPARE(accessibleName(dialog.Label6), QStringLiteral("<that> </that>"));
    QCOMPARE(accessibleName(dialog.Label1), QStringLiteral("<category>"));
}

void TestAccessibility::findOptionsHaveAccessLetters()
{
    TfrmFind find;
    for (const QString &text : { find.chkCase->text(), find.chkWholeWords->text(), find.chkRegExp->text(),
             find.lblFind->text(), find.lblReplace->text() })
        QVERIFY2(!mnemonicOf(text).isEmpty(), qPrintable(text));
    // The letter of a box's label takes the keyboard to its box.
    find.show();
    QVERIFY(QTest::qWaitForWindowExposed(&find));
    QApplication::setActiveWindow(&find);
    QTest::keyClick(&find, Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), find.txtReplace);
}

void TestAccessibility::germanTranslationComplete()
{
    // lupdate reads the sources into a copy of the shipped file: a text wrapped in tr() but
    // missing from it, or not yet translated, is left unfinished.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString ts = dir.filePath(QStringLiteral("aimlvorrel_de.ts"));
    QVERIFY(QFile::copy(QStringLiteral(VORREL_SOURCE_DIR "/translations/aimlvorrel_de.ts"), ts));
    QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.start(QStringLiteral(VORREL_LUPDATE),
        { QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
            QStringLiteral("-no-obsolete"), QStringLiteral(VORREL_SOURCE_DIR "/src"), QStringLiteral("-ts"), ts });
    QVERIFY(lupdate.waitForFinished(120000));
    QCOMPARE(lupdate.exitCode(), 0);

    QFile file(ts);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.count(QLatin1String("<translation>")) > 50);
    QStringList unfinished;
    static const QRegularExpression open(
        QStringLiteral("<source>([^<]*)</source>\\s*<translation type=\"unfinished\""));
    for (auto it = open.globalMatch(text); it.hasNext();)
        unfinished << it.next().captured(1);
    QVERIFY2(unfinished.isEmpty(), qPrintable(unfinished.join(QLatin1Char('\n'))));
}

void TestAccessibility::germanCaptions()
{
    const German german;
    QVERIFY(german.count() > 0);
    TfrmOptions options;
    QCOMPARE(options.windowTitle(), QStringLiteral("Optionen"));
    QCOMPARE(options.cmdCancel->text(), QStringLiteral("Abbrechen"));
    TfrmSelEdit category;
    QCOMPARE(category.windowTitle(), QStringLiteral("Kategorie"));
    QCOMPARE(accessibleName(category.txtPattern), QStringLiteral("Muster"));
    TStartUp welcome;
    QCOMPARE(welcome.windowTitle(), QStringLiteral("Willkommen bei Cendaro AIML Vorrel 3.0"));
    QCOMPARE(welcome.CloseWin->text(), QStringLiteral("Schließen"));
    TfrmFind find;
    QCOMPARE(find.chkCase->text(), QStringLiteral("Groß-/&Kleinschreibung beachten"));
    const std::unique_ptr<TMainForm> main = test::startedMainForm();
    QCOMPARE(main->mnuFile->title(), QStringLiteral("&Datei"));
    QCOMPARE(main->FileSaveAsItem->text(), QStringLiteral("Speichern &unter..."));
    QCOMPARE(main->path->text(), QStringLiteral("(Keines)"));
    QCOMPARE(main->SpeedButton9->toolTip(), QStringLiteral("Hilfethemen"));
    // The "View Page" items find their pages by caption.
    main->mnuDorvaneClick();
    QCOMPARE(main->tabs->tabText(main->tabs->currentIndex()), QStringLiteral("Vessra"));
    main->mnuCategoriesClick();
    QCOMPARE(main->tabs->tabText(main->tabs->currentIndex()), QStringLiteral("Kategorien"));
    // Qt's own buttons, as in the RANDOM box, come from Qt's translations.
    const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

void TestAccessibility::otherLanguagesStayEnglish()
{
    for (const QLocale &locale : { QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::French) })
        QVERIFY(installTranslators(locale, { QStringLiteral(VORREL_BUILD_DIR) }).empty());
    QCOMPARE(TfrmOptions().windowTitle(), QStringLiteral("Options"));
    const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
}

void TestAccessibility::desktopLanguage()
{
    // Run by CTest under LANGUAGE=de and LANGUAGE=fr, as the program starts on such a desktop.
    const QString language = qEnvironmentVariable("LANGUAGE");
    if (language.isEmpty())
        QSKIP("LANGUAGE is not set");
    setProgramDirOverride(QStringLiteral(VORREL_BUILD_DIR));
    installTranslators();
    setProgramDirOverride(QString());
    TfrmOptions options;
    QCOMPARE(options.windowTitle(),
        language.startsWith(QLatin1String("de")) ? QStringLiteral("Optionen") : QStringLiteral("Options"));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
