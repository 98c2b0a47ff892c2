#include "gui/tree/RootWidget.h"

#include <algorithm>
#include <utility>

#include "core/Condition.h"
#include "core/FatalError.h"
#include "input/TouchScreen.h"

namespace OKU {

namespace {

std::unique_ptr<RootWidget::Event> makeEvent(int32_t type, intptr_t a = 0, int32_t b = 0,
                                             int32_t c = 0)
{
    std::unique_ptr<RootWidget::Event> e(new RootWidget::Event);
    e->type = type;
    e->a = a;
    e->b = b;
    e->c = c;
    return e;
}

} // namespace

RootWidget::RootWidget(std::unique_ptr<DisplayOutput> output)
    : Widget(nullptr), m_output(std::move(output)),
      m_pixmap(m_output->getSize().width, m_output->getSize().height, false)
{
    resize(m_pixmap.getWidth(), m_pixmap.getHeight());
}

RootWidget::~RootWidget()
{
    killAllTimeouts();
    // Whatever is left of the tree goes with the root; children are deleted
    // before their parents and the root itself needs no bookkeeping any more.
    for (Children::iterator it = m_children.begin(); it != m_children.end();) {
        Widget* child = *it++;
        child->armageddon();
    }
    m_children.clear();
}

RootWidget* RootWidget::getRoot()
{
    return this;
}

const RootWidget* RootWidget::getRoot() const
{
    return this;
}

std::string RootWidget::getDescription() const
{
    return std::string();
}

void RootWidget::injectMouseEvent(int x, int y, bool pressed)
{
    std::unique_ptr<Event> e = makeEvent(Event::EVENT_MOUSE, x, y, pressed ? 1 : 0);
    e->injectedAt = monotonicNow();
    m_events.push_back(std::move(e));
}

void RootWidget::injectKeyEvent(KeyCode key, wchar_t c)
{
    std::unique_ptr<Event> e = makeEvent(Event::EVENT_KEY, key, static_cast<int32_t>(c));
    e->injectedAt = monotonicNow();
    m_events.push_back(std::move(e));
}

void RootWidget::injectNotification(Widget* w, int id)
{
    m_events.push_back(makeEvent(Event::EVENT_NOTIFICATION, reinterpret_cast<intptr_t>(w), id));
}

void RootWidget::injectFunction(Widget* w, std::function<void()> f)
{
    std::unique_ptr<Event> e = makeEvent(Event::EVENT_FUNCTION, reinterpret_cast<intptr_t>(w));
    e->function.reset(new std::function<void()>(std::move(f)));
    m_events.push_back(std::move(e));
}

void RootWidget::injectResize(int width, int height)
{
    m_events.push_back(makeEvent(Event::EVENT_RESIZE, width, height));
}

void RootWidget::injectCloseRequest()
{
    m_events.push_back(makeEvent(Event::EVENT_CLOSE_REQUEST));
}

void RootWidget::setTouchScreen(TouchScreen* ts)
{
    m_touchScreen = ts;
    m_ownedTouchScreen.reset();
}

void RootWidget::setTouchScreen(std::unique_ptr<TouchScreen> ts)
{
    m_touchScreen = ts.get();
    m_ownedTouchScreen = std::move(ts);
}

void RootWidget::setMouseGrabber(Widget* w)
{
    if (m_mouseGrabber != nullptr)
        fatalError("Double mouse grab");
    if (w == nullptr)
        fatalError("NULL mouse grabber");
    m_mouseGrabber = w;
}

void RootWidget::eraseMouseGrabber(Widget* w)
{
    if (w != m_mouseGrabber)
        fatalError("Unbalanced mouse ungrab");
    m_mouseGrabber = nullptr;
}

void RootWidget::notifyDelete(Widget* w)
{
    if (w->getParent() == this)
        m_pageChanged = true;
    std::replace(m_childEventWidgets.begin(), m_childEventWidgets.end(), w,
                 static_cast<Widget*>(nullptr));
    if (m_mouseGrabber == w)
        m_mouseGrabber = nullptr;
    if (m_mouseTarget == w)
        m_mouseTarget = nullptr;
    m_keyboardFocus.forget(w);
}

void RootWidget::registerChildEvent(Widget* w)
{
    if (std::find(m_childEventWidgets.begin(), m_childEventWidgets.end(), w) ==
        m_childEventWidgets.end())
        m_childEventWidgets.push_back(w);
}

} // namespace OKU
