#include "widgets/CreditsMarkup.h"
#include "widgets/ui/Credits.h"

#include <QApplication>
#include <QPalette>
#include <QTest>
#include <QTimer>

using namespace vorrel;

namespace {

constexpr TColor kWhite = 0x00FFFFFF;

} // namespace

namespace {

// A descendant that reacts without handlers, through the virtual announcements.
class RecordingCredits final : public TScrollingCredits
{
public:
    using TScrollingCredits::TScrollingCredits;
    QStringList shown;
    int passes = 0;

protected:
    void NotifyShowCredit(const QString &creditText) override
    {
        shown << creditText;
        TScrollingCredits::NotifyShowCredit(creditText);
    }
    void NotifyAfterLastCredit() override
    {
        ++passes;
        TScrollingCredits::NotifyAfterLastCredit();
    }
};

QFont testFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    return font;
}

// Every pixel that differs from the background.
QRect inkBounds(const QImage &image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QImage rows(const QImage &image, int top, int count)
{
    return image.copy(0, top, image.width(), count);
}

// A 200 by 120 control at (10, 10) in the given parent, shown; null if never exposed.
TScrollingCredits *shownInParent(QWidget &parent)
{
    parent.resize(220, 140);
    auto *credits = new TScrollingCredits(&parent);
    credits->setGeometry(10, 10, 200, 120);
    parent.show();
    return QTest::qWaitForWindowExposed(&parent) ? credits : nullptr;
}

} // namespace

class TestCreditsControl final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults();
    void stillPageMargin();
    void emptyLineIsBlankRow();
    void centredLine();
    void lineColour_data();
    void lineColour();
    void malformedColourKeepsFontColour();
    void codesApplyToWholeLine_data();
    void codesApplyToWholeLine();
    void border();
    void backgroundImage();
    void systemBackground();
    void firstAnimatedFrame();
    void announcements();
    void passEnds();
    void emptyListPasses();
    void visibleFlag();
    void hiddenStillScrolls();
    void hiddenStillClicks();
    void animateAgainKeepsAnnouncements();
    void newCreditsKeepPosition();
    void interval();
    void timerDrivesTicks();
    void paintCopiesFrame();
    void paintHiddenDrawsNothing();

private:
    static void prepare(TScrollingCredits &credits, int width, int height);
};

void TestCreditsControl::prepare(TScrollingCredits &credits, int width, int height)
{
    credits.resize(width, height);
    credits.setCreditsFont(testFont());
    credits.setShowBorder(false);
    credits.setInterval(600000);
}

void TestCreditsControl::defaults()
{
    TScrollingCredits credits;
    QCOMPARE(credits.size(), QSize(305, 201));
    QCOMPARE(credits.Credits().size(), 15);
    QCOMPARE(credits.Credits().first(), QStringLiteral("&b&uTScrollingCredits"));
    QCOMPARE(credits.Credits().at(8), QStringLiteral("&c0,255,255;with &&c[red],[green],[blue];"));
    QCOMPARE(credits.Credits().at(10), QStringLiteral("And put that ampersand in with &&&&"));
    QCOMPARE(credits.Credits().at(13), QStringLiteral("&bthis component useful."));
    for (int empty : { 2, 9, 11 })
        QVERIFY(credits.Credits().at(empty).isEmpty());
    // Every default line but the empty ones shows something once its codes are gone.
    for (const QString &line : credits.Credits())
        QCOMPARE(parseCreditLine(line, kWhite).text.isEmpty(), line.isEmpty());
    QCOMPARE(credits.CreditsFont().family(), QStringLiteral("Tahoma"));
    QCOMPARE(credits.CreditsFontColor(), kWhite);
    QCOMPARE(credits.BackgroundColor(), TColor(0));
    QCOMPARE(credits.BorderColor(), kWhite);
    QVERIFY(!credits.Animate());
    QCOMPARE(credits.Interval(), 50u);
    QVERIFY(credits.ShowBorder());
    QVERIFY(credits.creditsVisible());
    QCOMPARE(credits.scrollOffset(), 0);
    QCOMPARE(credits.lastAnnounced(), -1);
    const auto *timer = credits.findChild<QTimer *>();
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 50);
    QVERIFY(!timer->isActive());
}

