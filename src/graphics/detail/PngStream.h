#ifndef OKU_GRAPHICS_DETAIL_PNGSTREAM_H
#define OKU_GRAPHICS_DETAIL_PNGSTREAM_H

#include <png.h>

#include <istream>
#include <ostream>

namespace OKU {
namespace internal {

/// Makes libpng read through the stream. A short read raises the libpng
/// error "Read error", which long-jumps to the caller's error handler.
void pngSetStreamReader(png_struct* png, std::istream* in);

/// Makes libpng write and flush through the stream. Only a missing stream
/// raises "Write error"; the stream's own failures stay in its state for the
/// caller to check.
void pngSetStreamWriter(png_struct* png, std::ostream* out);

} // namespace internal
} // namespace OKU

#endif
