#include "Device.h"

#include <ostream>
#include <stdexcept>
#include <thread>

namespace sim {

namespace {

const int c_touchReadySliceMs = 20;

// What the program asks of the device through its exit status.
const int c_startApplication = 50;
const int c_factoryReset = 51;
const int c_reboot = 54;

} // namespace

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Device::Device(std::ostream& events) : m_events(events)
{
}

void Device::boot()
{
    const int pid = startProgram();
    m_phase = Phase::RUNNING;
    m_events << "event boot " << pid << std::endl;
}

void Device::poll()
{
    if (m_phase != Phase::RUNNING)
        return;
    if (const std::optional<int> status = reapProgram())
        onExit(*status);
}

void Device::onExit(int status)
{
    m_exits.push_back(status);
    m_lastExit = status;
    m_events << "event exit " << status << std::endl;
    switch (status) {
    case c_reboot:
        m_events << "event reboot" << std::endl;
        boot();
        break;
    case c_factoryReset:
        m_events << "event factory-reset" << std::endl;
        resetStorage();
        boot();
        break;
    case c_startApplication:
        powerOffTouch();
        m_phase = Phase::APPLICATION;
        m_events << "event application" << std::endl;
        break;
    default:
        powerOffTouch();
        m_phase = Phase::STOPPED;
        m_events << "event stopped " << status << " " << logPath() << std::endl;
    }
}

void Device::setPanelRotation(int degrees)
{
    m_rotation = PanelRotation(ScreenMode::c_width, ScreenMode::c_height, degrees);
}

void Device::press(int x, int y)
{
    if (m_phase == Phase::APPLICATION)
        boot();
    else
        report(true, x, y);
}

void Device::move(int x, int y)
{
    report(true, x, y);
}

void Device::release(int x, int y)
{
    report(false, x, y);
}

void Device::report(bool pressed, int x, int y)
{
    Pm9000Controller* controller = touchController();
    const PanelPosition panel = m_rotation.toPanel(x, y);
    if (m_phase == Phase::RUNNING && controller)
        controller->report(pressed, panel.x, panel.y);
}

bool Device::waitTouchReady(int timeoutMs)
{
    return pollUntil(*this, timeoutMs, [this] {
        Pm9000Controller* controller = touchController();
        return m_phase == Phase::RUNNING && controller &&
               controller->waitEnabled(c_touchReadySliceMs);
    });
}

bool Device::key(unsigned short code, bool pressed)
{
    // The new program never sees the key that started it: its keyboard's
    // unread keys are dropped at the start.
    if (!sendKey(code, pressed))
        return false;
    if (m_phase == Phase::APPLICATION && pressed)
        boot();
    return true;
}

bool Device::plugKeyboard(bool)
{
    throw std::runtime_error("This device cannot take a USB keyboard.");
}

bool Device::sendKey(unsigned short, bool)
{
    return false;
}

std::optional<int> Device::takeExit(int timeoutMs)
{
    if (!pollUntil(*this, timeoutMs, [this] { return !m_exits.empty(); }))
        return std::nullopt;
    const int status = m_exits.front();
    m_exits.pop_front();
    return status;
}

} // namespace sim
