#ifndef PIXMAPGEN_SHAPE_H
#define PIXMAPGEN_SHAPE_H

#include <functional>
#include <utility>
#include <vector>

namespace PixmapGen {

struct Vec {
    double x = 0;
    double y = 0;
};

// A plane figure described by its signed distance in pixels: negative inside,
// positive outside. Distances are what makes anti-aliasing and soft shadows
// cheap: a pixel's coverage follows from the distance at its centre.
// Coordinates are continuous; pixel (x, y) is the square from (x, y) to
// (x + 1, y + 1), so its centre is (x + 0.5, y + 0.5).
// Combined and grown shapes give a bound rather than the exact distance away
// from their edges; near the edges, where coverage is decided, they are exact
// enough.
class Shape {
public:
    using Distance = std::function<double(double x, double y)>;

    explicit Shape(Distance distance) : m_distance(std::move(distance)) {}

    double distance(double x, double y) const { return m_distance(x, y); }

    static Shape circle(Vec centre, double radius);
    static Shape ellipse(Vec centre, double radiusX, double radiusY);
    static Shape roundedRect(double x, double y, double width, double height, double radius);
    // A stroke along the points with round caps and joins.
    static Shape polyline(const std::vector<Vec>& points, double width);
    // A stroke along a circular arc; angles in degrees, clockwise on screen
    // from the positive x axis.
    static Shape arc(Vec centre, double radius, double fromDegrees, double toDegrees,
                     double width);
    // A simple polygon (any winding).
    static Shape polygon(const std::vector<Vec>& points);

    // Union and difference.
    Shape operator|(const Shape& other) const;
    Shape operator-(const Shape& other) const;
    // Grown outwards by d (shrunk for negative d); growing rounds corners.
    Shape grown(double d) const;
    Shape moved(double dx, double dy) const;

private:
    Distance m_distance;
};

} // namespace PixmapGen

#endif
