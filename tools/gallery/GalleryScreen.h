#ifndef OKU_GALLERY_GALLERYSCREEN_H
#define OKU_GALLERY_GALLERYSCREEN_H

#include "gui/Screen.h"

// The gallery's only page: a tabbed frame over the whole screen with one tab
// for each family of widgets.
class GalleryScreen : public OKU::Screen {
public:
    explicit GalleryScreen(OKU::Widget* parent);
};

#endif
