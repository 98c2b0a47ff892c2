#ifndef OKU_INPUT_DUMMYTOUCHSCREEN_H
#define OKU_INPUT_DUMMYTOUCHSCREEN_H

#include "input/TouchScreen.h"

namespace OKU {

/// Stands in for a missing controller: getEvent() never returns, so a main
/// loop reading it idles for ever. Everything else does nothing.
class DummyTouchScreen : public TouchScreen {
public:
    DummyTouchScreen() : TouchScreen(1, 1) {}

    void init() override {}
    [[noreturn]] Event getEvent() override;
    void startRawCoordinates() override {}
    void endRawCoordinates() override {}
    void setCalibration(const std::vector<CalibrationPoint>&, int, int) override {}
};

} // namespace OKU

#endif
