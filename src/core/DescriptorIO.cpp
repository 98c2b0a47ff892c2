#include "core/DescriptorIO.h"

#include <cerrno>

#include <unistd.h>

namespace OKU {

bool safeRead(int fd, void* buffer, unsigned int count)
{
    char* next = static_cast<char*>(buffer);
    while (count > 0) {
        const ssize_t n = ::read(fd, next, count);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        if (n == 0)
            return false;
        next += n;
        count -= static_cast<unsigned int>(n);
    }
    return true;
}

bool safeWrite(int fd, const void* buffer, unsigned int count)
{
    const char* next = static_cast<const char*>(buffer);
    while (count > 0) {
        const ssize_t n = ::write(fd, next, count);
        if (n < 0)
            return false;
        next += n;
        count -= static_cast<unsigned int>(n);
    }
    return true;
}

} // namespace OKU
