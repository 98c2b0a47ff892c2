#ifndef OKU_GRAPHICS_DETAIL_FRAMEWRITER_H
#define OKU_GRAPHICS_DETAIL_FRAMEWRITER_H

#include <cstddef>
#include <cstdint>

#include "core/Geometry.h"

namespace OKU {

class Pixmap;

/// The pixel layouts a display's frame memory can have.
enum class FramePixelFormat {
    RGB32, ///< x8r8g8b8 in a 32-bit word
    BGR16, ///< r5g6b5 in a 16-bit word
    RGB15, ///< x1b5g5r5 in a 16-bit word
};

size_t bytesPerPixel(FramePixelFormat format);

/// Converts areas of the back buffer into a display's frame memory: the
/// device's pixel format, rows lineLength bytes apart (padded lines allowed),
/// and the panel's mounting, the picture being turned clockwise by
/// 0, 90, 180 or 270 degrees on its way to the device (any other rotation
/// counts as 0). The back buffer has the logical size: the device's size with
/// width and height swapped at 90 and 270.
class FrameWriter {
public:
    FrameWriter(FramePixelFormat format, size_t lineLength, int deviceWidth, int deviceHeight,
                int rotation = 0);

    FramePixelFormat getFormat() const { return m_format; }
    size_t getLineLength() const { return m_lineLength; }
    int getRotation() const { return m_rotation; }
    int getDeviceWidth() const { return m_deviceWidth; }
    int getDeviceHeight() const { return m_deviceHeight; }
    int getLogicalWidth() const;
    int getLogicalHeight() const;

    /// Writes the back buffer's area r (logical coordinates, clipped to the
    /// back buffer) into the frame starting at frame. Only the device area
    /// toDevice(r) is written.
    void write(const Pixmap& backBuffer, const Rect& r, void* frame) const;

    /// The device area the logical rectangle (clipped to the logical screen)
    /// lands on; empty when it lies off the screen.
    Rect toDevice(const Rect& logical) const;

private:
    /// write() at 90, 180 and 270 degrees.
    void writeRotated(const Pixmap& backBuffer, const Rect& r, void* frame) const;

    FramePixelFormat m_format;
    size_t m_lineLength;
    int m_deviceWidth;
    int m_deviceHeight;
    int m_rotation;
};

} // namespace OKU

#endif
