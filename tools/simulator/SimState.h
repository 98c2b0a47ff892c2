#ifndef LIFEBOAT_SIM_SIMSTATE_H
#define LIFEBOAT_SIM_SIMSTATE_H

#include <string>

#include "BuildTree.h"

namespace sim {

// The simulated device's persistent storage, one directory on the host:
//   fb            the framebuffer memory
//   varlib/       what the program sees as /var/lib (touch calibration)
//   boot/         what it sees as /mnt/boot (boot ROM version)
//   data/         the device's data, which the emergency backup saves
//   usb/drive/    where the virtual USB drive, a file system that lives as
//                 long as the simulator, is mounted in the program's view
//                 (see DriveHolder); usb/inserted, usb/read-only and usb/slow
//                 are the drive's switches, read by the simulator's mount
//                 scripts and its slow-drive library
//   root/         the installation the program runs from (KARO_LIFEBOAT)
//   input/        the input devices the program looks for (OKU_INPUT_DIR):
//                 the plugged-in USB keyboard
//   screenshots/  what the window's S key saves
//   lifeboat.log  everything the program and its scripts print
class SimState {
public:
    // Throws std::runtime_error when the directory cannot hold a state.
    SimState(const std::string& directory, const BuildTree& build);

    // Creates what is missing; with reset, first removes a previous state.
    void prepare(bool reset);
    // What the device's reset does to it: calibration and data are gone, the
    // data back at its factory contents. The USB drive is not the device's.
    void factoryReset();

    const std::string& directory() const { return m_directory; }
    // The state's file or directory at a path relative to it.
    std::string path(const std::string& relative) const { return m_directory + "/" + relative; }
    // The data directories to back up, separated by spaces.
    std::string backupDirs() const;
    // Puts that many megabytes of random data among them, replacing what an
    // earlier call put there.
    void addBackupData(int megabytes) const;

    void insertUsbDrive(bool readOnly, bool slow);
    void removeUsbDrive();
    bool usbDriveInserted() const;

private:
    void seedData() const;
    void assembleRuntimeRoot() const;

    std::string m_directory;
    BuildTree m_build;
};

} // namespace sim

#endif
