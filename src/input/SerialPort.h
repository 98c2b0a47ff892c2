#ifndef OKU_INPUT_SERIALPORT_H
#define OKU_INPUT_SERIALPORT_H

#include <string>

#include <termios.h>

#include "core/NonCopyable.h"

namespace OKU {

// The serial line of a touch controller, open for the lifetime of the object.
// Every failure is thrown as std::runtime_error whose text names the device
// and ends with the system's error text.
class SerialPort : private NonCopyable {
public:
    // Opens the device read-write and non-blocking, so that a line without
    // carrier cannot hang the open: "Cannot open \"<device>\".  <error>".
    explicit SerialPort(const std::string& device);
    ~SerialPort();

    // Raw mode at the given speed in both directions, CLOCAL set, hardware
    // flow control off, pending input and output discarded; afterwards reads
    // block. A descriptor that is not a terminal is refused here:
    // "Cannot configure \"<device>\".  <error>".
    void configure(speed_t speed);

    // Waits at most timeoutMs (none when negative) for the first byte, then
    // blocks until all count bytes have arrived: the time-out covers only the
    // first byte. False, with errno set to ETIMEDOUT, when the time-out
    // passed, and, with errno set to EIO, when the line hung up before count
    // bytes; true otherwise.
    bool readBytes(unsigned char* buffer, int count, int timeoutMs);
    void writeBytes(const unsigned char* buffer, int count);

private:
    std::string m_device;
    int m_fd;
};

// The termios speed of a baud rate; false when the rate is not one of the
// standard ones (50 ... 4000000).
bool baudRateToSpeed(int baudRate, speed_t& speed);

} // namespace OKU

#endif
