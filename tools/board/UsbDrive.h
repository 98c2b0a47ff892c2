#ifndef LIFEBOAT_BOARD_USBDRIVE_H
#define LIFEBOAT_BOARD_USBDRIVE_H

#include <string>
#include <vector>

#include "QmpClient.h"

namespace board {

// The operator's USB stick: a FAT image on this machine, plugged into the
// board's xHCI controller as USB mass storage and pulled again through QMP,
// at any time, in the middle of a write too. A read-only drive reports
// itself write-protected; a slow one gets only a few transfers a second and
// about 1.5 MB/s, as a cheap stick that takes its time.
class UsbDrive {
public:
    UsbDrive(QmpClient& qmp, const std::string& imagePath);

    // Makes a new, empty drive of that capacity; pulls the old one first if
    // it is plugged.
    void format(int sizeMb);
    // Plugs the drive in; with a size, a new, empty one of that capacity.
    void insert(bool readOnly, bool slow, int sizeMb = 0);
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
