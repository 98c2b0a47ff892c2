#include "input/TouchScreen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "core/Condition.h"
#include "core/Paths.h"

namespace OKU {

namespace {

std::string markerPath()
{
    return getEnv("OKU_TS_CALIBRATED_FILE", "/var/lib/oku-calibrated");
}

// Set while a marker that was to be removed could not be (a read-only
// /var/lib): this run must not believe it.
std::atomic<bool> s_markerDisowned{false};

} // namespace

bool TouchScreen::getEventBefore(const TimeSpec& deadline, Event& event)
{
    while (!reportWaiting()) {
        if (monotonicNow() >= deadline)
            return false;
        sleepMilliseconds(1);
    }
    event = getEvent();
    return true;
}

bool TouchScreen::isCalibrated()
{
    return !s_markerDisowned && pathExists(markerPath());
}

void TouchScreen::setCalibrated(bool calibrated)
{
    const std::string path = markerPath();
    if (!calibrated) {
        s_markerDisowned = unlink(path.c_str()) != 0 && errno != ENOENT;
        return;
    }
    s_markerDisowned = false;
    // Only the marker's existence counts. Whatever another program left under
    // its name that is no plain file (a FIFO would block the open, a link
    // would lead elsewhere) is replaced by one.
    struct stat status;
    if (lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        unlink(path.c_str());
    const int fd = open(path.c_str(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd >= 0)
        close(fd);
}

} // namespace OKU
