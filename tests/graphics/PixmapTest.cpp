#include "graphics/Pixmap.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "graphics/Graymap.h"

using namespace OKU;

namespace {

// "red,green,blue,alpha" of one pixel, readable in failure messages.
std::string rgba(const Pixmap& p, int x, int y)
{
    const Pixmap::Pixel& px = p.getPixel(x, y);
    return std::to_string(px.red) + "," + std::to_string(px.green) + "," +
           std::to_string(px.blue) + "," + std::to_string(px.alpha);
}

void setPixel(Pixmap& p, int x, int y, const Color& c)
{
    p.getRow(y)[x] = Pixmap::Pixel{static_cast<uint8_t>(c.blue), static_cast<uint8_t>(c.green),
                                   static_cast<uint8_t>(c.red), static_cast<uint8_t>(c.alpha)};
}

} // namespace

TEST(PixmapTest, ConstructionFillsAndSetsAlphaFlag)
{
    const Pixmap empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(0, empty.getWidth());
    EXPECT_FALSE(empty.hasAlpha());
    EXPECT_EQ(Rect(0, 0, 0, 0), empty.getClipRectAbs());

    const Pixmap transparent(3, 2, true);
    EXPECT_TRUE(transparent.hasAlpha());
    EXPECT_EQ("0,0,0,0", rgba(transparent, 2, 1));
    EXPECT_EQ(Rect(0, 0, 3, 2), transparent.getClipRectAbs());

    const Pixmap black(3, 2, false);
    EXPECT_FALSE(black.hasAlpha());
    EXPECT_EQ("0,0,0,255", rgba(black, 0, 0));

    const Pixmap opaque(2, 2, Color(1, 2, 3, 255));
    EXPECT_FALSE(opaque.hasAlpha());
    EXPECT_EQ("1,2,3,255", rgba(opaque, 1, 1));
    const Pixmap translucent(2, 2, Color(1, 2, 3, 40));
    EXPECT_TRUE(translucent.hasAlpha());
    EXPECT_EQ("1,2,3,40", rgba(translucent, 0, 1));

    const Pixmap flat(5, 0, false);
    EXPECT_TRUE(flat.isEmpty());
    EXPECT_EQ(0u, flat.getPixelCount());
    EXPECT_TRUE(Pixmap(-3, 4, true).isEmpty());
}

TEST(PixmapTest, GraymapValuesAreInk)
{
    Graymap withAlpha(2, 1, true);
    withAlpha.getRow(0)[0] = 0;
    withAlpha.getRow(0)[1] = 255;
    withAlpha.getAlphaRow(0)[1] = 7;
    const Pixmap a(withAlpha);
    EXPECT_TRUE(a.hasAlpha());
    EXPECT_EQ("255,255,255,255", rgba(a, 0, 0));
    EXPECT_EQ("0,0,0,7", rgba(a, 1, 0));

    Graymap plain(1, 2, false);
    plain.getRow(0)[0] = 100;
    plain.getRow(1)[0] = 1;
    const Pixmap b(plain);
    EXPECT_FALSE(b.hasAlpha());
    EXPECT_EQ(1, b.getWidth());
    EXPECT_EQ("155,155,155,255", rgba(b, 0, 0));
    EXPECT_EQ("254,254,254,255", rgba(b, 0, 1));
    EXPECT_TRUE(Pixmap(Graymap()).isEmpty());
}

TEST(PixmapTest, CopiesAreDeepAndStartWithFreshPainterState)
{
    Pixmap source(4, 3, Color(9, 8, 7, 100));
    source.setOffset(1, 1);
    source.setClipRectAbs(Rect(1, 1, 2, 1));

    Pixmap copy(source);
    EXPECT_EQ(Point(0, 0), copy.getOffset());
    EXPECT_EQ(Rect(0, 0, 4, 3), copy.getClipRectAbs());
    EXPECT_TRUE(copy.hasAlpha());
    setPixel(copy, 0, 0, Color(1, 1, 1, 1));
    EXPECT_EQ("9,8,7,100", rgba(source, 0, 0));

    Pixmap assigned(1, 1, false);
    assigned.setOffset(5, 5);
    assigned = source;
    EXPECT_EQ(Point(0, 0), assigned.getOffset());
    EXPECT_EQ(Rect(0, 0, 4, 3), assigned.getClipRectAbs());
    EXPECT_EQ(4, assigned.getWidth());
    EXPECT_EQ("9,8,7,100", rgba(assigned, 3, 2));
    EXPECT_NE(source.getPixels(), assigned.getPixels());
}

