#ifndef LIFEBOAT_BOARD_BOARDDEVICE_H
#define LIFEBOAT_BOARD_BOARDDEVICE_H

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "Device.h"
#include "GuestAgent.h"
#include "InputSettings.h"
#include "Pm9000Controller.h"
#include "QmpClient.h"
#include "QmpInput.h"
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
// start-up would, the PM9000 controller talks to it over the board's UART
// (unless the virtio tablet stands in for the panel, or the panel is dead),
// and the USB drive, the keyboards and the tablet are worked through QMP.
class BoardDevice : public sim::Device {
public:
    // settings are the program's environment entries ("NAME=VALUE") beyond
    // those of the device's start-up.
    BoardDevice(const BoardConnection& connection, QmpClient& qmp,
                const std::vector<std::string>& arguments,
                const std::vector<std::string>& settings, int slowdown, std::ostream& events);
    // Ends the program.
    ~BoardDevice() override;

    // What the device is operated with. A keyboard at power-on is the
    // board's virtio keyboard; one plugged in later a USB keyboard on the
    // xHCI controller, which then takes the keys. A device without touch has
    // nothing answering on its UART; with the tablet, the virtio tablet is
    // the touch panel, read by the evdev touch driver. Takes effect with the
    // next start of the program.
    void setInputs(const sim::InputSettings& inputs, bool tablet);
    // Every start of the program finds the display dark, as the device's
    // application or the console blanker may leave it: fb0 blanked and the
    // backlights off. Throws at the start when fb0 cannot be blanked.
    void leaveDisplayDark(bool dark) { m_darkDisplay = dark; }
    // The finger on the virtio tablet at a panel pixel, touching or lifted.
    void touchTablet(bool touching, int panelX, int panelY);

    // A new device: no calibration, nothing mounted, an empty drive pulled.
    void factoryNew();
    // Memory figures of the running program: "NAME: VALUE" lines from
    // /proc/PID/status, then where its resident memory goes
    // (tools/memory-breakdown.sh).
    std::vector<std::string> memoryStatus();
    // How much the guest's kernel maps around each page fault of a file
    // (64 kB by default; one page maps only what a program touches); returns
    // the amount before.
    int setFaultAround(int bytes);

    bool isMounted(const std::string& mountPoint) override;
    std::vector<std::string> findFiles(const std::string& pattern) override;
    void insertUsbDrive(const sim::UsbDriveSettings& drive) override;
    void removeUsbDrive() override;
    void addBackupData(int megabytes) override;
    // The virtio keyboard, which the board cannot pull, is only no longer
    // typed on once pulled.
    bool plugKeyboard(bool plugged) override;
    int slowdown() const override { return m_slowdown; }

private:
    int startProgram() override;
    std::optional<int> reapProgram() override;
    sim::Pm9000Controller* touchController() override { return m_controller.get(); }
    bool sendKey(unsigned short code, bool pressed) override;
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
    QmpInput m_input;
    bool m_pm9000 = true;
    bool m_keyboardPlugged = false;
    bool m_usbKeyboard = false;
    bool m_darkDisplay = false;
    // The program that has been seen reading the keyboard now plugged.
    int m_keyboardReader = -1;
    std::unique_ptr<sim::Pm9000Controller> m_controller;
    int m_pid = -1;
};

} // namespace board

#endif
