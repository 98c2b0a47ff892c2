#include "graphics/Painter.h"

#include <map>
#include <stdexcept>
#include <utility>

#include "graphics/CompositePixmap.h"
#include "graphics/PixelTestUtil.h"
#include "graphics/Shadow.h"

using namespace OKU;
using namespace GraphicsTest;

namespace {

// Records the building blocks a painter operation calls through its virtual
// slots, and still draws them.
class RecordingPixmap : public Pixmap {
public:
    using Pixmap::drawPixmap;
    using Pixmap::Pixmap;

    void drawSolidRect(int x, int y, int w, int h, const Color& c) override
    {
        record("rect", x, y, w, h, nullptr);
        Pixmap::drawSolidRect(x, y, w, h, c);
    }
    void drawPixmap(int x, int y, const Pixmap& src) override
    {
        record("draw", x, y, src.getWidth(), src.getHeight(), &src);
        Pixmap::drawPixmap(x, y, src);
    }
    void drawPixmap(int x, int y, int w, int h, const Pixmap& src) override
    {
        record("stretch", x, y, w, h, &src);
        Pixmap::drawPixmap(x, y, w, h, src);
    }
    void drawTiledPixmap(int x, int y, int w, int h, const Pixmap& tile) override
    {
        record("tile", x, y, w, h, &tile);
        Pixmap::drawTiledPixmap(x, y, w, h, tile);
    }

    // Pieces drawn are shown by name, or else by their letters.
    std::map<const Pixmap*, std::string> names;
    std::vector<std::string> calls;

private:
    void record(const char* what, int x, int y, int w, int h, const Pixmap* piece)
    {
        calls.push_back(
            std::string(what) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
            std::to_string(w) + "x" + std::to_string(h) +
            (!piece ? "" : " " + (names.count(piece) ? names[piece] : letters(*piece))));
    }
};

} // namespace

