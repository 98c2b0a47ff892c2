// Glyph drawing: a coverage bitmap blended in the drawing colour.

#include <cstdlib>

#include "graphics/Graymap.h"
#include "graphics/Pixmap.h"
#include "graphics/detail/CoverageBlend.h"
#include "text/Glyph.h"

namespace OKU {

namespace {

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
    const CoverageBlock block{getRow(visible.y) + visible.x,
                              m_width,
                              bitmap.getRow(visible.y - area.y) + (visible.x - area.x),
                              bitmap.getWidth(),
                              visible.width,
                              visible.height};
    blendCoverage(block, c, visible == area, m_hasAlpha);
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
