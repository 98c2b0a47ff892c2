#include "input/detail/LinuxTouchScreen.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "core/DescriptorIO.h"
#include "core/Paths.h"
#include "core/ScreenRotation.h"

namespace OKU {

namespace {

// Raw positions are scaled down before the fit and the transform so that the
// squared terms stay small.
const float c_rawScale = 1.0f / 1024.0f;
// Input that arrives within this time of the last record is stale.
const int c_drainTimeoutMs = 10;

std::string calibrationPath()
{
    return getEnv("OKU_TS_CALIB_DATA_FILE", "/var/lib/oku-linux-tscal");
}

// One bit per code of an event type; large enough for the keys.
typedef unsigned char CapabilityBits[KEY_MAX / 8 + 1];

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error("LinuxTouchScreen: " + what);
}

// " [<the system's error text>]".
std::string systemError()
{
    return std::string(" [") + strerror(errno) + "]";
}

bool testBit(const CapabilityBits& bits, int bit)
{
    return (bits[bit / 8] >> (bit % 8)) & 1;
}

// Fills bits with the capability bitmap of one event type (0: the types).
// The types and the axes are asked for in 32 bytes, all they can have.
bool queryBits(int fd, int type, CapabilityBits& bits)
{
    std::memset(bits, 0, sizeof bits);
    const size_t size = type == EV_KEY ? sizeof bits : 32;
    return ioctl(fd, EVIOCGBIT(type, size), bits) >= 0;
}

// Which kind of panel the device is; thrown when it is none.
EvdevTouchDecoder::Kind checkCapabilities(int fd)
{
    CapabilityBits bits;
    if (!queryBits(fd, 0, bits))
        fail("ioctl EVIOCGBIT(0) failed" + systemError());
    if (!testBit(bits, EV_ABS))
        fail("EV_ABS not supported");
    if (!testBit(bits, EV_SYN))
        fail("EV_SYN not supported");
    if (!queryBits(fd, EV_ABS, bits))
        fail("ioctl EVIOCGBIT(EV_ABS) failed" + systemError());
    if (testBit(bits, ABS_MT_POSITION_X) && testBit(bits, ABS_MT_POSITION_Y) &&
        testBit(bits, ABS_MT_TRACKING_ID))
        return EvdevTouchDecoder::Kind::MULTITOUCH;
    if (!testBit(bits, ABS_X))
        fail("ABS_X not supported");
    if (!testBit(bits, ABS_Y))
        fail("ABS_Y not supported");
    // A device that cannot list its keys is taken for a touch panel.
    if (queryBits(fd, EV_KEY, bits) && testBit(bits, BTN_LEFT) && !testBit(bits, BTN_TOUCH))
        return EvdevTouchDecoder::Kind::POINTER;
    return EvdevTouchDecoder::Kind::SINGLE_TOUCH;
}

// Discards records queued before the program started (a touch left over from
// the previous program, say) until the device stays quiet.
void drainStaleInput(int fd)
{
    pollfd readable = {fd, POLLIN, 0};
    input_event record;
    for (;;) {
        const int ready = poll(&readable, 1, c_drainTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || !safeRead(fd, &record, sizeof record))
            return;
    }
}

// The range the device gives for an axis; false when it gives none or an
// empty one.
bool queryRange(int fd, int axis, input_absinfo& range)
{
    return ioctl(fd, EVIOCGABS(axis), &range) >= 0 && range.maximum > range.minimum;
}

// Starts the decoder where the device's axes stand (a multitouch panel's in
// its current slot); a device that cannot say starts at 0, 0.
void startAtDevicePosition(int fd, EvdevTouchDecoder& decoder, bool multitouch)
{
    input_absinfo x, y, slot = {};
    if (ioctl(fd, EVIOCGABS(multitouch ? ABS_MT_POSITION_X : ABS_X), &x) < 0 ||
        ioctl(fd, EVIOCGABS(multitouch ? ABS_MT_POSITION_Y : ABS_Y), &y) < 0)
        return;
    if (multitouch && ioctl(fd, EVIOCGABS(ABS_MT_SLOT), &slot) < 0)
        slot.value = 0;
    decoder.setStartPosition(slot.value, x.value, y.value);
}

// The calibration that stretches the axis ranges over the panel's pixels and
// turns them into the screen's (width x height) as the panel is mounted:
// each output is an affine function of the raw position, so the
// coefficients of x, y and 1 are found by mapping the panel's corner pixel
// and its two neighbours.
TouchCalibration axisScaling(const input_absinfo& x, const input_absinfo& y, int width,
                             int height, int rotation)
{
    const Size panel = rotatedSize(Size(width, height), rotation);
    const Point origin = deviceToLogical(Point(0, 0), rotation, panel);
    const Point alongX = deviceToLogical(Point(1, 0), rotation, panel);
    const Point alongY = deviceToLogical(Point(0, 1), rotation, panel);
    // Panel pixel = raw * perUnit + offset on each axis.
    const double perUnitX = double(panel.width - 1) / (double(x.maximum) - x.minimum);
    const double perUnitY = double(panel.height - 1) / (double(y.maximum) - y.minimum);
    const double offsetX = -double(x.minimum) * perUnitX;
    const double offsetY = -double(y.minimum) * perUnitY;
    TouchCalibration::Coefficients c = {};
    const double stepX[2] = {double(alongX.x - origin.x), double(alongX.y - origin.y)};
    const double stepY[2] = {double(alongY.x - origin.x), double(alongY.y - origin.y)};
    const double start[2] = {double(origin.x), double(origin.y)};
    for (int output = 0; output < 2; ++output) {
        c[output] = static_cast<float>(stepX[output] * perUnitX / c_rawScale);
        c[2 + output] = static_cast<float>(stepY[output] * perUnitY / c_rawScale);
        c[10 + output] =
            static_cast<float>(start[output] + stepX[output] * offsetX + stepY[output] * offsetY);
    }
    return TouchCalibration(c);
}

} // namespace

