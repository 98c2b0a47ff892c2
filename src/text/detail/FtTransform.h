#ifndef OKU_TEXT_DETAIL_FTTRANSFORM_H
#define OKU_TEXT_DETAIL_FTTRANSFORM_H

#include <cstdint>

#include "text/detail/FtVector.h"

namespace OKU {

/// A 2 x 2 matrix of 16.16 fixed-point numbers in FreeType's layout, applied
/// to glyphs before they are rendered (FtSize::setTransform).
class FtTransform {
public:
    /// Counter-clockwise rotation on the screen by angle radians; every entry
    /// is truncated to an integer.
    explicit FtTransform(float angle);

    /// Rotates a vector given in screen orientation, where y grows downwards,
    /// whereas FreeType's y grows upwards.
    FtVector operator()(FtVector v) const;

    int32_t xx() const { return m_xx; }
    int32_t xy() const { return m_xy; }
    int32_t yx() const { return m_yx; }
    int32_t yy() const { return m_yy; }

private:
    int32_t m_xx;
    int32_t m_xy;
    int32_t m_yx;
    int32_t m_yy;
};

} // namespace OKU

#endif
