#include "graphics/Pixmap.h"

#include <cairomm/context.h>

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

// Without alpha the surface is RGB24, whose alpha bytes stay opaque; with
// alpha it is ARGB32, whose untouched pixels stay transparent.
TEST(PixmapCairoTest, CairoDrawsIntoThePixels)
{
    for (const bool alpha : {false, true}) {
        Pixmap p = alpha ? Pixmap(5, 4, true) : Pixmap(5, 4, Color(255, 255, 255));
        {
            const Cairo::RefPtr<Cairo::Context> cr = p.getCairo();
            cr->set_source_rgb(1.0, 0.0, 0.0);
            cr->rectangle(1, 1, 3, 2);
            cr->fill();
        }
        EXPECT_EQ("255,0,0,255", rgba(p, 1, 1));
        EXPECT_EQ("255,0,0,255", rgba(p, 3, 2));
        for (const Point& outside : {Point(0, 0), Point(4, 1), Point(1, 3)})
            EXPECT_EQ(alpha ? "0,0,0,0" : "255,255,255,255", rgba(p, outside.x, outside.y))
                << alpha;
    }
}
