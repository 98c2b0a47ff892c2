#ifndef LIFEBOAT_BOARD_QMPSCREEN_H
#define LIFEBOAT_BOARD_QMPSCREEN_H

#include <string>

#include "QmpClient.h"
#include "Screen.h"

namespace board {

// The board's display as QEMU shows it: every look is a fresh screendump
// (a binary PPM file) of the virtio GPU's scan-out.
class QmpScreen : public sim::Screen {
public:
    // dumpFile is where QEMU writes the pictures, a file it may overwrite.
    QmpScreen(QmpClient& qmp, const std::string& dumpFile);

    // Black while the guest has not set up its display yet.
    std::vector<uint32_t> snapshot() const override;

private:
    QmpClient& m_qmp;
    std::string m_dumpFile;
};

// The pixels of a binary PPM (P6, 8 bits a channel) of the screen's size as
// 0xRRGGBB words; throws std::runtime_error for any other file.
std::vector<uint32_t> readScreenPpm(const std::string& path);

} // namespace board

#endif
