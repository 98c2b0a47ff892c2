#include "input/detail/PMTouchScreen.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "core/Condition.h"
#include "core/FatalError.h"
#include "core/Trace.h"

namespace OKU {

namespace {

// PenMount positions are used unscaled, in the fit as in the transform.
const float c_rawScale = 1.0f;
// The rest of a packet follows its first byte at once; a longer pause means
// the packet was cut off.
const int c_packetTimeoutMs = 100;
// A handshake request is repeated after this long without an answer.
const int c_handshakeRetryMs = 100;
const TimeSpec c_handshakeTime(1, 0);
// Enough for every PenMount model.
const int c_maxPacketSize = 8;
// A controller reports a finger already on the panel as soon as reporting is
// switched on; the page cannot show before this has passed.
const int c_firstReportMs = 20;

} // namespace

const char* const PMTouchScreen::c_calibrationFile = "/var/lib/oku-tscal.dat";

PMTouchScreen::PMTouchScreen(const std::string& device, int baudRate, int width, int height,
                             const std::string& calibrationFile)
    : TouchScreen(width, height), m_device(device), m_baudRate(baudRate),
      m_calibrationFile(calibrationFile), m_calibration(c_rawScale),
      m_droppedBytes("OKU::PMTouchScreen")
{
}

PMTouchScreen::~PMTouchScreen() = default;

void PMTouchScreen::init()
{
    auto port = std::make_unique<SerialPort>(m_device);
    speed_t speed;
    if (!baudRateToSpeed(m_baudRate, speed))
        fatalError("PMTouchScreen: Invalid baud rate");
    port->configure(speed);
    m_port = std::move(port);
    if (!pmInit())
        throw std::runtime_error("Failed initializing PenMount on " + m_device);
    noteRestingContact();
    if (!loadCalibration(m_calibrationFile))
        m_calibration.reset();
}

bool PMTouchScreen::handshake(const unsigned char* request, const AnswerCheck& accept)
{
    const TimeSpec stageEnd = monotonicNow() + c_handshakeTime;
    discardNoting();
    do {
        m_port->writeBytes(request, getPacketSize());
        if (awaitAnswer(stageEnd, accept))
            return true;
    } while (monotonicNow() < stageEnd);
    return false;
}

// Slides a packet-sized window over the incoming bytes until it holds an
// answer that accept takes, so that stray bytes before the answer are
// skipped. Gives up when the line stays quiet for 100 ms (the request is
// then sent again) and at stageEnd, so that a cut-off answer or endless junk
// cannot hold start-up.
bool PMTouchScreen::awaitAnswer(const TimeSpec& stageEnd, const AnswerCheck& accept)
{
    const int size = getPacketSize();
    const TimeSpec quietTime = TimeSpec::fromMilliseconds(c_handshakeRetryMs);
    unsigned char answer[c_maxPacketSize];
    int received = 0;
    for (;;) {
        const TimeSpec deadline = std::min(monotonicNow() + quietTime, stageEnd);
        unsigned char byte;
        if (!m_port->readBytesUntil(&byte, 1, deadline))
            return false;
        slideNoting(answer, received, byte);
        if (received == size && accept(answer))
            return true;
    }
}

void PMTouchScreen::discardNoting()
{
    unsigned char window[c_maxPacketSize];
    int received = 0;
    unsigned char byte;
    while (m_port->inputWaiting() && m_port->readBytes(&byte, 1, 0))
        slideNoting(window, received, byte);
}

void PMTouchScreen::slideNoting(unsigned char* window, int& received, unsigned char byte)
{
    const int size = getPacketSize();
    if (received == size) {
        std::memmove(window, window + 1, size - 1);
        --received;
    }
    window[received++] = byte;
    if (received == size && validateFirstByte(window[0]) && validatePacket(window) &&
        parsePacket(window).pressed)
        m_restingContact = true;
}

void PMTouchScreen::noteRestingContact()
{
    const TimeSpec deadline = monotonicNow() + TimeSpec::fromMilliseconds(c_firstReportMs);
    Event first;
    if (readReport(&deadline, first) && first.pressed)
        m_restingContact = true;
    if (m_restingContact)
        traceMessage("OKU::PMTouchScreen", TRACE_INFO,
                     "A finger rests on the panel; it is ignored until lifted");
}

bool PMTouchScreen::reportWaiting()
{
    return m_port && m_port->inputWaiting();
}

TouchScreen::Event PMTouchScreen::getEvent()
{
    Event event;
    readReport(nullptr, event);
    return event;
}

bool PMTouchScreen::getEventBefore(const TimeSpec& deadline, Event& event)
{
    return readReport(&deadline, event);
}

// Framing shared by the models: a packet of getPacketSize() bytes whose first
// byte is recognisable (validateFirstByte). A rejected first byte is dropped
// alone, so the reader slides byte by byte onto the next packet start; the
// rest of the packet must arrive within 100 ms; a packet the model rejects as
// a whole (checksum, range) is dropped whole. Dropped bytes are counted, not
// traced one by one. The deadline is for a packet's first byte only.
bool PMTouchScreen::readReport(const TimeSpec* deadline, Event& event)
{
    const int size = getPacketSize();
    unsigned char packet[c_maxPacketSize];
    for (;;) {
        const bool received = deadline ? m_port->readBytesUntil(packet, 1, *deadline)
                                       : m_port->readBytes(packet, 1, -1);
        if (!received && errno == ETIMEDOUT)
            return false;
        if (!received)
            fatalError("PMTouchScreen: Read error");
        if (!validateFirstByte(packet[0])) {
            m_droppedBytes.dropped(1);
            continue;
        }
        if (!m_port->readBytes(packet + 1, size - 1, c_packetTimeoutMs)) {
            traceMessage("OKU::PMTouchScreen", TRACE_WARNING, "Read pkt[1..%d] timeout", size - 1);
            continue;
        }
        if (!validatePacket(packet)) {
            m_droppedBytes.dropped(size);
            continue;
        }
        m_droppedBytes.resynchronised();
        const Event raw = parsePacket(packet);
        traceMessage("OKU::PMTouchScreen", TRACE_DEBUG, "Raw X: %d, Raw Y:%d", raw.x, raw.y);
        if (m_restingContact) {
            m_restingContact = raw.pressed;
            continue;
        }
        event = m_calibration.convert(raw.pressed, raw.x, raw.y, m_width, m_height, m_rotation);
        return true;
    }
}

void PMTouchScreen::startRawCoordinates()
{
    m_calibration.setRaw(true);
}

void PMTouchScreen::endRawCoordinates()
{
    m_calibration.setRaw(false);
}

void PMTouchScreen::setCalibration(const std::vector<CalibrationPoint>& points, int, int)
{
    m_calibration.fit(points);
    saveCalibration(m_calibrationFile);
}

bool PMTouchScreen::loadCalibration(const std::string& path)
{
    return m_calibration.load(path);
}

bool PMTouchScreen::saveCalibration(const std::string& path) const
{
    return m_calibration.save(path);
}

} // namespace OKU
