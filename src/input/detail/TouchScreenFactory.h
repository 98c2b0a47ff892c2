#ifndef OKU_INPUT_DETAIL_TOUCHSCREENFACTORY_H
#define OKU_INPUT_DETAIL_TOUCHSCREENFACTORY_H

#include <memory>
#include <string>

#include "input/TouchScreen.h"

namespace OKU {

/// NONE: the device has no touch controller, so there is no driver at all.
enum class TouchScreenType { NONE, DUMMY, PM6000, PM9000, LINUX_INPUT, TSC10 };

/// Which driver to create and on which device; baud is used by the PenMount
/// drivers only.
struct TouchScreenSettings {
    TouchScreenType type = TouchScreenType::PM9000;
    std::string device;
    int baud = 0;
};

/// Reads OKU_TSTYPE ("pm9000" when unset; "dummy", "none", "pm6000",
/// "pm9000", "input", "tsc10"), OKU_TSDEV and OKU_TSBAUD, filling in each
/// type's default device and baud rate. An unknown type throws SetupError.
TouchScreenSettings touchScreenSettingsFromEnv();

/// Constructs the driver the settings name, without initialising it; null for
/// NONE.
std::unique_ptr<TouchScreen> createTouchScreen(const TouchScreenSettings& settings, int width,
                                               int height);

/// The driver for a screen of width x height chosen by the environment, with
/// init() done. width and height are the logical (turned) size, rotation the
/// panel's mounting (TouchScreen::setRotation). When init() throws
/// std::runtime_error, with NIMBLO_OPTIONAL_TSC set to a non-empty value the
/// reason is written to standard error and the result is null (no controller
/// fitted); otherwise SetupError is thrown with the reason. The driver
/// comes wrapped in the filters TouchFilterSettings::fromEnv() asks for.
/// OKU_TSTYPE=none gives null too: nothing to read, nothing to calibrate.
std::unique_ptr<TouchScreen> openTouchScreen(int width, int height, int rotation = 0);

} // namespace OKU

#endif
