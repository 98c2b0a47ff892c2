#include <cstdlib>
#include <stdexcept>
#include <tuple>

#include <sys/resource.h>
#include <unistd.h>

#include "gui/LoggingWidget.h"

using namespace OKU;

namespace {

const int c_input = LoggingWidget::MOUSE | LoggingWidget::KEYS;

class RedrawCounter : public RootWidget::DirtyRectSubscriber {
public:
    void onDirtyRects(const std::vector<Rect>& rects) override { m_calls.push_back(rects); }
    std::vector<std::vector<Rect>> m_calls;
};

std::vector<Rect> redrawnRects(const TestRootWidget& root, bool immediate)
{
    std::vector<Rect> rects;
    for (const TestRootWidget::Redraw& r : root.redraws()) {
        EXPECT_EQ(immediate, r.immediate);
        rects.push_back(r.rect);
    }
    return rects;
}

// Leaves the process unable to start threads: a user with no processes
// left. The superuser is exempt from the limit, so it becomes nobody first.
void forbidNewThreads()
{
    const rlimit none = {0, 0};
    if ((geteuid() == 0 && setuid(65534) != 0) || setrlimit(RLIMIT_NPROC, &none) != 0)
        abort();
}

} // namespace

TEST(RootWidgetTest, MovesAndReleaseFollowThePressTargetWhateverTheGrabAndGrabMisuseIsFatal)
{
    TestRootWidget root;
    Log log;
    LoggingWidget* a = new LoggingWidget(&root, "a", log, c_input, Rect(0, 0, 50, 50));
    LoggingWidget* b = new LoggingWidget(&root, "b", log, c_input, Rect(50, 0, 50, 50));

    root.touch({{10, 10, false}, {10, 10, true}});
    b->grabMouse();
    root.touch({{60, 10, true}, {70, 10, false}, {71, 10, false}, {10, 10, true}});
    b->ungrabMouse();
    root.touch({{20, 10, true}, {30, 10, false}, {60, 5, true}, {60, 5, false}});
    EXPECT_EQ((Log{"a down 10,10", "a move 60,10", "a up 70,10", "b down -40,10",
                   "b move -30,10", "b up -20,10", "b down 10,5", "b up 10,5"}),
              log);
    expectFatalError([a, b] { a->grabMouse(); b->grabMouse(); }, "Double mouse grab");
    expectFatalError([&root] { root.setMouseGrabber(nullptr); }, "NULL mouse grabber");
    expectFatalError([a] { a->ungrabMouse(); }, "Unbalanced mouse ungrab");
    expectFatalError([a, b] { a->grabMouse(); b->ungrabMouse(); }, "Unbalanced mouse ungrab");

    // A press target that goes away takes the rest of its gesture with it.
    log.clear();
    root.touch(10, 10, true);
    a->destroy();
    root.tap(20, 10);
    root.touch(60, 10, true);
    EXPECT_EQ((Log{"a down 10,10", "b down 10,10"}), log);
}

TEST(RootWidgetTest, APressMadeBeforeThePageWasShownNeverReachesIt)
{
    TestRootWidget root;
    Log log;
    // A finger resting on the panel before the first page reaches the screen.
    LoggingWidget* page = new LoggingWidget(&root, "page", log, c_input, Rect(0, 0, 100, 100));
    root.injectMouseEvent(10, 10, true);
    root.runPending();
    root.tap(20, 20);
    EXPECT_TRUE(log.empty());
    root.tap(30, 30);
    EXPECT_EQ((Log{"page down 30,30", "page up 30,30"}), log);

    // A dialog opening, or going away, while a tap waits in the queue: the
    // tap was aimed at what the screen showed before.
    log.clear();
    LoggingWidget* dialog = nullptr;
    root.injectFunction(nullptr, [&] {
        dialog = new LoggingWidget(&root, "dialog", log, c_input, Rect(0, 0, 50, 50));
    });
    root.injectMouseEvent(10, 10, true);
    root.injectMouseEvent(10, 10, false);
    root.runPending();
    root.injectFunction(nullptr, [&] { dialog->destroy(); });
    root.injectMouseEvent(10, 10, true);
    root.injectMouseEvent(10, 10, false);
    root.runPending();
    root.tap(10, 10);
    EXPECT_EQ((Log{"page down 10,10", "page up 10,10"}), log);
    EXPECT_EQ(Widget::Children{page}, root.getChildren());
}

