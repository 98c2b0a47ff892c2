#include <gtest/gtest.h>

#include <sstream>

#include "ScriptedDevice.h"

TEST(DeviceLifecycle, ActsOnTheProgramsExitStatusAsTheDeviceStartUpDoes)
{
    std::ostringstream events;
    ScriptedDevice device(events);
    device.boot();
    EXPECT_EQ(device.phase(), sim::Device::Phase::RUNNING);
    // Touch is never ready without a controller.
    EXPECT_FALSE(device.waitTouchReady(50));

    // Reboot: the program runs again, nothing is reset; exits queue up in
    // order until they are taken.
    device.end(54);
    device.end(54);
    device.poll();
    device.poll();
    EXPECT_EQ(device.takeExit(0), 54);
    EXPECT_EQ(device.takeExit(100), 54);
    EXPECT_EQ(device.resets, 0);

    // Factory reset: storage cleared, then the program again.
    device.end(51);
    EXPECT_EQ(device.takeExit(100), 51);
    EXPECT_EQ(device.resets, 1);
    EXPECT_EQ(device.phase(), sim::Device::Phase::RUNNING);

    // The application: the touch controller goes off until a press brings
    // lifeboat back.
    device.end(50);
    EXPECT_EQ(device.takeExit(100), 50);
    EXPECT_EQ(device.phase(), sim::Device::Phase::APPLICATION);
    EXPECT_EQ(device.powerOffs, 1);
    device.release(10, 10);
    EXPECT_EQ(device.starts, 4);
    device.press(10, 10);
    EXPECT_EQ(device.phase(), sim::Device::Phase::RUNNING);

    // Any other status stops the device for good.
    device.end(1);
    EXPECT_EQ(device.takeExit(100), 1);
    EXPECT_EQ(device.phase(), sim::Device::Phase::STOPPED);
    EXPECT_FALSE(device.takeExit(0));
    EXPECT_EQ(events.str(), "event boot 101\n"
                            "event exit 54\nevent reboot\nevent boot 102\n"
                            "event exit 54\nevent reboot\nevent boot 103\n"
                            "event exit 51\nevent factory-reset\nevent boot 104\n"
                            "event exit 50\nevent application\nevent boot 105\n"
                            "event exit 1\nevent stopped 1 /log\n");
}
