#include "Pages.h"

#include <memory>

#include "gui/layout/GridSizer.h"
#include "gui/layout/HSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/theme/Theme.h"
#include "gui/tree/ContainerWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/CheckBox.h"
#include "gui/widgets/StaticText.h"

#include "PageParts.h"
#include "ToggleButton.h"

using namespace OKU;

namespace {

// Tells which widget changed to which state.
void reportToggles(ToggleButtonBase* toggle, const LString& name, StaticText* status)
{
    toggle->signalToggled.connect([toggle, name, status] {
        status->setText(LString(toggle->isChecked() ? LString1(L"\"%1\" is now on")
                                                    : LString1(L"\"%1\" is now off"))
                            .arg(name));
    });
}

Button* createLargeButton(Widget* parent, const wchar_t* text, const Color& top,
                          const Color& bottom)
{
    Button* button = new Button(parent, translated(text), nullptr, WidgetPainter::PP_LEFT_OF_TEXT,
                                HAlign::CENTER, VAlign::CENTER);
    button->setCompositePixmapSet(Theme::g()->createLargeButton(top, bottom));
    button->setRedrawMargins(button->getMaxOuterMargins());
    return button;
}

} // namespace

void buildTogglesPage(ContainerWidget* page)
{
    StaticText* status = new StaticText(
        page, translated(L"Touch a toggle button or a check box."), HAlign::LEFT, VAlign::CENTER);

    const struct {
        const wchar_t* text;
        bool checked;
        bool sticky;
        bool enabled;
    } toggles[] = {
        {L"Off", false, false, true},
        {L"On", true, false, true},
        {L"Sticky", true, true, true},
        {L"Disabled", true, false, false},
    };
    auto toggleRow = std::make_shared<HSizer>();
    for (const auto& t : toggles) {
        ToggleButton* toggle = new ToggleButton(page, translated(t.text), t.checked, t.sticky);
        toggle->enable(t.enabled);
        reportToggles(toggle, translated(t.text), status);
        toggleRow->add(toggle, 1, VAlign::STRETCH);
    }

    const struct {
        const wchar_t* text;
        bool checked;
        HAlign align;
        bool enabled;
    } checkBoxes[] = {
        {L"Box on the left", false, HAlign::LEFT, true},
        {L"Checked", true, HAlign::LEFT, true},
        {L"Text as a label", true, HAlign::RIGHT, true},
        {L"Disabled", false, HAlign::LEFT, false},
        {L"Disabled and checked", true, HAlign::LEFT, false},
    };
    auto checkBoxGrid = std::make_shared<GridSizer>(3, 1, 0, HAlign::LEFT, VAlign::CENTER);
    for (const auto& c : checkBoxes) {
        CheckBox* box = new CheckBox(page, translated(c.text), c.checked, c.align);
        box->enable(c.enabled);
        reportToggles(box, translated(c.text), status);
        checkBoxGrid->add(box);
    }

    auto largeRow = std::make_shared<HSizer>();
    largeRow->add(createLargeButton(page, L"Go", Color(96, 200, 96), Color(32, 128, 32)), 1,
                  VAlign::STRETCH);
    largeRow->add(createLargeButton(page, L"Stop", Color(232, 96, 96), Color(160, 32, 32)), 1,
                  VAlign::STRETCH);
    Button* disabled =
        createLargeButton(page, L"Disabled", Color(96, 144, 232), Color(32, 64, 160));
    disabled->disable();
    largeRow->add(disabled, 1, VAlign::STRETCH);

    auto column = std::make_shared<VSizer>();
    column->add(createHeading(page, L"Toggle buttons"), 0, HAlign::STRETCH);
    column->add(toggleRow, 0, HAlign::STRETCH);
    column->add(createHeading(page, L"Check boxes"), 0, HAlign::STRETCH);
    column->add(checkBoxGrid, 0, HAlign::STRETCH);
    column->add(createHeading(page, L"Large buttons"), 0, HAlign::STRETCH);
    column->add(largeRow, 1, HAlign::STRETCH);
    column->add(status, 0, HAlign::STRETCH);
    page->setSizer(column);
}
