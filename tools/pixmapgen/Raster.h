#ifndef PIXMAPGEN_RASTER_H
#define PIXMAPGEN_RASTER_H

#include "Shape.h"
#include "graphics/Pixmap.h"

namespace PixmapGen {

// Anti-aliased painting of shapes onto toolkit pixmaps. The toolkit's own
// primitives have hard edges; here a shape scales the alpha of a paint layer
// by how much of each pixel it covers, and the toolkit's blit blends the
// result over the target.

// The layer (the target's size) blended over the target inside the shape. A
// softness of 1 is plain anti-aliasing; larger values spread the edge over
// that many pixels with an eased ramp, which makes blurred shadows.
void paint(OKU::Pixmap& target, const Shape& shape, const OKU::Pixmap& layer,
           double softness = 1);
void paint(OKU::Pixmap& target, const Shape& shape, const OKU::Color& color,
           double softness = 1);

// Layers of a given size. The vertical gradient runs from row top to row
// bottom and keeps the end colours beyond them.
OKU::Pixmap verticalGradient(int width, int height, int top, int bottom, const OKU::Color& topColor,
                             const OKU::Color& bottomColor);
OKU::Pixmap radialGradient(int width, int height, Vec centre, double radius,
                           const OKU::Color& inner, const OKU::Color& outer);

} // namespace PixmapGen

#endif
