#include "graphics/Pixmap.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace OKU;

namespace {

typedef Pixmap::Pixel Pixel;

Pixel pixel(int r, int g, int b, int a)
{
    return Pixel{static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r),
                 static_cast<uint8_t>(a)};
}

std::string rgba(const Pixel& p)
{
    return std::to_string(p.red) + "," + std::to_string(p.green) + "," + std::to_string(p.blue) +
           "," + std::to_string(p.alpha);
}

// A one-row image holding the given pixels.
Pixmap row(const std::vector<Pixel>& pixels, bool alpha)
{
    Pixmap p(static_cast<int>(pixels.size()), 1, alpha);
    for (size_t i = 0; i < pixels.size(); ++i)
        p.getPixels()[i] = pixels[i];
    return p;
}

// The blend into a pixmap without alpha, written straight from its rule.
Pixel expectedOverOpaque(const Pixel& d, const Pixel& s)
{
    const int a = s.alpha;
    if (a == 255)
        return s;
    if (a == 0)
        return d;
    return pixel((a * s.red + (255 - a) * d.red) >> 8, (a * s.green + (255 - a) * d.green) >> 8,
                 (a * s.blue + (255 - a) * d.blue) >> 8, d.alpha);
}

// Letters for the pixels of a row whose pixels come from the palette.
std::string letters(const Pixel* p, int count, const std::vector<Pixel>& palette)
{
    std::string s;
    for (int i = 0; i < count; ++i) {
        char c = '?';
        for (size_t k = 0; k < palette.size(); ++k)
            if (palette[k] == p[i])
                c = static_cast<char>('a' + k);
        s += c;
    }
    return s;
}

const std::vector<Pixel> c_palette = {pixel(10, 0, 0, 255), pixel(20, 0, 0, 255),
                                      pixel(30, 0, 0, 255), pixel(40, 0, 0, 255),
                                      pixel(50, 0, 0, 255), pixel(60, 0, 0, 255),
                                      pixel(70, 0, 0, 255), pixel(80, 0, 0, 255)};

} // namespace

TEST(PixmapBlitTest, BlendIntoPixmapWithoutAlpha)
{
    Pixmap dst(5, 1, Color(10, 20, 30));
    const Pixmap src = row({pixel(1, 2, 3, 255), pixel(200, 100, 50, 0), pixel(200, 100, 50, 100),
                            pixel(255, 255, 255, 128), pixel(9, 8, 7, 1)},
                           true);
    dst.drawPixmapNoClip(0, 0, src, 0, 0, 5, 1);
    EXPECT_EQ("1,2,3,255", rgba(dst.getPixel(0, 0)));
    EXPECT_EQ("10,20,30,255", rgba(dst.getPixel(1, 0)));
    EXPECT_EQ("84,51,37,255", rgba(dst.getPixel(2, 0)));
    EXPECT_EQ("132,137,142,255", rgba(dst.getPixel(3, 0)));
    EXPECT_EQ("9,19,29,255", rgba(dst.getPixel(4, 0)));

    Pixmap white(1, 1, Color(255, 255, 255));
    white.drawPixmapNoClip(0, 0, row({pixel(255, 255, 255, 128)}, true), 0, 0, 1, 1);
    EXPECT_EQ("254,254,254,255", rgba(white.getPixel(0, 0))) << "the blend divides by 256";
}

