#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "Device.h"

namespace {

// A device whose program ends whenever the test says so.
class ScriptedDevice : public sim::Device {
public:
    explicit ScriptedDevice(std::ostream& events) : sim::Device(events) {}

    void end(int status) { m_ends.push_back(status); }

    bool isMounted(const std::string&) override { return false; }
    std::vector<std::string> findFiles(const std::string&) override { return {}; }
    void insertUsbDrive(bool, bool) override {}
    void removeUsbDrive() override {}

    int starts = 0;
    int resets = 0;
    int powerOffs = 0;

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

} // namespace

TEST(DeviceLifecycle, ActsOnTheProgramsExitStatusAsTheDeviceStartUpDoes)
{
    std::ostringstream events;
    ScriptedDevice device(events);
    device.boot();
    EXPECT_EQ(device.phase(), sim::Device::Phase::RUNNING);

    // Reboot: the program runs again, nothing is reset.
    device.end(54);
    EXPECT_EQ(device.takeExit(100), 54);
    EXPECT_EQ(device.starts, 2);
    EXPECT_EQ(device.resets, 0);

    // Factory reset: storage cleared, then the program again.
    device.end(51);
    EXPECT_EQ(device.takeExit(100), 51);
    EXPECT_EQ(device.resets, 1);
    EXPECT_EQ(device.starts, 3);
    EXPECT_EQ(device.phase(), sim::Device::Phase::RUNNING);

    // The application: the touch controller goes off until a press brings
    // lifeboat back.
    device.end(50);
    EXPECT_EQ(device.takeExit(100), 50);
    EXPECT_EQ(device.phase(), sim::Device::Phase::APPLICATION);
    EXPECT_EQ(device.powerOffs, 1);
    device.release(10, 10);
    EXPECT_EQ(device.starts, 3);
    device.press(10, 10);
    EXPECT_EQ(device.starts, 4);
    EXPECT_EQ(device.phase(), sim::Device::Phase::RUNNING);

    // Any other status stops the device for good.
    device.end(1);
    EXPECT_EQ(device.takeExit(100), 1);
    EXPECT_EQ(device.phase(), sim::Device::Phase::STOPPED);
    EXPECT_FALSE(device.takeExit(0));
    EXPECT_EQ(events.str(), "event boot 101\n"
                            "event exit 54\nevent reboot\nevent boot 102\n"
                            "event exit 51\nevent factory-reset\nevent boot 103\n"
                            "event exit 50\nevent application\nevent boot 104\n"
                            "event exit 1\nevent stopped 1 /log\n");
}

TEST(DeviceLifecycle, TouchIsNeverReadyWithoutAController)
{
    std::ostringstream events;
    ScriptedDevice device(events);
    device.boot();
    EXPECT_FALSE(device.waitTouchReady(50));
    // Exits queue up in order until they are taken.
    device.end(54);
    device.end(54);
    device.poll();
    device.poll();
    EXPECT_EQ(device.takeExit(0), 54);
    EXPECT_EQ(device.takeExit(0), 54);
    EXPECT_FALSE(device.takeExit(0));
}
