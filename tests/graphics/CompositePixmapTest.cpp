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
        std::string pattern = "^handled: ";
        for (const char ch : c.message)
            pattern += std::string(std::string("\\^$.|?*+()[]{}").find(ch) != std::string::npos ? "\\" : "") + ch;
        EXPECT_EXIT(
            {
                OKU::setFatalErrorHandler(printFatalMessage);
                CompositePixmap cpm(path);
            },
            testing::ExitedWithCode(1), pattern + "\n$")
            << c.contents;
    }
}

} // namespace