TEST(PixmapTest, MovesTakeArrayAndPainterStateAndEmptyTheSource)
{
    Pixmap source(4, 3, Color(9, 8, 7, 100));
    source.setOffset(2, 1);
    source.setClipRectAbs(Rect(1, 1, 2, 1));
    const Pixmap::Pixel* array = source.getPixels();

    Pixmap moved(std::move(source));
    EXPECT_EQ(array, moved.getPixels());
    EXPECT_EQ(Point(2, 1), moved.getOffset());
    EXPECT_EQ(Rect(1, 1, 2, 1), moved.getClipRectAbs());
    EXPECT_TRUE(moved.hasAlpha());
    EXPECT_TRUE(source.isEmpty());
    EXPECT_EQ(0, source.getWidth());
    EXPECT_EQ(0, source.getHeight());

    Pixmap target(2, 2, false);
    target = std::move(moved);
    EXPECT_EQ(array, target.getPixels());
    EXPECT_EQ(Point(2, 1), target.getOffset());
    EXPECT_TRUE(moved.isEmpty());
    EXPECT_EQ(0, moved.getWidth());

    Pixmap other(1, 5, false);
    other.setOffset(7, 7);
    target.swap(other);
    EXPECT_EQ(array, other.getPixels());
    EXPECT_EQ(Point(2, 1), other.getOffset());
    EXPECT_EQ(Rect(1, 1, 2, 1), other.getClipRectAbs());
    EXPECT_EQ(Point(7, 7), target.getOffset());
    EXPECT_EQ(Rect(0, 0, 1, 5), target.getClipRectAbs());
    EXPECT_FALSE(target.hasAlpha());
    EXPECT_EQ(5, target.getHeight());
}

TEST(PixmapTest, ResizeRefillsAndResetsClip)
{
    Pixmap p(4, 4, false);
    const Pixmap::Pixel* array = p.getPixels();
    p.setClipRectAbs(Rect(1, 1, 1, 1));
    p.resize(4, 4, Color(1, 2, 3, 50));
    EXPECT_EQ(array, p.getPixels());
    EXPECT_TRUE(p.hasAlpha());
    EXPECT_EQ(Rect(0, 0, 4, 4), p.getClipRectAbs());
    EXPECT_EQ("1,2,3,50", rgba(p, 3, 3));

    p.resize(6, 2, false);
    EXPECT_FALSE(p.hasAlpha());
    EXPECT_EQ(Rect(0, 0, 6, 2), p.getClipRectAbs());
    EXPECT_EQ("0,0,0,255", rgba(p, 5, 1));
    p.resize(2, 2, true);
    EXPECT_EQ("0,0,0,0", rgba(p, 1, 1));
    p.resize(0, 3, true);
    EXPECT_TRUE(p.isEmpty());
    EXPECT_EQ(Rect(0, 0, 0, 0), p.getClipRectAbs());
}

TEST(PixmapTest, ClearIgnoresClipAndKeepsOpaqueAlpha)
{
    Pixmap p(3, 3, false);
    p.setOffset(1, 1);
    p.setClipRectAbs(Rect(1, 1, 1, 1));
    p.clear(Color(5, 6, 7, 10));
    EXPECT_EQ("5,6,7,255", rgba(p, 0, 0));
    EXPECT_EQ("5,6,7,255", rgba(p, 2, 2));
    EXPECT_FALSE(p.hasAlpha());

    Pixmap a(2, 1, true);
    a.clear(Color(5, 6, 7, 10));
    EXPECT_EQ("5,6,7,10", rgba(a, 1, 0));
}

