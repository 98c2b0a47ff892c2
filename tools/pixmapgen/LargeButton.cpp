#include "LargeButton.h"

#include <utility>

#include "Palette.h"
#include "Panel.h"
#include "Raster.h"

using OKU::Color;
using OKU::Pixmap;
using OKU::Rect;
using OKU::Size;

namespace PixmapGen {

namespace {

const PanelGeometry c_geometry = {64, 12, 1, 2, 5};

const Color c_white(255, 255, 255);
const Color c_clearWhite(255, 255, 255, 0);
const Color c_clearBlack(0, 0, 0, 0);

Pixmap emptyPiece()
{
    return Pixmap(c_geometry.imageWidth(), c_geometry.imageHeight(), true);
}

int faceTop()
{
    return c_geometry.outer().top + static_cast<int>(c_geometry.border);
}

int faceBottom()
{
    return c_geometry.outer().top + c_geometry.frameHeight - 1 -
           static_cast<int>(c_geometry.border);
}

// Rows from..to of the face shaded from one colour to another.
void paintFaceBand(Pixmap& piece, int from, int to, const Color& first, const Color& last)
{
    paint(piece, c_geometry.face(),
          verticalGradient(piece.getWidth(), piece.getHeight(), from, to, first, last));
}

Pixmap drawBackground()
{
    Pixmap piece = emptyPiece();
    paintDropShadow(piece, c_geometry, Color(0, 0, 0, 100));
    // Translucent, so that the rim is a darker shade of whatever face colour
    // shows through the anti-aliased edge.
    paintRim(piece, c_geometry, Color(0, 0, 0, 150));
    return piece;
}

Pixmap drawFace()
{
    Pixmap piece = emptyPiece();
    paint(piece, c_geometry.face(), c_white);
    return piece;
}

// Raised: a soft sheen on the upper half fading out before the middle, the
// lower part darkening towards the bottom, and a lit top edge.
Pixmap drawOverlayUp()
{
    Pixmap piece = emptyPiece();
    const int middle = (faceTop() + faceBottom()) / 2;
    paintFaceBand(piece, faceTop(), middle + 4, Color(255, 255, 255, 70), c_clearWhite);
    paintFaceBand(piece, middle, faceBottom(), c_clearBlack, Color(0, 0, 0, 55));
    paintTopHighlight(piece, c_geometry, Color(255, 255, 255, 190));
    return piece;
}

// Pressed: the whole face darker, deeply shaded from the top.
Pixmap drawOverlayDown()
{
    Pixmap piece = emptyPiece();
    paint(piece, c_geometry.face(), Color(0, 0, 0, 45));
    paintInnerShadow(piece, c_geometry, Color(0, 0, 0, 120), 10);
    return piece;
}

// What the theme does with the pieces for a top and a bottom colour.
Pixmap compose(const Pixmap& background, const Pixmap& face, const Pixmap& overlay,
               const Color& top, const Color& bottom)
{
    Pixmap image(background);
    Pixmap colour(image.getWidth(), image.getHeight(), true);
    colour.drawVerticalGradient(Rect(0, 0, image.getWidth(), image.getHeight()), top, bottom);
    colour.copyAlpha(face);
    image.drawPixmap(0, 0, colour);
    image.drawPixmap(0, 0, overlay);
    return image;
}

CompositePicture layout(const char* name, Pixmap image)
{
    return CompositePicture{name,
                            std::move(image),
                            c_geometry.slices(),
                            c_geometry.inner(),
                            c_geometry.outer(),
                            Palette::c_lightText,
                            Size(240, c_geometry.frameHeight),
                            L"Emergency Backup"};
}

} // namespace

void addLargeButton(Catalogue& catalogue)
{
    const Pixmap background = drawBackground();
    const Pixmap face = drawFace();
    const Pixmap overlayUp = drawOverlayUp();
    const Pixmap overlayDown = drawOverlayDown();

    catalogue.composites.push_back(layout(
        "large-button/up",
        compose(background, face, overlayUp, Palette::c_accent, Palette::c_accentDark)));
    catalogue.composites.push_back(layout(
        "large-button/down",
        compose(background, face, overlayDown, Palette::c_accent, Palette::c_accentDark)));

    catalogue.pictures.push_back(Picture{"large-button/background", background});
    catalogue.pictures.push_back(Picture{"large-button/face", face});
    catalogue.pictures.push_back(Picture{"large-button/overlay-up", overlayUp});
    catalogue.pictures.push_back(Picture{"large-button/overlay-down", overlayDown});
}

} // namespace PixmapGen
