// The gradient panel: the ramp and the style routines without a window, then the control's
// properties, rebuilds and painting offscreen.

#include "widgets/ui/Gradient.h"
#include "widgets/ui/GradientRamp.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

#include <stdexcept>

using namespace vorrel;

namespace {

constexpr TColor kOlive = 0x00008080;
constexpr TColor kNavy = 0x00800000;
constexpr TColor kBlack = 0x00000000;
// The button face every test sees, classic grey.
constexpr TColor kButtonFace = 0x00C8D0D4; // red 212, green 208, blue 200

TColor pinnedSystemColors(int n)
{
    return n == 15 ? kButtonFace : 0x00123456;
}

TGradientEntry entry(int r, int g, int b)
{
    return TGradientEntry { static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r) };
}

TGradientEntry entry(TColor c)
{
    return entry(redOf(c), greenOf(c), blueOf(c));
}

// A ramp whose entry i has red i, so a pixel's red channel tells which entry it took.
TGradientColors indexRamp()
{
    TGradientColors colors;
    for (int i = 0; i < 256; ++i)
        colors[static_cast<std::size_t>(i)] = entry(i, 255 - i, 7);
    return colors;
}

int entryAt(const QImage &pattern, int x, int y)
{
    return pattern.pixelColor(x, y).red();
}

// Counts its rebuilds and its paints, for the tests that a rebuild or repaint did not happen.
class CountingGradient final : public TGradient
{
public:
    using TGradient::TGradient;
    void RebuildPattern() override
    {
        ++rebuilds;
        TGradient::RebuildPattern();
    }
    int rebuilds = 0;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        TGradient::paintEvent(event);
    }
};

struct Pixel
{
    int x;
    int y;
    int index;
};

} // namespace

Q_DECLARE_METATYPE(vorrel::TGradientEntry)
Q_DECLARE_METATYPE(vorrel::TGradientStyle)
Q_DECLARE_METATYPE(QList<Pixel>)

namespace QTest {
template<> char *toString(const vorrel::TGradientEntry &e)
{
    return qstrdup(QByteArray(
        "rgb(" + QByteArray::number(e.r) + ", " + QByteArray::number(e.g) + ", " + QByteArray::number(e.b) + ")")
                       .constData());
}
} // namespace QTest

class TestGradient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void styleRoutines();
    void mulDivRoundsHalvesAwayFromZero();
    void colorValues();
    void paletteSystemColors();

    void rampEntries_data();
    void rampEntries();
    void rampShiftToTheEnds();
    void rampOfEqualColoursIsUniform();

    void stylePatterns_data();
    void stylePatterns();
    void styleRowsAreBlueGreenRed();
    void radialDistanceRoundsTheSquareRoot();
    void entryZeroPixels_data();
    void entryZeroPixels();
    void stylesReuseAPatternOfTheRightSize();

    void defaultControl();
    void shiftAndRotationAreClamped();
    void equalAssignmentDoesNotRebuild();
    void changedAssignmentRebuildsAndRepaints();
    void resizeDoesNotRebuild();
    void loadingBuildsOnce();
    void reverseSwapsTheEnds();
    void checkerboardWithoutHandler();
    void customHandlerSizesThePattern();
    void customHandlerLeavingThePatternKeepsIt();
    void customHandlerFailureClearsTheBuildingFlag();
    void paintScalesToTheClientRectangle();
    void mouseEvents();
};

void TestGradient::initTestCase()
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, QColor(redOf(kButtonFace), greenOf(kButtonFace), blueOf(kButtonFace)));
    QApplication::setPalette(palette);
}

// Which routine each style runs is checked by the patterns below.
void TestGradient::styleRoutines()
{
    QVERIFY(kGradientStyleRoutines[gsCustom] == nullptr);
    for (int s = gsRadialC; s <= gsButterfly; ++s)
        QVERIFY2(kGradientStyleRoutines[s] != nullptr, QByteArray::number(s).constData());
}

