// A preload library (LD_PRELOAD) that lets a regular file stand in for a
// Linux framebuffer device and FIFOs for evdev input devices, so that the
// unmodified program runs on a development machine. Descriptors opened on
// the configured paths are remembered; the screen-information, capability and
// axis ioctls on them are answered here, everything else (read, poll, mmap of
// the real file) goes to the system.
//
// Its environment variables, the display state and whole frames are
// described in README.md beside this file (installed with oku-tools).
//
// FBIOPUT_VSCREENINFO takes a new virtual height (and offset) within the frame
// memory, nothing else; FBIOPAN_DISPLAY moves the shown rows within it;
// FBIOBLANK takes a blanking level. They keep what they changed in the display
// state file beside the framebuffer file (see DisplayState.h), which other
// tools read to show the visible page.
//
// Where a tool asked for whole frames (see DisplayState.h), the waits of the
// program's drawing thread (pthread_cond_wait, pthread_cond_timedwait, poll,
// waitpid) and its _exit copy the frame memory for that tool first (see
// WholeFrames.h).

#undef _FORTIFY_SOURCE

#include <atomic>
#include <string>
#include <vector>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/fb.h>
#include <linux/input.h>
#include <linux/kd.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CommaList.h"
#include "DisplayState.h"
#include "EvdevCapabilities.h"
#include "FramebufferMode.h"
#include "WholeFrames.h"

