#include "BenchTiming.h"

#include <QElapsedTimer>

#include <algorithm>
#include <ctime>

namespace vorrel::bench {

double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

Timings timeRuns(int runs, const std::function<void()> &run)
{
    Timings timings;
    timings.wallMs.reserve(static_cast<std::size_t>(runs));
    timings.cpuMs.reserve(static_cast<std::size_t>(runs));
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = threadCpuMs();
        clock.start();
        run();
        timings.wallMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        timings.cpuMs.push_back(threadCpuMs() - cpuStart);
    }
    return timings;
}

double medianOf(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

double bestOf(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

double worstOf(const std::vector<double> &values)
{
    return *std::max_element(values.begin(), values.end());
}

Timing medianTiming(int runs, const std::function<void()> &run)
{
    const Timings t = timeRuns(runs, run);
    return { medianOf(t.wallMs), medianOf(t.cpuMs) };
}

} // namespace vorrel::bench
