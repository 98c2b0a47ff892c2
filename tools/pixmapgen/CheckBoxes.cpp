#include "CheckBoxes.h"

#include "Palette.h"
#include "Raster.h"

using OKU::Color;
using OKU::Pixmap;

namespace PixmapGen {

namespace {

// About as tall as a line of the check box's 16-pixel text; the box's edges
// lie on whole pixels so that its straight sides stay sharp.
constexpr int c_size = 24;
constexpr double c_border = 2;
constexpr double c_radius = 4;

struct BoxStyle {
    const char* name;
    Color border;
    Color fillTop;
    Color fillBottom;
    // Alpha 0 for an empty box.
    Color mark;
};

const BoxStyle c_styles[] = {
    {"check_box/unchecked", Color(96, 106, 118), Color(255, 255, 255), Color(238, 241, 245),
     Palette::c_none},
    {"check_box/checked", Palette::c_accentRim, Palette::c_accent, Palette::c_accentDark,
     Color(255, 255, 255)},
    {"check_box/unchecked-down", Palette::c_accentRim, Color(206, 221, 243), Color(188, 207, 236),
     Palette::c_none},
    {"check_box/checked-down", Color(8, 36, 84), Color(16, 62, 132), Color(12, 50, 110),
     Color(214, 228, 250)},
    {"check_box/unchecked-dis", Color(186, 191, 197), Color(242, 243, 245), Color(236, 238, 240),
     Palette::c_none},
    {"check_box/checked-dis", Color(168, 174, 181), Color(196, 201, 207), Color(186, 191, 198),
     Color(246, 247, 249)},
};

Shape box(double inset)
{
    return Shape::roundedRect(1 + inset, 1 + inset, c_size - 2 - 2 * inset,
                              c_size - 2 - 2 * inset, c_radius - inset);
}

Pixmap drawBox(const BoxStyle& style)
{
    Pixmap image(c_size, c_size, true);
    paint(image, box(0), style.border);
    paint(image, box(c_border),
          verticalGradient(c_size, c_size, 3, c_size - 4, style.fillTop, style.fillBottom));
    // The check mark, laid out for the 24-pixel box.
    paint(image, Shape::polyline({{6.6, 12.2}, {10.2, 15.8}, {17.4, 8.4}}, 3), style.mark);
    return image;
}

} // namespace

void addCheckBoxes(Catalogue& catalogue)
{
    for (const BoxStyle& style : c_styles)
        catalogue.pictures.push_back(Picture{style.name, drawBox(style)});
}

} // namespace PixmapGen
