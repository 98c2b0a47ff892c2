// FrameWriter for a panel mounted turned: every device row is gathered from
// a logical column (90, 270) or a logical row read backwards (180).

#include <algorithm>
#include <cstddef>

#include "core/ScreenRotation.h"
#include "graphics/FrameWriter.h"
#include "graphics/PixmapWriterFormats.h"

namespace OKU {

namespace {

// Device columns converted per strip at 90 and 270 degrees. A strip is walked
// row by row; its source is that many logical rows, read one pixel further
// along per device row, so every source cache line is used up while it is
// still in the cache instead of being loaded again for each device row.
const int c_stripWidth = 32;

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

template <class Format>
void convertStrided(typename Format::Word* __restrict dst, const Pixmap::Pixel* src,
                    ptrdiff_t step, int count)
{
    for (int i = 0; i < count; ++i)
        dst[i] = static_cast<typename Format::Word>(Format::convert(pixelWord(src + i * step)));
}

template <class Format>
void writeArea(const SourceWalk& walk, const Rect& device, int stripWidth, unsigned char* frame,
               size_t lineBytes)
{
    typedef typename Format::Word Word;
    for (int strip = 0; strip < device.width; strip += stripWidth) {
        const int count = std::min(stripWidth, device.width - strip);
        const Pixmap::Pixel* stripStart = walk.first + strip * walk.alongRow;
        for (int y = 0; y < device.height; ++y) {
            unsigned char* row = frame + static_cast<size_t>(device.y + y) * lineBytes +
                                 static_cast<size_t>(device.x + strip) * sizeof(Word);
            convertStrided<Format>(reinterpret_cast<Word*>(row), stripStart + y * walk.nextRow,
                                   walk.alongRow, count);
        }
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
    unsigned char* bytes = static_cast<unsigned char*>(frame);
    switch (m_format) {
    case FramePixelFormat::RGB32:
        writeArea<ToRGB32>(walk, device, stripWidth, bytes, lineBytes);
        break;
    case FramePixelFormat::BGR16:
        writeArea<ToBGR16>(walk, device, stripWidth, bytes, lineBytes);
        break;
    case FramePixelFormat::RGB15:
        writeArea<ToRGB15>(walk, device, stripWidth, bytes, lineBytes);
        break;
    }
}

} // namespace OKU
