#include "graphics/Pixmap.h"

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

namespace {

typedef Pixmap::Pixel Pixel;

// A row of pixels read back as letters.
std::string letters(const Pixel* p, int count)
{
    Pixmap row(count, 1, true);
    std::copy(p, p + count, row.getPixels());
    const std::string s = GraphicsTest::letters(row);
    return s.substr(0, s.size() - 1);
}

} // namespace

TEST(PixmapBlitTest, RowFunctionsAndScaledBlitsFollowTheErrorTerm)
{
    const Pixmap palette = image({"abcdefgh"});
    const Pixel* src = palette.getPixels();
    Pixel dst[8];
    const std::tuple<int, int, int, int, int, const char*> copies[] = {
        {6, 0, 0, 2, 3, "aabccd"}, // two source pixels for every three
        {5, 0, 2, 2, 3, "abccd"},
        {5, 0, 0, 3, 2, "abdeg"}, // three for every two: some are skipped
        {4, 1, 0, 1, 1, "bcde"},
    };
    for (const auto& [count, first, e0, eStep, eDen, expected] : copies) {
        Pixmap::copyPixmapLine(dst, count, src + first, e0, eStep, eDen);
        EXPECT_EQ(expected, letters(dst, count));
    }

    // The merging rows step the same way.
    const std::vector<Pixel> half = {pixel(255, 0, 0, 128), pixel(0, 255, 0, 128),
                                     pixel(0, 0, 255, 128)};
    std::fill(dst, dst + 8, pixel(0, 0, 0, 255));
    Pixmap::fastMergePixmapLine(dst, 4, half.data(), 1, 1, 2);
    EXPECT_EQ("127,0,0,255 0,127,0,255 0,127,0,255 0,0,127,255 0,0,0,255",
              rgba(dst[0]) + " " + rgba(dst[1]) + " " + rgba(dst[2]) + " " + rgba(dst[3]) + " " +
                  rgba(dst[4]));
    std::fill(dst, dst + 8, pixel(0, 0, 0, 0));
    dst[1] = pixel(0, 0, 0, 255);
    Pixmap::slowMergePixmapLine(dst, 2, half.data(), 0, 3, 2);
    EXPECT_EQ("255,0,0,128 0,128,0,255 0,0,0,0",
              rgba(dst[0]) + " " + rgba(dst[1]) + " " + rgba(dst[2]))
        << "the second pixel takes the second source; only count pixels are written";

    // Every column doubled; two source rows for every three destination
    // rows, the vertical term starting at 2.
    Pixmap scaled(5, 4, c_paper);
    scaled.drawPixmapNoClip(1, 0, 4, 4, image({"ab", "cd", "ef"}), 0, 0, 0, 1, 2, 2, 2, 3);
    EXPECT_EQ(".aabb/.ccdd/.eeff/.eeff/", letters(scaled));
}

TEST(PixmapBlitTest, CopyRectNoClipIsSafeForOverlap)
{
    // Moves to (dx, dy) from (sx, sy) in every direction.
    const std::tuple<int, int, int, int, int, int, const char*> moves[] = {
        {0, 1, 0, 0, 3, 3, "abcd/abch/efgl/ijkp/"},
        {1, 0, 0, 1, 3, 3, "aefg/eijk/imno/mnop/"},
        {1, 1, 0, 1, 3, 2, "abcd/eefg/iijk/mnop/"},
        {0, 0, 1, 0, 3, 4, "bcdd/fghh/jkll/nopp/"},
    };
    for (const auto& [dx, dy, sx, sy, w, h, expected] : moves) {
        Pixmap p = image({"abcd", "efgh", "ijkl", "mnop"});
        p.copyRectNoClip(dx, dy, sx, sy, w, h);
        EXPECT_EQ(expected, letters(p)) << dx << "," << dy << " from " << sx << "," << sy;
    }
}