TEST(PixmapTest, ClipStaysInsideImage)
{
    Pixmap p(10, 8, false);
    p.setClipRectAbs(Rect(-5, 2, 8, 20));
    EXPECT_EQ(Rect(0, 2, 3, 6), p.getClipRectAbs());
    p.setClipRectAbs(Rect(20, 20, 5, 5));
    EXPECT_TRUE(p.getClipRectAbs().isEmpty());
    EXPECT_EQ(0, p.getClipRectAbs().width);
    EXPECT_EQ(0, p.getClipRectAbs().height);
    p.setOffset(4, 4);
    p.setClipRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Rect(4, 4, 6, 4), p.getClipRectAbs());
    p.unsetClipRect();
    EXPECT_EQ(Rect(0, 0, 10, 8), p.getClipRectAbs());
}

TEST(PixmapTest, AlphaFlagFollowsTheAlphaBytes)
{
    Pixmap p(2, 2, false);
    p.addAlpha();
    EXPECT_TRUE(p.hasAlpha());
    EXPECT_TRUE(p.isSolid());
    p.removeAlphaIfSolid();
    EXPECT_FALSE(p.hasAlpha());

    p.addAlpha();
    setPixel(p, 1, 1, Color(0, 0, 0, 254));
    EXPECT_FALSE(p.isSolid());
    p.removeAlphaIfSolid();
    EXPECT_TRUE(p.hasAlpha());

    Pixmap empty;
    empty.addAlpha();
    EXPECT_TRUE(empty.isSolid());
    empty.removeAlphaIfSolid();
    EXPECT_FALSE(empty.hasAlpha());

    Pixmap withHole(2, 1, Color(0, 0, 0, 255));
    setPixel(withHole, 0, 0, Color(0, 0, 0, 3));
    EXPECT_TRUE(withHole.isSolid()) << "the alpha bytes of a pixmap without alpha do not count";
}

TEST(PixmapTest, CopyAlpha)
{
    Pixmap target(2, 1, Color(10, 20, 30, 255));
    EXPECT_FALSE(target.copyAlpha(Pixmap(1, 1, true)));

    Pixmap mask(2, 1, true);
    setPixel(mask, 0, 0, Color(1, 2, 3, 77));
    EXPECT_TRUE(target.copyAlpha(mask));
    EXPECT_TRUE(target.hasAlpha());
    EXPECT_EQ("10,20,30,77", rgba(target, 0, 0));
    EXPECT_EQ("10,20,30,0", rgba(target, 1, 0));

    EXPECT_TRUE(target.copyAlpha(Pixmap(2, 1, false)));
    EXPECT_FALSE(target.hasAlpha());
    EXPECT_EQ("10,20,30,255", rgba(target, 0, 0));
    EXPECT_EQ("10,20,30,255", rgba(target, 1, 0));

    Pixmap odd(2, 1, Color(0, 0, 0, 255));
    setPixel(odd, 0, 0, Color(0, 0, 0, 3));
    EXPECT_TRUE(target.copyAlpha(odd));
    EXPECT_EQ("10,20,30,255", rgba(target, 0, 0)) << "neither has alpha: nothing changes";
}

TEST(PixmapTest, FlattenComposesOverBackground)
{
    Pixmap p(2, 1, true);
    setPixel(p, 0, 0, Color(200, 100, 0, 128));
    setPixel(p, 1, 0, Color(1, 2, 3, 255));
    Pixmap overWhite(p);
    Pixmap overBlack(p);

    p.flatten(Color(10, 20, 30));
    EXPECT_FALSE(p.hasAlpha());
    EXPECT_EQ("105,60,14,255", rgba(p, 0, 0));
    EXPECT_EQ("1,2,3,255", rgba(p, 1, 0));

    overWhite.flatten(Color(255, 255, 255));
    EXPECT_EQ("227,177,127,255", rgba(overWhite, 0, 0));
    overBlack.flatten(Color(0, 0, 0));
    EXPECT_EQ("100,50,0,255", rgba(overBlack, 0, 0));

    Pixmap solid(1, 1, false);
    setPixel(solid, 0, 0, Color(9, 9, 9, 255));
    solid.flatten(Color(255, 255, 255));
    EXPECT_EQ("9,9,9,255", rgba(solid, 0, 0));
}

