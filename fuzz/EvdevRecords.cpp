// Records of a Linux input event device, as the evdev driver folds them into
// reports: the bytes are taken as consecutive struct input_event records and
// decoded as each kind of panel would be.

#include <cstring>
#include <linux/input.h>

#include "FuzzInput.h"
#include "input/detail/TouchCalibration.h"
#include "input/detail/EvdevTouchDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int width = 800;
    const int height = 480;
    typedef OKU::EvdevTouchDecoder::Kind Kind;
    for (Kind kind : {Kind::SINGLE_TOUCH, Kind::POINTER, Kind::MULTITOUCH}) {
        OKU::EvdevTouchDecoder decoder(kind);
        // The evdev driver's raw scale; the identity keeps positions on screen.
        OKU::CalibrationState calibration(1.0f / 1024);
        for (size_t offset = 0; offset + sizeof(input_event) <= size;
             offset += sizeof(input_event)) {
            input_event record;
            std::memcpy(&record, data + offset, sizeof record);
            if (!decoder.add(record))
                continue;
            const OKU::TouchScreen::Event event = calibration.convert(
                decoder.isPressed(), decoder.getRawX(), decoder.getRawY(), width, height, 0);
            FUZZ_CHECK(event.pressed == decoder.isPressed());
            FUZZ_CHECK(event.x >= 0 && event.x < width && event.y >= 0 && event.y < height);
        }
    }
    return 0;
}