// What decides is what the person could have seen: the frame of the page on
// the screen, and then the moment the screen says no one's reaction beats.
TEST(RootWidgetTest, APressCountsOnlyOnceThePageHasBeenOnTheScreenForTheAimDelay)
{
    TestRootWidget root;
    Log log;
    // A screen that takes a while to show a complete frame, as writing a
    // whole page into the framebuffer does. The first report of a resting
    // finger arrives while the first frame is still being written: the page
    // is drawn, but not seen yet.
    bool pressWhileShowing = true;
    root.screen().whileShowing = [&] {
        if (pressWhileShowing)
            root.injectMouseEvent(10, 10, true);
        pressWhileShowing = false;
        usleep(5000);
    };
    new LoggingWidget(&root, "page", log, c_input, Rect(0, 0, 100, 100));
    root.runPending();
    root.runPending();
    root.touch(10, 10, false);
    EXPECT_TRUE(log.empty());

    // With a reaction time, a tap too soon after the page showed is no aim,
    // and the whole gesture goes nowhere; one after it counts.
    const int aimMs = 60;
    root.screen().aimDelayMs = aimMs;
    new LoggingWidget(&root, "dialog", log, c_input, Rect(0, 0, 50, 50));
    root.runPending();
    const TimeSpec shown = monotonicNow();
    root.touch(10, 10, true);
    usleep(aimMs * 1000);
    root.touch(20, 20, true);
    root.touch(20, 20, false);
    EXPECT_TRUE(log.empty());
    EXPECT_LT(monotonicNow(), shown + TimeSpec::fromMilliseconds(aimMs * 3))
        << "too slow to tell the two sides apart";
    root.tap(30, 30);
    EXPECT_EQ((Log{"dialog down 30,30", "dialog up 30,30"}), log);
}

TEST(RootWidgetTest, AGuiOrWatchdogThreadThatCannotStartIsAFatalError)
{
    unsetenv("OKU_DISABLE_WATCHDOG");
    TestRootWidget root;
    const std::string cause = ": Resource temporarily unavailable";
    expectFatalError(
        [&root] {
            forbidNewThreads();
            root.start();
        },
        "pthread_create: cannot start the SOLGUI thread" + cause);
    expectFatalError(
        [&root] {
            forbidNewThreads();
            root.enableWatchdog(5);
        },
        "pthread_create: cannot start the SOLGUI_Watchdog thread" + cause);
}

TEST(RootWidgetTest, NotificationsAndFunctionsReachOnlyWidgetsInTheTree)
{
    TestRootWidget root;
    Log log;
    LoggingWidget* a = new LoggingWidget(&root, "a", log, c_input);
    LoggingWidget orphan(nullptr, "orphan", log, c_input);
    Log calls;
    const auto call = [&calls](const std::string& n) {
        return [&calls, n] { calls.push_back(n); };
    };

    root.injectNotification(a, 7);
    root.injectNotification(&orphan, 8);
    root.injectFunction(a, call("a"));
    root.injectFunction(nullptr, call("null"));
    root.injectFunction(&root, call("root"));
    root.injectFunction(&orphan, call("orphan"));
    root.runPending();
    EXPECT_EQ((Log{"a notification 7"}), log);
    EXPECT_EQ((Log{"a", "null", "root"}), calls);

    // a is reaped before its events come up.
    a->destroy();
    root.injectNotification(a, 9);
    root.injectFunction(a, call("gone"));
    root.runPending();
    EXPECT_EQ((std::pair<size_t, size_t>(1, 3)), std::make_pair(log.size(), calls.size()));

    root.injectFunction(nullptr, std::function<void()>());
    EXPECT_THROW(root.runPending(), std::bad_function_call);
}

TEST(RootWidgetTest, CloseRequestIsEmittedOnceAtATimeAndEndsTheProcessWithoutListener)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestRootWidget root;
    EXPECT_EXIT(
        {
            root.injectCloseRequest();
            root.runPending();
        },
        ::testing::ExitedWithCode(0), "");
    int emitted = 0;
    root.m_closeRequest.connect([&root, &emitted] {
        ++emitted;
        root.injectCloseRequest();
        root.processEvent(false);
    });
    root.injectCloseRequest();
    root.runPending();
    EXPECT_EQ(1, emitted);
    root.injectCloseRequest();
    root.runPending();
    EXPECT_EQ(2, emitted);
}

