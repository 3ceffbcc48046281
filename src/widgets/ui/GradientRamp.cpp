#include "widgets/ui/GradientRamp.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace vorrel {

namespace {

struct PaletteColor
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// System colour numbers 0..30 and the palette entry that plays the same part.
constexpr std::array<PaletteColor, 31> kSystemColors { {
    { QPalette::Active, QPalette::Button }, // 0 scroll bar
    { QPalette::Active, QPalette::Dark }, // 1 desktop
    { QPalette::Active, QPalette::Highlight }, // 2 active caption
    { QPalette::Inactive, QPalette::Highlight }, // 3 inactive caption
    { QPalette::Active, QPalette::Window }, // 4 menu
    { QPalette::Active, QPalette::Base }, // 5 window
    { QPalette::Active, QPalette::Shadow }, // 6 window frame
    { QPalette::Active, QPalette::WindowText }, // 7 menu text
    { QPalette::Active, QPalette::Text }, // 8 window text
    { QPalette::Active, QPalette::HighlightedText }, // 9 caption text
    { QPalette::Active, QPalette::Button }, // 10 active border
    { QPalette::Inactive, QPalette::Button }, // 11 inactive border
    { QPalette::Active, QPalette::Dark }, // 12 application workspace
    { QPalette::Active, QPalette::Highlight }, // 13 highlight
    { QPalette::Active, QPalette::HighlightedText }, // 14 highlight text
    { QPalette::Active, QPalette::Button }, // 15 button face
    { QPalette::Active, QPalette::Dark }, // 16 button shadow
    { QPalette::Disabled, QPalette::Text }, // 17 grey text
    { QPalette::Active, QPalette::ButtonText }, // 18 button text
    { QPalette::Inactive, QPalette::HighlightedText }, // 19 inactive caption text
    { QPalette::Active, QPalette::Light }, // 20 button highlight
    { QPalette::Active, QPalette::Shadow }, // 21 3D dark shadow
    { QPalette::Active, QPalette::Midlight }, // 22 3D light
    { QPalette::Active, QPalette::ToolTipText }, // 23 info text
    { QPalette::Active, QPalette::ToolTipBase }, // 24 info background
    { QPalette::Active, QPalette::Button }, // 25 unused
    { QPalette::Active, QPalette::Link }, // 26 hot light
    { QPalette::Active, QPalette::Highlight }, // 27 gradient active caption
    { QPalette::Inactive, QPalette::Highlight }, // 28 gradient inactive caption
    { QPalette::Active, QPalette::Highlight }, // 29 menu highlight
    { QPalette::Active, QPalette::Window }, // 30 menu bar
} };

// round(sqrt(dx² + dy²)) for dx, dy in 0..180: the ramp entry of every radial pixel. An exact
// half cannot occur, since (r + 0.5)² is never an integer.
using DistanceTable = std::array<std::array<std::uint8_t, 181>, 181>;

const DistanceTable &distanceTable()
{
    static const DistanceTable table = [] {
        DistanceTable t {};
        for (int dy = 0; dy <= 180; ++dy)
            for (int dx = 0; dx <= 180; ++dx)
                t[dy][dx] = static_cast<std::uint8_t>(std::lround(std::sqrt(static_cast<double>(dx * dx + dy * dy))));
        return t;
    }();
    return table;
}

void setPatternSize(QImage &pattern, int width, int height)
{
    if (pattern.width() != width || pattern.height() != height || pattern.format() != kPatternFormat)
        pattern = QImage(width, height, kPatternFormat);
}

inline void putEntry(uchar *pixel, const TGradientEntry &entry)
{
    std::memcpy(pixel, &entry, sizeof entry);
}

// Sizes the pattern and gives pixel (x, y) the ramp entry index(x, y).
template<typename Index>
void fillPattern(const TGradientColors &colors, QImage &pattern, int width, int height, Index index)
{
    setPatternSize(pattern, width, height);
    for (int y = 0; y < height; ++y) {
        uchar *row = pattern.scanLine(y);
        for (int x = 0; x < width; ++x)
            putEntry(row + 3 * x, colors[static_cast<std::size_t>(index(x, y))]);
    }
}

// How a radial style measures the distance from its centre along one axis.
enum class Axis {
    Split, // 362 pixels, centre between 180 and 181, both at distance 0
    Rising, // 181 pixels, centre at 0
    Falling, // 181 pixels, centre at 180
};

constexpr int axisLength(Axis axis)
{
    return axis == Axis::Split ? 362 : 181;
}

constexpr int axisDistance(Axis axis, int c)
{
    switch (axis) {
    case Axis::Split:
        return c <= 180 ? 180 - c : c - 181;
    case Axis::Rising:
        return c;
    case Axis::Falling:
        return 180 - c;
    }
    return 0;
}

template<Axis AX, Axis AY> void radial(const TGradientColors &colors, QImage &pattern)
{
    constexpr int width = axisLength(AX);
    constexpr int height = axisLength(AY);
    setPatternSize(pattern, width, height);
    std::array<std::uint8_t, width> dx {};
    for (int x = 0; x < width; ++x)
        dx[x] = static_cast<std::uint8_t>(axisDistance(AX, x));
    const DistanceTable &distance = distanceTable();
    for (int y = 0; y < height; ++y) {
        const auto &entries = distance[axisDistance(AY, y)];
        uchar *row = pattern.scanLine(y);
        for (int x = 0; x < width; ++x)
            putEntry(row + 3 * x, colors[entries[dx[x]]]);
    }
}

void linearH(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 1, 256, [](int, int y) { return y; });
}

void linearV(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 256, 1, [](int x, int) { return x; });
}

