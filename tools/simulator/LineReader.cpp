#include "LineReader.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace sim {

namespace {

const int c_idleMs = 20;

} // namespace

LineReader::LineReader(int fd, std::function<bool()> idle) : m_fd(fd), m_idle(std::move(idle))
{
}

std::optional<std::string> LineReader::next()
{
    for (;;) {
        const size_t end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return line;
        }
        if (m_ended) {
            if (m_buffer.empty())
                return std::nullopt;
            std::string last;
            last.swap(m_buffer);
            return last;
        }
        if (!m_idle())
            return std::nullopt;
        struct pollfd request = {m_fd, POLLIN, 0};
        if (poll(&request, 1, c_idleMs) <= 0)
            continue;
        char chunk[4096];
        const ssize_t n = read(m_fd, chunk, sizeof chunk);
        if (n > 0)
            m_buffer.append(chunk, n);
        else if (n == 0 || errno != EINTR)
            m_ended = true;
    }
}

} // namespace sim
