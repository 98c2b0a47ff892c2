#include "Panel.h"

#include <algorithm>
#include <cmath>

#include "Raster.h"

using OKU::Color;
using OKU::Margins;
using OKU::Pixmap;

namespace PixmapGen {

namespace {

// The stretchable middle of the frame; two columns keep the pieces' edges
// away from each other's anti-aliasing.
constexpr int c_middleWidth = 2;

int roundUp(double value)
{
    return static_cast<int>(std::ceil(value));
}

Color transparent(const Color& c)
{
    return Color(c.red, c.green, c.blue, 0);
}

} // namespace

Margins PanelGeometry::outer() const
{
    const double spread = shadowBlur / 2;
    return Margins(roundUp(spread), std::max(0, roundUp(spread - shadowOffset)), roundUp(spread),
                   roundUp(spread + shadowOffset));
}

int PanelGeometry::cornerSpan() const
{
    return roundUp(radius + shadowBlur / 2) + 1;
}

Margins PanelGeometry::slices() const
{
    const Margins o = outer();
    const int span = cornerSpan();
    return Margins(o.left + span, o.top + span, o.right + span, o.bottom + span);
}

Margins PanelGeometry::inner() const
{
    const int horizontal = static_cast<int>(std::lround(border + radius / 2));
    const int vertical = static_cast<int>(std::lround(border + radius / 4));
    return Margins(horizontal, vertical, horizontal, vertical);
}

int PanelGeometry::frameWidth() const
{
    return 2 * cornerSpan() + c_middleWidth;
}

int PanelGeometry::imageWidth() const
{
    const Margins o = outer();
    return o.left + frameWidth() + o.right;
}

int PanelGeometry::imageHeight() const
{
    const Margins o = outer();
    return o.top + frameHeight + o.bottom;
}

Shape PanelGeometry::frame() const
{
    const Margins o = outer();
    return Shape::roundedRect(o.left, o.top, frameWidth(), frameHeight, radius);
}

Shape PanelGeometry::face() const
{
    const Margins o = outer();
    return Shape::roundedRect(o.left + border, o.top + border, frameWidth() - 2 * border,
                              frameHeight - 2 * border, radius - border);
}

Shape PanelGeometry::shadow() const
{
    return frame().moved(0, shadowOffset);
}

void paintDropShadow(Pixmap& image, const PanelGeometry& panel, const Color& color)
{
    paint(image, panel.shadow(), color, panel.shadowBlur);
}

void paintRim(Pixmap& image, const PanelGeometry& panel, const Color& color)
{
    paint(image, panel.frame(), color);
}

void paintFace(Pixmap& image, const PanelGeometry& panel, const Color& top, const Color& bottom)
{
    const int first = panel.outer().top + static_cast<int>(panel.border);
    const int last = panel.outer().top + panel.frameHeight - 1 - static_cast<int>(panel.border);
    paint(image, panel.face(),
          verticalGradient(image.getWidth(), image.getHeight(), first, last, top, bottom));
}

void paintTopHighlight(Pixmap& image, const PanelGeometry& panel, const Color& color)
{
    const Shape face = panel.face();
    paint(image, face - face.moved(0, 1), color);
}

void paintInnerShadow(Pixmap& image, const PanelGeometry& panel, const Color& color, int depth)
{
    const int first = panel.outer().top + static_cast<int>(panel.border);
    paint(image, panel.face(),
          verticalGradient(image.getWidth(), image.getHeight(), first, first + depth, color,
                           transparent(color)));
}

} // namespace PixmapGen
