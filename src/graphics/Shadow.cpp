#include "graphics/Shadow.h"

#include <cmath>
#include <vector>

namespace OKU {

namespace {

// The colour's red, green and blue with alpha 0.
Pixmap transparentPiece(int width, int height, const Color& color)
{
    return Pixmap(width, height, Color(color.red, color.green, color.blue, 0));
}

void setAlpha(Pixmap& piece, int x, int y, int alpha)
{
    piece.getRow(y)[x].alpha = static_cast<uint8_t>(alpha);
}

// Alpha of the band i pixels away from the rectangle: linear from the
// colour's alpha down towards 0.
std::vector<int> bandAlphas(int radius, int alpha)
{
    if (radius < 1)
        return {};
    std::vector<int> alphas(radius);
    const float step = static_cast<float>(alpha) / static_cast<float>(radius);
    for (int i = 0; i < radius; ++i)
        alphas[i] = static_cast<int>(std::floor(alpha - i * step + 0.5f));
    return alphas;
}

// Alpha of the corner pixel dx columns and dy rows away from the corner
// touching the rectangle: a quarter disc fading linearly with the distance.
int cornerAlpha(int radius, int alpha, int dx, int dy)
{
    const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    if (d >= radius)
        return 0;
    return static_cast<int>(std::floor((radius - d) * alpha / radius + 0.5));
}

} // namespace

Shadow::Shadow(int radius, const Color& color)
    : m_radius(radius),
      m_topEdge(transparentPiece(c_edgeLength, radius, color)),
      m_topRightCorner(transparentPiece(radius, radius, color)),
      m_topLeftCorner(transparentPiece(radius, radius, color)),
      m_rightEdge(transparentPiece(radius, c_edgeLength, color)),
      m_leftEdge(transparentPiece(radius, c_edgeLength, color)),
      m_bottomRightCorner(transparentPiece(radius, radius, color)),
      m_bottomLeftCorner(transparentPiece(radius, radius, color)),
      m_bottomEdge(transparentPiece(c_edgeLength, radius, color)),
      m_color(color)
{
    const std::vector<int> bands = bandAlphas(radius, color.alpha);
    const int last = radius - 1;
    for (int i = 0; i < radius; ++i) {
        for (int j = 0; j < c_edgeLength; ++j) {
            setAlpha(m_topEdge, j, last - i, bands[i]);
            setAlpha(m_bottomEdge, j, i, bands[i]);
            setAlpha(m_rightEdge, i, j, bands[i]);
            setAlpha(m_leftEdge, last - i, j, bands[i]);
        }
    }
    for (int dy = 0; dy < radius; ++dy) {
        for (int dx = 0; dx < radius; ++dx) {
            const int alpha = cornerAlpha(radius, color.alpha, dx, dy);
            setAlpha(m_topRightCorner, dx, last - dy, alpha);
            setAlpha(m_topLeftCorner, last - dx, last - dy, alpha);
            setAlpha(m_bottomRightCorner, dx, dy, alpha);
            setAlpha(m_bottomLeftCorner, last - dx, dy, alpha);
        }
    }
}

} // namespace OKU
