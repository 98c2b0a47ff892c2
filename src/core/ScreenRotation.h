#ifndef OKU_CORE_SCREENROTATION_H
#define OKU_CORE_SCREENROTATION_H

#include "core/Geometry.h"

namespace OKU {

// How a panel is mounted: the picture is turned clockwise by 0, 90, 180 or
// 270 degrees on its way to the device. Logical coordinates are those of the
// widget tree, device coordinates those of the panel's own rows; at 90 and
// 270 the logical size is the device's with width and height swapped.
// A rotation other than the four is treated as 0.

bool isScreenRotation(int degrees);

/// The size seen on the other side of the rotation: the logical size of a
/// device, or the device size of a logical screen (the same swap).
Size rotatedSize(const Size& size, int rotation);

/// Where a logical pixel lands on a device of the given size.
Point logicalToDevice(const Point& logical, int rotation, const Size& device);
/// The logical pixel shown at a device pixel.
Point deviceToLogical(const Point& device, int rotation, const Size& deviceSize);
/// The device area a logical rectangle lands on (not clipped).
Rect logicalToDevice(const Rect& logical, int rotation, const Size& device);

} // namespace OKU

#endif
