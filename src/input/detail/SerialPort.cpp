#include "input/detail/SerialPort.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "core/Condition.h"
#include "core/DescriptorIO.h"

namespace OKU {

namespace {

struct BaudRate {
    int baudRate;
    speed_t speed;
};

const BaudRate c_baudRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

// "<what> \"<device>\".  <error text of errno>"
std::runtime_error deviceError(const char* what, const std::string& device)
{
    return std::runtime_error(std::string(what) + " \"" + device + "\".  " + strerror(errno));
}

// Milliseconds from now until deadline, rounded up; 0 once it has passed.
int millisecondsUntil(const TimeSpec& deadline)
{
    const TimeSpec now = monotonicNow();
    if (deadline <= now)
        return 0;
    return (deadline.seconds - now.seconds) * 1000 +
           (deadline.nanoseconds - now.nanoseconds + 999999) / 1000000;
}

} // namespace

bool baudRateToSpeed(int baudRate, speed_t& speed)
{
    for (const BaudRate& entry : c_baudRates) {
        if (entry.baudRate == baudRate) {
            speed = entry.speed;
            return true;
        }
    }
    return false;
}

SerialPort::SerialPort(const std::string& device)
    : m_device(device), m_fd(open(device.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC))
{
    if (m_fd < 0)
        throw deviceError("Cannot open", m_device);
}

SerialPort::~SerialPort()
{
    close(m_fd);
}

void SerialPort::configure(speed_t speed)
{
    struct termios attributes;
    if (tcgetattr(m_fd, &attributes) != 0)
        throw deviceError("Cannot configure", m_device);
    cfmakeraw(&attributes);
    attributes.c_cflag |= CLOCAL;
    attributes.c_cflag &= ~CRTSCTS;
    if (cfsetispeed(&attributes, speed) != 0 || cfsetospeed(&attributes, speed) != 0 ||
        tcsetattr(m_fd, TCSAFLUSH, &attributes) != 0 || fcntl(m_fd, F_SETFL, 0) != 0)
        throw deviceError("Cannot configure", m_device);
}

bool SerialPort::readBytes(unsigned char* buffer, int count, int timeoutMs)
{
    if (timeoutMs < 0)
        return receive(buffer, count, nullptr);
    const TimeSpec deadline = monotonicNow() + TimeSpec::fromMilliseconds(timeoutMs);
    return receive(buffer, count, &deadline);
}

bool SerialPort::readBytesUntil(unsigned char* buffer, int count, const TimeSpec& deadline)
{
    return receive(buffer, count, &deadline);
}

bool SerialPort::receive(unsigned char* buffer, int count, const TimeSpec* deadline)
{
    for (int done = 0; done < count;) {
        if (deadline && !waitReadable(millisecondsUntil(*deadline))) {
            errno = ETIMEDOUT;
            return false;
        }
        const ssize_t n = read(m_fd, buffer + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw deviceError("Read error from", m_device);
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

bool SerialPort::waitReadable(int timeoutMs)
{
    struct pollfd request = {m_fd, POLLIN, 0};
    int ready;
    while ((ready = poll(&request, 1, timeoutMs)) < 0) {
        if (errno != EINTR)
            throw deviceError("Cannot poll", m_device);
    }
    return ready > 0;
}

void SerialPort::writeBytes(const unsigned char* buffer, int count)
{
    if (!safeWrite(m_fd, buffer, count))
        throw deviceError("Cannot write to", m_device);
}


} // namespace OKU