void TestGradient::mulDivRoundsHalvesAwayFromZero()
{
    QCOMPARE(mulDiv(5, 10, 100), 1);
    QCOMPARE(mulDiv(-5, 10, 100), -1);
    QCOMPARE(mulDiv(5, -10, 100), -1);
    QCOMPARE(mulDiv(-5, -10, 100), 1);
    QCOMPARE(mulDiv(4, 10, 100), 0);
    QCOMPARE(mulDiv(255, 5, 100), 13);
    QCOMPARE(mulDiv(255, 10, 100), 26);
    QCOMPARE(mulDiv(255, 50, 100), 128);
    QCOMPARE(mulDiv(255, -10, 100), -26);
    QCOMPARE(mulDiv(255, 100, 100), 255);
    QCOMPARE(mulDiv(-255, 50, 100), -128);
    QCOMPARE(mulDiv(7, 3, -2), -11);
    QCOMPARE(mulDiv(1, 1, 0), -1);
    QCOMPARE(mulDiv(0x7FFFFFFF, 4, 2), -1);
}

void TestGradient::colorValues()
{
    QCOMPARE(rgbColor(128, 128, 0), kOlive);
    QCOMPARE(rgbColor(0, 0, 128), kNavy);
    QCOMPARE(redOf(0x00332211), 0x11);
    QCOMPARE(greenOf(0x00332211), 0x22);
    QCOMPARE(blueOf(0x00332211), 0x33);
    QVERIFY(isSystemColor(clBtnFace));
    QVERIFY(!isSystemColor(clWhite));

    int asked = -1;
    const SystemColorResolver resolver = [&asked](int n) {
        asked = n;
        return TColor(0x00ABCDEF);
    };
    QCOMPARE(colorToRgb(kOlive, resolver), kOlive);
    QCOMPARE(asked, -1);
    QCOMPARE(colorToRgb(0x80000008, resolver), TColor(0x00ABCDEF));
    QCOMPARE(asked, 8);
    QCOMPARE(colorToRgb(clBtnFace, pinnedSystemColors), kButtonFace);
}

void TestGradient::paletteSystemColors()
{
    const QPalette palette = QApplication::palette();
    const auto rgbOf = [](const QColor &c) { return rgbColor(c.red(), c.green(), c.blue()); };
    QCOMPARE(paletteSystemColor(15), kButtonFace);
    QCOMPARE(colorToRgb(clBtnFace), kButtonFace);
    QCOMPARE(paletteSystemColor(5), rgbOf(palette.color(QPalette::Active, QPalette::Base)));
    QCOMPARE(paletteSystemColor(8), rgbOf(palette.color(QPalette::Active, QPalette::Text)));
    QCOMPARE(paletteSystemColor(13), rgbOf(palette.color(QPalette::Active, QPalette::Highlight)));
    QCOMPARE(paletteSystemColor(200), TColor(0));
}

