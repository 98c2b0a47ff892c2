#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/FatalError.h"
#include "core/TempDir.h"
#include "graphics/CompositePixmap.h"
#include "graphics/CompositePixmapSet.h"
#include "graphics/Pixmap.h"

namespace {

using OKU::Color;
using OKU::CompositePixmap;
using OKU::CompositePixmapSet;
using OKU::Margins;
using OKU::Pixmap;
using OKU::Rect;
typedef Pixmap::Pixel Pixel;
typedef const Pixmap& (CompositePixmap::*PieceGetter)() const;

// Getters row by row as the pieces lie in the source image.
const PieceGetter c_pieces[9] = {
    &CompositePixmap::getTopLeft,    &CompositePixmap::getTop,    &CompositePixmap::getTopRight,
    &CompositePixmap::getLeft,       &CompositePixmap::getCenter, &CompositePixmap::getRight,
    &CompositePixmap::getBottomLeft, &CompositePixmap::getBottom, &CompositePixmap::getBottomRight,
};

// The source rectangle of piece i (row by row) for the slices of an image.
Rect pieceArea(int i, const Margins& slices, int width, int height)
{
    const int x[3] = {0, slices.left, width - slices.right};
    const int w[3] = {slices.left, width - slices.left - slices.right, slices.right};
    const int y[3] = {0, slices.top, height - slices.bottom};
    const int h[3] = {slices.top, height - slices.top - slices.bottom, slices.bottom};
    return Rect(x[i % 3], y[i / 3], w[i % 3], h[i / 3]);
}

// Distinct pixels everywhere; only the top-left corner (2 x 3) is translucent.
Pixmap gradientSource()
{
    Pixmap source(10, 8, true);
    for (int y = 0; y < source.getHeight(); ++y)
        for (int x = 0; x < source.getWidth(); ++x)
            source.getRow(y)[x] =
                Pixel{static_cast<uint8_t>(x * 25), static_cast<uint8_t>(y * 30),
                      static_cast<uint8_t>(x + y * 10),
                      static_cast<uint8_t>(x < 2 && y < 3 ? 100 + x + y : 255)};
    return source;
}
const Margins c_gradientSlices(2, 3, 1, 2);

void expectPiecesCutFrom(const Pixmap& source, const Margins& slices, const CompositePixmap& cpm)
{
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE("piece " + std::to_string(i));
        const Pixmap& piece = (cpm.*c_pieces[i])();
        const Rect area = pieceArea(i, slices, source.getWidth(), source.getHeight());
        ASSERT_EQ(area.width, piece.getWidth());
        ASSERT_EQ(area.height, piece.getHeight());
        bool opaque = true;
        for (int y = 0; y < area.height; ++y) {
            for (int x = 0; x < area.width; ++x) {
                const Pixel& expected = source.getPixel(area.x + x, area.y + y);
                EXPECT_TRUE(expected == piece.getPixel(x, y)) << x << "," << y;
                opaque = opaque && expected.alpha == 255;
            }
        }
        // Pieces whose pixels are all opaque drop the alpha of the image.
        EXPECT_EQ(!opaque, piece.hasAlpha());
    }
}

TEST(CompositePixmapTest, LoadsSlicesMarginsAndColourFromCpmAndPng)
{
    TempDir dir;
    const Pixmap source = gradientSource();
    ASSERT_TRUE(source.savePNG(dir / "button.png"));
    dir.write("button.cpm", "2 3 1 2\n4 5 6 7\n-1 2 3 4\n10 20 30\n");

    CompositePixmap cpm(dir / "button.cpm");
    EXPECT_EQ(Margins(4, 5, 6, 7), cpm.getInnerMargins());
    EXPECT_EQ(Margins(-1, 2, 3, 4), cpm.getOuterMargins());
    EXPECT_EQ(Color(10, 20, 30, 255), cpm.getColor());
    expectPiecesCutFrom(source, c_gradientSlices, cpm);
    EXPECT_TRUE(cpm.getTopLeft().hasAlpha());

    // Loading again replaces everything.
    const Pixmap other(3, 3, Color(9, 9, 9));
    ASSERT_TRUE(other.savePNG(dir / "small.png"));
    dir.write("small.cpm", "1 1 1 1 0 0 0 0 0 0 0 0 255 255 255");
    cpm.load(dir / "small.cpm");
    expectPiecesCutFrom(other, Margins(1, 1, 1, 1), cpm);
    EXPECT_EQ(Margins(), cpm.getInnerMargins());
    EXPECT_EQ(Color(255, 255, 255), cpm.getColor());
}