TEST(PixmapBlitTest, LongRowsBlendEveryAlphaLikeSinglePixels)
{
    // Long enough for whole blocks and a tail, every alpha value, placed at
    // odd offsets in both images.
    const int count = 300;
    std::vector<Pixel> source(count + 3);
    for (int i = 0; i < count + 3; ++i)
        source[i] = pixel(i * 7, 255 - i, i * 13, i % 256);
    source[3 + 256] = pixel(250, 251, 252, 255);
    source[3 + 257] = pixel(250, 251, 252, 0);
    const Pixmap src = row(source, true);

    Pixmap dst(count + 5, 2, false);
    for (int i = 0; i < count + 5; ++i)
        dst.getRow(1)[i] = pixel(255 - i, i * 3, 128, 255);
    const Pixmap before = dst;

    dst.drawPixmapNoClip(5, 1, src, 3, 0, count, 1);
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(rgba(expectedOverOpaque(before.getPixel(5 + i, 1), source[3 + i])),
                  rgba(dst.getPixel(5 + i, 1)))
            << "pixel " << i;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(before.getPixel(i, 1), dst.getPixel(i, 1));
    for (int i = 0; i < count + 5; ++i)
        EXPECT_EQ(before.getPixel(i, 0), dst.getPixel(i, 0));
}

TEST(PixmapBlitTest, BlendIntoPixmapWithAlpha)
{
    Pixmap dst = row({pixel(10, 20, 30, 0), pixel(0, 0, 0, 255), pixel(100, 100, 100, 128),
                      pixel(50, 60, 70, 200), pixel(50, 60, 70, 200)},
                     true);
    const Pixmap src = row({pixel(200, 100, 50, 0), pixel(255, 255, 255, 128),
                            pixel(200, 100, 50, 0), pixel(200, 100, 50, 100),
                            pixel(1, 2, 3, 255)},
                           true);
    dst.drawPixmapNoClip(0, 0, src, 0, 0, 5, 1);
    EXPECT_EQ("200,100,50,0", rgba(dst.getPixel(0, 0))) << "a transparent pixel takes the source";
    EXPECT_EQ("128,128,128,255", rgba(dst.getPixel(1, 0)));
    EXPECT_EQ("100,100,100,128", rgba(dst.getPixel(2, 0)));
    EXPECT_EQ("117,78,60,221", rgba(dst.getPixel(3, 0)));
    EXPECT_EQ("1,2,3,255", rgba(dst.getPixel(4, 0)));
}

TEST(PixmapBlitTest, SourceWithoutAlphaIsCopied)
{
    Pixmap src(3, 2, false);
    for (int i = 0; i < 6; ++i)
        src.getPixels()[i] = pixel(i, 2 * i, 3 * i, 255);
    Pixmap withAlpha(4, 3, Color(9, 9, 9, 0));
    withAlpha.drawPixmapNoClip(1, 1, src, 1, 0, 2, 2);
    EXPECT_EQ("1,2,3,255", rgba(withAlpha.getPixel(1, 1)));
    EXPECT_EQ("5,10,15,255", rgba(withAlpha.getPixel(2, 2)));
    EXPECT_EQ("9,9,9,0", rgba(withAlpha.getPixel(3, 1)));
    EXPECT_EQ("9,9,9,0", rgba(withAlpha.getPixel(1, 0)));

    Pixmap opaque(2, 2, Color(9, 9, 9));
    opaque.drawPixmapNoClip(0, 0, src, 0, 0, 2, 2);
    EXPECT_EQ("0,0,0,255", rgba(opaque.getPixel(0, 0)));
    EXPECT_EQ("4,8,12,255", rgba(opaque.getPixel(1, 1)));
}

