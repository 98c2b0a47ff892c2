#include "core/Descriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include "core/FatalError.h"

namespace OKU {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

void Descriptor::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

Pipe makePipe()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        fatalError("pipe2() failed");
    Pipe pipe;
    pipe.readEnd = Descriptor(fds[0]);
    pipe.writeEnd = Descriptor(fds[1]);
    return pipe;
}

void setNonBlocking(const Descriptor& fd)
{
    if (!fd.isOpen())
        return;
    const int flags = fcntl(fd.get(), F_GETFL);
    if (flags < 0 || fcntl(fd.get(), F_SETFL, flags | O_NONBLOCK) < 0)
        fatalError("fcntl() failed");
}

} // namespace OKU