namespace {

using namespace fbemu;

enum Kind : unsigned char { OTHER, FRAMEBUFFER, EVDEV, TERMINAL };

// Descriptors at or above the limit are never emulated.
const int c_maxDescriptors = 4096;
std::atomic<unsigned char> g_kinds[c_maxDescriptors];

typedef int (*OpenFunction)(const char*, int, ...);
typedef int (*OpenAtFunction)(int, const char*, int, ...);
typedef int (*CloseFunction)(int);
typedef int (*IoctlFunction)(int, unsigned long, ...);
typedef int (*WaitFunction)(pthread_cond_t*, pthread_mutex_t*);
typedef int (*TimedWaitFunction)(pthread_cond_t*, pthread_mutex_t*, const struct timespec*);
typedef int (*PollFunction)(struct pollfd*, nfds_t, int);
typedef pid_t (*WaitPidFunction)(pid_t, int*, int);
typedef void (*ExitFunction)(int);

template <class Function>
Function nextFunction(const char* name)
{
    void* f = dlsym(RTLD_NEXT, name);
    if (!f) {
        std::fprintf(stderr, "fbemu: no function %s to forward to\n", name);
        std::abort();
    }
    return reinterpret_cast<Function>(f);
}

bool needsMode(int flags)
{
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

mode_t modeArgument(int flags, va_list args)
{
    return needsMode(flags) ? static_cast<mode_t>(va_arg(args, unsigned)) : 0;
}

bool isPath(const char* variable, const char* path)
{
    const char* configured = std::getenv(variable);
    return configured && *configured && std::strcmp(configured, path) == 0;
}

bool isFailing(const char* name)
{
    const char* failures = std::getenv("FBEMU_FAIL");
    return failures && isListed(failures, name);
}

std::string framebufferPath()
{
    const char* path = std::getenv("FBEMU_PATH");
    return path ? path : "";
}

bool currentMode(FramebufferMode& mode)
{
    const char* description = std::getenv("FBEMU_MODE");
    if (!parseFramebufferMode(description ? description : "800x480x32",
                              std::getenv("FBEMU_LINE_LENGTH"), mode)) {
        std::fprintf(stderr, "fbemu: unusable FBEMU_MODE or FBEMU_LINE_LENGTH\n");
        return false;
    }
    if (const char* rows = std::getenv("FBEMU_YRES_VIRTUAL")) {
        mode.var.yres_virtual = static_cast<__u32>(std::strtoul(rows, nullptr, 10));
        mode.fix.smem_len = mode.fix.line_length * mode.var.yres_virtual;
    }
    if (const char* memory = std::getenv("FBEMU_SMEM_LEN"))
        mode.fix.smem_len = static_cast<__u32>(std::strtoul(memory, nullptr, 10));
    mode.fix.ypanstep = isFailing("pan") ? 0 : 1;
    DisplayState state;
    if (readDisplayState(framebufferPath(), state)) {
        mode.var.yres_virtual = state.yresVirtual;
        mode.var.yoffset = state.yoffset;
    }
    return true;
}

// A freshly made file is empty; mmap then needs it to hold the frame memory.
void extendToFrameMemory(int fd)
{
    FramebufferMode mode;
    struct stat status;
    if (currentMode(mode) && fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        status.st_size < static_cast<off_t>(mode.fix.smem_len) &&
        ftruncate(fd, mode.fix.smem_len) != 0)
        std::perror("fbemu: cannot extend the framebuffer file");
}

// A FIFO directly in FBEMU_INPUT_DIR.
bool isInInputDirectory(int fd, const char* path)
{
    const char* configured = std::getenv("FBEMU_INPUT_DIR");
    if (!configured || !*configured)
        return false;
    std::string directory = configured;
    while (directory.size() > 1 && directory.back() == '/')
        directory.pop_back();
    const size_t length = directory.size();
    struct stat status;
    return std::strncmp(path, directory.c_str(), length) == 0 && path[length] == '/' &&
           path[length + 1] != '\0' && !std::strchr(path + length + 1, '/') &&
           fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode);
}

// Every successful open is noted, so that a number reused after a close we
// did not see is not taken for the old device.
int noteOpened(int fd, const char* path, int flags)
{
    if (fd < 0 || fd >= c_maxDescriptors)
        return fd;
    Kind kind = OTHER;
    if (isPath("FBEMU_PATH", path))
        kind = FRAMEBUFFER;
    else if (isPath("FBEMU_EVDEV_PATH", path) || isInInputDirectory(fd, path))
        kind = EVDEV;
    g_kinds[fd] = kind;
    if (kind == FRAMEBUFFER && (flags & O_ACCMODE) != O_RDONLY)
        extendToFrameMemory(fd);
    return fd;
}

bool isTerminalPath(const char* path)
{
    return std::strcmp(path, "/dev/tty") == 0 || std::strcmp(path, "/dev/tty0") == 0;
}

// Opens path with open(path), or the emulated terminal in place of the real one.
template <class Open>
int openEmulated(const char* path, int flags, Open open)
{
    if (!isTerminalPath(path))
        return noteOpened(open(path), path, flags);
    const char* terminal = std::getenv("FBEMU_VT_PATH");
    if (!terminal || !*terminal) {
        errno = ENOENT;
        return -1;
    }
    const int fd = open(terminal);
    if (fd >= 0 && fd < c_maxDescriptors)
        g_kinds[fd] = TERMINAL;
    return fd;
}

Kind kindOf(int fd)
{
    return fd >= 0 && fd < c_maxDescriptors ? static_cast<Kind>(g_kinds[fd].load()) : OTHER;
}

int fail(int error = EINVAL)
{
    errno = error;
    return -1;
}

int answerFramebuffer(unsigned long request, void* argument)
{
    const bool fixed = request == FBIOGET_FSCREENINFO;
    FramebufferMode mode;
    if (isFailing(fixed ? "fix" : "var") || !currentMode(mode))
        return fail();
    if (fixed)
        std::memcpy(argument, &mode.fix, sizeof mode.fix);
    else
        std::memcpy(argument, &mode.var, sizeof mode.var);
    return 0;
}

// The state a change starts from: what was changed before, else the mode's.
DisplayState currentState(const FramebufferMode& mode)
{
    DisplayState state;
    state.yresVirtual = mode.var.yres_virtual;
    state.yoffset = mode.var.yoffset;
    readDisplayState(framebufferPath(), state);
    return state;
}

bool changeState(const DisplayState& state)
{
    return publishWith([&] { return writeDisplayState(framebufferPath(), state); });
}

// A virtual height within the frame memory and an offset within that; the
// visible size and the pixel format stay as they are.
int answerPut(void* argument)
{
    FramebufferMode mode;
    if (isFailing("put") || !currentMode(mode))
        return fail();
    fb_var_screeninfo& wanted = *static_cast<fb_var_screeninfo*>(argument);
    if (wanted.xres != mode.var.xres || wanted.yres != mode.var.yres ||
        wanted.bits_per_pixel != mode.var.bits_per_pixel ||
        wanted.xres_virtual != mode.var.xres_virtual || wanted.xoffset != 0 ||
        wanted.yres_virtual < wanted.yres ||
        static_cast<unsigned long long>(wanted.yres_virtual) * mode.fix.line_length >
            mode.fix.smem_len ||
        wanted.yoffset > wanted.yres_virtual - wanted.yres)
        return fail();
    DisplayState state = currentState(mode);
    state.yresVirtual = wanted.yres_virtual;
    state.yoffset = wanted.yoffset;
    if (!changeState(state))
        return fail(EIO);
    mode.var.yres_virtual = state.yresVirtual;
    mode.var.yoffset = state.yoffset;
    wanted = mode.var;
    return 0;
}

bool readPage(int fd, const FramebufferMode& mode, unsigned yoffset, std::vector<char>& page)
{
    page.resize(static_cast<size_t>(mode.fix.line_length) * mode.var.yres);
    const off_t start = static_cast<off_t>(yoffset) * mode.fix.line_length;
    return pread(fd, page.data(), page.size(), start) == static_cast<ssize_t>(page.size());
}

// What the shown page held when it came onto the screen.
std::vector<char> g_shownPage;
unsigned g_shownOffset = 0;

// Appends the pan to the log: a page leaving the screen must still hold what
// it showed, and the page coming onto it is written out whole.
void logPan(int fd, const FramebufferMode& mode, unsigned yoffset)
{
    const char* log = std::getenv("FBEMU_PAN_LOG");
    if (!log || !*log)
        return;
    FILE* file = std::fopen(log, "ae");
    if (!file)
        return;
    std::vector<char> page;
    if (!g_shownPage.empty() &&
        (!readPage(fd, mode, g_shownOffset, page) || page != g_shownPage))
        std::fprintf(file, "changed-while-shown %u\n", g_shownOffset);
    if (readPage(fd, mode, yoffset, page)) {
        std::fprintf(file, "shown %u %zu\n", yoffset, page.size());
        std::fwrite(page.data(), 1, page.size(), file);
        g_shownPage.swap(page);
        g_shownOffset = yoffset;
    }
    std::fclose(file);
}

int answerPan(int fd, void* argument)
{
    FramebufferMode mode;
    if (isFailing("pan") || !currentMode(mode))
        return fail();
    const fb_var_screeninfo& wanted = *static_cast<const fb_var_screeninfo*>(argument);
    if (wanted.xoffset != 0 || wanted.yoffset > mode.var.yres_virtual - mode.var.yres ||
        (wanted.yoffset != 0 && isFailing("pan-beyond")))
        return fail();
    logPan(fd, mode, wanted.yoffset);
    DisplayState state = currentState(mode);
    state.yoffset = wanted.yoffset;
    return changeState(state) ? 0 : fail(EIO);
}

// FBIOBLANK takes the level itself as its argument. The state file is written
// only when the level changes, so a device nobody blanked keeps none.
int answerBlank(void* argument)
{
    const long level = reinterpret_cast<long>(argument);
    FramebufferMode mode;
    if (isFailing("blank") || level < FB_BLANK_UNBLANK || level > FB_BLANK_POWERDOWN ||
        !currentMode(mode))
        return fail();
    DisplayState state = currentState(mode);
    if (state.blank == level)
        return 0;
    state.blank = static_cast<int>(level);
    return changeState(state) ? 0 : fail(EIO);
}

// The terminal file holds one line per mode the terminal was in, the
// current one last.
int answerTerminal(int fd, unsigned long request, void* argument)
{
    struct stat status;
    if (fstat(fd, &status) != 0)
        return -1;
    if (request == KDGETMODE) {
        char tail[16] = {};
        const off_t start = status.st_size > 9 ? status.st_size - 9 : 0;
        const bool graphics = pread(fd, tail, sizeof tail - 1, start) > 0 &&
                              std::strstr(tail, "graphics\n") != nullptr;
        *static_cast<int*>(argument) = graphics ? KD_GRAPHICS : KD_TEXT;
        return 0;
    }
    // KDSETMODE takes the mode itself as its argument.
    const long mode = reinterpret_cast<long>(argument);
    if (mode != KD_TEXT && mode != KD_GRAPHICS)
        return fail();
    const char* line = mode == KD_GRAPHICS ? "graphics\n" : "text\n";
    const ssize_t length = static_cast<ssize_t>(std::strlen(line));
    return pwrite(fd, line, length, status.st_size) == length ? 0 : -1;
}

// EVIOCGBIT(type, size) is _IOC(_IOC_READ, 'E', 0x20 + type, size).
bool isCapabilityRequest(unsigned long request)
{
    return _IOC_TYPE(request) == 'E' && _IOC_DIR(request) == _IOC_READ &&
           _IOC_NR(request) >= 0x20 && _IOC_NR(request) < 0x20 + EV_CNT;
}

// The device's own list from the file beside it, else FBEMU_EVDEV_BITS (which
// may be unset: null).
const char* capabilityList(int fd, std::string& sidecar)
{
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = readlink(link.c_str(), path, sizeof path - 1);
    FILE* file = nullptr;
    if (length > 0) {
        path[length] = '\0';
        file = std::fopen((std::string(path) + ".caps").c_str(), "re");
    }
    if (!file)
        return std::getenv("FBEMU_EVDEV_BITS");
    char line[1024] = {};
    if (!std::fgets(line, sizeof line, file))
        line[0] = '\0';
    std::fclose(file);
    sidecar = line;
    while (!sidecar.empty() && std::strchr(" \t\r\n", sidecar.back()))
        sidecar.pop_back();
    return sidecar.c_str();
}

int answerCapabilities(int fd, unsigned long request, void* argument)
{
    const unsigned type = _IOC_NR(request) - 0x20;
    if ((type == 0 && isFailing("evbit")) || (type == EV_ABS && isFailing("evabs")))
        return fail();
    std::string sidecar;
    return fillEvdevBits(type, capabilityList(fd, sidecar), static_cast<unsigned char*>(argument),
                         _IOC_SIZE(request));
}

// EVIOCGABS(axis) is _IOR('E', 0x40 + axis, struct input_absinfo).
bool isAxisRequest(unsigned long request)
{
    return _IOC_TYPE(request) == 'E' && _IOC_DIR(request) == _IOC_READ &&
           _IOC_NR(request) >= 0x40 && _IOC_NR(request) < 0x40 + ABS_CNT &&
           _IOC_SIZE(request) == sizeof(input_absinfo);
}

int answerAxis(unsigned long request, void* argument)
{
    return fillAbsoluteInfo(_IOC_NR(request) - 0x40, std::getenv("FBEMU_EVDEV_ABS"),
                            *static_cast<input_absinfo*>(argument))
               ? 0
               : fail();
}

int answerIoctl(IoctlFunction next, int fd, unsigned long request, void* argument)
{
    const Kind kind = kindOf(fd);
    if (kind == FRAMEBUFFER && (request == FBIOGET_FSCREENINFO || request == FBIOGET_VSCREENINFO))
        return answerFramebuffer(request, argument);
    if (kind == FRAMEBUFFER && request == FBIOPUT_VSCREENINFO)
        return answerPut(argument);
    if (kind == FRAMEBUFFER && request == FBIOPAN_DISPLAY)
        return answerPan(fd, argument);
    if (kind == FRAMEBUFFER && request == FBIOBLANK)
        return answerBlank(argument);
    if (kind == FRAMEBUFFER && request == FBIO_WAITFORVSYNC)
        return isFailing("vsync") ? fail(ENOTTY) : 0;
    if (kind == EVDEV && isCapabilityRequest(request))
        return answerCapabilities(fd, request, argument);
    if (kind == EVDEV && isAxisRequest(request))
        return answerAxis(request, argument);
    if (kind == TERMINAL && (request == KDGETMODE || request == KDSETMODE))
        return answerTerminal(fd, request, argument);
    return next(fd, request, argument);
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...)
{
    static const OpenFunction next = nextFunction<OpenFunction>("open");
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openEmulated(path, flags, [&](const char* p) { return next(p, flags, mode); });
}

int open64(const char* path, int flags, ...)
{
    static const OpenFunction next = nextFunction<OpenFunction>("open64");
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openEmulated(path, flags, [&](const char* p) { return next(p, flags, mode); });
}

int openat(int directory, const char* path, int flags, ...)
{
    static const OpenAtFunction next = nextFunction<OpenAtFunction>("openat");
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openEmulated(path, flags, [&](const char* p) { return next(directory, p, flags, mode); });
}

int openat64(int directory, const char* path, int flags, ...)
{
    static const OpenAtFunction next = nextFunction<OpenAtFunction>("openat64");
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    return openEmulated(path, flags, [&](const char* p) { return next(directory, p, flags, mode); });
}

// The entry points of fortified builds, which never pass a mode.
int __open_2(const char* path, int flags)
{
    static const OpenFunction next = nextFunction<OpenFunction>("__open_2");
    return openEmulated(path, flags, [&](const char* p) { return next(p, flags); });
}

int __open64_2(const char* path, int flags)
{
    static const OpenFunction next = nextFunction<OpenFunction>("__open64_2");
    return openEmulated(path, flags, [&](const char* p) { return next(p, flags); });
}

int close(int fd)
{
    static const CloseFunction next = nextFunction<CloseFunction>("close");
    if (fd >= 0 && fd < c_maxDescriptors)
        g_kinds[fd] = OTHER;
    return next(fd);
}

// Both entry points take one pointer-sized argument, read the same way.
#define FBEMU_IOCTL_ARGUMENT(request)                                                              \
    va_list args;                                                                                  \
    va_start(args, request);                                                                       \
    void* argument = va_arg(args, void*);                                                          \
    va_end(args)

int ioctl(int fd, unsigned long request, ...) noexcept
{
    static const IoctlFunction next = nextFunction<IoctlFunction>("ioctl");
    FBEMU_IOCTL_ARGUMENT(request);
    return answerIoctl(next, fd, request, argument);
}

#if defined(__TIMESIZE) && __TIMESIZE == 32
// What a 32-bit program built with a 64-bit time_t calls for ioctl.
int __ioctl_time64(int fd, unsigned long request, ...) noexcept
{
    static const IoctlFunction next = nextFunction<IoctlFunction>("__ioctl_time64");
    FBEMU_IOCTL_ARGUMENT(request);
    return answerIoctl(next, fd, request, argument);
}
#endif

// The drawing thread's waits, each between two of its frames.
int pthread_cond_wait(pthread_cond_t* condition, pthread_mutex_t* mutex)
{
    static const WaitFunction next = nextFunction<WaitFunction>("pthread_cond_wait");
    noteFrameBoundary();
    return next(condition, mutex);
}

int pthread_cond_timedwait(pthread_cond_t* condition, pthread_mutex_t* mutex,
                           const struct timespec* deadline)
{
    static const TimedWaitFunction next =
        nextFunction<TimedWaitFunction>("pthread_cond_timedwait");
    noteFrameBoundary();
    return next(condition, mutex, deadline);
}

#if defined(__TIMESIZE) && __TIMESIZE == 32
int __pthread_cond_timedwait64(pthread_cond_t* condition, pthread_mutex_t* mutex,
                               const void* deadline)
{
    typedef int (*Function)(pthread_cond_t*, pthread_mutex_t*, const void*);
    static const Function next = nextFunction<Function>("__pthread_cond_timedwait64");
    noteFrameBoundary();
    return next(condition, mutex, deadline);
}
#endif

int poll(struct pollfd* descriptors, nfds_t count, int timeoutMs)
{
    static const PollFunction next = nextFunction<PollFunction>("poll");
    noteFrameBoundary();
    return next(descriptors, count, timeoutMs);
}

pid_t waitpid(pid_t pid, int* status, int options)
{
    static const WaitPidFunction next = nextFunction<WaitPidFunction>("waitpid");
    noteFrameBoundary();
    return next(pid, status, options);
}

void _exit(int status)
{
    static const ExitFunction next = nextFunction<ExitFunction>("_exit");
    noteFrameBoundary();
    next(status);
    std::abort();
}

} // extern "C"
