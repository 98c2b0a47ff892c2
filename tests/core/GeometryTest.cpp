#include <gtest/gtest.h>

#include "core/Geometry.h"
#include "core/TimeSpec.h"

using namespace OKU;

TEST(Rect, IntersectionIsZeroSizedWhenApart)
{
    EXPECT_EQ(Rect(10, 10, 20, 20).intersection(Rect(15, 5, 30, 10)), Rect(15, 10, 15, 5));
    const Rect apart = Rect(0, 0, 10, 10).intersection(Rect(20, 20, 5, 5));
    EXPECT_EQ(apart.width, 0);
    EXPECT_EQ(apart.height, 0);
    // Touching edges do not overlap.
    EXPECT_TRUE(Rect(0, 0, 10, 10).intersection(Rect(10, 0, 10, 10)).isEmpty());
    EXPECT_FALSE(Rect(0, 0, 10, 10).intersects(Rect(0, 10, 10, 10)));
}

TEST(Rect, IncludeIgnoresEmptyAndAdoptsIntoEmpty)
{
    Rect r(5, 5, 10, 10);
    r.include(Rect(100, 100, 0, 7));
    EXPECT_EQ(r, Rect(5, 5, 10, 10));
    r.include(Rect(-5, 8, 3, 30));
    EXPECT_EQ(r, Rect(-5, 5, 20, 33));

    Rect empty(50, 50, -3, 0);
    empty.include(Rect(1, 2, 3, 4));
    EXPECT_EQ(empty, Rect(1, 2, 3, 4));

    const Rect a(0, 0, 1, 1);
    EXPECT_EQ(a.getUnion(Rect(9, 9, 1, 1)), Rect(0, 0, 10, 10));
    EXPECT_EQ(a, Rect(0, 0, 1, 1));
}

TEST(Rect, ContainsEmptyAlwaysAndOthersWhollyInside)
{
    const Rect r(0, 0, 10, 10);
    EXPECT_TRUE(r.contains(Rect(500, 500, 0, 0)));
    EXPECT_TRUE(Rect().contains(Rect(3, 3, -1, 5)));
    EXPECT_TRUE(r.contains(Rect(0, 0, 10, 10)));
    EXPECT_FALSE(r.contains(Rect(1, 1, 10, 9)));
    EXPECT_FALSE(Rect().contains(Rect(0, 0, 1, 1)));
    EXPECT_TRUE(r.contains(Point(9, 9)));
    EXPECT_FALSE(r.contains(Point(10, 0)));
}

TEST(TimeSpec, AdditionCarriesAndBorrows)
{
    EXPECT_EQ(TimeSpec(1, 999999999) + TimeSpec(0, 1), TimeSpec(2, 0));
    EXPECT_EQ(TimeSpec(3, 100) + TimeSpec(0, -200), TimeSpec(2, 999999900));
    EXPECT_EQ(TimeSpec::fromMilliseconds(2345), TimeSpec(2, 345000000));
    EXPECT_LT(TimeSpec(1, 5), TimeSpec(1, 6));
    EXPECT_LT(TimeSpec(1, 999999999), TimeSpec(2, 0));
}
