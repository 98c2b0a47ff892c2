#ifndef OKU_INPUT_DETAIL_DROPPEDBYTESREPORT_H
#define OKU_INPUT_DETAIL_DROPPEDBYTESREPORT_H

#include "core/NonCopyable.h"
#include "core/Time.h"

namespace OKU {

/// Counts the bytes a serial driver drops while it looks for the start of a
/// packet, and reports them as warnings of one line per second at most, so
/// that junk on the line (a wrong baud rate, noise) cannot flood the log. A
/// run of junk is reported when the next valid packet ends it, and every
/// second while it goes on; bytes dropped within a second of the last line
/// wait for the next one.
class DroppedBytesReport : private NonCopyable {
public:
    /// category: the trace category of the lines, e.g. the driver's class.
    explicit DroppedBytesReport(const char* category);

    void dropped(unsigned count);
    /// A valid packet arrived: the run of junk before it is over.
    void resynchronised();

private:
    bool mayReport(const TimeSpec& now) const;
    void report(const TimeSpec& now);

    const char* m_category;
    unsigned m_pending = 0; ///< dropped, not reported yet
    TimeSpec m_runStart;    ///< first of the pending bytes
    bool m_reported = false;
    TimeSpec m_lastReport; ///< valid when m_reported
};

} // namespace OKU

#endif
