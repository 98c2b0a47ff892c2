#ifndef OKU_GUI_TREE_ROOTWIDGET_H
#define OKU_GUI_TREE_ROOTWIDGET_H

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "core/Condition.h"
#include "core/Mutex.h"
#include "core/Time.h"
#include "core/Visibility.h"
#include "graphics/Pixmap.h"
#include "gui/display/DisplayOutput.h"
#include "gui/theme/KeyboardFocus.h"
#include "gui/tree/Widget.h"

namespace OKU {

class TouchScreen;

/// The top of the widget tree and the toolkit's engine: the event queue that
/// other threads inject into, the GUI thread that delivers events, widget
/// timers, dirty-rectangle bookkeeping and the back buffer the tree is drawn
/// into. The frames reach the screen through the DisplayOutput it owns.
///
/// Exactly one GUI thread runs the loop at a time; modal() hands the loop to a
/// new one while the caller waits. The inject... family, getPixmapCopy, the
/// dirty-rectangle subscription and the watchdog controls may be called from
/// any thread; everything else belongs to the GUI thread.
class RootWidget : public Widget {
public:
    /// An entry of the event queue; a, b and c mean what the type says.
    struct Event {
        enum Type {
            EVENT_MOUSE = 0,        ///< a x, b y, c pressed
            EVENT_KEY = 1,          ///< a key code, b character
            EVENT_TIMEOUT = 2,      ///< a widget, b timer id
            EVENT_FUNCTION = 3,     ///< a widget (may be null), function
            EVENT_NOTIFICATION = 4, ///< a widget, b notification id
            EVENT_RESIZE = 5,       ///< a width, b height
            EVENT_CLOSE_REQUEST = 6
        };

        int32_t type = EVENT_MOUSE;
        intptr_t a = 0;
        int32_t b = 0;
        int32_t c = 0;
        std::unique_ptr<std::function<void()>> function;
        /// Mouse and key events: when it was injected (monotonic clock).
        TimeSpec injectedAt;
    };

    /// Producers append from any thread; the GUI thread is the only consumer.
    class EventQueue : private OKU::NonCopyable {
    public:
        /// A move merges into a pending move of the same pressed state at the
        /// tail, a resize into a pending resize.
        void push_back(std::unique_ptr<Event> e);
        /// Inserts at the head without waking a reader.
        void push_front(std::unique_ptr<Event> e);
        std::unique_ptr<Event> pull();
        /// Null once the absolute monotonic deadline has passed.
        std::unique_ptr<Event> pullUntil(const TimeSpec& deadline);
        bool empty();

    private:
        std::list<std::unique_ptr<Event>> m_events;
        Mutex m_mutex;
        Condition m_cond;
    };

    /// A widget timer: when it fires next and how often.
    struct Timeout {
        Widget* widget;
        TimeSpec interval;
        int32_t id;
        TimeSpec deadline;
    };

    /// Told which rectangles each redraw has painted.
    class DirtyRectSubscriber {
    public:
        virtual ~DirtyRectSubscriber() = default;
        /// Called after each redraw with the rectangles that were redrawn.
        virtual void onDirtyRects(const std::vector<Rect>& rects) = 0;
    };

    /// The tree takes the output's size; output must not be null.
    explicit RootWidget(std::unique_ptr<DisplayOutput> output);
    ~RootWidget() override;

    RootWidget* getRoot() override;
    const RootWidget* getRoot() const override;
    void invalidate(const Rect& r) override;
    void invalidate() override;
    void onResized() override;

    virtual int addWidgetTimeout(Widget* w, int ms);
    virtual void killWidgetTimeout(int id);
    /// Forgets a widget that is being deleted.
    virtual void notifyDelete(Widget* w);
    virtual std::string getDescription() const;

    void injectMouseEvent(int x, int y, bool pressed);
    void injectKeyEvent(KeyCode key, wchar_t c);
    /// Queues w->onNotification(id) for the GUI thread; dropped if w has left
    /// the tree by then.
    void injectNotification(Widget* w, int id);
    /// Queues f to run on the GUI thread in turn with the other events: the
    /// way another thread hands work to the widgets. With w not null the
    /// call is dropped if w has left the tree by then, so f may use w:
    ///
    ///     std::thread([root, text] {
    ///         const std::wstring done = copyFiles();
    ///         root->injectFunction(text, [text, done] { text->setText(LString(done)); });
    ///     }).detach();
    void injectFunction(Widget* w, std::function<void()> f);
    void injectResize(int width, int height);
    void injectCloseRequest();

    /// Starts the GUI thread and detaches it.
    void start();
    /// Handles at most one event on the calling thread.
    bool processEvent(bool wait);
    /// Returns once w (or an ancestor) has been destroyed.
    void modal(Widget* w);
    /// Ends the event loop, from the GUI thread or any other: the event being
    /// handled finishes, then no further event, timer or frame is handled,
    /// and waitForQuit returns status. The widgets stay as they are; modal
    /// calls still waiting never return.
    void quit(int status);
    /// Blocks until the loop has ended through quit; its status.
    int waitForQuit();
    void setMouseGrabber(Widget* w);
    void eraseMouseGrabber(Widget* w);
    Widget* getMouseGrabber() const { return m_mouseGrabber; }
    void registerChildEvent(Widget* w);

