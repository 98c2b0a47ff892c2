// Reports of a TSC10 controller: a status byte, and for a touch four bytes
// of big-endian position.

#include <thread>

#include "FuzzInput.h"
#include "SerialLine.h"
#include "input/detail/TSC10TouchScreen.h"

namespace {

// The controller's part of the start-up: the driver sets the sampling rate
// (05 41) and wants the acknowledgement 06, then selects calibrated mode (3A).
OKU::TSC10TouchScreen& startedDriver(fuzz::SerialLine& line)
{
    static OKU::TSC10TouchScreen driver(line.devicePath(), 800, 480);
    std::thread controller([&line] {
        while (line.receive() != 0x41) {
        }
        line.reply("\x06");
        while (line.receive() != 0x3A) {
        }
    });
    driver.init();
    controller.join();
    return driver;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SerialLine line;
    static OKU::TSC10TouchScreen& driver = startedDriver(line);
    // Four zeros complete a cut-off report and are releases themselves.
    const std::string tail(4, '\0');
    for (const OKU::TouchScreen::Event& event :
         fuzz::readEvents(driver, line, std::string(reinterpret_cast<const char*>(data), size),
                          tail))
        FUZZ_CHECK(event.x >= 0 && event.x <= 0xFFFF && event.y >= 0 && event.y <= 0xFFFF);
    return 0;
}