TEST(PixmapBlitTest, RowFunctionsFollowTheErrorTerm)
{
    const Pixel* src = c_palette.data();
    Pixel dst[8];

    // Two source pixels for every three destination pixels.
    Pixmap::copyPixmapLine(dst, 6, src, 0, 2, 3);
    EXPECT_EQ("aabccd", letters(dst, 6, c_palette));
    Pixmap::copyPixmapLine(dst, 5, src, 2, 2, 3);
    EXPECT_EQ("abccd", letters(dst, 5, c_palette));
    // Three source pixels for every two: some are skipped.
    Pixmap::copyPixmapLine(dst, 5, src, 0, 3, 2);
    EXPECT_EQ("abdeg", letters(dst, 5, c_palette));
    Pixmap::copyPixmapLine(dst, 4, src + 1, 0, 1, 1);
    EXPECT_EQ("bcde", letters(dst, 4, c_palette));

    // The merging rows step the same way.
    const std::vector<Pixel> half = {pixel(255, 0, 0, 128), pixel(0, 255, 0, 128),
                                     pixel(0, 0, 255, 128)};
    for (Pixel& d : dst)
        d = pixel(0, 0, 0, 255);
    Pixmap::fastMergePixmapLine(dst, 4, half.data(), 1, 1, 2);
    EXPECT_EQ("127,0,0,255", rgba(dst[0]));
    EXPECT_EQ("0,127,0,255", rgba(dst[1]));
    EXPECT_EQ("0,127,0,255", rgba(dst[2]));
    EXPECT_EQ("0,0,127,255", rgba(dst[3]));
    EXPECT_EQ("0,0,0,255", rgba(dst[4]));

    for (Pixel& d : dst)
        d = pixel(0, 0, 0, 0);
    dst[1] = pixel(0, 0, 0, 255);
    Pixmap::slowMergePixmapLine(dst, 2, half.data(), 0, 3, 2);
    EXPECT_EQ("255,0,0,128", rgba(dst[0]));
    EXPECT_EQ("0,128,0,255", rgba(dst[1])) << "the second pixel takes the second source";
    EXPECT_EQ("0,0,0,0", rgba(dst[2])) << "only count pixels are written";
}

TEST(PixmapBlitTest, ScaledBlitStepsRowsLikeColumns)
{
    Pixmap src(2, 3, false);
    for (int i = 0; i < 6; ++i)
        src.getPixels()[i] = c_palette[i];
    Pixmap dst(5, 4, Color(255, 255, 255));
    // Every column doubled; two source rows for every three destination
    // rows, the vertical term starting at 2.
    dst.drawPixmapNoClip(1, 0, 4, 4, src, 0, 0, 0, 1, 2, 2, 2, 3);
    std::string rows;
    for (int y = 0; y < 4; ++y)
        rows += letters(dst.getRow(y) + 1, 4, c_palette) + "/";
    EXPECT_EQ("aabb/ccdd/eeff/eeff/", rows);
    EXPECT_EQ("255,255,255,255", rgba(dst.getPixel(0, 0)));
}

TEST(PixmapBlitTest, CopyRectNoClipIsSafeForOverlap)
{
    const auto filled = [] {
        Pixmap p(4, 4, false);
        for (int i = 0; i < 16; ++i)
            p.getPixels()[i] = pixel(i, 0, 0, 255);
        return p;
    };
    const Pixmap original = filled();
    // Moved by (dx, dy): every pixel of the moved block shows the original
    // at the source position, the rest is unchanged.
    const auto check = [&](const Pixmap& p, int dx, int dy, int sx, int sy, int w, int h) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const bool inside = x >= dx && x < dx + w && y >= dy && y < dy + h;
                const Pixel& expected =
                    inside ? original.getPixel(x - dx + sx, y - dy + sy) : original.getPixel(x, y);
                EXPECT_EQ(rgba(expected), rgba(p.getPixel(x, y))) << x << "," << y;
            }
    };

    Pixmap down = filled();
    down.copyRectNoClip(0, 1, 0, 0, 3, 3);
    check(down, 0, 1, 0, 0, 3, 3);
    Pixmap up = filled();
    up.copyRectNoClip(1, 0, 0, 1, 3, 3);
    check(up, 1, 0, 0, 1, 3, 3);
    Pixmap right = filled();
    right.copyRectNoClip(1, 1, 0, 1, 3, 2);
    check(right, 1, 1, 0, 1, 3, 2);
    Pixmap left = filled();
    left.copyRectNoClip(0, 0, 1, 0, 3, 4);
    check(left, 0, 0, 1, 0, 3, 4);
}
