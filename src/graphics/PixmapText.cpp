// Font-dependent drawing. Fonts and text layout are not part of the build
// yet, so these operations stop the program; the alignment checks that need
// no font are already in force.

#include "core/FatalError.h"
#include "graphics/Pixmap.h"

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

} // namespace

void Pixmap::drawGlyph(int, int, const std::shared_ptr<const Font>&,
                       const std::shared_ptr<const Glyph>&, const Color&, VAlign)
{
    fatalError("Pixmap::drawGlyph needs the text subsystem");
}

void Pixmap::drawString(int, int, int, int, const Font&, const std::wstring&, const Color&, HAlign,
                        VAlign, Bidi::Mode)
{
    fatalError("Pixmap::drawString needs the text subsystem");
}

void Pixmap::drawString(int, int, const Font&, const std::wstring&, const Color&, HAlign, VAlign,
                        Bidi::Mode)
{
    fatalError("Pixmap::drawString needs the text subsystem");
}

void Pixmap::drawStringAbs(int, int, int, int, const Font&, const std::wstring&, const Color&,
                           HAlign, VAlign)
{
    fatalError("Pixmap::drawStringAbs needs the text subsystem");
}

void Pixmap::drawText(int, int, int, int, const Font&, const std::wstring&, const Color&, HAlign,
                      VAlign valign, Bidi::Mode)
{
    checkBlockAlignment(valign);
    fatalError("Pixmap::drawText needs the text subsystem");
}

void Pixmap::drawTextLayout(int, int, int, int, const TextLayout<Font>&, const Color&, int,
                            VAlign valign)
{
    checkBlockAlignment(valign);
    fatalError("Pixmap::drawTextLayout needs the text subsystem");
}

} // namespace OKU
