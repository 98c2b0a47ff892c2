#include "graphics/detail/FrameWriter.h"

#include "core/ScreenRotation.h"
#include "graphics/Pixmap.h"

namespace OKU {

namespace {

typedef void (Pixmap::*Writer)(void*, const Rect&) const;

Writer writerFor(FramePixelFormat format)
{
    switch (format) {
    case FramePixelFormat::RGB32:
        return &Pixmap::writeRGB32;
    case FramePixelFormat::BGR16:
        return &Pixmap::writeBGR16;
    case FramePixelFormat::RGB15:
        break;
    }
    return &Pixmap::writeRGB15;
}

} // namespace

size_t bytesPerPixel(FramePixelFormat format)
{
    return format == FramePixelFormat::RGB32 ? 4 : 2;
}

FrameWriter::FrameWriter(FramePixelFormat format, size_t lineLength, int deviceWidth,
                         int deviceHeight, int rotation)
    : m_format(format), m_lineLength(lineLength), m_deviceWidth(deviceWidth),
      m_deviceHeight(deviceHeight), m_rotation(isScreenRotation(rotation) ? rotation : 0)
{
}

int FrameWriter::getLogicalWidth() const
{
    return rotatedSize(Size(m_deviceWidth, m_deviceHeight), m_rotation).width;
}

int FrameWriter::getLogicalHeight() const
{
    return rotatedSize(Size(m_deviceWidth, m_deviceHeight), m_rotation).height;
}

Rect FrameWriter::toDevice(const Rect& logical) const
{
    const Rect onScreen = logical.intersection(Rect(0, 0, getLogicalWidth(), getLogicalHeight()));
    if (onScreen.isEmpty())
        return Rect();
    return logicalToDevice(onScreen, m_rotation, Size(m_deviceWidth, m_deviceHeight));
}

void FrameWriter::write(const Pixmap& backBuffer, const Rect& r, void* frame) const
{
    if (m_rotation != 0) {
        writeRotated(backBuffer, r, frame);
        return;
    }
    const Writer convert = writerFor(m_format);
    // The writers lay rows out width pixels apart, as in the back buffer; so
    // does a device without padding (or one that reports no line length).
    const size_t packedLine = static_cast<size_t>(backBuffer.getWidth()) * bytesPerPixel(m_format);
    if (m_lineLength <= packedLine) {
        (backBuffer.*convert)(frame, r);
        return;
    }

    // Padded lines: one row at a time. The writer puts row y at y × packedLine
    // bytes from the address it is given, so that address is moved back by
    // the same amount from the device's row y.
    const Rect area = r.intersection(Rect(0, 0, backBuffer.getWidth(), backBuffer.getHeight()));
    const uintptr_t base = reinterpret_cast<uintptr_t>(frame);
    for (int y = area.y; y < area.bottom(); ++y) {
        const uintptr_t row = base + static_cast<size_t>(y) * m_lineLength;
        (backBuffer.*convert)(reinterpret_cast<void*>(row - static_cast<size_t>(y) * packedLine),
                              Rect(area.x, y, area.width, 1));
    }
}

} // namespace OKU
