#include <tuple>

#include "gui/TestRootWidget.h"
#include "gui/widgets/WidgetPainter.h"
#include "text/Font.h"

using namespace OKU;

namespace {

typedef WidgetPainter W;

class TestPainter : public WidgetPainter {
public:
    void attributeChanged() override {}
};

// Margins 10, 20, 5, 5 (inner box (10, 5, 170, 50) of (0, 0, 200, 60)), gap 4
// and a red 30 x 20 pixmap.
void setUp(WidgetPainter& painter, W::PixmapPosition position, bool withPixmap)
{
    painter.setMargin(10, 20, 5, 5);
    painter.setPixmapMargin(4);
    painter.setPixmapPosition(position);
    if (withPixmap)
        painter.setPixmap(std::make_shared<const Pixmap>(30, 20, Color(255, 0, 0)));
}

} // namespace

TEST(WidgetPainterTest, EveryPixmapPositionPlacesAndMeasuresPixmapAndText)
{
    testTheme();
    const Size t = TestPainter().getFont()->getTextSize(L"Hi");
    const Rect inner(10, 5, 170, 50);
    // Groups beside each other start at x0, stacked groups at y0.
    const int x0 = 10 + (170 - 34 - t.width) / 2;
    const int y0 = 5 + (50 - 24 - t.height) / 2;
    const int textY = 5 + (50 - t.height) / 2;
    const int textX = 10 + (170 - t.width) / 2;
    // Minimum sizes without the margins.
    const Size beside(t.width + 34, std::max(t.height, 20));
    const Size stacked(std::max(t.width, 30), t.height + 24);
    const struct {
        W::PixmapPosition position;
        Layout layout;
        const wchar_t* text;
        bool withPixmap;
        Point pixmap;
        Rect textBox;
        Size content;
    } cases[] = {
        {W::PP_LEFT, Layout::LTR, L"Hi", true, {10, 20}, {44, 5, 136, 50}, beside},
        {W::PP_RIGHT, Layout::LTR, L"Hi", true, {150, 20}, {10, 5, 136, 50}, beside},
        {W::PP_LEFT, Layout::RTL, L"Hi", true, {150, 20}, {10, 5, 136, 50}, beside},
        {W::PP_TOP, Layout::LTR, L"Hi", true, {80, 5}, {10, 29, 170, 26}, stacked},
        {W::PP_BOTTOM, Layout::LTR, L"Hi", true, {80, 35}, {10, 5, 170, 26}, stacked},
        {W::PP_LEFT_OF_TEXT, Layout::LTR, L"Hi", true, {x0, 20},
         {x0 + 34, textY, t.width, t.height}, beside},
        {W::PP_RIGHT_OF_TEXT, Layout::LTR, L"Hi", true, {x0 + t.width + 4, 20},
         {x0, textY, t.width, t.height}, beside},
        {W::PP_LEFT_OF_TEXT, Layout::RTL, L"Hi", true, {x0 + t.width + 4, 20},
         {x0, textY, t.width, t.height}, beside},
        {W::PP_ABOVE_TEXT, Layout::LTR, L"Hi", true, {80, y0},
         {textX, y0 + 24, t.width, t.height}, stacked},
        {W::PP_BELOW_TEXT, Layout::LTR, L"Hi", true, {80, y0 + t.height + 4},
         {textX, y0, t.width, t.height}, stacked},
        {W::PP_CENTER, Layout::LTR, L"Hi", true, {80, 20}, inner,
         Size(stacked.width, beside.height)},
        {W::PP_BELOW_TEXT, Layout::LTR, L"", true, {80, 20}, inner, Size(30, 20)},
        {W::PP_LEFT, Layout::LTR, L"Hi", false, {10, 5}, inner, t},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << " layout " << static_cast<int>(c.layout));
        TestPainter painter;
        setUp(painter, c.position, c.withPixmap);
        Pixmap canvas(200, 60, Color(255, 255, 255));
        painter.draw(canvas, 0, 0, 200, 60, c.text, Color(0, 0, 255), c.layout);
        EXPECT_EQ(
            std::make_tuple(c.pixmap, c.textBox, Size(c.content.width + 30, c.content.height + 10)),
            std::make_tuple(painter.getPixmapTopLeft(), painter.getTextBox(),
                            painter.getMinSize(c.text)));
        const Rect all(0, 0, 200, 60);
        const Rect red = boxOf(canvas, all, [](const Pixmap::Pixel& p) { return p.red > p.blue; });
        const Rect ink = boxOf(canvas, all, [](const Pixmap::Pixel& p) { return p.red < p.blue; });
        const Rect pixmap = c.withPixmap ? Rect(c.pixmap.x, c.pixmap.y, 30, 20) : Rect();
        EXPECT_EQ(std::make_tuple(pixmap, c.text[0] == 0, true),
                  std::make_tuple(red, ink.isEmpty(), c.textBox.contains(ink)));
    }
}
