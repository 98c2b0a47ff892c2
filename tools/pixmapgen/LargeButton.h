#ifndef PIXMAPGEN_LARGEBUTTON_H
#define PIXMAPGEN_LARGEBUTTON_H

#include "Catalogue.h"

namespace PixmapGen {

// The pieces the theme composes the large coloured buttons from, all of one
// size: "large-button/background" (shadow and rim), "large-button/face"
// (whose alpha is the shape that receives the caller's gradient) and the
// overlays "large-button/overlay-up" and "large-button/overlay-down" (light
// and shading for the raised and the pressed look); plus the layouts
// "large-button/up" and "large-button/down", whose pictures are composed
// with a sample colour just as the theme composes them.
void addLargeButton(Catalogue& catalogue);

} // namespace PixmapGen

#endif
