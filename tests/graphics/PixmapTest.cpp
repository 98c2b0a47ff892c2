#include "graphics/Pixmap.h"

#include <utility>

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

TEST(PixmapTest, ConstructionFillsAndSetsAlphaFlag)
{
    // Gray maps are ink: 0 is white, 255 black; their alpha is kept.
    Graymap withAlpha(2, 1, true);
    withAlpha.getRow(0)[0] = 0;
    withAlpha.getRow(0)[1] = 255;
    withAlpha.getAlphaRow(0)[1] = 7;
    Graymap plain(1, 2, false);
    plain.getRow(0)[0] = 100;
    plain.getRow(1)[0] = 1;
    const std::tuple<Pixmap, bool, const char*> cases[] = {
        {Pixmap(), false, ""},
        {Pixmap(-3, 4, true), true, ""},
        {Pixmap(2, 1, true), true, "0,0,0,0 0,0,0,0/"},
        {Pixmap(1, 2, false), false, "0,0,0,255/0,0,0,255/"},
        {Pixmap(2, 1, Color(1, 2, 3, 255)), false, "1,2,3,255 1,2,3,255/"},
        {Pixmap(2, 1, Color(1, 2, 3, 40)), true, "1,2,3,40 1,2,3,40/"},
        {Pixmap(withAlpha), true, "255,255,255,255 0,0,0,7/"},
        {Pixmap(plain), false, "155,155,155,255/254,254,254,255/"},
        {Pixmap(Graymap()), false, ""},
    };
    for (const auto& [pixmap, alpha, expected] : cases) {
        EXPECT_EQ(alpha, pixmap.hasAlpha()) << expected;
        EXPECT_EQ(expected, pixels(pixmap));
    }
}

TEST(PixmapTest, CopiesAreDeepWithFreshPainterStateAndMovesTakeEverything)
{
    Pixmap source(2, 1, Color(9, 8, 7, 100));
    source.setOffset(2, 1);
    source.setClipRectAbs(Rect(1, 0, 1, 1));
    Pixmap copy(source);
    Pixmap assigned(1, 1, false);
    assigned.setOffset(5, 5);
    assigned = source;
    for (Pixmap* p : {&copy, &assigned}) {
        EXPECT_EQ("0,0 0,0 2x1 alpha 9,8,7,100 9,8,7,100/", state(*p));
        EXPECT_NE(source.getPixels(), p->getPixels());
    }

    // Moves and swaps take the array, the offset and the clip along.
    const Pixmap::Pixel* array = source.getPixels();
    Pixmap moved(std::move(source));
    EXPECT_TRUE(source.isEmpty());
    Pixmap target(2, 2, false);
    target = std::move(moved);
    EXPECT_TRUE(moved.isEmpty());
    Pixmap other(1, 2, false);
    other.setOffset(7, 7);
    target.swap(other);
    EXPECT_EQ(array, other.getPixels());
    EXPECT_EQ("2,1 1,0 1x1 alpha 9,8,7,100 9,8,7,100/", state(other));
    EXPECT_EQ("7,7 0,0 1x2 opaque 0,0,0,255/0,0,0,255/", state(target));
}

TEST(PixmapTest, ResizeAndClearRefillAndResetTheClip)
{
    Pixmap p(2, 2, false);
    const Pixmap::Pixel* array = p.getPixels();
    p.setClipRectAbs(Rect(1, 1, 1, 1));
    p.resize(2, 2, Color(1, 2, 3, 50));
    EXPECT_EQ(array, p.getPixels()) << "the same size keeps the array";
    EXPECT_EQ("0,0 0,0 2x2 alpha 1,2,3,50 1,2,3,50/1,2,3,50 1,2,3,50/", state(p));
    p.resize(3, 1, false);
    EXPECT_EQ("0,0 0,0 3x1 opaque 0,0,0,255 0,0,0,255 0,0,0,255/", state(p));
    p.resize(0, 3, true);
    EXPECT_EQ("0,0 0,0 0x0 alpha ", state(p));

    // clear ignores the clip and keeps an opaque pixmap opaque.
    Pixmap q(2, 1, false);
    q.setOffset(1, 1);
    q.setClipRectAbs(Rect(1, 0, 1, 1));
    q.clear(Color(5, 6, 7, 10));
    EXPECT_EQ("1,1 1,0 1x1 opaque 5,6,7,255 5,6,7,255/", state(q));
    Pixmap a(1, 1, true);
    a.clear(Color(5, 6, 7, 10));
    EXPECT_EQ("5,6,7,10/", pixels(a));
}

TEST(PixmapTest, AlphaFlagFollowsTheAlphaBytes)
{
    // Given alpha: whether it is solid, and whether it keeps alpha after
    // removeAlphaIfSolid.
    const auto solidAndKept = [](Pixmap p, int alpha) {
        p.addAlpha();
        if (!p.isEmpty())
            setPixel(p, 1, 1, Color(0, 0, 0, alpha));
        const bool solid = p.isSolid();
        p.removeAlphaIfSolid();
        return std::make_pair(solid, p.hasAlpha());
    };
    EXPECT_EQ(std::make_pair(true, false), solidAndKept(Pixmap(2, 2, false), 255));
    EXPECT_EQ(std::make_pair(false, true), solidAndKept(Pixmap(2, 2, false), 254));
    EXPECT_EQ(std::make_pair(true, false), solidAndKept(Pixmap(), 0));
    // The alpha bytes of a pixmap without alpha do not count.
    Pixmap withHole(2, 1, Color(0, 0, 0, 255));
    setPixel(withHole, 0, 0, Color(0, 0, 0, 3));
    EXPECT_TRUE(withHole.isSolid());

    Pixmap target(2, 1, Color(10, 20, 30, 255));
    EXPECT_FALSE(target.copyAlpha(Pixmap(1, 1, true)));
    Pixmap mask(2, 1, true);
    setPixel(mask, 0, 0, Color(1, 2, 3, 77));
    EXPECT_TRUE(target.copyAlpha(mask));
    EXPECT_TRUE(target.hasAlpha());
    EXPECT_EQ("10,20,30,77 10,20,30,0/", pixels(target));
    EXPECT_TRUE(target.copyAlpha(Pixmap(2, 1, false)));
    EXPECT_FALSE(target.hasAlpha());
    EXPECT_EQ("10,20,30,255 10,20,30,255/", pixels(target));
    EXPECT_TRUE(target.copyAlpha(withHole));
    EXPECT_EQ("10,20,30,255 10,20,30,255/", pixels(target)) << "neither has alpha: nothing changes";
}

