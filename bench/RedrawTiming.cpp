#include "RedrawTiming.h"

#include <time.h>

#include <algorithm>
#include <limits>

namespace {

double g_loopOverheadNanoseconds = 0;

} // namespace

double threadCpuNanoseconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e9 + now.tv_nsec;
}

void measureLoopOverhead()
{
    // The same counted loop and barrier as the benchmark's own loop in
    // timeRuns, best of a few rounds.
    const benchmark::IterationCount c_iterations = 20000000;
    const int c_rounds = 5;
    double best = std::numeric_limits<double>::max();
    for (int round = 0; round < c_rounds; ++round) {
        const double start = threadCpuNanoseconds();
        for (benchmark::IterationCount i = c_iterations; i != 0; --i)
            benchmark::ClobberMemory();
        best = std::min(best, (threadCpuNanoseconds() - start) / c_iterations);
    }
    g_loopOverheadNanoseconds = best;
}

double loopOverheadNanoseconds()
{
    return g_loopOverheadNanoseconds;
}

void reportRedraws(benchmark::State& state, double cpuNanosecondsPerRun, double pixelsPerRun)
{
    const double net = std::max(cpuNanosecondsPerRun - g_loopOverheadNanoseconds, 0.0);
    state.counters["net_ns"] = net;
    state.counters["loop_ns"] = g_loopOverheadNanoseconds;
    state.counters["Mpixel_per_s"] = net > 0 ? pixelsPerRun / net * 1e3 : 0;
}
