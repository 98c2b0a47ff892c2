#ifndef OKU_CORE_CHILDPROCESS_H
#define OKU_CORE_CHILDPROCESS_H

#include <csignal>
#include <string>
#include <sys/types.h>
#include <vector>

#include "core/Descriptor.h"
#include "core/NonCopyable.h"
#include "core/Visibility.h"

namespace OKU {

/// A program running beside the caller, watched without blocking: for work
/// that takes minutes while the GUI goes on (a backup with a progress bar and
/// a Cancel button). The child leads a process group of its own, so that
/// ending it ends everything it started. Its standard input and output are
/// /dev/null; the end of its standard error is kept. It may report on a
/// descriptor of its own: a pipe given to it as descriptor 3, whose number the
/// environment variable named at the start tells it.
class ChildProcess : private NonCopyable {
public:
    /// How much of the child's standard error is kept (the last bytes).
    static constexpr std::size_t c_errorKeep = 4096;
    /// Longer report lines are dropped whole.
    static constexpr std::size_t c_reportLineMax = 256;

    /// Starts program; with reportVariable empty the child gets no report
    /// descriptor.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::string& reportVariable);
    /// A child still running is killed with its group and waited for.
    ~ChildProcess();

    /// Takes what the child has written and checks whether it has ended;
    /// never blocks. True once it has ended.
    bool poll();
    bool hasEnded() const { return m_ended; }
    /// As execWait reports it: 0..255, -1 when the program could not be
    /// executed, -2 when a signal ended it; valid once the child has ended.
    int exitStatus() const { return m_exitStatus; }

    /// The complete report lines that arrived since the last call.
    std::vector<std::string> takeReportLines()
    {
        std::vector<std::string> lines;
        lines.swap(m_reportLines);
        return lines;
    }
    /// The end of the child's standard error so far.
    const std::string& errors() const { return m_errors; }
    /// Bytes the child has written on either channel since it started.
    unsigned long long bytesReceived() const { return m_bytesReceived; }

    /// Sends signal to the child's whole process group while the child runs.
    void signalGroup(int signal)
    {
        if (!m_ended)
            kill(-m_pid, signal);
    }

private:
    OKU_LOCAL void drain(Descriptor& pipe, bool report);
    OKU_LOCAL void takeReport(const char* data, std::size_t size);
    OKU_LOCAL void takeErrors(const char* data, std::size_t size);

    pid_t m_pid = -1;
    bool m_executed = false;
    bool m_ended = false;
    int m_exitStatus = -1;
    Descriptor m_report;
    Descriptor m_errorPipe;
    std::string m_partialLine;
    bool m_skippingLongLine = false;
    std::vector<std::string> m_reportLines;
    std::string m_errors;
    unsigned long long m_bytesReceived = 0;
};

} // namespace OKU

#endif
