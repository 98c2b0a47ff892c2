#include "GalleryScreen.h"

#include <functional>
#include <memory>

#include "gui/StackSizer.h"
#include "gui/TabbedFrame.h"
#include "text/LString.h"

#include "Pages.h"

using namespace OKU;

GalleryScreen::GalleryScreen(Widget* parent) : Screen(parent)
{
    TabbedFrame* tabs = new TabbedFrame(this);
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
    for (const auto& page : pages)
        page.build(tabs->createTab(LString(LString1(page.title))));
    setSizer(std::make_shared<StackSizer>(tabs));
}
