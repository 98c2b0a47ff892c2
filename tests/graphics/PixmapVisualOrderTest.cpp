#include <string>

#include "core/TempDir.h"
#include "graphics/Pixmap.h"
#include "text/L10n.h"
#include "text/TextTestUtil.h"

using namespace OKU;

namespace {

std::string ofLine(Pixmap& p, const Font& font, const std::wstring& line, Bidi::Mode mode)
{
    p.clear(Color(255, 255, 255));
    p.drawString(4, 2, font, line, Color(0, 0, 0), HAlign::LEFT, VAlign::TOP, mode);
    return std::string(reinterpret_cast<const char*>(p.getPixels()),
                       p.getPixelCount() * sizeof(Pixmap::Pixel));
}

} // namespace

// drawString keeps the visual order of the line it drew last for the next
// drawing of the same line. A line without a strong character runs the
// language's way, so the same line drawn again after the language turned
// right to left must come out reordered, as a right-to-left line does.
TEST(PixmapVisualOrderTest, TheSameLineAfterALanguageChangeRunsTheNewWay)
{
    TempDir dir;
    // A language file of one translation, "a" to "b", in UTF-16 little-endian.
    dir.write("rtl", std::string("a\0\0\0b\0\0\0", 8));
    const Font font = TextTest::fontOf({"DroidSans.ttf"}, 16);
    const std::wstring line = L"12 ?";
    Pixmap p(60, 24, Color(255, 255, 255));

    const std::string leftToRight = ofLine(p, font, line, 0);
    ASSERT_TRUE(l10nLoadLanguage(dir / "rtl", L10n_Language::WESTERN_RTL));
    const std::string afterChange = ofLine(p, font, line, 0);
    const std::string rightToLeft = ofLine(p, font, line, 1);
    l10nLoadLanguage("", L10n_Language::WESTERN);

    EXPECT_TRUE(leftToRight == ofLine(p, font, line, 2));
    EXPECT_FALSE(leftToRight == rightToLeft);
    EXPECT_TRUE(afterChange == rightToLeft);
    // Back to the first language, the first order again.
    EXPECT_TRUE(ofLine(p, font, line, 0) == leftToRight);
}
