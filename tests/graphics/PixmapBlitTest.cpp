#include "graphics/Pixmap.h"

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

namespace {

typedef Pixmap::Pixel Pixel;

} // namespace

TEST(PixmapBlitTest, RowFunctionsFollowTheErrorTerm)
{
    const Pixmap palette = image({"abcdefgh"});
    const Pixel* src = palette.getPixels();
    const std::tuple<int, int, int, int, int, const char*> copies[] = {
        {6, 0, 0, 2, 3, "aabccd/"}, // two source pixels for every three
        {5, 0, 2, 2, 3, "abccd/"},
        {5, 0, 0, 3, 2, "abdeg/"}, // three for every two: some are skipped
    };
    for (const auto& [count, first, e0, eStep, eDen, expected] : copies) {
        Pixmap row(count, 1, false);
        Pixmap::copyPixmapLine(row.getPixels(), count, src + first, e0, eStep, eDen);
        EXPECT_EQ(expected, letters(row));
    }

    // The merging rows step the same way.
    const std::vector<Pixel> half = {pixel(255, 0, 0, 128), pixel(0, 255, 0, 128),
                                     pixel(0, 0, 255, 128)};
    Pixmap opaque(5, 1, false);
    Pixmap::fastMergePixmapLine(opaque.getPixels(), 4, half.data(), 1, 1, 2);
    EXPECT_EQ("127,0,0,255 0,127,0,255 0,127,0,255 0,0,127,255 0,0,0,255/", pixels(opaque));
    Pixmap clear(3, 1, true);
    setPixel(clear, 1, 0, Color(0, 0, 0, 255));
    Pixmap::slowMergePixmapLine(clear.getPixels(), 2, half.data(), 0, 3, 2);
    EXPECT_EQ("255,0,0,128 0,128,0,255 0,0,0,0/", pixels(clear))
        << "the second pixel takes the second source; only count pixels are written";
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
