#include "widgets/CreditsMarkup.h"
#include "widgets/ui/Credits.h"

#include <QApplication>
#include <QPalette>
#include <QTest>
#include <QTimer>

using namespace vorrel;

Q_DECLARE_METATYPE(vorrel::CreditFontStyle)

namespace {

constexpr TColor kWhite = 0x00FFFFFF;

// "b", "i", "u" and "s" for bold, italic, underlined and struck out.
CreditFontStyle style(const char *on)
{
    const QByteArray letters(on);
    return { letters.contains('b'), letters.contains('i'), letters.contains('u'), letters.contains('s') };
}

} // namespace

// The markup and the scroll arithmetic: run before any application object exists, so they
// cannot lean on one.
class TestCreditsMarkup final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void lineStyle_data();
    void lineStyle();
    void centring_data();
    void centring();
    void stillRows();
    void rows_data();
    void rows();
    void tickStep_data();
    void tickStep();
    void passLength_data();
    void passLength();
};

void TestCreditsMarkup::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("text");
    // "b", "i", "u" for the styles that are on.
    QTest::addColumn<QString>("styles");
    QTest::addColumn<TColor>("color");

    const auto row = [](const char *name, const char *line, const char *text, const char *styles, TColor color) {
        QTest::newRow(name) << QString::fromUtf8(line) << QString::fromUtf8(text) << QString::fromUtf8(styles) << color;
    };
    const TColor red = rgbColor(255, 0, 0);
    const TColor green = rgbColor(0, 255, 0);
    const TColor blue = rgbColor(0, 0, 255);

    row("plain", "Plain text; no codes", "Plain text; no codes", "", kWhite);
    row("empty", "", "", "", kWhite);
    row("&& is one &", "a && b", "a & b", "", kWhite);
    row("&&&& is two", "And put that ampersand in with &&&&", "And put that ampersand in with &&", "", kWhite);
    row("&&& then code", "&&&bx", "&x", "b", kWhite);
    row("unknown letter", "a&xb", "ab", "", kWhite);
    row("unknown digit", "&1two", "two", "", kWhite);
    row("unknown blank", "one& two", "onetwo", "", kWhite);
    row("lone & at end", "end&", "end", "", kWhite);
    row("only &", "&", "", "", kWhite);
    row("bold", "&bMake a line bold with &&b", "Make a line bold with &b", "b", kWhite);
    row("italic", "&iSlanted", "Slanted", "i", kWhite);
    row("underline", "&uLined", "Lined", "u", kWhite);
    row("B capital", "&BBold", "Bold", "b", kWhite);
    row("I capital", "&ISlanted", "Slanted", "i", kWhite);
    row("U capital", "&ULined", "Lined", "u", kWhite);
    row("C capital", "&C0,0,255;Blue", "Blue", "", blue);
    row("bold mid-line", "before &bafter", "before after", "b", kWhite);
    row("all styles at the end", "text&u&i&b", "text", "biu", kWhite);
    row("title", "&b&uTScrollingCredits", "TScrollingCredits", "bu", kWhite);
    row("colour", "&c255,255,0;Make a line a different color", "Make a line a different color", "",
        rgbColor(255, 255, 0));
    row("colour, closing ; shown", "&c0,255,255;with &&c[red],[green],[blue];", "with &c[red],[green],[blue];", "",
        rgbColor(0, 255, 255));
    row("two colour specs", "&c255,0,0;a&c0,0,255;b", "ab", "", blue);
    row("colour without ;", "x&c0,255,0", "x", "", green);
    row("colour mid-line", "left &c255,0,0;right", "left right", "", red);
    row("blanks in colour", "&c 0, 255 ,0 ;x", "x", "", green);
    row("colour, ; later in text", "&c0,0,255;a;b", "a;b", "", blue);
    row("colour then style", "&c255,0,0;&b&uAIML", "AIML", "bu", red);
    // Malformed specs vanish from the text and leave the colour the line already had.
    row("two components", "&c1,2;x", "x", "", kWhite);
    row("four components", "&c1,2,3,4;x", "x", "", kWhite);
    row("empty component", "&c,2,3;x", "x", "", kWhite);
    row("trailing comma", "&c1,2,;x", "x", "", kWhite);
    row("letters", "&ca,b,c;x", "x", "", kWhite);
    row("hex", "&c$FF,0,0;x", "x", "", kWhite);
    row("above 255", "&c256,0,0;x", "x", "", kWhite);
    row("huge", "&c99999999999999999999,0,0;x", "x", "", kWhite);
    row("negative", "&c-1,0,0;x", "x", "", kWhite);
    row("empty spec", "&c;x", "x", "", kWhite);
    row("&c at the end", "x&c", "x", "", kWhite);
    row("malformed keeps earlier", "&c255,0,0;&c1,2;x", "x", "", red);
}

void TestCreditsMarkup::parse()
{
    QFETCH(QString, line);
    const CreditLine parsed = parseCreditLine(line, kWhite);
    QString styles;
    if (parsed.bold)
        styles += u'b';
    if (parsed.italic)
        styles += u'i';
    if (parsed.underline)
        styles += u'u';
    QTEST(parsed.text, "text");
    QTEST(styles, "styles");
    QTEST(parsed.color, "color");
}

void TestCreditsMarkup::lineStyle_data()
{
    QTest::addColumn<CreditFontStyle>("font");
    QTest::addColumn<QString>("line");
    QTest::addColumn<CreditFontStyle>("expected");

    QTest::newRow("italic font, &b: bold alone") << style("i") << "&bx" << style("b");
    QTest::newRow("italic font, &u: italic and underlined") << style("i") << "&ux" << style("iu");
    QTest::newRow("struck font, &b: bold alone") << style("us") << "&bx" << style("b");
    QTest::newRow("bold with italic") << style("s") << "&i&bx" << style("bi");
    QTest::newRow("all three codes") << style("") << "&b&i&ux" << style("biu");
    QTest::newRow("no codes keep the font") << style("bius") << "x" << style("bius");
    QTest::newRow("italic added to struck") << style("s") << "&ix" << style("is");
}

