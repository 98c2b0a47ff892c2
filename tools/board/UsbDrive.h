#ifndef LIFEBOAT_BOARD_USBDRIVE_H
#define LIFEBOAT_BOARD_USBDRIVE_H

#include <string>
#include <vector>

#include "QmpClient.h"

namespace board {

// The operator's USB stick: a FAT image on this machine, plugged into the
// board's xHCI controller as USB mass storage and pulled again through QMP.
// A read-only drive reports itself write-protected; a slow one gets only a
// few transfers a second, as a cheap stick that takes its time to flush.
class UsbDrive {
public:
    UsbDrive(QmpClient& qmp, const std::string& imagePath);

    // Makes a new, empty drive; pulls the old one first if it is plugged.
    void format();
    void insert(bool readOnly, bool slow);
    void remove();
    // Names of the files in the drive's top directory that match the
    // shell pattern, read from the image on this side.
    std::vector<std::string> list(const std::string& pattern) const;

private:
    QmpClient& m_qmp;
    std::string m_imagePath;
};

} // namespace board

#endif