TEST(PixmapTest, FlattenComposesOverBackground)
{
    Pixmap p(2, 1, true);
    setPixel(p, 0, 0, Color(200, 100, 0, 128));
    setPixel(p, 1, 0, Color(1, 2, 3, 255));
    p.flatten(Color(10, 20, 30));
    EXPECT_FALSE(p.hasAlpha());
    EXPECT_EQ("105,60,14,255 1,2,3,255/", pixels(p));
    Pixmap solid(1, 1, Color(9, 9, 9));
    solid.flatten(Color(255, 255, 255));
    EXPECT_EQ("9,9,9,255/", pixels(solid));
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
    // Equal images, different sizes or empty ones leave r alone.
    r = Rect(0, 0, 6, 5);
    Pixmap::diffShrink(r, b, b);
    Pixmap::diffShrink(r, a, Pixmap(5, 5, false));
    Pixmap::diffShrink(r, Pixmap(), Pixmap());
    EXPECT_EQ(Rect(0, 0, 6, 5), r);
}

TEST(PixmapTest, FiltersWorkOnTheClipAndKeepAlpha)
{
    Pixmap p(3, 2, false);
    setPixel(p, 0, 0, Color(1, 0, 0, 255));
    setPixel(p, 1, 1, Color(2, 0, 0, 255));
    p.setClipRectAbs(Rect(0, 0, 1, 1));
    p.mirror();
    EXPECT_EQ("0,0,0,255 0,0,0,255 1,0,0,255/0,0,0,255 2,0,0,255 0,0,0,255/", pixels(p))
        << "mirror ignores the clip";

    Pixmap d(2, 1, Color(10, 20, 40, 99));
    Pixmap colorized(d);
    d.setClipRectAbs(Rect(0, 0, 1, 1));
    d.desaturate();
    EXPECT_EQ("22,22,22,99 10,20,40,99/", pixels(d));
    colorized.setClipRectAbs(Rect(1, 0, 1, 1));
    colorized.colorize(Color(255, 128, 0));
    EXPECT_EQ("10,20,40,99 21,11,0,99/", pixels(colorized));
    EXPECT_EQ(Color(4, 8, 12, 85), Color::mix(Color(0, 0, 0, 0), 2, Color(12, 24, 36, 255), 1));

    // Brightness and contrast round halves away from zero and clamp.
    const std::tuple<Color, void (Pixmap::*)(double), double, const char*> cases[] = {
        {Color(101, 0, 255), &Pixmap::brightness, -0.5, "51,0,128,255/"},
        {Color(100, 0, 255), &Pixmap::brightness, 0.5, "178,128,255,255/"},
        {Color(7, 0, 99), &Pixmap::brightness, 1.0, "255,255,255,255/"},
        {Color(7, 0, 99), &Pixmap::brightness, -1.0, "0,0,0,255/"},
        {Color(100, 200, 20), &Pixmap::contrast, 2.0, "72,255,0,255/"},
        {Color(129, 127, 0), &Pixmap::contrast, 0.5, "129,128,64,255/"}};
    for (const auto& [in, filter, amount, expected] : cases) {
        Pixmap one(1, 1, in);
        (one.*filter)(amount);
        EXPECT_EQ(expected, pixels(one)) << amount;
    }
}

TEST(PixmapTest, MaskHorizontalGradientScalesAlphaPerColumn)
{
    Pixmap p(5, 1, Color(1, 2, 3, 200));
    Pixmap clipped(5, 2, Color(1, 2, 3, 200));
    p.maskHorizontalGradient(Rect(0, 0, 5, 1), 256, 0);
    EXPECT_EQ("1,2,3,200 1,2,3,150 1,2,3,100 1,2,3,50 1,2,3,0/", pixels(p));
    clipped.setOffset(1, 0);
    clipped.setClipRectAbs(Rect(2, 0, 2, 1));
    clipped.maskHorizontalGradient(Rect(-1, 0, 5, 2), 256, 0);
    EXPECT_EQ("1,2,3,200 1,2,3,200 1,2,3,100 1,2,3,50 1,2,3,200/"
              "1,2,3,200 1,2,3,200 1,2,3,200 1,2,3,200 1,2,3,200/",
              pixels(clipped))
        << "factors span the unclipped rectangle";

    Pixmap narrow(2, 1, Color(0, 0, 0, 200));
    narrow.maskHorizontalGradient(Rect(1, 0, 1, 1), 128, 0);
    EXPECT_EQ("0,0,0,200 0,0,0,100/", pixels(narrow)) << "one column takes the left factor";
    narrow.maskPixelNoClip(0, 0, 64);
    EXPECT_EQ("0,0,0,50 0,0,0,100/", pixels(narrow));
}
