#include "EmulatedKeyboard.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <linux/input.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace sim {

namespace {

input_event record(unsigned short type, unsigned short code, int value)
{
    timeval now;
    gettimeofday(&now, nullptr);
    input_event r = {};
    r.input_event_sec = now.tv_sec;
    r.input_event_usec = now.tv_usec;
    r.type = type;
    r.code = code;
    r.value = value;
    return r;
}

} // namespace

EmulatedKeyboard::EmulatedKeyboard(const std::string& directory)
    : m_path(directory + "/event0")
{
    // The capabilities are there before the device appears, as the kernel's are.
    std::ofstream(m_path + ".caps") << "EV_SYN,EV_KEY,KEYBOARD\n";
    unlink(m_path.c_str());
    // Read-write, so that neither side's open waits for the other and the
    // records fit into the FIFO while the program is not reading.
    if (mkfifo(m_path.c_str(), 0600) != 0 ||
        (m_fd = open(m_path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) < 0)
        throw std::runtime_error("Cannot make the keyboard \"" + m_path + "\".  " +
                                 std::strerror(errno));
}

EmulatedKeyboard::~EmulatedKeyboard()
{
    unlink(m_path.c_str());
    unlink((m_path + ".caps").c_str());
    close(m_fd);
}

void EmulatedKeyboard::send(unsigned short code, bool pressed)
{
    const input_event records[] = {record(EV_KEY, code, pressed ? 1 : 0),
                                   record(EV_SYN, SYN_REPORT, 0)};
    // A FIFO takes a write of this size whole or not at all; a full one
    // means the program stopped reading, and the keys are lost as on a
    // device whose input queue overflows.
    ssize_t written;
    do
        written = write(m_fd, records, sizeof records);
    while (written < 0 && errno == EINTR);
}

void EmulatedKeyboard::discardUnread()
{
    char buffer[4096];
    while (read(m_fd, buffer, sizeof buffer) > 0) {
    }
}

} // namespace sim
