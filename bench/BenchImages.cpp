#include "BenchImages.h"

#include <cstdint>

using OKU::Pixmap;

Pixmap makeOpaqueImage(int width, int height)
{
    Pixmap image(width, height, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.getRow(y)[x] = Pixmap::Pixel{static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                               static_cast<uint8_t>(x ^ y), 255};
    return image;
}

Pixmap makeTranslucentImage(int width, int height)
{
    Pixmap image(width, height, true);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.getRow(y)[x] =
                Pixmap::Pixel{static_cast<uint8_t>(3 * y), static_cast<uint8_t>(x + y),
                              static_cast<uint8_t>(7 * x), static_cast<uint8_t>(x % 256)};
    return image;
}
