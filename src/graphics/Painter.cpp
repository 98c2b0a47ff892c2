#include "graphics/Painter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "graphics/CompositePixmap.h"
#include "graphics/Pixmap.h"
#include "graphics/Shadow.h"

namespace OKU {

namespace {

// The first position of a row of tiles of the given step, laid from start,
// whose tile reaches beyond clipStart; tiles before it draw nothing.
int firstVisibleTile(int start, int step, int clipStart)
{
    if (clipStart <= start)
        return start;
    return start + (clipStart - start) / step * step;
}

} // namespace

void Painter::StateSaver::restore()
{
    if (!m_painter)
        return;
    m_painter->setOffset(m_offset);
    m_painter->setClipRectAbs(m_clip);
    m_painter = nullptr;
}

Painter::~Painter() = default;

void Painter::setOffset(int x, int y)
{
    setOffset(Point(x, y));
}

void Painter::setOffset(const Point& offset)
{
    m_offset = offset;
}

void Painter::translate(int dx, int dy)
{
    m_offset.x += dx;
    m_offset.y += dy;
}

void Painter::translate(const Point& delta)
{
    translate(delta.x, delta.y);
}

Point Painter::getOffset() const
{
    return m_offset;
}

void Painter::setClipRect(const Rect& r)
{
    setClipRectAbs(Rect(r.x + m_offset.x, r.y + m_offset.y, r.width, r.height));
}

void Painter::setClipRectAbs(const Rect& r)
{
    m_clip = r;
}

Rect Painter::getClipRect() const
{
    return Rect(m_clip.x - m_offset.x, m_clip.y - m_offset.y, m_clip.width, m_clip.height);
}

Rect Painter::getClipRectAbs() const
{
    return m_clip;
}

void Painter::drawRect(int x, int y, int w, int h, const Color& border, const Color& fill)
{
    drawSolidRect(x + 1, y + 1, w - 2, h - 2, fill);
    drawHollowRect(x, y, w, h, border, 1);
}

void Painter::drawPixmap(int x, int y, const Pixmap& src, int sx, int sy, int w, int h)
{
    x += m_offset.x;
    y += m_offset.y;
    const Rect visible = Rect(x, y, w, h).intersection(m_clip);
    if (visible.isEmpty())
        return;
    drawPixmapNoClip(visible.x, visible.y, src, sx + visible.x - x, sy + visible.y - y,
                     visible.width, visible.height);
}

void Painter::drawPixmap(int x, int y, int w, int h, const Pixmap& src, int sx, int sy, int sw,
                         int sh)
{
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    x += m_offset.x;
    y += m_offset.y;
    const Rect visible = Rect(x, y, w, h).intersection(m_clip);
    if (visible.isEmpty())
        return;
    // A cut of c destination pixels skips sw * c / w source pixels; the
    // remainder is where the error term of the first visible pixel stands.
    const int64_t cutX = static_cast<int64_t>(sw) * (visible.x - x);
    const int64_t cutY = static_cast<int64_t>(sh) * (visible.y - y);
    drawPixmapNoClip(visible.x, visible.y, visible.width, visible.height, src,
                     sx + static_cast<int>(cutX / w), sy + static_cast<int>(cutY / h),
                     static_cast<int>(cutX % w), sw, w, static_cast<int>(cutY % h), sh, h);
}

void Painter::drawPixmap(int x, int y, int w, int h, const Pixmap& src)
{
    drawPixmap(x, y, w, h, src, 0, 0, src.getWidth(), src.getHeight());
}

void Painter::drawPixmap(int x, int y, const Pixmap& src)
{
    drawPixmap(x, y, src, 0, 0, src.getWidth(), src.getHeight());
}

void Painter::drawTiledPixmap(int x, int y, int w, int h, const Pixmap& tile)
{
    const int tileWidth = tile.getWidth();
    const int tileHeight = tile.getHeight();
    if (tileWidth <= 0 || tileHeight <= 0 || h <= 0)
        return;
    // Only the tiles that reach into the clip are handed on; the others
    // would be clipped away whole.
    const Rect clip = getClipRect();
    const int right = std::min(x + w, clip.right());
    const int bottom = std::min(y + h, clip.bottom());
    const int left = firstVisibleTile(x, tileWidth, clip.x);
    for (int ty = firstVisibleTile(y, tileHeight, clip.y); ty < bottom; ty += tileHeight) {
        const int rowHeight = std::min(tileHeight, y + h - ty);
        for (int tx = left; tx < right; tx += tileWidth)
            drawPixmap(tx, ty, tile, 0, 0, std::min(tileWidth, x + w - tx), rowHeight);
    }
}

void Painter::drawCompositePixmap(int x, int y, int w, int h, const CompositePixmap& cpm)
{
    const Margins& outer = cpm.getOuterMargins();
    const int x0 = x - outer.left;
    const int y0 = y - outer.top;
    const int leftWidth = cpm.getLeft().getWidth();
    const int topHeight = cpm.getTop().getHeight();
    const int x1 = x0 + (w + outer.left + outer.right) - cpm.getRight().getWidth();
    const int y1 = y0 + (h + outer.top + outer.bottom) - cpm.getBottom().getHeight();
    const int innerX = x0 + leftWidth;
    const int innerY = y0 + topHeight;
    const int innerWidth = x1 - innerX;
    const int innerHeight = y1 - innerY;

    drawPixmap(x0, y0, cpm.getTopLeft());
    drawPixmap(innerX, y0, innerWidth, topHeight, cpm.getTop());
    drawPixmap(x1, y0, cpm.getTopRight());
    drawPixmap(x0, innerY, leftWidth, innerHeight, cpm.getLeft());
    const Pixmap& center = cpm.getCenter();
    // A one-pixel centre is a plain colour: a fill is far cheaper than a stretch.
    if (center.getWidth() == 1 && center.getHeight() == 1) {
        const Pixmap::Pixel& p = center.getPixel(0, 0);
        drawSolidRect(innerX, innerY, innerWidth, innerHeight,
                      Color(p.red, p.green, p.blue, p.alpha));
    } else {
        drawPixmap(innerX, innerY, innerWidth, innerHeight, center);
    }
    drawPixmap(x1, innerY, cpm.getRight().getWidth(), innerHeight, cpm.getRight());
    drawPixmap(x0, y1, cpm.getBottomLeft());
    drawPixmap(innerX, y1, innerWidth, cpm.getBottom().getHeight(), cpm.getBottom());
    drawPixmap(x1, y1, cpm.getBottomRight());
}

void Painter::drawRectShadow(int x, int y, int w, int h, int dx, int dy, const Shadow& shadow)
{
    if (dx < 0 || dx > w || dy < 0 || dy > h)
        std::abort();
    const int r = shadow.getRadius();
    const Color& c = shadow.getColor();
    drawTiledPixmap(x + w, y + dy, dx, r, shadow.getTopEdge());
    drawPixmap(x + w + dx, y + dy, shadow.getTopRightCorner());
    drawTiledPixmap(x + w + dx, y + dy + r, r, h - r, shadow.getRightEdge());
    drawPixmap(x + w + dx, y + h + dy, shadow.getBottomRightCorner());
    drawTiledPixmap(x + dx + r, y + h + dy, w - r, r, shadow.getBottomEdge());
    drawPixmap(x + dx, y + h + dy, shadow.getBottomLeftCorner());
    drawTiledPixmap(x + dx, y + h, r, dy, shadow.getLeftEdge());
    drawSolidRect(x + dx + r, y + h, w - r, dy, c);
    drawSolidRect(x + w, y + dy + r, dx, h - dy - r, c);
}

void Painter::copyRect(int dx, int dy, int sx, int sy, int w, int h)
{
    dx += m_offset.x;
    dy += m_offset.y;
    const Rect visible = Rect(dx, dy, w, h).intersection(m_clip);
    if (visible.isEmpty())
        return;
    sx += m_offset.x + visible.x - dx;
    sy += m_offset.y + visible.y - dy;
    if (sx == visible.x && sy == visible.y)
        return;
    copyRectNoClip(visible.x, visible.y, sx, sy, visible.width, visible.height);
}

} // namespace OKU
