// Gradient panel timings: a rebuild in every style (ramp and pattern) within 2 ms, and a paint
// of a 1920 × 1080 panel within 10 ms. Prints the median of many runs; exits 1 when a figure
// is over its limit.

#include "widgets/Gradient.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vorrel;

namespace {

constexpr double kRebuildLimitMs = 2.0;
constexpr double kPaintLimitMs = 10.0;

const char *const kStyleNames[kGradientStyleCount] = { "gsCustom", "gsRadialC", "gsRadialT", "gsRadialB", "gsRadialL",
    "gsRadialR", "gsRadialTL", "gsRadialTR", "gsRadialBL", "gsRadialBR", "gsLinearH", "gsLinearV", "gsReflectedH",
    "gsReflectedV", "gsDiagonalLF", "gsDiagonalLB", "gsDiagonalRF", "gsDiagonalRB", "gsArrowL", "gsArrowR", "gsArrowU",
    "gsArrowD", "gsDiamond", "gsButterfly" };

template<typename F> double medianMs(int runs, F &&run)
{
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        run(i);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<std::size_t>(runs / 2)];
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
