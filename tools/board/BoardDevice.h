#ifndef LIFEBOAT_BOARD_BOARDDEVICE_H
#define LIFEBOAT_BOARD_BOARDDEVICE_H

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "Device.h"
#include "GuestAgent.h"
#include "Pm9000Controller.h"
#include "QmpClient.h"
#include "UsbDrive.h"

namespace board {

// Where a running board's host ends are: the sockets QEMU listens on and
// the directory of files shared with the guest.
struct BoardConnection {
    std::string qmpSocket;
    std::string agentSocket;
    std::string touchSocket;  // the UART the PM9000 controller is wired to
    std::string stateDir;     // the drive image, screendumps, logs
};

// The program on an emulated board: the agent starts it as the device's
// start-up would, the PM9000 controller talks to it over the board's UART,
// and the USB drive is plugged in and pulled through QMP.
class BoardDevice : public sim::Device {
public:
    // settings are the program's environment entries ("NAME=VALUE") beyond
    // those of the device's start-up.
    BoardDevice(const BoardConnection& connection, QmpClient& qmp,
                const std::vector<std::string>& arguments,
                const std::vector<std::string>& settings, int slowdown, std::ostream& events);
    // Ends the program.
    ~BoardDevice() override;

    // A new device: no calibration, nothing mounted, an empty drive pulled.
    void factoryNew();
    // Memory figures of the running program, "NAME: VALUE" lines from
    // /proc/PID/status.
    std::vector<std::string> memoryStatus();

    bool isMounted(const std::string& mountPoint) override;
    std::vector<std::string> findFiles(const std::string& pattern) override;
    void insertUsbDrive(bool readOnly, bool slow) override;
    void removeUsbDrive() override;
    int slowdown() const override { return m_slowdown; }

private:
    int startProgram() override;
    std::optional<int> reapProgram() override;
    sim::Pm9000Controller* touchController() override { return m_controller.get(); }
    void powerOffTouch() override { m_controller.reset(); }
    void resetStorage() override;
    std::string logPath() const override;

    void stopProgram();

    BoardConnection m_connection;
    GuestAgent m_agent;
    UsbDrive m_drive;
    std::vector<std::string> m_arguments;
    std::vector<std::string> m_settings;
    int m_slowdown;
    std::unique_ptr<sim::Pm9000Controller> m_controller;
    int m_pid = -1;
};

} // namespace board

#endif
