#include "LineChannel.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace board {

namespace {

const int c_connectRetryMs = 50;

int connectOnce(const std::string& path)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        throw std::runtime_error("Socket path too long: \"" + path + "\".");
    std::strcpy(address.sun_path, path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw std::runtime_error(std::string("Cannot make a socket.  ") + std::strerror(errno));
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    close(fd);
    return -1;
}

} // namespace

LineChannel::LineChannel(const std::string& socketPath, int timeoutMs) : m_path(socketPath)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while ((m_fd = connectOnce(socketPath)) < 0) {
        if (std::chrono::steady_clock::now() >= deadline)
            throw std::runtime_error("Cannot connect to \"" + socketPath + "\".  " +
                                     std::strerror(errno));
        std::this_thread::sleep_for(std::chrono::milliseconds(c_connectRetryMs));
    }
}

LineChannel::~LineChannel()
{
    if (m_fd >= 0)
        close(m_fd);
}

int LineChannel::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void LineChannel::writeLine(const std::string& line)
{
    const std::string text = line + "\n";
    for (size_t sent = 0; sent < text.size();) {
        const ssize_t n = send(m_fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw std::runtime_error("Cannot write to \"" + m_path + "\".  " +
                                     std::strerror(errno));
        sent += static_cast<size_t>(n);
    }
}

std::optional<std::string> LineChannel::readLine(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        struct pollfd request = {m_fd, POLLIN, 0};
        const int ready = poll(&request, 1, std::max<int>(0, static_cast<int>(left.count())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        char chunk[65536];
        const ssize_t n = read(m_fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw std::runtime_error("\"" + m_path + "\" has closed.");
        m_buffer.append(chunk, static_cast<size_t>(n));
    }
}

} // namespace board
