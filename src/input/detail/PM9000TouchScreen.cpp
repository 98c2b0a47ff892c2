#include "input/detail/PM9000TouchScreen.h"


#include "core/Trace.h"

namespace OKU {

// PM9000 wire format (hexadecimal), five bytes per packet both ways:
//
//   report   FF|BF  xh xl  yh yl    FF while touched, BF on release; data
//                                   bytes carry 7 bits each (below 80):
//                                   x = 128 * xh + xl, y = 128 * yh + yl
//   query    F2 00 00 00 00         answer F2 D9 vv .. ..  (vv: version)
//   enable   F1 00 00 00 00         answer F1 .. .. .. ..
//
// Each request is repeated whenever the line has been quiet for 100 ms,
// until its answer comes, for at most 1.0 s; bytes before the answer are
// skipped. The enable request is only sent once the query was answered.

bool PM9000TouchScreen::pmInit()
{
    static const unsigned char c_query[] = {0xF2, 0x00, 0x00, 0x00, 0x00};
    static const unsigned char c_enable[] = {0xF1, 0x00, 0x00, 0x00, 0x00};
    const bool answered =
        handshake(c_query,
                  [](const unsigned char* answer) {
                      if (answer[0] != 0xF2 || answer[1] != 0xD9)
                          return false;
                      traceMessage("OKU::PM9000TouchScreen", TRACE_INFO,
                                   "Connected to PM9000 version 0x%02x", answer[2]);
                      return true;
                  }) &&
        handshake(c_enable, [](const unsigned char* answer) { return answer[0] == 0xF1; });
    if (!answered)
        traceMessage("OKU::PM9000TouchScreen", TRACE_ERROR, "Timeout enabling PM9000");
    return answered;
}

int PM9000TouchScreen::getPacketSize() const
{
    return 5;
}

bool PM9000TouchScreen::validateFirstByte(unsigned char byte) const
{
    return (byte & 0xBF) == 0xBF;
}

bool PM9000TouchScreen::validatePacket(const unsigned char* packet) const
{
    return packet[1] < 0x80 && packet[2] < 0x80 && packet[3] < 0x80 && packet[4] < 0x80;
}

TouchScreen::Event PM9000TouchScreen::parsePacket(const unsigned char* packet) const
{
    Event event;
    event.pressed = packet[0] == 0xFF;
    event.x = 128 * packet[1] + packet[2];
    event.y = 128 * packet[3] + packet[4];
    return event;
}

} // namespace OKU