void TestGradient::rampEntries_data()
{
    QTest::addColumn<TColor>("a");
    QTest::addColumn<TColor>("b");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("index");
    QTest::addColumn<TGradientEntry>("expected");

    const TColor face = colorToRgb(clBtnFace, pinnedSystemColors);
    QTest::newRow("default 0") << clWhite << face << 0 << 0 << 0 << entry(255, 255, 255);
    QTest::newRow("default 180") << clWhite << face << 0 << 0 << 180 << entry(225, 222, 217);
    QTest::newRow("default 255") << clWhite << face << 0 << 0 << 255 << entry(212, 208, 200);

    // The welcome window: the shift pulls navy to (13, 13, 115); k = 13, m = 242.
    QTest::newRow("welcome 0") << kOlive << kNavy << -10 << 5 << 0 << entry(128, 128, 0);
    QTest::newRow("welcome 1") << kOlive << kNavy << -10 << 5 << 1 << entry(128, 128, 0);
    QTest::newRow("welcome 100") << kOlive << kNavy << -10 << 5 << 100 << entry(81, 81, 47);
    QTest::newRow("welcome 241") << kOlive << kNavy << -10 << 5 << 241 << entry(14, 14, 114);
    QTest::newRow("welcome 242") << kOlive << kNavy << -10 << 5 << 242 << entry(13, 13, 115);
    QTest::newRow("welcome 243") << kOlive << kNavy << -10 << 5 << 243 << entry(22, 22, 106);
    QTest::newRow("welcome 255") << kOlive << kNavy << -10 << 5 << 255 << entry(128, 128, 0);

    QTest::newRow("white to black 0") << clWhite << kBlack << 0 << 0 << 0 << entry(255, 255, 255);
    QTest::newRow("white to black 1") << clWhite << kBlack << 0 << 0 << 1 << entry(254, 254, 254);
    QTest::newRow("white to black 127") << clWhite << kBlack << 0 << 0 << 127 << entry(128, 128, 128);
    QTest::newRow("white to black 255") << clWhite << kBlack << 0 << 0 << 255 << entry(0, 0, 0);

    // MulDiv(-255, 50, 100) is -127.5, rounded away from zero.
    QTest::newRow("shift 50 moves A") << clWhite << kBlack << 50 << 0 << 0 << entry(127, 127, 127);
    QTest::newRow("shift -50 moves B") << clWhite << kBlack << -50 << 0 << 255 << entry(128, 128, 128);

    QTest::newRow("rotation 100 at 0") << clWhite << kBlack << 0 << 100 << 0 << entry(0, 0, 0);
    QTest::newRow("rotation 100 at 255") << clWhite << kBlack << 0 << 100 << 255 << entry(255, 255, 255);
    QTest::newRow("rotation 100 at 1") << clWhite << face << 0 << 100 << 1 << entry(213, 209, 201);
    QTest::newRow("rotation -100 at 0") << clWhite << kBlack << 0 << -100 << 0 << entry(0, 0, 0);
    QTest::newRow("rotation -100 at 1") << clWhite << face << 0 << -100 << 1 << entry(212, 208, 200);
    QTest::newRow("rotation -100 at 255") << clWhite << kBlack << 0 << -100 << 255 << entry(255, 255, 255);

    // Rotation 50: k = 128, B reached at entry 127; the quotient -128.5 truncates to -128.
    QTest::newRow("rotation 50 at 64") << clWhite << kBlack << 0 << 50 << 64 << entry(127, 127, 127);
    QTest::newRow("rotation 50 at 127") << clWhite << kBlack << 0 << 50 << 127 << entry(0, 0, 0);
    QTest::newRow("rotation 50 at 255") << clWhite << kBlack << 0 << 50 << 255 << entry(255, 255, 255);
    // Rotation -10: k = -26, A reached at entry 26.
    QTest::newRow("rotation -10 at 13") << clWhite << kBlack << 0 << -10 << 13 << entry(127, 127, 127);
    QTest::newRow("rotation -10 at 26") << clWhite << kBlack << 0 << -10 << 26 << entry(255, 255, 255);
    QTest::newRow("rotation -10 at 27") << clWhite << kBlack << 0 << -10 << 27 << entry(253, 253, 253);
    QTest::newRow("rotation -10 at 255") << clWhite << kBlack << 0 << -10 << 255 << entry(0, 0, 0);

    QTest::newRow("reversed welcome 0") << kNavy << kOlive << -10 << 5 << 0 << entry(0, 0, 128);
    QTest::newRow("reversed welcome 242") << kNavy << kOlive << -10 << 5 << 242 << entry(115, 115, 13);
}

void TestGradient::rampEntries()
{
    QFETCH(TColor, a);
    QFETCH(TColor, b);
    QFETCH(int, shift);
    QFETCH(int, rotation);
    QFETCH(int, index);
    QFETCH(TGradientEntry, expected);
    QCOMPARE(buildGradientColors(a, b, shift, rotation)[static_cast<std::size_t>(index)], expected);
}

void TestGradient::rampShiftToTheEnds()
{
    for (int rotation : { -100, -37, 0, 5, 100 }) {
        const TGradientColors towardsB = buildGradientColors(kOlive, kNavy, 100, rotation);
        const TGradientColors towardsA = buildGradientColors(kOlive, kNavy, -100, rotation);
        for (int i = 0; i < 256; ++i) {
            QCOMPARE(towardsB[static_cast<std::size_t>(i)], entry(kNavy));
            QCOMPARE(towardsA[static_cast<std::size_t>(i)], entry(kOlive));
        }
    }
    const TGradientColors plain = buildGradientColors(clWhite, kBlack, 0, 0);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(plain[static_cast<std::size_t>(i)], entry(255 - i, 255 - i, 255 - i));
}

