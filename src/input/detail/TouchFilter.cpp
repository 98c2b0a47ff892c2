#include "input/detail/TouchFilter.h"

#include <cctype>
#include <string>

#include "core/Paths.h"
#include "core/SetupError.h"

namespace OKU {

namespace {

// Below what a finger aims at, above the noise of a resistive panel.
const char c_defaultJitterPixels[] = "2";
// Longer than contacts bounce, far shorter than a finger can lift and
// touch again.
const char c_defaultDebounceMs[] = "12";
// Larger values cannot be meant (and would overflow the squares).
const size_t c_maxDigits = 4;

int settingFromEnv(const char* name, const char* defaultValue, const char* unit)
{
    std::string value = getEnv(name, "");
    if (value.empty())
        value = defaultValue;
    bool valid = !value.empty() && value.size() <= c_maxDigits;
    for (char c : value)
        valid = valid && std::isdigit(static_cast<unsigned char>(c));
    if (!valid)
        throw SetupError("Invalid " + std::string(name) + " \"" + value + "\".  Use a number of " +
                         unit + ", 0 for none.");
    return std::stoi(value);
}

} // namespace

TouchFilterSettings TouchFilterSettings::fromEnv()
{
    TouchFilterSettings settings;
    settings.jitterPixels = settingFromEnv("OKU_TS_JITTER", c_defaultJitterPixels, "pixels");
    settings.debounceMs = settingFromEnv("OKU_TS_DEBOUNCE", c_defaultDebounceMs, "milliseconds");
    return settings;
}

void TouchFilter::add(const Event& report, uint32_t nowMs, bool raw)
{
    if (m_holding) {
        if (holdLeftMs(nowMs) < 0)
            releaseHeld();
        else if (!report.pressed)
            return; // the contact is still lifting
        else
            m_holding = false; // it bounced: the touch goes on
    }
    if (!report.pressed) {
        if (m_pressed && m_settings.debounceMs > 0) {
            m_holding = true;
            m_heldRelease = report;
            m_releaseMs = nowMs;
        } else {
            deliver(report);
        }
        return;
    }
    if (m_pressed && !raw && isJitter(report))
        return;
    deliver(report);
}

int32_t TouchFilter::holdLeftMs(uint32_t nowMs) const
{
    return m_settings.debounceMs - static_cast<int32_t>(nowMs - m_releaseMs);
}

void TouchFilter::releaseHeld()
{
    if (!m_holding)
        return;
    m_holding = false;
    deliver(m_heldRelease);
}

bool TouchFilter::take(Event& event)
{
    if (m_ready.empty())
        return false;
    event = m_ready.front();
    m_ready.pop_front();
    return true;
}

void TouchFilter::deliver(const Event& event)
{
    m_ready.push_back(event);
    m_pressed = event.pressed;
    if (event.pressed)
        m_lastDelivered = event;
}

bool TouchFilter::isJitter(const Event& move) const
{
    const int64_t dx = int64_t(move.x) - m_lastDelivered.x;
    const int64_t dy = int64_t(move.y) - m_lastDelivered.y;
    const int64_t threshold = m_settings.jitterPixels;
    return dx * dx + dy * dy < threshold * threshold;
}

} // namespace OKU
