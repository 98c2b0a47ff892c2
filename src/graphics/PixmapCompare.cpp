// Whole-image tests and comparisons between images.

#include <cstdlib>
#include <cstring>

#include "graphics/Pixmap.h"

namespace OKU {

namespace {

bool isGrayPixel(const Pixmap::Pixel& p, int tolerance)
{
    return abs(p.red - p.green) <= tolerance && abs(p.red - p.blue) <= tolerance &&
           abs(p.green - p.blue) <= tolerance;
}

bool isBlackOrWhite(const Pixmap::Pixel& p)
{
    return (p.red == 0 && p.green == 0 && p.blue == 0) ||
           (p.red == 255 && p.green == 255 && p.blue == 255);
}

// Whether every pixel that matters passes the test; with alpha, fully
// transparent pixels do not matter.
template <class Test>
bool allVisiblePixels(const Pixmap& image, Test test)
{
    const Pixmap::Pixel* p = image.getPixels();
    const size_t n = image.getPixelCount();
    const bool skipTransparent = image.hasAlpha();
    for (size_t i = 0; i < n; ++i) {
        if ((!skipTransparent || p[i].alpha != 0) && !test(p[i]))
            return false;
    }
    return true;
}

bool rowsEqual(const Pixmap& a, const Pixmap& b, int y, int x, int width)
{
    return memcmp(a.getRow(y) + x, b.getRow(y) + x, width * sizeof(Pixmap::Pixel)) == 0;
}

bool columnsEqual(const Pixmap& a, const Pixmap& b, int x, int y, int height)
{
    return Pixmap::vLineCmp(a.getRow(y) + x, b.getRow(y) + x, a.getWidth(), height);
}

} // namespace

bool Pixmap::isGray(int tolerance) const
{
    return allVisiblePixels(*this, [tolerance](const Pixel& p) { return isGrayPixel(p, tolerance); });
}

bool Pixmap::isBlackAndWhite() const
{
    return allVisiblePixels(*this, isBlackOrWhite);
}

bool Pixmap::isSolidRect(int x, int y, int w, int h, Color* out) const
{
    const Rect r =
        Rect(x + m_offset.x, y + m_offset.y, w, h).intersection(Rect(0, 0, m_width, m_height));
    if (r.isEmpty())
        return false;
    const Pixel first = getRow(r.y)[r.x];
    for (int row = r.y; row < r.bottom(); ++row) {
        const Pixel* p = getRow(row) + r.x;
        for (int i = 0; i < r.width; ++i) {
            if (p[i] != first)
                return false;
        }
    }
    if (out)
        *out = Color(first.red, first.green, first.blue, first.alpha);
    return true;
}

bool Pixmap::vLineCmp(const Pixel* p, const Pixel* q, int stride, int n)
{
    for (int i = 0; i < n; ++i, p += stride, q += stride) {
        if (*p != *q)
            return false;
    }
    return true;
}

// r is first cut to the images so that no comparison reads outside them.
void Pixmap::diffShrink(Rect& r, const Pixmap& a, const Pixmap& b)
{
    if (&a == &b || a.m_width != b.m_width || a.m_height != b.m_height || a.isEmpty())
        return;
    r = r.intersection(Rect(0, 0, a.m_width, a.m_height));
    while (r.height > 0 && rowsEqual(a, b, r.y, r.x, r.width)) {
        ++r.y;
        --r.height;
    }
    if (r.height == 0)
        return;
    // The top row now differs somewhere, so neither loop below empties r.
    while (rowsEqual(a, b, r.bottom() - 1, r.x, r.width))
        --r.height;
    while (columnsEqual(a, b, r.x, r.y, r.height)) {
        ++r.x;
        --r.width;
    }
    while (columnsEqual(a, b, r.right() - 1, r.y, r.height))
        --r.width;
}

} // namespace OKU
