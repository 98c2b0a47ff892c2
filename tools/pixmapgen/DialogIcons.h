#ifndef PIXMAPGEN_DIALOGICONS_H
#define PIXMAPGEN_DIALOGICONS_H

#include "Catalogue.h"

namespace PixmapGen {

// The icons of the theme's standard buttons: "yes", "no", "ok", "close",
// "finish", "cancel", "start", "prev" and "next". Each is a white symbol on a
// coloured badge, so it reads on a light button as well as on a pressed one:
// green for going ahead, red for declining, blue for moving through steps,
// slate for closing. Round and square badges tell OK and Cancel from Yes and
// No.
void addDialogIcons(Catalogue& catalogue);

} // namespace PixmapGen

#endif
