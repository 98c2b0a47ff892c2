#include "core/ChildProcess.h"

#include <cerrno>
#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

#include "core/FatalError.h"
#include "core/detail/ChildLaunch.h"

namespace OKU {

namespace {

const int c_reportDescriptor = 3;

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& reportVariable)
{
    Pipe errorPipe = makePipe();
    Pipe reportPipe;
    ChildLaunch launch;
    launch.program = program;
    launch.args = args;
    launch.standardError = errorPipe.writeEnd.get();
    launch.ownProcessGroup = true;
    if (!reportVariable.empty()) {
        reportPipe = makePipe();
        launch.extraDescriptor = reportPipe.writeEnd.get();
        launch.extraTarget = c_reportDescriptor;
        launch.environment.push_back(reportVariable + "=" + std::to_string(c_reportDescriptor));
    }
    const LaunchedChild child = launchChild(launch);
    m_pid = child.pid;
    m_executed = child.executed;
    m_errorPipe = std::move(errorPipe.readEnd);
    m_report = std::move(reportPipe.readEnd);
    setNonBlocking(m_errorPipe);
    setNonBlocking(m_report);
    if (!m_executed) {
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_ended = true;
    }
}

ChildProcess::~ChildProcess()
{
    if (m_ended)
        return;
    signalGroup(SIGKILL);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
}

bool ChildProcess::poll()
{
    if (m_ended)
        return true;
    drain(m_report, true);
    drain(m_errorPipe, false);
    int status = 0;
    pid_t result;
    do {
        result = waitpid(m_pid, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result < 0)
        fatalError("waitpid() failed");
    if (result == 0)
        return false;
    // What it wrote just before it ended is still in the pipes.
    drain(m_report, true);
    drain(m_errorPipe, false);
    m_ended = true;
    m_exitStatus = reportedExitStatus(status);
    return true;
}

void ChildProcess::drain(Descriptor& pipe, bool report)
{
    char buffer[4096];
    while (pipe.isOpen()) {
        const ssize_t n = read(pipe.get(), buffer, sizeof buffer);
        if (n > 0) {
            m_bytesReceived += static_cast<unsigned long long>(n);
            if (report)
                takeReport(buffer, static_cast<std::size_t>(n));
            else
                takeErrors(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            pipe.close();
        } else if (errno == EAGAIN) {
            return;
        }
    }
}

void ChildProcess::takeReport(const char* data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\n') {
            if (!m_skippingLongLine)
                m_reportLines.push_back(m_partialLine);
            m_partialLine.clear();
            m_skippingLongLine = false;
        } else if (!m_skippingLongLine) {
            m_partialLine += c;
            if (m_partialLine.size() > c_reportLineMax) {
                m_partialLine.clear();
                m_skippingLongLine = true;
            }
        }
    }
}

void ChildProcess::takeErrors(const char* data, std::size_t size)
{
    m_errors.append(data, size);
    if (m_errors.size() > c_errorKeep)
        m_errors.erase(0, m_errors.size() - c_errorKeep);
}

} // namespace OKU
