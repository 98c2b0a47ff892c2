#include "text/Glyph.h"

#include <cstring>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "core/FatalError.h"

namespace OKU {

namespace {

// Coverage bytes of one FreeType row: copied for 256 gray levels, one bit
// per pixel (most significant first) for 0 gray levels.
void copyRow(unsigned char* dst, const unsigned char* src, int width, int numGrays)
{
    if (numGrays == 256) {
        memcpy(dst, src, width);
        return;
    }
    for (int x = 0; x < width; ++x)
        dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
}

} // namespace

Glyph::Glyph(int advance, int boxX, int boxY, int boxW, int boxH, int left, int top,
             const void* ftBitmap)
    : m_advance(advance), m_box(boxX, boxY, boxW, boxH), m_left(left), m_top(top)
{
    const FT_Bitmap& bm = *static_cast<const FT_Bitmap*>(ftBitmap);
    if (bm.num_grays != 256 && bm.num_grays != 0)
        fatalError("Glyph::Glyph: Unknown bm->num_grays (%d)", static_cast<int>(bm.num_grays));
    const int width = static_cast<int>(bm.width);
    const int rows = static_cast<int>(bm.rows);
    m_bitmap.resize(width, rows, false);
    // The pitch always steps one row down; when it is negative the rows are
    // stored bottom-up, the top row last in memory.
    const ptrdiff_t pitch = bm.pitch;
    const ptrdiff_t topRow = pitch < 0 ? rows - 1 : 0;
    for (int y = 0; y < rows; ++y)
        copyRow(m_bitmap.getRow(y), bm.buffer + (y - topRow) * pitch, width, bm.num_grays);
}

} // namespace OKU
