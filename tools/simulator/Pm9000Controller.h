#ifndef LIFEBOAT_SIM_PM9000CONTROLLER_H
#define LIFEBOAT_SIM_PM9000CONTROLLER_H

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "RawTouchMap.h"

namespace sim {

// A PenMount PM9000 touch controller at the far end of a serial line: a
// pseudo-terminal whose path() the program opens as its serial touch device,
// or a line that is already connected, such as an emulated board's UART. A
// thread answers the driver's set-up commands; touches are sent as the
// controller's reports in raw panel units (see RawTouchMap.h).
class Pm9000Controller {
public:
    // A dead controller takes the driver's commands and never answers them,
    // as when the panel is broken or missing.
    enum class Condition { WORKING, DEAD };

    // On a new pseudo-terminal. Throws std::runtime_error when none can be had.
    explicit Pm9000Controller(Condition condition = Condition::WORKING);
    // On the host end of a connected line, which it takes over; no path().
    explicit Pm9000Controller(int line);
    Pm9000Controller(const Pm9000Controller&) = delete;
    Pm9000Controller& operator=(const Pm9000Controller&) = delete;
    ~Pm9000Controller();

    // The device the program opens (the pseudo-terminal's slave side).
    const std::string& path() const { return m_path; }

    // True once the driver has switched reporting on; waits at most timeoutMs.
    bool waitEnabled(int timeoutMs);

    // One report of the finger at screen pixel x, y, touching or lifted.
    // Before reporting is on, a touching finger rests on the panel and is
    // reported first thing once the driver switches reporting on.
    void report(bool pressed, int x, int y);

private:
    void start();
    void answerCommands();
    void answer(const unsigned char* command);
    void sendReport(bool pressed, const RawPosition& raw);
    void send(const unsigned char* packet);

    const bool m_dead = false;
    int m_master = -1;
    // Held open so the line never hangs up between the program's opens.
    int m_slave = -1;
    std::string m_path;
    std::mutex m_writeMutex;
    std::mutex m_enabledMutex;
    std::condition_variable m_enabledChanged;
    bool m_enabled = false;
    std::optional<RawPosition> m_restingFinger;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

} // namespace sim

#endif
