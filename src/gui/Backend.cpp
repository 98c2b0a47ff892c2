#include "gui/Backend.h"

#include "core/Time.h"
#include "gui/FbRootWidget.h"
#include "input/TouchScreen.h"

namespace OKU {

Backend::Backend(const std::string&, int width, int height, bool, int, char**, const std::string&)
    : m_root(new FbRootWidget(width, height))
{
}

void Backend::mainLoop()
{
    m_root->start();
    int x = 0;
    int y = 0;
    for (;;) {
        TouchScreen* touchScreen = m_root->getTouchScreen();
        if (!touchScreen) {
            // No controller fitted: nothing will ever come.
            sleepMilliseconds(3600000);
            continue;
        }
        const TouchScreen::Event e = touchScreen->getEvent();
        if (e.pressed) {
            x = e.x;
            y = e.y;
        }
        m_root->injectMouseEvent(x, y, e.pressed);
    }
}

} // namespace OKU