TEST(PixmapTest, GrayAndBlackAndWhiteIgnoreTransparentPixels)
{
    Pixmap p(3, 1, false);
    setPixel(p, 0, 0, Color(100, 103, 97, 255));
    EXPECT_TRUE(p.isGray(6));
    EXPECT_FALSE(p.isGray(5));
    EXPECT_FALSE(p.isBlackAndWhite());
    EXPECT_TRUE(Pixmap().isGray(0));
    EXPECT_TRUE(Pixmap().isBlackAndWhite());

    Pixmap a(3, 1, true);
    setPixel(a, 0, 0, Color(255, 0, 0, 0));
    setPixel(a, 1, 0, Color(255, 255, 255, 1));
    EXPECT_TRUE(a.isGray(0));
    EXPECT_TRUE(a.isBlackAndWhite());
    setPixel(a, 2, 0, Color(0, 0, 1, 200));
    EXPECT_FALSE(a.isBlackAndWhite());
    EXPECT_TRUE(a.isGray(1));
}

TEST(PixmapTest, IsSolidRectUsesOffsetAndImageNotClip)
{
    Pixmap p(4, 4, Color(5, 5, 5, 255));
    setPixel(p, 0, 0, Color(1, 1, 1, 255));
    p.setOffset(1, 1);
    p.setClipRectAbs(Rect(0, 0, 1, 1));
    Color out;
    EXPECT_TRUE(p.isSolidRect(0, 0, 10, 10, &out));
    EXPECT_EQ(Color(5, 5, 5, 255), out);
    EXPECT_FALSE(p.isSolidRect(-1, -1, 2, 2, &out));
    EXPECT_FALSE(p.isSolidRect(5, 5, 2, 2, &out)) << "nothing of it inside the image";
    EXPECT_TRUE(p.isSolidRect(-1, -1, 1, 1, nullptr));

    Pixmap a(2, 1, true);
    setPixel(a, 1, 0, Color(0, 0, 0, 1));
    EXPECT_FALSE(a.isSolidRect(0, 0, 2, 1, &out)) << "alpha counts";
}

TEST(PixmapTest, DiffShrinkFindsTheChangedArea)
{
    const Pixmap a(6, 5, false);
    Pixmap b(a);
    Rect r(0, 0, 6, 5);
    Pixmap::diffShrink(r, a, b);
    EXPECT_EQ(0, r.height);
    EXPECT_EQ(6, r.width);

    setPixel(b, 1, 3, Color(1, 0, 0, 255));
    setPixel(b, 4, 2, Color(0, 1, 0, 255));
    r = Rect(0, 0, 6, 5);
    Pixmap::diffShrink(r, a, b);
    EXPECT_EQ(Rect(1, 2, 4, 2), r);

    r = Rect(2, 0, 4, 5);
    Pixmap::diffShrink(r, a, b);
    EXPECT_EQ(Rect(4, 2, 1, 1), r) << "only differences inside r count";

    r = Rect(0, 0, 6, 5);
    Pixmap::diffShrink(r, b, b);
    EXPECT_EQ(Rect(0, 0, 6, 5), r);
    Pixmap::diffShrink(r, a, Pixmap(5, 5, false));
    EXPECT_EQ(Rect(0, 0, 6, 5), r);
    Pixmap::diffShrink(r, Pixmap(), Pixmap());
    EXPECT_EQ(Rect(0, 0, 6, 5), r);

    EXPECT_TRUE(Pixmap::vLineCmp(a.getRow(0) + 1, b.getRow(0) + 1, 6, 3));
    EXPECT_FALSE(Pixmap::vLineCmp(a.getRow(0) + 1, b.getRow(0) + 1, 6, 4));
    EXPECT_TRUE(Pixmap::vLineCmp(a.getPixels(), b.getRow(3) + 1, 6, 0));
}

TEST(PixmapTest, MirrorReversesRows)
{
    Pixmap p(3, 2, false);
    setPixel(p, 0, 0, Color(1, 0, 0, 255));
    setPixel(p, 1, 1, Color(2, 0, 0, 255));
    p.setClipRectAbs(Rect(0, 0, 1, 1));
    p.mirror();
    EXPECT_EQ("1,0,0,255", rgba(p, 2, 0));
    EXPECT_EQ("0,0,0,255", rgba(p, 0, 0));
    EXPECT_EQ("2,0,0,255", rgba(p, 1, 1));
}

