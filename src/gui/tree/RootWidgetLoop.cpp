#include "gui/tree/RootWidget.h"

#include <algorithm>
#include <iostream>

#include <unistd.h>

#include "core/Condition.h"
#include "core/ProcessExit.h"
#include "core/SetupError.h"
#include "core/Thread.h"
#include "core/Trace.h"
#include "gui/tree/ProtectGuard.h"

namespace OKU {

namespace {

Widget* widgetOf(const RootWidget::Event& e)
{
    return reinterpret_cast<Widget*>(e.a);
}

} // namespace

void RootWidget::start()
{
    startDetachedThread([this] { threadMain(); }, "SOLGUI");
}

void RootWidget::threadMain()
{
    setThreadName("SOLGUI");
    // A resource first needed while the pages run (a fallback font, a
    // dialog's picture) that cannot be loaded ends the program as a set-up
    // failure before the loop does: its line on standard error, status 1.
    try {
        do {
            preBlockHandling(false);
            setBusy(false);
            handleNextEvent();
        } while (!releaseFinishedModal() && !endLoopOnQuit());
    } catch (const SetupError& error) {
        std::cerr << error.what() << std::endl;
        exitProcess(1);
    }
}

bool RootWidget::processEvent(bool wait)
{
    preBlockHandling(false);
    setBusy(false);
    if (!wait && m_events.empty())
        return false;
    handleNextEvent();
    return true;
}

void RootWidget::handleNextEvent()
{
    std::unique_ptr<Event> e = takeEvent();
    {
        MutexLocker lock(m_wdMutex);
        m_busy = true;
        ++m_eventCounter;
    }
    dispatch(*e);
}

std::unique_ptr<RootWidget::Event> RootWidget::takeEvent()
{
    // The deadline is looked up afresh on every round, so timers added or
    // killed by the previous event are taken into account.
    for (;;) {
        TimeSpec deadline;
        if (!getEarliestDeadline(deadline))
            return m_events.pull();
        std::unique_ptr<Event> e = m_events.pullUntil(deadline);
        if (!e)
            e = fireEarliestTimer();
        if (e)
            return e;
    }
}

void RootWidget::setBusy(bool busy)
{
    MutexLocker lock(m_wdMutex);
    m_busy = busy;
}

void RootWidget::dispatch(Event& e)
{
    switch (e.type) {
    case Event::EVENT_MOUSE:
        deliverMouse(e);
        break;
    case Event::EVENT_KEY:
        deliverKeyEvent(e);
        break;
    case Event::EVENT_TIMEOUT:
        deliverTimeout(widgetOf(e), e.b);
        break;
    case Event::EVENT_FUNCTION:
        callFunction(*e.function, widgetOf(e));
        break;
    case Event::EVENT_NOTIFICATION:
        deliverNotification(widgetOf(e), e.b);
        break;
    case Event::EVENT_RESIZE:
        resize(static_cast<int>(e.a), e.b);
        break;
    case Event::EVENT_CLOSE_REQUEST:
        handleCloseRequest();
        break;
    }
}

// The keyboard focus takes its keys before any widget could swallow them.
void RootWidget::deliverKeyEvent(const Event& e)
{
    const KeyCode key = static_cast<KeyCode>(e.a);
    // Keys need no aiming, and a slow screen may show a frame long before
    // it has all been written: one typed once any of the page could be seen
    // answers it.
    if (!m_keyboardFocus.onKey(key, m_pageShowingFrom <= e.injectedAt))
        deliverKey(key, static_cast<wchar_t>(e.b));
}

void RootWidget::deliverMouse(const Event& e)
{
    const int x = static_cast<int>(e.a);
    const int y = e.b;
    const bool pressed = e.c != 0;
    // A press while one is held is a move; a release without a press is noise.
    if (!m_mouseDown) {
        if (!pressed)
            return;
        m_mouseDown = true;
        m_keyboardFocus.onPress();
        // A finger that was down before the page under it could be seen
        // (resting on the panel at power-on, a panel stuck pressed, a tap made
        // blindly while the loop was busy) did not aim at that page. Its
        // gesture gets no target, so its moves and release reach nobody: only
        // a new press can click.
        if (aimedAtShownPage(e.injectedAt))
            deliverMouseDown(x, y);
    } else if (pressed) {
        deliverMouseMove(x, y);
    } else {
        m_mouseDown = false;
        deliverMouseUp(x, y);
    }
}

bool RootWidget::aimedAtShownPage(const TimeSpec& injectedAt) const
{
    return !m_pageChanged &&
           m_pageShownAt + TimeSpec::fromMilliseconds(m_output->getAimDelayMs()) <= injectedAt;
}

void RootWidget::deliverMouseDown(int x, int y)
{
    m_mouseTarget = m_mouseGrabber != nullptr ? m_mouseGrabber : findWidget(x, y);
    if (m_mouseTarget == nullptr)
        return;
    Widget* target = m_mouseTarget;
    const Point origin = target->getPositionAbs();
    ProtectGuard guard(target);
    target->onMouseDown(x - origin.x, y - origin.y);
}

void RootWidget::deliverMouseUp(int x, int y)
{
    Widget* target = m_mouseTarget;
    m_mouseTarget = nullptr;
    if (target == nullptr || target->isDestroyed())
        return;
    const Point origin = target->getPositionAbs();
    ProtectGuard guard(target);
    target->onMouseUp(x - origin.x, y - origin.y);
}

void RootWidget::deliverMouseMove(int x, int y)
{
    Widget* target = m_mouseTarget;
    if (target == nullptr || target->isDestroyed())
        return;
    const Point origin = target->getPositionAbs();
    ProtectGuard guard(target);
    target->onMouseMove(x - origin.x, y - origin.y);
}

void RootWidget::deliverTimeout(Widget* w, int id)
{
    if (w->isDestroyed())
        return;
    ProtectGuard guard(w);
    w->onTimeout(id);
}

void RootWidget::deliverNotification(Widget* w, int id)
{
    if (w != this && !isDescendant(w))
        return;
    ProtectGuard guard(w);
    w->onNotification(id);
}

void RootWidget::callFunction(const std::function<void()>& f, Widget* w)
{
    // The widget the function belongs to may have left the tree meanwhile.
    if (w != nullptr && w != this && !isDescendant(w))
        return;
    f();
}

void RootWidget::handleCloseRequest()
{
    if (m_closing)
        return;
    m_closing = true;
    if (m_closeRequest.empty()) {
        traceFlush();
        exitProcess(0);
    }
    m_closeRequest.emit();
    m_closing = false;
}

void RootWidget::modal(Widget* w)
{
    MutexLocker lock(m_mutex);
    w->setModalMark(true);
    m_modalStack.push_back(w);
    // The new thread takes the loop over; it ends after the event that
    // destroyed w and wakes this one.
    start();
    while (std::find(m_modalStack.begin(), m_modalStack.end(), w) != m_modalStack.end())
        m_modalCond.wait(m_mutex);
}

void RootWidget::quit(int status)
{
    {
        MutexLocker lock(m_mutex);
        if (m_quitRequested)
            return;
        m_quitRequested = true;
        m_quitStatus = status;
    }
    // Wakes a loop waiting for events; from within an event this only
    // queues a call the loop never reaches.
    injectFunction(nullptr, [] {});
}

int RootWidget::waitForQuit()
{
    MutexLocker lock(m_mutex);
    while (!m_loopEnded)
        m_modalCond.wait(m_mutex);
    return m_quitStatus;
}

bool RootWidget::endLoopOnQuit()
{
    {
        MutexLocker lock(m_mutex);
        if (!m_quitRequested)
            return false;
    }
    // The watchdog must not take the ended loop for a hung one.
    setBusy(false);
    MutexLocker lock(m_mutex);
    m_loopEnded = true;
    m_modalCond.broadcast();
    return true;
}

bool RootWidget::releaseFinishedModal()
{
    MutexLocker lock(m_mutex);
    const std::vector<Widget*>::iterator finished = std::find_if(
        m_modalStack.begin(), m_modalStack.end(), [](Widget* w) { return w->isDestroyed(); });
    if (finished == m_modalStack.end())
        return false;
    m_modalStack.erase(finished);
    m_modalCond.broadcast();
    return true;
}

} // namespace OKU
