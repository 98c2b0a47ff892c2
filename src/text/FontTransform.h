#ifndef OKU_TEXT_FONTTRANSFORM_H
#define OKU_TEXT_FONTTRANSFORM_H

namespace OKU {

/// Types for code that places glyphs under a transform of the text. Fonts
/// accept them so that such code can be written once for any transform.
namespace FontTransform {

/// Text drawn upright, as rendered: glyphs are the untransformed ones.
struct NullTransform {};

/// A position or offset in the text's own coordinates.
template <class T>
struct Vector {
    T x = 0;
    T y = 0;

    Vector() = default;
    Vector(T x_, T y_) : x(x_), y(y_) {}
    bool operator==(const Vector& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Vector& o) const { return !(*this == o); }
};

} // namespace FontTransform

} // namespace OKU

#endif
