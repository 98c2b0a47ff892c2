#ifndef OKU_TESTS_GUI_TESTROOTWIDGET_H
#define OKU_TESTS_GUI_TESTROOTWIDGET_H

#include <algorithm>
#include <functional>
#include <future>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/FileFinder.h"
#include "core/Mutex.h"
#include "core/Trace.h"
#include "gui/display/DisplayOutput.h"
#include "gui/theme/Theme.h"
#include "gui/tree/RootWidget.h"

typedef std::vector<std::string> Log;
typedef std::vector<OKU::Pixmap::Pixel> Pixels;
struct Touch { int x, y; bool pressed; };

// The process-wide theme over the build tree's pictures and fonts, created on
// first use.
inline OKU::Theme* testTheme()
{
    static OKU::FileFinder finder(std::string(OKU_PIXMAP_DIR) + ";" + OKU_FONT_DIR);
    if (OKU::Theme::s_theme == nullptr)
        OKU::Theme::initGlobal(finder);
    return OKU::Theme::g();
}

// A screen nobody looks at: it remembers the areas of every frame shown.
class RecordingOutput : public OKU::DisplayOutput {
public:
    struct Redraw {
        OKU::Rect rect;
        bool immediate;
    };

    RecordingOutput(int width, int height) : m_size(width, height) {}

    OKU::Size getSize() const override { return m_size; }
    int getRotation() const override { return 0; }
    int getAimDelayMs() const override { return aimDelayMs; }
    // May be called on the GUI thread.
    void showFrame(const OKU::Pixmap&, const std::vector<OKU::Rect>& areas,
                   bool immediate) override
    {
        {
            std::lock_guard<std::mutex> lock(m_redrawMutex);
            for (const OKU::Rect& r : areas)
                m_redraws.push_back(Redraw{r, immediate});
        }
        if (whileShowing)
            whileShowing();
    }
    std::vector<Redraw> redraws() const
    {
        std::lock_guard<std::mutex> lock(m_redrawMutex);
        return m_redraws;
    }
    void clearRedraws()
    {
        std::lock_guard<std::mutex> lock(m_redrawMutex);
        m_redraws.clear();
    }

    int aimDelayMs = 0;
    // Runs on the GUI thread before each frame counts as shown.
    std::function<void()> whileShowing;

private:
    const OKU::Size m_size;
    mutable std::mutex m_redrawMutex;
    std::vector<Redraw> m_redraws;
};

// A root widget on a RecordingOutput, with the theme. Tests drive the loop on
// their own thread with runPending(); a test that calls start() must call
// stopGuiThread() before the root goes away.
class TestRootWidget : public OKU::RootWidget {
public:
    typedef RecordingOutput::Redraw Redraw;

    using RootWidget::m_timerHeap;
    using Widget::grimReaper;

    explicit TestRootWidget(int width = 100, int height = 100)
        : TestRootWidget(new RecordingOutput(width, height))
    {
    }

    RecordingOutput& screen() { return m_screen; }
    std::vector<Redraw> redraws() const { return m_screen.redraws(); }
    void clearRedraws() { m_screen.clearRedraws(); }

    // Runs f on the GUI thread after the events injected before, and waits for it.
    template <class F>
    auto onGuiThread(F f) -> decltype(f())
    {
        std::packaged_task<decltype(f())()> task(f);
        auto result = task.get_future();
        injectFunction(nullptr, [&task] { task(); });
        return result.get();
    }

    // Every queued event (no due timers), then creation, reaping, child events, redraw.
    void runPending()
    {
        while (processEvent(false)) {
        }
        preBlockHandling(false);
    }

    // A finger on the panel, handled before the next, so that no moves merge in the queue.
    void touch(int x, int y, bool pressed)
    {
        injectMouseEvent(x, y, pressed);
        runPending();
    }
    void touch(const std::vector<Touch>& touches)
    {
        for (const Touch& t : touches)
            touch(t.x, t.y, t.pressed);
    }
    void tap(int x, int y)
    {
        touch(x, y, true);
        touch(x, y, false);
    }
    void tap(const OKU::Point& p) { tap(p.x, p.y); }
    // A key without a character, likewise handled before the next.
    void key(OKU::KeyCode k)
    {
        injectKeyEvent(k, 0);
        runPending();
    }

    OKU::Pixmap::Pixel pixel(int x, int y) const { return getPixmapCopy().getPixel(x, y); }
    Pixels pixels(std::initializer_list<OKU::Point> points) const
    {
        const OKU::Pixmap screen = getPixmapCopy();
        Pixels found;
        for (const OKU::Point& p : points)
            found.push_back(screen.getPixel(p.x, p.y));
        return found;
    }

    // A destroyed token on the modal stack ends the loop, as a closed modal dialog does.
    void stopGuiThread()
    {
        OKU::Widget* token = nullptr;
        injectFunction(nullptr, [this, &token] {
            OKU::Widget* w = new OKU::Widget(this);
            w->destroy();
            OKU::MutexLocker lock(m_mutex);
            m_modalStack.push_back(w);
            token = w;
        });
        OKU::MutexLocker lock(m_mutex);
        while (token == nullptr ||
               std::find(m_modalStack.begin(), m_modalStack.end(), token) != m_modalStack.end())
            m_modalCond.wait(m_mutex);
    }

private:
    explicit TestRootWidget(RecordingOutput* screen)
        : RootWidget(std::unique_ptr<OKU::DisplayOutput>(screen)), m_screen(*screen)
    {
        testTheme();
    }

    RecordingOutput& m_screen;
};

// An opaque pixel as stored (blue, green, red, alpha).
inline OKU::Pixmap::Pixel rgb(int red, int green, int blue)
{
    return OKU::Pixmap::Pixel{static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                              static_cast<uint8_t>(red), 255};
}

// Whether a and b, of one size, hold the same pixels inside area.
inline bool sameIn(const OKU::Pixmap& a, const OKU::Pixmap& b, OKU::Rect area)
{
    OKU::Pixmap::diffShrink(area, a, b);
    return area.isEmpty();
}

// The bounding box of the pixels inside r that match.
inline OKU::Rect boxOf(const OKU::Pixmap& p, const OKU::Rect& r,
                       const std::function<bool(const OKU::Pixmap::Pixel&)>& match)
{
    OKU::Rect box;
    for (int y = r.y; y < r.bottom(); ++y)
        for (int x = r.x; x < r.right(); ++x)
            if (match(p.getPixel(x, y)))
                box.include(OKU::Rect(x, y, 1, 1));
    return box;
}

// Expects f to end the process through fatalError; before matches what f
// writes to stderr ahead of the fatal line.
inline void expectFatalError(const std::function<void()>& f, const std::string& message,
                             const std::string& before = "")
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            OKU::traceInitStderr(OKU::TRACE_ERROR);
            f();
        },
        before + "FATAL ERROR: " + message);
}

#endif
