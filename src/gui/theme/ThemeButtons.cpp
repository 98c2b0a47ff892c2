#include "gui/theme/Theme.h"
#include "gui/widgets/Button.h"
#include "text/LString.h"

namespace OKU {

namespace {

Button* createStandardButton(Theme& theme, Widget* parent, const wchar_t* label,
                             const std::string& icon)
{
    return new Button(parent, LString(LString1(label)), theme.getCache().getPixmap(icon),
                      WidgetPainter::PP_LEFT_OF_TEXT, HAlign::CENTER, VAlign::CENTER);
}

} // namespace

Button* Theme::createYesButton(Widget* parent)
{
    return createStandardButton(*this, parent, translatable(L"Yes"), "yes");
}

Button* Theme::createNoButton(Widget* parent)
{
    return createStandardButton(*this, parent, translatable(L"No"), "no");
}

Button* Theme::createOkButton(Widget* parent)
{
    return createStandardButton(*this, parent, translatable(L"OK"), "ok");
}

Button* Theme::createCloseButton(Widget* parent)
{
    return createStandardButton(*this, parent, translatable(L"Close"), "close");
}

Button* Theme::createFinishButton(Widget* parent)
{
    return createStandardButton(*this, parent, translatable(L"Finish"), "finish");
}

Button* Theme::createCancelButton(Widget* parent)
{
    return createStandardButton(*this, parent, translatable(L"Cancel"), "cancel");
}

Button* Theme::createStartButton(Widget* parent)
{
    return createStandardButton(*this, parent, translatable(L"Start"), "start");
}

Button* Theme::createPrevButton(Widget* parent, bool natural)
{
    return createStandardButton(*this, parent, translatable(L"Previous"),
                                natural ? "prev" : "next");
}

Button* Theme::createNextButton(Widget* parent, bool natural)
{
    return createStandardButton(*this, parent, translatable(L"Next"), natural ? "next" : "prev");
}

} // namespace OKU
