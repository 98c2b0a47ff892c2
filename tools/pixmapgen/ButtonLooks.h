#ifndef PIXMAPGEN_BUTTONLOOKS_H
#define PIXMAPGEN_BUTTONLOOKS_H

#include "Catalogue.h"

namespace PixmapGen {

// The composite pictures of the push, small, toggle and keyboard buttons in
// all their states: raised and light when up, sunk in and coloured when
// pressed or latched, flat and gray when disabled.
void addButtonLooks(Catalogue& catalogue);

} // namespace PixmapGen

#endif
