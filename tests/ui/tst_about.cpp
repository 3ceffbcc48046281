#include "MainFormFixture.h"
#include "ShellDouble.h"

#include "app/Main.h"
#include "base/ui/Shell.h"
#include "document/Document.h"
#include "document/ui/PreviewEditor.h"
#include "widgets/CreditsMarkup.h"
#include "widgets/ui/About1.h"
#include "widgets/ui/Credits.h"
#include "widgets/ui/Emaillabel.h"
#include "widgets/ui/ErrorBox.h"
#include "widgets/ui/LabelTypes.h"
#include "widgets/ui/UrlLabel.h"

#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace vorrel;

namespace {

using LabelFactory = std::function<TLinkLabel *()>;

// The message a click throws, or an empty string when it throws nothing.
QString clickError(TLinkLabel &label)
{
    try {
        label.Click();
    } catch (const VorrelError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

Q_DECLARE_METATYPE(LabelFactory)

class TestAbout final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void labelLook_data();
    void labelLook();
    void urlClick_data();
    void urlClick();
    void mailClick_data();
    void mailClick();
    void mouseClickOpens();
    void mouseReleaseOutsideDoesNothing();
    void mouseClickShowsError_data();
    void mouseClickShowsError();

    void aboutLayout();
    void aboutCredits();
    void aboutLinks();
    void okStopsCredits();
    void closeBoxStopsCredits();
    void reopeningRestartsCredits();

private:
    // Records what the labels hand to the shell instead of starting a browser or mail program.
    test::ShellDouble m_shell;
};

void TestAbout::init()
{
    m_shell.calls.clear();
    Shell::setInstance(&m_shell);
}

void TestAbout::cleanup()
{
    Shell::setInstance(nullptr);
}

void TestAbout::labelLook_data()
{
    QTest::addColumn<LabelFactory>("make");
    QTest::newRow("TLinkLabel") << LabelFactory([] { return new TLinkLabel; });
    QTest::newRow("TUrlLabel") << LabelFactory([] { return new TUrlLabel; });
    QTest::newRow("TEmaillabel") << LabelFactory([] { return new TEmaillabel; });
}

void TestAbout::labelLook()
{
    QFETCH(LabelFactory, make);
    const std::unique_ptr<TLinkLabel> label(make());
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(label->font().underline());
    QVERIFY(!label->font().bold());
    QVERIFY(!label->font().italic());
    QVERIFY(!label->font().strikeOut());
    // The hand pointer belongs to the window that places the label.
    QVERIFY(!label->testAttribute(Qt::WA_SetCursor));
}

void TestAbout::urlClick_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("opens");

    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << "   " << false;
    QTest::newRow("line breaks and tab") << "\r\n\t" << false;
    QTest::newRow("control characters") << QStringLiteral("\x01 \x1f") << false;
    QTest::newRow("address") << "https://vorrel.example.org" << true;
    QTest::newRow("blanks kept around the address") << "  https://vorrel.example.org/a b  " << true;
}

void TestAbout::urlClick()
{
    QFETCH(QString, url);
    QFETCH(bool, opens);
    TUrlLabel label;
    label.setURL(url);
    QCOMPARE(label.URL(), url);
    const QString error = clickError(label);
    if (!opens) {
        QCOMPARE(error, QStringLiteral("Error: Property URL not Specified"));
        QVERIFY(m_shell.calls.isEmpty());
        return;
    }
    QCOMPARE(error, QString());
    QCOMPARE(m_shell.calls.size(), 1);
    const test::ShellDouble::Call &call = m_shell.calls.first();
    QCOMPARE(call.target, url);
    QCOMPARE(call.verb, QStringLiteral("Open"));
    QVERIFY(call.mode == ShowMode::Plain);
    QCOMPARE(call.owner, nullptr);
}

void TestAbout::mailClick_data()
{
    QTest::addColumn<QString>("recipient");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("address");

    QTest::newRow("subject with blanks") << "vorrel@example.org"
                                         << "About AIML Vorrel 3.0"
                                         << "mailto:vorrel@example.org?subject=About AIML Vorrel 3.0";
    QTest::newRow("blanks around the recipient") << "  vorrel@example.org "
                                                 << "Hi"
                                                 << "mailto:  vorrel@example.org ?subject=Hi";
    QTest::newRow("empty subject") << "vorrel@example.org"
                                   << ""
                                   << "mailto:vorrel@example.org?subject=";
    QTest::newRow("nothing escaped") << "a@example.org"
                                     << "50% & more #1?"
                                     << "mailto:a@example.org?subject=50% & more #1?";
    QTest::newRow("empty recipient") << ""
                                     << "About"
                                     << "";
    QTest::newRow("blank recipient") << "   "
                                     << "About"
                                     << "";
    QTest::newRow("tab and line break") << "\t\r\n"
                                        << "About"
                                        << "";
}

void TestAbout::mailClick()
{
    QFETCH(QString, recipient);
    QFETCH(QString, subject);
    QFETCH(QString, address);
    TEmaillabel label;
    label.setRecipient(recipient);
    label.setSubject(subject);
    QCOMPARE(label.Recipient(), recipient);
    QCOMPARE(label.Subject(), subject);
    const QString error = clickError(label);
    if (address.isEmpty()) {
        QCOMPARE(error, QStringLiteral("Error: Please Specify a Recipients Email Address"));
        QVERIFY(m_shell.calls.isEmpty());
        return;
    }
    QCOMPARE(error, QString());
    QCOMPARE(m_shell.calls.size(), 1);
    const test::ShellDouble::Call &call = m_shell.calls.first();
    QCOMPARE(call.target, address);
    QCOMPARE(call.verb, QStringLiteral("Open"));
    QVERIFY(call.mode == ShowMode::Normal);
    QCOMPARE(call.owner, nullptr);
}

void TestAbout::mouseClickOpens()
{
    QWidget window;
    auto *label = new TUrlLabel(&window);
    label->setText(QStringLiteral("Visit"));
    label->setURL(QStringLiteral("https://vorrel.example.org"));
    label->adjustSize();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(label, Qt::RightButton);
    QVERIFY(m_shell.calls.isEmpty());
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(m_shell.calls.size(), 1);
    QCOMPARE(m_shell.calls.first().target, QStringLiteral("https://vorrel.example.org"));
}

void TestAbout::mouseReleaseOutsideDoesNothing()
{
    QWidget window;
    window.resize(300, 100);
    auto *label = new TEmaillabel(&window);
    label->setText(QStringLiteral("E-mail me"));
    label->setRecipient(QStringLiteral("vorrel@example.org"));
    label->adjustSize();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 20, 2));
    QVERIFY(m_shell.calls.isEmpty());
}