void TestCreditsControl::stillPageMargin()
{
    RecordingCredits credits;
    prepare(credits, 200, 100);
    credits.setCredits({ QStringLiteral("MMMM") });
    const QImage still = credits.frame();
    QVERIFY(credits.shown.isEmpty());
    const int h = credits.lineHeight();
    QVERIFY(h > 0);
    const QRect ink = inkBounds(still, qRgb(0, 0, 0));
    QVERIFY(!ink.isEmpty());
    QVERIFY2(ink.top() >= 4 && ink.bottom() < 4 + h,
        qPrintable(QStringLiteral("ink rows %1..%2").arg(ink.top()).arg(ink.bottom())));

    // The still page is the animated block standing 4 pixels down.
    credits.setAnimate(true);
    credits.ResetScroll();
    for (int i = credits.height(); i > 4; --i)
        credits.tick();
    QCOMPARE(credits.scrollOffset(), 4);
    QCOMPARE(credits.frame(), still);
}

void TestCreditsControl::emptyLineIsBlankRow()
{
    TScrollingCredits credits;
    prepare(credits, 200, 100);
    const int h = credits.lineHeight();
    credits.setCredits({ QStringLiteral("MMMM") });
    const QImage one = credits.frame();
    credits.setCredits({ QString(), QStringLiteral("MMMM") });
    const QImage two = credits.frame();
    QCOMPARE(inkBounds(rows(two, 0, 4 + h), qRgb(0, 0, 0)), QRect());
    QCOMPARE(rows(two, 4 + h, h), rows(one, 4, h));
    credits.setCredits({ QStringLiteral(" "), QString(), QStringLiteral("MMMM") });
    QCOMPARE(rows(credits.frame(), 4 + 2 * h, h), rows(one, 4, h));
}

void TestCreditsControl::centredLine()
{
    TScrollingCredits credits;
    prepare(credits, 481, 60);
    credits.setCredits({ QStringLiteral("WWW") });
    const QRect narrow = inkBounds(credits.frame(), qRgb(0, 0, 0));
    credits.resize(483, 60);
    credits.composeFrame();
    const QRect wide = inkBounds(credits.frame(), qRgb(0, 0, 0));
    // Half of 483 truncates to one more than half of 481.
    QCOMPARE(wide.left(), narrow.left() + 1);
    QVERIFY(qAbs((narrow.left() + narrow.right()) / 2 - 240) <= 2);
}

void TestCreditsControl::lineColour_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QColor>("color");

    QTest::newRow("red") << "&c255,0,0;MMMM" << QColor(255, 0, 0);
    QTest::newRow("green") << "&c0,255,0;MMMM" << QColor(0, 255, 0);
    QTest::newRow("blue") << "&c0,0,255;MMMM" << QColor(0, 0, 255);
    QTest::newRow("font colour") << "MMMM" << QColor(255, 255, 255);
}

void TestCreditsControl::lineColour()
{
    QFETCH(QString, line);
    QFETCH(QColor, color);
    TScrollingCredits credits;
    prepare(credits, 120, 40);
    credits.setCredits({ line });
    const QImage frame = credits.frame();
    int strongest = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QColor pixel = frame.pixelColor(x, y);
            // Anti-aliased edges are darker shades of the same colour.
            QVERIFY(pixel.red() == 0 || color.red() != 0);
            QVERIFY(pixel.green() == 0 || color.green() != 0);
            QVERIFY(pixel.blue() == 0 || color.blue() != 0);
            strongest = qMax(strongest, qMax(pixel.red(), qMax(pixel.green(), pixel.blue())));
        }
    }
    QVERIFY(strongest > 200);
}

void TestCreditsControl::malformedColourKeepsFontColour()
{
    TScrollingCredits credits;
    prepare(credits, 120, 40);
    credits.setCreditsFontColor(rgbColor(0, 255, 0));
    credits.setCredits({ QStringLiteral("MMMM") });
    const QImage plain = credits.frame();
    credits.setCredits({ QStringLiteral("&c300,0,0;MMMM") });
    QCOMPARE(credits.frame(), plain);
    credits.setCredits({ QStringLiteral("&c0,255,0;MMMM") });
    QCOMPARE(credits.frame(), plain);
}

void TestCreditsControl::codesApplyToWholeLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("same");

    const auto row = [](const char *name, const char *line, const char *same) {
        QTest::newRow(name) << QString::fromUtf8(line) << QString::fromUtf8(same);
    };
    row("bold mid-line", "MM&bMM", "&bMMMM");
    row("capital B", "&BMMMM", "&bMMMM");
    row("capital U", "&UMMMM", "&uMMMM");
    row("capital I", "&IMMMM", "&iMMMM");
    row("colour at the end", "MMMM&c255,0,0", "&c255,0,0;MMMM");
    row("second colour wins", "&c0,0,255;MMMM&c255,0,0;", "&c255,0,0;MMMM");
}

