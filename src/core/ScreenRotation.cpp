#include "core/ScreenRotation.h"

namespace OKU {

bool isScreenRotation(int degrees)
{
    return degrees == 0 || degrees == 90 || degrees == 180 || degrees == 270;
}

Size rotatedSize(const Size& size, int rotation)
{
    if (rotation == 90 || rotation == 270)
        return Size(size.height, size.width);
    return size;
}

Point logicalToDevice(const Point& logical, int rotation, const Size& device)
{
    switch (rotation) {
    case 90: // the logical top left corner is the device's top right one
        return Point(device.width - 1 - logical.y, logical.x);
    case 180:
        return Point(device.width - 1 - logical.x, device.height - 1 - logical.y);
    case 270: // the logical top left corner is the device's bottom left one
        return Point(logical.y, device.height - 1 - logical.x);
    default:
        return logical;
    }
}

Point deviceToLogical(const Point& device, int rotation, const Size& deviceSize)
{
    switch (rotation) {
    case 90:
        return Point(device.y, deviceSize.width - 1 - device.x);
    case 180:
        return Point(deviceSize.width - 1 - device.x, deviceSize.height - 1 - device.y);
    case 270:
        return Point(deviceSize.height - 1 - device.y, device.x);
    default:
        return device;
    }
}

Rect logicalToDevice(const Rect& logical, int rotation, const Size& device)
{
    switch (rotation) {
    case 90:
        return Rect(device.width - logical.bottom(), logical.x, logical.height, logical.width);
    case 180:
        return Rect(device.width - logical.right(), device.height - logical.bottom(),
                    logical.width, logical.height);
    case 270:
        return Rect(logical.y, device.height - logical.right(), logical.height, logical.width);
    default:
        return logical;
    }
}

} // namespace OKU