void TestAbout::mouseClickShowsError_data()
{
    QTest::addColumn<LabelFactory>("make");
    QTest::addColumn<QString>("message");

    QTest::newRow("url") << LabelFactory([] { return new TUrlLabel; }) << "Error: Property URL not Specified.";
    QTest::newRow("mail") << LabelFactory([] {
        auto *label = new TEmaillabel;
        label->setRecipient(QStringLiteral("  "));
        return label;
    }) << "Error: Please Specify a Recipients Email Address.";
}

void TestAbout::mouseClickShowsError()
{
    QFETCH(LabelFactory, make);
    QFETCH(QString, message);
    QWidget window;
    TLinkLabel *label = make();
    label->setParent(&window);
    label->setText(QStringLiteral("link"));
    label->adjustSize();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QString text;
    QString caption;
    test::expectMessageBox(&text, &caption);
    QTest::mouseClick(label, Qt::LeftButton);
    QTRY_COMPARE(text, message);
    QCOMPARE(caption, QStringLiteral("AIML Vorrel 3.0"));
    QVERIFY(m_shell.calls.isEmpty());
    QVERIFY(window.isVisible());
}

void TestAbout::aboutLayout()
{
    TAboutBox box;
    QCOMPARE(box.objectName(), QStringLiteral("AboutBox"));
    QCOMPARE(box.windowTitle(), QStringLiteral("About"));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QCOMPARE(box.findChild<QFrame *>(QStringLiteral("Panel1")), box.Panel1);
    QCOMPARE(box.findChild<TScrollingCredits *>(QStringLiteral("sc1")), box.sc1);
    QCOMPARE(box.findChild<TUrlLabel *>(QStringLiteral("UrlLabel1")), box.UrlLabel1);
    QCOMPARE(box.findChild<TEmaillabel *>(QStringLiteral("Emaillabel1")), box.Emaillabel1);
    QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("OKButton")), box.OKButton);

    QCOMPARE(box.sc1->parentWidget(), box.Panel1);
    QCOMPARE(box.sc1->geometry(), QRect(4, 4, 481, 233));
    QVERIFY(box.Panel1->geometry().contains(box.sc1->geometry().translated(box.Panel1->pos())));
    QCOMPARE(box.Panel1->frameShadow(), QFrame::Sunken);

    QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
    QVERIFY(box.OKButton->isDefault());
    // Web link bottom left, OK in the middle, mail link bottom right, all below the panel.
    const QRect panel = box.Panel1->geometry();
    for (const QWidget *w : { static_cast<QWidget *>(box.UrlLabel1), static_cast<QWidget *>(box.Emaillabel1),
             static_cast<QWidget *>(box.OKButton) }) {
        QVERIFY(w->geometry().top() > panel.bottom());
        QVERIFY(box.rect().contains(w->geometry()));
    }
    QVERIFY(box.UrlLabel1->geometry().right() < box.OKButton->geometry().left());
    QVERIFY(box.Emaillabel1->geometry().left() > box.OKButton->geometry().right());
    QVERIFY(qAbs(box.OKButton->geometry().center().x() - box.width() / 2) <= 1);
}

