#include "Pages.h"

#include <memory>
#include <vector>

#include "gui/layout/HSizer.h"
#include "gui/layout/StackSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/tree/ContainerWidget.h"
#include "gui/widgets/Button.h"
#include "gui/widgets/Divider.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/StaticText.h"
#include "gui/widgets/TabbedFrame.h"

#include "PageParts.h"

using namespace OKU;

namespace {

StaticText* createText(Widget* parent, const wchar_t* text)
{
    return new StaticText(parent, translated(text), HAlign::CENTER, VAlign::CENTER);
}

// Three frames inside each other, the titles left, centred and right.
Frame* createNestedFrames(Widget* page)
{
    Frame* outer = new Frame(page, translated(L"Outer frame"), HAlign::LEFT);
    Frame* middle = new Frame(outer, translated(L"Middle frame"), HAlign::CENTER);
    Frame* inner = new Frame(middle, translated(L"Inner frame"), HAlign::RIGHT);
    StaticText* text = createText(inner, L"Every frame inside a frame\nis a shade lighter.");
    inner->setSizer(std::make_shared<StackSizer>(text));
    middle->setSizer(std::make_shared<StackSizer>(inner));
    outer->setSizer(std::make_shared<StackSizer>(middle));
    return outer;
}

// Horizontal and vertical dividers, one of them leaving a margin at its ends.
Frame* createDividers(Widget* page)
{
    Frame* frame = new Frame(page, translated(L"Dividers"), HAlign::LEFT);
    auto across = std::make_shared<HSizer>();
    across->add(createText(frame, L"Left"), 1, VAlign::CENTER);
    across->add(new Divider(frame, false, 0), 0, VAlign::STRETCH);
    across->add(createText(frame, L"Right"), 1, VAlign::CENTER);
    auto column = std::make_shared<VSizer>();
    column->add(createText(frame, L"Above"), 1, HAlign::STRETCH);
    column->add(new Divider(frame, true, 0), 0, HAlign::STRETCH);
    column->add(createText(frame, L"Below, with margins"), 1, HAlign::STRETCH);
    column->add(new Divider(frame, true, 40), 0, HAlign::STRETCH);
    column->add(across, 1, HAlign::STRETCH);
    frame->setSizer(column);
    return frame;
}

Frame* createDisabledFrame(Widget* page)
{
    Frame* frame = new Frame(page, translated(L"Disabled frame"), HAlign::LEFT);
    Button* button = new Button(frame, translated(L"Disabled with it"), nullptr,
                                WidgetPainter::PP_LEFT_OF_TEXT, HAlign::CENTER, VAlign::CENTER);
    frame->setSizer(std::make_shared<StackSizer>(button));
    frame->disable();
    return frame;
}

// A tabbed frame inside the page's own: a shade lighter, and too narrow for
// its tabs, so the widest labels shrink and fade out. Holding a tab for two
// seconds switches its highlight.
TabbedFrame* createNestedTabs(Widget* page)
{
    const struct {
        const wchar_t* title;
        bool highlighted;
    } tabList[] = {
        {L"One", false},
        {L"Two", false},
        {L"Highlighted", true},
        {L"A tab with a long name", false},
    };
    TabbedFrame* tabs = new TabbedFrame(page);
    auto highlighted = std::make_shared<std::vector<bool>>();
    for (const auto& t : tabList) {
        ContainerWidget* tab = tabs->createTab(translated(t.title));
        StaticText* text = createText(tab, L"Hold a tab for two seconds\nto switch its highlight.");
        tab->setSizer(std::make_shared<StackSizer>(text));
        tabs->highlightTab(tabs->getTabCount() - 1, t.highlighted);
        highlighted->push_back(t.highlighted);
    }
    tabs->signalTabLongPress.connect([tabs, highlighted](int index) {
        (*highlighted)[index] = !(*highlighted)[index];
        tabs->highlightTab(index, (*highlighted)[index]);
    });
    return tabs;
}

} // namespace

void buildFramesPage(ContainerWidget* page)
{
    Frame* untitled = new Frame(page);
    StaticText* untitledText = createText(untitled, L"A frame without a title");
    untitled->setSizer(std::make_shared<StackSizer>(untitledText));

    auto side = std::make_shared<VSizer>();
    side->add(untitled, 0, HAlign::STRETCH);
    side->add(createDividers(page), 1, HAlign::STRETCH);
    side->add(createDisabledFrame(page), 0, HAlign::STRETCH);

    auto main = std::make_shared<VSizer>();
    main->add(createNestedFrames(page), 3, HAlign::STRETCH);
    main->add(createNestedTabs(page), 2, HAlign::STRETCH);

    auto row = std::make_shared<HSizer>();
    row->add(main, 1, VAlign::STRETCH);
    row->add(side, 1, VAlign::STRETCH);
    page->setSizer(row);
}