LinuxTouchScreen::LinuxTouchScreen(const std::string& device, int width, int height)
    : TouchScreen(width, height), m_device(device), m_calibration(c_rawScale)
{
}

LinuxTouchScreen::~LinuxTouchScreen()
{
    if (m_fd >= 0)
        close(m_fd);
}

void LinuxTouchScreen::init()
{
    m_fd = open(m_device.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        fail("Cannot open '" + m_device + "'" + systemError());
    const EvdevTouchDecoder::Kind kind = checkCapabilities(m_fd);
    const bool multitouch = kind == EvdevTouchDecoder::Kind::MULTITOUCH;
    m_decoder = EvdevTouchDecoder(kind);
    drainStaleInput(m_fd);
    startAtDevicePosition(m_fd, m_decoder, multitouch);
    if (loadCalibration(calibrationPath()))
        return;
    m_calibration.reset();
    input_absinfo x, y;
    if (queryRange(m_fd, multitouch ? ABS_MT_POSITION_X : ABS_X, x) &&
        queryRange(m_fd, multitouch ? ABS_MT_POSITION_Y : ABS_Y, y))
        m_calibration.setCalibration(axisScaling(x, y, m_width, m_height, m_rotation));
}

bool LinuxTouchScreen::reportWaiting()
{
    pollfd readable = {m_fd, POLLIN, 0};
    return m_fd >= 0 && poll(&readable, 1, 0) > 0;
}

TouchScreen::Event LinuxTouchScreen::getEvent()
{
    input_event record;
    for (;;) {
        if (!safeRead(m_fd, &record, sizeof record))
            fail("Read error from '" + m_device + "'"); // or end of file: unplugged
        if (m_decoder.add(record))
            return m_calibration.convert(m_decoder.isPressed(), m_decoder.getRawX(),
                                         m_decoder.getRawY(), m_width, m_height, m_rotation);
    }
}

void LinuxTouchScreen::startRawCoordinates()
{
    m_calibration.setRaw(true);
}

void LinuxTouchScreen::endRawCoordinates()
{
    m_calibration.setRaw(false);
}

void LinuxTouchScreen::setCalibration(const std::vector<CalibrationPoint>& points, int, int)
{
    m_calibration.fit(points);
    // A failed save keeps the previous file; the new calibration still
    // applies until the next start.
    saveCalibration(calibrationPath());
}

bool LinuxTouchScreen::loadCalibration(const std::string& path)
{
    return m_calibration.load(path);
}

bool LinuxTouchScreen::saveCalibration(const std::string& path) const
{
    return m_calibration.save(path);
}

} // namespace OKU
