// Pixel, run, line, rectangle and gradient primitives. Every one clips once
// and then blends through the rules of PixelBlend.h.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/PixelBlend.h"
#include "graphics/Pixmap.h"

namespace OKU {

namespace {

// Four pixels per step, which the compiler turns into one 16-byte store.
void fillRow(Pixmap::Pixel* p, int count, const Pixmap::Pixel& fill)
{
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        p[i] = fill;
        p[i + 1] = fill;
        p[i + 2] = fill;
        p[i + 3] = fill;
    }
    for (; i < count; ++i)
        p[i] = fill;
}

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "a pixel is read as the little-endian word 0xAARRGGBB");

// Four pixels as eight 16-bit lanes: green << 8 | blue, then alpha << 8 | red.
typedef uint16_t Lanes __attribute__((vector_size(16)));
const int c_lanePixels = sizeof(Lanes) / sizeof(Pixmap::Pixel);

// The blend rule for a destination without alpha, (a * s + (255 - a) * d)
// >> 8, over a row, with 0 < a < 255. Blue and red are blended in the low
// bytes of the lanes and green and alpha after moving them there: the sums
// stay below 2^16. The alpha lane weighs the destination by 256 and adds
// nothing, which keeps the alpha byte as it is.
void blendRowOverOpaque(Pixmap::Pixel* p, int count, const Color& c)
{
    const uint16_t a = static_cast<uint16_t>(c.alpha);
    const uint16_t na = static_cast<uint16_t>(255 - c.alpha);
    const uint16_t blue = static_cast<uint16_t>(a * c.blue);
    const uint16_t green = static_cast<uint16_t>(a * c.green);
    const uint16_t red = static_cast<uint16_t>(a * c.red);
    const Lanes lowSource = {blue, red, blue, red, blue, red, blue, red};
    const Lanes highSource = {green, 0, green, 0, green, 0, green, 0};
    const Lanes highWeight = {na, 256, na, 256, na, 256, na, 256};
    int i = 0;
    for (; i + c_lanePixels <= count; i += c_lanePixels) {
        Lanes d;
        std::memcpy(&d, p + i, sizeof d);
        const Lanes low = ((d & 0xFF) * na + lowSource) >> 8;
        const Lanes high = ((d >> 8) * highWeight + highSource) & 0xFF00;
        d = low | high;
        std::memcpy(p + i, &d, sizeof d);
    }
    for (; i < count; ++i)
        blendOverOpaque(p[i], c.red, c.green, c.blue, c.alpha);
}

// The colour blend over count pixels from p, stepping stride pixels. An
// opaque colour is a plain fill; a transparent one changes nothing in a
// destination without alpha.
void blendRun(Pixmap::Pixel* p, int count, ptrdiff_t stride, const Color& c, bool destAlpha)
{
    if (c.alpha >= 255) {
        const Pixmap::Pixel fill{static_cast<uint8_t>(c.blue), static_cast<uint8_t>(c.green),
                                 static_cast<uint8_t>(c.red), 255};
        if (stride == 1) {
            fillRow(p, count, fill);
        } else {
            for (int i = 0; i < count; ++i, p += stride)
                *p = fill;
        }
    } else if (destAlpha) {
        for (int i = 0; i < count; ++i, p += stride)
            blendOverAlpha(*p, c.red, c.green, c.blue, c.alpha);
    } else if (c.alpha > 0) {
        if (stride == 1) {
            blendRowOverOpaque(p, count, c);
        } else {
            for (int i = 0; i < count; ++i, p += stride)
                blendOverOpaque(*p, c.red, c.green, c.blue, c.alpha);
        }
    }
}

// Colour i of n + 1 steps from c1 to c2, every channel taken modulo 256. A
// gradient one pixel long (n = 0) is the first colour.
Color gradientColor(const Color& c1, const Color& c2, int i, int n)
{
    if (n == 0)
        return c1;
    const auto channel = [i, n](int a, int b) { return ((i * b + (n - i) * a) / n) & 255; };
    return Color(channel(c1.red, c2.red), channel(c1.green, c2.green),
                 channel(c1.blue, c2.blue), channel(c1.alpha, c2.alpha));
}

} // namespace

void Pixmap::drawPixel(int x, int y, const Color& c)
{
    plotClipped(*this, m_clip, x + m_offset.x, y + m_offset.y, c);
}

void Pixmap::drawPixelNoClip(int x, int y, const Pixel& p)
{
    Pixel& d = getRow(y)[x];
    if (m_hasAlpha)
        blendOverAlpha(d, p);
    else
        blendOverOpaque(d, p);
}

void Pixmap::drawHLineNoClip(int x, int y, int length, const Color& c)
{
    blendRun(getRow(y) + x, length, 1, c, m_hasAlpha);
}

