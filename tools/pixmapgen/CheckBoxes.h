#ifndef PIXMAPGEN_CHECKBOXES_H
#define PIXMAPGEN_CHECKBOXES_H

#include "Catalogue.h"

namespace PixmapGen {

// The six box pictures of the check box: "check_box/unchecked",
// "check_box/checked" and their "-down" (pressed) and "-dis" (disabled)
// forms. An empty box is white with a dark border, a checked one filled with
// the accent colour and a white check mark; pressing shades either.
void addCheckBoxes(Catalogue& catalogue);

} // namespace PixmapGen

#endif
