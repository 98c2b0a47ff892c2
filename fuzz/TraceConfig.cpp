// The trace configuration file, "traceconfig.xml". Only its parsing is
// fuzzed: opening the outputs it names would let the fuzzer write files.

#include <sstream>
#include <string>

#include "FuzzInput.h"
#include "core/XMLError.h"
#include "core/detail/TraceConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        for (const OKU::TraceOutputConfig& output : OKU::parseTraceConfig(in)) {
            FUZZ_CHECK(output.defaultLimit >= OKU::TRACE_ERROR &&
                       output.defaultLimit <= OKU::TRACE_SILLY);
            for (const auto& category : output.categoryLimits)
                FUZZ_CHECK(category.second >= OKU::TRACE_ERROR &&
                           category.second <= OKU::TRACE_SILLY);
        }
    } catch (const OKU::XMLError&) {
    }
    return 0;
}