void Pixmap::drawVLineNoClip(int x, int y, int length, const Color& c)
{
    blendRun(getRow(y) + x, length, m_width, c, m_hasAlpha);
}

void Pixmap::drawHLine(int x, int y, int length, const Color& c)
{
    if (y < m_clip.y || y >= m_clip.bottom())
        return;
    const int left = std::max(x, m_clip.x);
    const int right = std::min(x + length, m_clip.right());
    if (right > left)
        drawHLineNoClip(left, y, right - left, c);
}

void Pixmap::drawVLine(int x, int y, int length, const Color& c)
{
    if (x < m_clip.x || x >= m_clip.right())
        return;
    const int top = std::max(y, m_clip.y);
    const int bottom = std::min(y + length, m_clip.bottom());
    if (bottom > top)
        drawVLineNoClip(x, top, bottom - top, c);
}

// Bresenham: the decision term starts at 2|dy| - dx along the major axis and
// the minor coordinate moves whenever the term is not negative.
void Pixmap::drawLine(int x1, int y1, int x2, int y2, const Color& c)
{
    x1 += m_offset.x;
    y1 += m_offset.y;
    x2 += m_offset.x;
    y2 += m_offset.y;
    if (y1 == y2) {
        drawHLine(std::min(x1, x2), y1, abs(x2 - x1) + 1, c);
        return;
    }
    if (x1 == x2) {
        drawVLine(x1, std::min(y1, y2), abs(y2 - y1) + 1, c);
        return;
    }
    const bool steep = abs(y2 - y1) > abs(x2 - x1);
    // Walk along the major axis (u) and step the minor one (v).
    int u1 = steep ? y1 : x1, v1 = steep ? x1 : y1;
    int u2 = steep ? y2 : x2, v2 = steep ? x2 : y2;
    if (u1 > u2) {
        std::swap(u1, u2);
        std::swap(v1, v2);
    }
    const int du = u2 - u1;
    const int dv = abs(v2 - v1);
    const int vStep = v2 > v1 ? 1 : -1;
    int d = 2 * dv - du;
    for (int u = u1, v = v1;; ++u) {
        if (steep)
            plotClipped(*this, m_clip, v, u, c);
        else
            plotClipped(*this, m_clip, u, v, c);
        if (u == u2)
            break;
        if (d >= 0) {
            d += 2 * (dv - du);
            v += vStep;
        } else {
            d += 2 * dv;
        }
    }
}

void Pixmap::drawSolidRect(int x, int y, int w, int h, const Color& c)
{
    const Rect r = Rect(x + m_offset.x, y + m_offset.y, w, h).intersection(m_clip);
    for (int row = r.y; row < r.bottom(); ++row)
        blendRun(getRow(row) + r.x, r.width, 1, c, m_hasAlpha);
}

void Pixmap::drawHollowRect(int x, int y, int w, int h, const Color& c, int thickness)
{
    if (w <= 0 || h <= 0 || thickness < 1)
        return;
    x += m_offset.x;
    y += m_offset.y;
    const int rows = std::min(h / 2 + 1, thickness);
    for (int i = 0; i < rows; ++i) {
        drawHLine(x, y + i, w, c);
        drawHLine(x, y + h - 1 - i, w, c);
    }
    if (h <= 2 * thickness)
        return;
    const int columns = std::min(w / 2 + 1, thickness);
    for (int i = 0; i < columns; ++i) {
        drawVLine(x + i, y + thickness, h - 2 * thickness, c);
        drawVLine(x + w - 1 - i, y + thickness, h - 2 * thickness, c);
    }
}

// Both gradients spread over the whole unclipped rectangle, so the visible
// part keeps its colours whatever the clip.
void Pixmap::drawVerticalGradient(const Rect& r, const Color& top, const Color& bottom)
{
    const Rect area(r.x + m_offset.x, r.y + m_offset.y, r.width, r.height);
    const Rect visible = area.intersection(m_clip);
    for (int y = visible.y; y < visible.bottom(); ++y) {
        const Color c = gradientColor(top, bottom, y - area.y, area.height - 1);
        blendRun(getRow(y) + visible.x, visible.width, 1, c, m_hasAlpha);
    }
}

void Pixmap::drawHorizontalGradient(const Rect& r, const Color& left, const Color& right)
{
    const Rect area(r.x + m_offset.x, r.y + m_offset.y, r.width, r.height);
    const Rect visible = area.intersection(m_clip);
    if (visible.isEmpty())
        return;
    std::vector<Color> columns(visible.width);
    for (int i = 0; i < visible.width; ++i)
        columns[i] = gradientColor(left, right, visible.x + i - area.x, area.width - 1);
    for (int y = visible.y; y < visible.bottom(); ++y) {
        Pixel* row = getRow(y) + visible.x;
        for (int i = 0; i < visible.width; ++i)
            blendColor(row[i], columns[i], m_hasAlpha);
    }
}

} // namespace OKU
