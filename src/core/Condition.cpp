#include "core/Condition.h"

#include <cerrno>
#include <ctime>

#include "core/FatalError.h"
#include "core/Mutex.h"

namespace OKU {

Condition::Condition()
{
    pthread_condattr_t attr;
    if (pthread_condattr_init(&attr) != 0)
        fatalError("pthread_condattr_init");
    if (pthread_condattr_setclock(&attr, CLOCK_MONOTONIC) != 0)
        fatalError("pthread_condattr_setclock");
    if (pthread_cond_init(&m_cond, &attr) != 0)
        fatalError("pthread_cond_init");
    if (pthread_condattr_destroy(&attr) != 0)
        fatalError("pthread_condattr_destroy");
}

Condition::~Condition()
{
    if (pthread_cond_destroy(&m_cond) != 0)
        fatalError("pthread_cond_destroy");
}

void Condition::wait(Mutex& mutex)
{
    if (pthread_cond_wait(&m_cond, mutex.native()) != 0)
        fatalError("pthread_cond_wait");
}

bool Condition::waitUntil(Mutex& mutex, const TimeSpec& deadline)
{
    timespec until;
    until.tv_sec = deadline.seconds;
    until.tv_nsec = deadline.nanoseconds;
    const int result = pthread_cond_timedwait(&m_cond, mutex.native(), &until);
    if (result == ETIMEDOUT)
        return false;
    if (result != 0)
        fatalError("pthread_cond_timedwait");
    return true;
}

void Condition::signal()
{
    if (pthread_cond_signal(&m_cond) != 0)
        fatalError("pthread_cond_signal");
}

void Condition::broadcast()
{
    if (pthread_cond_broadcast(&m_cond) != 0)
        fatalError("pthread_cond_broadcast");
}

TimeSpec monotonicNow()
{
    timespec now;
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        fatalError("clock_gettime");
    return TimeSpec(static_cast<int32_t>(now.tv_sec), static_cast<int32_t>(now.tv_nsec));
}

} // namespace OKU