void TestGradient::rampOfEqualColoursIsUniform()
{
    const TColor c = rgbColor(10, 20, 30);
    for (int shift : { -100, -3, 0, 37 }) {
        for (int rotation : { -100, -63, 0, 50, 100 }) {
            const TGradientColors colors = buildGradientColors(c, c, shift, rotation);
            for (const TGradientEntry &e : colors)
                QCOMPARE(e, entry(c));
        }
    }
    // Every style then paints one colour.
    const TGradientColors colors = buildGradientColors(c, c, 0, 20);
    for (int s = gsRadialC; s <= gsButterfly; ++s) {
        QImage pattern;
        kGradientStyleRoutines[s](colors, pattern);
        for (int y = 0; y < pattern.height(); ++y)
            for (int x = 0; x < pattern.width(); ++x)
                QCOMPARE(pattern.pixel(x, y), qRgb(10, 20, 30));
    }
}

void TestGradient::stylePatterns_data()
{
    QTest::addColumn<TGradientStyle>("style");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<Pixel>>("pixels");

    // Radial styles: the corners lie 255 entries from the centre, the middle of a far edge 180.
    QTest::newRow("RadialC") << gsRadialC << QSize(362, 362)
                             << QList<Pixel> { { 180, 180, 0 }, { 181, 181, 0 }, { 180, 181, 0 }, { 0, 0, 255 },
                                    { 361, 0, 255 }, { 0, 361, 255 }, { 361, 361, 255 }, { 180, 0, 180 },
                                    { 0, 181, 180 }, { 361, 180, 180 }, { 181, 361, 180 }, { 177, 176, 5 } };
    QTest::newRow("RadialT") << gsRadialT << QSize(362, 181)
                             << QList<Pixel> { { 180, 0, 0 }, { 181, 0, 0 }, { 0, 180, 255 }, { 361, 180, 255 },
                                    { 0, 0, 180 }, { 181, 180, 180 } };
    QTest::newRow("RadialB") << gsRadialB << QSize(362, 181)
                             << QList<Pixel> { { 180, 180, 0 }, { 181, 180, 0 }, { 0, 0, 255 }, { 361, 0, 255 },
                                    { 0, 180, 180 }, { 180, 0, 180 } };
    QTest::newRow("RadialL") << gsRadialL << QSize(181, 362)
                             << QList<Pixel> { { 0, 180, 0 }, { 0, 181, 0 }, { 180, 0, 255 }, { 180, 361, 255 },
                                    { 0, 0, 180 }, { 180, 180, 180 } };
    QTest::newRow("RadialR") << gsRadialR << QSize(181, 362)
                             << QList<Pixel> { { 180, 180, 0 }, { 180, 181, 0 }, { 0, 0, 255 }, { 0, 361, 255 },
                                    { 180, 0, 180 }, { 0, 181, 180 } };
    QTest::newRow("RadialTL") << gsRadialTL << QSize(181, 181)
                              << QList<Pixel> { { 0, 0, 0 }, { 180, 180, 255 }, { 180, 0, 180 }, { 3, 4, 5 } };
    QTest::newRow("RadialTR") << gsRadialTR << QSize(181, 181)
                              << QList<Pixel> { { 180, 0, 0 }, { 0, 180, 255 }, { 0, 0, 180 }, { 177, 4, 5 } };
    QTest::newRow("RadialBL") << gsRadialBL << QSize(181, 181)
                              << QList<Pixel> { { 0, 180, 0 }, { 180, 0, 255 }, { 0, 0, 180 }, { 3, 176, 5 } };
    QTest::newRow("RadialBR") << gsRadialBR << QSize(181, 181)
                              << QList<Pixel> { { 180, 180, 0 }, { 0, 0, 255 }, { 180, 0, 180 }, { 177, 176, 5 } };

    QTest::newRow("LinearH") << gsLinearH << QSize(1, 256)
                             << QList<Pixel> { { 0, 0, 0 }, { 0, 77, 77 }, { 0, 255, 255 } };
    QTest::newRow("LinearV") << gsLinearV << QSize(256, 1)
                             << QList<Pixel> { { 0, 0, 0 }, { 77, 0, 77 }, { 255, 0, 255 } };
    QTest::newRow("ReflectedH") << gsReflectedH << QSize(1, 512)
                                << QList<Pixel> { { 0, 0, 255 }, { 0, 255, 0 }, { 0, 256, 0 }, { 0, 300, 44 },
                                       { 0, 511, 255 } };
    QTest::newRow("ReflectedV") << gsReflectedV << QSize(512, 1)
                                << QList<Pixel> { { 0, 0, 255 }, { 255, 0, 0 }, { 256, 0, 0 }, { 300, 0, 44 },
                                       { 511, 0, 255 } };
    QTest::newRow("DiagonalLF") << gsDiagonalLF << QSize(128, 129)
                                << QList<Pixel> { { 0, 0, 127 }, { 127, 0, 0 }, { 0, 128, 255 }, { 127, 128, 128 } };
    QTest::newRow("DiagonalLB") << gsDiagonalLB << QSize(128, 129)
                                << QList<Pixel> { { 0, 0, 0 }, { 127, 0, 127 }, { 0, 128, 128 }, { 127, 128, 255 } };
    QTest::newRow("DiagonalRF") << gsDiagonalRF << QSize(256, 256)
                                << QList<Pixel> { { 0, 0, 0 }, { 255, 0, 255 }, { 0, 255, 255 }, { 255, 255, 0 },
                                       { 100, 30, 70 } };
    QTest::newRow("DiagonalRB") << gsDiagonalRB << QSize(256, 256)
                                << QList<Pixel> { { 0, 0, 255 }, { 255, 0, 0 }, { 0, 255, 0 }, { 255, 255, 255 },
                                       { 100, 30, 125 } };
    QTest::newRow("ArrowL") << gsArrowL << QSize(129, 256)
                            << QList<Pixel> { { 0, 0, 255 }, { 128, 0, 127 }, { 0, 127, 128 }, { 128, 127, 0 },
                                   { 0, 128, 128 }, { 128, 128, 0 }, { 0, 255, 255 }, { 128, 255, 127 } };
    QTest::newRow("ArrowR") << gsArrowR << QSize(129, 256)
                            << QList<Pixel> { { 0, 0, 127 }, { 128, 0, 255 }, { 0, 127, 0 }, { 0, 128, 0 },
                                   { 128, 128, 128 }, { 0, 255, 127 }, { 128, 255, 255 } };
    QTest::newRow("ArrowU") << gsArrowU << QSize(256, 129)
                            << QList<Pixel> { { 0, 0, 255 }, { 0, 128, 127 }, { 127, 0, 128 }, { 127, 128, 0 },
                                   { 128, 0, 128 }, { 128, 128, 0 }, { 255, 0, 255 }, { 255, 128, 127 } };
    QTest::newRow("ArrowD") << gsArrowD << QSize(256, 129)
                            << QList<Pixel> { { 0, 0, 127 }, { 0, 128, 255 }, { 127, 0, 0 }, { 128, 0, 0 },
                                   { 128, 128, 128 }, { 255, 0, 127 }, { 255, 128, 255 } };
    QTest::newRow("Diamond") << gsDiamond << QSize(256, 256)
                             << QList<Pixel> { { 0, 0, 255 }, { 255, 0, 255 }, { 0, 255, 255 }, { 255, 255, 255 },
                                    { 127, 127, 1 }, { 128, 127, 1 }, { 127, 128, 1 }, { 128, 128, 1 }, { 0, 127, 128 },
                                    { 128, 0, 128 } };
    QTest::newRow("Butterfly") << gsButterfly << QSize(256, 256)
                               << QList<Pixel> { { 0, 128, 0 }, { 0, 0, 128 }, { 127, 127, 128 }, { 128, 0, 255 },
                                      { 255, 127, 1 }, { 127, 255, 254 }, { 128, 255, 255 }, { 255, 128, 1 },
                                      { 255, 255, 128 } };
}

