#ifndef OKU_GRAPHICS_DETAIL_IMAGELIMITS_H
#define OKU_GRAPHICS_DETAIL_IMAGELIMITS_H

#include <cstdint>

namespace OKU {

/// The largest image the loaders accept: 16384 pixels a side and 16 Mi pixels
/// in all (64 MiB as a Pixmap). Image files declare their size before their
/// data; the loaders check it against these limits before they allocate
/// anything, so that a short, broken or hostile file cannot make the device
/// allocate gigabytes. The screen and every theme image are far smaller.
constexpr int64_t c_maxImageSide = 16384;
constexpr int64_t c_maxImagePixels = int64_t(1) << 24;

/// Larger image files are refused before anything is read: no image within
/// the limits needs more than 8 bytes a pixel (16-bit RGBA, stored without
/// compression), and 16 MiB more leave room for headers and ancillary data.
constexpr int64_t c_maxImageFileBytes = 8 * c_maxImagePixels + (int64_t(16) << 20);

/// Whether a width x height image (both at least 0) is within the limits.
inline bool isLoadableImageSize(int64_t width, int64_t height)
{
    return width <= c_maxImageSide && height <= c_maxImageSide &&
           width * height <= c_maxImagePixels;
}

} // namespace OKU

#endif
