#include "GuestAgent.h"

#include <algorithm>
#include <chrono>
#include <sstream>
#include <stdexcept>

namespace board {

namespace {

const std::string c_done = "@@done ";
const std::string c_exit = "@@exit ";

} // namespace

std::string shellQuote(const std::string& word)
{
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

GuestAgent::GuestAgent(const std::string& socketPath, int timeoutMs)
    : m_channel(socketPath, timeoutMs)
{
    // Whatever an earlier host left unread is stale; a marker shows where the
    // answers to this host begin.
    const std::string marker = "@@hello";
    m_channel.writeLine("echo " + marker);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const std::optional<std::string> line =
            m_channel.readLine(std::max<int>(0, static_cast<int>(left.count())));
        if (!line)
            throw std::runtime_error("The board's agent does not answer on \"" + socketPath +
                                     "\".");
        if (*line == marker)
            break;
    }
    for (;;) {
        const std::optional<std::string> line = m_channel.readLine(timeoutMs);
        if (!line)
            throw std::runtime_error("The board's agent does not finish its greeting.");
        if (!queueExit(*line) && line->rfind(c_done, 0) == 0)
            break;
    }
}

GuestAgent::Result GuestAgent::run(const std::string& command, int timeoutMs)
{
    m_channel.writeLine(command);
    Result result{0, {}};
    for (;;) {
        const std::optional<std::string> line = m_channel.readLine(timeoutMs);
        if (!line)
            throw std::runtime_error("The board's agent did not finish \"" + command +
                                     "\" within " + std::to_string(timeoutMs) + " ms.");
        if (queueExit(*line))
            continue;
        if (line->rfind(c_done, 0) == 0) {
            result.status = std::stoi(line->substr(c_done.size()));
            return result;
        }
        result.output.push_back(*line);
    }
}

std::vector<std::string> GuestAgent::check(const std::string& command, int timeoutMs)
{
    Result result = run(command, timeoutMs);
    if (result.status != 0) {
        std::string message = "On the board, \"" + command + "\" failed with status " +
                              std::to_string(result.status);
        for (const std::string& line : result.output)
            message += "\n  " + line;
        throw std::runtime_error(message);
    }
    return result.output;
}

std::optional<GuestAgent::Exit> GuestAgent::takeExit()
{
    while (const std::optional<std::string> line = m_channel.readLine(0))
        queueExit(*line);
    if (m_exits.empty())
        return std::nullopt;
    const Exit exit = m_exits.front();
    m_exits.pop_front();
    return exit;
}

bool GuestAgent::queueExit(const std::string& line)
{
    if (line.rfind(c_exit, 0) != 0)
        return false;
    std::istringstream fields(line.substr(c_exit.size()));
    Exit exit{0, 0};
    if (fields >> exit.pid >> exit.status)
        m_exits.push_back(exit);
    return true;
}

} // namespace board
