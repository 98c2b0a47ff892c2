// PNG images, as the theme and the resource cache load them: any bytes give
// true or false, and a decoded image survives writing and reading again.

#include <sstream>
#include <string>

#include "FuzzInput.h"
#include "graphics/Pixmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    OKU::Pixmap image;
    if (!image.readPNG(in) || image.isEmpty())
        return 0;
    std::stringstream copy;
    FUZZ_CHECK(image.writePNG(copy));
    OKU::Pixmap again;
    FUZZ_CHECK(again.readPNG(copy));
    FUZZ_CHECK(again.getWidth() == image.getWidth() && again.getHeight() == image.getHeight());
    for (int y = 0; y < image.getHeight(); ++y) {
        for (int x = 0; x < image.getWidth(); ++x) {
            const OKU::Pixmap::Pixel a = image.getRow(y)[x];
            const OKU::Pixmap::Pixel b = again.getRow(y)[x];
            FUZZ_CHECK(a.blue == b.blue && a.green == b.green && a.red == b.red &&
                       a.alpha == b.alpha);
        }
    }
    return 0;
}
