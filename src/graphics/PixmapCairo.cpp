#include "graphics/Pixmap.h"

#include <cairomm/context.h>
#include <cairomm/surface.h>

namespace OKU {

Cairo::RefPtr<Cairo::Context> Pixmap::getCairo()
{
    // Pixel memory order blue, green, red, alpha is Cairo's native-endian
    // 0xAARRGGBB word on a little-endian processor; RGB24 ignores the alpha byte.
    const Cairo::RefPtr<Cairo::ImageSurface> surface = Cairo::ImageSurface::create(
        reinterpret_cast<unsigned char*>(m_pixels.get()),
        m_hasAlpha ? Cairo::FORMAT_ARGB32 : Cairo::FORMAT_RGB24, m_width, m_height,
        m_width * static_cast<int>(sizeof(Pixel)));
    return Cairo::Context::create(surface);
}

} // namespace OKU
