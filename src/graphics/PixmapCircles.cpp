// Circles and rounded rectangles, all built on the midpoint circle walk.

#include <algorithm>

#include "graphics/PixelBlend.h"
#include "graphics/Pixmap.h"

namespace OKU {

namespace {

// The midpoint walk over one octant of a circle of radius r: step(x, y, d)
// is called with the decision term of each step before the walk stops (once
// x >= y) or updates it.
template <class Step>
void walkCircle(int r, Step step)
{
    int d = 3 - 2 * r;
    int y = r;
    for (int x = 0;; ++x) {
        step(x, y, d);
        if (x >= y)
            break;
        if (d >= 0) {
            d += 4 * (x - y) + 10;
            --y;
        } else {
            d += 4 * x + 6;
        }
    }
}

// The horizontal runs that fill a circle of radius r whose centre is stretched
// over the centre columns left..right and rows top..bottom: the upper half
// is drawn around row top, the lower half around row bottom. With a single
// centre pixel this is a filled circle.
void fillCircleRuns(Pixmap& image, int left, int top, int right, int bottom, int r,
                    const Color& c)
{
    const auto run = [&](int row, int halfWidth) {
        image.drawHLine(left - halfWidth, row, right - left + 1 + 2 * halfWidth, c);
    };
    walkCircle(r, [&](int x, int y, int d) {
        run(top - x, y);
        if (x > 0)
            run(bottom + x, y);
        if (d >= 0) {
            run(top - y, x);
            if (x > 0)
                run(bottom + y, x);
        }
    });
}

bool circleMissesClip(int cx, int cy, int r, const Rect& clip)
{
    return !Rect(cx - r, cy - r, 2 * r + 1, 2 * r + 1).intersects(clip);
}

} // namespace

void Pixmap::drawHollowCircle(int cx, int cy, int r, const Color& c)
{
    cx += m_offset.x;
    cy += m_offset.y;
    if (circleMissesClip(cx, cy, r, m_clip))
        return;
    walkCircle(r, [&](int x, int y, int) {
        plotClipped(*this, m_clip, cx + x, cy + y, c);
        plotClipped(*this, m_clip, cx - x, cy + y, c);
        plotClipped(*this, m_clip, cx + x, cy - y, c);
        plotClipped(*this, m_clip, cx - x, cy - y, c);
        plotClipped(*this, m_clip, cx + y, cy + x, c);
        plotClipped(*this, m_clip, cx - y, cy + x, c);
        plotClipped(*this, m_clip, cx + y, cy - x, c);
        plotClipped(*this, m_clip, cx - y, cy - x, c);
    });
}

void Pixmap::drawSolidCircle(int cx, int cy, int r, const Color& c)
{
    cx += m_offset.x;
    cy += m_offset.y;
    if (circleMissesClip(cx, cy, r, m_clip))
        return;
    fillCircleRuns(*this, cx, cy, cx, cy, r, c);
}

// A negative radius is taken as 0.
void Pixmap::drawSolidRoundedRect(int x, int y, int w, int h, int radius, const Color& c)
{
    if (w <= 0 || h <= 0)
        return;
    int r = std::max(0, radius);
    if (2 * r > w)
        r = w / 2;
    if (h < 2 * r)
        r = h / 2;
    drawSolidRect(x, y + r, w, h - 2 * r, c);
    x += m_offset.x;
    y += m_offset.y;
    fillCircleRuns(*this, x + r, y + r, x + w - 1 - r, y + h - r - 1, r, c);
}

} // namespace OKU
