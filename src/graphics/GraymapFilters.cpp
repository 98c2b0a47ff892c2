#include "graphics/Graymap.h"
#include "graphics/LowPassFilter.h"

namespace OKU {

namespace detail __attribute__((visibility("hidden"))) {

std::vector<ConstPlane> readPlanes(const Graymap& map)
{
    std::vector<ConstPlane> planes{{map.getPixels(), map.getWidth(), map.getHeight(), 1}};
    if (map.hasAlpha())
        planes.push_back({map.getAlpha(), map.getWidth(), map.getHeight(), 1});
    return planes;
}

std::vector<Plane> writePlanes(Graymap& map)
{
    std::vector<Plane> planes{{map.getPixels(), map.getWidth(), map.getHeight(), 1}};
    if (map.hasAlpha())
        planes.push_back({map.getAlpha(), map.getWidth(), map.getHeight(), 1});
    return planes;
}

} // namespace detail

Graymap Graymap::lowPassFilterX(float fc, int taps) const
{
    return detail::lowPassFilterX(*this, fc, taps);
}

Graymap Graymap::lowPassFilterY(float fc, int taps) const
{
    return detail::lowPassFilterY(*this, fc, taps);
}

Graymap Graymap::lowPassFilter2(float fcx, float fcy, int taps) const
{
    return detail::lowPassFilter2(*this, fcx, fcy, taps);
}

Graymap Graymap::lowPassFilter(float fcx, float fcy, int taps) const
{
    return detail::lowPassFilter(*this, fcx, fcy, taps);
}

} // namespace OKU
