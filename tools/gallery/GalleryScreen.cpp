#include "GalleryScreen.h"

#include <functional>
#include <memory>
#include <vector>

#include "gui/layout/StackSizer.h"
#include "gui/layout/VSizer.h"
#include "gui/widgets/TabbedFrame.h"
#include "text/LString.h"

#include "Pages.h"

using namespace OKU;

GalleryScreen::GalleryScreen(Widget* parent) : Screen(parent)
{
    const struct {
        const wchar_t* title;
        std::function<void(ContainerWidget*)> build;
    } pages[] = {
        {L"Buttons", buildButtonsPage},
        {L"Toggles", buildTogglesPage},
        {L"Texts", [](ContainerWidget* page) { buildTextsPage(page, Layout::LTR); }},
        {L"RTL", [](ContainerWidget* page) { buildTextsPage(page, Layout::RTL); }},
        {L"Pictures", buildPicturesPage},
        {L"Frames", buildFramesPage},
        {L"Dialogs", buildDialogsPage},
        {L"Sizers", buildSizersPage},
    };
    // An upright screen is too narrow for every tab in one row but twice as
    // high: it shows the pages in two tabbed frames, one above the other.
    const size_t pageCount = sizeof pages / sizeof pages[0];
    const bool upright = getHeight() > getWidth();
    const size_t pagesPerFrame = upright ? pageCount / 2 : pageCount;
    std::vector<TabbedFrame*> frames;
    for (size_t first = 0; first < pageCount; first += pagesPerFrame) {
        frames.push_back(new TabbedFrame(this));
        for (size_t k = first; k < first + pagesPerFrame; ++k)
            pages[k].build(frames.back()->createTab(LString(LString1(pages[k].title))));
    }
    if (frames.size() == 1) {
        setSizer(std::make_shared<StackSizer>(frames[0]));
        return;
    }
    auto column = std::make_shared<VSizer>();
    for (TabbedFrame* frame : frames)
        column->add(frame, 1, HAlign::STRETCH);
    setSizer(column);
}
