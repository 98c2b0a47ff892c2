#ifndef LIFEBOAT_SIM_DEVICE_H
#define LIFEBOAT_SIM_DEVICE_H

#include <chrono>
#include <deque>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "BuildTree.h"
#include "FramebufferView.h"
#include "Pm9000Controller.h"
#include "SimState.h"

namespace sim {

// The simulated device: it runs the program on its state with a fresh touch
// controller, and acts on the program's exit status as the device's start-up
// does: 54 reboots (runs the program again), 51 resets the device and
// reboots, 50 starts the application (here: waits for a touch, then runs
// lifeboat again); any other status stops the device. Every such event is
// written to the event stream as one line starting with "event".
class Device {
public:
    enum class Phase { RUNNING, APPLICATION, STOPPED };

    Device(SimState& state, FramebufferView& screen, const BuildTree& build,
           const std::string& program, const std::vector<std::string>& arguments,
           std::ostream& events);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    // Ends the program and everything it started.
    ~Device();

    // Powers up: a black screen, then the program. Throws std::runtime_error
    // when the program cannot be started.
    void boot();
    // Notices an ended program and acts on its status. Call it often.
    void poll();

    Phase phase() const { return m_phase; }
    SimState& state() { return m_state; }

    // The finger. Reports go out only once the program has switched the
    // controller on; while the application runs, a press starts lifeboat.
    void press(int x, int y);
    void move(int x, int y);
    void release(int x, int y);
    // Whether the program has switched the touch controller on, waiting for
    // it at most timeoutMs.
    bool waitTouchReady(int timeoutMs);

    // The oldest exit status not yet taken, waiting for one at most timeoutMs;
    // shell style, 128 + the signal for a program killed by one.
    std::optional<int> takeExit(int timeoutMs);
    // Whether something is mounted on the path in the running program's view.
    bool isMounted(const std::string& mountPoint) const;

private:
    void report(bool pressed, int x, int y);
    void onExit(int status);
    void kill();
    std::vector<std::string> programEnvironment() const;

    SimState& m_state;
    FramebufferView& m_screen;
    BuildTree m_build;
    std::string m_program;
    std::vector<std::string> m_arguments;
    std::ostream& m_events;
    std::unique_ptr<Pm9000Controller> m_controller;
    pid_t m_pid = -1;
    Phase m_phase = Phase::STOPPED;
    std::deque<int> m_exits;
};

void sleepMs(int ms);

// Runs poll() on the device every few milliseconds until done() holds,
// timeoutMs have passed or the device has stopped; returns done().
template <class Condition> bool pollUntil(Device& device, int timeoutMs, Condition done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        device.poll();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline ||
            device.phase() == Device::Phase::STOPPED)
            return false;
        sleepMs(10);
    }
}

} // namespace sim

#endif
