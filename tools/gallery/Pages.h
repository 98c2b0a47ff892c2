#ifndef OKU_GALLERY_PAGES_H
#define OKU_GALLERY_PAGES_H

#include "graphics/Alignment.h"

namespace OKU {
class ContainerWidget;
}

// Each fills one tab's page with widgets and gives it its sizer.

// Push buttons in every pixmap position, enabled and disabled, and the
// theme's standard buttons.
void buildButtonsPage(OKU::ContainerWidget* page);
// Toggle buttons, check boxes and large buttons.
void buildTogglesPage(OKU::ContainerWidget* page);
// Static texts in Latin, Arabic, Hebrew and Thai with a few widgets whose
// look depends on the direction; every widget of the page gets the layout.
void buildTextsPage(OKU::ContainerWidget* page, OKU::Layout layout);
// Pictures at their own size, stretched, framed and disabled.
void buildPicturesPage(OKU::ContainerWidget* page);
// Frames with titles, nested frames and dividers.
void buildFramesPage(OKU::ContainerWidget* page);
// A waiting box and every message box, with the last answer.
void buildDialogsPage(OKU::ContainerWidget* page);
// How sizers share space: factors, fixed items, dividers and a grid.
void buildSizersPage(OKU::ContainerWidget* page);

#endif
