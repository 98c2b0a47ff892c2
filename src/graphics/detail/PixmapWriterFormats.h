#ifndef OKU_GRAPHICS_DETAIL_PIXMAPWRITERFORMATS_H
#define OKU_GRAPHICS_DETAIL_PIXMAPWRITERFORMATS_H

// Private to the framebuffer writers: the device formats they convert back
// buffer pixels into, and the conversion of a run of pixels that the turned
// writer (FrameWriterRotated.cpp) shares with the Pixmap writers.

#include <cstddef>

#include "graphics/Pixmap.h"

// Defined in PixmapWriters.cpp, which is compiled with the public classes: the
// declarations keep it out of the shared library's exports all the same.
#pragma GCC visibility push(hidden)

namespace OKU {

/// 8:8:8 in 32 bits, 5-6-5 with red in the top bits, 5-5-5 with red in the
/// low bits.
enum class WriterFormat { RGB32, BGR16, RGB15 };

/// Converts count pixels into count words of the format at dst, with the
/// loop of the run's level (PixmapWriters.cpp).
void convertPixels(WriterFormat format, void* dst, const Pixmap::Pixel* src, size_t count);

} // namespace OKU

#pragma GCC visibility pop

#endif
