#include "Emblems.h"

#include "Raster.h"

using OKU::Color;
using OKU::Pixmap;

namespace PixmapGen {

namespace {

constexpr int c_smileySize = 128;
// Odd, so that one pixel is the centre: the calibration screen centres the
// picture on the point it asks for, and the arms cross right there.
constexpr int c_targetSize = 31;

const Color c_ink(70, 42, 6);

Pixmap drawSmiley()
{
    Pixmap image(c_smileySize, c_smileySize, true);
    const Vec centre{64, 62};
    paint(image, Shape::circle(Vec{64, 67}, 57), Color(0, 0, 0, 70), 9);
    paint(image, Shape::circle(centre, 58), Color(178, 112, 0));
    paint(image, Shape::circle(centre, 55.5),
          radialGradient(c_smileySize, c_smileySize, Vec{50, 42}, 92, Color(255, 240, 138),
                         Color(244, 172, 12)));
    paint(image, Shape::ellipse(Vec{50, 30}, 25, 13), Color(255, 255, 255, 110), 12);
    for (double side : {-1.0, 1.0}) {
        const double x = centre.x + side * 20;
        paint(image, Shape::ellipse(Vec{x + side * 10, 78}, 9, 6), Color(255, 110, 70, 70), 7);
        paint(image, Shape::ellipse(Vec{x, 48}, 7, 11.5), c_ink);
        paint(image, Shape::circle(Vec{x + 2, 43}, 2.6), Color(255, 255, 255, 220));
    }
    paint(image, Shape::arc(centre, 34, 28, 152, 7), c_ink);
    return image;
}

Pixmap drawTarget()
{
    Pixmap image(c_targetSize, c_targetSize, true);
    const double middle = c_targetSize / 2.0;
    const double reach = middle - 5;
    const Shape ring = Shape::circle(Vec{middle, middle}, 13.6) -
                       Shape::circle(Vec{middle, middle}, 12.2);
    const Shape arms =
        Shape::polyline({{middle - reach, middle - reach}, {middle + reach, middle + reach}},
                        3.4) |
        Shape::polyline({{middle + reach, middle - reach}, {middle - reach, middle + reach}}, 3.4);
    paint(image, ring, Color(22, 176, 64, 200));
    // A dark outline keeps the cross visible on light and dark backgrounds.
    paint(image, arms.grown(1.2), Color(0, 82, 28));
    paint(image, arms, Color(40, 206, 84));
    return image;
}

} // namespace

void addEmblems(Catalogue& catalogue)
{
    catalogue.pictures.push_back(Picture{"smiley", drawSmiley()});
    catalogue.pictures.push_back(Picture{"green-x", drawTarget()});
}

} // namespace PixmapGen
