#ifndef PIXMAPGEN_PANEL_H
#define PIXMAPGEN_PANEL_H

#include "Shape.h"
#include "core/Geometry.h"
#include "graphics/Color.h"
#include "graphics/Pixmap.h"

namespace PixmapGen {

// The rounded frame every button picture is built on, laid out for a
// nine-piece picture: the frame (the rectangle the widget gives) sits inside
// a picture whose borders leave room for the soft drop shadow, and the corner
// slices take in everything that curves, so that the edges and the centre can
// be stretched without distortion. The frame is just wide enough for the
// corners and a narrow stretchable middle; its height is the nominal widget
// height, so most buttons are drawn at or near their natural size.
struct PanelGeometry {
    int frameHeight;
    double radius;
    // Width of the rim around the face.
    double border;
    // How far the drop shadow falls below the frame and how soft it is.
    double shadowOffset;
    double shadowBlur;

    // The room the shadow needs around the frame (the outer margins).
    OKU::Margins outer() const;
    // The slice sizes of the picture.
    OKU::Margins slices() const;
    // The room the rim and the corners take inside the frame.
    OKU::Margins inner() const;
    int frameWidth() const;
    int imageWidth() const;
    int imageHeight() const;

    // The frame's outline, the face inside the rim, and the shadow's shape.
    Shape frame() const;
    Shape face() const;
    Shape shadow() const;

private:
    // Distance from a frame edge within which anything curves.
    int cornerSpan() const;
};

// The parts of a panel picture, each painted over the picture (which has the
// panel's image size).
void paintDropShadow(OKU::Pixmap& image, const PanelGeometry& panel, const OKU::Color& color);
void paintRim(OKU::Pixmap& image, const PanelGeometry& panel, const OKU::Color& color);
void paintFace(OKU::Pixmap& image, const PanelGeometry& panel, const OKU::Color& top,
               const OKU::Color& bottom);
// A thin light crescent just inside the top of the rim: the lit edge of a
// raised surface.
void paintTopHighlight(OKU::Pixmap& image, const PanelGeometry& panel, const OKU::Color& color);
// Shading that fades from the top of the face downwards over depth pixels:
// the face looks pushed in.
void paintInnerShadow(OKU::Pixmap& image, const PanelGeometry& panel, const OKU::Color& color,
                      int depth);

} // namespace PixmapGen

#endif
