#include "widgets/CreditsMarkup.h"

#include <QTest>

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

QTEST_APPLESS_MAIN(TestCreditsMarkup)
#include "tst_creditsmarkup.moc"
