#ifndef LIFEBOAT_BOARD_LINECHANNEL_H
#define LIFEBOAT_BOARD_LINECHANNEL_H

#include <optional>
#include <string>

namespace board {

// A line-oriented conversation over a Unix socket that QEMU listens on (its
// monitor, or a guest serial port): lines out, lines in with a time-out.
class LineChannel {
public:
    // Connects, retrying for at most timeoutMs while QEMU comes up; throws
    // std::runtime_error when nobody answers.
    LineChannel(const std::string& socketPath, int timeoutMs);
    LineChannel(const LineChannel&) = delete;
    LineChannel& operator=(const LineChannel&) = delete;
    ~LineChannel();

    // Throws std::runtime_error when the peer has gone.
    void writeLine(const std::string& line);
    // The next line without its line end, waiting at most timeoutMs (0: only
    // what has arrived already); nothing on a time-out. Throws
    // std::runtime_error when the peer has gone.
    std::optional<std::string> readLine(int timeoutMs);
    // Takes over the descriptor, for a user that speaks bytes, not lines.
    int release();

private:
    std::string m_path;
    int m_fd = -1;
    std::string m_buffer;
};

} // namespace board

#endif
