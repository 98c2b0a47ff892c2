#include "core/detail/TraceOutput.h"

#include <unistd.h>

#include <algorithm>

#include "core/detail/TraceWarning.h"

namespace OKU {

namespace {

const char* const c_colorReset = "\033[0m";

// Indexed by TraceLevel; silly has no colour of its own.
const char* const c_levelColors[] = {
    "\033[41m\033[1;37m", // error: white on red
    "\033[1;31m",         // warning
    "\033[1;34m",         // info
    "\033[35m",           // debug
    "\033[32m",           // function
    "",                   // silly
};

const char* levelColor(TraceLevel level)
{
    return level >= TRACE_ERROR && level <= TRACE_SILLY ? c_levelColors[level] : "";
}

std::string backupName(const std::string& fileName, int number)
{
    return fileName + "." + std::to_string(number);
}

// F.0 is the newest backup and F.(backups - 1) the oldest; without backups
// the full file is simply removed.
void rotateBackups(const std::string& fileName, int backups)
{
    if (backups <= 0) {
        remove(fileName.c_str());
        return;
    }
    remove(backupName(fileName, backups - 1).c_str());
    for (int i = backups - 2; i >= 0; --i)
        rename(backupName(fileName, i).c_str(), backupName(fileName, i + 1).c_str());
    rename(fileName.c_str(), backupName(fileName, 0).c_str());
}

} // namespace

TraceOutput::~TraceOutput()
{
    close();
}

void TraceOutput::close()
{
    if (m_stream != nullptr && m_stream != stderr)
        fclose(m_stream);
    m_stream = nullptr;
}

void TraceOutput::useStderr()
{
    close();
    m_fileName.clear();
    m_stream = stderr;
}

void TraceOutput::openFile(const std::string& fileName, bool append)
{
    close();
    m_fileName = fileName;
    m_stream = fopen(fileName.c_str(), append ? "a" : "w");
    if (m_stream == nullptr)
        traceWarning("Cannot open '" + fileName + "' for writing");
}

void TraceOutput::setCategoryLimit(const std::string& category, TraceLevel limit)
{
    m_categoryLimits[category] = limit;
}

TraceLevel TraceOutput::getLimit(const char* category) const
{
    const auto it = m_categoryLimits.find(category);
    return it == m_categoryLimits.end() ? m_defaultLimit : it->second;
}

TraceLevel TraceOutput::getHighestLimit() const
{
    TraceLevel highest = m_defaultLimit;
    for (const auto& entry : m_categoryLimits)
        highest = std::max(highest, entry.second);
    return highest;
}

void TraceOutput::rotate()
{
    m_bytesWritten = 0;
    close();
    rotateBackups(m_fileName, m_backups);
    openFile(m_fileName, false);
}

void TraceOutput::write(const TraceMessage& message)
{
    if (message.level > getLimit(message.category))
        return;
    if (m_maxBytes > 0 && !m_fileName.empty() && m_bytesWritten >= m_maxBytes)
        rotate();
    if (m_stream == nullptr)
        return;

    const bool terminal = isatty(fileno(m_stream)) == 1;
    const int written =
        fprintf(m_stream, "{%s} %s [%s%s%s]: %s\n%s", message.threadId, message.timestamp,
                terminal ? levelColor(message.level) : "", message.category,
                terminal ? c_colorReset : "", message.text, message.backtrace);
    if (written > 0)
        m_bytesWritten += written;
    if (m_flush)
        fflush(m_stream);
}

void TraceOutput::flush()
{
    if (m_stream != nullptr)
        fflush(m_stream);
}

} // namespace OKU