void TestCreditsControl::codesApplyToWholeLine()
{
    QFETCH(QString, line);
    QFETCH(QString, same);
    TScrollingCredits credits;
    prepare(credits, 160, 40);
    credits.setCredits({ QStringLiteral("MMMM") });
    const QImage plain = credits.frame();
    credits.setCredits({ same });
    const QImage expected = credits.frame();
    QVERIFY(expected != plain);
    credits.setCredits({ line });
    QCOMPARE(credits.frame(), expected);
}

void TestCreditsControl::border()
{
    TScrollingCredits credits;
    prepare(credits, 50, 30);
    credits.setCredits({});
    credits.setBorderColor(rgbColor(255, 0, 0));
    credits.setShowBorder(true);
    credits.composeFrame();
    const QImage frame = credits.frame();
    for (const QPoint corner :
        { QPoint(0, 0), QPoint(49, 0), QPoint(0, 29), QPoint(49, 29), QPoint(25, 29), QPoint(49, 15) })
        QCOMPARE(frame.pixelColor(corner), QColor(255, 0, 0));
    QCOMPARE(frame.pixelColor(1, 1), QColor(0, 0, 0));
    QCOMPARE(frame.pixelColor(48, 28), QColor(0, 0, 0));
    credits.setShowBorder(false);
    credits.composeFrame();
    QCOMPARE(credits.frame().pixelColor(0, 0), QColor(0, 0, 0));

    // The border is drawn over the text.
    credits.setShowBorder(true);
    credits.setCredits({ QStringLiteral("\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588") });
    credits.setAnimate(true);
    while (credits.scrollOffset() > -2)
        credits.tick();
    QCOMPARE(credits.frame().pixelColor(25, 1), QColor(255, 255, 255));
    QCOMPARE(credits.frame().pixelColor(25, 0), QColor(255, 0, 0));
}

void TestCreditsControl::backgroundImage()
{
    TScrollingCredits credits;
    prepare(credits, 64, 48);
    credits.setCredits({});
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 200));
    picture.setPixelColor(3, 3, QColor(200, 0, 0));
    credits.setBackgroundColor(rgbColor(0, 255, 0));
    credits.setBackgroundImage(picture);
    credits.composeFrame();
    const QImage frame = credits.frame();
    // Scaled to cover the whole control: corner pixel of the picture fills the corner.
    QCOMPARE(frame.pixelColor(0, 0), QColor(0, 0, 200));
    QCOMPARE(frame.pixelColor(63, 47), QColor(200, 0, 0));
    QCOMPARE(frame.pixelColor(50, 38), QColor(200, 0, 0));
    credits.setBackgroundImage(QImage());
    credits.composeFrame();
    QCOMPARE(credits.frame().pixelColor(10, 10), QColor(0, 255, 0));
}

void TestCreditsControl::systemBackground()
{
    TScrollingCredits credits;
    prepare(credits, 20, 20);
    credits.setCredits({});
    credits.setBackgroundColor(clBtnFace);
    credits.composeFrame();
    QCOMPARE(credits.frame().pixelColor(10, 10).rgb(), QApplication::palette().color(QPalette::Button).rgb());
}

void TestCreditsControl::firstAnimatedFrame()
{
    RecordingCredits credits;
    prepare(credits, 200, 120);
    credits.setShowBorder(true);
    QStringList seen;
    credits.OnShowCredit = [&](TScrollingCredits *sender, const QString &text) {
        QCOMPARE(sender, &credits);
        seen << text;
    };
    credits.setAnimate(true);
    QCOMPARE(credits.scrollOffset(), 120 + credits.lineHeight());
    QCOMPARE(seen, QStringList { QStringLiteral("TScrollingCredits") });
    QCOMPARE(credits.shown, seen);
    QCOMPARE(credits.lastAnnounced(), 0);
    QVERIFY(credits.findChild<QTimer *>()->isActive());
    // Background and border only.
    const QRect ink = inkBounds(credits.frame(), qRgb(0, 0, 0));
    QCOMPARE(ink, QRect(0, 0, 200, 120));
    QCOMPARE(inkBounds(credits.frame().copy(1, 1, 198, 118), qRgb(0, 0, 0)), QRect());
}

