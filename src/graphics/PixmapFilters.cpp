#include <cstddef>

#include "graphics/LowPassFilter.h"
#include "graphics/Pixmap.h"

namespace OKU {

namespace detail __attribute__((visibility("hidden"))) {

namespace {

// Byte offsets of the channels inside a pixel; alpha last so that a pixmap
// without alpha can leave it out.
const size_t c_channelOffsets[] = {offsetof(Pixmap::Pixel, blue), offsetof(Pixmap::Pixel, green),
                                   offsetof(Pixmap::Pixel, red), offsetof(Pixmap::Pixel, alpha)};

template <class PlaneType, class Byte>
std::vector<PlaneType> channelPlanes(Byte* base, int width, int height, bool alpha)
{
    const size_t count = alpha ? 4 : 3;
    std::vector<PlaneType> planes;
    for (size_t i = 0; i < count; ++i) {
        // An empty pixmap has no array; keep the plane count regardless.
        Byte* data = base ? base + c_channelOffsets[i] : nullptr;
        planes.push_back(PlaneType{data, width, height, static_cast<int>(sizeof(Pixmap::Pixel))});
    }
    return planes;
}

} // namespace

std::vector<ConstPlane> readPlanes(const Pixmap& pixmap)
{
    return channelPlanes<ConstPlane>(reinterpret_cast<const unsigned char*>(pixmap.getPixels()),
                                     pixmap.getWidth(), pixmap.getHeight(), pixmap.hasAlpha());
}

std::vector<Plane> writePlanes(Pixmap& pixmap)
{
    return channelPlanes<Plane>(reinterpret_cast<unsigned char*>(pixmap.getPixels()),
                                pixmap.getWidth(), pixmap.getHeight(), pixmap.hasAlpha());
}

} // namespace detail

Pixmap Pixmap::lowPassFilterX(float fc, int taps) const
{
    return detail::lowPassFilterX(*this, fc, taps);
}

Pixmap Pixmap::lowPassFilterY(float fc, int taps) const
{
    return detail::lowPassFilterY(*this, fc, taps);
}

Pixmap Pixmap::lowPassFilter2(float fcx, float fcy, int taps) const
{
    return detail::lowPassFilter2(*this, fcx, fcy, taps);
}

Pixmap Pixmap::lowPassFilter(float fcx, float fcy, int taps) const
{
    return detail::lowPassFilter(*this, fcx, fcy, taps);
}

Pixmap Pixmap::scaleNearest(int width, int height) const
{
    return detail::scaleNearest(*this, width, height);
}

Pixmap Pixmap::scaleBilinear(int width, int height, int taps) const
{
    return detail::scaleBilinear(*this, width, height, taps);
}

} // namespace OKU
