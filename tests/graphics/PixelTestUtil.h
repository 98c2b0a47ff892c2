#pragma once

#include <cstdint>
#include <string>

#include "graphics/Pixmap.h"

// Small helpers shared by the pixmap tests.
namespace GraphicsTest {

inline OKU::Pixmap::Pixel pixel(int r, int g, int b, int a)
{
    return OKU::Pixmap::Pixel{static_cast<uint8_t>(b), static_cast<uint8_t>(g),
                              static_cast<uint8_t>(r), static_cast<uint8_t>(a)};
}

inline OKU::Pixmap::Pixel pixel(const OKU::Color& c)
{
    return pixel(c.red, c.green, c.blue, c.alpha);
}

// "red,green,blue,alpha", readable in failure messages.
inline std::string rgba(const OKU::Pixmap::Pixel& p)
{
    return std::to_string(p.red) + "," + std::to_string(p.green) + "," + std::to_string(p.blue) +
           "," + std::to_string(p.alpha);
}

inline std::string rgba(const OKU::Pixmap& p, int x, int y)
{
    return rgba(p.getPixel(x, y));
}

// Every pixel as rgba(), separated by ' ', rows ending in '/'.
inline std::string pixels(const OKU::Pixmap& p)
{
    std::string s;
    for (int y = 0; y < p.getHeight(); ++y)
        for (int x = 0; x < p.getWidth(); ++x)
            s += rgba(p, x, y) + (x + 1 < p.getWidth() ? " " : "/");
    return s;
}

inline void setPixel(OKU::Pixmap& p, int x, int y, const OKU::Color& c)
{
    p.getRow(y)[x] = pixel(c);
}

} // namespace GraphicsTest
