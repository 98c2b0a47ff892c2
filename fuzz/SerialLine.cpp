#include "SerialLine.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "FuzzInput.h"

namespace fuzz {

namespace {

// libFuzzer's time-out alarm can interrupt a write half-way.
void writeAll(int fd, const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        FUZZ_CHECK(n > 0 || errno == EINTR);
        if (n > 0)
            done += static_cast<size_t>(n);
    }
}

} // namespace

SerialLine::SerialLine()
    : m_master(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)), m_driverSide(-1)
{
    char name[128];
    FUZZ_CHECK(m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0 &&
               ptsname_r(m_master, name, sizeof name) == 0);
    m_path = name;
    m_driverSide = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    FUZZ_CHECK(m_driverSide >= 0);
}

SerialLine::~SerialLine()
{
    close(m_driverSide);
    close(m_master);
}

void SerialLine::send(const std::string& bytes)
{
    const int before = pending();
    FUZZ_CHECK(before + bytes.size() <= 4000);
    writeAll(m_master, bytes);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (pending() < before + static_cast<int>(bytes.size())) {
        FUZZ_CHECK(std::chrono::steady_clock::now() < deadline);
        std::this_thread::yield();
    }
}

void SerialLine::reply(const std::string& bytes)
{
    writeAll(m_master, bytes);
}

int SerialLine::pending() const
{
    int count = 0;
    FUZZ_CHECK(ioctl(m_driverSide, FIONREAD, &count) == 0);
    return count;
}

int SerialLine::receive()
{
    pollfd wait = {m_master, POLLIN, 0};
    unsigned char byte = 0;
    FUZZ_CHECK(poll(&wait, 1, 1000) == 1 && read(m_master, &byte, 1) == 1);
    return byte;
}

std::vector<OKU::TouchScreen::Event> readEvents(OKU::TouchScreen& driver, SerialLine& line,
                                                const std::string& bytes,
                                                const std::string& tail)
{
    line.send(bytes.substr(0, 2000) + tail);
    std::vector<OKU::TouchScreen::Event> events;
    while (line.pending() > 0)
        events.push_back(driver.getEvent());
    return events;
}

} // namespace fuzz
