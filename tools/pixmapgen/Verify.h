#ifndef PIXMAPGEN_VERIFY_H
#define PIXMAPGEN_VERIFY_H

#include <string>

#include "Catalogue.h"

namespace PixmapGen {

// Checks a picture directory the way the toolkit reads it: every PNG below
// dir loads with Pixmap::loadPNG, every ".cpm" loads as a CompositePixmap
// (one that cannot be read ends the program with the toolkit's fatal error)
// and leaves a middle to stretch, and every picture of the catalogue is there
// with exactly the pixels and description drawn now. Prints each problem and
// a summary; true when there is none.
bool verifyPictures(const Catalogue& catalogue, const std::string& dir);

} // namespace PixmapGen

#endif
