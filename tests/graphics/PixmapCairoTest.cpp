#include "graphics/Pixmap.h"

#include <cairomm/context.h>
#include <gtest/gtest.h>

#include "graphics/PixelTestUtil.h"

using namespace OKU;
using namespace GraphicsTest;

TEST(PixmapCairoTest, CairoDrawsIntoThePixels)
{
    Pixmap opaque(5, 4, Color(255, 255, 255));
    {
        const Cairo::RefPtr<Cairo::Context> cr = opaque.getCairo();
        cr->set_source_rgb(1.0, 0.0, 0.0);
        cr->rectangle(1, 1, 3, 2);
        cr->fill();
    }
    EXPECT_EQ("255,0,0,255", rgba(opaque, 1, 1));
    EXPECT_EQ("255,0,0,255", rgba(opaque, 3, 2)) << "the alpha byte stays opaque";
    EXPECT_EQ("255,255,255,255", rgba(opaque, 0, 0));
    EXPECT_EQ("255,255,255,255", rgba(opaque, 4, 1));
    EXPECT_EQ("255,255,255,255", rgba(opaque, 1, 3));

    // With alpha the surface is ARGB32: untouched pixels stay transparent.
    Pixmap withAlpha(4, 3, true);
    {
        const Cairo::RefPtr<Cairo::Context> cr = withAlpha.getCairo();
        cr->set_source_rgb(0.0, 0.0, 1.0);
        cr->rectangle(2, 0, 2, 3);
        cr->fill();
    }
    EXPECT_EQ("0,0,255,255", rgba(withAlpha, 2, 0));
    EXPECT_EQ("0,0,255,255", rgba(withAlpha, 3, 2));
    EXPECT_EQ("0,0,0,0", rgba(withAlpha, 1, 1));
}
