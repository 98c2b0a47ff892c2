// The framebuffer writers compiled for NEON, where the vector loops become
// NEON code; the rest of the program may be built without it (Debian's armhf
// baseline has no NEON). The writers call this only on processors that have
// it (CpuFeatures.h).

#if defined(__arm__) || defined(__aarch64__)

#include "graphics/PixmapWriterKernels.h"

namespace OKU {

void convertRectNeon(WriterFormat format, const Pixmap& image, void* dst, const Rect& r)
{
    switch (format) {
    case WriterFormat::RGB32:
        convertRect<ToRGB32>(image, dst, r);
        break;
    case WriterFormat::BGR16:
        convertRect<ToBGR16>(image, dst, r);
        break;
    case WriterFormat::RGB15:
        convertRect<ToRGB15>(image, dst, r);
        break;
    }
}

} // namespace OKU

#endif
