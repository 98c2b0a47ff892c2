#ifndef OKU_GRAPHICS_SHADOW_H
#define OKU_GRAPHICS_SHADOW_H

#include "graphics/Color.h"
#include "graphics/Pixmap.h"

namespace OKU {

/// The pieces of a soft shadow of radius r around a rectangle, built once and
/// then tiled by the painter: four edges, 32 pixels long along the rectangle
/// and r pixels deep, and four r x r corners. The side or pixel of each piece
/// that touches the rectangle is the strongest (the colour's own alpha); the
/// alpha fades linearly outward. Every pixel has the colour's red, green and
/// blue. A radius below 1 gives empty pieces.
class Shadow {
public:
    static constexpr int c_edgeLength = 32;

    Shadow(int radius, const Color& color);

    int getRadius() const { return m_radius; }
    const Color& getColor() const { return m_color; }

    /// 32 x r, strongest along the bottom row.
    const Pixmap& getTopEdge() const { return m_topEdge; }
    /// r x r, strongest at the bottom-left pixel.
    const Pixmap& getTopRightCorner() const { return m_topRightCorner; }
    /// r x r, strongest at the bottom-right pixel.
    const Pixmap& getTopLeftCorner() const { return m_topLeftCorner; }
    /// r x 32, strongest along the left column.
    const Pixmap& getRightEdge() const { return m_rightEdge; }
    /// r x 32, strongest along the right column.
    const Pixmap& getLeftEdge() const { return m_leftEdge; }
    /// r x r, strongest at the top-left pixel.
    const Pixmap& getBottomRightCorner() const { return m_bottomRightCorner; }
    /// r x r, strongest at the top-right pixel.
    const Pixmap& getBottomLeftCorner() const { return m_bottomLeftCorner; }
    /// 32 x r, strongest along the top row.
    const Pixmap& getBottomEdge() const { return m_bottomEdge; }

private:
    int m_radius;
    Pixmap m_topEdge;
    Pixmap m_topRightCorner;
    Pixmap m_topLeftCorner;
    Pixmap m_rightEdge;
    Pixmap m_leftEdge;
    Pixmap m_bottomRightCorner;
    Pixmap m_bottomLeftCorner;
    Pixmap m_bottomEdge;
    Color m_color;
};

} // namespace OKU

#endif
