#ifndef OKU_INPUT_DETAIL_TSC10TOUCHSCREEN_H
#define OKU_INPUT_DETAIL_TSC10TOUCHSCREEN_H

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/Condition.h"
#include "core/Mutex.h"
#include "core/Time.h"
#include "input/TouchScreen.h"
#include "input/detail/SerialPort.h"

namespace OKU {

/// The TSC10 serial controller at 9600 baud. It calibrates in hardware and
/// keeps its mode and calibration itself, so the driver neither transforms
/// nor clamps (nor turns: the calibration page uploads the turned screen's
/// points); raw mode and calibration are commands to the controller.
///
/// Commands (GUI thread) and reports (reading thread) share the one line. At
/// most one thread reads it at a time, the reader: getEvent() while it waits
/// for a report, or a command waiting for its answer when nobody else reads.
/// An answer read by getEvent() is handed to the waiting command; reports read
/// by a command are queued and returned by the next getEvent() calls, in
/// order. Every failure is thrown as std::runtime_error.
class TSC10TouchScreen : public TouchScreen {
public:
    TSC10TouchScreen(const std::string& device, int width, int height);
    ~TSC10TouchScreen() override;

    /// Opens the line, accepts the power-on byte, sets the sampling rate and
    /// leaves the controller in calibrated mode.
    void init() override;
    /// A release carries the position of the last press (0, 0 before any).
    Event getEvent() override;
    bool reportWaiting() override;
    void startRawCoordinates() override;
    void endRawCoordinates() override;
    /// Uploads exactly nine points and the largest screen coordinates; any
    /// other number of points is refused before anything is sent.
    void setCalibration(const std::vector<CalibrationPoint>& points, int width,
                        int height) override;

private:
    class ReaderRole;
    class AnswerExpected;

    void switchMode(bool raw);
    /// Sends a command and waits for its acknowledgement.
    void command(const std::vector<unsigned char>& bytes);
    /// The byte that starts a command in the controller's present mode.
    unsigned char commandStart() const;
    void write(const std::vector<unsigned char>& bytes);
    /// Waits for the answer to the command just sent; throws unless it is ACK.
    void readACK();
    /// Reads the answer itself as the reader; reports on the way are queued.
    unsigned char readAnswerFromLine();
    /// The rest of the report starting with status, read as the reader; the
    /// last position is updated.
    Event readReport(unsigned char status);

    std::string m_device;
    std::unique_ptr<SerialPort> m_port; ///< null until init()
    bool m_raw = false;                 ///< the controller's mode (commands only)
    Mutex m_commandMutex;               ///< one command exchange at a time

    /// Shared by the reader and the command waiting for its answer.
    Mutex m_lineMutex;
    Condition m_lineChanged;
    bool m_reading = false;        ///< a thread holds the reader role
    bool m_answerExpected = false; ///< a command waits for its answer
    bool m_answered = false;       ///< m_answer holds it
    unsigned char m_answer = 0;
    TimeSpec m_answerDeadline;   ///< moved on by each report in between
    std::deque<Event> m_reports; ///< read by a command, not yet returned
    int32_t m_lastX = 0;
    int32_t m_lastY = 0;
};

} // namespace OKU

#endif
