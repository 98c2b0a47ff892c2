#ifndef LIFEBOAT_SIM_LINEREADER_H
#define LIFEBOAT_SIM_LINEREADER_H

#include <functional>
#include <optional>
#include <string>

namespace sim {

// Reads lines from a descriptor (a terminal, a pipe or a file) and keeps
// calling idle() while it waits for the next one, so the simulated device
// goes on living between commands; idle() returning false ends the input.
class LineReader {
public:
    LineReader(int fd, std::function<bool()> idle);

    // The next line without its line end; nothing at the end of the input.
    std::optional<std::string> next();

private:
    int m_fd;
    std::function<bool()> m_idle;
    std::string m_buffer;
    bool m_ended = false;
};

} // namespace sim

#endif
