#include "core/Mutex.h"

#include "core/FatalError.h"

namespace OKU {

Mutex::Mutex()
{
    pthread_mutexattr_t attr;
    if (pthread_mutexattr_init(&attr) != 0)
        fatalError("pthread_mutexattr_init");
    if (pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_ERRORCHECK) != 0)
        fatalError("pthread_mutexattr_settype");
    if (pthread_mutex_init(&m_mutex, &attr) != 0)
        fatalError("pthread_mutex_init");
    if (pthread_mutexattr_destroy(&attr) != 0)
        fatalError("pthread_mutexattr_destroy");
}

Mutex::~Mutex()
{
    if (pthread_mutex_destroy(&m_mutex) != 0)
        fatalError("pthread_mutex_destroy");
}

void Mutex::lock()
{
    if (pthread_mutex_lock(&m_mutex) != 0)
        fatalError("pthread_mutex_lock");
}

void Mutex::unlock()
{
    if (pthread_mutex_unlock(&m_mutex) != 0)
        fatalError("pthread_mutex_unlock");
}

} // namespace OKU
