// FrameWriter for a panel mounted turned: every device row is gathered from
// a logical column (90, 270) or a logical row read backwards (180), then
// converted by the writers' own loops.

#include <algorithm>
#include <cstddef>

#include "core/ScreenRotation.h"
#include "graphics/detail/FrameWriter.h"
#include "graphics/detail/PixmapWriterFormats.h"

namespace OKU {

namespace {

// Device columns converted per strip at 90 and 270 degrees. A strip is walked
// row by row; its source is that many logical rows, read one pixel further
// along per device row, so every source cache line is used up while it is
// still in the cache instead of being loaded again for each device row.
const int c_stripWidth = 32;
// Pixels gathered for one call of the vector loops.
const int c_gatherCount = 64;

// The device area as seen from the back buffer: the logical pixel of the
// area's first device pixel, and how far (in pixels, either way) the source
// moves for one step along a device row and for one device row down.
struct SourceWalk {
    const Pixmap::Pixel* first;
    ptrdiff_t alongRow;
    ptrdiff_t nextRow;
};

SourceWalk sourceWalk(const Pixmap& image, const Rect& device, int rotation, const Size& deviceSize)
{
    const Point start = deviceToLogical(device.topLeft(), rotation, deviceSize);
    const ptrdiff_t row = image.getWidth();
    const Pixmap::Pixel* first = image.getRow(start.y) + start.x;
    switch (rotation) {
    case 90:
        return SourceWalk{first, -row, 1};
    case 180:
        return SourceWalk{first, -1, -row};
    default: // 270
        return SourceWalk{first, row, -1};
    }
}

WriterFormat writerFormat(FramePixelFormat format)
{
    switch (format) {
    case FramePixelFormat::RGB32:
        return WriterFormat::RGB32;
    case FramePixelFormat::BGR16:
        return WriterFormat::BGR16;
    case FramePixelFormat::RGB15:
        break;
    }
    return WriterFormat::RGB15;
}

// One device row piece: its pixels are gathered into a small buffer, which
// the writers' vector loops then convert, instead of converting them one by
// one where they lie.
void writeRowPiece(WriterFormat format, size_t bytesPerPixel, unsigned char* dst,
                   const Pixmap::Pixel* src, ptrdiff_t step, int count)
{
    Pixmap::Pixel gathered[c_gatherCount];
    for (int done = 0; done < count; done += c_gatherCount) {
        const int n = std::min(c_gatherCount, count - done);
        for (int i = 0; i < n; ++i)
            gathered[i] = src[(done + i) * step];
        convertPixels(format, dst + done * bytesPerPixel, gathered, n);
    }
}

} // namespace

void FrameWriter::writeRotated(const Pixmap& backBuffer, const Rect& r, void* frame) const
{
    const Rect logical = r.intersection(Rect(0, 0, std::min(backBuffer.getWidth(), getLogicalWidth()),
                                             std::min(backBuffer.getHeight(), getLogicalHeight())));
    if (logical.isEmpty())
        return;
    const Size deviceSize(m_deviceWidth, m_deviceHeight);
    const Rect device = logicalToDevice(logical, m_rotation, deviceSize);
    const SourceWalk walk = sourceWalk(backBuffer, device, m_rotation, deviceSize);
    // Half-turned rows are read backwards but in one piece.
    const int stripWidth = m_rotation == 180 ? device.width : c_stripWidth;
    // A line length below the packed one means the device reported none.
    const size_t lineBytes =
        std::max(m_lineLength, static_cast<size_t>(m_deviceWidth) * bytesPerPixel(m_format));
    const WriterFormat format = writerFormat(m_format);
    const size_t pixelBytes = bytesPerPixel(m_format);
    unsigned char* bytes = static_cast<unsigned char*>(frame);
    for (int strip = 0; strip < device.width; strip += stripWidth) {
        const int count = std::min(stripWidth, device.width - strip);
        const Pixmap::Pixel* stripStart = walk.first + strip * walk.alongRow;
        for (int y = 0; y < device.height; ++y)
            writeRowPiece(format, pixelBytes,
                          bytes + static_cast<size_t>(device.y + y) * lineBytes +
                              static_cast<size_t>(device.x + strip) * pixelBytes,
                          stripStart + y * walk.nextRow, walk.alongRow, count);
    }
}

} // namespace OKU
