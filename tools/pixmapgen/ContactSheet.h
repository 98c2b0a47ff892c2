#ifndef PIXMAPGEN_CONTACTSHEET_H
#define PIXMAPGEN_CONTACTSHEET_H

#include <string>

#include "Catalogue.h"
#include "graphics/Pixmap.h"

namespace PixmapGen {

// One picture showing every picture of the catalogue with its name, for
// people to look at: plain pictures at their own size, composite pictures
// drawn the way a widget draws them, at a typical size and with a sample
// text in their text colour. The texts use the default font "DroidSans.ttf"
// from fontDir.
OKU::Pixmap drawContactSheet(const Catalogue& catalogue, const std::string& fontDir);

} // namespace PixmapGen

#endif
