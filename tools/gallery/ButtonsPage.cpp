#include "Pages.h"

#include <memory>

#include "gui/layout/GridSizer.h"
#include "gui/layout/HSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/theme/Theme.h"
#include "gui/tree/ContainerWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/StaticText.h"

#include "PageParts.h"

using namespace OKU;

namespace {

const struct {
    WidgetPainter::PixmapPosition position;
    const wchar_t* name;
} c_positions[] = {
    {WidgetPainter::PP_LEFT, L"Left"},
    {WidgetPainter::PP_RIGHT, L"Right"},
    {WidgetPainter::PP_TOP, L"Top"},
    {WidgetPainter::PP_BOTTOM, L"Bottom"},
    {WidgetPainter::PP_LEFT_OF_TEXT, L"Before"},
    {WidgetPainter::PP_RIGHT_OF_TEXT, L"After"},
    {WidgetPainter::PP_ABOVE_TEXT, L"Above"},
    {WidgetPainter::PP_BELOW_TEXT, L"Below"},
    {WidgetPainter::PP_CENTER, L"Centre"},
};

} // namespace

void buildButtonsPage(ContainerWidget* page)
{
    Theme* theme = Theme::g();
    const std::shared_ptr<const Pixmap> icon = theme->getCache().getPixmap("ok");

    // Each position enabled, then disabled, three positions to a row.
    auto positions = std::make_shared<GridSizer>(6, 1, 1, HAlign::STRETCH, VAlign::STRETCH);
    for (const auto& p : c_positions) {
        for (const bool enabled : {true, false}) {
            Button* button = new Button(page, translated(p.name), icon, p.position,
                                        HAlign::CENTER, VAlign::CENTER);
            button->enable(enabled);
            positions->add(button);
        }
    }

    Button* const standardButtons[] = {
        theme->createOkButton(page),         theme->createCancelButton(page),
        theme->createYesButton(page),        theme->createNoButton(page),
        theme->createPrevButton(page, true), theme->createNextButton(page, true)};
    // One row, or two rows of three on an upright screen.
    std::shared_ptr<Sizer> standard;
    if (isUpright(page)) {
        auto rows = std::make_shared<GridSizer>(3, 1, 1, HAlign::STRETCH, VAlign::STRETCH);
        for (Button* button : standardButtons)
            rows->add(button);
        standard = rows;
    } else {
        auto row = std::make_shared<HSizer>();
        for (Button* button : standardButtons)
            row->add(button, 1, VAlign::STRETCH);
        standard = row;
    }

    auto column = std::make_shared<VSizer>();
    column->add(createHeading(page, L"Pixmap positions, each enabled and disabled"), 0,
                HAlign::STRETCH);
    column->add(positions, 1, HAlign::STRETCH);
    column->add(createHeading(page, L"The theme's standard buttons"), 0, HAlign::STRETCH);
    column->add(standard, 0, HAlign::STRETCH);
    page->setSizer(column);
}
