#include "graphics/Pixmap.h"

#include <cstring>

#include "graphics/PixelBlend.h"
#include "graphics/detail/AlphaBlend.h"

namespace OKU {

namespace {

typedef Pixmap::Pixel Pixel;
typedef void (*RowFunction)(Pixel*, int, const Pixel*, int, int, int);

// Whether a row walk takes the source pixels one after the other: the error
// term then reaches its limit after every pixel and drops back to e0.
bool isOneToOne(int e0, int eStep, int eDen)
{
    return eStep == eDen && e0 >= 0 && e0 < eDen;
}

// Applies merge to count destination pixels and the source pixels the error
// term selects.
template <void (*merge)(Pixel&, const Pixel&)>
void walkLine(Pixel* dst, int count, const Pixel* src, int e0, int eStep, int eDen)
{
    int e = e0;
    int sx = 0;
    for (int i = 0; i < count; ++i) {
        merge(dst[i], src[sx]);
        e += eStep;
        while (e >= eDen) {
            e -= eDen;
            ++sx;
        }
    }
}

void copyPixel(Pixel& d, const Pixel& s)
{
    d = s;
}

// Copies when the source has no alpha, else blends by the destination's kind.
RowFunction rowFunction(const Pixmap& dst, const Pixmap& src)
{
    if (!src.hasAlpha())
        return Pixmap::copyPixmapLine;
    return dst.hasAlpha() ? Pixmap::slowMergePixmapLine : Pixmap::fastMergePixmapLine;
}

} // namespace

void Pixmap::copyPixmapLine(Pixel* dst, int count, const Pixel* src, int e0, int eStep, int eDen)
{
    if (count <= 0)
        return;
    if (isOneToOne(e0, eStep, eDen))
        std::memcpy(dst, src, static_cast<size_t>(count) * sizeof(Pixel));
    else
        walkLine<copyPixel>(dst, count, src, e0, eStep, eDen);
}

void Pixmap::fastMergePixmapLine(Pixel* dst, int count, const Pixel* src, int e0, int eStep,
                                 int eDen)
{
    if (isOneToOne(e0, eStep, eDen))
        blendOverOpaqueRow(dst, src, count);
    else
        walkLine<blendOverOpaque>(dst, count, src, e0, eStep, eDen);
}

void Pixmap::slowMergePixmapLine(Pixel* dst, int count, const Pixel* src, int e0, int eStep,
                                 int eDen)
{
    walkLine<blendOverAlpha>(dst, count, src, e0, eStep, eDen);
}

void Pixmap::drawPixmapNoClip(int x, int y, const Pixmap& src, int sx, int sy, int w, int h)
{
    const RowFunction line = rowFunction(*this, src);
    for (int row = 0; row < h; ++row)
        line(getRow(y + row) + x, w, src.getRow(sy + row) + sx, 0, 1, 1);
}

void Pixmap::drawPixmapNoClip(int x, int y, int w, int h, const Pixmap& src, int sx, int sy,
                              int ex0, int exStep, int exDen, int ey0, int eyStep, int eyDen)
{
    const RowFunction line = rowFunction(*this, src);
    int e = ey0;
    int srcY = sy;
    for (int row = 0; row < h; ++row) {
        line(getRow(y + row) + x, w, src.getRow(srcY) + sx, ex0, exStep, exDen);
        e += eyStep;
        while (e >= eyDen) {
            e -= eyDen;
            ++srcY;
        }
    }
}

void Pixmap::copyRectNoClip(int dx, int dy, int sx, int sy, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    const size_t bytes = static_cast<size_t>(w) * sizeof(Pixel);
    if (dy < sy) {
        for (int row = 0; row < h; ++row)
            std::memcpy(getRow(dy + row) + dx, getRow(sy + row) + sx, bytes);
    } else if (dy > sy) {
        for (int row = h - 1; row >= 0; --row)
            std::memcpy(getRow(dy + row) + dx, getRow(sy + row) + sx, bytes);
    } else {
        for (int row = 0; row < h; ++row)
            std::memmove(getRow(dy + row) + dx, getRow(sy + row) + sx, bytes);
    }
}

} // namespace OKU
