#ifndef OKU_CORE_GEOMETRY_H
#define OKU_CORE_GEOMETRY_H

#include <cstdint>

namespace OKU {

struct Point {
    int32_t x = 0;
    int32_t y = 0;

    Point() = default;
    Point(int32_t x_, int32_t y_) : x(x_), y(y_) {}
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Point& o) const { return !(*this == o); }
};

struct Size {
    int32_t width = 0;
    int32_t height = 0;

    Size() = default;
    Size(int32_t w, int32_t h) : width(w), height(h) {}
    bool operator==(const Size& o) const { return width == o.width && height == o.height; }
    bool operator!=(const Size& o) const { return !(*this == o); }
};

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

// Origin top left; a rectangle whose width or height is below 1 is empty.
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

    // Zero-sized (not merely empty) when the two do not meet.
    Rect intersection(const Rect& r) const;
    // Grows to the bounding box; an empty r is ignored and an empty *this takes r whole.
    void include(const Rect& r);
    Rect getUnion(const Rect& r) const;
    // True for an empty r, otherwise when r lies wholly inside.
    bool contains(const Rect& r) const;
    bool contains(const Point& p) const;
    bool intersects(const Rect& r) const { return !intersection(r).isEmpty(); }

    bool operator==(const Rect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

} // namespace OKU

#endif