TEST(PainterTest, OffsetAndClipSlotsAndStateSaver)
{
    Pixmap p(10, 8, false);
    p.setOffset(3, 2);
    p.translate(Point(1, 1));
    p.setClipRect(Rect(-1, 0, 4, 20));
    EXPECT_EQ(Rect(-1, 0, 4, 5), p.getClipRect());
    // Only the painter state changes hands: the offset, and the clip moved by
    // it and cut to the image.
    Pixmap other(2, 1, false);
    static_cast<Painter&>(p).swap(other);
    EXPECT_EQ(std::make_pair(Point(0, 0), Rect(0, 0, 2, 1)),
              std::make_pair(p.getOffset(), p.getClipRectAbs()));
    EXPECT_EQ("4,3 3,3 4x5 opaque 0,0,0,255 0,0,0,255/", state(other));

    Pixmap q(10, 10, false);
    q.setOffset(1, 2);
    q.setClipRectAbs(Rect(1, 1, 5, 5));
    try {
        Painter::StateSaver saver(q);
        q.setOffset(7, 7);
        q.setClipRectAbs(Rect(0, 0, 2, 2));
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(std::make_pair(Point(1, 2), Rect(1, 1, 5, 5)),
              std::make_pair(q.getOffset(), q.getClipRectAbs()));

    // A moved-from saver no longer restores; restore() happens only once.
    Painter::StateSaver outer(q);
    {
        Painter::StateSaver inner(std::move(outer));
        q.translate(5, 5);
        inner.restore();
        q.translate(1, 1);
    }
    EXPECT_EQ(Point(2, 3), q.getOffset());
    q.setOffset(0, 0);
    outer.restore();
    EXPECT_EQ(Point(0, 0), q.getOffset());
}

TEST(PainterTest, DrawRectFillsInsideItsBorder)
{
    Pixmap p(6, 4, c_paper);
    p.drawRect(0, 0, 4, 3, letterColor('b'), letterColor('f'));
    p.drawRect(5, 0, 1, 3, letterColor('b'), letterColor('f'));
    EXPECT_EQ("bbbb.b/bffb.b/bbbb.b/....../", letters(p));
    Pixmap small(4, 4, c_paper);
    small.setOffset(1, 1);
    small.drawRect(0, 0, 2, 2, letterColor('b'), letterColor('f'));
    EXPECT_EQ("..../.bb./.bb./..../", letters(small)) << "no fill inside a 2x2 rectangle";
}

TEST(PainterTest, BlitsAreClippedAndKeepTheSourcePositionWhenCut)
{
    const Pixmap src = image({"abcd", "efgh"});
    Pixmap p(4, 2, c_paper);
    p.drawPixmap(-2, 0, src);
    EXPECT_EQ("cd../gh../", letters(p)) << "a cut on the left shifts the source";
    p.clear(c_paper);
    p.setOffset(1, 1);
    p.setClipRectAbs(Rect(2, 0, 2, 2));
    p.drawPixmap(0, -1, src);
    EXPECT_EQ("..bc/..fg/", letters(p));
    p.clear(c_paper);
    p.unsetClipRect();
    p.drawPixmap(0, 0, src, 2, 1, 2, 1);
    p.drawPixmap(0, 0, src, 0, 0, 0, 1);
    p.drawPixmap(5, 0, src);
    EXPECT_EQ("..../.gh./", letters(p)) << "part of the source";

    Pixmap scaled(4, 4, c_paper);
    scaled.drawPixmap(-4, 0, 8, 4, src);
    EXPECT_EQ("ccdd/ccdd/gghh/gghh/", letters(scaled)) << "the left half cut shows the right half";
    Pixmap row(6, 1, c_paper);
    row.drawPixmap(-3, 0, 8, 1, src, 0, 0, 4, 1);
    EXPECT_EQ("bccdd./", letters(row)) << "a cut in the middle of a stretched pixel";
    Pixmap column(1, 4, c_paper);
    column.setOffset(0, -1);
    column.drawPixmap(0, 0, 1, 6, image({"a", "b", "c"}));
    EXPECT_EQ("a/b/b/c/", letters(column)) << "a cut at the top";
    // Empty sizes draw nothing.
    const Pixmap wide = image({"abcdefgh"});
    Pixmap shrunk(4, 1, c_paper);
    shrunk.drawPixmap(-1, 0, 4, 1, wide);
    shrunk.drawPixmap(0, 0, 0, 1, wide);
    shrunk.drawPixmap(0, 0, 4, 1, wide, 0, 0, 0, 1);
    EXPECT_EQ("ceg./", letters(shrunk));
}

TEST(PainterTest, TilesAreLaidFromTheTopLeftCorner)
{
    const Pixmap tile = image({"abc", "def"});
    Pixmap p(9, 7, c_paper);
    p.drawTiledPixmap(1, 1, 7, 5, tile);
    EXPECT_EQ("........./.abcabca./.defdefd./.abcabca./.defdefd./.abcabca./........./", letters(p));

    // A clip that starts inside the area leaves the tiles where they were.
    Pixmap clipped(9, 7, c_paper);
    clipped.setOffset(-1, 0);
    clipped.setClipRectAbs(Rect(5, 3, 2, 4));
    clipped.drawTiledPixmap(2, 1, 7, 5, tile);
    EXPECT_EQ("........./........./........./.....bc../.....ef../.....bc../........./",
              letters(clipped));

    Pixmap none(2, 2, c_paper);
    none.drawTiledPixmap(0, 0, 2, 2, Pixmap());
    none.drawTiledPixmap(0, 0, 2, 0, tile);
    EXPECT_EQ("../../", letters(none));
}

TEST(PainterTest, CompositePixmapAndShadowCallTheSlotsInOrder)
{
    // A one-pixel centre is filled as a rectangle of its colour.
    const CompositePixmap plain(image({"abc", "def", "ghi"}), Margins(1, 1, 1, 1), Margins(),
                                Margins(1, 0, 2, 1), Color());
    RecordingPixmap r(7, 5, c_paper);
    r.drawCompositePixmap(2, 1, 3, 2, plain);
    EXPECT_EQ((std::vector<std::string>{"draw 1,1 1x1 a/", "stretch 2,1 4x1 b/", "draw 6,1 1x1 c/",
                                        "stretch 1,2 1x1 d/", "rect 2,2 4x1", "stretch 6,2 1x1 f/",
                                        "draw 1,3 1x1 g/", "stretch 2,3 4x1 h/", "draw 6,3 1x1 i/"}),
              r.calls);
    EXPECT_EQ("......./.abbbbc/.deeeef/.ghhhhi/......./", letters(r));

    // A larger centre is stretched like the edges; an inner area of zero
    // size leaves only the corners.
    const CompositePixmap large(image({"abcd", "efgh", "ijkl", "mnop"}), Margins(1, 1, 1, 1),
                                Margins(), Margins(), Color());
    Pixmap p(8, 6, c_paper);
    p.drawCompositePixmap(1, 1, 6, 4, large);
    EXPECT_EQ("......../.abbccd./.effggh./.ijjkkl./.mnnoop./......../", letters(p));
    Pixmap corners(3, 3, c_paper);
    corners.drawCompositePixmap(0, 0, 2, 2, large);
    EXPECT_EQ("ad./mp./.../", letters(corners));

    const Shadow shadow(4, Color(0, 0, 0, 200));
    RecordingPixmap s(100, 100, c_paper);
    s.names = {{&shadow.getTopEdge(), "top"},          {&shadow.getTopRightCorner(), "top-right"},
               {&shadow.getRightEdge(), "right"},      {&shadow.getBottomRightCorner(), "bottom-right"},
               {&shadow.getBottomEdge(), "bottom"},    {&shadow.getBottomLeftCorner(), "bottom-left"},
               {&shadow.getLeftEdge(), "left"}};
    s.drawRectShadow(10, 20, 30, 40, 5, 6, shadow);
    EXPECT_EQ((std::vector<std::string>{
                  "tile 40,26 5x4 top", "draw 45,26 4x4 top-right", "tile 45,30 4x36 right",
                  "draw 45,66 4x4 bottom-right", "tile 19,66 26x4 bottom", "draw 15,66 4x4 bottom-left",
                  "tile 15,60 4x6 left", "rect 19,60 26x6", "rect 40,30 5x30"}),
              s.calls);
    // A shadow cast further than the rectangle's size, or backwards, is a
    // programming error.
    EXPECT_DEATH(s.drawRectShadow(0, 0, 5, 5, 6, 0, shadow), "");
    EXPECT_DEATH(s.drawRectShadow(0, 0, 5, 5, 0, -1, shadow), "");
}

TEST(PainterTest, CopyRectClipsTheDestination)
{
    Pixmap p(6, 2, false);
    const Pixmap original = image({"abcdef", "ghijkl"});
    p.drawPixmap(0, 0, original);
    p.setClipRectAbs(Rect(2, 0, 4, 2));
    p.copyRect(1, 0, 3, 0, 3, 1);
    // Nothing for an equal source or a destination outside the clip.
    p.copyRect(2, 1, 2, 1, 3, 1);
    p.copyRect(0, 0, 1, 0, 2, 1);
    EXPECT_EQ("abefef/ghijkl/", letters(p)) << "the source shifted by the cut";

    // Overlapping moves inside the surface, relative to the offset.
    p.unsetClipRect();
    p.setOffset(1, 0);
    p.drawPixmap(-1, 0, original);
    p.copyRect(0, 1, 0, 0, 4, 1);
    EXPECT_EQ("abcdef/gbcdel/", letters(p));
    p.copyRect(1, 1, 0, 1, 4, 1);
    EXPECT_EQ("abcdef/gbbcde/", letters(p));
}
