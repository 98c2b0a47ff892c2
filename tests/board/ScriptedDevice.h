#ifndef LIFEBOAT_TESTS_BOARD_SCRIPTEDDEVICE_H
#define LIFEBOAT_TESTS_BOARD_SCRIPTEDDEVICE_H

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Device.h"

// A device whose program runs until the test ends it; no files, no touch
// controller; what is done to its drive and its data is recorded.
class ScriptedDevice : public sim::Device {
public:
    explicit ScriptedDevice(std::ostream& events) : sim::Device(events) {}

    void end(int status) { m_ends.push_back(status); }

    bool isMounted(const std::string&) override { return false; }
    std::vector<std::string> findFiles(const std::string&) override { return {}; }
    void insertUsbDrive(const sim::UsbDriveSettings& drive) override
    {
        storage.push_back(std::string("insert") + (drive.readOnly ? " read-only" : "") +
                          (drive.slow ? " slow" : "") + " size " + std::to_string(drive.sizeMb));
    }
    void removeUsbDrive() override { storage.push_back("remove"); }
    void addBackupData(int megabytes) override
    {
        storage.push_back("backup-data " + std::to_string(megabytes));
    }

    int starts = 0, resets = 0, powerOffs = 0;
    std::vector<std::string> storage;

private:
    int startProgram() override { return 100 + ++starts; }
    std::optional<int> reapProgram() override
    {
        if (m_ends.empty())
            return std::nullopt;
        const int status = m_ends.front();
        m_ends.pop_front();
        return status;
    }
    sim::Pm9000Controller* touchController() override { return nullptr; }
    void powerOffTouch() override { ++powerOffs; }
    void resetStorage() override { ++resets; }
    std::string logPath() const override { return "/log"; }

    std::deque<int> m_ends;
};

#endif
