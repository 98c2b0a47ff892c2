#ifndef OKU_FUZZ_SERIALLINE_H
#define OKU_FUZZ_SERIALLINE_H

// The controller's end of a pseudo-terminal, so that the serial touch
// drivers read fuzzed bytes exactly as they read a real line.

#include <string>
#include <vector>

#include "input/TouchScreen.h"

namespace fuzz {

class SerialLine {
public:
    SerialLine();
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // The device a driver opens.
    const std::string& devicePath() const { return m_path; }
    // Sends bytes to the driver and waits until all of them can be read on
    // the driver's side (a pseudo-terminal hands them over asynchronously),
    // so that pending() counts them. At most 4000 bytes may wait at a time.
    void send(const std::string& bytes);
    // Sends bytes without waiting: an answer the driver is already waiting
    // for may be read before send() could count it.
    void reply(const std::string& bytes);
    // Bytes sent and not yet read by the driver.
    int pending() const;
    // The next byte the driver wrote; waits at most one second for it.
    int receive();

private:
    int m_master;
    int m_driverSide; // the terminal as the driver sees it, for pending()
    std::string m_path;
};

// Sends bytes followed by tail and returns the events the driver makes of
// them, reading until it has consumed everything. The longest bytes taken
// are 2000. tail must complete any report that bytes leave cut off and must
// end with a complete report, so that no getEvent() call waits for more.
std::vector<OKU::TouchScreen::Event> readEvents(OKU::TouchScreen& driver, SerialLine& line,
                                                const std::string& bytes,
                                                const std::string& tail);

} // namespace fuzz

#endif
