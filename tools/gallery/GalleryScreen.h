#ifndef OKU_GALLERY_GALLERYSCREEN_H
#define OKU_GALLERY_GALLERYSCREEN_H

#include "gui/windows/Screen.h"

// The gallery's only page: a tabbed frame over the whole screen with one tab
// for each family of widgets, or two frames of half the tabs each, one above
// the other, on a screen higher than wide.
class GalleryScreen : public OKU::Screen {
public:
    explicit GalleryScreen(OKU::Widget* parent);
};

#endif
