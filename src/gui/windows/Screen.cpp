#include "gui/windows/Screen.h"

#include "text/L10n.h"

namespace OKU {

const Color Screen::s_defaultBgColor(144, 144, 144, 255);

Screen::Screen(Widget* parent)
    : ContainerWidget(parent, 0, 0, parent->getWidth(), parent->getHeight())
{
    setBgColor(s_defaultBgColor);
}

// Translated texts change their widths, so a language change lays the page out
// again. The connection dies with the screen, a sigc::trackable.
void Screen::onCreation()
{
    runSizer();
    l10nLanguageSignal.connect(sigc::mem_fun(*this, &Screen::runSizer));
}

void Screen::onParentResized()
{
    setGeometry(0, 0, m_parent->getWidth(), m_parent->getHeight());
}

bool Screen::onKey(KeyCode, wchar_t)
{
    return true;
}

} // namespace OKU
