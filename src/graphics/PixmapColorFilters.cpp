// Colour filters. They work on the clip rectangle only and never touch the
// alpha bytes.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "graphics/Pixmap.h"

namespace OKU {

namespace {

template <class Filter>
void forEachClipPixel(Pixmap& image, const Rect& clip, Filter filter)
{
    for (int y = clip.y; y < clip.bottom(); ++y) {
        Pixmap::Pixel* row = image.getRow(y) + clip.x;
        for (int i = 0; i < clip.width; ++i)
            filter(row[i]);
    }
}

// A channel mapping tabulated once per call; std::round rounds halves away
// from zero.
template <class Curve>
std::array<uint8_t, 256> makeChannelTable(Curve curve)
{
    std::array<uint8_t, 256> table;
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<uint8_t>(std::clamp(std::round(curve(c)), 0.0, 255.0));
    return table;
}

void applyChannelTable(Pixmap& image, const Rect& clip, const std::array<uint8_t, 256>& table)
{
    forEachClipPixel(image, clip, [&table](Pixmap::Pixel& p) {
        p.red = table[p.red];
        p.green = table[p.green];
        p.blue = table[p.blue];
    });
}

int grayLevel(const Pixmap::Pixel& p)
{
    return (p.red + 2 * p.green + p.blue) >> 2;
}

} // namespace

void Pixmap::desaturate()
{
    forEachClipPixel(*this, m_clip, [](Pixel& p) {
        p.red = p.green = p.blue = static_cast<uint8_t>(grayLevel(p));
    });
}

void Pixmap::colorize(const Color& c)
{
    forEachClipPixel(*this, m_clip, [&c](Pixel& p) {
        const int g = grayLevel(p);
        p.red = static_cast<uint8_t>(c.red * g / 256);
        p.green = static_cast<uint8_t>(c.green * g / 256);
        p.blue = static_cast<uint8_t>(c.blue * g / 256);
    });
}

void Pixmap::brightness(double b)
{
    if (b < 0)
        applyChannelTable(*this, m_clip, makeChannelTable([b](int c) { return (1 + b) * c; }));
    else
        applyChannelTable(*this, m_clip,
                          makeChannelTable([b](int c) { return 255 - (255 - c) * (1 - b); }));
}

void Pixmap::contrast(double k)
{
    applyChannelTable(*this, m_clip, makeChannelTable([k](int c) { return 128 + (c - 128) * k; }));
}

} // namespace OKU
