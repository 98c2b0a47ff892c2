// main of the redraw benchmarks: Google Benchmark's, with the cost of the
// empty timed loop measured first, so that every figure can leave it out
// (see RedrawTiming.h).

#include <string>

#include "RedrawTiming.h"

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    measureLoopOverhead();
    benchmark::AddCustomContext("loop_ns (empty timed loop, taken off net_ns)",
                                std::to_string(loopOverheadNanoseconds()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
