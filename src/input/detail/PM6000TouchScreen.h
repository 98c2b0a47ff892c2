#ifndef OKU_INPUT_DETAIL_PM6000TOUCHSCREEN_H
#define OKU_INPUT_DETAIL_PM6000TOUCHSCREEN_H

#include "input/detail/PMTouchScreen.h"

namespace OKU {

/// PenMount PM6000: six-byte packets with a checksum.
class PM6000TouchScreen : public PMTouchScreen {
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
