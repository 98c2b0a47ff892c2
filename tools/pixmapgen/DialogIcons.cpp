#include "DialogIcons.h"

#include <utility>

#include "Raster.h"

using OKU::Color;
using OKU::Pixmap;

namespace PixmapGen {

namespace {

// Fits the buttons' 30-pixel content height next to 16-pixel text. The
// symbols below are laid out on this grid.
constexpr int c_iconSize = 24;

struct BadgeColors {
    Color top;
    Color bottom;
    Color rim;
};

const BadgeColors c_green = {Color(76, 204, 116), Color(26, 150, 70), Color(14, 104, 46)};
const BadgeColors c_red = {Color(246, 98, 88), Color(206, 44, 40), Color(146, 26, 24)};
const BadgeColors c_blue = {Color(84, 152, 242), Color(32, 98, 204), Color(20, 66, 146)};
const BadgeColors c_slate = {Color(118, 128, 140), Color(62, 70, 82), Color(40, 46, 56)};

enum class BadgeForm { ROUND, SQUARE };

// The badge's outline, inset by d.
Shape badgeOutline(BadgeForm form, double d)
{
    const double size = c_iconSize - 1 - 2 * d;
    if (form == BadgeForm::ROUND)
        return Shape::circle(Vec{c_iconSize / 2.0, c_iconSize / 2.0}, size / 2);
    return Shape::roundedRect(0.5 + d, 0.5 + d, size, size, 5 - d);
}

Shape checkMark()
{
    return Shape::polyline({{6.8, 12.4}, {10.3, 15.9}, {17.2, 8.6}}, 2.8);
}

Shape cross()
{
    return Shape::polyline({{7.8, 7.8}, {16.2, 16.2}}, 2.8) |
           Shape::polyline({{16.2, 7.8}, {7.8, 16.2}}, 2.8);
}

// Growing a smaller triangle rounds its corners.
Shape playTriangle()
{
    return Shape::polygon({{10.2, 8.4}, {10.2, 15.6}, {16.2, 12}}).grown(1.1);
}

Shape arrowRight()
{
    return Shape::polyline({{6.5, 12}, {16.5, 12}}, 2.4) |
           Shape::polyline({{12.4, 7.6}, {16.8, 12}, {12.4, 16.4}}, 2.6);
}

// A pennant on a pole: the finish line.
Shape flag()
{
    return Shape::polyline({{8, 5.6}, {8, 18.6}}, 2) |
           Shape::polygon({{8, 6}, {17.6, 6}, {15, 9.5}, {17.6, 13}, {8, 13}});
}

Pixmap drawIcon(BadgeForm form, const BadgeColors& colors, const Shape& symbol)
{
    Pixmap icon(c_iconSize, c_iconSize, true);
    paint(icon, badgeOutline(form, 0), colors.rim);
    const Shape face = badgeOutline(form, 1);
    paint(icon, face,
          verticalGradient(c_iconSize, c_iconSize, 1, c_iconSize - 2, colors.top, colors.bottom));
    paint(icon, face - face.moved(0, 1), Color(255, 255, 255, 90));
    // A faint shadow under the symbol lifts it off the badge.
    paint(icon, symbol.moved(0, 0.8), Color(0, 0, 0, 60));
    paint(icon, symbol, Color(255, 255, 255));
    return icon;
}

} // namespace

void addDialogIcons(Catalogue& catalogue)
{
    Pixmap previous = drawIcon(BadgeForm::ROUND, c_blue, arrowRight());
    previous.mirror();

    catalogue.pictures.push_back({"ok", drawIcon(BadgeForm::ROUND, c_green, checkMark())});
    catalogue.pictures.push_back({"cancel", drawIcon(BadgeForm::ROUND, c_red, cross())});
    catalogue.pictures.push_back({"yes", drawIcon(BadgeForm::SQUARE, c_green, checkMark())});
    catalogue.pictures.push_back({"no", drawIcon(BadgeForm::SQUARE, c_red, cross())});
    catalogue.pictures.push_back({"close", drawIcon(BadgeForm::ROUND, c_slate, cross())});
    catalogue.pictures.push_back({"start", drawIcon(BadgeForm::ROUND, c_green, playTriangle())});
    catalogue.pictures.push_back({"finish", drawIcon(BadgeForm::ROUND, c_blue, flag())});
    catalogue.pictures.push_back({"next", drawIcon(BadgeForm::ROUND, c_blue, arrowRight())});
    catalogue.pictures.push_back({"prev", std::move(previous)});
}

} // namespace PixmapGen
