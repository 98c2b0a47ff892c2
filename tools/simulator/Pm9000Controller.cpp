#include "Pm9000Controller.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

#include "RawTouchMap.h"

namespace sim {

// PM9000 wire format, five bytes per message in both directions, bytes in
// hexadecimal.
//
// Commands from the host, answered with five bytes:
//   F2 00 00 00 00   identify: answer F2 D9 VV 00 00, VV the firmware version
//   F1 00 00 00 00   start reporting: answer F1 00 00 00 00
// Reports to the host while reporting is on:
//   FF XH XL YH YL   touching       BF XH XL YH YL   lifted
// X = XH * 128 + XL and Y = YH * 128 + YL, seven data bits per byte: only a
// message's first byte has the top bit set, so either side resynchronises on it.
// Anything else the host sends is not a PM9000 command and goes unanswered.
namespace {

const int c_messageSize = 5;
const unsigned char c_identify = 0xF2;
const unsigned char c_startReporting = 0xF1;
const unsigned char c_identity = 0xD9;
const unsigned char c_firmwareVersion = 0x16;
const unsigned char c_touching = 0xFF;
const unsigned char c_lifted = 0xBF;
const int c_pollMs = 50;

bool isCommandStart(unsigned char byte)
{
    return byte == c_identify || byte == c_startReporting;
}

} // namespace

Pm9000Controller::Pm9000Controller(Condition condition) : m_dead(condition == Condition::DEAD)
{
    char name[128];
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error(std::string("Cannot open a pseudo-terminal.  ") +
                                 std::strerror(errno));
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_path = name;
    // The driver makes the line raw too, but a cooked line would echo the
    // first answers back before it gets there.
    struct termios attributes;
    if (tcgetattr(m_slave, &attributes) == 0) {
        cfmakeraw(&attributes);
        tcsetattr(m_slave, TCSANOW, &attributes);
    }
    start();
}

Pm9000Controller::Pm9000Controller(int line) : m_master(line)
{
    start();
}

void Pm9000Controller::start()
{
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    // A program that stops reading (it is busy running a script) must not
    // stall the simulator: reports that do not fit into the line are lost,
    // as they would be on a real serial line.
    fcntl(m_master, F_SETFL, O_NONBLOCK);
    m_thread = std::thread([this] { answerCommands(); });
}

Pm9000Controller::~Pm9000Controller()
{
    m_stopping = true;
    m_thread.join();
    if (m_slave >= 0)
        close(m_slave);
    close(m_master);
}

bool Pm9000Controller::waitEnabled(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_enabledMutex);
    return m_enabledChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [this] { return m_enabled; });
}

void Pm9000Controller::report(bool pressed, int x, int y)
{
    const RawPosition raw = screenToRaw(x, y);
    {
        // A finger put down before reporting is on rests on the panel: the
        // controller reports it the moment it is switched on.
        std::lock_guard<std::mutex> lock(m_enabledMutex);
        if (!m_enabled) {
            m_restingFinger = pressed ? std::optional<RawPosition>(raw) : std::nullopt;
            return;
        }
    }
    sendReport(pressed, raw);
}

void Pm9000Controller::sendReport(bool pressed, const RawPosition& raw)
{
    const unsigned char packet[c_messageSize] = {
        pressed ? c_touching : c_lifted, static_cast<unsigned char>(raw.x >> 7),
        static_cast<unsigned char>(raw.x & 0x7F), static_cast<unsigned char>(raw.y >> 7),
        static_cast<unsigned char>(raw.y & 0x7F)};
    send(packet);
}

void Pm9000Controller::answerCommands()
{
    unsigned char command[c_messageSize];
    int received = 0;
    while (!m_stopping) {
        struct pollfd request = {m_master, POLLIN, 0};
        if (poll(&request, 1, c_pollMs) <= 0 || !(request.revents & POLLIN))
            continue;
        unsigned char byte;
        if (read(m_master, &byte, 1) != 1)
            continue;
        // Resynchronise on the first byte of a command, as the chip does.
        if (received == 0 && !isCommandStart(byte))
            continue;
        command[received++] = byte;
        if (received == c_messageSize) {
            if (!m_dead)
                answer(command);
            received = 0;
        }
    }
}

void Pm9000Controller::answer(const unsigned char* command)
{
    if (command[0] == c_identify) {
        const unsigned char identity[c_messageSize] = {c_identify, c_identity, c_firmwareVersion,
                                                       0, 0};
        send(identity);
        return;
    }
    const unsigned char started[c_messageSize] = {c_startReporting, 0, 0, 0, 0};
    send(started);
    std::optional<RawPosition> restingFinger;
    {
        std::lock_guard<std::mutex> lock(m_enabledMutex);
        m_enabled = true;
        restingFinger.swap(m_restingFinger);
        // Sent before anyone learns that reporting is on, so that no later
        // report can overtake it.
        if (restingFinger)
            sendReport(true, *restingFinger);
        m_enabledChanged.notify_all();
    }
}

void Pm9000Controller::send(const unsigned char* packet)
{
    std::lock_guard<std::mutex> lock(m_writeMutex);
    for (int sent = 0; sent < c_messageSize;) {
        const ssize_t n = write(m_master, packet + sent, c_messageSize - sent);
        if (n < 0 && errno != EINTR)
            return;  // a lost report; the driver resynchronises on the next
        sent += n > 0 ? static_cast<int>(n) : 0;
    }
}

} // namespace sim
