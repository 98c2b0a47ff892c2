// The framebuffer writers compiled for NEON, where the vector loops become
// NEON code; the rest of the program may be built without it (Debian's armhf
// baseline has no NEON). The writers call this only on processors that have
// it (CpuFeatures.h).

#if defined(__arm__) || defined(__aarch64__)

#include "graphics/PixmapWriterKernels.h"

namespace OKU {

void convertRunNeon(WriterFormat format, void* dst, const Pixmap::Pixel* src, size_t count)
{
    switch (format) {
    case WriterFormat::RGB32:
        convertRunOf<ToRGB32>(dst, src, count);
        break;
    case WriterFormat::BGR16:
        convertRunOf<ToBGR16>(dst, src, count);
        break;
    case WriterFormat::RGB15:
        convertRunOf<ToRGB15>(dst, src, count);
        break;
    }
}

} // namespace OKU

#endif