void TestCreditsControl::announcements()
{
    RecordingCredits credits;
    prepare(credits, 200, 100);
    credits.setCredits({ QStringLiteral("&bthis component useful."), QStringLiteral("&c0,255,0;two"), QString(),
        QStringLiteral("four&&") });
    const int h = credits.lineHeight();
    QList<int> announcedAt;
    int tick = 0;
    credits.OnShowCredit = [&](TScrollingCredits *, const QString &) { announcedAt << tick; };
    credits.setAnimate(true);
    for (tick = 1; tick <= 6 * h; ++tick)
        credits.tick();
    QCOMPARE(credits.shown,
        (QStringList {
            QStringLiteral("this component useful."), QStringLiteral("two"), QString(), QStringLiteral("four&") }));
    // A line is announced when its top reaches the bottom edge; the first one at once.
    QCOMPARE(announcedAt, (QList<int> { 0, 2 * h, 3 * h, 4 * h }));
    QCOMPARE(credits.lastAnnounced(), 3);
}

void TestCreditsControl::passEnds()
{
    RecordingCredits credits;
    prepare(credits, 150, 90);
    const QStringList lines { QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three") };
    credits.setCredits(lines);
    const int h = credits.lineHeight();
    const int H = credits.height();
    const int passTicks = H + static_cast<int>(lines.size()) * h + 2;
    int ends = 0;
    int shownAtEnd = -1;
    credits.AfterLastCredit = [&](TScrollingCredits *sender) {
        QCOMPARE(sender, &credits);
        ++ends;
        shownAtEnd = static_cast<int>(credits.shown.size());
    };
    credits.setAnimate(true);
    credits.ResetScroll();
    credits.shown.clear();
    for (int i = 1; i < passTicks; ++i)
        credits.tick();
    QCOMPARE(ends, 0);
    QCOMPARE(credits.shown, lines);
    credits.tick();
    QCOMPARE(ends, 1);
    QCOMPARE(shownAtEnd, 3);
    // The next frame starts the block with its top on the bottom edge, out of sight, and the
    // first line is announced again.
    QCOMPARE(credits.scrollOffset(), H);
    QCOMPARE(credits.lastAnnounced(), 0);
    QCOMPARE(credits.shown.size(), 4);
    QCOMPARE(inkBounds(credits.frame(), qRgb(0, 0, 0)), QRect());
    credits.tick();
    QCOMPARE(credits.scrollOffset(), H - 1);
    // Exactly once per pass.
    for (int i = 2; i < passTicks; ++i)
        credits.tick();
    QCOMPARE(ends, 1);
    credits.tick();
    QCOMPARE(ends, 2);
    QCOMPARE(credits.passes, 2);
    QCOMPARE(credits.shown.size(), 7);
}

void TestCreditsControl::emptyListPasses()
{
    RecordingCredits credits;
    prepare(credits, 80, 40);
    credits.setShowBorder(true);
    credits.setCredits({});
    credits.setAnimate(true);
    credits.ResetScroll();
    for (int i = 1; i < 42; ++i)
        credits.tick();
    QCOMPARE(credits.passes, 0);
    credits.tick();
    QCOMPARE(credits.passes, 1);
    QVERIFY(credits.shown.isEmpty());
    QCOMPARE(inkBounds(credits.frame().copy(1, 1, 78, 38), qRgb(0, 0, 0)), QRect());
}

void TestCreditsControl::visibleFlag()
{
    RecordingCredits credits;
    prepare(credits, 150, 90);
    credits.setAnimate(true);
    for (int i = 0; i < 60; ++i)
        credits.tick();
    const int offset = credits.scrollOffset();
    const int last = credits.lastAnnounced();
    QVERIFY(last > 0);
    auto *timer = credits.findChild<QTimer *>();

    credits.setCreditsVisible(true);
    QCOMPARE(credits.scrollOffset(), offset);
    QCOMPARE(credits.lastAnnounced(), last);
    QVERIFY(timer->isActive());

    credits.setCreditsVisible(false);
    QVERIFY(!credits.creditsVisible());
    QVERIFY(!timer->isActive());
    QCOMPARE(credits.scrollOffset(), 90);
    QCOMPARE(credits.lastAnnounced(), -1);

    credits.setCreditsVisible(true);
    QVERIFY(timer->isActive());
    QCOMPARE(credits.scrollOffset(), 90);

    // Without animation turning it on leaves the timer off.
    credits.setAnimate(false);
    credits.setCreditsVisible(false);
    credits.setCreditsVisible(true);
    QVERIFY(!timer->isActive());
}

void TestCreditsControl::hiddenStillScrolls()
{
    RecordingCredits credits;
    prepare(credits, 100, 50);
    credits.setCredits({ QStringLiteral("one") });
    credits.setCreditsVisible(false);
    credits.setAnimate(true);
    QVERIFY(credits.findChild<QTimer *>()->isActive());
    const int h = credits.lineHeight();
    for (int i = 0; i < 50 + 2 * h + 2; ++i)
        credits.tick();
    QCOMPARE(credits.passes, 1);
    QVERIFY(credits.shown.isEmpty());
}

void TestCreditsControl::hiddenStillClicks()
{
    QWidget parent;
    auto *credits = shownInParent(parent);
    QVERIFY(credits);
    int clicks = 0;
    int doubleClicks = 0;
    credits->OnClick = [&](TScrollingCredits *sender) {
        QCOMPARE(sender, credits);
        ++clicks;
    };
    credits->OnDblClick = [&](TScrollingCredits *) { ++doubleClicks; };
    credits->setCreditsVisible(false);
    QVERIFY(credits->isVisible());
    QTest::mouseClick(credits, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(clicks, 1);
    QTest::mouseDClick(credits, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(doubleClicks, 1);
}

void TestCreditsControl::animateAgainKeepsAnnouncements()
{
    RecordingCredits credits;
    prepare(credits, 150, 60);
    credits.setCredits({ QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three") });
    credits.setAnimate(true);
    const int h = credits.lineHeight();
    for (int i = 0; i < 2 * h; ++i)
        credits.tick();
    QCOMPARE(credits.shown, (QStringList { QStringLiteral("one"), QStringLiteral("two") }));
    credits.setAnimate(false);
    credits.setAnimate(true);
    QCOMPARE(credits.scrollOffset(), 60 + h);
    QCOMPARE(credits.lastAnnounced(), 1);
    for (int i = 0; i < 4 * h; ++i)
        credits.tick();
    QCOMPARE(credits.shown, (QStringList { QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three") }));
}

void TestCreditsControl::newCreditsKeepPosition()
{
    RecordingCredits credits;
    prepare(credits, 150, 60);
    credits.setAnimate(true);
    for (int i = 0; i < 100; ++i)
        credits.tick();
    const int offset = credits.scrollOffset();
    const int last = credits.lastAnnounced();
    credits.setCredits({ QStringLiteral("a"), QStringLiteral("b") });
    QCOMPARE(credits.scrollOffset(), offset);
    QCOMPARE(credits.lastAnnounced(), last);
}

void TestCreditsControl::interval()
{
    TScrollingCredits credits;
    auto *timer = credits.findChild<QTimer *>();
    credits.setInterval(55);
    QCOMPARE(credits.Interval(), 55u);
    QCOMPARE(timer->interval(), 55);
    QVERIFY(!timer->isActive());
    credits.setAnimate(true);
    QVERIFY(timer->isActive());
    credits.setInterval(0);
    QVERIFY(!timer->isActive());
    credits.setInterval(70);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 70);
    credits.setAnimate(false);
    QVERIFY(!timer->isActive());
}

void TestCreditsControl::timerDrivesTicks()
{
    TScrollingCredits credits;
    credits.setInterval(1);
    credits.setAnimate(true);
    const int start = credits.scrollOffset();
    QTRY_VERIFY(credits.scrollOffset() < start - 3);
}

void TestCreditsControl::paintCopiesFrame()
{
    QWidget parent;
    auto *credits = shownInParent(parent);
    QVERIFY(credits);
    credits->setInterval(600000);
    credits->setAnimate(true);
    for (int i = 0; i < 150; ++i)
        credits->tick();
    const QImage shown = credits->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, credits->frame());
}

void TestCreditsControl::paintHiddenDrawsNothing()
{
    QWidget parent;
    QPalette colors = parent.palette();
    colors.setColor(QPalette::Window, QColor(255, 0, 255));
    parent.setPalette(colors);
    parent.setAutoFillBackground(true);
    auto *credits = shownInParent(parent);
    QVERIFY(credits);
    credits->setCreditsVisible(false);
    const QImage shown = parent.grab().toImage();
    QCOMPARE(shown.pixelColor(15, 15), QColor(255, 0, 255));
    QCOMPARE(shown.pixelColor(10, 10), QColor(255, 0, 255));
    credits->setCreditsVisible(true);
    QCOMPARE(parent.grab().toImage().pixelColor(10, 10), QColor(255, 255, 255));
}

QTEST_MAIN(TestCreditsControl)

#include "tst_credits.moc"
