#ifndef OKU_INPUT_DETAIL_PMTOUCHSCREEN_H
#define OKU_INPUT_DETAIL_PMTOUCHSCREEN_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Time.h"
#include "input/detail/TouchCalibration.h"
#include "input/TouchScreen.h"
#include "input/detail/DroppedBytesReport.h"
#include "input/detail/SerialPort.h"

namespace OKU {

/// The common part of the serial PenMount drivers: the line set-up, packet
/// framing with resynchronisation, and the software calibration (raw values
/// unscaled). A model supplies its handshake and its packet format.
class PMTouchScreen : public TouchScreen {
public:
    /// Where the device keeps its coefficients.
    static const char* const c_calibrationFile;

    /// calibrationFile is read by init() and written by setCalibration().
    PMTouchScreen(const std::string& device, int baudRate, int width, int height,
                  const std::string& calibrationFile = c_calibrationFile);
    ~PMTouchScreen() override;

    /// Opens the device, checks the baud rate (fatal when it is none) and runs
    /// the model's handshake. A device or controller that fails is thrown, so
    /// that a device can go on without its panel. Without a readable
    /// calibration file the driver starts in raw mode with the identity.
    /// A contact reported during the handshake, or in the first report right
    /// after it, is a finger resting on the panel since before the program
    /// started: none of its reports is delivered, its release included.
    void init() override;
    /// Skips bytes and packets the model rejects; warnings count them, one
    /// line per second at most.
    Event getEvent() override;
    /// Noise on the line does not count as a report begun.
    bool getEventBefore(const TimeSpec& deadline, Event& event) override;
    bool reportWaiting() override;
    void startRawCoordinates() override;
    void endRawCoordinates() override;
    /// Fits to the points and saves the result; width, height and raw mode are
    /// left alone.
    void setCalibration(const std::vector<CalibrationPoint>& points, int width,
                        int height) override;

    bool loadCalibration(const std::string& path);
    bool saveCalibration(const std::string& path) const;

protected:
    /// The model's handshake after the line set-up; false when the controller
    /// did not answer.
    virtual bool pmInit() = 0;
    /// Bytes per packet, both for reports and for handshake messages.
    virtual int getPacketSize() const = 0;
    virtual bool validateFirstByte(unsigned char byte) const = 0;
    virtual bool validatePacket(const unsigned char* packet) const = 0;
    /// The raw position and the pressed bit of a valid packet.
    virtual Event parsePacket(const unsigned char* packet) const = 0;

    using AnswerCheck = std::function<bool(const unsigned char* answer)>;

    /// Discards stale input (noting a resting contact), then sends request (one packet) again whenever
    /// the line has been quiet for 100 ms, until an answer packet that accept
    /// takes arrives: true then; false once 1.0 s has passed without, whatever
    /// the controller sent.
    bool handshake(const unsigned char* request, const AnswerCheck& accept);

private:
    /// The next valid packet's event; false when none began by the deadline
    /// (null: none).
    bool readReport(const TimeSpec* deadline, Event& event);
    bool awaitAnswer(const TimeSpec& stageEnd, const AnswerCheck& accept);
    /// Reads what has arrived and not been read, noting a resting contact.
    void discardNoting();
    /// Slides window (size bytes, received of them filled) on by byte;
    /// notes a touching report that the window holds whole.
    void slideNoting(unsigned char* window, int& received, unsigned char byte);
    /// Takes the first report after the handshake, if it comes at once.
    void noteRestingContact();

    std::string m_device;
    int32_t m_baudRate;
    std::unique_ptr<SerialPort> m_port; ///< null until init()
    std::string m_calibrationFile;
    CalibrationState m_calibration; ///< raw-mode flag and coefficients
    DroppedBytesReport m_droppedBytes;
    /// A finger was on the panel when the controller started and has not
    /// been lifted since (reading thread only).
    bool m_restingContact = false;
};

} // namespace OKU

#endif
