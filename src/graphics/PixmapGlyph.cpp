// Glyph drawing: a coverage bitmap blended in the drawing colour.

#include <cstdlib>

#include "graphics/Graymap.h"
#include "graphics/PixelBlend.h"
#include "graphics/Pixmap.h"
#include "text/Glyph.h"

namespace OKU {

namespace {

struct BlendOverOpaque {
    void operator()(Pixmap::Pixel& d, const Color& c, int a) const
    {
        blendOverOpaque(d, c.red, c.green, c.blue, a);
    }
};

struct BlendOverAlpha {
    void operator()(Pixmap::Pixel& d, const Color& c, int a) const
    {
        blendOverAlpha(d, c.red, c.green, c.blue, a);
    }
};

// Blends the visible part of a coverage bitmap placed at area. A glyph lying
// wholly inside skips empty coverage and draws full coverage at the colour's
// own alpha; a cut glyph scales the alpha by v / 256 for every pixel, so even
// full coverage comes out slightly lighter and empty coverage still counts as
// a blend of alpha 0.
template <class Blend>
void blendCoverage(Pixmap& image, const Graymap& bitmap, const Rect& area, const Rect& visible,
                   const Color& c, Blend blend)
{
    const bool whole = visible == area;
    for (int y = visible.y; y < visible.bottom(); ++y) {
        const unsigned char* src = bitmap.getRow(y - area.y) + (visible.x - area.x);
        Pixmap::Pixel* dst = image.getRow(y) + visible.x;
        if (whole) {
            for (int i = 0; i < visible.width; ++i) {
                const int v = src[i];
                if (v != 0)
                    blend(dst[i], c, v == 255 ? c.alpha : c.alpha * v / 256);
            }
        } else {
            for (int i = 0; i < visible.width; ++i)
                blend(dst[i], c, c.alpha * src[i] / 256);
        }
    }
}

int alignedPenX(int x, const Rect& box, HAlign halign)
{
    switch (halign) {
    case HAlign::LEFT:
        return x - box.x;
    case HAlign::CENTER:
        return x - (box.x + box.width / 2);
    case HAlign::RIGHT:
        return x - (box.x + box.width);
    default:
        abort();
    }
}

int alignedBaseline(int y, const Rect& box, VAlign valign)
{
    switch (valign) {
    case VAlign::TOP:
        return y + box.y;
    case VAlign::CENTER:
        return y + box.y - box.height / 2;
    case VAlign::BASELINE:
        return y;
    case VAlign::BOTTOM:
        return y + box.y - box.height;
    default:
        abort();
    }
}

} // namespace

void Pixmap::drawGlyphAbs(int x, int y, const Glyph& glyph, const Color& c)
{
    const Graymap& bitmap = glyph.getBitmap();
    const Rect area(x + glyph.getLeft(), y + glyph.getTop(), bitmap.getWidth(), bitmap.getHeight());
    const Rect visible = area.intersection(m_clip);
    if (visible.isEmpty())
        return;
    if (m_hasAlpha)
        blendCoverage(*this, bitmap, area, visible, c, BlendOverAlpha());
    else
        blendCoverage(*this, bitmap, area, visible, c, BlendOverOpaque());
}

// The glyph's box, not its bitmap, is aligned to (x, y).
void Pixmap::drawGlyph(int x, int y, const std::shared_ptr<const Glyph>& glyph, const Color& c,
                       HAlign halign, VAlign valign)
{
    const Rect box = glyph->getBBox();
    drawGlyphAbs(alignedPenX(x + m_offset.x, box, halign),
                 alignedBaseline(y + m_offset.y, box, valign), *glyph, c);
}

void Pixmap::drawGlyph(int x, int y, const std::shared_ptr<const Glyph>& glyph, const Color& c)
{
    drawGlyphAbs(x + m_offset.x, y + m_offset.y, *glyph, c);
}

} // namespace OKU
