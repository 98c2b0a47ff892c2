// Composite pixmap descriptions (".cpm"): three bytes give the size and the
// alpha flag of the image beside it, the rest is the description. Slices
// that fit must cut the image into nine pieces that tile it exactly.

#include <sstream>
#include <string>

#include "FuzzInput.h"
#include "graphics/CompositePixmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const int width = input.byte() % 64;
    const int height = input.byte() % 64;
    const bool alpha = input.byte() & 1;
    std::istringstream description(input.rest());
    OKU::CompositePixmap::Layout layout;
    if (!OKU::CompositePixmap::readLayout(description, layout) ||
        !OKU::CompositePixmap::slicesFit(layout.slices, width, height))
        return 0;

    OKU::Pixmap image;
    image.resize(width, height, alpha);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto level = static_cast<uint8_t>(x * 4 + y);
            image.getRow(y)[x] = OKU::Pixmap::Pixel{level, 0, 0, alpha ? level : uint8_t(255)};
        }
    }
    const OKU::CompositePixmap pixmap(image, layout.slices, layout.innerMargins,
                                      layout.outerMargins, layout.color);
    FUZZ_CHECK(pixmap.getTopLeft().getWidth() + pixmap.getTop().getWidth() +
                   pixmap.getTopRight().getWidth() ==
               width);
    FUZZ_CHECK(pixmap.getTopLeft().getHeight() + pixmap.getLeft().getHeight() +
                   pixmap.getBottomLeft().getHeight() ==
               height);
    FUZZ_CHECK(pixmap.getCenter().getWidth() == pixmap.getBottom().getWidth() &&
               pixmap.getCenter().getHeight() == pixmap.getRight().getHeight());
    return 0;
}