void TestAbout::aboutCredits()
{
    TAboutBox box;
    const TScrollingCredits &credits = *box.sc1;
    const QStringList &lines = credits.Credits();
    QCOMPARE(lines.size(), 17);
    QCOMPARE(lines.at(0), QStringLiteral("&c255,0,0;&b&uAIML Vorrel 3.1"));
    QCOMPARE(lines.at(6), QStringLiteral("&c0,255,0;Artificial Intelligence Markup Language Professional Editor"));
    QCOMPARE(lines.at(9), QStringLiteral(" "));
    QCOMPARE(lines.at(10), QString());
    QCOMPARE(lines.at(11), QStringLiteral(" "));
    QCOMPARE(lines.at(16),
        QStringLiteral("For more information about AIML Vorrel please refer to the readme.rtf file provided."));
    for (int empty : { 5, 8, 12, 15 })
        QVERIFY(lines.at(empty).isEmpty());
    // The free lines are plain text: nothing in them is taken for a code.
    for (int plain : { 1, 2, 3, 4, 7, 13 }) {
        QVERIFY(!lines.at(plain).trimmed().isEmpty());
        QVERIFY(!lines.at(plain).contains(QLatin1Char('&')));
    }
    QVERIFY(lines.at(2).contains(QStringLiteral("2026")));

    const CreditLine title = parseCreditLine(lines.at(0), credits.CreditsFontColor());
    QCOMPARE(title.text, QStringLiteral("AIML Vorrel 3.1"));
    QVERIFY(title.bold && title.underline && !title.italic);
    QCOMPARE(title.color, rgbColor(255, 0, 0));
    const CreditLine site = parseCreditLine(lines.at(14), credits.CreditsFontColor());
    QVERIFY(site.text.startsWith(QStringLiteral("Website: http")));
    QVERIFY(site.underline && !site.bold);
    QCOMPARE(site.color, rgbColor(0, 255, 255));

    QCOMPARE(credits.CreditsFont().family(), QStringLiteral("Tahoma"));
    QCOMPARE(credits.CreditsFont().pixelSize(), 13);
    QVERIFY(!credits.CreditsFont().bold());
    QVERIFY(!credits.CreditsFont().italic());
    QVERIFY(!credits.CreditsFont().underline());
    QCOMPARE(credits.CreditsFontColor(), clWhite);
    QCOMPARE(credits.BackgroundColor(), rgbColor(0, 0, 0));
    QCOMPARE(credits.BorderColor(), clWhite);
    QVERIFY(credits.ShowBorder());
    QCOMPARE(credits.Interval(), 55u);
    QVERIFY(!credits.Animate());
    QVERIFY(!credits.findChild<QTimer *>()->isActive());
}