void TestGradient::stylePatterns()
{
    QFETCH(TGradientStyle, style);
    QFETCH(QSize, size);
    QFETCH(QList<Pixel>, pixels);

    QImage pattern;
    kGradientStyleRoutines[style](indexRamp(), pattern);
    QCOMPARE(pattern.size(), size);
    QCOMPARE(pattern.format(), QImage::Format_BGR888);
    for (const Pixel &p : pixels)
        QVERIFY2(entryAt(pattern, p.x, p.y) == p.index,
            qPrintable(QStringLiteral("pixel (%1, %2) took entry %3, not %4")
                           .arg(p.x)
                           .arg(p.y)
                           .arg(entryAt(pattern, p.x, p.y))
                           .arg(p.index)));
}

void TestGradient::styleRowsAreBlueGreenRed()
{
    TGradientColors colors = indexRamp();
    colors[0] = entry(0x11, 0x22, 0x33);
    QImage pattern;
    kGradientStyleRoutines[gsLinearV](colors, pattern);
    const uchar *row = pattern.constScanLine(0);
    QCOMPARE(row[0], uchar(0x33));
    QCOMPARE(row[1], uchar(0x22));
    QCOMPARE(row[2], uchar(0x11));
    QCOMPARE(pattern.pixel(0, 0), qRgb(0x11, 0x22, 0x33));
}