TEST(RootWidgetTest, ResizeEventResizesRootAndBackBuffer)
{
    TestRootWidget root;
    root.runPending();
    root.clearRedraws();
    root.injectResize(40, 30);
    root.runPending();
    const Pixmap copy = root.getPixmapCopy();
    EXPECT_EQ(std::make_tuple(Size(40, 30), Size(40, 30), std::vector<Rect>{Rect(0, 0, 40, 30)}),
              std::make_tuple(root.getSize(), Size(copy.getWidth(), copy.getHeight()),
                              redrawnRects(root, false)));
}

TEST(RootWidgetTest, InvalidatedRectanglesMergeDropContainedOnesAndClipToTheScreen)
{
    typedef std::vector<Rect> Rects;
    const struct { Rects invalidated, dirty; } cases[] = {
        {{Rect(0, 0, 10, 10), Rect(10, 0, 10, 10)}, {Rect(0, 0, 20, 10)}},
        // The third joins the first, and the result then swallows the second.
        {{Rect(0, 0, 10, 10), Rect(20, 0, 10, 10), Rect(10, 0, 10, 10)}, {Rect(0, 0, 30, 10)}},
        {{Rect(0, 0, 10, 10), Rect(60, 60, 10, 10)}, {Rect(0, 0, 10, 10), Rect(60, 60, 10, 10)}},
        {{Rect(0, 0, 50, 50), Rect(10, 10, 5, 5)}, {Rect(0, 0, 50, 50)}},
        {{Rect(0, 0, 10, 10), Rect(50, 50, 10, 10), Rect(80, 0, 10, 10), Rect(45, 45, 20, 20)},
         {Rect(0, 0, 10, 10), Rect(80, 0, 10, 10), Rect(45, 45, 20, 20)}},
        {{Rect(0, 0, 5, 5), Rect(80, 80, 5, 5), Rect(0, 0, 100, 100), Rect(0, 0, 100, 100)},
         {Rect(0, 0, 100, 100)}},
        {{Rect(-10, -10, 20, 20), Rect(90, 95, 50, 50), Rect(200, 200, 5, 5)},
         {Rect(0, 0, 10, 10), Rect(90, 95, 10, 5)}},
        {{Rect(100, 0, 5, 5), Rect(10, 10, 0, 5)}, {}},
    };
    TestRootWidget root;
    root.runPending();
    for (const auto& c : cases) {
        for (const Rect& r : c.invalidated)
            root.invalidate(r);
        EXPECT_EQ(c.dirty, root.getDirtyRects()) << c.invalidated.size() << " rectangles";
        root.runPending();
    }
}

TEST(RootWidgetTest, RedrawDrawsEveryRectangleAndTellsScreenAndSubscribers)
{
    TestRootWidget root;
    Widget* square = new Widget(&root, 10, 10, 20, 20);
    square->setBgColor(Color(255, 0, 0, 255));
    root.runPending();
    root.clearRedraws();
    RedrawCounter subscriber;
    RedrawCounter leaver;
    root.subscribeDirtyRects(&subscriber);
    root.subscribeDirtyRects(&leaver);
    square->setBgColor(Color(0, 255, 0, 255));
    root.runPending();
    EXPECT_EQ(
        std::make_tuple(std::vector<Rect>{Rect(10, 10, 20, 20)}, rgb(0, 255, 0), rgb(0, 0, 0)),
        std::make_tuple(redrawnRects(root, false), root.pixel(15, 15), root.pixel(5, 5)));

    root.unsubscribeDirtyRects(&leaver);
    root.unsubscribeDirtyRects(&leaver);
    root.clearRedraws();
    root.invalidate(Rect(0, 0, 5, 5));
    root.invalidate(Rect(50, 50, 5, 5));
    root.redrawNow();
    const std::vector<Rect> both{Rect(0, 0, 5, 5), Rect(50, 50, 5, 5)};
    EXPECT_EQ(
        std::make_tuple(both, std::vector<Rect>(), 1u),
        std::make_tuple(redrawnRects(root, true), root.getDirtyRects(), leaver.m_calls.size()));
    EXPECT_EQ((std::vector<std::vector<Rect>>{{Rect(10, 10, 20, 20)}, both}), subscriber.m_calls);
    const Pixmap copy = root.getPixmapCopy();
    EXPECT_EQ(std::make_pair(Point(0, 0), Rect(0, 0, 100, 100)),
              std::make_pair(copy.getOffset(), copy.getClipRectAbs()));

    // Nothing dirty, nothing drawn or told.
    root.clearRedraws();
    root.runPending();
    EXPECT_TRUE(root.redraws().empty());
    EXPECT_EQ(2u, subscriber.m_calls.size());
    root.unsubscribeDirtyRects(&subscriber);
}
