#include "graphics/Pixmap.h"

#include "graphics/CpuFeatures.h"
#include "graphics/PixmapWriterKernels.h"

namespace OKU {

namespace {

template <class Format>
void write(const Pixmap& image, void* dst, const Rect& r)
{
#if defined(__arm__) || defined(__aarch64__)
    if (neonEnabled()) {
        convertRectNeon(Format::format, image, dst, r);
        return;
    }
#endif
    convertRect<Format>(image, dst, r);
}

} // namespace

void Pixmap::writeRGB32(void* dst, const Rect& r) const
{
    write<ToRGB32>(*this, dst, r);
}

void Pixmap::writeBGR16(void* dst, const Rect& r) const
{
    write<ToBGR16>(*this, dst, r);
}

void Pixmap::writeRGB15(void* dst, const Rect& r) const
{
    write<ToRGB15>(*this, dst, r);
}

void Pixmap::writeRGB32(void* dst) const
{
    writeRGB32(dst, Rect(0, 0, m_width, m_height));
}

void Pixmap::writeBGR16(void* dst) const
{
    writeBGR16(dst, Rect(0, 0, m_width, m_height));
}

void Pixmap::writeRGB15(void* dst) const
{
    writeRGB15(dst, Rect(0, 0, m_width, m_height));
}

} // namespace OKU
