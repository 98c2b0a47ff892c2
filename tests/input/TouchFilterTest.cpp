#include "input/detail/TouchFilter.h"

#include <deque>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Time.h"
#include "input/DummyTouchScreen.h"
#include "input/SerialController.h"
#include "input/detail/FilteredTouchScreen.h"

using namespace OKU;
using serialtest::describe;
using serialtest::dataLines;

namespace {

// Reports from a script; reportWaiting() while one is left. An empty report
// throws instead, as a controller cut off on the line does.
class ScriptedDriver : public DummyTouchScreen {
public:
    typedef std::optional<Event> Report;

    explicit ScriptedDriver(std::deque<Report> reports) : m_reports(std::move(reports)) {}
    Event getEvent() override
    {
        if (m_reports.empty())
            throw std::logic_error("read beyond the script");
        const Report report = m_reports.front();
        m_reports.pop_front();
        return report ? *report : throw std::runtime_error("cut off");
    }
    bool reportWaiting() override { return !m_reports.empty(); }
    void startRawCoordinates() override { m_raw = true; }
    void endRawCoordinates() override { m_raw = false; }

    std::deque<Report> m_reports;
    bool m_raw = false;
};

} // namespace

// tests/data/input/<name>.stream: "filter JITTER DEBOUNCE", then reports
// "MS press|release X Y [raw]"; <name>.expected the events delivered, a held
// release once the next report comes too late or the stream ends.
TEST(TouchFilterTest, RecordedNoiseIsFiltered)
{
    for (const char* name : {"filter-jitter", "filter-bounce"}) {
        std::unique_ptr<TouchFilter> filter;
        std::vector<std::string> delivered;
        TouchScreen::Event event;
        for (const std::string& line : dataLines(std::string(name) + ".stream")) {
            std::istringstream words(line);
            std::string first, kind, raw;
            TouchFilterSettings settings;
            TouchScreen::Event reported;
            if (words >> first && first == "filter" &&
                words >> settings.jitterPixels >> settings.debounceMs) {
                filter = std::make_unique<TouchFilter>(settings);
                continue;
            }
            ASSERT_TRUE(filter && words >> kind >> reported.x >> reported.y) << line;
            const uint32_t ms = std::stoul(first);
            if (filter->holdsRelease() && filter->holdLeftMs(ms) < 0)
                filter->releaseHeld();
            reported.pressed = kind == "press";
            filter->add(reported, ms, words >> raw && raw == "raw");
            while (filter->take(event))
                delivered.push_back(describe(event));
        }
        filter->releaseHeld();
        while (filter->take(event))
            delivered.push_back(describe(event));
        EXPECT_EQ(dataLines(std::string(name) + ".expected"), delivered) << name;
    }
}

// The driver behind the filter: a held release waits for its next report,
// and a failure while one is held comes after the release.
TEST(TouchFilterTest, FilteredDriverHoldsReleasesForTheirDebounceTime)
{
    TouchFilterSettings settings;
    settings.jitterPixels = 2;
    settings.debounceMs = 40;
    using Event = TouchScreen::Event;
    auto driver = std::make_unique<ScriptedDriver>(std::deque<ScriptedDriver::Report>{
        Event{true, 10, 10}, Event{false, 10, 10}, Event{true, 30, 10}, Event{false, 30, 10},
        Event{true, 50, 50}, Event{false, 50, 50}, std::nullopt});
    ScriptedDriver& script = *driver;
    FilteredTouchScreen filtered(std::move(driver), settings);
    filtered.startRawCoordinates();
    const bool rawOn = script.m_raw;
    filtered.endRawCoordinates();
    EXPECT_TRUE(rawOn && !script.m_raw);

    EXPECT_EQ("press 10 10", describe(filtered.getEvent()));
    EXPECT_EQ("press 30 10", describe(filtered.getEvent())) << "a bounce joins the touch";
    // The release is held: the press after it is read only once it waited
    // its time, then both are delivered.
    std::deque<ScriptedDriver::Report> later(script.m_reports.begin() + 1, script.m_reports.end());
    script.m_reports.resize(1);
    const uint64_t start = monotonicMicroseconds();
    EXPECT_EQ("release 30 10", describe(filtered.getEvent()));
    EXPECT_GE(monotonicMicroseconds() - start, 40000u);
    EXPECT_FALSE(filtered.reportWaiting());
    script.m_reports = later;
    EXPECT_TRUE(filtered.reportWaiting());
    EXPECT_EQ("press 50 50", describe(filtered.getEvent()));
    EXPECT_EQ("release 50 50", describe(filtered.getEvent()));
    EXPECT_EQ("cut off", serialtest::thrown([&filtered] { filtered.getEvent(); }));
}