void TestGradient::radialDistanceRoundsTheSquareRoot()
{
    QImage pattern;
    kGradientStyleRoutines[gsRadialTL](indexRamp(), pattern);
    for (int y = 0; y < 181; ++y) {
        for (int x = 0; x < 181; ++x) {
            // The nearest integer r to the root: r² - r < d² <= r² + r.
            const int d2 = x * x + y * y;
            const int r = entryAt(pattern, x, y);
            QVERIFY(r * r - r < d2 || d2 == 0);
            QVERIFY(d2 <= r * r + r);
        }
    }
}

void TestGradient::entryZeroPixels_data()
{
    QTest::addColumn<TGradientStyle>("style");
    QTest::addColumn<QList<QPoint>>("zeros");
    // The diamond's centre takes entry 1 (see its pattern row), and nothing takes entry 0.
    QTest::newRow("Diamond") << gsDiamond << QList<QPoint> {};
    QTest::newRow("Butterfly") << gsButterfly << QList<QPoint> { QPoint(0, 128) };
}

void TestGradient::entryZeroPixels()
{
    QFETCH(TGradientStyle, style);
    QImage pattern;
    kGradientStyleRoutines[style](indexRamp(), pattern);
    QList<QPoint> zeros;
    for (int y = 0; y < pattern.height(); ++y)
        for (int x = 0; x < pattern.width(); ++x)
            if (entryAt(pattern, x, y) == 0)
                zeros.append(QPoint(x, y));
    QTEST(zeros, "zeros");
}

void TestGradient::stylesReuseAPatternOfTheRightSize()
{
    QImage pattern(7, 3, QImage::Format_RGB32);
    pattern.fill(Qt::red);
    kGradientStyleRoutines[gsDiagonalRF](indexRamp(), pattern);
    QCOMPARE(pattern.size(), QSize(256, 256));
    QCOMPARE(pattern.format(), QImage::Format_BGR888);
    const QImage shared = pattern;
    kGradientStyleRoutines[gsDiagonalRB](indexRamp(), pattern);
    // The copy taken before keeps its pixels: writing detaches.
    QCOMPARE(entryAt(shared, 0, 0), 0);
    QCOMPARE(entryAt(pattern, 0, 0), 255);
}

void TestGradient::defaultControl()
{
    const TGradient g;
    QCOMPARE(g.ColorBegin(), clWhite);
    QCOMPARE(g.ColorEnd(), TColor(0x8000000F));
    QCOMPARE(g.Style(), gsRadialC);
    QCOMPARE(int(g.Shift()), 0);
    QCOMPARE(int(g.Rotation()), 0);
    QCOMPARE(g.Reverse(), false);
    QCOMPARE(g.size(), QSize(100, 100));
    QVERIFY(g.testAttribute(Qt::WA_OpaquePaintEvent));
    QVERIFY(!g.Building());
    QVERIFY(!g.OnCustom);

    // White in the middle, the button face in the corners, entry 180 at the edges' middles.
    const QImage &p = g.Pattern();
    QCOMPARE(p.size(), QSize(362, 362));
    QCOMPARE(p.pixel(180, 180), qRgb(255, 255, 255));
    QCOMPARE(p.pixel(181, 181), qRgb(255, 255, 255));
    QCOMPARE(p.pixel(0, 0), qRgb(212, 208, 200));
    QCOMPARE(p.pixel(361, 361), qRgb(212, 208, 200));
    QCOMPARE(p.pixel(180, 0), qRgb(225, 222, 217));
}

void TestGradient::shiftAndRotationAreClamped()
{
    TGradient g;
    g.SetShift(150);
    QCOMPARE(int(g.Shift()), 100);
    g.SetShift(-128);
    QCOMPARE(int(g.Shift()), -100);
    g.SetShift(-7);
    QCOMPARE(int(g.Shift()), -7);
    g.SetRotation(1000);
    QCOMPARE(int(g.Rotation()), 100);
    g.SetRotation(-101);
    QCOMPARE(int(g.Rotation()), -100);
}

