#ifndef OKU_CORE_GEOMETRY_H
#define OKU_CORE_GEOMETRY_H

#include <algorithm>
#include <cstdint>

namespace OKU {

/// A position in pixels; y grows downwards.
struct Point {
    int32_t x = 0;
    int32_t y = 0;

    Point() = default;
    Point(int32_t x_, int32_t y_) : x(x_), y(y_) {}
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Point& o) const { return !(*this == o); }
};

/// A width and a height in pixels.
struct Size {
    int32_t width = 0;
    int32_t height = 0;

    Size() = default;
    Size(int32_t w, int32_t h) : width(w), height(h) {}
    bool operator==(const Size& o) const { return width == o.width && height == o.height; }
    bool operator!=(const Size& o) const { return !(*this == o); }
};

/// Space kept free inside the four edges of a rectangle, in pixels.
struct Margins {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    Margins() = default;
    Margins(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}
    bool operator==(const Margins& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Margins& o) const { return !(*this == o); }
};

/// A rectangle in pixels, origin top left; one whose width or height is below
/// 1 is empty.
struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    Rect() = default;
    Rect(int32_t x_, int32_t y_, int32_t w, int32_t h) : x(x_), y(y_), width(w), height(h) {}
    Rect(const Point& p, const Size& s) : x(p.x), y(p.y), width(s.width), height(s.height) {}

    bool isEmpty() const { return width < 1 || height < 1; }
    int32_t right() const { return x + width; }
    int32_t bottom() const { return y + height; }
    Point topLeft() const { return Point(x, y); }
    Size size() const { return Size(width, height); }

    /// Zero-sized (not merely empty) when the two do not meet.
    Rect intersection(const Rect& r) const;
    /// Grows to the bounding box; an empty r is ignored and an empty *this takes r whole.
    void include(const Rect& r);
    Rect getUnion(const Rect& r) const;
    /// True for an empty r, otherwise when r lies wholly inside.
    bool contains(const Rect& r) const;
    bool contains(const Point& p) const;
    bool intersects(const Rect& r) const { return !intersection(r).isEmpty(); }

    bool operator==(const Rect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

// Inline: clipping runs for every glyph and every dirty rectangle.
inline Rect Rect::intersection(const Rect& r) const
{
    const int32_t left = std::max(x, r.x);
    const int32_t top = std::max(y, r.y);
    const int32_t rightEdge = std::min(right(), r.right());
    const int32_t bottomEdge = std::min(bottom(), r.bottom());
    if (rightEdge <= left || bottomEdge <= top)
        return Rect(left, top, 0, 0);
    return Rect(left, top, rightEdge - left, bottomEdge - top);
}

inline void Rect::include(const Rect& r)
{
    if (r.isEmpty())
        return;
    if (isEmpty()) {
        *this = r;
        return;
    }
    const int32_t left = std::min(x, r.x);
    const int32_t top = std::min(y, r.y);
    const int32_t rightEdge = std::max(right(), r.right());
    const int32_t bottomEdge = std::max(bottom(), r.bottom());
    *this = Rect(left, top, rightEdge - left, bottomEdge - top);
}

inline Rect Rect::getUnion(const Rect& r) const
{
    Rect result = *this;
    result.include(r);
    return result;
}

inline bool Rect::contains(const Rect& r) const
{
    if (r.isEmpty())
        return true;
    return r.x >= x && r.y >= y && r.right() <= right() && r.bottom() <= bottom();
}

inline bool Rect::contains(const Point& p) const
{
    return p.x >= x && p.y >= y && p.x < right() && p.y < bottom();
}

} // namespace OKU

#endif
