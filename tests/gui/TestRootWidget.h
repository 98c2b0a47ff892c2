#ifndef OKU_TESTS_GUI_TESTROOTWIDGET_H
#define OKU_TESTS_GUI_TESTROOTWIDGET_H

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Mutex.h"
#include "core/Trace.h"
#include "gui/RootWidget.h"

// A root widget without a screen, for tests. Widgets are created with new
// and belong to the tree; the root deletes whatever is left when it goes away.
//
// Most tests drive the loop on the test thread with runPending(). A test that
// runs the real GUI thread (start()) calls stopGuiThread() before the root is
// destroyed.
class TestRootWidget : public OKU::RootWidget {
public:
    struct Redraw {
        OKU::Rect rect;
        bool immediate;
    };

    explicit TestRootWidget(int width = 100, int height = 100) : RootWidget(width, height) {}

    // Called by the GUI thread, which need not be the test thread.
    void notifyRedraw(const OKU::Rect& r, bool immediate) override
    {
        std::lock_guard<std::mutex> lock(m_redrawMutex);
        m_redraws.push_back(Redraw{r, immediate});
    }

    // Every notifyRedraw so far, in order.
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

    // Handles every queued event on the calling thread (due timers are not
    // fired), then creation calls, reaping, child events and redraw.
    void runPending()
    {
        while (processEvent(false)) {
        }
        preBlockHandling(false);
    }

    OKU::Pixmap::Pixel pixel(int x, int y) const { return getPixmapCopy().getPixel(x, y); }

    // Ends the thread started by start() after the events queued so far: a
    // destroyed token on the modal stack makes the loop end itself, as it does
    // when a modal dialog goes away.
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
    mutable std::mutex m_redrawMutex;
    std::vector<Redraw> m_redraws;
};

// Expects f to end the process through fatalError with a message matching
// the regular expression.
inline void expectFatalError(const std::function<void()>& f, const std::string& message)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            OKU::traceInitStderr(OKU::TRACE_ERROR);
            f();
        },
        "FATAL ERROR: " + message);
}

#endif
