#ifndef LIFEBOAT_SIM_SIMULATEDDEVICE_H
#define LIFEBOAT_SIM_SIMULATEDDEVICE_H

#include <iosfwd>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

#include "BuildTree.h"
#include "Device.h"
#include "DisplaySettings.h"
#include "DriveHolder.h"
#include "EmulatedKeyboard.h"
#include "FramebufferView.h"
#include "InputSettings.h"
#include "Pm9000Controller.h"
#include "SimState.h"

namespace sim {

// The device on this machine: the program runs in a namespace of its own on
// the simulator's state, draws into the framebuffer file, reads a PM9000
// controller on a pseudo-terminal and a USB keyboard from a FIFO in the
// state's input directory, and finds the USB drive, a file system of its
// own, mounted on the state's usb/drive.
class SimulatedDevice : public Device {
public:
    SimulatedDevice(SimState& state, FramebufferView& screen, const BuildTree& build,
                    const std::string& program, const std::vector<std::string>& arguments,
                    const DisplaySettings& display, const InputSettings& inputs,
                    std::ostream& events);
    // Ends the program and everything it started.
    ~SimulatedDevice() override;

    SimState& state() { return m_state; }

    bool isMounted(const std::string& mountPoint) override;
    std::vector<std::string> findFiles(const std::string& pattern) override;
    void insertUsbDrive(const UsbDriveSettings& drive) override;
    void removeUsbDrive() override;
    void addBackupData(int megabytes) override;
    bool plugKeyboard(bool plugged) override;
    bool keyboardPlugged() const { return m_keyboard != nullptr; }

private:
    int startProgram() override;
    std::optional<int> reapProgram() override;
    Pm9000Controller* touchController() override { return m_controller.get(); }
    bool sendKey(unsigned short code, bool pressed) override;
    void powerOffTouch() override { m_controller.reset(); }
    void resetStorage() override { m_state.factoryReset(); }
    std::string logPath() const override { return m_state.path("lifeboat.log"); }

    void kill();
    std::vector<std::string> programEnvironment() const;

    SimState& m_state;
    // Made before anything else the simulator opens, which its holder would
    // otherwise keep open.
    DriveHolder m_drive;
    FramebufferView& m_screen;
    BuildTree m_build;
    std::string m_program;
    std::vector<std::string> m_arguments;
    DisplaySettings m_display;
    InputSettings m_inputs;
    std::unique_ptr<EmulatedKeyboard> m_keyboard;
    std::unique_ptr<Pm9000Controller> m_controller;
    pid_t m_pid = -1;
};

} // namespace sim

#endif
