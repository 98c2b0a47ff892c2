#ifndef LIFEBOAT_BOARD_GUESTAGENT_H
#define LIFEBOAT_BOARD_GUESTAGENT_H

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "LineChannel.h"

namespace board {

// The board's agent: a shell on a virtio console of its own that runs one
// command line at a time and reports when a program it started has ended.
//
//   host:  a shell command line
//   guest: its output lines, then "@@done STATUS"
//   guest: "@@exit PID STATUS" whenever a program started with
//          start_program ends, at any time between the lines above
class GuestAgent {
public:
    struct Result {
        int status;
        std::vector<std::string> output;
    };
    struct Exit {
        int pid;
        int status;
    };

    GuestAgent(const std::string& socketPath, int timeoutMs);

    // Runs the command line; throws std::runtime_error when the agent does
    // not answer within timeoutMs.
    Result run(const std::string& command, int timeoutMs);
    // Runs it and returns its output; throws unless it exits with 0.
    std::vector<std::string> check(const std::string& command, int timeoutMs);
    // The oldest program end not yet taken, reading what has arrived.
    std::optional<Exit> takeExit();

private:
    // True when the line was an exit report, now queued.
    bool queueExit(const std::string& line);

    LineChannel m_channel;
    std::deque<Exit> m_exits;
};

// A word for the guest's shell, quoted so that it stays one word.
std::string shellQuote(const std::string& word);

} // namespace board

#endif
