#include "Pages.h"

#include <memory>

#include "gui/layout/GridSizer.h"
#include "gui/layout/HSizer.h"
#include "gui/layout/StackSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/theme/Theme.h"
#include "gui/tree/ContainerWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/CheckBox.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/StaticText.h"

#include "PageParts.h"

using namespace OKU;

namespace {

// Samples are shown as written, whatever the language: they are not the
// gallery's words but the scripts it demonstrates.
const struct {
    const wchar_t* script;
    const wchar_t* sample;
} c_samples[] = {
    {L"Latin", L"Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich."},
    {L"Arabic", L"نص حكيم له سر قاطع وذو شأن عظيم مكتوب على ثوب أخضر ومغلف بجلد أزرق."},
    {L"Hebrew", L"דג סקרן שט בים מאוכזב ולפתע מצא לו חברה. גרסה 2.1 של הערכה."},
    {L"Thai", L"เป็นมนุษย์สุดประเสริฐเลิศคุณค่า กว่าบรรดาฝูงสัตว์เดรัจฉาน"},
};

// Only the widget's own layout decides how it draws and places its
// children, so the whole subtree gets it.
void setLayoutTree(Widget* widget, Layout layout)
{
    widget->setLayout(layout);
    for (Widget* child : widget->getChildren())
        setLayoutTree(child, layout);
}

} // namespace

void buildTextsPage(ContainerWidget* page, Layout layout)
{
    auto samples = std::make_shared<GridSizer>(2, 1, 1, HAlign::STRETCH, VAlign::STRETCH);
    for (const auto& s : c_samples) {
        Frame* frame = new Frame(page, translated(s.script), HAlign::LEFT);
        StaticText* text = new StaticText(frame, LString(s.sample), HAlign::LEFT, VAlign::TOP);
        text->setFont(Theme::g()->getStandardFont(Theme::g()->getSettings().largeFontSize));
        frame->setSizer(std::make_shared<StackSizer>(text));
        samples->add(frame);
    }

    Theme* theme = Theme::g();
    auto row = std::make_shared<HSizer>();
    row->add(new CheckBox(page, translated(L"Box before the text"), true, HAlign::LEFT), 0,
             VAlign::CENTER);
    row->add(new CheckBox(page, translated(L"Text as a label"), false, HAlign::RIGHT), 0,
             VAlign::CENTER);
    row->addSpace(0, 1);
    // The arrows point the way the page is read.
    const bool ltr = layout != Layout::RTL;
    row->add(theme->createPrevButton(page, ltr), 0, VAlign::STRETCH);
    row->add(theme->createNextButton(page, ltr), 0, VAlign::STRETCH);

    auto column = std::make_shared<VSizer>();
    column->add(createHeading(page, layout == Layout::RTL ? L"Laid out right to left"
                                                          : L"Laid out left to right"),
                0, HAlign::STRETCH);
    column->add(samples, 1, HAlign::STRETCH);
    column->add(row, 0, HAlign::STRETCH);
    page->setSizer(column);
    setLayoutTree(page, layout);
}
