#include "input/LinuxTouchScreen.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/DescriptorIO.h"
#include "core/FatalError.h"
#include "core/Paths.h"

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

bool testBit(const unsigned char* bits, int bit)
{
    return (bits[bit / 8] >> (bit % 8)) & 1;
}

// Fills bits with the capability bitmap of one event type (0: the types).
bool queryBits(int fd, int type, unsigned char (&bits)[32])
{
    std::memset(bits, 0, sizeof bits);
    return ioctl(fd, EVIOCGBIT(type, sizeof bits), bits) >= 0;
}

void checkCapabilities(int fd)
{
    unsigned char bits[32];
    if (!queryBits(fd, 0, bits))
        fatalError("LinuxTouchScreen: ioctl EVIOCGBIT(0) failed [%s]", strerror(errno));
    if (!testBit(bits, EV_ABS))
        fatalError("LinuxTouchScreen: EV_ABS not supported");
    if (!testBit(bits, EV_SYN))
        fatalError("LinuxTouchScreen: EV_SYN not supported");
    if (!queryBits(fd, EV_ABS, bits))
        fatalError("LinuxTouchScreen: ioctl EVIOCGBIT(EV_ABS) failed [%s]", strerror(errno));
    if (!testBit(bits, ABS_X))
        fatalError("LinuxTouchScreen: ABS_X not supported");
    if (!testBit(bits, ABS_Y))
        fatalError("LinuxTouchScreen: ABS_Y not supported");
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

} // namespace

bool EvdevTouchDecoder::add(const input_event& record)
{
    switch (record.type) {
    case EV_KEY:
        if (record.code == BTN_TOUCH)
            m_pressed = record.value != 0;
        break;
    case EV_ABS:
        if (record.code == ABS_X)
            m_lastRawX = record.value;
        else if (record.code == ABS_Y)
            m_lastRawY = record.value;
        break;
    case EV_SYN:
        return true;
    default:
        break;
    }
    return false;
}

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
        fatalError("LinuxTouchScreen: Cannot open '%s' [%s]", m_device.c_str(), strerror(errno));
    checkCapabilities(m_fd);
    drainStaleInput(m_fd);
    if (!loadCalibration(calibrationPath()))
        m_calibration.reset();
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
            fatalError("LinuxTouchScreen: Read error");
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
