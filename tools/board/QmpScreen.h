#ifndef LIFEBOAT_BOARD_QMPSCREEN_H
#define LIFEBOAT_BOARD_QMPSCREEN_H

#include <chrono>
#include <string>

#include "QmpClient.h"
#include "Screen.h"

namespace board {

// The board's display as QEMU shows it: every look is a fresh screendump
// (a binary PPM file) of the virtio GPU's scan-out, taken at most every
// c_minDumpIntervalMs. A screendump holds QEMU's global lock while it
// converts the whole scan-out, which the emulated processors need for every
// device access: dumped back to back, as fast as the commands look, they
// would slow the guest's program many times over.
class QmpScreen : public sim::Screen {
public:
    // dumpFile is where QEMU writes the pictures, a file it may overwrite.
    QmpScreen(QmpClient& qmp, const std::string& dumpFile);

    // Black while the guest has not set up its display yet.
    std::vector<uint32_t> snapshot() const override;

    static constexpr int c_minDumpIntervalMs = 20;

private:
    QmpClient& m_qmp;
    std::string m_dumpFile;
    mutable std::chrono::steady_clock::time_point m_lastDump;
};

// The pixels of a binary PPM (P6, 8 bits a channel) of the screen's size as
// 0xRRGGBB words; throws std::runtime_error for any other file.
std::vector<uint32_t> readScreenPpm(const std::string& path);

} // namespace board

#endif