void TestAbout::aboutLinks()
{
    TAboutBox box;
    QCOMPARE(box.UrlLabel1->text(), QStringLiteral("Visit Cendaro Website"));
    QCOMPARE(box.Emaillabel1->text(), QStringLiteral("E-mail me"));
    QCOMPARE(box.Emaillabel1->Subject(), QStringLiteral("About AIML Vorrel 3.0"));
    for (TLinkLabel *label : { static_cast<TLinkLabel *>(box.UrlLabel1), static_cast<TLinkLabel *>(box.Emaillabel1) }) {
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(label->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(label->font().pixelSize(), 13);
        QVERIFY(label->font().underline());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }

    QCOMPARE(clickError(*box.UrlLabel1), QString());
    QCOMPARE(clickError(*box.Emaillabel1), QString());
    QCOMPARE(m_shell.calls.size(), 2);
    QCOMPARE(m_shell.calls.at(0).target, box.UrlLabel1->URL());
    QVERIFY(m_shell.calls.at(0).target.startsWith(QStringLiteral("http")));
    QCOMPARE(m_shell.calls.at(1).target,
        QStringLiteral("mailto:") + box.Emaillabel1->Recipient() + QStringLiteral("?subject=About AIML Vorrel 3.0"));
    QVERIFY(box.Emaillabel1->Recipient().contains(QLatin1Char('@')));
    QVERIFY(m_shell.calls.at(1).mode == ShowMode::Normal);
}

void TestAbout::okStopsCredits()
{
    TAboutBox box;
    box.sc1->setInterval(600000);
    box.sc1->setAnimate(true);
    QWidget *shown = nullptr;
    bool scrolling = false;
    test::whenModal([&](QWidget *modal) {
        shown = modal;
        scrolling = box.sc1->findChild<QTimer *>()->isActive();
        QTest::mouseClick(box.OKButton, Qt::LeftButton);
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    QCOMPARE(shown, &box);
    QVERIFY(scrolling);
    QVERIFY(!box.sc1->Animate());
    QVERIFY(!box.sc1->findChild<QTimer *>()->isActive());
}

void TestAbout::closeBoxStopsCredits()
{
    TAboutBox box;
    box.sc1->setInterval(600000);
    box.sc1->setAnimate(true);
    test::whenModal([](QWidget *modal) { modal->close(); });
    box.exec();
    QVERIFY(!box.isVisible());
    QVERIFY(!box.sc1->Animate());
    QVERIFY(!box.sc1->findChild<QTimer *>()->isActive());

    box.sc1->setAnimate(true);
    test::whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    box.exec();
    QVERIFY(!box.sc1->Animate());
}

void TestAbout::reopeningRestartsCredits()
{
    test::ProgramDir dir(test::kQuietOpts);
    const std::unique_ptr<TMainForm> form = test::startedMainForm();
    TScrollingCredits *credits = form->AboutBox->sc1;
    // No real ticks while the window is up: the test steps the block itself.
    credits->setInterval(600000);
    const int start = animationStartOffset(credits->height(), credits->lineHeight());

    for (int showing = 0; showing < 2; ++showing) {
        int offsetWhenShown = 0;
        bool animatedWhenShown = false;
        int offsetAfterTicks = 0;
        test::whenModal([&](QWidget *modal) {
            offsetWhenShown = credits->scrollOffset();
            animatedWhenShown = credits->Animate() && credits->findChild<QTimer *>()->isActive();
            for (int i = 0; i < 40; ++i)
                credits->tick();
            offsetAfterTicks = credits->scrollOffset();
            QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
        });
        form->HelpAbout();
        QCOMPARE(offsetWhenShown, start);
        QVERIFY(animatedWhenShown);
        QCOMPARE(offsetAfterTicks, start - 40);
        QVERIFY(!credits->Animate());
        QVERIFY(!credits->findChild<QTimer *>()->isActive());
        QVERIFY(!form->AboutBox->isVisible());
    }
}

QTEST_MAIN(TestAbout)

#include "tst_about.moc"