    void redraw(bool immediate);
    void redraw() { redraw(false); }
    void redrawNow() { preBlockHandling(true); }
    /// Creation calls, reaping, child events and redraw, before the GUI thread blocks.
    void preBlockHandling(bool immediate);
    const std::vector<Rect>& getDirtyRects() const { return m_dirtyRects; }

    void subscribeDirtyRects(DirtyRectSubscriber* s);
    void unsubscribeDirtyRects(DirtyRectSubscriber* s);
    /// The back buffer as drawn so far, never half-drawn.
    Pixmap getPixmapCopy() const;

    KeyboardFocus& getKeyboardFocus() { return m_keyboardFocus; }

    /// The screen; a press counts only once the first frame of a page or
    /// dialog has been shown on it for its aim delay, so that a finger
    /// already moving, or resting, when the page appeared never chooses on it.
    const DisplayOutput& getOutput() const { return *m_output; }

    TouchScreen* getTouchScreen() const { return m_touchScreen; }
    /// Installs a driver the caller keeps alive as long as the root; null
    /// for none. A driver the root owned is deleted.
    void setTouchScreen(TouchScreen* ts);
    /// Installs a driver the root owns from now on; null for none.
    void setTouchScreen(std::unique_ptr<TouchScreen> ts);

    void enableWatchdog(int seconds);
    void resetWatchdog(int seconds);
    int getWatchdogTimeout() const;

    sigc::signal<void> m_closeRequest;

protected:
    int32_t m_nextTimerId = 1;
    std::vector<Timeout> m_timerHeap;
    EventQueue m_events;
    std::vector<Widget*> m_childEventWidgets;
    std::vector<Rect> m_dirtyRects;
    std::vector<Widget*> m_modalStack;
    bool m_mouseDown = false;
    std::unique_ptr<DisplayOutput> m_output;
    TouchScreen* m_touchScreen = nullptr;
    /// Null when the caller keeps the driver.
    std::unique_ptr<TouchScreen> m_ownedTouchScreen;
    Pixmap m_pixmap;
    Widget* m_mouseGrabber = nullptr;
    Widget* m_mouseTarget = nullptr;
    Mutex m_mutex;
    Condition m_modalCond;
    Mutex m_subscriberMutex;
    std::vector<DirtyRectSubscriber*> m_subscribers;
    mutable Mutex m_pixmapMutex;
    mutable Mutex m_wdMutex;
    bool m_wdEnabled = false;
    int32_t m_wdInterval = 0;
    int32_t m_wdTimeout = 0;
    int32_t m_wdElapsed = 0;
    bool m_busy = false;
    int32_t m_eventCounter = 0;
    bool m_closing = false;
    /// Set by quit; the loop has ended once m_loopEnded (both under m_mutex).
    bool m_quitRequested = false;
    bool m_loopEnded = false;
    int32_t m_quitStatus = 0;
    /// When the first frame of the current page or dialog began to reach the
    /// screen, and when it was all there (GUI thread only).
    TimeSpec m_pageShowingFrom;
    TimeSpec m_pageShownAt;
    /// A page or dialog appeared or went away and has not reached the
    /// screen yet.
    bool m_pageChanged = false;
    KeyboardFocus m_keyboardFocus{*this};

private:
    OKU_LOCAL void threadMain();
    OKU_LOCAL void wdThreadMain();
    /// Loop steps shared by the GUI thread and processEvent: take the next
    /// event or due timer, mark the loop busy for the watchdog, dispatch.
    OKU_LOCAL void handleNextEvent();
    OKU_LOCAL std::unique_ptr<Event> takeEvent();
    /// False when no timer runs.
    OKU_LOCAL bool getEarliestDeadline(TimeSpec& deadline);
    /// Re-arms the earliest timer from its old deadline and returns its
    /// timeout event; null when no timer runs.
    OKU_LOCAL std::unique_ptr<Event> fireEarliestTimer();
    OKU_LOCAL void setBusy(bool busy);
    OKU_LOCAL void dispatch(Event& e);
    OKU_LOCAL void deliverKeyEvent(const Event& e);
    OKU_LOCAL void deliverMouse(const Event& e);
    OKU_LOCAL void deliverMouseDown(int x, int y);
    OKU_LOCAL void deliverMouseUp(int x, int y);
    OKU_LOCAL void deliverMouseMove(int x, int y);
    OKU_LOCAL void deliverTimeout(Widget* w, int id);
    OKU_LOCAL void deliverNotification(Widget* w, int id);
    OKU_LOCAL void callFunction(const std::function<void()>& f, Widget* w);
    OKU_LOCAL void handleCloseRequest();
    OKU_LOCAL void emitChildEvents();
    OKU_LOCAL void drawBackBuffer(const std::vector<Rect>& rects);
    /// Whether a press injected at that time can have been aimed at the
    /// page on the screen.
    OKU_LOCAL bool aimedAtShownPage(const TimeSpec& injectedAt) const;
    /// Notes a page or dialog about to be created on the root.
    OKU_LOCAL void notePageCreation();
    /// Removes the oldest destroyed modal widget and wakes its caller; true
    /// when one was found, which ends the GUI thread that ran the event.
    OKU_LOCAL bool releaseFinishedModal();
    /// True when quit was asked for: the loop has then ended, and
    /// waitForQuit is woken.
    OKU_LOCAL bool endLoopOnQuit();
};

} // namespace OKU

#endif
