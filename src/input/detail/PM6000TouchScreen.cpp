#include "input/detail/PM6000TouchScreen.h"


#include "core/Trace.h"

namespace OKU {

// PM6000 wire format (hexadecimal), six bytes per packet both ways:
//
//   report  30|70  xl xh  yl yh  cs   70 while touched, 30 on release;
//                                     x = xh:xl, y = yh:yl (little-endian);
//                                     cs = low byte of ~(sum of bytes 0..4)
//   enable  F1 00 00 00 00 0E         the controller answers with a packet
//                                     whose contents do not matter

bool PM6000TouchScreen::pmInit()
{
    static const unsigned char c_enable[] = {0xF1, 0x00, 0x00, 0x00, 0x00, 0x0E};
    if (handshake(c_enable, [](const unsigned char*) { return true; }))
        return true;
    traceMessage("OKU::PM6000TouchScreen", TRACE_ERROR, "Timeout enabling PM6000");
    return false;
}

int PM6000TouchScreen::getPacketSize() const
{
    return 6;
}

bool PM6000TouchScreen::validateFirstByte(unsigned char byte) const
{
    return (byte & 0xBF) == 0x30;
}

bool PM6000TouchScreen::validatePacket(const unsigned char* packet) const
{
    const unsigned sum = packet[0] + packet[1] + packet[2] + packet[3] + packet[4];
    return packet[5] == static_cast<unsigned char>(~sum);
}

TouchScreen::Event PM6000TouchScreen::parsePacket(const unsigned char* packet) const
{
    Event event;
    event.pressed = (packet[0] & 0x40) != 0;
    event.x = packet[1] + 256 * packet[2];
    event.y = packet[3] + 256 * packet[4];
    return event;
}

} // namespace OKU
