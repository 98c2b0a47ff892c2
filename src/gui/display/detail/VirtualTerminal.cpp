#include "gui/display/detail/VirtualTerminal.h"

#include <atomic>
#include <fcntl.h>
#include <linux/kd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "core/ProcessExit.h"

namespace OKU {

namespace {

// What the exit action needs, readable from a signal handler.
std::atomic<int> g_terminal{-1};
std::atomic<int> g_previousMode{KD_TEXT};

void restoreMode()
{
    const int fd = g_terminal.load();
    if (fd >= 0)
        ioctl(fd, KDSETMODE, g_previousMode.load());
}

// The descriptor of a virtual terminal at path and its mode, or -1 when the
// path is none (a pseudo-terminal answers KDGETMODE with an error).
int openTerminal(const char* path, int& mode)
{
    const int fd = ::open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (ioctl(fd, KDGETMODE, &mode) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

VirtualTerminal::VirtualTerminal()
{
    int mode = KD_TEXT;
    int fd = openTerminal("/dev/tty", mode);
    if (fd < 0)
        fd = openTerminal("/dev/tty0", mode);
    if (fd < 0)
        return;
    if (ioctl(fd, KDSETMODE, KD_GRAPHICS) != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
    g_previousMode.store(mode);
    g_terminal.store(fd);
    setExitAction(restoreMode);
}

VirtualTerminal::~VirtualTerminal()
{
    if (m_fd < 0)
        return;
    setExitAction(nullptr);
    restoreMode();
    g_terminal.store(-1);
    ::close(m_fd);
}

} // namespace OKU
