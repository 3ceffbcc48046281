// Gradient panel timings: a rebuild in every style (ramp and pattern) within 2 ms, and a paint
// of a 1920 × 1080 panel within 10 ms. Prints the median of many runs; exits 1 when a figure
// is over its limit.

#include "BenchTiming.h"

#include "widgets/ui/Gradient.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <functional>

using namespace vorrel;

namespace {

constexpr double kRebuildLimitMs = 2.0;
constexpr double kPaintLimitMs = 10.0;

const char *const kStyleNames[kGradientStyleCount] = { "gsCustom", "gsRadialC", "gsRadialT", "gsRadialB", "gsRadialL",
    "gsRadialR", "gsRadialTL", "gsRadialTR", "gsRadialBL", "gsRadialBR", "gsLinearH", "gsLinearV", "gsReflectedH",
    "gsReflectedV", "gsDiagonalLF", "gsDiagonalLB", "gsDiagonalRF", "gsDiagonalRB", "gsArrowL", "gsArrowR", "gsArrowU",
    "gsArrowD", "gsDiamond", "gsButterfly" };

// Wall time of the median run; `run` is told which run it is.
double medianMs(int runs, const std::function<void(int)> &run)
{
    int i = 0;
    return bench::medianOf(bench::timeRuns(runs, [&] { run(i++); }).wallMs);
}

bool report(const char *what, double ms, double limit)
{
    const bool ok = ms <= limit;
    std::printf("%-28s %8.3f ms   (limit %5.1f ms)  %s\n", what, ms, limit, ok ? "ok" : "TOO SLOW");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    bool ok = true;

    // The welcome window's settings; the shift alternates so that every run really rebuilds.
    TGradient gradient;
    gradient.SetColorBegin(rgbColor(128, 128, 0));
    gradient.SetColorEnd(rgbColor(0, 0, 128));
    gradient.SetRotation(5);
    gradient.OnCustom = [](TGradient *, const TGradientColors &colors, QImage &pattern) {
        kGradientStyleRoutines[gsDiagonalRF](colors, pattern);
    };

    std::printf("Rebuild (ramp and pattern), median of 200:\n");
    for (int s = 0; s < kGradientStyleCount; ++s) {
        gradient.SetStyle(static_cast<TGradientStyle>(s));
        const double ms = medianMs(200, [&](int i) { gradient.SetShift(i % 2 ? -10 : -11); });
        ok = report(kStyleNames[s], ms, kRebuildLimitMs) && ok;
    }

    std::printf("Paint of a 1920 x 1080 panel, median of 50:\n");
    gradient.resize(1920, 1080);
    QImage target(1920, 1080, QImage::Format_RGB32);
    for (TGradientStyle style : { gsRadialC, gsLinearH, gsDiamond }) {
        gradient.SetStyle(style);
        const double ms = medianMs(50, [&](int) { gradient.render(&target); });
        ok = report(kStyleNames[style], ms, kPaintLimitMs) && ok;
    }
    return ok ? 0 : 1;
}
