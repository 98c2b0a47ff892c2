#ifndef OKU_TEXT_DETAIL_FTVECTOR_H
#define OKU_TEXT_DETAIL_FTVECTOR_H

#include <cstdint>

namespace OKU {

/// A FreeType vector, in 26.6 fixed point (1/64 pixel) unless the operation
/// returning it says otherwise.
struct FtVector {
    int32_t x = 0;
    int32_t y = 0;

    FtVector() = default;
    FtVector(int32_t x_, int32_t y_) : x(x_), y(y_) {}
    bool operator==(const FtVector& o) const { return x == o.x && y == o.y; }
    bool operator!=(const FtVector& o) const { return !(*this == o); }
};

} // namespace OKU

#endif