TEST(PixmapTest, ColourFiltersWorkOnClipAndKeepAlpha)
{
    Pixmap p(2, 1, true);
    setPixel(p, 0, 0, Color(10, 20, 40, 99));
    setPixel(p, 1, 0, Color(10, 20, 40, 99));
    p.setClipRectAbs(Rect(0, 0, 1, 1));
    Pixmap colorized(p);

    p.desaturate();
    EXPECT_EQ("22,22,22,99", rgba(p, 0, 0));
    EXPECT_EQ("10,20,40,99", rgba(p, 1, 0));

    colorized.setClipRectAbs(Rect(1, 0, 1, 1));
    colorized.colorize(Color(255, 128, 0));
    EXPECT_EQ("10,20,40,99", rgba(colorized, 0, 0));
    EXPECT_EQ("21,11,0,99", rgba(colorized, 1, 0));
}

TEST(PixmapTest, BrightnessAndContrastRoundHalvesAwayFromZeroAndClamp)
{
    Pixmap p(1, 1, false);
    const auto apply = [&p](const Color& c, void (Pixmap::*filter)(double), double amount) {
        setPixel(p, 0, 0, c);
        (p.*filter)(amount);
        return rgba(p, 0, 0);
    };
    EXPECT_EQ("51,0,128,255", apply(Color(101, 0, 255), &Pixmap::brightness, -0.5));
    EXPECT_EQ("178,128,255,255", apply(Color(100, 0, 255), &Pixmap::brightness, 0.5));
    EXPECT_EQ("255,255,255,255", apply(Color(7, 0, 99), &Pixmap::brightness, 1.0));
    EXPECT_EQ("0,0,0,255", apply(Color(7, 0, 99), &Pixmap::brightness, -1.0));
    EXPECT_EQ("72,255,0,255", apply(Color(100, 200, 20), &Pixmap::contrast, 2.0));
    EXPECT_EQ("129,128,64,255", apply(Color(129, 127, 0), &Pixmap::contrast, 0.5));
}

TEST(PixmapTest, MaskHorizontalGradientScalesAlphaPerColumn)
{
    Pixmap p(5, 2, Color(1, 2, 3, 200));
    Pixmap clipped(p);
    p.maskHorizontalGradient(Rect(0, 0, 5, 2), 256, 0);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ("1,2,3,200", rgba(p, 0, y));
        EXPECT_EQ("1,2,3,150", rgba(p, 1, y));
        EXPECT_EQ("1,2,3,100", rgba(p, 2, y));
        EXPECT_EQ("1,2,3,50", rgba(p, 3, y));
        EXPECT_EQ("1,2,3,0", rgba(p, 4, y));
    }

    clipped.setOffset(1, 0);
    clipped.setClipRectAbs(Rect(2, 0, 2, 1));
    clipped.maskHorizontalGradient(Rect(-1, 0, 5, 2), 256, 0);
    EXPECT_EQ("1,2,3,100", rgba(clipped, 2, 0)) << "factors span the unclipped rectangle";
    EXPECT_EQ("1,2,3,50", rgba(clipped, 3, 0));
    EXPECT_EQ("1,2,3,200", rgba(clipped, 1, 0));
    EXPECT_EQ("1,2,3,200", rgba(clipped, 2, 1));
    EXPECT_TRUE(clipped.hasAlpha());

    Pixmap narrow(2, 1, Color(0, 0, 0, 200));
    narrow.maskHorizontalGradient(Rect(1, 0, 1, 1), 128, 0);
    EXPECT_EQ("0,0,0,100", rgba(narrow, 1, 0)) << "one column takes the left factor";
    EXPECT_EQ("0,0,0,200", rgba(narrow, 0, 0));

    narrow.maskPixelNoClip(0, 0, 64);
    EXPECT_EQ("0,0,0,50", rgba(narrow, 0, 0));
}
