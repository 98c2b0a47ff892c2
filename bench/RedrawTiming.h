#ifndef OKU_BENCH_REDRAWTIMING_H
#define OKU_BENCH_REDRAWTIMING_H

#include <benchmark/benchmark.h>

// The timed loop of the redraw benchmarks and the figures they add to
// Google Benchmark's own columns (console, and CSV with
// --benchmark_format=csv or --benchmark_out_format=csv):
//   net_ns        CPU time of one run, the cost of the empty loop taken off
//   loop_ns       that cost, measured once at start-up, shown beside
//   Mpixel_per_s  pixels redrawn per run over net_ns (0 where a run redraws none)
// CPU time of the calling thread rather than wall time: on a busy machine it
// leaves out the time other processes hold the processor.

/// The CPU time the calling thread has used, in nanoseconds.
double threadCpuNanoseconds();

/// Measures the loop of timeRuns with nothing in its body; main calls it once
/// before any benchmark runs.
void measureLoopOverhead();
double loopOverheadNanoseconds();

/// Sets the three figures for runs that took cpuNanosecondsPerRun each and
/// each redrew pixelsPerRun pixels (0 for none). Every benchmark of a program
/// must set the same figures: the CSV output takes its columns from the first.
void reportRedraws(benchmark::State& state, double cpuNanosecondsPerRun, double pixelsPerRun);

/// Calls work once per iteration of the benchmark; returns the CPU time of
/// one call, the empty loop's cost still in it.
template <class Work>
double timeRuns(benchmark::State& state, Work&& work)
{
    const double start = threadCpuNanoseconds();
    for (auto _ : state) {
        work();
        benchmark::ClobberMemory();
    }
    return (threadCpuNanoseconds() - start) / static_cast<double>(state.iterations());
}

#endif
