#include "RawTouchMap.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

int toRawRange(double value)
{
    return std::clamp(static_cast<int>(std::lround(value)), 0, c_rawMaximum);
}

} // namespace

RawPosition screenToRaw(int x, int y)
{
    const double sx = x;
    const double sy = y;
    // About 18 and 30 raw units per pixel; the ripple stays below 20 units.
    const double rawX = 420 + 18.2 * sx + 0.85 * sy + 0.001 * sx * sy + 12 * std::sin(sx / 53) +
                        6 * std::sin(sy / 41);
    const double rawY = 610 - 0.7 * sx + 30.5 * sy + 0.0004 * sx * sx + 15 * std::sin(sy / 37);
    return RawPosition{toRawRange(rawX), toRawRange(rawY)};
}

} // namespace sim
