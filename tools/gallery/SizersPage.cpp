#include "Pages.h"

#include <memory>

#include "gui/layout/GridSizer.h"
#include "gui/layout/HSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/tree/ContainerWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/StaticText.h"

#include "PageParts.h"

using namespace OKU;

namespace {

const Color c_colors[] = {Color(240, 200, 120), Color(160, 208, 240), Color(176, 224, 160),
                          Color(232, 176, 208)};

Color swatchColor(int index)
{
    return c_colors[index % (sizeof(c_colors) / sizeof(c_colors[0]))];
}

// Widths 1 : 2 : 3 of what is left after the margins.
Frame* createFactors(Widget* page)
{
    Frame* frame =
        new Frame(page, translated(L"Factors 1, 2 and 3 share the width"), HAlign::LEFT);
    auto row = std::make_shared<HSizer>();
    for (int factor = 1; factor <= 3; ++factor) {
        LString text = LString(LString1(L"Factor %1")).arg(LString::Number(factor, 0, L' '));
        row->add(createSwatch(frame, text, swatchColor(factor)), factor, VAlign::STRETCH);
    }
    frame->setSizer(row);
    return frame;
}

// A fixed item keeps its minimum width; the flexible one takes the rest.
Frame* createFixedAndFlexible(Widget* page)
{
    Frame* frame =
        new Frame(page, translated(L"Factor 0 is fixed, factor 1 takes the rest"), HAlign::LEFT);
    auto row = std::make_shared<HSizer>();
    row->add(createSwatch(frame, translated(L"Fixed"), swatchColor(0)), 0, VAlign::STRETCH);
    row->add(createSwatch(frame, translated(L"Flexible"), swatchColor(1)), 1, VAlign::STRETCH);
    row->add(createSwatch(frame, translated(L"Fixed"), swatchColor(0)), 0, VAlign::STRETCH);
    frame->setSizer(row);
    return frame;
}

// Dividers take all the free room, so the buttons keep their minimum widths
// and spread across the row.
Frame* createDividers(Widget* page)
{
    Frame* frame = new Frame(page, translated(L"Dividers share the free room"), HAlign::LEFT);
    auto row = std::make_shared<HSizer>();
    const wchar_t* const texts[] = {L"First", L"Second", L"Third"};
    for (const wchar_t* text : texts) {
        if (text != texts[0])
            row->addDivider();
        row->add(new Button(frame, translated(text), nullptr, WidgetPainter::PP_LEFT_OF_TEXT,
                            HAlign::CENTER, VAlign::CENTER),
                 0, VAlign::STRETCH);
    }
    frame->setSizer(row);
    return frame;
}

Frame* createGrid(Widget* page)
{
    Frame* frame = new Frame(page, translated(L"A grid of four columns"), HAlign::LEFT);
    auto grid = std::make_shared<GridSizer>(4, 1, 1, HAlign::STRETCH, VAlign::STRETCH);
    for (int cell = 0; cell < 8; ++cell) {
        const LString text = LString(LString1(L"Cell %1")).arg(LString::Number(cell + 1, 0, L' '));
        grid->add(createSwatch(frame, text, swatchColor(cell)));
    }
    frame->setSizer(grid);
    return frame;
}

} // namespace

void buildSizersPage(ContainerWidget* page)
{
    auto column = std::make_shared<VSizer>();
    column->add(createFactors(page), 1, HAlign::STRETCH);
    column->add(createFixedAndFlexible(page), 1, HAlign::STRETCH);
    column->add(createDividers(page), 0, HAlign::STRETCH);
    column->add(createGrid(page), 2, HAlign::STRETCH);
    page->setSizer(column);
}
