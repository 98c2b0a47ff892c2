#ifndef OKU_FUZZ_PENMOUNTSTREAM_H
#define OKU_FUZZ_PENMOUNTSTREAM_H

// The byte stream of a PenMount controller, fed to a real driver over a
// pseudo-terminal: the first byte chooses raw or calibrated positions, the
// rest is the stream.

#include <string>

#include "FuzzInput.h"
#include "SerialLine.h"

namespace fuzz {

// A PenMount model without its start-up handshake, which waits for answers
// the fuzzer does not give; reading reports is the model's own code.
template <class Model>
class Unhandshaken : public Model {
public:
    using Model::Model;

protected:
    bool pmInit() override { return true; }
};

// report is a valid packet of the model; zeros never start a packet.
template <class Model>
int fuzzPenMount(const uint8_t* data, size_t size, const std::string& report)
{
    const int width = 800;
    const int height = 480;
    static SerialLine line;
    static Unhandshaken<Model> driver(line.devicePath(), 19200, width, height,
                                      scratchDirectory() + "/no-calibration");
    static const bool ready = (driver.init(), true);
    (void)ready;

    Input input(data, size);
    const bool raw = input.byte() & 1;
    if (raw)
        driver.startRawCoordinates();
    else
        driver.endRawCoordinates();
    const std::string tail = std::string(report.size() - 1, '\0') + report;
    for (const OKU::TouchScreen::Event& event : readEvents(driver, line, input.rest(), tail))
        FUZZ_CHECK(raw || (event.x >= 0 && event.x < width && event.y >= 0 && event.y < height));
    return 0;
}

} // namespace fuzz

#endif
