#include "input/detail/TSC10TouchScreen.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace OKU {

// TSC10 wire format (hexadecimal).
//
// Controller to host:
//   12               power-on byte, sent once after a reset
//   s                report status; bit 0 clear: released (nothing follows)
//   s xh xl yh yl    bit 0 set: touched at x = xh:xl, y = yh:yl (big-endian,
//                    calibrated by the controller unless in raw mode); the
//                    four bytes follow within 100 ms
//   06               acknowledgement (ACK) of a command. While a command
//                    waits for its answer, only s with s & 3F equal to 10 or
//                    11 is a report; any other byte is the answer, and one
//                    other than 06 is a refusal (Non-ACK). The answer comes
//                    within 1000 ms, counted again after each report.
//
// Host to controller:
//   0B 02 05 41      at start-up: set the sampling rate, answered within
//                    100 ms; then 3A
//   0B | 02          command start in calibrated | raw mode, answered
//   31 | 3A          after the answer: select raw | calibrated mode
//   0D 03 03, then for nine points raw x, raw y, screen x, screen y, then
//   width, height    calibration upload (16-bit big-endian values), answered

namespace {

const unsigned char c_powerOn = 0x12;
const unsigned char c_ack = 0x06;
const unsigned char c_commandStartCalibrated = 0x0B;
const unsigned char c_commandStartRaw = 0x02;
const unsigned char c_selectRaw = 0x31;
const unsigned char c_selectCalibrated = 0x3A;
const std::size_t c_calibrationPoints = 9;
const int c_startupAnswerMs = 100;
const int c_reportTimeoutMs = 100;
const TimeSpec c_answerTime(1, 0);

unsigned char modeSelect(bool raw)
{
    return raw ? c_selectRaw : c_selectCalibrated;
}

bool isReportStatus(unsigned char byte)
{
    return (byte & 0x3F) == 0x10 || (byte & 0x3F) == 0x11;
}

std::runtime_error lineError(const std::string& text, const std::string& device,
                             const std::string& end)
{
    return std::runtime_error(text + " \"" + device + "\"." + end);
}

std::runtime_error systemLineError(const std::string& text, const std::string& device)
{
    return lineError(text, device, std::string("  ") + strerror(errno));
}

void appendBigEndian16(std::vector<unsigned char>& bytes, int32_t value)
{
    bytes.push_back(static_cast<unsigned char>(value >> 8));
    bytes.push_back(static_cast<unsigned char>(value));
}

} // namespace

// Holds the reader role taken under the line mutex; gives it back and wakes
// the waiting threads.
class TSC10TouchScreen::ReaderRole {
public:
    explicit ReaderRole(TSC10TouchScreen& driver) : m_driver(driver) {}
    ReaderRole(const ReaderRole&) = delete;
    ReaderRole& operator=(const ReaderRole&) = delete;
    ~ReaderRole()
    {
        MutexLocker lock(m_driver.m_lineMutex);
        m_driver.m_reading = false;
        m_driver.m_lineChanged.broadcast();
    }

private:
    TSC10TouchScreen& m_driver;
};

// Marks a command as waiting for its answer, from before its first byte is
// written (so that no answer can slip past) until the answer was taken or
// the command failed.
class TSC10TouchScreen::AnswerExpected {
public:
    explicit AnswerExpected(TSC10TouchScreen& driver) : m_driver(driver) { set(true); }
    AnswerExpected(const AnswerExpected&) = delete;
    AnswerExpected& operator=(const AnswerExpected&) = delete;
    ~AnswerExpected() { set(false); }

private:
    void set(bool expected)
    {
        MutexLocker lock(m_driver.m_lineMutex);
        m_driver.m_answerExpected = expected;
        m_driver.m_answered = false;
    }

    TSC10TouchScreen& m_driver;
};

TSC10TouchScreen::TSC10TouchScreen(const std::string& device, int width, int height)
    : TouchScreen(width, height), m_device(device)
{
}

TSC10TouchScreen::~TSC10TouchScreen() = default;

void TSC10TouchScreen::init()
{
    m_port = std::make_unique<SerialPort>(m_device);
    m_port->configure(B9600);
    unsigned char byte;
    if (m_port->readBytes(&byte, 1, c_startupAnswerMs) && byte != c_powerOn)
        throw lineError("Unexpected power on byte on", m_device, "");
    write({c_commandStartCalibrated, 0x02});
    write({0x05, 0x41});
    if (!m_port->readBytes(&byte, 1, c_startupAnswerMs) || byte != c_ack)
        throw lineError("Cannot set sampling rate for", m_device, "");
    write({modeSelect(false)});
    m_raw = false;
}

bool TSC10TouchScreen::reportWaiting()
{
    MutexLocker lock(m_lineMutex);
    // While a reader holds the line, what is on it is that reader's.
    return !m_reports.empty() || (m_port && !m_reading && m_port->inputWaiting());
}

