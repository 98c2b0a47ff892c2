#include <gtest/gtest.h>

#include "core/Geometry.h"
#include "core/Time.h"

using namespace OKU;

TEST(Rect, IntersectionIncludeAndContains)
{
    EXPECT_EQ(Rect(15, 10, 15, 5), Rect(10, 10, 20, 20).intersection(Rect(15, 5, 30, 10)));
    EXPECT_EQ(0, Rect(0, 0, 10, 10).intersection(Rect(20, 20, 5, 5)).width);
    // Touching edges do not overlap.
    EXPECT_FALSE(Rect(0, 0, 10, 10).intersects(Rect(10, 0, 10, 10)) ||
                 Rect(0, 0, 10, 10).intersects(Rect(0, 10, 10, 10)));
    // An empty rectangle is ignored, and an empty one takes the other.
    Rect r(5, 5, 10, 10);
    r.include(Rect(100, 100, 0, 7));
    r.include(Rect(-5, 8, 3, 30));
    EXPECT_EQ(Rect(-5, 5, 20, 33), r);
    Rect empty(50, 50, -3, 0);
    empty.include(Rect(1, 2, 3, 4));
    EXPECT_EQ(Rect(1, 2, 3, 4), empty);
    EXPECT_EQ(Rect(0, 0, 10, 10), Rect(0, 0, 1, 1).getUnion(Rect(9, 9, 1, 1)));

    const Rect c(0, 0, 10, 10);
    EXPECT_TRUE(c.contains(Rect(500, 500, 0, 0)) && Rect().contains(Rect(3, 3, -1, 5)));
    EXPECT_TRUE(c.contains(Rect(0, 0, 10, 10)) && c.contains(Point(9, 9)));
    EXPECT_FALSE(c.contains(Rect(1, 1, 10, 9)) || Rect().contains(Rect(0, 0, 1, 1)) ||
                 c.contains(Point(10, 0)));
}

TEST(TimeSpec, AdditionCarriesAndBorrows)
{
    EXPECT_EQ(TimeSpec(2, 0), TimeSpec(1, 999999999) + TimeSpec(0, 1));
    EXPECT_EQ(TimeSpec(2, 999999900), TimeSpec(3, 100) + TimeSpec(0, -200));
    EXPECT_EQ(TimeSpec(2, 345000000), TimeSpec::fromMilliseconds(2345));
    EXPECT_LT(TimeSpec(1, 5), TimeSpec(1, 6));
    EXPECT_LT(TimeSpec(1, 999999999), TimeSpec(2, 0));
}
