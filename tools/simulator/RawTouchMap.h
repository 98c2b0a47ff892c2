#ifndef LIFEBOAT_SIM_RAWTOUCHMAP_H
#define LIFEBOAT_SIM_RAWTOUCHMAP_H

namespace sim {

struct RawPosition {
    int x;
    int y;
};

// Where the simulated touch panel's controller reports a touch at a screen
// pixel. A real panel is never mounted square on the display and its
// resistive layers are not perfectly even, so the map is a slightly rotated
// and sheared scaling into the controller's 14-bit range, bent a little and
// with a ripple of about one pixel. Only a calibration turns these units back
// into screen pixels; an uncalibrated device puts touches far off the screen.
RawPosition screenToRaw(int x, int y);

// The controller's coordinates are 14 bits wide.
const int c_rawMaximum = 0x3FFF;

} // namespace sim

#endif