TouchScreen::Event TSC10TouchScreen::getEvent()
{
    for (;;) {
        {
            MutexLocker lock(m_lineMutex);
            while (m_reports.empty() && m_reading)
                m_lineChanged.wait(m_lineMutex);
            if (!m_reports.empty()) {
                const Event event = m_reports.front();
                m_reports.pop_front();
                return event;
            }
            m_reading = true;
        }
        const ReaderRole role(*this);
        unsigned char status;
        if (!m_port->readBytes(&status, 1, -1))
            throw systemLineError("Read error from", m_device);
        {
            MutexLocker lock(m_lineMutex);
            if (m_answerExpected && !m_answered && !isReportStatus(status)) {
                m_answer = status;
                m_answered = true;
                m_lineChanged.broadcast();
                continue;
            }
        }
        return readReport(status);
    }
}

TouchScreen::Event TSC10TouchScreen::readReport(unsigned char status)
{
    Event event;
    if (status & 0x01) {
        unsigned char position[4];
        if (!m_port->readBytes(position, 4, c_reportTimeoutMs))
            throw systemLineError("Timeout reading", m_device);
        event.pressed = true;
        event.x = position[0] * 256 + position[1];
        event.y = position[2] * 256 + position[3];
    }
    MutexLocker lock(m_lineMutex);
    if (event.pressed) {
        m_lastX = event.x;
        m_lastY = event.y;
    } else {
        event.x = m_lastX;
        event.y = m_lastY;
    }
    if (m_answerExpected)
        m_answerDeadline = monotonicNow() + c_answerTime;
    return event;
}

void TSC10TouchScreen::readACK()
{
    unsigned char answer = 0;
    bool lineFree = false;
    {
        MutexLocker lock(m_lineMutex);
        m_answerDeadline = monotonicNow() + c_answerTime;
        while (!m_answered && !lineFree) {
            if (!m_reading) {
                m_reading = true;
                lineFree = true;
            } else if (monotonicNow() >= m_answerDeadline) {
                throw lineError("Missing ACK from", m_device, "");
            } else {
                m_lineChanged.waitUntil(m_lineMutex, m_answerDeadline);
            }
        }
        answer = m_answer;
    }
    if (lineFree) {
        const ReaderRole role(*this);
        answer = readAnswerFromLine();
    }
    if (answer != c_ack)
        throw lineError("Non-ACK (" + std::to_string(answer) + ") from", m_device, "");
}

unsigned char TSC10TouchScreen::readAnswerFromLine()
{
    for (;;) {
        TimeSpec deadline;
        {
            MutexLocker lock(m_lineMutex);
            deadline = m_answerDeadline;
        }
        unsigned char byte;
        if (!m_port->readBytesUntil(&byte, 1, deadline))
            throw lineError("Missing ACK from", m_device, "");
        if (!isReportStatus(byte))
            return byte;
        const Event event = readReport(byte);
        MutexLocker lock(m_lineMutex);
        m_reports.push_back(event);
        m_lineChanged.broadcast();
    }
}

void TSC10TouchScreen::write(const std::vector<unsigned char>& bytes)
{
    m_port->writeBytes(bytes.data(), bytes.size());
}

void TSC10TouchScreen::startRawCoordinates()
{
    switchMode(true);
}

void TSC10TouchScreen::endRawCoordinates()
{
    switchMode(false);
}

void TSC10TouchScreen::switchMode(bool raw)
{
    MutexLocker lock(m_commandMutex);
    if (m_raw == raw)
        return;
    command({commandStart()});
    write({modeSelect(raw)});
    m_raw = raw;
}

void TSC10TouchScreen::setCalibration(const std::vector<CalibrationPoint>& points, int width,
                                      int height)
{
    if (points.size() != c_calibrationPoints)
        throw std::runtime_error("Bad number of calibration points.");
    MutexLocker lock(m_commandMutex);
    command({commandStart()});
    std::vector<unsigned char> upload = {0x0D, 0x03, 0x03};
    for (const CalibrationPoint& point : points) {
        appendBigEndian16(upload, point.rawX);
        appendBigEndian16(upload, point.rawY);
        appendBigEndian16(upload, point.screenX);
        appendBigEndian16(upload, point.screenY);
    }
    appendBigEndian16(upload, width);
    appendBigEndian16(upload, height);
    command(upload);
    write({modeSelect(m_raw)});
}

void TSC10TouchScreen::command(const std::vector<unsigned char>& bytes)
{
    const AnswerExpected expected(*this);
    write(bytes);
    readACK();
}

unsigned char TSC10TouchScreen::commandStart() const
{
    return m_raw ? c_commandStartRaw : c_commandStartCalibrated;
}

} // namespace OKU