void TestGradient::equalAssignmentDoesNotRebuild()
{
    CountingGradient g;
    g.SetShift(100);
    g.SetRotation(-100);
    QCOMPARE(g.rebuilds, 2);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QTRY_VERIFY(g.paints > 0);
    g.paints = 0;
    g.rebuilds = 0;

    g.SetShift(150); // clamps to the 100 already held
    g.SetRotation(-128);
    g.SetColorBegin(clWhite);
    g.SetColorEnd(clBtnFace);
    g.SetStyle(gsRadialC);
    g.SetReverse(false);
    g.OnCustom = [](TGradient *, const TGradientColors &, QImage &) {};
    QCoreApplication::processEvents();
    QTest::qWait(20);
    QCOMPARE(g.rebuilds, 0);
    QCOMPARE(g.paints, 0);
}

void TestGradient::changedAssignmentRebuildsAndRepaints()
{
    CountingGradient g;
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QTRY_VERIFY(g.paints > 0);

    // The raw value counts: the button face's own RGB value is a different colour value.
    g.paints = 0;
    g.SetColorEnd(kButtonFace);
    QCOMPARE(g.rebuilds, 1);
    QTRY_VERIFY(g.paints > 0);

    g.SetColorBegin(kOlive);
    g.SetStyle(gsDiamond);
    g.SetShift(3);
    g.SetRotation(4);
    g.SetReverse(true);
    QCOMPARE(g.rebuilds, 6);
    QCOMPARE(g.Pattern().size(), QSize(256, 256));
}

void TestGradient::resizeDoesNotRebuild()
{
    CountingGradient g;
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.resize(640, 480);
    g.hide();
    g.move(10, 10);
    g.show();
    QCoreApplication::processEvents();
    QCOMPARE(g.rebuilds, 0);
    QCOMPARE(g.Pattern().size(), QSize(362, 362));
}

void TestGradient::loadingBuildsOnce()
{
    CountingGradient g;
    g.BeginLoading();
    g.SetColorBegin(kOlive);
    g.SetColorEnd(kNavy);
    g.SetRotation(5);
    g.SetShift(-10);
    QCOMPARE(g.Pattern().pixel(0, 0), qRgb(212, 208, 200)); // still the default pattern
    g.EndLoading();
    QCOMPARE(g.rebuilds, 5); // four refused while loading, one that builds
    // The corner takes entry 255, back at olive; the middle of the top edge entry 180.
    const TGradientEntry e180 = buildGradientColors(kOlive, kNavy, -10, 5)[180];
    QCOMPARE(g.Pattern().pixel(0, 0), qRgb(128, 128, 0));
    QCOMPARE(g.Pattern().pixel(180, 0), qRgb(e180.r, e180.g, e180.b));
}

void TestGradient::reverseSwapsTheEnds()
{
    TGradient g;
    g.SetColorBegin(kOlive);
    g.SetColorEnd(kNavy);
    g.SetStyle(gsLinearV);
    QCOMPARE(g.Pattern().pixel(0, 0), qRgb(128, 128, 0));
    QCOMPARE(g.Pattern().pixel(255, 0), qRgb(0, 0, 128));
    g.SetReverse(true);
    QCOMPARE(g.Pattern().pixel(0, 0), qRgb(0, 0, 128));
    QCOMPARE(g.Pattern().pixel(255, 0), qRgb(128, 128, 0));
}

void TestGradient::checkerboardWithoutHandler()
{
    TGradient g;
    g.SetColorBegin(kOlive);
    g.SetColorEnd(clBtnFace);
    g.SetShift(40);
    g.SetRotation(-30);
    g.SetStyle(gsCustom);
    const QImage &p = g.Pattern();
    QCOMPARE(p.size(), QSize(2, 2));
    // The full end colours, untouched by Shift and Rotation.
    QCOMPARE(p.pixel(0, 0), qRgb(128, 128, 0));
    QCOMPARE(p.pixel(1, 1), qRgb(128, 128, 0));
    QCOMPARE(p.pixel(1, 0), qRgb(212, 208, 200));
    QCOMPARE(p.pixel(0, 1), qRgb(212, 208, 200));

    g.SetReverse(true);
    QCOMPARE(g.Pattern().pixel(0, 0), qRgb(212, 208, 200));
    QCOMPARE(g.Pattern().pixel(1, 0), qRgb(128, 128, 0));
}

