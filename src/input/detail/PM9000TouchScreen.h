#ifndef OKU_INPUT_DETAIL_PM9000TOUCHSCREEN_H
#define OKU_INPUT_DETAIL_PM9000TOUCHSCREEN_H

#include "input/detail/PMTouchScreen.h"

namespace OKU {

/// PenMount PM9000: five-byte packets of 7-bit data bytes.
class PM9000TouchScreen : public PMTouchScreen {
public:
    using PMTouchScreen::PMTouchScreen;

protected:
    bool pmInit() override;
    int getPacketSize() const override;
    bool validateFirstByte(unsigned char byte) const override;
    bool validatePacket(const unsigned char* packet) const override;
    Event parsePacket(const unsigned char* packet) const override;
};

} // namespace OKU

#endif
