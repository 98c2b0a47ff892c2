#include "core/Thread.h"

#include <cstdio>

#include <boost/thread/thread.hpp>
#include <pthread.h>
#include <sys/prctl.h>

#include "core/FatalError.h"

namespace OKU {

void setThreadName(const std::string& name)
{
    // PR_SET_NAME reads 16 bytes and terminates the name itself.
    char buffer[16] = {};
    name.copy(buffer, sizeof buffer);
    prctl(PR_SET_NAME, reinterpret_cast<unsigned long>(buffer), 0, 0, 0);
}

void startDetachedThread(const std::function<void()>& body, const std::string& name)
{
    try {
        boost::thread(body).detach();
    } catch (const boost::thread_resource_error& e) {
        fatalError("pthread_create: cannot start the %s thread: %s", name.c_str(),
                   e.code().message().c_str());
    }
}

std::string getThreadID()
{
    const unsigned long id = static_cast<unsigned long>(pthread_self());
    if (id == 0)
        return "{Not-any-thread}";
    char text[2 * sizeof id + 1];
    snprintf(text, sizeof text, "%lx", id);
    return text;
}

} // namespace OKU
