#include "Pages.h"

#include <memory>

#include "gui/layout/CenterSizer.h"
#include "gui/layout/GridSizer.h"
#include "gui/layout/StackSizer.h"
#include "gui/theme/Theme.h"
#include "gui/tree/ContainerWidget.h"
#include "gui/widgets/Frame.h"
#include "gui/widgets/StaticPixmap.h"

#include "PageParts.h"

using namespace OKU;

namespace {

const char* const c_icons[] = {"ok",   "cancel", "yes",    "no",    "close",
                               "prev", "next",   "finish", "start", "green-x"};

// A frame showing one picture, laid out by the sizer (which gets the picture).
StaticPixmap* addPicture(Widget* page, GridSizer& grid, const wchar_t* title,
                         const std::shared_ptr<const Pixmap>& pixmap, bool stretch, bool keepAspect)
{
    Frame* frame = new Frame(page, translated(title), HAlign::CENTER);
    StaticPixmap* picture = new StaticPixmap(frame, pixmap, stretch, keepAspect);
    // A picture at its own size is centred by the sizer, so that a frame
    // around it hugs it.
    if (stretch)
        frame->setSizer(std::make_shared<StackSizer>(picture));
    else
        frame->setSizer(std::make_shared<CenterSizer>(picture));
    grid.add(frame);
    return picture;
}

} // namespace

void buildPicturesPage(ContainerWidget* page)
{
    Cache& cache = Theme::g()->getCache();
    const std::shared_ptr<const Pixmap> smiley = cache.getPixmap("smiley");

    auto grid = std::make_shared<GridSizer>(3, 1, 1, HAlign::STRETCH, VAlign::STRETCH);
    addPicture(page, *grid, L"At its own size", smiley, false, false);
    addPicture(page, *grid, L"Stretched", smiley, true, false);
    addPicture(page, *grid, L"Stretched, keeping its aspect", smiley, true, true);
    addPicture(page, *grid, L"With a frame", smiley, false, false)->enableFrame(true);
    addPicture(page, *grid, L"Disabled", smiley, false, false)->disable();

    Frame* icons = new Frame(page, translated(L"The theme's icons"), HAlign::CENTER);
    auto iconGrid = std::make_shared<GridSizer>(5, 1, 1, HAlign::CENTER, VAlign::CENTER);
    for (const char* name : c_icons)
        iconGrid->add(new StaticPixmap(icons, cache.getPixmap(name), false, false));
    icons->setSizer(iconGrid);
    grid->add(icons);
    page->setSizer(grid);
}