TEST(CompositePixmapTest, SlicesCoveringTheImageLeaveEmptyMiddlePiecesAndColorizeTintsAll)
{
    const Pixmap source = gradientSource();
    const Margins slices(4, 3, 6, 5);
    CompositePixmap cpm(source, slices, Margins(), Margins(), Color());
    expectPiecesCutFrom(source, slices, cpm);
    EXPECT_TRUE(cpm.getCenter().isEmpty());

    const Color tint(255, 128, 0);
    cpm.colorize(tint);
    Pixmap expected = source;
    expected.colorize(tint);
    expectPiecesCutFrom(expected, slices, cpm);
}

// One colour per piece, row by row; a piece with alpha 0 lets the background
// through.
struct Frame {
    Margins slices;
    Margins outer;
    Color colors[9];
};

CompositePixmap makeFrame(const Frame& frame, int centerWidth, int centerHeight)
{
    const Margins& s = frame.slices;
    const int width = s.left + centerWidth + s.right;
    const int height = s.top + centerHeight + s.bottom;
    Pixmap source(width, height, true);
    for (int i = 0; i < 9; ++i) {
        const Rect area = pieceArea(i, s, width, height);
        source.drawSolidRect(area.x, area.y, area.width, area.height, frame.colors[i]);
    }
    return CompositePixmap(source, s, Margins(), frame.outer, Color());
}

// Piece (row by row) that covers the pixel when the frame is drawn around r,
// or -1 outside the frame.
int pieceAt(int px, int py, const Rect& r, const Frame& frame)
{
    const Margins& s = frame.slices;
    const int x0 = r.x - frame.outer.left;
    const int x1 = r.right() + frame.outer.right - s.right;
    const int y0 = r.y - frame.outer.top;
    const int y1 = r.bottom() + frame.outer.bottom - s.bottom;
    const int column = px < x0 ? -1 : px < x0 + s.left ? 0 : px < x1 ? 1 : px < x1 + s.right ? 2 : -1;
    const int row = py < y0 ? -1 : py < y0 + s.top ? 0 : py < y1 ? 1 : py < y1 + s.bottom ? 2 : -1;
    return column < 0 || row < 0 ? -1 : row * 3 + column;
}

