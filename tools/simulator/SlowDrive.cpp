// Preloaded into everything the simulated device runs: while the USB drive
// is a slow one, each write onto it first waits as long as a cheap stick
// takes to take the data in, so that a backup of a few megabytes takes
// seconds. A drive pulled during the wait fails the write, as a real one
// does. The calls tar, gzip, dd and the shell write files with are slowed;
// copies the kernel makes (sendfile, copy_file_range, splice) are not.
//
// The drive is the file system mounted on the state's usb/drive, the switch
// the state's usb/slow (LIFEBOAT_SIM_STATE names the state).

#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

namespace {

const double c_bytesPerSecond = 1.5 * 1024 * 1024;

struct Drive {
    bool known = false;
    dev_t device = 0;
    std::string slowSwitch;
};

Drive findDrive()
{
    Drive drive;
    const char* state = std::getenv("LIFEBOAT_SIM_STATE");
    struct stat root;
    if (state == nullptr || stat((std::string(state) + "/usb/drive").c_str(), &root) != 0)
        return drive;
    drive.known = true;
    drive.device = root.st_dev;
    drive.slowSwitch = std::string(state) + "/usb/slow";
    return drive;
}

bool onSlowDrive(int fd)
{
    static const Drive drive = findDrive();
    struct stat file;
    return drive.known && fstat(fd, &file) == 0 && S_ISREG(file.st_mode) &&
           file.st_dev == drive.device && access(drive.slowSwitch.c_str(), F_OK) == 0;
}

void waitForDrive(int fd, size_t bytes)
{
    if (bytes == 0 || !onSlowDrive(fd))
        return;
    const int error = errno;
    const double seconds = bytes / c_bytesPerSecond;
    timespec left = {static_cast<time_t>(seconds),
                     static_cast<long>((seconds - static_cast<time_t>(seconds)) * 1e9)};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
    errno = error;
}

template <class Function> Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

size_t totalLength(const iovec* vectors, int count)
{
    size_t total = 0;
    for (int i = 0; i < count; ++i)
        total += vectors[i].iov_len;
    return total;
}

} // namespace

extern "C" {

ssize_t write(int fd, const void* data, size_t size)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    waitForDrive(fd, size);
    return real(fd, data, size);
}

ssize_t writev(int fd, const iovec* vectors, int count)
{
    static const auto real = next<ssize_t (*)(int, const iovec*, int)>("writev");
    waitForDrive(fd, totalLength(vectors, count));
    return real(fd, vectors, count);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    waitForDrive(fd, size);
    return real(fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    waitForDrive(fd, size);
    return real(fd, data, size, offset);
}

} // extern "C"
