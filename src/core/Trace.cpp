#include "core/Trace.h"

#include <pthread.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <vector>

#include "core/Paths.h"
#include "core/RegularFile.h"
#include "core/Thread.h"
#include "core/detail/Backtrace.h"
#include "core/detail/TraceConfig.h"
#include "core/detail/TraceOutput.h"
#include "core/detail/TraceTimestamp.h"
#include "core/detail/TraceWarning.h"

namespace OKU {

int g_traceGlobalLimit = 0;

namespace {

const size_t c_maxMessageBytes = 1024;

// A failing call on the trace mutex cannot go through fatalError, which
// traces and would take the same mutex again: report it here and stop.
void mutexCallFailed(const char* call)
{
    traceWarning(call);
    abort();
}

// The error-checking mutex that serialises configuration changes, the limit
// test, rotation and writing.
class TraceMutex {
public:
    TraceMutex()
    {
        pthread_mutexattr_t attributes;
        if (pthread_mutexattr_init(&attributes) != 0)
            mutexCallFailed("pthread_mutexattr_init");
        if (pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_ERRORCHECK) != 0)
            mutexCallFailed("pthread_mutexattr_settype");
        if (pthread_mutex_init(&m_mutex, &attributes) != 0)
            mutexCallFailed("pthread_mutex_init");
        pthread_mutexattr_destroy(&attributes);
    }
    TraceMutex(const TraceMutex&) = delete;
    TraceMutex& operator=(const TraceMutex&) = delete;

    void lock()
    {
        if (pthread_mutex_lock(&m_mutex) != 0)
            mutexCallFailed("pthread_mutex_lock");
    }
    void unlock()
    {
        if (pthread_mutex_unlock(&m_mutex) != 0)
            mutexCallFailed("pthread_mutex_unlock");
    }

private:
    pthread_mutex_t m_mutex;
};

class TraceLock {
public:
    explicit TraceLock(TraceMutex& mutex) : m_mutex(mutex) { m_mutex.lock(); }
    ~TraceLock() { m_mutex.unlock(); }
    TraceLock(const TraceLock&) = delete;
    TraceLock& operator=(const TraceLock&) = delete;

private:
    TraceMutex& m_mutex;
};

struct TraceRegistry {
    TraceMutex mutex;
    std::vector<std::unique_ptr<TraceOutput>> outputs; // in configuration order
};

// Never destroyed, so that objects destroyed at exit can still trace.
TraceRegistry& registry()
{
    static TraceRegistry* const s_registry = new TraceRegistry;
    return *s_registry;
}

// Called with the mutex held whenever the outputs change.
void updateGlobalLimit(const TraceRegistry& r)
{
    int limit = 0;
    for (const auto& output : r.outputs)
        limit = std::max(limit, static_cast<int>(output->getHighestLimit()));
    g_traceGlobalLimit = limit;
}

} // namespace

bool traceInit(TraceLevel fallback)
{
    const std::string path = getEnv("OKU_TRACECONFIG", "traceconfig.xml");
    if (path.empty() || !traceInit(path))
        traceInitStderr(fallback);
    return true;
}

bool traceInit(const std::string& path)
{
    std::string text;
    if (!readRegularFile(path, c_maxTraceConfigBytes, text))
        return false;
    std::istringstream in(text);

    TraceRegistry& r = registry();
    TraceLock lock(r.mutex);
    r.outputs.clear();
    bool loaded = true;
    try {
        r.outputs = readTraceConfig(in);
    } catch (const std::exception& e) {
        traceWarning(std::string("Exception parsing config file: ") + e.what());
        loaded = false;
    }
    updateGlobalLimit(r);
    return loaded;
}

void traceInitStderr(TraceLevel level)
{
    const std::string name = getEnv("OKU_TRACEDEFAULT", "");
    if (!name.empty() && !traceLevelFromName(name, level))
        traceWarning("unknown trace limit '" + name + "'");

    auto output = std::make_unique<TraceOutput>();
    output->useStderr();
    output->setDefaultLimit(level);

    TraceRegistry& r = registry();
    TraceLock lock(r.mutex);
    r.outputs.clear();
    r.outputs.push_back(std::move(output));
    updateGlobalLimit(r);
}

bool traceTest__internal(const char* category, TraceLevel level)
{
    TraceRegistry& r = registry();
    TraceLock lock(r.mutex);
    return std::any_of(r.outputs.begin(), r.outputs.end(),
                       [&](const auto& output) { return level <= output->getLimit(category); });
}

void traceMessage(const char* category, TraceLevel level, const char* format, ...)
{
    if (level > g_traceGlobalLimit)
        return;
    va_list args;
    va_start(args, format);
    trace__internal(category, level, format, args, false);
    va_end(args);
}

void trace__internal(const char* category, TraceLevel level, const char* format, va_list args,
                     bool backtrace)
{
    if (!traceTest__internal(category, level))
        return;
    // Captured here so that the skipped frames are the capture and this call.
    const std::string backtraceText = backtrace ? captureBacktrace() : std::string();
    const std::string threadId = getThreadID();

    TraceRegistry& r = registry();
    TraceLock lock(r.mutex);
    const std::string timestamp = traceTimestamp();
    char text[c_maxMessageBytes];
    vsnprintf(text, sizeof text, format, args);
    const TraceMessage message = {threadId.c_str(), timestamp.c_str(), category, level, text,
                                  backtraceText.c_str()};
    for (const auto& output : r.outputs)
        output->write(message);
}

void traceFlush()
{
    TraceRegistry& r = registry();
    TraceLock lock(r.mutex);
    for (const auto& output : r.outputs)
        output->flush();
}

} // namespace OKU
