#include "graphics/Pixmap.h"

#include <cstring>

#include "graphics/PixelBlend.h"

namespace OKU {

namespace {

typedef Pixmap::Pixel Pixel;
typedef void (*RowFunction)(Pixel*, int, const Pixel*, int, int, int);

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "a pixel is read as the little-endian word 0xAARRGGBB");

// Pixels blended per step of the vector loops: constant trip counts let the
// compiler vectorise them without scalar epilogues of their own.
const int c_block = 16;

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

// Views of pixel memory as 16-bit and 32-bit lanes; may_alias keeps the
// compiler's aliasing assumptions true for them.
typedef uint16_t __attribute__((may_alias)) Lane16;
typedef uint32_t __attribute__((may_alias)) Lane32;

// The blend rule for a destination without alpha on c_block pixels. Each
// pixel is handled as two 16-bit lanes, green << 8 | blue and alpha << 8 |
// red, both carrying the pixel's source alpha: a * s + (255 - a) * d stays
// below 2^16, so the products fit the lanes and no lane is ever widened or
// narrowed, which the vector units do slowly.
void mergeOverOpaqueBlock(Pixel* __restrict dst, const Pixel* __restrict src)
{
    const Lane32* srcWords = reinterpret_cast<const Lane32*>(src);
    uint32_t alphaWords[c_block];
    // Marks the destination's alpha byte, which the blend keeps.
    uint32_t keptWords[c_block];
    for (int k = 0; k < c_block; ++k) {
        const uint32_t a = srcWords[k] >> 24;
        alphaWords[k] = a | a << 16;
        keptWords[k] = 0xFF000000;
    }
    const Lane16* alpha = reinterpret_cast<const Lane16*>(alphaWords);
    const Lane16* kept = reinterpret_cast<const Lane16*>(keptWords);
    const Lane16* __restrict s = reinterpret_cast<const Lane16*>(src);
    Lane16* __restrict d = reinterpret_cast<Lane16*>(dst);
    for (int j = 0; j < 2 * c_block; ++j) {
        const uint16_t a = alpha[j];
        const uint16_t na = 255 - a;
        const uint16_t low = static_cast<uint16_t>((s[j] & 0xFF) * a + (d[j] & 0xFF) * na) >> 8;
        const uint16_t high =
            static_cast<uint16_t>((s[j] >> 8) * a + (d[j] >> 8) * na) & 0xFF00;
        const uint16_t blended =
            static_cast<uint16_t>(((high | low) & ~kept[j]) | (d[j] & kept[j]));
        d[j] = a == 255 ? s[j] : a == 0 ? d[j] : blended;
    }
}

void mergeOverOpaqueRun(Pixel* dst, const Pixel* src, int count)
{
    int i = 0;
    for (; i + c_block <= count; i += c_block)
        mergeOverOpaqueBlock(dst + i, src + i);
    for (; i < count; ++i)
        blendOverOpaque(dst[i], src[i]);
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
        mergeOverOpaqueRun(dst, src, count);
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
