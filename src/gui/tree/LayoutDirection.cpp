#include "gui/tree/Widget.h"

#include "text/Bidi.h"
#include "text/L10n.h"
#include "text/LString.h"

namespace OKU {

namespace {

HAlign mirrored(HAlign a, bool ltr)
{
    if (ltr)
        return a;
    switch (a) {
    case HAlign::LEFT:
        return HAlign::RIGHT;
    case HAlign::RIGHT:
        return HAlign::LEFT;
    default:
        return a;
    }
}

} // namespace

bool isLTR(Layout l)
{
    switch (l) {
    case Layout::LANGUAGE:
    case Layout::AUTO:
        return l10nIsLTR();
    case Layout::RTL:
        return false;
    default:
        return true;
    }
}

bool isLTR(Layout l, const std::wstring& text)
{
    switch (l) {
    case Layout::LANGUAGE:
        return l10nIsLTR();
    case Layout::AUTO:
        return Bidi::isLTR(text);
    case Layout::RTL:
        return false;
    default:
        return true;
    }
}

bool isLTR(Layout l, const LString& text)
{
    return isLTR(l, text.str());
}

HAlign layoutAlign(Layout l, HAlign a)
{
    return mirrored(a, isLTR(l));
}

HAlign layoutAlign(Layout l, HAlign a, const std::wstring& text)
{
    return mirrored(a, isLTR(l, text));
}

HAlign layoutAlign(Layout l, HAlign a, const LString& text)
{
    return mirrored(a, isLTR(l, text));
}

} // namespace OKU
