#ifndef LIFEBOAT_SIM_DEVICE_H
#define LIFEBOAT_SIM_DEVICE_H

#include <chrono>
#include <deque>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "PanelRotation.h"
#include "Pm9000Controller.h"
#include "Screen.h"

namespace sim {

// The capacity of a new USB drive.
const int c_newUsbDriveMb = 64;

// A USB drive as it is inserted.
struct UsbDriveSettings {
    bool readOnly = false;
    // Takes seconds to flush, and writes onto it go at about 1.5 MB/s.
    bool slow = false;
    // A new, empty drive of that many megabytes takes the old one's place;
    // 0 inserts the drive as it was.
    int sizeMb = 0;
};

// A device that runs the program: the simulated one on this machine or an
// emulated board. It acts on the program's exit status as the device's
// start-up does: 54 reboots (runs the program again), 51 resets the device
// and reboots, 50 starts the application (here: waits for a touch, then runs
// lifeboat again); any other status stops the device. Every such event is
// written to the event stream as one line starting with "event".
class Device {
public:
    enum class Phase { RUNNING, APPLICATION, STOPPED };

    explicit Device(std::ostream& events);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    virtual ~Device() = default;

    // Powers up: the program with a fresh touch controller. Throws
    // std::runtime_error when the program cannot be started.
    void boot();
    // Notices an ended program and acts on its status. Call it often.
    void poll();

    Phase phase() const { return m_phase; }

    // How the panel is mounted (see PanelRotation); the finger's positions
    // are then the program's, turned onto the panel's touch layer.
    void setPanelRotation(int degrees);

    // The finger. Reports go out only once the program has switched the
    // controller on; while the application runs, a press starts lifeboat.
    void press(int x, int y);
    void move(int x, int y);
    void release(int x, int y);
    // Whether the program has switched the touch controller on, waiting for
    // it at most timeoutMs.
    bool waitTouchReady(int timeoutMs);

    // The USB keyboard's key (an evdev key code) going down or up; false
    // when no keyboard is plugged in. While the application runs, a key
    // going down starts lifeboat.
    bool key(unsigned short code, bool pressed);
    // Plugs the USB keyboard in or pulls it out; false when it already was.
    // Throws std::runtime_error on a device that cannot take one.
    virtual bool plugKeyboard(bool plugged);

    // The oldest exit status not yet taken, waiting for one at most timeoutMs;
    // shell style, 128 + the signal for a program killed by one.
    std::optional<int> takeExit(int timeoutMs);
    // The status the program last exited with, taken or not; nothing before
    // its first exit.
    std::optional<int> lastExit() const { return m_lastExit; }

    // Whether something is mounted on the path in the running program's view.
    virtual bool isMounted(const std::string& mountPoint) = 0;
    // The device's files matching a pattern relative to its storage, in the
    // simulator's layout: varlib/ is /var/lib, boot/ is /mnt/boot and
    // usb/drive/ the USB drive's contents.
    virtual std::vector<std::string> findFiles(const std::string& pattern) = 0;
    virtual void insertUsbDrive(const UsbDriveSettings& drive) = 0;
    // Pulls the drive out, mounted or not: from then on every write onto it
    // fails, and it is missing for the next mount.
    virtual void removeUsbDrive() = 0;
    // Adds that many megabytes of incompressible data to what the emergency
    // backup saves, in place of what an earlier call added.
    virtual void addBackupData(int megabytes) = 0;
    // How many times slower than the simulator the device runs; time-outs,
    // which are written for the simulator, are stretched by it.
    virtual int slowdown() const { return 1; }

protected:
    // Starts the program and returns its process id; the touch controller
    // is powered up anew.
    virtual int startProgram() = 0;
    // The status of an ended program, once it has ended.
    virtual std::optional<int> reapProgram() = 0;
    // The controller while the program may use it; null while it is off.
    virtual Pm9000Controller* touchController() = 0;
    // Sends a key from the plugged-in keyboard; false without one.
    virtual bool sendKey(unsigned short code, bool pressed);
    virtual void powerOffTouch() = 0;
    // Calibration and data are gone, the data back at its factory contents.
    virtual void resetStorage() = 0;
    // Where to look for what the program printed.
    virtual std::string logPath() const = 0;

private:
    void onExit(int status);
    void report(bool pressed, int x, int y);

    std::ostream& m_events;
    Phase m_phase = Phase::STOPPED;
    std::deque<int> m_exits;
    std::optional<int> m_lastExit;
    PanelRotation m_rotation{ScreenMode::c_width, ScreenMode::c_height, 0};
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
