#ifndef PIXMAPGEN_PICTUREFILES_H
#define PIXMAPGEN_PICTUREFILES_H

#include <string>

#include "Catalogue.h"

namespace PixmapGen {

// The file of a picture or composite picture below dir, with the given
// extension (".png" or ".cpm").
std::string picturePath(const std::string& dir, const std::string& name,
                        const std::string& extension);

// The ".cpm" description: slice sizes, inner margins, outer margins, one
// group of four per line, then the text colour's red, green and blue.
std::string describe(const CompositePicture& composite);

// Writes every picture as "name.png", and every composite picture also as
// "name.cpm", creating directories as needed. Reports the first failure on
// standard error and returns false.
bool writeCatalogue(const Catalogue& catalogue, const std::string& dir);

} // namespace PixmapGen

#endif
