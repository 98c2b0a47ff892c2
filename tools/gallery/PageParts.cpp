#include "PageParts.h"

#include "gui/theme/Theme.h"
#include "gui/tree/RootWidget.h"
#include "gui/widgets/StaticText.h"

using namespace OKU;

LString translated(const wchar_t* text)
{
    return LString(LString1(text));
}

StaticText* createHeading(Widget* parent, const wchar_t* text)
{
    StaticText* heading = new StaticText(parent, translated(text), HAlign::LEFT, VAlign::CENTER);
    heading->setFont(Theme::g()->getCache().getFont(Theme::g()->getSettings().textFontSize, true, false));
    return heading;
}

bool isUpright(const Widget* page)
{
    const RootWidget* root = page->getRoot();
    return root->getHeight() > root->getWidth();
}

StaticText* createSwatch(Widget* parent, const LString& text, const Color& color)
{
    StaticText* swatch = new StaticText(parent, text, HAlign::CENTER, VAlign::CENTER);
    swatch->setBgColor(color);
    return swatch;
}
