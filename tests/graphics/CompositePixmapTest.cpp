#include <gtest/gtest.h>

#include <memory>

#include "core/FatalError.h"
#include "core/TempDir.h"
#include "graphics/CompositePixmap.h"
#include "graphics/CompositePixmapSet.h"
#include "graphics/PixelTestUtil.h"

namespace {

using namespace GraphicsTest;
using namespace OKU;
typedef const Pixmap& (CompositePixmap::*PieceGetter)() const;

// Getters row by row as the pieces lie in the source image.
const PieceGetter c_pieces[9] = {
    &CompositePixmap::getTopLeft,    &CompositePixmap::getTop,    &CompositePixmap::getTopRight,
    &CompositePixmap::getLeft,       &CompositePixmap::getCenter, &CompositePixmap::getRight,
    &CompositePixmap::getBottomLeft, &CompositePixmap::getBottom, &CompositePixmap::getBottomRight,
};

// The nine pieces in that order, each as describe() gives it and marked with
// '*' when it has alpha, separated by ' '.
std::string pieces(const CompositePixmap& cpm, std::string (*describe)(const Pixmap&) = letters)
{
    std::string s;
    for (const PieceGetter get : c_pieces) {
        const Pixmap& piece = (cpm.*get)();
        s += (s.empty() ? "" : " ") + describe(piece) + (piece.hasAlpha() ? "*" : "");
    }
    return s;
}

// Letters, all opaque but the translucent 'a' in the top-left corner.
Pixmap letterSource()
{
    Pixmap source = image({"abcde", "fghij", "klmno", "pqrst"});
    source.addAlpha();
    Color translucent = letterColor('a');
    translucent.alpha = 100;
    setPixel(source, 0, 0, translucent);
    return source;
}
const Margins c_slices(2, 1, 1, 2);
// Only the piece with the translucent pixel keeps alpha.
const char c_slicedLetters[] = "ab/* cd/ e/ fg/ hi/ j/ kl/pq/ mn/rs/ o/t/";

TEST(CompositePixmapTest, LoadsSlicesMarginsAndColourFromCpmAndPng)
{
    TempDir dir;
    ASSERT_TRUE(letterSource().savePNG(dir / "button.png"));
    dir.write("button.cpm", "2 1 1 2\n4 5 6 7\n-1 2 3 4\n10 20 30\n");

    CompositePixmap cpm(dir / "button.cpm");
    EXPECT_EQ(Margins(4, 5, 6, 7), cpm.getInnerMargins());
    EXPECT_EQ(Margins(-1, 2, 3, 4), cpm.getOuterMargins());
    EXPECT_EQ(Color(10, 20, 30, 255), cpm.getColor());
    EXPECT_EQ(c_slicedLetters, pieces(cpm));

    // Loading again replaces everything.
    ASSERT_TRUE(image({"abc", "def", "ghi"}).savePNG(dir / "small.png"));
    dir.write("small.cpm", "1 1 1 1 0 0 0 0 0 0 0 0 255 255 255");
    cpm.load(dir / "small.cpm");
    EXPECT_EQ("a/ b/ c/ d/ e/ f/ g/ h/ i/", pieces(cpm));
    EXPECT_EQ(Margins(), cpm.getInnerMargins());
    EXPECT_EQ(Color(255, 255, 255), cpm.getColor());
}

TEST(CompositePixmapTest, SlicesCoveringTheImageLeaveEmptyMiddlePiecesAndColorizeTintsAll)
{
    const Pixmap source = letterSource();
    CompositePixmap cpm(source, Margins(2, 1, 3, 3), Margins(), Margins(), Color());
    EXPECT_EQ("ab/* / cde/    fg/kl/pq/ /// hij/mno/rst/", pieces(cpm))
        << "rows of nothing in the empty pieces";

    const Color tint(255, 128, 0);
    cpm.colorize(tint);
    Pixmap tinted = source;
    tinted.colorize(tint);
    EXPECT_EQ(
        pieces(CompositePixmap(tinted, Margins(2, 1, 3, 3), Margins(), Margins(), Color()), pixels),
        pieces(cpm, pixels));
}

TEST(CompositePixmapSetTest, ForegroundColourMakesNewUpAndDownAndKeepsDisabled)
{
    const Pixmap source = letterSource();
    auto make = [&](const Color& c) {
        return std::make_shared<const CompositePixmap>(source, c_slices, Margins(1, 2, 3, 4),
                                                       Margins(), c);
    };
    const auto up = make(Color(1, 1, 1));
    const auto upDisabled = make(Color(2, 2, 2));
    const auto down = make(Color(3, 3, 3));
    const auto downDisabled = make(Color(4, 4, 4));
    CompositePixmapSet set(up, upDisabled, down, downDisabled);
    EXPECT_EQ(
        (std::vector<std::shared_ptr<const CompositePixmap>>{up, down, upDisabled, downDisabled}),
        (std::vector<std::shared_ptr<const CompositePixmap>>{
            set.get(true, false), set.get(true, true), set.get(false, false),
            set.get(false, true)}));

    set.setForegroundColor(c_red);
    for (const auto& entry : {set.getUp(), set.getDown()}) {
        EXPECT_EQ(c_red, entry->getColor());
        EXPECT_EQ(Margins(1, 2, 3, 4), entry->getInnerMargins());
    }
    EXPECT_EQ(std::make_pair(Color(1, 1, 1), Color(3, 3, 3)),
              std::make_pair(up->getColor(), down->getColor()))
        << "the shared entries are not changed";
    EXPECT_EQ(std::make_pair(upDisabled, downDisabled),
              std::make_pair(set.getUpDisabled(), set.getDownDisabled()));

    CompositePixmapSet partial(up, nullptr, nullptr, nullptr);
    partial.setForegroundColor(c_red);
    EXPECT_EQ(c_red, partial.getUp()->getColor());
    EXPECT_EQ(nullptr, partial.getDown());
}

TEST(CompositePixmapTest, UnreadableDescriptionsAndImagesAreSetupErrors)
{
    TempDir dir;
    ASSERT_TRUE(letterSource().savePNG(dir / "good.png"));
    dir.write("broken.png", dir.read("good.png").substr(0, 60));
    const std::string numbers = " 0 0 0 0 0 0 0 0 10 20 30";
    // Description, its contents, the whole message. Slices larger than the
    // 5 x 4 image would cut outside it.
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"short", "2 1 1 2 0 0 0 0 0 0 0 0 10 20", "Cannot read " + dir / "short.cpm"},
        {"word", "2 1 1 two" + numbers, "Cannot read " + dir / "word.cpm"},
        {"absent", "", "Cannot read " + dir / "absent.cpm"},
        {"lonely", "2 1 1 2" + numbers, "Cannot load PNG \"" + dir / "lonely.png" + "\""},
        {"broken", "2 1 1 2" + numbers, "Cannot load PNG \"" + dir / "broken.png" + "\""},
        {"good", "3 1 3 2" + numbers, "CompositePixmap: slices 3 1 3 2 do not fit a 5x4 image"},
        {"good", "2 -1 1 2" + numbers, "CompositePixmap: slices 2 -1 1 2 do not fit a 5x4 image"},
    };
    for (const auto& [name, contents, message] : cases) {
        const std::string path = dir / (std::string(name) + ".cpm");
        if (!contents.empty())
            dir.write(std::string(name) + ".cpm", contents);
        try {
            CompositePixmap cpm(path);
            ADD_FAILURE() << "no SetupError: " << contents;
        } catch (const SetupError& error) {
            EXPECT_EQ(message, error.what()) << contents;
        }
    }
}

} // namespace
