#include "Raster.h"

#include <algorithm>
#include <cmath>

#include "core/FatalError.h"

using OKU::Color;
using OKU::Pixmap;
using OKU::Rect;

namespace PixmapGen {

namespace {

uint8_t scaled(uint8_t value, double factor)
{
    return static_cast<uint8_t>(std::lround(value * factor));
}

int mixChannel(int a, int b, double t)
{
    return static_cast<int>(std::lround(a + (b - a) * t));
}

// How much of pixel (x, y) the shape covers, 0 to 1, from the distance at the
// pixel's centre.
double coverage(const Shape& shape, int x, int y, double softness)
{
    const double t = std::clamp(0.5 - shape.distance(x + 0.5, y + 0.5) / softness, 0.0, 1.0);
    return softness > 1 ? t * t * (3 - 2 * t) : t;
}

} // namespace

void paint(Pixmap& target, const Shape& shape, const Pixmap& layer, double softness)
{
    if (layer.getWidth() != target.getWidth() || layer.getHeight() != target.getHeight())
        OKU::fatalError("pixmapgen: paint layer and target differ in size");
    Pixmap masked(layer);
    masked.addAlpha();
    for (int y = 0; y < masked.getHeight(); ++y) {
        Pixmap::Pixel* row = masked.getRow(y);
        for (int x = 0; x < masked.getWidth(); ++x)
            row[x].alpha = scaled(row[x].alpha, coverage(shape, x, y, softness));
    }
    target.drawPixmap(0, 0, masked);
}

void paint(Pixmap& target, const Shape& shape, const Color& color, double softness)
{
    paint(target, shape, Pixmap(target.getWidth(), target.getHeight(), color), softness);
}

Pixmap verticalGradient(int width, int height, int top, int bottom, const Color& topColor,
                        const Color& bottomColor)
{
    Pixmap layer(width, height, true);
    layer.drawSolidRect(0, 0, width, top, topColor);
    layer.drawVerticalGradient(Rect(0, top, width, bottom - top + 1), topColor, bottomColor);
    layer.drawSolidRect(0, bottom + 1, width, height - bottom - 1, bottomColor);
    return layer;
}

Pixmap radialGradient(int width, int height, Vec centre, double radius, const Color& inner,
                      const Color& outer)
{
    Pixmap layer(width, height, true);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double t = std::min(
                1.0, std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y) / radius);
            layer.drawPixel(x, y,
                            Color(mixChannel(inner.red, outer.red, t),
                                  mixChannel(inner.green, outer.green, t),
                                  mixChannel(inner.blue, outer.blue, t),
                                  mixChannel(inner.alpha, outer.alpha, t)));
        }
    }
    return layer;
}

} // namespace PixmapGen
