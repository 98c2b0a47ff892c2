#include "gui/display/Backend.h"

#include <stdexcept>
#include <string>

#include "core/Condition.h"
#include "core/Mutex.h"
#include "core/Paths.h"
#include "core/Thread.h"
#include "core/Time.h"
#include "core/Trace.h"
#include "gui/display/DrmRootWidget.h"
#include "gui/display/FbRootWidget.h"
#include "input/TouchScreen.h"
#include "input/detail/KeyboardWatcher.h"

namespace OKU {

namespace {

// How long the main thread waits before reading a controller that failed.
const int c_retryPauseMs = 1000;
// How long the first page waits at most for the reports that were waiting
// at start, so that a line sending without end cannot hold it back.
const int c_startReportsMs = 250;

// Holds the GUI thread's start back until the touch loop has taken in every
// report that was waiting when it began, or the time is up.
class StartGate : private NonCopyable {
public:
    void open()
    {
        MutexLocker lock(m_mutex);
        m_open = true;
        m_opened.broadcast();
    }

    void waitOpen(int timeoutMs)
    {
        const TimeSpec deadline = monotonicNow() + TimeSpec::fromMilliseconds(timeoutMs);
        MutexLocker lock(m_mutex);
        while (!m_open && m_opened.waitUntil(m_mutex, deadline)) {
        }
    }

private:
    Mutex m_mutex;
    Condition m_opened;
    bool m_open = false;
};

// Reads the keyboards of OKU_INPUT_DIR on a thread of its own for as long as
// the process lives, beside the touch loop; a device without one never
// sees a key.
void startKeyboardThread(RootWidget* root)
{
    startDetachedThread(
        [root] {
            KeyboardWatcher watcher(getEnv("OKU_INPUT_DIR", "/dev/input"),
                                    [root](KeyCode key, wchar_t c) {
                                        root->injectKeyEvent(key, c);
                                    });
            for (;;)
                watcher.waitAndRead(-1);
        },
        "keyboards");
}

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
    readTouchScreen();
}

int Backend::run()
{
    startDetachedThread([this] { readTouchScreen(); }, "touch");
    return m_root->waitForQuit();
}

void Backend::readTouchScreen()
{
    // A finger that was down before the program started (resting on the
    // panel at power-on, a panel stuck pressed) has reported by now. Its
    // reports are injected before the first page shows, so that they aim at
    // nothing, however the two threads are scheduled.
    static StartGate s_startGate;
    startDetachedThread(
        [this] {
            s_startGate.waitOpen(c_startReportsMs);
            m_root->start();
        },
        "start");
    startKeyboardThread(m_root);
    bool started = false;
    int x = 0;
    int y = 0;
    // A controller that fails while running (a report cut off on the line,
    // an adapter pulled out) must not take the page with it: the failure is
    // reported, once for as long as it repeats, and the controller read again.
    std::string lastFailure;
    for (;;) {
        TouchScreen* touchScreen = m_root->getTouchScreen();
        if (!started && !(touchScreen && touchScreen->reportWaiting())) {
            s_startGate.open();
            started = true;
        }
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
