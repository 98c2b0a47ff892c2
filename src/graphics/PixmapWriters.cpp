// The framebuffer writers: rectangles of the back buffer converted run by run
// with the loops of the run's level (detail/PixelLoops.h). The portable loops
// are those of detail/PixmapWriterKernels.h compiled for the baseline.

#include "graphics/Pixmap.h"

#include "graphics/detail/PixelLoops.h"
#include "graphics/detail/PixmapWriterFormats.h"
#include "graphics/detail/PixmapWriterKernels.h"

namespace OKU {

namespace detail __attribute__((visibility("hidden"))) {

RunConverters runConvertersPortable()
{
    return runConverters<LowHalves>();
}

} // namespace detail

namespace {

detail::RunConverter runConverter(WriterFormat format)
{
    return detail::pixelLoops().convertRun[static_cast<size_t>(format)];
}

size_t wordBytes(WriterFormat format)
{
    return format == WriterFormat::RGB32 ? 4 : 2;
}

/// Converts r (cut to the image) into dst, which is laid out like the image.
void convertRect(const Pixmap& image, WriterFormat format, void* dst, const Rect& r)
{
    const int width = image.getWidth();
    const Rect area = r.intersection(Rect(0, 0, width, image.getHeight()));
    if (area.isEmpty())
        return;
    const detail::RunConverter convert = runConverter(format);
    unsigned char* out = static_cast<unsigned char*>(dst);
    const size_t bytes = wordBytes(format);
    // Whole rows are contiguous in both buffers: one run covers them all.
    if (area.width == width) {
        const size_t start = static_cast<size_t>(area.y) * width;
        convert(out + start * bytes, image.getRow(area.y),
                static_cast<size_t>(area.height) * width);
        return;
    }
    for (int y = area.y; y < area.bottom(); ++y) {
        const size_t start = static_cast<size_t>(y) * width + area.x;
        convert(out + start * bytes, image.getRow(y) + area.x, area.width);
    }
}

} // namespace

void convertPixels(WriterFormat format, void* dst, const Pixmap::Pixel* src, size_t count)
{
    runConverter(format)(dst, src, count);
}

void Pixmap::writeRGB32(void* dst, const Rect& r) const
{
    convertRect(*this, WriterFormat::RGB32, dst, r);
}

void Pixmap::writeBGR16(void* dst, const Rect& r) const
{
    convertRect(*this, WriterFormat::BGR16, dst, r);
}

void Pixmap::writeRGB15(void* dst, const Rect& r) const
{
    convertRect(*this, WriterFormat::RGB15, dst, r);
}

} // namespace OKU
