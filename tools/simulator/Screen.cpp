#include "Screen.h"

namespace sim {

uint32_t Screen::pixel(int x, int y) const
{
    return snapshot()[static_cast<size_t>(y) * width() + x];
}

OKU::Pixmap Screen::toPixmap() const
{
    const std::vector<uint32_t> words = snapshot();
    OKU::Pixmap image(width(), height(), false);
    for (int y = 0; y < height(); ++y) {
        const uint32_t* row = words.data() + static_cast<size_t>(y) * width();
        OKU::Pixmap::Pixel* out = image.getRow(y);
        for (int x = 0; x < width(); ++x)
            out[x] = OKU::Pixmap::Pixel{static_cast<uint8_t>(row[x]),
                                        static_cast<uint8_t>(row[x] >> 8),
                                        static_cast<uint8_t>(row[x] >> 16), 255};
    }
    return image;
}

} // namespace sim
