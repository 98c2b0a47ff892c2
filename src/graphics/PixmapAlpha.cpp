// Alpha management: the hasAlpha flag, copying and masking the alpha bytes,
// and composing over a background.

#include <vector>

#include "graphics/Pixmap.h"

namespace OKU {

bool Pixmap::isSolid() const
{
    if (!m_hasAlpha)
        return true;
    const Pixel* p = getPixels();
    const size_t n = getPixelCount();
    for (size_t i = 0; i < n; ++i) {
        if (p[i].alpha != 255)
            return false;
    }
    return true;
}

void Pixmap::removeAlphaIfSolid()
{
    if (isSolid())
        m_hasAlpha = false;
}

bool Pixmap::copyAlpha(const Pixmap& src)
{
    if (src.m_width != m_width || src.m_height != m_height)
        return false;
    if (!src.m_hasAlpha && !m_hasAlpha)
        return true;
    Pixel* d = getPixels();
    const Pixel* s = src.getPixels();
    const size_t n = getPixelCount();
    if (src.m_hasAlpha) {
        for (size_t i = 0; i < n; ++i)
            d[i].alpha = s[i].alpha;
    } else {
        for (size_t i = 0; i < n; ++i)
            d[i].alpha = 255;
    }
    m_hasAlpha = src.m_hasAlpha;
    return true;
}

void Pixmap::flatten(const Color& background)
{
    if (!m_hasAlpha)
        return;
    Pixel* p = getPixels();
    const size_t n = getPixelCount();
    for (size_t i = 0; i < n; ++i) {
        const int a = p[i].alpha;
        if (a == 255)
            continue;
        const int na = 255 - a;
        p[i].blue = static_cast<uint8_t>((p[i].blue * a + background.blue * na) / 255);
        p[i].green = static_cast<uint8_t>((p[i].green * a + background.green * na) / 255);
        p[i].red = static_cast<uint8_t>((p[i].red * a + background.red * na) / 255);
        p[i].alpha = 255;
    }
    m_hasAlpha = false;
}

void Pixmap::maskPixelNoClip(int x, int y, int m)
{
    Pixel& p = getRow(y)[x];
    p.alpha = static_cast<uint8_t>(p.alpha * m / 256);
}

void Pixmap::maskHorizontalGradient(const Rect& r, int left, int right)
{
    const Rect area(r.x + m_offset.x, r.y + m_offset.y, r.width, r.height);
    const Rect visible = area.intersection(m_clip);
    if (visible.isEmpty())
        return;
    // One factor per visible column; a one-pixel-wide area takes the left factor.
    const int n = area.width - 1;
    std::vector<int> factors(visible.width);
    for (int c = 0; c < visible.width; ++c) {
        const int i = visible.x + c - area.x;
        factors[c] = n == 0 ? left : (i * right + (n - i) * left) / n;
    }
    for (int y = visible.y; y < visible.bottom(); ++y) {
        Pixel* row = getRow(y) + visible.x;
        for (int c = 0; c < visible.width; ++c)
            row[c].alpha = static_cast<uint8_t>(row[c].alpha * factors[c] / 256);
    }
}

} // namespace OKU
