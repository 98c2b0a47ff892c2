#include "gui/windows/CalibrationScreen.h"

#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/TempDir.h"
#include "gui/DialogHarness.h"
#include "gui/widgets/StaticPixmap.h"
#include "input/CalibrationPage.h"

using namespace OKU;

namespace {

const wchar_t c_notSaved[] = L"The calibration could not be saved. It applies until the device "
                             L"is switched off; the next start asks for it again.";
const wchar_t c_noMatch[] = L"The touches did not match the crosses.\n\nPlease touch the green X "
                            L"symbol again wherever it appears!";

// An 800 x 600 calibration page, driven on the test's thread until start().
class CalibrationScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testTheme();
        m_root.setTouchScreen(&m_touchScreen);
        new CalibrationScreen(&m_root);
        m_root.runPending();
        m_cross = findAll<StaticPixmap>(&m_root).at(0);
    }

    void inject(const Point& raw, bool pressed) { m_root.injectMouseEvent(raw.x, raw.y, pressed); }

    // Touches the crosses, each after its pause, at the raw positions
    // raw(cross's centre) in five reports, releasing the last one only when
    // asked. A shaky finger lands off the cross and slides off it as it
    // lifts, a few units of shaking in between.
    void touchNineCrosses(Point (*raw)(const Point&), bool releaseLast = true, bool shaky = false)
    {
        const int shake[] = {0, 2, -3, 0, 1};
        for (int i = 0; i < CalibrationScreen::c_pointCount; ++i) {
            if (i > 0)
                m_root.processEvent(true);
            const Point p = raw(centre(m_cross));
            Point report;
            // One report at a time, as queued moves collapse into the
            // latest; a quick lift queues behind the last one.
            for (int r = 0; r < 5; ++r) {
                const int slip = shaky && r == 0 ? 400 : shaky && r == 4 ? -500 : 0;
                report = Point(p.x + slip + shaky * shake[r], p.y - slip + shaky * shake[4 - r]);
                inject(report, true);
                if (r < 4)
                    m_root.runPending();
            }
            if (releaseLast || i < CalibrationScreen::c_pointCount - 1)
                inject(report, false);
            m_root.runPending();
        }
    }

    bool waitForText(const std::wstring& text)
    {
        for (int i = 0; i < 500; ++i) {
            if (m_root.onGuiThread([&] { return findShowing(&m_root, text) != nullptr; }))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    TempDir m_dir;
    ScopedEnv m_marker{"OKU_TS_CALIBRATED_FILE", (m_dir / "calibrated").c_str()};
    TestRootWidget m_root{800, 600};
    RecordingTouchScreen m_touchScreen;
    StaticPixmap* m_cross = nullptr;
};

} // namespace

// Touches that miss their crosses are asked for again. Each target's position
// is the median of its touch's reports, not the report that happens to come
// first or last.
TEST_F(CalibrationScreenTest, MissedCrossesAreAskedForAgainAndShakyFingersCalibrateThroughTheMedian)
{
    touchNineCrosses([](const Point&) { return Point(3000, 2000); });
    EXPECT_EQ(Log{"raw on"}, m_touchScreen.m_log);
    EXPECT_EQ(nullptr, findShowing(&m_root, L"OK"));
    EXPECT_NE(nullptr, findShowing(&m_root, c_noMatch));

    m_root.processEvent(true);
    EXPECT_TRUE(m_cross->isShown());
    EXPECT_EQ(Point(50, 70), centre(m_cross));
    touchNineCrosses(onTarget, true, true);
    EXPECT_EQ((Log{"raw on", "calibrate 799x599", "raw off"}), m_touchScreen.m_log);
    EXPECT_NE(nullptr, findShowing(&m_root, L"OK"));
    ASSERT_EQ(9u, m_touchScreen.m_points.size());
    for (const TouchScreen::CalibrationPoint& p : m_touchScreen.m_points) {
        // The middle of 0, 2, -3, 0, 1 (and of 1, 0, -3, 2, 0) is 0.
        EXPECT_EQ(onTarget(Point(p.screenX, p.screenY)), Point(p.rawX, p.rawY))
            << p.screenX << "," << p.screenY;
    }
}

TEST_F(CalibrationScreenTest, CalibrationThatCannotBeStoredAppliesButLeavesTheDeviceUncalibrated)
{
    m_touchScreen.m_storable = false;
    touchNineCrosses(onTarget, false);
    inject(onTarget(Point(749, 549)), false);
    m_root.start();
    ASSERT_TRUE(waitForText(c_notSaved));
    EXPECT_EQ((Log{"raw on", "calibrate 799x599", "raw off"}),
              m_root.onGuiThread([this] { return m_touchScreen.m_log; }));
    EXPECT_EQ(nullptr, m_root.onGuiThread([this] { return m_root.getMouseGrabber(); }));
    // The key wakes a GUI thread that went idle waiting for events, as a
    // user reading the message first does.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    m_root.injectKeyEvent(KEY_CONFIRM, 0);

    const Point ok = m_root.onGuiThread([this] { return centre(findShowing(&m_root, L"OK")); });
    inject(ok, true);
    inject(ok, false);
    EXPECT_TRUE(m_root.onGuiThread([this] {
        for (const Widget* w : m_root.getChildren())
            if (!w->isMarkedDestroyed())
                return false;
        return true;
    }));
    m_root.stopGuiThread();
    EXPECT_FALSE(TouchScreen::isCalibrated());
}

