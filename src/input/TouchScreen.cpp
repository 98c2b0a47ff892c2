#include "input/TouchScreen.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "core/Paths.h"

namespace OKU {

namespace {

std::string markerPath()
{
    return getEnv("OKU_TS_CALIBRATED_FILE", "/var/lib/oku-calibrated");
}

} // namespace

bool TouchScreen::isCalibrated()
{
    return pathExists(markerPath());
}

void TouchScreen::setCalibrated(bool calibrated)
{
    const std::string path = markerPath();
    if (!calibrated) {
        unlink(path.c_str());
        return;
    }
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0)
        close(fd);
}

} // namespace OKU
