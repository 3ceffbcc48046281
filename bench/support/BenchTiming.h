#pragma once

#include <functional>
#include <vector>

namespace vorrel::bench {

// Milliseconds of CPU time this thread has used. The machine's cores are shared: wall time
// includes whatever else runs meanwhile, the thread's CPU time does not.
double threadCpuMs();

// Wall and CPU milliseconds of each run, in the order of the runs.
struct Timings
{
    std::vector<double> wallMs;
    std::vector<double> cpuMs;
};

// Calls `run` `runs` times and times each call on its own.
Timings timeRuns(int runs, const std::function<void()> &run);

// The median wall and CPU milliseconds of `runs` calls of `run`.
struct Timing
{
    double wallMs;
    double cpuMs;
};
Timing medianTiming(int runs, const std::function<void()> &run);

// The middle value; of two middle ones, the larger.
double medianOf(std::vector<double> values);
double bestOf(const std::vector<double> &values);
double worstOf(const std::vector<double> &values);

} // namespace vorrel::bench
