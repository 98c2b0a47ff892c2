// Text on a gray map: the text layer's glyphs drawn into the raster below it.

#include <memory>
#include <string>

#include "graphics/Graymap.h"
#include "text/Font.h"
#include "text/Glyph.h"

namespace OKU {

void Graymap::drawString(int x, int y, const Font& font, const std::wstring& text, int fg, int bg)
{
    const wchar_t softHyphen = 0x00AD;
    const int lineHeight = font.getAscender() + font.getDescender();
    const int baseline = y + font.getAscender();
    int pen = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == softHyphen && i + 1 != text.size())
            continue;
        const std::shared_ptr<const Glyph> glyph = font.getGlyph(text[i]);
        drawSolidRect(pen, y, glyph->getAdvance(), lineHeight, bg);
        drawDuotoneGraymap(pen + glyph->getLeft(), baseline + glyph->getTop(), glyph->getBitmap(),
                           fg, bg);
        pen += glyph->getAdvance();
    }
}

} // namespace OKU
