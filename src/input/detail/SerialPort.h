#ifndef OKU_INPUT_DETAIL_SERIALPORT_H
#define OKU_INPUT_DETAIL_SERIALPORT_H

#include <string>

#include <termios.h>

#include "core/NonCopyable.h"
#include "core/Time.h"

namespace OKU {

/// The serial line of a touch controller, open for the lifetime of the object.
/// Every failure is thrown as std::runtime_error whose text names the device
/// and ends with the system's error text.
class SerialPort : private NonCopyable {
public:
    /// Opens the device read-write and non-blocking, so that a line without
    /// carrier cannot hang the open: "Cannot open \"<device>\".  <error>".
    explicit SerialPort(const std::string& device);
    ~SerialPort();

    /// Raw mode at the given speed in both directions, CLOCAL set, hardware
    /// flow control off, pending input and output discarded; afterwards reads
    /// block. A descriptor that is not a terminal is refused here:
    /// "Cannot configure \"<device>\".  <error>".
    void configure(speed_t speed);

    /// Reads exactly count bytes, all of which must arrive within timeoutMs
    /// (blocks for as long as it takes when negative), so that a message cut
    /// off on the line cannot hang the reader. False, with errno set to
    /// ETIMEDOUT, when the time-out passed, and, with errno set to EIO, when
    /// the line hung up before count bytes; true otherwise. Bytes read before
    /// a failure are lost.
    bool readBytes(unsigned char* buffer, int count, int timeoutMs);
    /// The same with a point on the monotonic clock as the limit.
    bool readBytesUntil(unsigned char* buffer, int count, const TimeSpec& deadline);
    void writeBytes(const unsigned char* buffer, int count);
    /// Whether bytes have arrived that were not read yet.
    bool inputWaiting() { return waitReadable(0); }

private:
    /// deadline null: no limit.
    bool receive(unsigned char* buffer, int count, const TimeSpec* deadline);
    /// Whether input arrives within timeoutMs (0: is there now); EINTR waits on.
    bool waitReadable(int timeoutMs);

    std::string m_device;
    int m_fd;
};

/// The termios speed of a baud rate; false when the rate is not one of the
/// standard ones (50 ... 4000000).
bool baudRateToSpeed(int baudRate, speed_t& speed);

} // namespace OKU

#endif
