// How long the About window's credits take to compose one frame. Every tick composes a frame,
// and at 55 ms a step a frame has to stay well within 2 ms for the scrolling never to stutter.
// Wall time includes whatever else the machine is doing; the thread's CPU time does not.

#include "BenchTiming.h"

#include "widgets/ui/About1.h"
#include "widgets/ui/Credits.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void report(const char *what, std::vector<double> frames)
{
    double total = 0;
    for (double ms : frames)
        total += ms;
    const auto over = std::count_if(frames.begin(), frames.end(), [](double ms) { return ms > 2.0; });
    std::sort(frames.begin(), frames.end());
    const auto percentile = [&](double p) {
        return frames[std::min(frames.size() - 1, static_cast<std::size_t>(p * static_cast<double>(frames.size())))];
    };
    std::printf("  %-9s mean %.3f ms, median %.3f ms, 99th percentile %.3f ms, worst %.3f ms, over 2 ms: %lld\n", what,
        total / static_cast<double>(frames.size()), percentile(0.5), percentile(0.99), frames.back(),
        static_cast<long long>(over));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TAboutBox box;
    TScrollingCredits &credits = *box.sc1;
    credits.setInterval(0); // the benchmark steps the block itself
    credits.setAnimate(true);

    const int passTicks = credits.height() + static_cast<int>(credits.Credits().size()) * credits.lineHeight() + 2;
    const int passes = 5;
    const vorrel::bench::Timings frames = vorrel::bench::timeRuns(passTicks * passes, [&credits] { credits.tick(); });

    std::printf("About credits frame, %dx%d, %lld lines, %zu frames in %d passes (target: under 2 ms; a step every "
                "55 ms):\n",
        credits.width(), credits.height(), static_cast<long long>(credits.Credits().size()), frames.wallMs.size(),
        passes);
    report("wall", frames.wallMs);
    report("CPU", frames.cpuMs);
    return 0;
}
