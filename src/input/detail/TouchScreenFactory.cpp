#include "input/detail/TouchScreenFactory.h"

#include <unistd.h>

#include <iostream>
#include <stdexcept>
#include <utility>

#include "core/FatalError.h"
#include "core/NumberConversion.h"
#include "core/Paths.h"
#include "core/SetupError.h"
#include "input/DummyTouchScreen.h"
#include "input/detail/FilteredTouchScreen.h"
#include "input/detail/LinuxTouchScreen.h"
#include "input/detail/PM6000TouchScreen.h"
#include "input/detail/PM9000TouchScreen.h"
#include "input/detail/TSC10TouchScreen.h"

namespace OKU {

namespace {

struct TypeEntry {
    const char* name;
    TouchScreenType type;
    const char* defaultDevice; // null: no device
    const char* defaultBaud;   // null: no baud rate
};

const TypeEntry c_types[] = {
    {"dummy", TouchScreenType::DUMMY, nullptr, nullptr},
    {"none", TouchScreenType::NONE, nullptr, nullptr},
    {"pm6000", TouchScreenType::PM6000, "/dev/ttyS3", "9600"},
    {"pm9000", TouchScreenType::PM9000, "/dev/ttyS3", "19200"},
    {"input", TouchScreenType::LINUX_INPUT, "/dev/input/event0", nullptr},
    {"tsc10", TouchScreenType::TSC10, "/dev/ttyS2", nullptr},
};

} // namespace

TouchScreenSettings touchScreenSettingsFromEnv()
{
    const std::string type = getEnv("OKU_TSTYPE", "pm9000");
    for (const TypeEntry& entry : c_types) {
        if (type != entry.name)
            continue;
        TouchScreenSettings settings;
        settings.type = entry.type;
        if (entry.defaultDevice)
            settings.device = getEnv("OKU_TSDEV", entry.defaultDevice);
        if (entry.defaultBaud)
            settings.baud = stringtoi(getEnv("OKU_TSBAUD", entry.defaultBaud));
        return settings;
    }
    throw SetupError("Unknown touch screen controller type '" + type + "'.");
}

std::unique_ptr<TouchScreen> createTouchScreen(const TouchScreenSettings& settings, int width,
                                               int height)
{
    switch (settings.type) {
    case TouchScreenType::NONE:
        return nullptr;
    case TouchScreenType::DUMMY:
        return std::make_unique<DummyTouchScreen>();
    case TouchScreenType::PM6000:
        return std::make_unique<PM6000TouchScreen>(settings.device, settings.baud, width, height);
    case TouchScreenType::PM9000:
        return std::make_unique<PM9000TouchScreen>(settings.device, settings.baud, width, height);
    case TouchScreenType::LINUX_INPUT:
        return std::make_unique<LinuxTouchScreen>(settings.device, width, height);
    case TouchScreenType::TSC10:
        return std::make_unique<TSC10TouchScreen>(settings.device, width, height);
    }
    fatalError("Unknown touch screen controller type %d.", static_cast<int>(settings.type));
}

std::unique_ptr<TouchScreen> openTouchScreen(int width, int height, int rotation)
{
    const TouchFilterSettings filterSettings = TouchFilterSettings::fromEnv();
    std::unique_ptr<TouchScreen> touchScreen =
        createTouchScreen(touchScreenSettingsFromEnv(), width, height);
    if (!touchScreen)
        return nullptr;
    touchScreen->setRotation(rotation);
    try {
        touchScreen->init();
    } catch (const std::runtime_error& e) {
        const std::string failure = std::string("Cannot initialize touch screen controller:\n") +
                                    e.what();
        if (getEnv("NIMBLO_OPTIONAL_TSC", "").empty())
            throw SetupError(failure);
        std::cerr << failure << std::endl;
        return nullptr;
    }
    if (!filterSettings.filters())
        return touchScreen;
    return std::make_unique<FilteredTouchScreen>(std::move(touchScreen), filterSettings);
}

} // namespace OKU