void TestCreditsMarkup::lineStyle()
{
    QFETCH(CreditFontStyle, font);
    QFETCH(QString, line);
    QFETCH(CreditFontStyle, expected);
    const CreditFontStyle actual = creditLineStyle(font, parseCreditLine(line, kWhite));
    QCOMPARE(actual.bold, expected.bold);
    QCOMPARE(actual.italic, expected.italic);
    QCOMPARE(actual.underline, expected.underline);
    QCOMPARE(actual.strikeOut, expected.strikeOut);
}

void TestCreditsMarkup::centring_data()
{
    QTest::addColumn<int>("controlWidth");
    QTest::addColumn<int>("textWidth");
    QTest::addColumn<int>("x");

    QTest::newRow("481 and 101") << 481 << 101 << 190;
    QTest::newRow("481 and 100") << 481 << 100 << 190;
    QTest::newRow("482 and 101") << 482 << 101 << 191;
    QTest::newRow("empty text") << 305 << 0 << 152;
    QTest::newRow("wider than the control") << 10 << 31 << -10;
}

void TestCreditsMarkup::centring()
{
    QFETCH(int, controlWidth);
    QFETCH(int, textWidth);
    QTEST(creditLineX(controlWidth, textWidth), "x");
}

void TestCreditsMarkup::stillRows()
{
    QCOMPARE(stillLineTop(0, 16), 4);
    QCOMPARE(stillLineTop(1, 16), 20);
    QCOMPARE(stillLineTop(5, 13), 69);
    QCOMPARE(animationStartOffset(233, 16), 249);
}

void TestCreditsMarkup::rows_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("lineCount");
    // "index:top" for each row processed, "index:h:top" for one wholly above the top edge.
    QTest::addColumn<QStringList>("rows");

    // Control 100 high, rows 16 high.
    QTest::newRow("first line below the bottom") << 116 << 3 << QStringList { "0:116" };
    QTest::newRow("first line on the bottom edge") << 100 << 3 << QStringList { "0:100" };
    QTest::newRow("second line reaches the edge") << 84 << 3 << QStringList { "0:84", "1:100" };
    QTest::newRow("second line one short") << 85 << 3 << QStringList { "0:85" };
    QTest::newRow("all in view") << 10 << 3 << QStringList { "0:10", "1:26", "2:42" };
    QTest::newRow("first above the top") << -20 << 3 << QStringList { "0:h:-20", "1:-4", "2:12" };
    QTest::newRow("bottom row on the top edge") << -16 << 2 << QStringList { "0:h:-16", "1:0" };
    QTest::newRow("no lines") << 50 << 0 << QStringList {};
    QTest::newRow("stops past the bottom")
        << 0 << 20 << QStringList { "0:0", "1:16", "2:32", "3:48", "4:64", "5:80", "6:96" };
}

void TestCreditsMarkup::rows()
{
    QFETCH(int, offset);
    QFETCH(int, lineCount);
    QFETCH(QStringList, rows);
    QStringList actual;
    for (const CreditRow &row : animatedRows(offset, 16, 100, lineCount))
        actual
            << QStringLiteral("%1:%2%3").arg(row.index).arg(row.visible ? QString() : QStringLiteral("h:")).arg(row.y);
    QCOMPARE(actual, rows);
}

void TestCreditsMarkup::tickStep_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("next");
    QTest::addColumn<bool>("ended");

    // Control 233 high, rows 16 high.
    QTest::newRow("moves up") << 100 << 17 << 99 << false;
    QTest::newRow("from below the bottom") << 249 << 17 << 248 << false;
    QTest::newRow("last row's bottom on the top edge") << -272 << 17 << -273 << false;
    QTest::newRow("one pixel above: pass over") << -273 << 17 << 233 << true;
    QTest::newRow("no lines, at 0") << 0 << 0 << -1 << false;
    QTest::newRow("no lines, at -1") << -1 << 0 << 233 << true;
}

void TestCreditsMarkup::tickStep()
{
    QFETCH(int, offset);
    QFETCH(int, lineCount);
    const CreditTick step = scrollTick(offset, lineCount, 16, 233);
    QTEST(step.scrollOffset, "next");
    QTEST(step.passEnded, "ended");
}

void TestCreditsMarkup::passLength_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("lineHeight");

    QTest::newRow("about window") << 233 << 17 << 16;
    QTest::newRow("default control") << 201 << 15 << 13;
    QTest::newRow("no lines") << 100 << 0 << 16;
    QTest::newRow("tiny") << 1 << 1 << 1;
}

void TestCreditsMarkup::passLength()
{
    QFETCH(int, height);
    QFETCH(int, lineCount);
    QFETCH(int, lineHeight);
    int offset = height;
    int ticks = 0;
    bool ended = false;
    while (!ended && ticks < 100000) {
        const CreditTick step = scrollTick(offset, lineCount, lineHeight, height);
        offset = step.scrollOffset;
        ended = step.passEnded;
        ++ticks;
    }
    QCOMPARE(ticks, height + lineCount * lineHeight + 2);
    QCOMPARE(offset, height);
}

// --- the control ---

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

int main(int argc, char *argv[])
{
    int status = 0;
    {
        TestCreditsMarkup markup;
        status |= QTest::qExec(&markup, argc, argv);
    }
    QApplication app(argc, argv);
    TestCreditsControl control;
    status |= QTest::qExec(&control, argc, argv);
    return status;
}

#include "tst_credits.moc"
