#include "Shape.h"

#include <algorithm>
#include <cmath>

namespace PixmapGen {

namespace {

double length(double x, double y)
{
    return std::sqrt(x * x + y * y);
}

double segmentDistance(Vec p, Vec a, Vec b)
{
    const double px = p.x - a.x;
    const double py = p.y - a.y;
    const double bx = b.x - a.x;
    const double by = b.y - a.y;
    const double lengthSquared = bx * bx + by * by;
    const double t = lengthSquared > 0 ? std::clamp((px * bx + py * by) / lengthSquared, 0.0, 1.0)
                                       : 0.0;
    return length(px - bx * t, py - by * t);
}

} // namespace

Shape Shape::circle(Vec centre, double radius)
{
    return Shape([=](double x, double y) { return length(x - centre.x, y - centre.y) - radius; });
}

Shape Shape::ellipse(Vec centre, double radiusX, double radiusY)
{
    // Not exact, but within a small fraction of a pixel near the outline of
    // the moderately flat ellipses drawn here, and that is where it matters.
    return Shape([=](double x, double y) {
        const double px = x - centre.x;
        const double py = y - centre.y;
        const double k0 = length(px / radiusX, py / radiusY);
        const double k1 = length(px / (radiusX * radiusX), py / (radiusY * radiusY));
        return k1 > 0 ? k0 * (k0 - 1.0) / k1 : -std::min(radiusX, radiusY);
    });
}

Shape Shape::roundedRect(double x, double y, double width, double height, double radius)
{
    const double halfWidth = width / 2;
    const double halfHeight = height / 2;
    const double cx = x + halfWidth;
    const double cy = y + halfHeight;
    return Shape([=](double px, double py) {
        const double qx = std::abs(px - cx) - (halfWidth - radius);
        const double qy = std::abs(py - cy) - (halfHeight - radius);
        return length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
               radius;
    });
}

Shape Shape::polyline(const std::vector<Vec>& points, double width)
{
    return Shape([=](double x, double y) {
        double d = length(x - points.front().x, y - points.front().y);
        for (size_t i = 1; i < points.size(); ++i)
            d = std::min(d, segmentDistance(Vec{x, y}, points[i - 1], points[i]));
        return d - width / 2;
    });
}

Shape Shape::arc(Vec centre, double radius, double fromDegrees, double toDegrees, double width)
{
    const double pi = std::acos(-1.0);
    const int steps = std::max(8, static_cast<int>(std::abs(toDegrees - fromDegrees) / 3));
    std::vector<Vec> points;
    for (int i = 0; i <= steps; ++i) {
        const double angle = (fromDegrees + (toDegrees - fromDegrees) * i / steps) * pi / 180;
        points.push_back(Vec{centre.x + radius * std::cos(angle),
                             centre.y + radius * std::sin(angle)});
    }
    return polyline(points, width);
}

Shape Shape::polygon(const std::vector<Vec>& points)
{
    return Shape([=](double x, double y) {
        double squared = 1e300;
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Vec& a = points[i];
            const Vec& b = points[j];
            const double d = segmentDistance(Vec{x, y}, a, b);
            squared = std::min(squared, d * d);
            // Even-odd crossing test on a ray towards +x.
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
        return inside ? -std::sqrt(squared) : std::sqrt(squared);
    });
}

Shape Shape::operator|(const Shape& other) const
{
    return Shape([a = *this, b = other](double x, double y) {
        return std::min(a.distance(x, y), b.distance(x, y));
    });
}

Shape Shape::operator-(const Shape& other) const
{
    return Shape([a = *this, b = other](double x, double y) {
        return std::max(a.distance(x, y), -b.distance(x, y));
    });
}

Shape Shape::grown(double d) const
{
    return Shape([a = *this, d](double x, double y) { return a.distance(x, y) - d; });
}

Shape Shape::moved(double dx, double dy) const
{
    return Shape([a = *this, dx, dy](double x, double y) { return a.distance(x - dx, y - dy); });
}

} // namespace PixmapGen
