#ifndef OKU_INPUT_DETAIL_TOUCHFILTER_H
#define OKU_INPUT_DETAIL_TOUCHFILTER_H

#include <cstdint>
#include <deque>

#include "input/TouchScreen.h"

namespace OKU {

/// How much of the noise of a touch panel is filtered out. 0 turns a filter
/// off.
struct TouchFilterSettings {
    /// Moves of a held touch shorter than this many screen pixels are dropped.
    int jitterPixels = 0;
    /// A release followed by a press within this many milliseconds is a
    /// bouncing contact, not two touches.
    int debounceMs = 0;

    /// OKU_TS_JITTER (default 2) and OKU_TS_DEBOUNCE (default 12); unset or
    /// empty means the default. Anything but up to four digits throws
    /// SetupError.
    static TouchFilterSettings fromEnv();
    bool filters() const { return jitterPixels > 0 || debounceMs > 0; }
};

/// Takes a driver's reports with the time they arrived and gives the events
/// to deliver, without the noise a shaky finger and a bouncing contact add:
/// - A move (a press report while pressed) closer than jitterPixels to the
///   last delivered position is dropped, so that a finger resting on a
///   button does not stream moves. Raw positions (calibration) are in the
///   controller's units, which the threshold does not measure: they all pass,
///   and the calibration takes the median of them.
/// - A release that ends a touch is held back for debounceMs. A press within
///   that time joins the touch again, as a move: neither the release nor the
///   press is delivered. Otherwise the release is delivered when the time
///   has passed (releaseHeld()) or together with the next report.
/// A press after a delivered release always passes, and so do releases while
/// nothing is pressed.
class TouchFilter {
public:
    typedef TouchScreen::Event Event;

    explicit TouchFilter(const TouchFilterSettings& settings) : m_settings(settings) {}

    /// A report that arrived at nowMs on the monotonic millisecond clock
    /// (wrapping); raw tells that its position is raw controller units.
    void add(const Event& report, uint32_t nowMs, bool raw);
    /// Whether a release is held back, waiting for a press that may follow.
    bool holdsRelease() const { return m_holding; }
    /// Whether take() has an event, or will have once the time passes.
    bool hasPending() const { return m_holding || !m_ready.empty(); }
    /// How many milliseconds after nowMs the held release waits at most.
    int32_t holdLeftMs(uint32_t nowMs) const;
    /// Delivers the held release: no press followed in time.
    void releaseHeld();
    /// The next event to deliver, oldest first; false when there is none.
    bool take(Event& event);

private:
    void deliver(const Event& event);
    bool isJitter(const Event& move) const;

    const TouchFilterSettings m_settings;
    std::deque<Event> m_ready;
    bool m_pressed = false; ///< as delivered, a held release not counted
    bool m_holding = false;
    Event m_heldRelease;
    uint32_t m_releaseMs = 0;
    Event m_lastDelivered;
};

} // namespace OKU

#endif
