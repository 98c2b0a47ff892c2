// Touch calibration files ("6" and twelve coefficients on one line): loading
// either takes all twelve numbers or leaves the calibration alone, and a
// loaded calibration maps every raw position onto the screen.

#include <cmath>
#include <string>

#include "FuzzInput.h"
#include "input/detail/TouchCalibration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeScratchFile(
        "tscal.dat", std::string(reinterpret_cast<const char*>(data), size));
    OKU::TouchCalibration calibration;
    if (!calibration.load(path)) {
        FUZZ_CHECK(calibration.getCoefficients() == OKU::TouchCalibration().getCoefficients());
        return 0;
    }
    for (const int raw : {0, 1023, -70000, 2147483647}) {
        const OKU::Point p = calibration.transform(raw, raw, 1.0f, 800, 480);
        FUZZ_CHECK(p.x >= 0 && p.x < 800 && p.y >= 0 && p.y < 480);
    }
    return 0;
}
