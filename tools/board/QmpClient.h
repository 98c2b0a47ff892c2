#ifndef LIFEBOAT_BOARD_QMPCLIENT_H
#define LIFEBOAT_BOARD_QMPCLIENT_H

#include <string>

#include "LineChannel.h"

namespace board {

// QEMU's machine protocol (QMP): one JSON object a line. Commands are
// written as JSON text by the caller; answers are recognised by their
// "return" or "error" member, and asynchronous events are skipped.
class QmpClient {
public:
    // Connects and leaves the capabilities negotiation behind.
    QmpClient(const std::string& socketPath, int timeoutMs);

    // Runs {"execute": command, "arguments": arguments}; arguments is a JSON
    // object or empty. Returns the answer line; throws std::runtime_error
    // with QEMU's description when the command fails.
    std::string execute(const std::string& command, const std::string& arguments = "");
    // Like execute, but a failure is only reported by the result.
    bool tryExecute(const std::string& command, const std::string& arguments = "");

private:
    std::string answer(const std::string& command);

    LineChannel m_channel;
};

// A JSON string literal.
std::string jsonString(const std::string& text);

} // namespace board

#endif
