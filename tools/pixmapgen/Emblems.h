#ifndef PIXMAPGEN_EMBLEMS_H
#define PIXMAPGEN_EMBLEMS_H

#include "Catalogue.h"

namespace PixmapGen {

// The program's own pictures: "smiley", shown in the upper corners of the
// emergency page, and "green-x", the target the operator touches while
// calibrating the touch screen.
void addEmblems(Catalogue& catalogue);

} // namespace PixmapGen

#endif
