#include "graphics/Pixmap.h"

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

namespace {

typedef Pixmap::Pixel Pixel;

Pixmap row(const std::vector<Pixel>& pixels)
{
    Pixmap p(static_cast<int>(pixels.size()), 1, true);
    std::copy(pixels.begin(), pixels.end(), p.getPixels());
    return p;
}

// The pixels of the letters a to h, and a row of pixels read back as letters.
const std::vector<Pixel> c_palette = {pixel(letterColor('a')), pixel(letterColor('b')), pixel(letterColor('c')),
                                      pixel(letterColor('d')), pixel(letterColor('e')), pixel(letterColor('f')),
                                      pixel(letterColor('g')), pixel(letterColor('h'))};

std::string letters(const Pixel* p, int count)
{
    const std::string s = GraphicsTest::letters(row(std::vector<Pixel>(p, p + count)));
    return s.substr(0, s.size() - 1);
}

} // namespace

TEST(PixmapBlitTest, RowFunctionsAndScaledBlitsFollowTheErrorTerm)
{
    const Pixel* src = c_palette.data();
    Pixel dst[8];
    const struct {
        int count, first, e0, eStep, eDen;
        const char* expected;
    } copies[] = {
        {6, 0, 0, 2, 3, "aabccd"}, // two source pixels for every three
        {5, 0, 2, 2, 3, "abccd"},
        {5, 0, 0, 3, 2, "abdeg"}, // three for every two: some are skipped
        {4, 1, 0, 1, 1, "bcde"},
    };
    for (const auto& c : copies) {
        Pixmap::copyPixmapLine(dst, c.count, src + c.first, c.e0, c.eStep, c.eDen);
        EXPECT_EQ(c.expected, letters(dst, c.count));
    }

    // The merging rows step the same way.
    const std::vector<Pixel> half = {pixel(255, 0, 0, 128), pixel(0, 255, 0, 128), pixel(0, 0, 255, 128)};
    std::fill(dst, dst + 8, pixel(0, 0, 0, 255));
    Pixmap::fastMergePixmapLine(dst, 4, half.data(), 1, 1, 2);
    EXPECT_EQ("127,0,0,255 0,127,0,255 0,127,0,255 0,0,127,255 0,0,0,255",
              rgba(dst[0]) + " " + rgba(dst[1]) + " " + rgba(dst[2]) + " " + rgba(dst[3]) + " " +
                  rgba(dst[4]));
    std::fill(dst, dst + 8, pixel(0, 0, 0, 0));
    dst[1] = pixel(0, 0, 0, 255);
    Pixmap::slowMergePixmapLine(dst, 2, half.data(), 0, 3, 2);
    EXPECT_EQ("255,0,0,128 0,128,0,255 0,0,0,0", rgba(dst[0]) + " " + rgba(dst[1]) + " " + rgba(dst[2]))
        << "the second pixel takes the second source; only count pixels are written";

    // Every column doubled; two source rows for every three destination
    // rows, the vertical term starting at 2.
    Pixmap scaled(5, 4, c_paper);
    scaled.drawPixmapNoClip(1, 0, 4, 4, image({"ab", "cd", "ef"}), 0, 0, 0, 1, 2, 2, 2, 3);
    EXPECT_EQ(".aabb/.ccdd/.eeff/.eeff/", letters(scaled));
}

TEST(PixmapBlitTest, CopyRectNoClipIsSafeForOverlap)
{
    Pixmap original(4, 4, false);
    for (int i = 0; i < 16; ++i)
        original.getPixels()[i] = pixel(i, 0, 0, 255);
    // Moves by (dx, dy) from (sx, sy) in every direction.
    const int moves[][6] = {{0, 1, 0, 0, 3, 3}, {1, 0, 0, 1, 3, 3}, {1, 1, 0, 1, 3, 2}, {0, 0, 1, 0, 3, 4}};
    for (const auto& m : moves) {
        Pixmap p(original);
        p.copyRectNoClip(m[0], m[1], m[2], m[3], m[4], m[5]);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const bool inside = x >= m[0] && x < m[0] + m[4] && y >= m[1] && y < m[1] + m[5];
                EXPECT_EQ(inside ? rgba(original, x - m[0] + m[2], y - m[1] + m[3]) : rgba(original, x, y),
                          rgba(p, x, y))
                    << "move to " << m[0] << "," << m[1] << " at " << x << "," << y;
            }
    }
}
