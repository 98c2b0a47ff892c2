#include "QmpClient.h"

#include <stdexcept>

namespace board {

namespace {

// QMP answers at once, but a screendump of a busy emulation can take a while.
const int c_answerMs = 30000;

} // namespace

std::string jsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

QmpClient::QmpClient(const std::string& socketPath, int timeoutMs)
    : m_channel(socketPath, timeoutMs)
{
    if (!m_channel.readLine(c_answerMs))
        throw std::runtime_error("No QMP greeting on \"" + socketPath + "\".");
    execute("qmp_capabilities");
}

std::string QmpClient::execute(const std::string& command, const std::string& arguments)
{
    m_channel.writeLine("{\"execute\": " + jsonString(command) +
                        (arguments.empty() ? "" : ", \"arguments\": " + arguments) + "}");
    const std::string line = answer(command);
    if (line.compare(0, 9, "{\"error\":") == 0)
        throw std::runtime_error("QMP " + command + ": " + line);
    return line;
}

bool QmpClient::tryExecute(const std::string& command, const std::string& arguments)
{
    try {
        execute(command, arguments);
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

std::string QmpClient::answer(const std::string& command)
{
    for (;;) {
        const std::optional<std::string> line = m_channel.readLine(c_answerMs);
        if (!line)
            throw std::runtime_error("QMP " + command + ": no answer");
        if (line->compare(0, 10, "{\"return\":") == 0 || line->compare(0, 9, "{\"error\":") == 0)
            return *line;
    }
}

} // namespace board
