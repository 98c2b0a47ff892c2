#ifndef OKU_TEXT_GLYPH_H
#define OKU_TEXT_GLYPH_H

#include "core/Geometry.h"
#include "graphics/Graymap.h"

namespace OKU {

/// One rendered character: its coverage bitmap (0 none, 255 full), where that
/// bitmap sits relative to the pen on the baseline, the box used for
/// alignment and the pen advance. Immutable once built and shared as
/// shared_ptr<Glyph const>.
class Glyph {
public:
    /// Draws nothing and advances nothing.
    Glyph() = default;
    /// box y is measured upwards from the baseline, top downwards (negative
    /// above the baseline). ftBitmap points to a FreeType FT_Bitmap with 256
    /// gray levels (bytes copied row by row through its pitch) or 0 gray
    /// levels (one bit per pixel, most significant first, set bits become
    /// 255); any other count is a fatal error.
    Glyph(int advance, int boxX, int boxY, int boxW, int boxH, int left, int top,
          const void* ftBitmap);

    int getAdvance() const { return m_advance; }
    /// (bearing x, bearing y, width, height) in whole pixels.
    Rect getBBox() const { return m_box; }
    /// (left, top, bitmap width, bitmap height).
    Rect getPixelBBox() const
    {
        return Rect(m_left, m_top, m_bitmap.getWidth(), m_bitmap.getHeight());
    }
    int getLeft() const { return m_left; }
    int getTop() const { return m_top; }
    const Graymap& getBitmap() const { return m_bitmap; }

private:
    int32_t m_advance = 0;
    Rect m_box;
    int32_t m_left = 0;
    int32_t m_top = 0;
    Graymap m_bitmap;
};

} // namespace OKU

#endif
