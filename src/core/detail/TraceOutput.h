#ifndef OKU_CORE_DETAIL_TRACEOUTPUT_H
#define OKU_CORE_DETAIL_TRACEOUTPUT_H

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "core/Trace.h"

namespace OKU {

/// One formatted message, shared by all outputs it is written to.
struct TraceMessage {
    const char* threadId;
    const char* timestamp;
    const char* category;
    TraceLevel level;
    const char* text;
    const char* backtrace; ///< "" when no backtrace was asked for
};

/// One destination of trace messages: standard error or a file, with a
/// default level limit, per-category limits and, for files, rotation by size.
/// Not thread-safe: the trace registry serialises every call.
class TraceOutput {
public:
    TraceOutput() = default;
    /// Closes a file stream; standard error stays open.
    ~TraceOutput();
    TraceOutput(const TraceOutput&) = delete;
    TraceOutput& operator=(const TraceOutput&) = delete;

    void useStderr();
    /// Opens fileName with mode "a" or "w". On failure a warning goes to
    /// standard error and the output stays without a stream (writes nothing).
    void openFile(const std::string& fileName, bool append);

    void setFlush(bool flush) { m_flush = flush; }
    /// 0 means the file is never rotated.
    void setMaxBytes(int64_t maxBytes) { m_maxBytes = maxBytes; }
    void setBackups(int backups) { m_backups = backups; }
    void setDefaultLimit(TraceLevel limit) { m_defaultLimit = limit; }
    /// A category given twice keeps the later limit.
    void setCategoryLimit(const std::string& category, TraceLevel limit);

    /// The category's own limit, else the default limit.
    TraceLevel getLimit(const char* category) const;
    /// The largest of the default and the category limits.
    TraceLevel getHighestLimit() const;

    /// Writes the message when its level is within the category's limit;
    /// a file that has reached its size is rotated first. Colours are used
    /// only when the stream is a terminal.
    void write(const TraceMessage& message);
    void flush();

private:
    void close();
    void rotate();

    std::string m_fileName; ///< empty for standard error
    FILE* m_stream = nullptr;
    bool m_flush = false;
    int64_t m_bytesWritten = 0;
    int64_t m_maxBytes = 0;
    int m_backups = 0;
    TraceLevel m_defaultLimit = TRACE_INFO;
    std::map<std::string, TraceLevel, std::less<>> m_categoryLimits;
};

} // namespace OKU

#endif
