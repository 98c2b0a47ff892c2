#ifndef OKU_GALLERY_PAGEPARTS_H
#define OKU_GALLERY_PAGEPARTS_H

#include "graphics/Alignment.h"
#include "graphics/Color.h"
#include "text/LString.h"

namespace OKU {
class StaticText;
class Widget;
} // namespace OKU

// Pieces the pages have in common.

// The gallery's own words go through the language table like any program's.
OKU::LString translated(const wchar_t* text);

// A line of text introducing a group of widgets.
OKU::StaticText* createHeading(OKU::Widget* parent, const wchar_t* text);

// Whether the screen is higher than wide, so that pages put fewer widgets
// side by side.
bool isUpright(const OKU::Widget* page);

// A text centred on a coloured background, showing how much room a sizer gave it.
OKU::StaticText* createSwatch(OKU::Widget* parent, const OKU::LString& text,
                              const OKU::Color& color);

#endif
