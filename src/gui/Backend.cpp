#include "gui/Backend.h"

#include <stdexcept>
#include <string>

#include "core/Paths.h"
#include "core/Time.h"
#include "core/Trace.h"
#include "gui/DrmRootWidget.h"
#include "gui/FbRootWidget.h"
#include "input/TouchScreen.h"

namespace OKU {

namespace {

// How long the main thread waits before reading a controller that failed.
const int c_retryPauseMs = 1000;

// Every way the program reaches a screen: a KMS display when OKU_DRMDEV
// names one, else the framebuffer.
RootWidget* createRootWidget(int width, int height)
{
    if (!getEnv("OKU_DRMDEV", "").empty())
        return new DrmRootWidget(width, height);
    return new FbRootWidget(width, height);
}

} // namespace

Backend::Backend(const std::string&, int width, int height, bool, int, char**, const std::string&)
    : m_root(createRootWidget(width, height))
{
}

void Backend::mainLoop()
{
    m_root->start();
    int x = 0;
    int y = 0;
    // A controller that fails while running (a report cut off on the line,
    // an adapter pulled out) must not take the page with it: the failure is
    // reported, once for as long as it repeats, and the controller read again.
    std::string lastFailure;
    for (;;) {
        TouchScreen* touchScreen = m_root->getTouchScreen();
        if (!touchScreen) {
            // No controller fitted: nothing will ever come.
            sleepMilliseconds(3600000);
            continue;
        }
        TouchScreen::Event e;
        try {
            e = touchScreen->getEvent();
        } catch (const std::runtime_error& failure) {
            if (failure.what() != lastFailure)
                traceMessage("OKU::Backend", TRACE_ERROR, "Touch controller failed: %s",
                             failure.what());
            lastFailure = failure.what();
            sleepMilliseconds(c_retryPauseMs);
            continue;
        }
        lastFailure.clear();
        if (e.pressed) {
            x = e.x;
            y = e.y;
        }
        m_root->injectMouseEvent(x, y, e.pressed);
    }
}

} // namespace OKU
