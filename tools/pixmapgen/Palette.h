#ifndef PIXMAPGEN_PALETTE_H
#define PIXMAPGEN_PALETTE_H

#include "graphics/Color.h"

namespace PixmapGen {

// The colours the pictures share, so that buttons, check boxes and icons
// agree with each other.
namespace Palette {

// Nothing: painting it changes no visible pixel.
const OKU::Color c_none(0, 0, 0, 0);

// Text colours that go with each look: dark on light faces, white on dark or
// pressed ones, the toolkit's disabled gray.
const OKU::Color c_darkText(22, 28, 36);
const OKU::Color c_lightText(255, 255, 255);
const OKU::Color c_disabledText(128, 128, 128);

// The accent of pressed and selected things, darker at the top.
const OKU::Color c_accentDark(20, 76, 158);
const OKU::Color c_accent(40, 110, 210);
const OKU::Color c_accentRim(12, 50, 110);

} // namespace Palette

} // namespace PixmapGen

#endif
