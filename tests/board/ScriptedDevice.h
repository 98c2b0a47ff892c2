#ifndef LIFEBOAT_TESTS_BOARD_SCRIPTEDDEVICE_H
#define LIFEBOAT_TESTS_BOARD_SCRIPTEDDEVICE_H

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Device.h"

// A device whose program runs until the test ends it; no drives, no files,
// no touch controller.
class ScriptedDevice : public sim::Device {
public:
    explicit ScriptedDevice(std::ostream& events) : sim::Device(events) {}

    void end(int status) { m_ends.push_back(status); }

    bool isMounted(const std::string&) override { return false; }
    std::vector<std::string> findFiles(const std::string&) override { return {}; }
    void insertUsbDrive(bool, bool) override {}
    void removeUsbDrive() override {}

    int starts = 0, resets = 0, powerOffs = 0;

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
