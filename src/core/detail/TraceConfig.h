#ifndef OKU_CORE_DETAIL_TRACECONFIG_H
#define OKU_CORE_DETAIL_TRACECONFIG_H

#include <cstdint>
#include <istream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Trace.h"
#include "core/detail/TraceOutput.h"

namespace OKU {

/// Larger configuration files are refused as unreadable; a configuration of
/// a hundred outputs with a hundred categories each takes well under this.
constexpr std::uint64_t c_maxTraceConfigBytes = 1 << 20;

/// Level names of the configuration file and of OKU_TRACEDEFAULT: "error",
/// "warning", "info", "debug", "function", "silly", exact and lower case.
/// Unknown names return false and leave level unchanged.
bool traceLevelFromName(const std::string& name, TraceLevel& level);

/// One `<output>` of a trace configuration as the file describes it.
struct TraceOutputConfig {
    std::string type = "file";
    std::string fileName; ///< type "file" only, as written in the file
    bool flush = false;
    bool append = false;
    int backups = 0;
    long long maxBytes = 0; ///< 0: no rotation
    TraceLevel defaultLimit = TRACE_INFO;
    std::map<std::string, TraceLevel> categoryLimits;
};

/// Parses a trace configuration without opening anything, in document order:
///
///     <traceconfig>
///       <output type="file" filename="lifeboat.log" maxBytes="1000000"
///               backups="3" defaultlimit="warning" flush="true" append="false">
///         <category name="OKU::RootWidget" limit="debug"/>
///       </output>
///       <output type="stderr" defaultlimit="error"/>
///     </traceconfig>
///
/// type is "file" when absent, defaultlimit "info"; a repeated category takes
/// the later limit. A malformed document or a bad value throws XMLError
/// (unknown level names: `"unknown trace limit '<name>'"`).
std::vector<TraceOutputConfig> parseTraceConfig(std::istream& in);

/// Parses a trace configuration and opens its outputs. A file name without a
/// directory goes into OKU_TRACEPATHDEFAULT when that names a directory.
/// Files that cannot be opened and unsupported types are reported on standard
/// error and do not stop the load; a document that does not parse opens
/// nothing and throws XMLError.
std::vector<std::unique_ptr<TraceOutput>> readTraceConfig(std::istream& in);

} // namespace OKU

#endif
