// Text drawing: glyphs aligned to a font's line, single lines and text
// blocks.

#include <cstdlib>
#include <string>

#include "core/FatalError.h"
#include "graphics/Pixmap.h"
#include "text/Bidi.h"
#include "text/Font.h"
#include "text/Glyph.h"
#include "text/L10n.h"
#include "text/TextLayout.h"

namespace OKU {

namespace {

// Text blocks are placed by their top, centre or bottom only.
void checkBlockAlignment(VAlign valign)
{
    if (valign == VAlign::BASELINE)
        fatalError("Pixmap::drawText does not support VAlign::BASELINE");
    if (valign == VAlign::STRETCH)
        fatalError("Pixmap::drawText does not support VAlign::STRETCH");
}

// The top of a block of the given height inside a box of height h at y.
int blockTop(int y, int h, int blockHeight, VAlign valign)
{
    switch (valign) {
    case VAlign::TOP:
        return y;
    case VAlign::CENTER:
        return y + (h - blockHeight) / 2;
    case VAlign::BOTTOM:
        return y + h - blockHeight;
    default:
        abort();
    }
}

// The baseline of one line of the font inside a box of height h at y.
int lineBaseline(int y, int h, const Font& font, VAlign valign)
{
    const int ascender = font.getAscender();
    const int descender = font.getDescender();
    switch (valign) {
    case VAlign::TOP:
        return y + ascender;
    case VAlign::CENTER:
        return y + (h + ascender + descender + 1) / 2 - descender;
    case VAlign::BASELINE:
        return y + h;
    case VAlign::BOTTOM:
        return y + h - descender;
    default:
        abort();
    }
}

// The pen x that puts the ink box of the line's glyphs inside a box of width
// w at x. Left alignment starts the pen at x, so that side bearings stay
// visible, and needs no ink box.
int linePenX(int x, int w, const Font& font, const std::wstring& text, HAlign halign)
{
    if (halign == HAlign::LEFT)
        return x;
    const Rect box = font.getLineBBox(text.begin(), text.end());
    switch (halign) {
    case HAlign::CENTER:
        return x - box.x + (w - box.width) / 2;
    case HAlign::RIGHT:
        return x + w - box.x - box.width;
    default:
        abort();
    }
}

// Bidi::string of the text, in memory that every line drawn by the thread
// reuses; valid until its next call. A line is mostly drawn again as it was
// (a label redrawn, the same line in every row of a list), so the last
// line's visual order is kept for its next drawing. A line without a strong
// character runs the language's way, which is part of what is compared.
const std::wstring& visualText(const std::wstring& text, Bidi::Mode mode)
{
    thread_local std::wstring logical;
    thread_local Bidi::Mode logicalMode;
    thread_local bool logicalLTR;
    thread_local std::wstring visual;
    const bool languageLTR = l10nIsLTR();
    if (text != logical || mode != logicalMode || languageLTR != logicalLTR) {
        Bidi::string(text.data(), text.data() + text.size(), mode, visual);
        logical = text;
        logicalMode = mode;
        logicalLTR = languageLTR;
    }
    return visual;
}

void drawLayoutAt(Pixmap& pixmap, int x, int top, const TextLayout<Font>& layout, const Color& c)
{
    for (const TextLayout<Font>::PlacedGlyph& g : layout.getGlyphs()) {
        if (g.glyph)
            pixmap.drawGlyphAbs(x + g.x, top + g.y, *g.glyph, c);
    }
}

} // namespace

void Pixmap::drawGlyph(int x, int y, const std::shared_ptr<const Font>& font,
                       const std::shared_ptr<const Glyph>& glyph, const Color& c, VAlign valign)
{
    // Aligned like a line of the font in a box of height 0 at y: the centre
    // puts the baseline at y + (ascender - descender + 1) / 2.
    drawGlyphAbs(x + m_offset.x, lineBaseline(y + m_offset.y, 0, *font, valign), *glyph, c);
}

void Pixmap::drawString(int x, int y, int w, int h, const Font& font, const std::wstring& text,
                        const Color& c, HAlign halign, VAlign valign, Bidi::Mode mode)
{
    const Rect box(x + m_offset.x, y + m_offset.y, w, h);
    if (!box.intersects(m_clip))
        return;
    drawStringAbs(box.x, box.y, w, h, font, visualText(text, mode), c, halign, valign);
}

// A point has no box to test against the clip; drawStringAbs drops lines
// outside it.
void Pixmap::drawString(int x, int y, const Font& font, const std::wstring& text, const Color& c,
                        HAlign halign, VAlign valign, Bidi::Mode mode)
{
    drawStringAbs(x + m_offset.x, y + m_offset.y, 0, 0, font, visualText(text, mode), c, halign,
                  valign);
}

void Pixmap::drawStringAbs(int x, int y, int w, int h, const Font& font, const std::wstring& text,
                           const Color& c, HAlign halign, VAlign valign)
{
    if (text.empty())
        return;
    const int baseline = lineBaseline(y, h, font, valign);
    if (baseline + font.getDescender() <= m_clip.y ||
        baseline - font.getAscender() >= m_clip.bottom())
        return;
    const int penX = linePenX(x, w, font, text, halign);
    const int clipRight = m_clip.right();
    font.placeString(text.begin(), text.end(),
                     [&](const std::shared_ptr<const Glyph>& glyph, const Point& pos) {
                         const int glyphX = penX + pos.x;
                         if (glyphX >= clipRight)
                             return false;
                         if (glyph)
                             drawGlyphAbs(glyphX, baseline + pos.y, *glyph, c);
                         return true;
                     });
}

void Pixmap::drawText(int x, int y, int w, int h, const Font& font, const std::wstring& text,
                      const Color& c, HAlign halign, VAlign valign, Bidi::Mode mode)
{
    checkBlockAlignment(valign);
    const Rect box(x + m_offset.x, y + m_offset.y, w, h);
    if (!box.intersects(m_clip))
        return;
    int height = 0;
    const TextLayout<Font> layout(0, 0, {&font}, text.data(), text.data() + text.size(), nullptr,
                                  w, 0, 0, toTextHAlign(halign), nullptr, &height, mode);
    drawLayoutAt(*this, box.x, blockTop(box.y, h, height, valign), layout, c);
}

void Pixmap::drawTextLayout(int x, int y, int w, int h, const TextLayout<Font>& layout,
                            const Color& c, int layoutHeight, VAlign valign)
{
    checkBlockAlignment(valign);
    const Rect box(x + m_offset.x, y + m_offset.y, w, h);
    if (!box.intersects(m_clip))
        return;
    drawLayoutAt(*this, box.x, blockTop(box.y, h, layoutHeight, valign), layout, c);
}

} // namespace OKU
