#pragma once

// The gradient panel's arithmetic: colour values, the 256-entry ramp and the routines that
// turn the ramp into a pattern image. Nothing here needs a window, so tests call it directly.

#include "widgets/Color.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <functional>

namespace vorrel {

// Gives the current RGB value (0x00BBGGRR) of system colour n.
using SystemColorResolver = std::function<TColor(int n)>;

// Replaces a system colour by what the resolver says it stands for now; RGB values pass through.
TColor colorToRgb(TColor color, const SystemColorResolver &resolve);
// The application palette's counterpart of system colour n (button face is QPalette::Button,
// window is Base, window text is Text, ...); black for numbers that name no system colour.
TColor paletteSystemColor(int n);
// colorToRgb with the application palette.
TColor colorToRgb(TColor color);

// a × b / d rounded to the nearest integer, halves away from zero; -1 when d is 0 or the
// result does not fit an int, like the platform call it stands for.
int mulDiv(int a, int b, int d);

// The ramp's styles, in their stored order; gsCustom leaves the pattern to the application.
enum TGradientStyle : std::uint8_t {
    gsCustom,
    gsRadialC,
    gsRadialT,
    gsRadialB,
    gsRadialL,
    gsRadialR,
    gsRadialTL,
    gsRadialTR,
    gsRadialBL,
    gsRadialBR,
    gsLinearH,
    gsLinearV,
    gsReflectedH,
    gsReflectedV,
    gsDiagonalLF,
    gsDiagonalLB,
    gsDiagonalRF,
    gsDiagonalRB,
    gsArrowL,
    gsArrowR,
    gsArrowU,
    gsArrowD,
    gsDiamond,
    gsButterfly,
};
inline constexpr int kGradientStyleCount = gsButterfly + 1;

using TGradientShift = std::int8_t;
using TGradientRotation = std::int8_t;
inline constexpr int kGradientLimit = 100;

// One ramp entry, laid out as a pixel of a 24-bit row: blue, green, red.
struct TGradientEntry
{
    std::uint8_t b = 0;
    std::uint8_t g = 0;
    std::uint8_t r = 0;

    friend bool operator==(const TGradientEntry &, const TGradientEntry &) = default;
};
static_assert(sizeof(TGradientEntry) == 3, "ramp entries are copied into pattern rows byte for byte");

using TGradientColors = std::array<TGradientEntry, 256>;

// The pattern image's format: 24 bits a pixel, bytes in the order blue, green, red.
inline constexpr QImage::Format kPatternFormat = QImage::Format_BGR888;

// The ramp from A to B (both RGB values, already resolved) after Shift and Rotation, each
// within -100..100.
TGradientColors buildGradientColors(TColor a, TColor b, int shift, int rotation);

// Sizes the pattern for one style and writes every pixel from the ramp.
using GradientStyleRoutine = void (*)(const TGradientColors &colors, QImage &pattern);
// The routine of each style, indexed by style; gsCustom's entry is empty.
extern const std::array<GradientStyleRoutine, kGradientStyleCount> kGradientStyleRoutines;

// The pattern gsCustom gets without a handler: 2 × 2, A at (0, 0) and (1, 1), B elsewhere.
void fillCheckerboard(QImage &pattern, TColor a, TColor b);

} // namespace vorrel
