#include "WholeFrames.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DisplayState.h"

namespace fbemu {

namespace {

// The toolkit's GUI thread, the only one that draws.
const char c_drawingThread[] = "SOLGUI";
// Copied in pieces, so that unchanged parts of the file are left alone.
const size_t c_pieceBytes = 4096;

struct Publisher {
    enum State { UNKNOWN, OFF, ON };
    std::mutex mutex;
    // Also read without the mutex, to skip the thread's name when off.
    std::atomic<State> state{UNKNOWN};
    const char* memory = nullptr;
    char* frames = nullptr;
    size_t length = 0;
    int lockFd = -1;
};

Publisher g_publisher;

bool isDrawingThread()
{
    char name[17] = {};
    return prctl(PR_GET_NAME, name, 0, 0, 0) == 0 && std::strcmp(name, c_drawingThread) == 0;
}

// fd mapped shared: its whole size when length is 0, else length bytes, the
// file extended to them first; null on failure.
void* mapFile(int fd, bool writable, size_t& length)
{
    struct stat status;
    if (fd < 0 || fstat(fd, &status) != 0)
        return nullptr;
    if (length == 0)
        length = static_cast<size_t>(status.st_size);
    else if (static_cast<size_t>(status.st_size) < length && ftruncate(fd, length) != 0)
        return nullptr;
    if (length == 0)
        return nullptr;
    void* mapping = mmap(nullptr, length, writable ? PROT_READ | PROT_WRITE : PROT_READ,
                         MAP_SHARED, fd, 0);
    return mapping == MAP_FAILED ? nullptr : mapping;
}

// Under the publisher's mutex: maps the frame memory and the whole-frames
// file the first time; false when no tool asked for whole frames.
bool isOn(Publisher& p)
{
    if (p.state != Publisher::UNKNOWN)
        return p.state == Publisher::ON;
    p.state = Publisher::OFF;
    const char* framebuffer = std::getenv("FBEMU_PATH");
    if (!framebuffer || !*framebuffer)
        return false;
    const int framesFd = open(wholeFramesPath(framebuffer).c_str(), O_RDWR | O_CLOEXEC);
    if (framesFd < 0)
        return false;
    const int memoryFd = open(framebuffer, O_RDONLY | O_CLOEXEC);
    size_t length = 0;
    void* memory = mapFile(memoryFd, false, length);
    void* frames = memory ? mapFile(framesFd, true, length) : nullptr;
    if (memoryFd >= 0)
        close(memoryFd);
    if (!frames) {
        if (memory)
            munmap(memory, length);
        close(framesFd);
        return false;
    }
    p.memory = static_cast<const char*>(memory);
    p.frames = static_cast<char*>(frames);
    p.length = length;
    p.lockFd = framesFd;
    p.state = Publisher::ON;
    return true;
}

void copyFrames(const Publisher& p)
{
    for (size_t at = 0; at < p.length; at += c_pieceBytes) {
        const size_t n = std::min(c_pieceBytes, p.length - at);
        if (std::memcmp(p.frames + at, p.memory + at, n) != 0)
            std::memcpy(p.frames + at, p.memory + at, n);
    }
}

} // namespace

bool publishWith(const std::function<bool()>& change)
{
    std::lock_guard<std::mutex> lock(g_publisher.mutex);
    if (!isOn(g_publisher))
        return change();
    flock(g_publisher.lockFd, LOCK_EX);
    copyFrames(g_publisher);
    const bool changed = change();
    flock(g_publisher.lockFd, LOCK_UN);
    return changed;
}

void noteFrameBoundary()
{
    if (g_publisher.state != Publisher::OFF && isDrawingThread())
        publishWith([] { return true; });
}

} // namespace fbemu
