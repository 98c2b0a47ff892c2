#ifndef OKU_CORE_CONDITION_H
#define OKU_CORE_CONDITION_H

#include <pthread.h>

#include "core/NonCopyable.h"
#include "core/Time.h"

namespace OKU {

class Mutex;

/// A POSIX condition variable on the monotonic clock; every failing pthread
/// call is a fatal error named after the call.
class Condition : private NonCopyable {
public:
    Condition();
    ~Condition();

    void wait(Mutex& mutex);
    /// Waits until the absolute monotonic deadline; false when it passed.
    bool waitUntil(Mutex& mutex, const TimeSpec& deadline);
    void signal();
    void broadcast();

private:
    pthread_cond_t m_cond;
};

/// The monotonic clock now; a failure to read it is fatal ("clock_gettime").
TimeSpec monotonicNow();

} // namespace OKU

#endif
