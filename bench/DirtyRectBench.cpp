// Times the drawing paths a redraw takes on damaged areas of an 800 x 480
// back buffer without alpha, as the root widget redraws them: areas that stay
// in the first-level cache (16 x 16, 32 x 32), in the second-level cache
// (128 x 128, 256 x 128) and the whole frame. A small area pays the set-up of
// a call (clipping, choosing a loop) on few pixels, so its pixel rate shows
// what that set-up costs beside the loops the whole-frame figures measure.
// Each area is drawn again and again at one place, as a button or a label is.
//
// Figures: see RedrawTiming.h; loop_overhead is the timed loop with nothing
// in it. CSV: dirty_rect_bench --benchmark_format=csv
//
// Usage: dirty_rect_bench [Google Benchmark options]   (fonts of the build tree)

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "BenchImages.h"
#include "RedrawTiming.h"
#include "graphics/Pixmap.h"
#include "graphics/detail/FrameWriter.h"
#include "text/Font.h"
#include "text/FontFace.h"
#include "text/Glyph.h"

using namespace OKU;

namespace {

const int c_screenWidth = 800;
const int c_screenHeight = 480;
const Color c_opaque(30, 144, 255);
const Color c_translucent(200, 100, 50, 128);
const Color c_ink(0, 0, 0);
const int c_textPixelSize = 16;
const int c_lineStep = 20;
// Longer than the screen is wide at 16 pixels, so that every line reaches
// past the right edge of the area.
const wchar_t* const c_line = L"Emergency Backup  Factory Reset  Start Application  Reboot  "
                              L"Emergency Backup  Factory Reset  Start Application  Reboot";

struct Area {
    int width;
    int height;
};

const Area c_areas[] = {{16, 16}, {32, 32}, {128, 128}, {256, 128}, {800, 480}};

// Away from the screen's edges where the area leaves room, so that its rows
// are strided like those of any area of the back buffer.
Rect placeOnScreen(const Area& a)
{
    return Rect(std::min(64, c_screenWidth - a.width), std::min(48, c_screenHeight - a.height),
                a.width, a.height);
}

const Font& textFont()
{
    static const Font font = [] {
        Font f;
        f.addFace(std::make_shared<const FontFace>(std::string(OKU_FONT_DIR) + "/DroidSans.ttf",
                                                   c_textPixelSize, 0));
        return f;
    }();
    return font;
}

// A glyph whose coverage bitmap is exactly the area, its values running
// through 0..255 as along the edges of anti-aliased letters.
std::shared_ptr<const Glyph> makeCoverageGlyph(int width, int height)
{
    std::vector<unsigned char> coverage(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            coverage[static_cast<size_t>(y) * width + x] = static_cast<unsigned char>(37 * (x ^ y));
    FT_Bitmap bitmap = {};
    bitmap.rows = height;
    bitmap.width = width;
    bitmap.pitch = width;
    bitmap.buffer = coverage.data();
    bitmap.num_grays = 256;
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    return std::make_shared<const Glyph>(width, 0, height, width, height, 0, 0, &bitmap);
}

// The preparations: each builds what its operation draws into area r of the
// screen and returns one redraw of r.

auto fillOpaque(Pixmap& screen, const Rect& r)
{
    return [&screen, r] { screen.drawSolidRect(r.x, r.y, r.width, r.height, c_opaque); };
}

auto fillTranslucent(Pixmap& screen, const Rect& r)
{
    return [&screen, r] { screen.drawSolidRect(r.x, r.y, r.width, r.height, c_translucent); };
}

auto copyOpaquePixmap(Pixmap& screen, const Rect& r)
{
    auto image = std::make_shared<const Pixmap>(makeOpaqueImage(r.width, r.height));
    return [&screen, r, image] { screen.drawPixmap(r.x, r.y, *image); };
}

auto blendPixmap(Pixmap& screen, const Rect& r)
{
    auto image = std::make_shared<const Pixmap>(makeTranslucentImage(r.width, r.height));
    return [&screen, r, image] { screen.drawPixmap(r.x, r.y, *image); };
}

// A picture of half the size stretched over the area, as theme pictures are.
auto blendScaledPixmap(Pixmap& screen, const Rect& r)
{
    auto image = std::make_shared<const Pixmap>(
        makeTranslucentImage(std::max(1, r.width / 2), std::max(1, r.height / 2)));
    return [&screen, r, image] { screen.drawPixmap(r.x, r.y, r.width, r.height, *image); };
}

auto blendCoverage(Pixmap& screen, const Rect& r)
{
    auto glyph = makeCoverageGlyph(r.width, r.height);
    return [&screen, r, glyph] { screen.drawGlyphAbs(r.x, r.y, *glyph, c_ink); };
}

// Lines of text over the area, clipped to it as the root widget clips a
// redraw: glyphs cut by its edges included.
auto drawText(Pixmap& screen, const Rect& r)
{
    const Font& font = textFont();
    const std::wstring line = c_line;
    screen.setClipRectAbs(r);
    return [&screen, r, &font, line] {
        for (int y = r.y; y < r.bottom(); y += c_lineStep)
            screen.drawString(r.x, y, font, line, c_ink, HAlign::LEFT, VAlign::TOP, 0);
    };
}

// Conversion of the area into device memory of the screen's size.
template <FramePixelFormat format>
auto writeFrame(Pixmap& screen, const Rect& r)
{
    const FrameWriter writer(format, c_screenWidth * bytesPerPixel(format), c_screenWidth,
                             c_screenHeight);
    auto frame = std::make_shared<std::vector<uint8_t>>(writer.getLineLength() * c_screenHeight);
    return [&screen, r, writer, frame] { writer.write(screen, r, frame->data()); };
}

template <class Prepare>
void timeRedraws(benchmark::State& state, const Area& area, Prepare prepare)
{
    Pixmap screen = makeOpaqueImage(c_screenWidth, c_screenHeight);
    const Rect r = placeOnScreen(area);
    reportRedraws(state, timeRuns(state, prepare(screen, r)),
                  static_cast<double>(r.width) * r.height);
}

template <class Prepare>
void registerForEveryArea(const std::string& name, Prepare prepare)
{
    for (const Area& area : c_areas)
        benchmark::RegisterBenchmark(
            (name + "/" + std::to_string(area.width) + "x" + std::to_string(area.height)).c_str(),
            [area, prepare](benchmark::State& state) { timeRedraws(state, area, prepare); });
}

[[maybe_unused]] const bool c_registered = [] {
    benchmark::RegisterBenchmark("loop_overhead", [](benchmark::State& state) {
        reportRedraws(state, timeRuns(state, [] {}), 0);
    });
    registerForEveryArea("fill_opaque", fillOpaque);
    registerForEveryArea("fill_alpha128", fillTranslucent);
    registerForEveryArea("copy_pixmap", copyOpaquePixmap);
    registerForEveryArea("blend_pixmap", blendPixmap);
    registerForEveryArea("blend_pixmap_scaled2x", blendScaledPixmap);
    registerForEveryArea("blend_coverage", blendCoverage);
    registerForEveryArea("draw_text16", drawText);
    registerForEveryArea("write_rgb32", writeFrame<FramePixelFormat::RGB32>);
    registerForEveryArea("write_bgr16", writeFrame<FramePixelFormat::BGR16>);
    return true;
}();

} // namespace