void TestGradient::customHandlerSizesThePattern()
{
    TGradient g;
    int calls = 0;
    TGradientColors received {};
    bool buildingDuringHandler = false;
    g.OnCustom = [&](TGradient *Sender, const TGradientColors &Colors, QImage &Pattern) {
        ++calls;
        QCOMPARE(Sender, &g);
        buildingDuringHandler = Sender->Building();
        received = Colors;
        Pattern = QImage(3, 5, QImage::Format_BGR888);
        Pattern.fill(QColor(1, 2, 3));
    };
    QCOMPARE(calls, 0); // assigning the handler builds nothing
    g.SetColorBegin(clWhite);
    g.SetColorEnd(kBlack);
    g.SetShift(10);
    g.SetRotation(20);
    QCOMPARE(calls, 0);
    g.SetStyle(gsCustom);
    QCOMPARE(calls, 1);
    QVERIFY(buildingDuringHandler);
    QVERIFY(!g.Building());
    QCOMPARE(received, buildGradientColors(clWhite, kBlack, 10, 20));
    QCOMPARE(g.Pattern().size(), QSize(3, 5));

    g.resize(30, 50);
    const QImage shown = g.grab().toImage();
    QCOMPARE(shown.size(), QSize(30, 50));
    QCOMPARE(shown.pixel(0, 0), qRgb(1, 2, 3));
    QCOMPARE(shown.pixel(29, 49), qRgb(1, 2, 3));
}

void TestGradient::customHandlerLeavingThePatternKeepsIt()
{
    TGradient g;
    g.SetStyle(gsLinearH);
    const QImage before = g.Pattern();
    g.OnCustom = [](TGradient *, const TGradientColors &, QImage &) {};
    g.SetStyle(gsCustom);
    QCOMPARE(g.Pattern().size(), QSize(1, 256));
    QCOMPARE(g.Pattern(), before);
}

void TestGradient::customHandlerFailureClearsTheBuildingFlag()
{
    TGradient g;
    g.OnCustom = [](TGradient *, const TGradientColors &, QImage &Pattern) {
        Pattern = QImage(4, 4, QImage::Format_BGR888);
        throw std::runtime_error("handler failed");
    };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, g.SetStyle(gsCustom));
    QVERIFY(!g.Building());
    QCOMPARE(g.Style(), gsCustom);
    QCOMPARE(g.Pattern().size(), QSize(4, 4));
}

void TestGradient::paintScalesToTheClientRectangle()
{
    TGradient g;
    g.SetColorBegin(clWhite);
    g.SetColorEnd(kBlack);
    g.SetStyle(gsLinearV);
    g.resize(512, 10);
    const QImage shown = g.grab().toImage();
    QCOMPARE(shown.size(), QSize(512, 10));
    // Two target columns for each ramp entry, no smoothing between them.
    for (int x : { 0, 1, 2, 3, 254, 255, 510, 511 })
        QCOMPARE(shown.pixel(x, 5), qRgb(255 - x / 2, 255 - x / 2, 255 - x / 2));

    g.SetStyle(gsCustom);
    g.resize(40, 20);
    const QImage quarters = g.grab().toImage();
    QCOMPARE(quarters.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(quarters.pixel(19, 9), qRgb(255, 255, 255));
    QCOMPARE(quarters.pixel(20, 9), qRgb(0, 0, 0));
    QCOMPARE(quarters.pixel(19, 10), qRgb(0, 0, 0));
    QCOMPARE(quarters.pixel(39, 19), qRgb(255, 255, 255));
}

void TestGradient::mouseEvents()
{
    TGradient g;
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QList<QPoint> moves;
    int clicks = 0;
    g.OnMouseMove = [&](TGradient *Sender, QMouseEvent *event) {
        QCOMPARE(Sender, &g);
        moves.append(event->position().toPoint());
    };
    g.OnClick = [&](TGradient *) { ++clicks; };
    QTest::mouseMove(&g, QPoint(10, 20));
    QTRY_VERIFY(!moves.isEmpty());
    QCOMPARE(moves.last(), QPoint(10, 20));
    QTest::mouseClick(&g, Qt::LeftButton, {}, QPoint(30, 30));
    QCOMPARE(clicks, 1);
}

QTEST_MAIN(TestGradient)
#include "tst_gradient.moc"
