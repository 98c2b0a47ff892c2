#ifndef OKU_CORE_MUTEX_H
#define OKU_CORE_MUTEX_H

#include <pthread.h>

#include "core/NonCopyable.h"

namespace OKU {

/// An error-checking POSIX mutex; every failing pthread call is a fatal error
/// named after the call.
class Mutex : private NonCopyable {
public:
    Mutex();
    ~Mutex();

    void lock();
    void unlock();
    pthread_mutex_t* native() { return &m_mutex; }

private:
    pthread_mutex_t m_mutex;
};

/// Holds a mutex for the lifetime of a scope.
class MutexLocker : private NonCopyable {
public:
    explicit MutexLocker(Mutex& mutex) : m_mutex(mutex) { m_mutex.lock(); }
    ~MutexLocker() { m_mutex.unlock(); }

private:
    Mutex& m_mutex;
};

} // namespace OKU

#endif