void expectFrameDrawn(const Frame& frame, const CompositePixmap& cpm, const Rect& r)
{
    SCOPED_TRACE("rectangle " + std::to_string(r.width) + "x" + std::to_string(r.height));
    const Color background(1, 2, 3);
    Pixmap target(40, 30, background);
    target.drawCompositePixmap(r.x, r.y, r.width, r.height, cpm);
    int wrong = 0;
    for (int y = 0; y < target.getHeight(); ++y) {
        for (int x = 0; x < target.getWidth(); ++x) {
            const int piece = pieceAt(x, y, r, frame);
            Color expected = piece < 0 ? background : frame.colors[piece];
            if (expected.alpha == 0)
                expected = background;
            const Pixel& p = target.getPixel(x, y);
            if (Color(p.red, p.green, p.blue, p.alpha) != expected && ++wrong <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y << " piece " << piece;
        }
    }
    EXPECT_EQ(0, wrong);
}

TEST(CompositePixmapTest, DrawnFrameKeepsCornersAndStretchesEdgesAndCentre)
{
    Frame frame;
    frame.slices = Margins(3, 2, 2, 3);
    frame.outer = Margins(1, 1, 2, 0);
    for (int i = 0; i < 9; ++i)
        frame.colors[i] = Color(20 * i + 10, 200 - 20 * i, 7 * i);
    const CompositePixmap cpm = makeFrame(frame, 4, 3);
    // Inner areas of zero size, smaller than the source and larger.
    expectFrameDrawn(frame, cpm, Rect(5, 6, 2, 4));
    expectFrameDrawn(frame, cpm, Rect(5, 6, 3, 5));
    expectFrameDrawn(frame, cpm, Rect(4, 3, 20, 15));

    // A 1 x 1 centre is filled as a plain colour; with alpha 0 the surface
    // keeps its own pixels there.
    const CompositePixmap dot = makeFrame(frame, 1, 1);
    ASSERT_EQ(1, dot.getCenter().getWidth());
    expectFrameDrawn(frame, dot, Rect(6, 5, 17, 11));
    frame.colors[4] = Color(200, 100, 50, 0);
    const CompositePixmap hole = makeFrame(frame, 1, 1);
    expectFrameDrawn(frame, hole, Rect(6, 5, 17, 11));
}

TEST(CompositePixmapSetTest, ForegroundColourMakesNewUpAndDownAndKeepsDisabled)
{
    const Pixmap source = gradientSource();
    auto make = [&](const Color& c) {
        return std::make_shared<const CompositePixmap>(source, c_gradientSlices, Margins(1, 2, 3, 4),
                                                       Margins(), c);
    };
    const auto up = make(Color(1, 1, 1));
    const auto upDisabled = make(Color(2, 2, 2));
    const auto down = make(Color(3, 3, 3));
    const auto downDisabled = make(Color(4, 4, 4));
    CompositePixmapSet set(up, upDisabled, down, downDisabled);
    EXPECT_EQ(up, set.get(true, false));
    EXPECT_EQ(down, set.get(true, true));
    EXPECT_EQ(upDisabled, set.get(false, false));
    EXPECT_EQ(downDisabled, set.get(false, true));

    const Color red(255, 0, 0);
    set.setForegroundColor(red);
    for (const auto& entry : {set.getUp(), set.getDown()}) {
        EXPECT_EQ(red, entry->getColor());
        EXPECT_EQ(Margins(1, 2, 3, 4), entry->getInnerMargins());
        expectPiecesCutFrom(source, c_gradientSlices, *entry);
    }
    EXPECT_EQ(Color(1, 1, 1), up->getColor()) << "the shared entries are not changed";
    EXPECT_EQ(Color(3, 3, 3), down->getColor());
    EXPECT_EQ(upDisabled, set.getUpDisabled());
    EXPECT_EQ(downDisabled, set.getDownDisabled());

    CompositePixmapSet partial(up, nullptr, nullptr, nullptr);
    partial.setForegroundColor(red);
    EXPECT_EQ(red, partial.getUp()->getColor());
    EXPECT_EQ(nullptr, partial.getDown());
}

void printFatalError(const char* message)
{
    fprintf(stderr, "%s\n", message);
}

TEST(CompositePixmapDeathTest, UnreadableDescriptionsAndImagesAreFatal)
{
    TempDir dir;
    ASSERT_TRUE(gradientSource().savePNG(dir / "good.png"));
    dir.write("broken.png", dir.read("good.png").substr(0, 60));
    const std::string numbers = " 0 0 0 0 0 0 0 0 10 20 30";
    // Description, its contents, the whole message. Slices larger than the
    // 10 x 8 image would cut outside it.
    const struct {
        const char* name;
        std::string contents;
        std::string message;
    } cases[] = {
        {"short", "2 3 1 2 0 0 0 0 0 0 0 0 10 20", "Cannot read " + dir / "short.cpm"},
        {"word", "2 3 1 two" + numbers, "Cannot read " + dir / "word.cpm"},
        {"absent", "", "Cannot read " + dir / "absent.cpm"},
        {"lonely", "2 3 1 2" + numbers, "Cannot load PNG \"" + dir / "lonely.png" + "\""},
        {"broken", "2 3 1 2" + numbers, "Cannot load PNG \"" + dir / "broken.png" + "\""},
        {"good", "6 3 5 2" + numbers, "CompositePixmap: slices 6 3 5 2 do not fit a 10x8 image"},
        {"good", "2 -1 1 2" + numbers, "CompositePixmap: slices 2 -1 1 2 do not fit a 10x8 image"},
    };
    for (const auto& c : cases) {
        const std::string path = dir / (std::string(c.name) + ".cpm");
        if (!c.contents.empty())
            dir.write(std::string(c.name) + ".cpm", c.contents);
        std::string pattern = "^";
        for (const char ch : c.message)
            pattern += std::string(std::string("\\^$.|?*+()[]{}").find(ch) != std::string::npos ? "\\" : "") + ch;
        EXPECT_EXIT(
            {
                OKU::setFatalErrorHandler(printFatalError);
                CompositePixmap cpm(path);
            },
            testing::ExitedWithCode(1), pattern + "\n$")
            << c.contents;
    }
}

} // namespace
