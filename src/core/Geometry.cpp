#include "core/Geometry.h"

#include <algorithm>

namespace OKU {

Rect Rect::intersection(const Rect& r) const
{
    const int32_t left = std::max(x, r.x);
    const int32_t top = std::max(y, r.y);
    const int32_t rightEdge = std::min(right(), r.right());
    const int32_t bottomEdge = std::min(bottom(), r.bottom());
    if (rightEdge <= left || bottomEdge <= top)
        return Rect(left, top, 0, 0);
    return Rect(left, top, rightEdge - left, bottomEdge - top);
}

void Rect::include(const Rect& r)
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

Rect Rect::getUnion(const Rect& r) const
{
    Rect result = *this;
    result.include(r);
    return result;
}

bool Rect::contains(const Rect& r) const
{
    if (r.isEmpty())
        return true;
    return r.x >= x && r.y >= y && r.right() <= right() && r.bottom() <= bottom();
}

bool Rect::contains(const Point& p) const
{
    return p.x >= x && p.y >= y && p.x < right() && p.y < bottom();
}

} // namespace OKU
