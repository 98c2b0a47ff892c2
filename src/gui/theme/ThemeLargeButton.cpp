#include "gui/theme/Theme.h"

#include "core/FatalError.h"
#include "core/FileFinder.h"
#include "core/FileStreams.h"
#include "graphics/CompositePixmap.h"
#include "graphics/Pixmap.h"

namespace OKU {

namespace {

// The background with the gradient laid in where the face is opaque and the
// overlay (highlights, edges) on top.
Pixmap composeFace(const Pixmap& background, const Pixmap& face, const Pixmap& overlay,
                   const Color& top, const Color& bottom)
{
    const int width = background.getWidth();
    const int height = background.getHeight();
    if (face.getWidth() != width || face.getHeight() != height || overlay.getWidth() != width ||
        overlay.getHeight() != height)
        fatalError("Theme::makeLargeButton: Pixmap sizes not equal");

    Pixmap image(background);
    Pixmap gradient(width, height, true);
    gradient.drawVerticalGradient(Rect(0, 0, width, height), top, bottom);
    gradient.copyAlpha(face);
    image.drawPixmap(0, 0, gradient);
    image.drawPixmap(0, 0, overlay);
    return image;
}

} // namespace

std::shared_ptr<const CompositePixmap> Theme::makeLargeButton(Cache& cache,
                                                              const FileFinder& fileFinder,
                                                              const Color& top,
                                                              const Color& bottom, bool down,
                                                              bool enabled)
{
    Pixmap image = composeFace(
        *cache.getPixmap("large-button/background"), *cache.getPixmap("large-button/face"),
        *cache.getPixmap(down ? "large-button/overlay-down" : "large-button/overlay-up"), top,
        bottom);

    // Only the layout of the ".cpm" counts: the composed image replaces its PNG.
    CompositePixmap::Layout layout;
    if (!CompositePixmap::readLayoutFile(
            fileFinder.find(down ? "large-button/down.cpm" : "large-button/up.cpm"), layout))
        fatalError("Theme::makeLargeButton: Error reading CPM");

    if (!enabled) {
        image.desaturate();
        image.contrast(0.6);
        layout.color = Color(128, 128, 128, 255);
    }
    return std::make_shared<const CompositePixmap>(image, layout.slices, layout.innerMargins,
                                                   layout.outerMargins, layout.color);
}

CompositePixmapSet Theme::createLargeButton(const Color& top, const Color& bottom)
{
    return CompositePixmapSet(createLargeButton(top, bottom, false, true),
                              createLargeButton(top, bottom, false, false),
                              createLargeButton(top, bottom, true, true),
                              createLargeButton(top, bottom, true, false));
}

} // namespace OKU