void reflectedH(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 1, 512, [](int, int y) { return y <= 255 ? 255 - y : y - 256; });
}

void reflectedV(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 512, 1, [](int x, int) { return x <= 255 ? 255 - x : x - 256; });
}

void diagonalLF(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 128, 129, [](int x, int y) { return y - x + 127; });
}

void diagonalLB(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 128, 129, [](int x, int y) { return x + y; });
}

void diagonalRF(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 256, 256, [](int x, int y) { return std::abs(x - y); });
}

void diagonalRB(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 256, 256, [](int x, int y) { return std::abs(x + y - 255); });
}

void arrowL(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 129, 256, [](int x, int y) { return y <= 127 ? 255 - x - y : y - x; });
}

void arrowR(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 129, 256, [](int x, int y) { return y <= 127 ? x - y + 127 : x + y - 128; });
}

void arrowU(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 256, 129, [](int x, int y) { return x <= 127 ? 255 - x - y : x - y; });
}

void arrowD(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 256, 129, [](int x, int y) { return x <= 127 ? y - x + 127 : x + y - 128; });
}

void diamond(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 256, 256, [](int x, int y) {
        if (y <= 127)
            return x <= 127 ? 255 - x - y : x - y;
        return x <= 127 ? y - x : x + y - 255;
    });
}

void butterfly(const TGradientColors &c, QImage &p)
{
    fillPattern(c, p, 256, 256, [](int x, int y) {
        if (y <= 127)
            return x <= 127 ? x - y + 128 : 383 - x - y;
        return x <= 127 ? x + y - 128 : y - x + 128;
    });
}

} // namespace

TColor colorToRgb(TColor color, const SystemColorResolver &resolve)
{
    if (!isSystemColor(color))
        return color;
    return resolve(static_cast<int>(color & 0xFF)) & 0x00FFFFFFu;
}

TColor paletteSystemColor(int n)
{
    if (n < 0 || n >= static_cast<int>(kSystemColors.size()))
        return 0;
    const PaletteColor &entry = kSystemColors[static_cast<std::size_t>(n)];
    const QColor c = QGuiApplication::palette().color(entry.group, entry.role);
    return rgbColor(c.red(), c.green(), c.blue());
}

TColor colorToRgb(TColor color)
{
    return colorToRgb(color, paletteSystemColor);
}

int mulDiv(int a, int b, int d)
{
    if (d == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long magnitude = std::llabs(product);
    const long long divisor = std::llabs(static_cast<long long>(d));
    const long long rounded = (2 * magnitude + divisor) / (2 * divisor);
    const long long result = (product < 0) != (d < 0) ? -rounded : rounded;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(result);
}

TGradientColors buildGradientColors(TColor a, TColor b, int shift, int rotation)
{
    int from[3] = { redOf(a), greenOf(a), blueOf(a) };
    int to[3] = { redOf(b), greenOf(b), blueOf(b) };
    for (int c = 0; c < 3; ++c) {
        if (shift > 0)
            from[c] += mulDiv(to[c] - from[c], shift, 100);
        else if (shift < 0)
            to[c] += mulDiv(to[c] - from[c], shift, 100);
    }

    // Each channel is computed on its own; the quotients truncate towards zero and always
    // land between the two end values, so nothing is clamped.
    const int k = mulDiv(255, rotation, 100);
    TGradientColors colors;
    int channel[3];
    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 3; ++c) {
            const int d = to[c] - from[c];
            if (k == 0) {
                channel[c] = from[c] + i * d / 255;
            } else if (k > 0) {
                const int m = 255 - k;
                channel[c] = i < m ? from[c] + i * d / m : from[c] + (255 - i) * d / k;
            } else {
                const int n = -k;
                channel[c] = i <= n ? to[c] - i * d / n : to[c] - (255 - i) * d / (255 - n);
            }
        }
        colors[static_cast<std::size_t>(i)] = TGradientEntry { static_cast<std::uint8_t>(channel[2]),
            static_cast<std::uint8_t>(channel[1]), static_cast<std::uint8_t>(channel[0]) };
    }
    return colors;
}

const std::array<GradientStyleRoutine, kGradientStyleCount> kGradientStyleRoutines = {
    nullptr, // gsCustom
    &radial<Axis::Split, Axis::Split>, // gsRadialC
    &radial<Axis::Split, Axis::Rising>, // gsRadialT
    &radial<Axis::Split, Axis::Falling>, // gsRadialB
    &radial<Axis::Rising, Axis::Split>, // gsRadialL
    &radial<Axis::Falling, Axis::Split>, // gsRadialR
    &radial<Axis::Rising, Axis::Rising>, // gsRadialTL
    &radial<Axis::Falling, Axis::Rising>, // gsRadialTR
    &radial<Axis::Rising, Axis::Falling>, // gsRadialBL
    &radial<Axis::Falling, Axis::Falling>, // gsRadialBR
    &linearH,
    &linearV,
    &reflectedH,
    &reflectedV,
    &diagonalLF,
    &diagonalLB,
    &diagonalRF,
    &diagonalRB,
    &arrowL,
    &arrowR,
    &arrowU,
    &arrowD,
    &diamond,
    &butterfly,
};

void fillCheckerboard(QImage &pattern, TColor a, TColor b)
{
    setPatternSize(pattern, 2, 2);
    const QColor first(redOf(a), greenOf(a), blueOf(a));
    const QColor second(redOf(b), greenOf(b), blueOf(b));
    pattern.setPixelColor(0, 0, first);
    pattern.setPixelColor(1, 1, first);
    pattern.setPixelColor(1, 0, second);
    pattern.setPixelColor(0, 1, second);
}

} // namespace vorrel
